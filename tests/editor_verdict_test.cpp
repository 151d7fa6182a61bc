// The map editor's verdict on the map being painted, as the editor computes
// and words it.
#include <gtest/gtest.h>

#include <string>

#include "editor/verdict.h"
#include "solver_boards.h"

namespace {
std::string Described(const solver::Stage& map, u32 number = 7, solver::u64 budget = 0) {
    solver::SolveOptions options = solver::DefaultSolveOptions();
    options.solutionCap = 100;
    options.nodeBudget = budget;
    MapVerdict verdict;
    DecideMap(map, options, &verdict);
    char text[160];
    DescribeVerdict(verdict, number, text, sizeof text);
    return text;
}
}  // namespace

TEST(EditorVerdict, MapsAreJudgedWithParWaysOrAReason) {
    EXPECT_EQ(Described(Board({".123...4"}, 0, 0), 12),
              "map 12: clearable, par 2 s, 58 s left, 1 way");
    solver::Stage empty = Board({"........", "........", "........", "........", "........",
                                 "........", "........", "........"},
                                7, 7);
    EXPECT_EQ(Described(empty), "map 07: not clearable: a key is missing");
    EXPECT_EQ(Described(Board({".1234..4"}, 0, 0)), "map 07: not clearable: two goal keys");
    EXPECT_EQ(Described(Board({".#1234", "#"}, 0, 0)),
              "map 07: not clearable: the start is boxed in");
    EXPECT_EQ(Described(Board({".21.3..4"}, 0, 0)), "map 07: not clearable: a key is cut off");
    EXPECT_EQ(Described(Board({".123G4"}, 0, 0)),
              "map 07: not clearable: a removable wall and no switch");
    solver::Stage open = empty;
    memcpy(open.cells, Board({".123"}, 0, 0).cells, 4);
    open.startX = open.startY = 0;
    open.cells[63] = TILE_KEY4;
    EXPECT_EQ(Described(open), "map 07: not clearable: the board's colours forbid one stroke");
    open.cells[63] = TILE_FLOOR;
    open.cells[62] = TILE_KEY4;
    EXPECT_EQ(Described(open), "map 07: clearable, par 17 s, 43 s left, 100+ ways");
    EXPECT_EQ(Described(open, 7, 3), "map 07: undecided");

    // The worker answers for the newest map asked about.
    AskVerdict(open);
    AskVerdict(Board({".123...4"}, 0, 0));
    WaitForVerdict();
    MapVerdict verdict;
    ReadVerdict(&verdict);
    EXPECT_EQ(verdict.state, VERDICT_CLEARABLE);
    EXPECT_STREQ(verdict.moves, "RRRRRRR");
}
