// The map editor's verdict on the map being painted, as the editor computes
// it, and the window title that follows the edits.
#include <sys/stat.h>

#include "editor/editor.h"
#include "editor/verdict.h"
#include "play_fixture.h"
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

class EditorTitle : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_EQ(mkdir("EditMap", 0755), 0);
        memset(editBoard, 0, sizeof editBoard);
        editorLoaded = 0;
        mouseLeft = mouseRight = BUTTON_OFF;
    }

    // Frames until the worker has answered and the title shows it.
    std::string SettledTitle(POINT p = POINT{0, 0}, u32 left = BUTTON_OFF, u32 right = BUTTON_OFF) {
        mousePos = p;
        mouseLeft = left;
        mouseRight = right;
        Press(playtest::NONE);
        RunEditor();
        mouseLeft = mouseRight = BUTTON_OFF;
        WaitForVerdict();
        mousePos = POINT{0, 0};
        RunEditor();
        return HeadlessWindowTitle();
    }
};

TEST_F(EditorTitle, WindowTitleFollowsTheEdits) {
    EXPECT_EQ(SettledTitle(), "Ossmire \u2014 map 00: not clearable: a key is missing");
    // A corridor along the top row from the start at (0, 0), the rest walls.
    for (int cell = 8; cell < 64; cell++) editBoard[cell] = TILE_WALL;
    const POINT KEYS[4] = {{510, 140}, {550, 140}, {590, 140}, {510, 180}};
    for (int k = 0; k < 4; k++) {
        SettledTitle(KEYS[k], BUTTON_PRESSED);
        SettledTitle(POINT{100 + 40 * (k == 3 ? 7 : k + 1), 100}, BUTTON_PRESSED);
    }
    EXPECT_EQ(std::string(HeadlessWindowTitle()),
              "Ossmire \u2014 map 00: not clearable: the start is boxed in");
    EXPECT_EQ(SettledTitle(POINT{100, 100}, BUTTON_OFF, BUTTON_PRESSED),
              "Ossmire \u2014 map 00: clearable, par 2 s, 58 s left, 1 way");
    // The screen is the editor's own: no verdict is drawn unless asked for.
    EXPECT_EQ(editorSolverShown, 0u);
}
