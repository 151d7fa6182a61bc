// The play scene's sound set-up when files are missing (every file is still
// tried in slot order, the tune after the effects, and only what loaded is
// turned down or started), and how a play frame is composed.
#include "play/playscene.h"

#include <sys/stat.h>

#include <sstream>
#include <string>

#include "play_fixture.h"
#include "playscreen/playfield.h"
#include "shell/shell.h"
#include "sound/music.h"

namespace {

// A short silent 16-bit mono PCM WAV file.
std::vector<u8> SilentWave() {
    std::vector<u8> bytes = {'R', 'I', 'F',  'F',  36 + 64, 0,   0,    0,    'W', 'A', 'V',
                             'E', 'f', 'm',  't',  ' ',     16,  0,    0,    0,   1,   0,
                             1,   0,   0x22, 0x56, 0,       0,   0x44, 0xAC, 0,   0,   2,
                             0,   16,  0,    'd',  'a',     't', 'a',  64,   0,   0,   0};
    bytes.resize(bytes.size() + 64, 0);
    return bytes;
}

class PlaySceneTest : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        for (PlatformObject& slot : waveBuffers) ReleaseWave(&slot);
        HeadlessSetTrace(TRACE_WAVE | TRACE_MUSIC | TRACE_MSGBOX, trace);
        traceStart = TraceSoFar().size();
    }

    // Trace lines since the set-up but the message boxes, without the frame prefix.
    std::string Lines() {
        std::istringstream in(TraceSoFar().substr(traceStart));
        std::string lines;
        for (std::string line; std::getline(in, line);) {
            if (line.find(" msgbox ") == std::string::npos)
                lines += line.substr(line.find(' ') + 1) + "\n";
        }
        return lines;
    }

    size_t traceStart = 0;
};

TEST_F(PlaySceneTest, MissingFilesAreAllTriedAndOnlyLoadedEffectsTurnedDown) {
    ASSERT_EQ(mkdir("wave", 0755), 0);
    playtest::WriteAll("wave/walk.wav", SilentWave());
    playtest::WriteAll("wave/allclear.wav", SilentWave());

    EXPECT_EQ(InitPlay(), SCENE_PHASE_RUN);

    std::string expected;
    for (int slot = 0; slot < PLAY_WAVE_COUNT; slot++) {
        bool there = slot == PLAY_WAVE_WALK || slot == PLAY_WAVE_ALLCLEAR;
        expected += "wave load slot=" + std::to_string(slot) + " path=" + PLAY_WAVES[slot] +
                    " ok=" + (there ? "1" : "0") + "\n";
    }
    expected += "music load slot=0 path=midi\\beat.mid ok=0\n";
    expected += "wave volume slot=0 -800\nwave volume slot=12 -800\n";
    EXPECT_EQ(Lines(), expected);  // the tune that failed is not started
    EXPECT_EQ(NewMessages(), 12);
    EXPECT_EQ(waveCount, PLAY_WAVE_COUNT);
    EXPECT_EQ(musicCount, 1);

    // Leaving releases what was loaded; the next scene follows as usual.
    sceneId = SCENE_PLAY;
    quitToTitle = 1;
    EXPECT_EQ(ExitPlay(), SCENE_PHASE_INIT);
    EXPECT_EQ(sceneId, SCENE_TITLE);
    EXPECT_EQ(waveCount, 0);
    EXPECT_EQ(musicCount, 0);
    EXPECT_EQ(waveBuffers[PLAY_WAVE_WALK], 0u);
    EXPECT_EQ(waveBuffers[PLAY_WAVE_ALLCLEAR], 0u);
}

class PlayFrameTest : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        HeadlessSetTrace(TRACE_SPRITE, trace);
    }

    static std::string At(int tex, int x, int y, const RECT& r) {
        char text[96];
        snprintf(text, sizeof text, "tex=%d x=%d y=%d src=%d,%d,%d,%d", tex, x, y, (int)r.left,
                 (int)r.top, (int)r.right, (int)r.bottom);
        return text;
    }
};

TEST_F(PlayFrameTest, AStageIsComposedBackgroundHudBoardTrailPlayer) {
    playtest::BoardFrom("w..#....|..1.....|........|..k.....|....@...|........|...s....|.......b",
                        board);
    for (int i = 0; i < 64; i++) trail[i] = (u8)(i % 7);
    stageLoaded = 1;
    playerX = 2;
    playerY = 3;
    timeLeft = 31;
    stageNumber = 4;

    DrawPlayScreen();
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 11u + 64u + 64u + 1u);
    std::vector<std::string> hud = {
        At(3, 0, 0, {0, 0, 640, 480}),       At(8, 510, 10, {0, 360, 100, 400}),
        At(8, 495, 55, {0, 320, 65, 340}),   At(8, 557, 55, {62, 340, 123, 360}),
        At(13, 560, 45, {20, 0, 40, 40}),    At(13, 540, 45, {60, 0, 80, 40}),
        At(8, 500, 90, {0, 400, 120, 440}),  At(13, 560, 120, {100, 0, 120, 40}),
        At(13, 540, 120, {0, 0, 20, 40}),    At(9, 497, 165, {0, 0, 120, 120}),
        At(8, 495, 320, {0, 200, 120, 320}),
    };
    for (size_t i = 0; i < hud.size(); i++) EXPECT_EQ(Where(s[i]), hud[i]) << i;
    for (int i = 0; i < 64; i++) {
        int x = i % 8, y = i / 8;
        EXPECT_EQ(Where(s[11 + i]), At(4, 80 + 40 * x, 80 + 40 * y, cellRects[board[i]])) << i;
        int p = trail[i];
        RECT piece = {40 * (p % 4), 40 * (p / 4), 40 * (p % 4) + 40, 40 * (p / 4) + 40};
        EXPECT_EQ(Where(s[75 + i]), At(10, 80 + 40 * x, 80 + 40 * y, piece)) << i;
    }
    EXPECT_EQ(Where(s[139]), At(5, 160, 200, {0, 0, 40, 40}));
}

TEST_F(PlayFrameTest, WithoutAStageOnlyBackgroundHudAndEffectsWhichRestWhilePausing) {
    wallMask[9] = 1;
    switchEffect = 1;
    timeLeft = 60;

    DrawPlayScreen();
    std::vector<std::string> s = TakeSprites();
    ASSERT_EQ(s.size(), 12u);
    EXPECT_EQ(Where(s[11]), At(4, 120, 120, {80, 40, 120, 80}));
    EXPECT_NE(s[11].find("color=F5FFFFFF"), std::string::npos);

    // While the pause panel slides in the fade stands still, undrawn.
    pauseOpening = 1;
    DrawPlayScreen();
    EXPECT_EQ(TakeSprites().size(), 11u);
    pauseOpening = 0;
    pauseOpen = 1;
    DrawPlayScreen();
    s = TakeSprites();
    ASSERT_EQ(s.size(), 12u);
    EXPECT_NE(s[11].find("color=EBFFFFFF"), std::string::npos);
    switchEffect = 0;
    DrawSwitchEffect(switchEffect, wallMask);  // at rest for whatever runs next
}

}  // namespace
