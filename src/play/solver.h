// Decides whether a stage can be cleared and finds its fastest clear, by the
// game's own rule functions played frame by frame at the game's pace. The
// board is a one-stroke walk, so the search first asks, clock aside, which
// moves can still lead to a finished board (pruned by the board's colouring,
// its connectivity, its cut cells and the keys' order), then plays those moves
// against the clock; standing still until the time cells swap is a move too.
// Used by the tools and by the map editor, which runs it off the frame loop.
#pragma once
#include <atomic>
#include <cstdint>

#include "play/tilerules.h"

namespace solver {

typedef uint64_t u64;

// One stage: the board, where the player starts and the time class.
struct Stage {
    u8 cells[64];
    i32 startX, startY;
    u8 timeClass;
};

inline int CellIndex(int x, int y) { return x + 8 * y; }

const int FRAME_MS = 16;

enum Outcome { OUTCOME_PLAYING, OUTCOME_CLEARED, OUTCOME_MISSED, OUTCOME_TIME_UP };

// Everything a frame of play reads or writes, all for one stage attempt.
struct PlayState {
    u8 board[64];
    i32 playerX, playerY;
    u32 keysTaken[4];
    u32 timeLeft;
    u32 swapSeconds;
    u8 timeClass;
    u32 warpArrived, warpAnimating;
    u32 beamPhase;  // the warp beam's drawer state decides how long it runs
    i32 beamOffset;
    i32 repeatDelay;
    u32 frame;  // frames since the stage was set up
    u32 lastTickMs;
    u32 ticks;       // clock ticks so far: the seconds the stage costs
    u32 lowestTime;  // lowest clock reading seen
};

void StartStage(const Stage& stage, PlayState* state);
// 1 when a step would be taken in the next frame with a direction held.
int CanStepNow(const PlayState& state);
int StepBlocked(const PlayState& state, int direction);
// One frame: the held direction (or -1) steps if it may, then the clock and
// the cell rules run. Returns how the frame ended.
Outcome RunFrame(PlayState* state, int direction);

// Direction of a move letter U, D, L, R; -1 for anything else.
int DirectionOfLetter(char letter);
extern const char DIRECTION_LETTERS[4];

// Why a board cannot be cleared, where a player can be told.
enum Reason {
    REASON_NONE,
    REASON_KEY_MISSING,     // a key 1..4 is not on the board
    REASON_GOAL_DOUBLED,    // two goal keys: the first one taken is a miss
    REASON_UNKNOWN_TILE,    // a code the game never finishes
    REASON_GATE_SHUT,       // a removable wall and no switch
    REASON_START_BOXED_IN,  // no step can leave the start
    REASON_COLOURING,       // the chequerboard's colours forbid one stroke
    REASON_KEY_CUT_OFF,     // a key cannot be reached in its turn
    REASON_NO_WALK,         // no one-stroke walk covers the board
    REASON_CLOCK,           // every walk runs out of time
};

struct SolveOptions {
    u32 solutionCap;          // distinct walks counted up to this many
    u64 nodeBudget;           // search positions before giving up (0: no limit)
    u32 timeLimitMs;          // wall-clock cap (0: none)
    std::atomic<bool>* stop;  // set from another thread to give up at once (may be null)
};

struct SolveResult {
    int decided;      // 0: a cap ran out (or the search was stopped) first
    int solvable;     // a solution clears within the clock
    Reason reason;    // for a decided unclearable board
    u32 walkCount;    // ways to finish, clock aside (capped)
    int countCapped;  // walkCount reached the cap
    // The fastest solution: U D L R are steps, each taken as soon as the game
    // allows; "wN" holds no arrow for N frames more before the next step.
    char moves[256];
    u32 clearFrame;  // frame of the clear, counted from the set-up
    u32 ticks;       // clock seconds the stage costs
    u32 finalTime;   // clock reading at the clear
    u32 lowestTime;  // lowest reading on the way
    u64 nodes;
};

// Cap 1000 ways, 10 s a board.
SolveOptions DefaultSolveOptions(void);
void SolveStage(const Stage& stage, const SolveOptions& options, SolveResult* result);
// A short English phrase for a reason ("the start is boxed in").
const char* ReasonText(Reason reason);

// Ways to finish, clock aside, from part-way through a walk: `walked` holds
// the cells entered so far (warps never), `cell` is where the player stands.
u32 CountWaysFrom(const Stage& stage, u64 walked, int cell, const SolveOptions& options);
// How many more steps the rules allow from there before the player is boxed
// in or must take a key out of order (longest walk, up to `budget` positions).
int LongestWalkFrom(const Stage& stage, u64 walked, int cell, u64 budget);

// Plays `moves` holding each direction until it steps; the outcome of the
// attempt (OUTCOME_PLAYING if the moves run out first).
Outcome ReplayMoves(const Stage& stage, const char* moves, PlayState* end);

}  // namespace solver
