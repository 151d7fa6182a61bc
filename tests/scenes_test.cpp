// The story's text scan and the ending's stars and walkers, through the draw
// calls the headless backend records.
#include <cstdlib>
#include <cstring>
#include <string>

#include "graphics/display.h"
#include "graphics/sprites.h"
#include "play_fixture.h"
#include "scenes/ending.h"
#include "scenes/story.h"
#include "scenes/title.h"

namespace {
using playtest::Traced;

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

struct StoryScan : ::testing::Test {
    // The message sits between guards, so a scan past its 100 bytes would
    // draw the guard's letters.
    struct {
        char before[8];
        StoryMessage message;
        char after[8];
    } page;
    u32 complete = 0;
    u8 request = 0;

    void SetUp() override {
        HeadlessReset(0);
        ASSERT_EQ(InitDisplay(1), 0u);
        memset(&page, 'Z', sizeof page);
        memset(page.message.text, 0, sizeof page.message.text);
    }
    void TearDown() override { ReleaseGraphics(); }
    void Text(const char* bytes, size_t n) { memcpy(page.message.text, bytes, n); }
    std::string Scan(u32 visible) {
        return Traced(
            [&] { DrawStoryMessage(120, 350, page.message.text, visible, complete, request); });
    }
};
}  // namespace

TEST_F(StoryScan, EighteenCellsALineAndPairsTakeNoCell) {
    Text("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij#e", 38);
    std::string out = Scan(18);
    EXPECT_EQ(Count(out, " text "), 18);
    EXPECT_NE(out.find("x=488 y=350 color=C8FFFFFF \"gh\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=120 y=373 color=C8FFFFFF \"ij\""), std::string::npos) << out;
    // The next-page mark lies under the text; the window is translucent.
    EXPECT_LT(out.find("tex=23 x=490 y=400 src=0,120,40,160"), out.find(" text "));
    EXPECT_NE(out.find("tex=23 x=100 y=330 src=0,0,440,120 scale=1,1 centre=0,0 rot=0 color=96"),
              std::string::npos);

    // A break, photograph 2, photograph 3 (none), an unknown pair, go-on.
    complete = 0;
    memset(page.message.text, 0, sizeof page.message.text);
    Text("AB#nCD#p02EF#p03#xGH#s", 22);
    out = Scan(99);
    EXPECT_NE(out.find("x=120 y=350 color=C8FFFFFF \"AB\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=120 y=373 color=C8FFFFFF \"CD\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=166 y=373 color=C8FFFFFF \"GH\""), std::string::npos) << out;
    EXPECT_EQ(Count(out, " text "), 4);
    // The photograph lies under the text that follows it.
    EXPECT_LT(out.find("tex=28 x=160 y=60 src=0,0,320,240"), out.find("\"EF\""));
    EXPECT_EQ(request, 2);
}

TEST_F(StoryScan, DamagedTextNeverLeavesItsHundredBytes) {
    // No end mark and no zero: 50 cells on three lines, no guard letters.
    memset(page.message.text, 'A', 100);
    std::string out = Scan(1000);
    EXPECT_EQ(Count(out, " text "), 50);
    EXPECT_EQ(Count(out, "Z"), 0);
    EXPECT_NE(out.find("x=120 y=396 color=C8FFFFFF \"AA\""), std::string::npos);

    // A lead byte as the field's last byte is dropped, not drawn as half a character.
    page.message.text[99] = (char)0x82;
    out = Scan(1000);
    EXPECT_EQ(Count(out, " text "), 50);
    EXPECT_NE(out.find("y=396 color=C8FFFFFF \"A\"\n"), std::string::npos) << out;

    // A photograph pair whose digits would lie past the field ends the scan.
    page.message.text[98] = '#';
    page.message.text[99] = 'p';
    out = Scan(1000);
    EXPECT_EQ(Count(out, " text "), 49);
    EXPECT_EQ(Count(out, "tex=27"), 0);

    // 0xFC is a lead byte still: cut by the unit grid, it is dropped too.
    memset(page.message.text, 0, sizeof page.message.text);
    Text("A\xFC", 2);
    EXPECT_NE(Scan(1000).find("color=C8FFFFFF \"A\"\n"), std::string::npos);
}

TEST(StarRating, CourseAndUndergroundThresholds) {
    HeadlessReset(0);
    ASSERT_EQ(InitDisplay(1), 0u);
    struct Case {
        u32 seconds, stages;
        u8 underground;
        int earned;
    } cases[] = {
        {1029, 30, 0, 1}, {1030, 30, 0, 0}, {356400, 30, 0, 0}, {1399, 50, 1, 5},
        {1400, 50, 1, 4}, {1799, 50, 1, 1}, {2799, 100, 1, 5},  {3200, 100, 1, 0},
    };
    for (const Case& c : cases) {
        std::string out =
            Traced([&] { DrawStarRating(c.seconds, 200, 300, c.stages, c.underground); });
        EXPECT_EQ(Count(out, "tex=17 "), 5);
        EXPECT_EQ(Count(out, "src=0,0,40,40"), c.earned) << c.seconds << " s, " << c.stages;
        // Earned stars come first, from the left.
        if (c.earned > 0 && c.earned < 5) {
            EXPECT_LT(out.rfind("src=0,0,40,40"), out.find("src=0,40,40,80"));
        }
    }
    ReleaseGraphics();
}

TEST(EndingWalkers, TravelInsideTheScreenAndStandStillWhileCelebrating) {
    HeadlessReset(0);
    srand(100000);
    walkersPlaced = 0;
    for (int frame = 0; frame < 3000; frame++) {
        DrawEndingWalkers(0);
        for (int i = 0; i < WALKER_COUNT; i++) {
            ASSERT_TRUE(walkerX[i] >= -1 && walkerX[i] <= 601 && walkerY[i] >= -1 &&
                        walkerY[i] <= 441 && (walkerDX[i] == 1 || walkerDX[i] == -1))
                << i;
        }
    }
    // Each faces its heading: the sheet's columns are up-right, down-left,
    // up-left, down-right.
    std::string out = Traced([] { DrawEndingWalkers(0); });
    size_t at = 0;
    for (int i = 0; i < WALKER_COUNT; i++) {
        at = out.find("src=", at) + 4;
        int column = walkerDX[i] > 0 ? (walkerDY[i] < 0 ? 0 : 3) : (walkerDY[i] > 0 ? 1 : 2);
        EXPECT_EQ(atoi(out.c_str() + at), 40 * column) << i;
    }
    i32 before[WALKER_COUNT];
    memcpy(before, walkerX, sizeof before);
    for (int frame = 0; frame < 50; frame++) DrawEndingWalkers(1);
    EXPECT_EQ(memcmp(before, walkerX, sizeof before), 0);
}
