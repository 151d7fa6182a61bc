// The stage solver against the game's rules: boards whose fastest walks are
// known by hand, replayed frame by frame, a board for each reason it gives
// up, and the map editor's verdicts as it words them.
#include "play/solver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "editor/verdict.h"

using namespace solver;

namespace {
// Boards written as rows of letters: the stage source alphabet, with '*' a
// taken goal and '?' a code the game does not know. Missing rows and the
// cells past a short row are walls.
Stage Board(std::initializer_list<const char*> rows, int x, int y, u8 timeClass = 0) {
    const char* letters = ".x#+-SG1234*W?";
    Stage s;
    memset(&s, 0, sizeof s);
    memset(s.cells, TILE_WALL, 64);
    int row = 0;
    for (const char* r : rows) {
        for (int col = 0; col < 8 && r[col]; col++) {
            s.cells[col + 8 * row] = (u8)(strchr(letters, r[col]) - letters);
        }
        row++;
    }
    s.startX = x;
    s.startY = y;
    s.timeClass = timeClass;
    return s;
}

SolveResult Solve(const Stage& s) {
    SolveResult r;
    SolveStage(s, DefaultSolveOptions(), &r);
    return r;
}

std::string Described(const Stage& map, u32 number = 7, u64 budget = 0) {
    SolveOptions options = DefaultSolveOptions();
    options.solutionCap = 100;
    options.nodeBudget = budget;
    MapVerdict verdict;
    DecideMap(map, options, &verdict);
    char text[160];
    DescribeVerdict(verdict, number, text, sizeof text);
    return text;
}
}  // namespace

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
}

// Every reason the solver gives, as the editor words it.
TEST(EditorVerdict, MapsAreJudgedWithParWaysOrAReason) {
    Stage empty = Board({"........", "........", "........", "........", "........", "........",
                         "........", "........"},
                        7, 7);
    const struct {
        Stage stage;
        const char* text;
    } cases[] = {
        {Board({".123...4"}, 0, 0), "clearable, par 2 s, 58 s left, 1 way"},
        {empty, "not clearable: a key is missing"},
        {Board({".1234..4"}, 0, 0), "not clearable: two goal keys"},
        {Board({".#1234", "#"}, 0, 0), "not clearable: the start is boxed in"},
        {Board({".21.3..4"}, 0, 0), "not clearable: a key is cut off"},
        // Key 1 lies behind a gate whose switch lies behind key 1.
        {Board({"..G1S234"}, 0, 0), "not clearable: a key is cut off"},
        {Board({".123G4"}, 0, 0), "not clearable: a removable wall and no switch"},
        {Board({".123#..4", "....#...", "....#...", "....#..."}, 0, 0),
         "not clearable: no one-stroke walk"},
        // A cell with one way in and out (the warps keep the colouring out of it).
        {Board({".1.2.3.4", "#.####WW"}, 0, 0), "not clearable: no one-stroke walk"},
        {Board({".1..", "2..3", "..4."}, 0, 0),
         "not clearable: the board's colours forbid one stroke"},
        {Board({".123?4"}, 0, 0), "not clearable: a tile the game never finishes"},
        // The goal lies on the way: taking it early is a miss.
        {Board({".1.4.2.3"}, 0, 0), "not clearable: no one-stroke walk"},
        {Board({".123G.S4"}, 0, 0), "not clearable: no one-stroke walk"},
    };
    for (const auto& c : cases) EXPECT_EQ(Described(c.stage), std::string("map 07: ") + c.text);
    Stage open = empty;
    memcpy(open.cells, Board({".123"}, 0, 0).cells, 4);
    open.startX = open.startY = 0;
    open.cells[62] = TILE_KEY4;
    EXPECT_EQ(Described(open), "map 07: clearable, par 17 s, 43 s left, 100+ ways");
    EXPECT_EQ(Described(open, 7, 3), "map 07: undecided");
    // The goal on the start's colour: 63 steps cannot end there.
    Stage sameColour = open;
    sameColour.cells[62] = TILE_FLOOR;
    sameColour.cells[63] = TILE_KEY4;
    EXPECT_EQ(Described(sameColour),
              "map 07: not clearable: the board's colours forbid one stroke");

    // The worker answers for the newest map asked about.
    AskVerdict(open);
    AskVerdict(Board({".123...4"}, 0, 0));
    WaitForVerdict();
    MapVerdict verdict;
    ReadVerdict(&verdict);
    EXPECT_EQ(verdict.state, VERDICT_CLEARABLE);
    EXPECT_STREQ(verdict.moves, "RRRRRRR");
}
