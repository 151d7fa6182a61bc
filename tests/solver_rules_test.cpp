// The stage solver against the game's rules: the boards its old copy of the
// rules got wrong, a board for each way it prunes, and its verdicts checked
// by a plain search over every move sequence the rules allow.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "play/solver.h"
#include "solver_boards.h"

using namespace solver;

namespace {
// Every sequence of steps and waits the rules allow, without any pruning,
// up to `steps` steps: the earliest clear frame, or 0 for none.
u32 Exhaustive(const PlayState& s, int steps, bool atStart) {
    PlayState ready = s;
    while (!(ready.repeatDelay <= 1 && !ready.warpAnimating)) {
        if (RunFrame(&ready, -1) != OUTCOME_PLAYING) return 0;
    }
    u32 best = 0;
    auto better = [&best](u32 frame) {
        if (frame && (!best || frame < best)) best = frame;
    };
    for (int d = 0; d < 4 && steps > 0; d++) {
        if (StepBlocked(ready, d)) continue;
        PlayState next = ready;
        Outcome o = RunFrame(&next, d);
        if (o == OUTCOME_CLEARED) better(next.frame - 1);
        if (o == OUTCOME_PLAYING) better(Exhaustive(next, steps - 1, false));
    }
    // Stand still one frame at the start, or until the time cells swap.
    PlayState still = ready;
    u32 swaps = 0;
    bool timeCells = false;
    for (u8 code : ready.board) timeCells |= code == TILE_TIME_BONUS || code == TILE_TIME_PENALTY;
    for (int frame = 0; frame < 63 * 21 && (atStart || (timeCells && ready.timeClass <= 2));
         frame++) {
        u32 before = still.swapSeconds;
        if (RunFrame(&still, -1) != OUTCOME_PLAYING) break;
        if (atStart || still.swapSeconds < before) {
            better(Exhaustive(still, steps, false));
            if (++swaps == 1) break;
        }
    }
    return best;
}

u32 ExhaustiveFromStart(const Stage& stage, int steps) {
    PlayState s;
    StartStage(stage, &s);
    return Exhaustive(s, steps, true);
}

void ExpectClearsAsFoundBySearch(const Stage& stage, const char* name) {
    SolveResult r = Solve(stage);
    ASSERT_TRUE(r.decided && r.solvable) << name;
    PlayState end;
    EXPECT_EQ(ReplayMoves(stage, r.moves, &end), OUTCOME_CLEARED) << name << " " << r.moves;
    EXPECT_EQ(end.frame - 1, r.clearFrame) << name;
    EXPECT_EQ(ExhaustiveFromStart(stage, 14), r.clearFrame) << name << ": not the fastest";
}

void ExpectUnclearable(const Stage& stage, Reason reason, const char* name) {
    SolveResult r = Solve(stage);
    EXPECT_TRUE(r.decided) << name;
    EXPECT_FALSE(r.solvable) << name << " " << r.moves;
    EXPECT_EQ(r.reason, reason) << name << ": " << ReasonText(r.reason);
}
}  // namespace

TEST(SolverRules, WarpPocketThroughTheArrivalWarpToAThird) {
    // Into warp 2, out at 62; the pocket at 63 and back onto 62, which sends
    // the player to 27, the last other warp of the scan from there.
    Stage s = Board({".1W#####", "########", "########", "###W234#", "########", "########",
                     "########", "######W."},
                    0, 0);
    ExpectClearsAsFoundBySearch(s, "warp pocket");
    EXPECT_STREQ(Solve(s).moves, "RRRLRRR");
}

TEST(SolverRules, TakenGoalCrossedTwice) {
    Stage s = Board({"##2#####", ".1*34###"}, 0, 1);
    ExpectClearsAsFoundBySearch(s, "taken goal");
    EXPECT_STREQ(Solve(s).moves, "RRUDRR");
}

TEST(SolverRules, StartTileActsOnlyWhenThePlayerStandsOnIt) {
    // Key 1 under the start: stepping off at once leaves it to take later.
    Stage key = Board({"..######", ".1234###"}, 1, 1);
    ExpectClearsAsFoundBySearch(key, "start on key");
    EXPECT_STREQ(Solve(key).moves, "ULDRRRR");
    // A switch under the start opens the gate beside it only if it gets a frame.
    Stage gate = Board({"SG1234##"}, 0, 0);
    ExpectClearsAsFoundBySearch(gate, "start on switch");
    EXPECT_STREQ(Solve(gate).moves, "w1RRRRR");
}

TEST(SolverRules, OpenBoardsAreDecidedAtOnce) {
    const char* open[8] = {".123....", "........", "........", "........",
                           "........", "........", "........", ".......4"};
    Stage same =
        Board({open[0], open[1], open[2], open[3], open[4], open[5], open[6], open[7]}, 0, 0);
    SolveResult r = Solve(same);
    EXPECT_TRUE(r.decided);
    EXPECT_FALSE(r.solvable);
    EXPECT_EQ(r.reason, REASON_COLOURING);
    EXPECT_LT(r.nodes, 10u);
    // The goal one cell over, on the other colour: a stroke through all 64.
    Stage other = same;
    other.cells[63] = TILE_FLOOR;
    other.cells[62] = TILE_KEY4;
    SolveResult found = Solve(other);
    ASSERT_TRUE(found.decided && found.solvable);
    EXPECT_EQ(strlen(found.moves), 63u);
    PlayState end;
    EXPECT_EQ(ReplayMoves(other, found.moves, &end), OUTCOME_CLEARED);
    EXPECT_EQ(found.clearFrame, 62u * 17u);
    EXPECT_TRUE(found.countCapped);
}

TEST(SolverRules, EachPruningRuleDecidesItsBoard) {
    // The board in two pieces: everything must lie in the player's.
    ExpectUnclearable(Board({".123#..4", "....#...", "....#...", "....#..."}, 0, 0), REASON_NO_WALK,
                      "split");
    // Key 1 lies behind key 2.
    ExpectUnclearable(Board({".21.3..4"}, 0, 0), REASON_KEY_CUT_OFF, "key order");
    // Key 1 lies behind a gate whose switch lies behind key 1.
    ExpectUnclearable(Board({"..G1S234"}, 0, 0), REASON_KEY_CUT_OFF, "gate order");
    // A cell with one way in and out (the warps keep the colouring out of it).
    ExpectUnclearable(Board({".1.2.3.4", "#.####WW"}, 0, 0), REASON_NO_WALK, "dead end");
    // A cut cell: the right-hand room hangs on one door, and the goal is on the left.
    SolveResult cut =
        Solve(Board({"...#....", ".1.#....", ".2......", ".3.#....", ".4.#...."}, 0, 0));
    EXPECT_TRUE(cut.decided);
    EXPECT_FALSE(cut.solvable);
    EXPECT_LT(cut.nodes, 50u);
    // The colouring counts: one cell more of one colour than a stroke allows.
    ExpectUnclearable(Board({".1..", "2..3", "..4."}, 0, 0), REASON_COLOURING, "colours");
    // A tile code the rules do not know (the editor's verdicts cover the other reasons).
    ExpectUnclearable(Board({".123?4"}, 0, 0), REASON_UNKNOWN_TILE, "code 13");
}

TEST(SolverRules, VerdictsAgreeWithAPlainSearch) {
    const Stage boards[] = {
        Board({".1.2.3.4", "#.######"}, 0, 0), Board({".21.3..4"}, 0, 0),
        Board({".1..", "2..3", "..4."}, 0, 0), Board({"..W1", "W..2", "3..4"}, 0, 0),
        Board({".1*2", "#3#4"}, 0, 0),         Board({".1-2-3-4"}, 0, 0, 0),
        Board({".S1G", "2G34"}, 0, 0),
    };
    for (const Stage& b : boards) {
        SolveResult r = Solve(b);
        EXPECT_TRUE(r.decided);
        EXPECT_EQ(r.solvable != 0, ExhaustiveFromStart(b, 14) != 0) << r.moves;
    }
}

// A tiny node budget is the editor verdicts' case; here the stop flag.
TEST(SolverRules, AStoppedSearchLeavesTheBoardUndecided) {
    Stage open = Board({".123....", "........", "........", "........", "........", "........",
                        "........", "......4."},
                       0, 0);
    SolveResult r;
    std::atomic<bool> stop(true);
    SolveOptions stopped = DefaultSolveOptions();
    stopped.stop = &stop;
    SolveStage(open, stopped, &r);
    EXPECT_FALSE(r.decided);
}
