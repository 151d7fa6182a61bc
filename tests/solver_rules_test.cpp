// The stage solver against the game's rules: boards whose fastest walks are
// known by hand, replayed frame by frame, and a board for each reason it
// gives up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "play/solver.h"
#include "solver_boards.h"

using namespace solver;

TEST(SolverRules, FastestWalksReplayToTheirClear) {
    const Stage low = Board({".W######", "########", "########", "########", "########", "########",
                             "########", "W1234###"},
                            0, 0);
    const struct {
        const char* name;
        Stage stage;
        const char* moves;
        u32 clearFrame, finalTime;  // 0: not fixed by hand
    } cases[] = {
        // One step every 17 frames; the clock ticks at frames 0 and 63.
        {"corridor", Board({".123...4"}, 0, 0), "RRRRRRR", 102, 58},
        // Into warp 2, out at 62; the pocket at 63 and back onto 62, which
        // sends the player to 27, the last other warp of the scan from there.
        {"warp pocket",
         Board({".1W#####", "########", "########", "###W234#", "########", "########", "########",
                "######W."},
               0, 0),
         "RRRLRRR", 0, 0},
        {"taken goal", Board({"##2#####", ".1*34###"}, 0, 1), "RRUDRR", 0, 0},
        // The start tile acts only while the player stands on it.
        {"start on key", Board({"..######", ".1234###"}, 1, 1), "ULDRRRR", 0, 0},
        {"start on switch", Board({"SG1234##"}, 0, 0), "w1RRRRR", 0, 0},
        {"gate", Board({".S1G2###", "####3###", "####4###"}, 0, 0), "RRRRDD", 0, 0},
        // Warps landing in row 0 beam for 16 frames, under the step delay...
        {"warps twice", Board({".1W#W.2.", "4..#3..."}, 0, 0), "RRRRRDLLLUDLL", 12 * 17, 0},
        // ...and in row 7 for 34 frames.
        {"low warp", low, "RRRRR", 34 + 3 * 17, 0},
        // Class 2 penalties of 20 s: the third would run the clock out, so the
        // player waits for the swap to make bonuses of the rest.
        {"penalties", Board({".1-2-3-4"}, 0, 0, 2), "RRRw1147RRRR", 0, 60},
    };
    for (const auto& c : cases) {
        SolveResult r = Solve(c.stage);
        ASSERT_TRUE(r.decided && r.solvable) << c.name;
        EXPECT_STREQ(r.moves, c.moves) << c.name;
        EXPECT_EQ(r.walkCount, 1u) << c.name;
        PlayState end;
        EXPECT_EQ(ReplayMoves(c.stage, r.moves, &end), OUTCOME_CLEARED) << c.name;
        EXPECT_EQ(end.frame - 1, r.clearFrame) << c.name;
        EXPECT_EQ(end.timeLeft, r.finalTime) << c.name;
        EXPECT_EQ(r.clearFrame, c.clearFrame ? c.clearFrame : r.clearFrame) << c.name;
        EXPECT_EQ(r.finalTime, c.finalTime ? c.finalTime : r.finalTime) << c.name;
    }
    PlayState end;
    EXPECT_EQ(ReplayMoves(Board({".1-2-3-4"}, 0, 0, 2), "RRRRRRR", &end), OUTCOME_TIME_UP);
    EXPECT_EQ(ReplayMoves(Board({".123...4"}, 0, 0), "D", &end), OUTCOME_MISSED);
}

// The editor's verdicts cover the reasons found before the search.
TEST(SolverRules, EachPruningRuleDecidesItsBoard) {
    const struct {
        const char* name;
        Stage stage;
        Reason reason;
    } cases[] = {
        // Everything must lie in the player's piece of the board.
        {"split", Board({".123#..4", "....#...", "....#...", "....#..."}, 0, 0), REASON_NO_WALK},
        {"key order", Board({".21.3..4"}, 0, 0), REASON_KEY_CUT_OFF},
        // Key 1 lies behind a gate whose switch lies behind key 1.
        {"gate order", Board({"..G1S234"}, 0, 0), REASON_KEY_CUT_OFF},
        // A cell with one way in and out (the warps keep the colouring out of it).
        {"dead end", Board({".1.2.3.4", "#.####WW"}, 0, 0), REASON_NO_WALK},
        {"colours", Board({".1..", "2..3", "..4."}, 0, 0), REASON_COLOURING},
        {"code 13", Board({".123?4"}, 0, 0), REASON_UNKNOWN_TILE},
        // The goal lies on the way: taking it early is a miss.
        {"goal on the way", Board({".1.4.2.3"}, 0, 0), REASON_NONE},
        {"switch behind its gate", Board({".123G.S4"}, 0, 0), REASON_NONE},
    };
    for (const auto& c : cases) {
        SolveResult r = Solve(c.stage);
        EXPECT_TRUE(r.decided) << c.name;
        EXPECT_FALSE(r.solvable) << c.name << " " << r.moves;
        EXPECT_EQ(r.reason, c.reason == REASON_NONE ? r.reason : c.reason) << c.name;
    }
}
