// The editor's verdict on the map being painted: can it be cleared, how
// fast, in how many ways, or why not. The solver runs on a worker thread so
// that no editor frame waits for it; a newer map cancels the older search.
#pragma once
#include <cstddef>

#include "play/solver.h"

enum : u8 {
    VERDICT_NONE = 0,  // nothing asked yet
    VERDICT_THINKING = 1,
    VERDICT_CLEARABLE = 2,
    VERDICT_UNCLEARABLE = 3,
    VERDICT_UNDECIDED = 4,  // the search reached its cap
};

struct MapVerdict {
    u8 state;
    u32 par;         // clock seconds the fastest clear costs
    u32 clockLeft;   // clock reading at that clear
    u32 ways;        // ways to finish, up to the cap
    u32 waysCapped;  // 1 when there may be more
    u8 reason;       // solver::Reason of a map that cannot be cleared
    char moves[256];
};

// Shown below the board when set (default 0: the editor's screen as it always was).
extern u32 editorSolverShown;

// Decides a map at once on the calling thread, as the worker does.
void DecideMap(const solver::Stage& stage, const solver::SolveOptions& options,
               MapVerdict* verdict);
// Hands a map to the worker; the verdict reads "thinking" until it is decided.
void AskVerdict(const solver::Stage& stage);
// The latest verdict; returns a count that changes whenever it does.
u32 ReadVerdict(MapVerdict* verdict);
// Blocks until no search is running or pending (tests).
void WaitForVerdict(void);
// Ends the worker (at exit; harmless when none runs).
void StopVerdictWorker(void);

// "map 07: clearable, par 14 s, 46 s left, 2 ways" and the like, UTF-8.
void DescribeVerdict(const MapVerdict& verdict, u32 mapNumber, char* out, size_t size);
