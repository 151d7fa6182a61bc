// The play-screen drawers as the sprite trace records them: the HUD's clock
// and face thresholds and the timings of the trail, gate fade and beams.
#include <string>
#include <vector>

#include "graphics/sprites.h"
#include "play_fixture.h"
#include "playscreen/hud.h"
#include "playscreen/player.h"
#include "playscreen/playfield.h"

namespace {
using playtest::BoardFrom;

class PlayScreenTest : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        HeadlessSetTrace(TRACE_WAVE | TRACE_SPRITE, trace);
    }
};

TEST_F(PlayScreenTest, ClockNumberTurnsToPulsingWarningDigitsBelowTen) {
    DrawNumber(580, 45, 10, NUMBER_STYLE_CLOCK);
    std::vector<std::string> s = TakeSprites();
    EXPECT_EQ(Where(s[1]), "tex=13 x=540 y=45 src=20,0,40,40");

    // 9: the warning row, twice the size, shrinking by 0.02 a frame about the
    // digit's centre; the leading zero pulses with it.
    DrawNumber(580, 45, 9, NUMBER_STYLE_CLOCK);
    s = TakeSprites();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0],
              "tex=13 x=550.200012 y=25.4000015 src=180,40,200,80 scale=1.98000002,1.98000002 "
              "centre=19.7999992,39.5999985 rot=0 color=FFFFFFFF add=0");
    EXPECT_EQ(Where(s[1]), "tex=13 x=530.200012 y=25.4000015 src=0,40,20,80");

    // Still a little enlarged in the 50th frame, normal size in the 51st.
    for (int i = 0; i < 48; i++) DrawNumber(580, 45, 9, NUMBER_STYLE_CLOCK);
    TakeSprites();
    DrawNumber(580, 45, 9, NUMBER_STYLE_CLOCK);
    EXPECT_NE(Where(TakeSprites()[0]).substr(0, 17), "tex=13 x=560 y=45");
    DrawNumber(580, 45, 9, NUMBER_STYLE_CLOCK);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=13 x=560 y=45 src=180,40,200,80");

    // A later stage showing 9 again starts no pulse; 8 does.
    DrawNumber(580, 45, 10, NUMBER_STYLE_CLOCK);
    DrawNumber(580, 45, 9, NUMBER_STYLE_CLOCK);
    EXPECT_EQ(Where(TakeSprites()[2]), "tex=13 x=560 y=45 src=180,40,200,80");
    DrawNumber(580, 45, 8, NUMBER_STYLE_CLOCK);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=13 x=550.200012 y=25.4000015 src=160,40,180,80");
    // Plain numbers never warn and grow past two digits to the left.
    DrawNumber(580, 120, 123, NUMBER_STYLE_PLAIN);
    EXPECT_EQ(Where(TakeSprites()[2]), "tex=13 x=520 y=120 src=20,0,40,40");
}

TEST_F(PlayScreenTest, GaugeAndFaceFollowTheClockAndTheStageEnd) {
    // Thirty-one seconds is drawn in the composed play frame; thirty worries.
    timeLeft = 30;
    DrawHud();
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 10u);
    EXPECT_EQ(Where(s[1]), "tex=8 x=495 y=55 src=0,320,63,340");
    EXPECT_EQ(Where(s[2]), "tex=8 x=555 y=55 src=60,340,123,360");
    EXPECT_EQ(Where(s[8]), "tex=9 x=497 y=165 src=120,0,240,120");
    missed = 1;
    DrawFace(45, missed, 0, 0);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=9 x=497 y=165 src=0,120,120,240");
    DrawFace(45, 0, 0, 1);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=9 x=497 y=165 src=120,120,240,240");
}

TEST_F(PlayScreenTest, KeySlotsFadeInFromTheNinetiethFrameAndResetOnRetry) {
    u32 keys[4] = {1, 0, 0, 0};
    for (int i = 0; i < 89; i++) DrawKeySlots(keys);
    EXPECT_EQ(TakeSprites().size(), 89u);  // the panel alone
    DrawKeySlots(keys);
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1],
              "tex=8 x=535 y=320 src=0,80,40,120 scale=1,1 centre=0,0 rot=0 color=05FFFFFF add=0");
    // Lost before its 90th frame, a key never shows.
    keys[0] = 0;
    DrawKeySlots(keys);
    keys[0] = 1;
    for (int i = 0; i < 89; i++) DrawKeySlots(keys);
    EXPECT_EQ(TakeSprites().size(), 90u);
    // All three keys: the mark over the panel from the third's 100th frame.
    u32 all[4] = {1, 1, 1, 0};
    for (int i = 0; i < 100; i++) DrawKeySlots(all);
    s = TakeSprites();
    EXPECT_EQ(Where(s.back()), "tex=8 x=495 y=340 src=0,120,120,200");
}

TEST_F(PlayScreenTest, TrailAnimatesOnlyWhileClearedSixteenFramesAFrame) {
    u8 cells[64] = {};
    cells[9] = TRAIL_HORIZONTAL;
    std::string frames;
    for (int i = 0; i < 79; i++) {
        DrawTrail(cells, 1);
        std::vector<std::string> s = TakeSprites();
        ASSERT_EQ(s.size(), 64u);
        // Cell (1, 1), piece 2: frame f is at top 80f.
        frames += Where(s[9]).substr(Where(s[9]).find("src=80,") + 7, 3)[0];
    }
    // The first frame shows 15 times, every later one 16.
    EXPECT_EQ(frames, std::string(15, '0') + std::string(16, '8') + std::string(16, '1') +
                          std::string(16, '8') + std::string(16, '0'));
}

TEST_F(PlayScreenTest, GateFadeRunsTwentySixFramesOverEveryWallOfTheSetUp) {
    u8 mask[64] = {};
    mask[0] = mask[63] = 1;
    u32 flag = 1;
    std::vector<std::string> s;
    for (int i = 0; i < 25; i++) DrawSwitchEffect(flag, mask);
    s = TakeSprites();
    ASSERT_EQ(s.size(), 50u);
    EXPECT_NE(s[0].find("color=F5FFFFFF"), std::string::npos);
    EXPECT_EQ(Where(s[49]), "tex=4 x=360 y=360 src=80,40,120,80");
    EXPECT_NE(s[49].find("color=05FFFFFF"), std::string::npos);
    EXPECT_EQ(flag, 1u);
    DrawSwitchEffect(flag, mask);
    s = TakeSprites();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NE(s[0].find("color=00FFFFFF"), std::string::npos);
    EXPECT_EQ(flag, 0u);
    DrawSwitchEffect(flag, mask);
    EXPECT_TRUE(TakeSprites().empty());
}

TEST_F(PlayScreenTest, WarpBeamRisesFromTheDepartureAndLandsOnThePlayer) {
    u8 cells[64] = {};
    BoardFrom("...@....|........|........|........|........|........|.@......", cells);
    i32 player[2] = {3, 0};  // arrived on the row-0 warp from (1, 6)
    u32 arrived = 1, animating = 1;
    std::vector<std::string> where;
    int frames = 0;
    while (animating && frames < 40) {
        DrawWarpEffect(cells, player, arrived, animating);
        where.push_back(Where(TakeSprites().at(0)));
        frames++;
    }
    ASSERT_EQ(frames, 16);
    EXPECT_EQ(where[0], "tex=8 x=120 y=240 src=150,280,190,380");   // offset 30 at (1, 6)
    EXPECT_EQ(where[8], "tex=8 x=200 y=-180 src=150,280,190,380");  // offset 210 at (3, 0)
    // Nothing more until the next step clears warpArrived.
    DrawWarpEffect(cells, player, arrived, animating);
    EXPECT_TRUE(TakeSprites().empty());
}

TEST_F(PlayScreenTest, ClearBeamWidensThenNarrowsToTwoPixels) {
    for (int frame = 11; frame < 95; frame++) DrawClearBeam(2, 3, frame);
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 84u);
    EXPECT_EQ(Where(s[0]), "tex=8 x=179 y=237 src=159,277,161,280");
    EXPECT_EQ(Where(s[39]), "tex=8 x=140 y=120 src=120,160,200,280");
    EXPECT_EQ(Where(s[83]), "tex=8 x=179 y=120 src=159,160,161,280");
}
}  // namespace
