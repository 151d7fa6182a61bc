// The pick-up effects, the stage messages and the pause panel as the sprite
// and text traces record them, frame by frame; the game over scene's saves.
#include <string>
#include <vector>

#include "graphics/trig.h"
#include "graphics/sprites.h"
#include "play/menus.h"
#include "play_fixture.h"
#include "playscreen/effects.h"
#include "playscreen/messages.h"
#include "playscreen/panels.h"
#include "scenes/gameover.h"
#include "scenes/title.h"
#include "base/registry.h"
#include "shell/shell.h"

namespace {

class FxTest : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        HeadlessSetTrace(TRACE_WAVE | TRACE_SPRITE | TRACE_TEXT, trace);
        RegisterAllGlobals();
        BuildTrigTables();
    }

    // Sprite or text lines traced since the frame's end, without their prefix.
    std::vector<std::string> TakeLines(const char* kind) {
        fflush(trace);
        std::string text(traceText ? traceText + lineRead : "", traceSize - lineRead);
        std::vector<std::string> lines;
        size_t at = 0;
        std::string prefix = std::string(kind) + " ";
        while ((at = text.find(prefix, at)) != std::string::npos) {
            size_t end = text.find('\n', at);
            lines.push_back(text.substr(at + prefix.size(), end - at - prefix.size()));
            at = end;
        }
        return lines;
    }
    std::vector<std::string> TakeSprites() {
        std::vector<std::string> lines = TakeLines("sprite");
        EndFrame();
        return lines;
    }
    // Drops everything traced so far, sounds included.
    void Skip() {
        fflush(trace);
        lineRead = traceSize;
        TakeSounds();
    }
    void EndFrame() {
        fflush(trace);
        lineRead = traceSize;
    }

    static std::string Where(const std::string& line) {
        return line.substr(0, line.find(" scale"));
    }

    static void Set(const char* name, const char* value) {
        int element = 0;
        const GlobalEntry* entry = FindGlobal(name, &element);
        ASSERT_NE(entry, nullptr) << name;
        ASSERT_EQ(AssignGlobal(entry, element, value), 1) << name;
    }

    static std::string Get(const char* name) {
        int element = 0;
        const GlobalEntry* entry = FindGlobal(name, &element);
        if (!entry) return "?";
        char text[256];
        FormatGlobal(entry, element, text, sizeof text);
        return text;
    }

    size_t lineRead = 0;
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
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_GET});
    std::vector<std::string> all;
    for (int frame = 2; frame <= 101; frame++) {
        DrawKeyFlights(keys, 2, 3);
        std::vector<std::string> one = TakeSprites();
        ASSERT_EQ(one.size(), 1u) << frame;
        all.push_back(one[0]);
    }
    // Frame 6, angle 108, radius 30: x = 180 - 9.27 floors to 170 (truncation: 171).
    EXPECT_EQ(Where(all[4]), "tex=8 x=184 y=262 src=0,0,40,40");
    // Frame 11, angle 198, radius 55: y = 220 - 16.99 floors to 203 (truncation: 204).
    EXPECT_EQ(Where(all[9]), "tex=8 x=136 y=212 src=0,0,40,40");
    // Frame 20: one turn, back at angle 0, radius 100, full size.
    EXPECT_EQ(Where(all[18]), "tex=8 x=280 y=220 src=0,0,40,40");
    EXPECT_TRUE(TakeSounds().empty());
    EXPECT_EQ(Get("keyFlightFinished"), "1,0,0");
    EXPECT_EQ(Get("keyFlightAngle"), "0,0,0");
    // Over after 101 frames: nothing more while the key stays taken.
    DrawKeyFlights(keys, 2, 3);
    EXPECT_TRUE(TakeSprites().empty());
}

TEST_F(FxTest, KeyFlightColoursAndARetryResumingFromTheStoppedAngle) {
    u32 keys[4] = {};
    DrawKeyFlights(keys, 0, 0);
    Set("keyFlightAngle", "0,0,0");
    Skip();
    keys[1] = keys[2] = 1;
    DrawKeyFlights(keys, 0, 0);
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NE(s[0].find("color=FFFCFCFC add=1"), std::string::npos) << s[0];
    EXPECT_NE(s[1].find("color=FFFC9494 add=1"), std::string::npos) << s[1];
    EXPECT_EQ(TakeSounds(), (std::vector<int>{PLAY_WAVE_GET, PLAY_WAVE_GET}));
    for (int i = 0; i < 6; i++) DrawKeyFlights(keys, 0, 0);
    EXPECT_EQ(Get("keyFlightAngle"), "0,126,126");
    // A retry stops both at once; the next flight goes on from 126 degrees.
    keys[1] = keys[2] = 0;
    Skip();
    DrawKeyFlights(keys, 0, 0);
    EXPECT_TRUE(TakeSprites().empty());
    keys[1] = 1;
    DrawKeyFlights(keys, 0, 0);
    EXPECT_EQ(Get("keyFlightAngle"), "0,144,126");
    EXPECT_EQ(Get("keyFlightRadius"), "0,5,0");
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_GET});
}

TEST_F(FxTest, LabelsRiseFadeAndClearTheirFlagAfterOneHundredAndOneFrames) {
    u32 bonus = 0, penalty = 0;
    DrawBonusPopup(0, 0, bonus, 1);
    DrawPenaltyPopup(0, 0, penalty, 2);
    EXPECT_TRUE(TakeSprites().empty());
    bonus = penalty = 1;
    std::vector<std::string> labels;
    for (int frame = 1; bonus; frame++) {
        ASSERT_LE(frame, 101);
        // The player walks on; the labels stay over the cell they began on.
        DrawBonusPopup(frame < 10 ? 0 : 5, 0, bonus, 1);
        DrawPenaltyPopup(frame < 10 ? 3 : 7, 4, penalty, 2);
        std::vector<std::string> s = TakeSprites();
        ASSERT_EQ(s.size(), 2u);
        labels.insert(labels.end(), s.begin(), s.end());
    }
    ASSERT_EQ(labels.size(), 202u);
    EXPECT_EQ(penalty, 0u);
    // Row 0: the label starts at y = 40, above the board.
    EXPECT_EQ(labels[0],
              "tex=8 x=60 y=40 src=40,0,120,40 scale=1,1 centre=0,0 rot=0 color=FFFFFFFF add=0");
    EXPECT_EQ(labels[1],
              "tex=8 x=180 y=200 src=120,120,200,160 scale=1,1 centre=0,0 rot=0 color=FFFFFFFF "
              "add=0");
    EXPECT_NE(labels[2].find("x=60 y=40 src=40,0,120,40 scale=1,1 centre=0,0 rot=0 color=FC"),
              std::string::npos);
    EXPECT_EQ(Where(labels[4]), "tex=8 x=60 y=39 src=40,0,120,40");
    EXPECT_EQ(labels[200],
              "tex=8 x=60 y=-10 src=40,0,120,40 scale=1,1 centre=0,0 rot=0 color=05FFFFFF add=0");
    // A later pick-up starts afresh at the new cell.
    bonus = 1;
    DrawBonusPopup(5, 2, bonus, 0);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=8 x=260 y=120 src=120,0,200,40");
}

TEST_F(FxTest, StartMessageSpinsInOverFifteenFramesHoldsUprightAndSpinsOn) {
    std::vector<std::string> s;
    for (int frame = 0; frame <= 90; frame++) {
        DrawStartMessage(frame);
        std::vector<std::string> one = TakeSprites();
        ASSERT_EQ(one.size(), 1u);
        s.push_back(one[0]);
    }
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_START});
    EXPECT_EQ(Where(s[0]), "tex=6 x=80 y=150 src=0,0,320,120");
    EXPECT_NE(s[0].find("rot=0.418878913 "), std::string::npos) << s[0];
    // Full size and one whole turn at frame 14; that picture holds to frame 74.
    EXPECT_EQ(s[14],
              "tex=6 x=80 y=150 src=0,0,320,120 scale=1,1 centre=160,60 rot=6.28318405 "
              "color=FFFFFFFF add=0");
    for (int frame = 15; frame <= 74; frame++) EXPECT_EQ(s[frame], s[14]) << frame;
    EXPECT_NE(s[75], s[14]);
    EXPECT_NE(s[90].find("scale=3.13"), std::string::npos) << s[90];
    // Only the first frame resets.
    DrawStartMessage(75);
    EXPECT_NE(TakeSprites()[0].find("scale=3.26"), std::string::npos);
    EXPECT_TRUE(TakeSounds().empty());
}

TEST_F(FxTest, MissMessageZoomsInHoldsThenGrowsAndFades) {
    std::vector<std::string> s;
    for (int frame = 0; frame <= 120; frame++) {
        DrawMissMessage(frame);
        s.push_back(TakeSprites()[0]);
    }
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_MISS});
    EXPECT_NE(s[18].find("scale=0.95"), std::string::npos) << s[18];
    // The centre is set before the scale and so stays at (160, 60).
    EXPECT_EQ(s[19],
              "tex=6 x=80 y=180 src=0,120,320,240 scale=1,1 centre=160,60 rot=0 color=FFFFFFFF "
              "add=0");
    EXPECT_EQ(s[80], s[19]);
    EXPECT_NE(s[81].find("scale=1.04999995,1.04999995 centre=160,60 rot=0 color=FAFFFFFF"),
              std::string::npos)
        << s[81];
    EXPECT_EQ(Where(s[81]), "tex=6 x=72 y=177 src=0,120,320,240");
    // Three times the size, short by the single-precision steps, at alpha 55.
    EXPECT_NE(s[120].find("color=37FFFFFF"), std::string::npos) << s[120];
    EXPECT_NE(s[120].find("scale=2.99999809,2.99999809 "), std::string::npos) << s[120];
}

TEST_F(FxTest, TimeUpShrinksToSizeAndTheShutterComesDown) {
    std::vector<std::vector<std::string>> frames;
    for (int frame = 0; frame < 450; frame++) {
        DrawTimeUpMessage(frame);
        frames.push_back(TakeSprites());
    }
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_OHMYGOD});
    EXPECT_NE(frames[0][0].find("scale=3.98000002,3.98000002 centre=636.799988,477.600006 rot=0 "
                                "color=02FFFFFF"),
              std::string::npos)
        << frames[0][0];
    // Single-precision steps leave it just above 1 at frame 149.
    EXPECT_EQ(frames[149][0].find("scale=1,1"), std::string::npos) << frames[149][0];
    EXPECT_EQ(frames[150][0],
              "tex=6 x=80 y=120 src=0,240,320,480 scale=1,1 centre=160,120 rot=0 "
              "color=FFFFFFFF add=0");
    EXPECT_EQ(frames[250].size(), 1u);
    ASSERT_EQ(frames[251].size(), 2u);
    EXPECT_EQ(frames[251][1],
              "tex=12 x=0 y=-470 src=0,0,640,480 scale=1,1 centre=0,0 rot=0 color=FFFFFFFF add=0");
    EXPECT_EQ(Where(frames[297][1]), "tex=12 x=0 y=-10 src=0,0,640,480");
    for (int frame = 298; frame < 450; frame++) {
        EXPECT_EQ(Where(frames[frame][1]), "tex=12 x=0 y=0 src=0,0,640,480") << frame;
    }
}

TEST_F(FxTest, ClearMessageSlidesInRestsTiltedAndSlidesOut) {
    std::vector<std::string> s;
    for (int frame = 0; frame <= 120; frame++) {
        DrawClearMessage(frame);
        s.push_back(TakeSprites()[0]);
    }
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_CHECKITOUT});
    EXPECT_EQ(Where(s[0]), "tex=6 x=-304 y=180 src=320,0,640,120");
    // 375 degrees in all.
    EXPECT_EQ(s[24],
              "tex=6 x=80 y=180 src=320,0,640,120 scale=1,1 centre=160,60 rot=6.54498339 "
              "color=FFFFFFFF add=0");
    EXPECT_EQ(s[90], s[24]);
    EXPECT_EQ(Where(s[120]), "tex=6 x=560 y=180 src=320,0,640,120");
}

TEST_F(FxTest, AllClearFadesInThenTheSweepCoversTheScreen) {
    std::vector<std::vector<std::string>> frames(552);
    for (int frame = 131; frame <= 551; frame++) {
        DrawAllClearMessage(frame);
        frames[frame] = TakeSprites();
    }
    EXPECT_EQ(TakeSounds(), std::vector<int>{PLAY_WAVE_ALLCLEAR});
    EXPECT_EQ(frames[131][0],
              "tex=6 x=80 y=120 src=320,240,640,480 scale=1,1 centre=0,0 rot=0 color=02FFFFFF "
              "add=0");
    EXPECT_NE(frames[232][0].find("color=FFFFFFFF"), std::string::npos);
    EXPECT_EQ(frames[382].size(), 1u);
    ASSERT_EQ(frames[383].size(), 2u);
    EXPECT_EQ(frames[383][1],
              "tex=29 x=0 y=0 src=0,0,640,480 scale=1,1 centre=0,0 rot=0 color=02FFFFFF add=0");
    EXPECT_NE(frames[551][1].find("color=FFFFFFFF"), std::string::npos);
    // Entered at any other frame it carries on from the previous alphas.
    DrawAllClearMessage(400);
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NE(s[1].find("color=FFFFFFFF"), std::string::npos);
    EXPECT_TRUE(TakeSounds().empty());
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
    EXPECT_EQ(panels[0], "tex=7 x=0 y=-480 src=0,0,640,480");
    EXPECT_EQ(panels[16], "tex=7 x=0 y=0 src=0,0,640,480");
    EXPECT_EQ(cursors, 1);
    EXPECT_EQ(textFrames, 1);
    // The last opening frame shows all four items, the chosen one in red.
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "font=1 x=130 y=300 color=FF000000 \"リトライ\"");
    EXPECT_EQ(texts[1], "font=1 x=330 y=300 color=FF000000 \"ゲームに戻る\"");
    EXPECT_EQ(texts[2], "font=1 x=190 y=370 color=FF000000 \"タイトルに戻る\"");
    EXPECT_EQ(texts[3], "font=1 x=190 y=230 color=FFFF0000 \"ステージ選択\"");

    // Standing open outside free mode: three items, the cursor beside the chosen one.
    freeMode = 0;
    pauseCursor = PAUSE_BACK_TO_GAME;
    StepPauseSlide(DrawPauseMenu);
    std::vector<std::string> s = TakeLines("sprite");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(Where(s[1]), "tex=5 x=290 y=290 src=0,160,40,200");
    texts = TakeLines("text");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "font=1 x=330 y=300 color=FFFF0000 \"ゲームに戻る\"");
    EndFrame();

    pauseOpen = 0;
    pauseClosing = 1;
    std::vector<int> itemFrames;
    panels.clear();
    for (frames = 0; pauseClosing; frames++) {
        ASSERT_LT(frames, 40);
        StepPauseSlide(DrawPauseMenu);
        panels.push_back(Where(TakeLines("sprite")[0]));
        if (!TakeLines("text").empty()) itemFrames.push_back(frames);
        EndFrame();
    }
    EXPECT_EQ(frames, 18);
    EXPECT_EQ(itemFrames, std::vector<int>{0});
    EXPECT_EQ(panels[17], "tex=7 x=0 y=-510 src=0,0,640,480");
}

TEST_F(FxTest, PauseCursorCyclesEveryThirtyOneFramesWhileThePanelSlides) {
    Set("pauseCursorStep", "0");
    Set("pauseCursorTimer", "0");
    std::string cells;
    for (int frame = 0; frame < 31 * 5; frame++) {
        // Sliding calls advance the animation as well as the open panel's.
        DrawPauseMenu(frame % 2 ? 480 : 240, 0, 0);
        std::vector<std::string> s = TakeSprites();
        if (s.size() < 2) continue;
        cells += s[1].substr(s[1].find("src=") + 4, 2)[0];
    }
    // Odd frames only: 0, 1, 2, 1, 0 by the sheet's x = 0, 40, 80.
    std::string expected;
    const char seq[5] = {'0', '4', '8', '4', '0'};
    for (int frame = 0; frame < 31 * 5; frame++) {
        if (frame % 2) expected += seq[(frame + 1) / 31 > 4 ? 4 : (frame + 1) / 31];
    }
    EXPECT_EQ(cells, expected);
}

TEST_F(FxTest, FreeSelectPanelShowsTheSourceLabel) {
    for (u8 source = 0; source < 4; source++) {
        DrawFreeSelectPanel(source);
        std::vector<std::string> s = TakeSprites();
        ASSERT_EQ(s.size(), source < 3 ? 4u : 3u);
        EXPECT_EQ(Where(s[0]), "tex=11 x=80 y=20 src=0,0,320,40");
        if (source < 3) {
            EXPECT_EQ(Where(s[3]), "tex=11 x=180 y=220 src=200," +
                                       std::to_string(40 + 40 * source) + ",320," +
                                       std::to_string(80 + 40 * source));
        }
    }
}

TEST_F(FxTest, StateSetOutOfRangeStaysInsideTheTables) {
    u32 keys[4] = {1, 1, 1, 0};
    DrawKeyFlights(keys, 0, 0);
    Skip();
    Set("keyFlightAngle", "99999,-20,2147483647");
    Set("keyFlightRadius", "2147483647,0,0");
    Set("keyFlightFinished", "0,0,0");
    Set("keyFlightFade", "1e30,-1e30,255");
    DrawKeyFlights(keys, 0x40000000, -0x40000000);
    EXPECT_EQ(Get("keyFlightAngle"), "0,0,0");
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_NE(s[0].find("color=FF930000"), std::string::npos) << s[0];
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
    for (int i = 0; i < 200; i++) {
        DrawPauseMenu(480, 0, 0);
        EXPECT_EQ(Where(TakeSprites()[1]), "tex=5 x=90 y=290 src=0,160,40,200");
    }
    Set("cursorFrameSequence", "0,1,2,1,3");
    DrawFreeSelectPanel(200);
    EXPECT_EQ(TakeSprites().size(), 3u);
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

// The scene's leaving frame, as after the wipe has covered the screen.
u8 LeaveGameOver(void) {
    gameOverBannerDone = 1;
    wipeActive = wipeCovered = 1;
    return RunGameOver();
}

std::vector<u8> ReadFile(const char* path) {
    std::vector<u8> bytes;
    FILE* f = fopen(path, "rb");
    if (!f) return bytes;
    for (int c; (c = fgetc(f)) != EOF;) bytes.push_back((u8)c);
    fclose(f);
    return bytes;
}

TEST_F(FxTest, GameOverBannerGrowsTenPixelsAFrameAndTheStageTextFollowsIt) {
    gameOverBannerWidth = gameOverBannerDone = gameOverTimer = 0;
    stageNumber = 13;
    for (int frame = 1; frame <= 64; frame++) {
        ASSERT_EQ(RunGameOver(), 1);
        std::vector<std::string> s = TakeLines("sprite");
        std::vector<std::string> texts = TakeLines("text");
        EndFrame();
        ASSERT_EQ(s.size(), 2u);
        EXPECT_EQ(Where(s[0]), "tex=14 x=0 y=0 src=0,0,640,480");
        EXPECT_EQ(Where(s[1]), "tex=15 x=0 y=80 src=0,0," + std::to_string(10 * frame) + ",100");
        ASSERT_EQ(texts.size(), frame < 64 ? 1u : 2u) << frame;
        EXPECT_EQ(texts.back().substr(0, 32), "font=0 x=0 y=0 color=FF00FFFF \"F");
        if (frame == 64) {
            EXPECT_EQ(texts[0], "font=2 x=180 y=230 color=FFFF0000 \"ステージ14で終了\"");
        }
    }
    EXPECT_EQ(gameOverBannerDone, 1u);
    EXPECT_EQ(gameOverTimer, 0u);
}

TEST_F(FxTest, GameOverUndergroundKeepsADeeperBestAndNeverWritesTheProgress) {
    FILE* f = fopen("sav_3.vrk", "wb");
    ASSERT_NE(f, nullptr);
    fwrite("\x14\0\0\0", 1, 4, f);
    fclose(f);
    undergroundMode = 1;
    stageNumber = 12;
    EXPECT_EQ(LeaveGameOver(), 2);
    EXPECT_EQ(ReadFile("sav_3.vrk"), (std::vector<u8>{20, 0, 0, 0}));
    EXPECT_EQ(stageNumber, 12u);
    EXPECT_EQ(undergroundBest, 20u);
    EXPECT_TRUE(ReadFile("sav_1.vrk").empty());
    EXPECT_EQ(gameOverBannerDone, 0u);
    EXPECT_EQ(gameOverTimer, 0u);
    // Deeper than the record: stored; after the underground is cleared, never.
    stageNumber = 33;
    LeaveGameOver();
    EXPECT_EQ(ReadFile("sav_3.vrk"), (std::vector<u8>{33, 0, 0, 0}));
    undergroundCleared = 1;
    stageNumber = 40;
    LeaveGameOver();
    EXPECT_EQ(ReadFile("sav_3.vrk"), (std::vector<u8>{33, 0, 0, 0}));
    EXPECT_TRUE(ReadFile("sav_1.vrk").empty());
}

TEST_F(FxTest, GameOverCourseSavesTheCheckpointAndASecondVisitRevealsAgain) {
    const u32 stages[3][2] = {{13, 10}, {4, 0}, {29, 25}};
    for (const auto& stage : stages) {
        stageNumber = stage[0];
        EXPECT_EQ(LeaveGameOver(), 2);
        EXPECT_EQ(stageNumber, stage[1]);
        std::vector<u8> bytes = ReadFile("sav_1.vrk");
        ASSERT_EQ(bytes.size(), 28u);
        EXPECT_EQ(bytes[0], stage[1]);
    }
    wipeActive = wipeCovered = 0;
    ExitGameOver();
    EXPECT_EQ(sceneId, SCENE_TITLE);
    EXPECT_EQ(wipeX, -640);
    // The banner was left whole: the next visit starts from 10 pixels.
    gameOverBannerWidth = 640;
    Skip();
    DrawGameOverBanner(gameOverBannerDone);
    EXPECT_EQ(Where(TakeSprites()[0]), "tex=15 x=0 y=80 src=0,0,10,100");
    EXPECT_EQ(gameOverBannerDone, 0u);
}

}  // namespace
