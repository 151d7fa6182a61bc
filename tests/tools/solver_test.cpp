// The stage solver on small boards whose answers are known by hand, and its
// replays frame by frame against the clock.
#include "play/solver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../solver_boards.h"

using namespace solver;

TEST(Solver, CorridorIsClearedAtOneStepEvery17Frames) {
    SolveResult r = Solve(Board({".123...4"}, 0, 0));
    ASSERT_TRUE(r.decided && r.solvable);
    EXPECT_STREQ(r.moves, "RRRRRRR");
    EXPECT_EQ(r.walkCount, 1u);
    // Steps at frames 0, 17, ..., 102; the clock ticks at frames 0 and 63.
    EXPECT_EQ(r.clearFrame, 102u);
    EXPECT_EQ(r.ticks, 2u);
    EXPECT_EQ(r.finalTime, 58u);
}

// Dead ends and keys out of order are the pruning rules' boards.
TEST(Solver, UnclearableBoardsAreDecidedSo) {
    // The goal lies on the way: taking it early is a miss.
    SolveResult goal = Solve(Board({".1.4.2.3"}, 0, 0));
    EXPECT_FALSE(goal.solvable);
    // The switch lies behind the gate it opens.
    SolveResult gate = Solve(Board({".123G.S4"}, 0, 0));
    EXPECT_TRUE(gate.decided);
    EXPECT_FALSE(gate.solvable);
    EXPECT_EQ(gate.walkCount, 0u);
}

TEST(Solver, GatesMustBeWalkedOnceTheSwitchOpensThem) {
    SolveResult walk = Solve(Board({".S1G2###", "####3###", "####4###"}, 0, 0));
    ASSERT_TRUE(walk.solvable);
    EXPECT_STREQ(walk.moves, "RRRRDD");
    // Without a switch the gate never opens.
    EXPECT_FALSE(Solve(Board({"..1G2###", "####3###", "####4###"}, 0, 0)).solvable);
    // An opened gate left unwalked leaves the board unfinished.
    SolveResult left = Solve(Board({".S12.###", "###G3###", "####4###"}, 0, 0));
    EXPECT_TRUE(left.decided);
    EXPECT_EQ(left.walkCount, 0u);
}

TEST(Solver, WarpsCanBeEnteredTwiceAndCostTheirBeam) {
    Stage s = Board({".1W#W.2.", "4..#3..."}, 0, 0);
    SolveResult r = Solve(s);
    ASSERT_TRUE(r.solvable);
    EXPECT_STREQ(r.moves, "RRRRRDLLLUDLL");
    EXPECT_EQ(r.walkCount, 1u);
    // Each warp lands in row 0: 16 frames of beam, shorter than the step
    // delay, so the pace is one step per 17 frames throughout.
    EXPECT_EQ(r.clearFrame, 12u * 17u);

    // Landing in row 7 holds the next step for 34 frames of beam.
    Stage low = Board({".W######", "########", "########", "########", "########", "########",
                       "########", "W1234###"},
                      0, 0);
    SolveResult far = Solve(low);
    ASSERT_TRUE(far.solvable);
    EXPECT_STREQ(far.moves, "RRRRR");
    EXPECT_EQ(far.clearFrame, 34u + 3u * 17u);
}

TEST(Solver, TimeTilesFollowTheClock) {
    // Class 2 penalties of 20 s: the third one would run the clock out, so
    // the player stands still until the swap has made bonuses of the rest.
    Stage three = Board({".1-2-3-4"}, 0, 0, 2);
    SolveResult out = Solve(three);
    EXPECT_EQ(out.walkCount, 1u);
    ASSERT_TRUE(out.solvable);
    EXPECT_STREQ(out.moves, "RRRw1147RRRR");
    EXPECT_EQ(out.finalTime, 60u);
    PlayState waited;
    EXPECT_EQ(ReplayMoves(three, out.moves, &waited), OUTCOME_CLEARED);
    EXPECT_EQ(ReplayMoves(three, "RRRRRRR", &waited), OUTCOME_TIME_UP);
    // Class 1 swaps every 5 ticks: a penalty met after the first swap is a bonus.
    Stage slow =
        Board({".1......", "#######.", ".......2", ".#######", "......-.", "#######3", "4......."},
              0, 0, 1);
    slow.cells[7 + 8 * 6] = TILE_FLOOR;
    SolveResult r = Solve(slow);
    ASSERT_TRUE(r.solvable);
    PlayState end;
    EXPECT_EQ(ReplayMoves(slow, r.moves, &end), OUTCOME_CLEARED);
    EXPECT_EQ(end.frame - 1, r.clearFrame);
    EXPECT_EQ(end.timeLeft, r.finalTime);
    EXPECT_GT(r.finalTime, 60u - r.ticks);  // it was a bonus by then
}

TEST(Solver, ReplaysStopAtTheMissOrTheClear) {
    Stage s = Board({".2.1.3.4"}, 0, 0);
    PlayState end;
    EXPECT_EQ(ReplayMoves(s, "R", &end), OUTCOME_MISSED);
    Stage early = Board({".14.2.3."}, 0, 0);
    EXPECT_EQ(ReplayMoves(early, "RR", &end), OUTCOME_MISSED);
    Stage fine = Board({".123...4"}, 0, 0);
    EXPECT_EQ(ReplayMoves(fine, "RRR", &end), OUTCOME_PLAYING);
    EXPECT_EQ(ReplayMoves(fine, "RRRRRRR", &end), OUTCOME_CLEARED);
    EXPECT_EQ(ReplayMoves(fine, "D", &end), OUTCOME_MISSED);  // into the wall
}

TEST(Solver, WaysAndLongestWalksFromPartWayThrough) {
    Stage corridor = Board({".123...4"}, 0, 0);
    EXPECT_EQ(CountWaysFrom(corridor, 1, 0, DefaultSolveOptions()), 1u);
    EXPECT_EQ(LongestWalkFrom(corridor, 1, 0, 1000), 7);

    // Past the side cell below key 1, the walk runs to the goal's door and
    // stops there: the goal would be taken with the side cell unwalked.
    Stage side = Board({".1.2.3.4", "#.######"}, 0, 0);
    u64 walked = 1ull << 0 | 1ull << 1 | 1ull << 2;
    EXPECT_EQ(CountWaysFrom(side, walked, 2, DefaultSolveOptions()), 0u);
    EXPECT_EQ(LongestWalkFrom(side, walked, 2, 1000), 4);
    // Into the side cell: boxed in at once.
    u64 down = 1ull << 0 | 1ull << 1 | 1ull << 9;
    EXPECT_EQ(LongestWalkFrom(side, down, 9, 1000), 0);
}
