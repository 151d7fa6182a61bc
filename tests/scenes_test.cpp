// The title's tables and the story's text scan, through the draw calls the
// headless backend records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "graphics/trig.h"
#include "graphics/display.h"
#include "graphics/sprites.h"
#include "platform/headless.h"
#include "scenes/ending.h"
#include "scenes/story.h"
#include "scenes/title.h"

namespace {
std::string traced;
FILE* traceOut;
char* traceBuffer;
size_t traceSize;

void BeginTrace(void) {
    traceOut = open_memstream(&traceBuffer, &traceSize);
    HeadlessSetTrace(TRACE_SPRITE | TRACE_TEXT, traceOut);
}

std::string EndTrace(void) {
    HeadlessSetTrace(0, nullptr);
    fclose(traceOut);
    std::string text(traceBuffer, traceSize);
    free(traceBuffer);
    return text;
}

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
        BeginTrace();
        DrawStoryMessage(120, 350, page.message.text, visible, complete, request);
        return EndTrace();
    }
};
}  // namespace

TEST(TrigTables, MatchTheTruncatedFixedPointValues) {
    BuildTrigTables();
    EXPECT_EQ(sinTable[0], 0);
    EXPECT_EQ(cosTable[0], 65536);
    EXPECT_EQ(sinTable[30], 32767);
    EXPECT_EQ(cosTable[60], 32768);
    EXPECT_EQ(sinTable[90], 65535);
    EXPECT_EQ(cosTable[90], 0);
    EXPECT_EQ(cosTable[180], -65535);
    EXPECT_EQ(sinTable[270], -65535);
    EXPECT_EQ(sinTable[359], -1143);
}

TEST_F(StoryScan, EighteenthCharacterWrapsAndTheEndMarkFollowsTheLastOne) {
    Text("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij#e", 38);
    Scan(17);
    EXPECT_EQ(complete, 0u);
    std::string out = Scan(18);
    EXPECT_EQ(Count(out, " text "), 18);
    EXPECT_NE(out.find("x=488 y=350 color=C8FFFFFF \"gh\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=120 y=373 color=C8FFFFFF \"ij\""), std::string::npos) << out;
    // The pair right after the last shown cell acts in the same scan, and its
    // next-page mark shows in that scan too, under the text; the window is
    // translucent.
    EXPECT_EQ(complete, 1u);
    EXPECT_NE(out.find("tex=23 x=490 y=400 src=0,120,40,160"), std::string::npos) << out;
    EXPECT_LT(out.find("x=490 y=400"), out.find(" text "));
    EXPECT_NE(
        out.find("tex=23 x=100 y=330 src=0,0,440,120 scale=1,1 centre=0,0 rot=0 color=96FFFFFF"),
        std::string::npos);
}

TEST_F(StoryScan, CharactersAfterTheEndMarkStillType) {
    Text("AA#eBB", 6);
    std::string out = Scan(1);
    EXPECT_EQ(complete, 1u);
    EXPECT_EQ(Count(out, " text "), 1);
    EXPECT_EQ(Count(out, "x=490 y=400"), 1);
    out = Scan(2);
    EXPECT_NE(out.find("x=143 y=350 color=C8FFFFFF \"BB\""), std::string::npos) << out;
    // A clear flag and a count short of the mark: no mark, its animation reset.
    complete = 0;
    Text("AABB#e", 6);
    out = Scan(1);
    EXPECT_EQ(complete, 0u);
    EXPECT_EQ(Count(out, "x=490 y=400"), 0);
    EXPECT_EQ(nextMarkTimer, 0u);
    EXPECT_EQ(nextMarkStep, 0);
}

TEST_F(StoryScan, ControlPairsTakeNoCell) {
    // A break, photograph 2, photograph 3 (none), an unknown pair, go-on.
    Text("AB#nCD#p02EF#p03#xGH#s", 22);
    std::string out = Scan(99);
    EXPECT_NE(out.find("x=120 y=350 color=C8FFFFFF \"AB\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=120 y=373 color=C8FFFFFF \"CD\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=143 y=373 color=C8FFFFFF \"EF\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=166 y=373 color=C8FFFFFF \"GH\""), std::string::npos) << out;
    EXPECT_EQ(Count(out, " text "), 4);
    EXPECT_EQ(Count(out, "tex=28 x=160 y=60 src=0,0,320,240"), 1);
    EXPECT_EQ(Count(out, "tex=27 "), 0);
    // The photograph lies under the text that follows it.
    EXPECT_LT(out.find("tex=28"), out.find("\"EF\""));
    EXPECT_EQ(request, 2);
    EXPECT_EQ(complete, 0u);
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

    // A pair cut off by the zero ends the text.
    Text("AB#\0CD", 6);
    out = Scan(1000);
    EXPECT_EQ(Count(out, " text "), 1);
}

TEST_F(StoryScan, PortraitQuartersAndOutOfRangeExpressions) {
    BeginTrace();
    DrawStoryCharacter(TEXTURE_GAMEADV_CHARACTER_2, 3);
    DrawStoryCharacter(TEXTURE_GAMEADV_CHARACTER_2, 200);
    DrawStoryPhoto('1', '2');
    DrawStoryPhoto('x', '1');
    DrawStoryPhoto('0', '1');
    std::string out = EndTrace();
    EXPECT_NE(out.find("tex=25 x=160 y=0 src=320,480,640,960"), std::string::npos) << out;
    EXPECT_NE(out.find("tex=25 x=160 y=0 src=0,0,320,480"), std::string::npos) << out;
    EXPECT_EQ(Count(out, "tex=27"), 1);
    EXPECT_EQ(Count(out, "tex=28"), 0);
}

TEST(StarRating, CourseAndUndergroundThresholds) {
    HeadlessReset(0);
    ASSERT_EQ(InitDisplay(1), 0u);
    struct Case {
        u32 seconds, stages;
        u8 underground;
        int earned;
    } cases[] = {
        {629, 30, 0, 5},    {630, 30, 0, 4},   {1029, 30, 0, 1},  {1030, 30, 0, 0},
        {356400, 30, 0, 0}, {1399, 50, 1, 5},  {1400, 50, 1, 4},  {1799, 50, 1, 1},
        {2799, 100, 1, 5},  {3199, 100, 1, 1}, {3200, 100, 1, 0},
    };
    for (const Case& c : cases) {
        BeginTrace();
        DrawStarRating(c.seconds, 200, 300, c.stages, c.underground);
        std::string out = EndTrace();
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
    i32 low[WALKER_COUNT], high[WALKER_COUNT];
    for (int frame = 0; frame < 3000; frame++) {
        DrawEndingWalkers(0);
        for (int i = 0; i < WALKER_COUNT; i++) {
            ASSERT_GE(walkerX[i], -1) << i;
            ASSERT_LE(walkerX[i] + 40, 641) << i;
            ASSERT_GE(walkerY[i], -1) << i;
            ASSERT_LE(walkerY[i] + 40, 481) << i;
            ASSERT_TRUE(walkerDX[i] == 1 || walkerDX[i] == -1);
            low[i] = frame == 0 || walkerX[i] < low[i] ? walkerX[i] : low[i];
            high[i] = frame == 0 || walkerX[i] > high[i] ? walkerX[i] : high[i];
        }
    }
    // None is caught turning at an edge on every frame.
    for (int i = 0; i < WALKER_COUNT; i++) EXPECT_GT(high[i] - low[i], 500) << i;
    i32 before[WALKER_COUNT];
    memcpy(before, walkerX, sizeof before);
    for (int frame = 0; frame < 50; frame++) DrawEndingWalkers(1);
    EXPECT_EQ(memcmp(before, walkerX, sizeof before), 0);
    EXPECT_EQ(walkersPlaced, 1u);
}
