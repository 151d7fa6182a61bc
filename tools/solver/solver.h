// Decides whether a stage can be cleared, played at the game's own pace: a
// step as soon as the rules allow one, never waiting. The board is a
// one-stroke walk, so the search first counts the ways to finish from each
// walked set and cell (clock aside), then replays those ways frame by frame
// against the clock.
#pragma once
#include "solver/rules.h"

namespace solver {

struct SolveOptions {
    u32 solutionCap;  // distinct solutions counted (and timed) up to this many
    u64 nodeBudget;   // search positions before giving up undecided
};

struct SolveResult {
    int decided;      // 0: the budget ran out first
    int solvable;     // a solution clears within the clock
    u32 walkCount;    // ways to finish, clock aside (capped)
    u32 timedCount;   // of those examined, the ones the clock allows
    int countCapped;  // walkCount reached the cap
    char moves[160];  // the fastest solution, "UDLR..."
    u32 clearFrame;   // frame of the clear, counted from the set-up
    u32 ticks;        // clock seconds the stage costs
    u32 finalTime;    // clock reading at the clear
    u32 lowestTime;   // lowest reading on the way
    u64 nodes;
};

SolveOptions DefaultSolveOptions(void);
void SolveStage(const Stage& stage, const SolveOptions& options, SolveResult* result);

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
