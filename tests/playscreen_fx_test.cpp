// The pick-up effects, the stage messages and the pause panel as the sprite
// and text traces record them, frame by frame; the game over scene's saves.
#include <string>
#include <vector>

#include "base/registry.h"
#include "graphics/sprites.h"
#include "graphics/trig.h"
#include "play/menus.h"
#include "play_fixture.h"
#include "playscreen/effects.h"
#include "playscreen/messages.h"
#include "playscreen/panels.h"
#include "scenes/gameover.h"
#include "shell/shell.h"

namespace {
using playtest::ReadAll;

// A sprite line, or part of one, expected at a frame.
struct Sample {
    int frame;
    size_t sprite;
    const char* text;
};

class FxTest : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        HeadlessSetTrace(TRACE_WAVE | TRACE_SPRITE | TRACE_TEXT, trace);
        RegisterAllGlobals();
        BuildTrigTables();
    }

    // Drops everything traced so far, sounds included.
    void Skip() {
        EndFrame();
        TakeSounds();
    }

    static void Set(const char* name, const char* value) {
        int element = 0;
        const GlobalEntry* entry = FindGlobal(name, &element);
        ASSERT_NE(entry, nullptr) << name;
        ASSERT_EQ(AssignGlobal(entry, element, value), 1) << name;
    }

    void CheckMessage(void (*draw)(i32), int first, int last, const std::vector<Sample>& samples);
};

TEST_F(FxTest, KeyFlightSpiralsOutFromTheCellFlooringLeftAndAbove) {
    u32 keys[4] = {};
    DrawKeyFlights(keys, 2, 3);
    Set("keyFlightAngle", "0,0,0");
    Skip();
    keys[0] = 1;
    // Player at (2, 3): the centre is (180, 220).
    DrawKeyFlights(keys, 2, 3);
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 1u);
    // Angle 18, radius 5: the point (184, 221); scale 0.05 about the orb's centre.
    EXPECT_EQ(s[0],
              "tex=8 x=203 y=240 src=0,0,40,40 scale=0.0500000007,0.0500000007 centre=1,1 rot=0 "
              "color=FF94FCFC add=1");
    std::vector<std::string> all;
    for (int frame = 2; frame <= 101; frame++) {
        DrawKeyFlights(keys, 2, 3);
        std::vector<std::string> one = TakeSprites();
        ASSERT_EQ(one.size(), 1u) << frame;
        all.push_back(one[0]);
    }
    // Frame 6, angle 108, radius 30: x = 180 - 9.27 floors to 170 (truncation: 171).
    EXPECT_EQ(Where(all[4]), "tex=8 x=184 y=262 src=0,0,40,40");
    // Frame 20: one turn, back at angle 0, radius 100, full size.
    EXPECT_EQ(Where(all[18]), "tex=8 x=280 y=220 src=0,0,40,40");
    // Over after 101 frames: nothing more while the key stays taken.
    DrawKeyFlights(keys, 2, 3);
    EXPECT_TRUE(TakeSprites().empty());
}

// A message drawer from its first frame: the sprite where its motion changes.
void FxTest::CheckMessage(void (*draw)(i32), int first, int last,
                          const std::vector<Sample>& samples) {
    std::vector<std::vector<std::string>> frames(last + 1);
    for (int frame = first; frame <= last; frame++) {
        draw(frame);
        frames[frame] = TakeSprites();
    }
    for (const Sample& sample : samples) {
        const std::vector<std::string>& s = frames[sample.frame];
        ASSERT_GT(s.size(), sample.sprite) << sample.frame;
        EXPECT_NE(s[sample.sprite].find(sample.text), std::string::npos)
            << sample.frame << ": " << s[sample.sprite];
    }
}

TEST_F(FxTest, StageMessagesMoveOnSchedule) {
    CheckMessage(
        DrawStartMessage, 0, 90,
        {{14, 0, "scale=1,1 centre=160,60 rot=6.28318405 color=FFFFFFFF"}, {90, 0, "scale=3.13"}});
    CheckMessage(DrawMissMessage, 0, 120,
                 {{19, 0, "x=80 y=180 src=0,120,320,240 scale=1,1 centre=160,60 rot=0 color=FF"},
                  {81, 0, "x=72 y=177 src=0,120,320,240 scale=1.04999995,1.04999995 centre=160"},
                  {120, 0, "scale=2.99999809,2.99999809 centre=160,60 rot=0 color=37FFFFFF"}});
    CheckMessage(DrawTimeUpMessage, 0, 449,
                 {{150, 0, "tex=6 x=80 y=120 src=0,240,320,480 scale=1,1 centre=160,120 rot=0"},
                  {251, 1, "tex=12 x=0 y=-470 src=0,0,640,480 scale=1,1 centre=0,0 rot=0 color=FF"},
                  {449, 1, "tex=12 x=0 y=0 "}});
    CheckMessage(DrawClearMessage, 0, 120,
                 {{24, 0, "x=80 y=180 src=320,0,640,120 scale=1,1 centre=160,60 rot=6.54498339 "},
                  {120, 0, "tex=6 x=560 y=180 "}});
    CheckMessage(
        DrawAllClearMessage, 131, 551,
        {{131, 0, "tex=6 x=80 y=120 src=320,240,640,480 scale=1,1 centre=0,0 rot=0 color=02"},
         {383, 1, "tex=29 x=0 y=0 src=0,0,640,480 scale=1,1 centre=0,0 rot=0 color=02"},
         {551, 1, "color=FFFFFFFF"}});
    // Only the first frame resets: a later entry goes on where it stood.
    DrawStartMessage(75);
    EXPECT_NE(TakeSprites()[0].find("scale=3.26"), std::string::npos);
}

TEST_F(FxTest, LabelsRiseFadeAndStayOverTheCellTheyBeganOn) {
    u32 bonus = 1, penalty = 1;
    std::vector<std::string> labels;
    for (int frame = 1; bonus; frame++) {
        ASSERT_LE(frame, 101);
        DrawBonusPopup(frame < 10 ? 0 : 5, 0, bonus, 1);
        DrawPenaltyPopup(frame < 10 ? 3 : 7, 4, penalty, 2);
        std::vector<std::string> s = TakeSprites();
        ASSERT_EQ(s.size(), 2u);
        labels.insert(labels.end(), s.begin(), s.end());
    }
    ASSERT_EQ(labels.size(), 202u);
    EXPECT_EQ(penalty, 0u);
    EXPECT_EQ(Where(labels[1]), "tex=8 x=180 y=200 src=120,120,200,160");
    EXPECT_EQ(Where(labels[4]), "tex=8 x=60 y=39 src=40,0,120,40");
    EXPECT_EQ(labels[200],
              "tex=8 x=60 y=-10 src=40,0,120,40 scale=1,1 centre=0,0 rot=0 color=05FFFFFF add=0");
}

TEST_F(FxTest, PausePanelOpensInSeventeenFramesClosesInEighteenItemsOnlyAtFourHundredEighty) {
    Set("pauseCursorStep", "0");
    Set("pauseCursorTimer", "0");
    freeMode = 1;
    pauseCursor = PAUSE_STAGE_SELECT;
    pauseOpening = 1;
    std::vector<std::string> panels, texts;
    int frames = 0, cursors = 0, textFrames = 0;
    for (; !pauseOpen; frames++) {
        ASSERT_LT(frames, 40);
        StepPauseSlide(DrawPauseMenu);
        std::vector<std::string> s = TakeLines("sprite");
        panels.push_back(Where(s[0]));
        cursors += (int)s.size() - 1;
        texts = TakeLines("text");
        textFrames += !texts.empty();
        EndFrame();
    }
    EXPECT_EQ(frames, 17);
    EXPECT_EQ(panels[16], "tex=7 x=0 y=0 src=0,0,640,480");
    EXPECT_EQ(cursors + textFrames, 2);
    // The last opening frame shows all four items, the chosen one in red.
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "font=1 x=130 y=300 color=FF000000 \"リトライ\"");
    EXPECT_EQ(texts[3], "font=1 x=190 y=230 color=FFFF0000 \"ステージ選択\"");

    pauseOpen = 0;
    pauseClosing = 1;
    std::vector<int> itemFrames;
    for (frames = 0; pauseClosing; frames++) {
        ASSERT_LT(frames, 40);
        StepPauseSlide(DrawPauseMenu);
        panels.back() = Where(TakeLines("sprite")[0]);
        if (!TakeLines("text").empty()) itemFrames.push_back(frames);
        EndFrame();
    }
    EXPECT_EQ(frames, 18);
    EXPECT_EQ(itemFrames, std::vector<int>{0});
    EXPECT_EQ(panels.back(), "tex=7 x=0 y=-510 src=0,0,640,480");
}

TEST_F(FxTest, StateSetOutOfRangeStaysInsideTheTables) {
    u32 keys[4] = {1, 1, 1, 0};
    DrawKeyFlights(keys, 0, 0);
    Skip();
    Set("keyFlightAngle", "99999,-20,2147483647");
    Set("keyFlightRadius", "2147483647,0,0");
    Set("keyFlightFinished", "0,0,0");
    Set("keyFlightFade", "1e30,-1e30,255");
    Set("keyFlightTint", "200,200,200");
    DrawKeyFlights(keys, 0x40000000, -0x40000000);
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_NE(s[0].find("color=FFC60000"), std::string::npos) << s[0];
    u32 bonus = 1;
    Set("bonusPopup.age", "2147483647");
    Set("bonusPopup.active", "1");
    DrawBonusPopup(0, 0, bonus, 7);
    EXPECT_TRUE(TakeSprites().empty());
    EXPECT_EQ(bonus, 0u);
    Set("pauseCursorStep", "200");
    DrawPauseMenu(480, 9, 1);
    EXPECT_EQ(TakeSprites().size(), 1u);
    DrawPauseMenu(480, 0, 1);
    EXPECT_EQ(Where(TakeSprites()[1]), "tex=5 x=90 y=290 src=0,160,40,200");
    // A sequence without its end marker and with frames that do not exist.
    Set("cursorFrameSequence", "9,9,9,9,9");
    Set("pauseCursorTimer", "30");
    DrawPauseMenu(480, 0, 0);
    EXPECT_EQ(Where(TakeSprites()[1]), "tex=5 x=90 y=290 src=0,160,40,200");
    Set("clearSlideX", "2147483647");
    DrawClearMessage(1);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=6 x=-2.14748365e+09 y=180 src=320,0,640,120");
    // A banner width off the 10-pixel grid still completes.
    gameOverBannerWidth = 635;
    gameOverBannerDone = 0;
    DrawGameOverBanner(gameOverBannerDone);
    EXPECT_EQ(gameOverBannerDone, 1u);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=15 x=0 y=80 src=0,0,640,100");
}

// The leaving frame, as after the wipe has covered the screen: the course
// goes back to its checkpoint and saves it; the underground keeps only a
// deeper best, never once cleared, and never writes the progress.
TEST_F(FxTest, GameOverSavesTheCheckpointOrTheDeepestUndergroundStage) {
    playtest::WriteAll("sav_3.vrk", {20, 0, 0, 0});
    const struct {
        u32 underground, cleared, stage, stageAfter;
        u8 progress, best;
    } cases[] = {{1, 0, 12, 12, 0, 20},
                 {1, 0, 33, 33, 0, 33},
                 {1, 1, 40, 40, 0, 33},
                 {0, 0, 29, 25, 25, 33}};
    for (const auto& c : cases) {
        undergroundMode = c.underground;
        undergroundCleared = c.cleared;
        stageNumber = c.stage;
        gameOverBannerDone = 1;
        wipeActive = wipeCovered = 1;
        EXPECT_EQ(RunGameOver(), 2);
        EXPECT_EQ(stageNumber, c.stageAfter);
        EXPECT_EQ(ReadAll("sav_3.vrk"), (std::vector<u8>{c.best, 0, 0, 0})) << c.stage;
        std::vector<u8> progress = ReadAll("sav_1.vrk");
        if (c.underground) {
            EXPECT_TRUE(progress.empty());
            continue;
        }
        ASSERT_EQ(progress.size(), 28u);
        EXPECT_EQ(progress[0], c.progress);
    }
    wipeActive = wipeCovered = 0;
}

// The stage the run ended on, counted from 1, appears with the whole banner.
TEST_F(FxTest, GameOverNamesTheStageOnceTheBannerIsWhole) {
    stageNumber = 13;
    gameOverBannerWidth = 620;
    gameOverBannerDone = gameOverTimer = 0;
    for (u32 width : {630u, 640u}) {
        EXPECT_EQ(RunGameOver(), 1);
        std::vector<std::string> texts = TakeLines("text");
        EndFrame();
        ASSERT_EQ(texts.size(), width == 640 ? 2u : 1u) << width;
        if (width == 640) {
            EXPECT_EQ(texts[0], "font=2 x=180 y=230 color=FFFF0000 \"ステージ14で終了\"");
        }
    }
}

}  // namespace
