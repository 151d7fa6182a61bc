// The play scene's sound set-up when files are missing, and how a play frame
// is composed.
#include "play/playscene.h"

#include <sys/stat.h>

#include <sstream>
#include <string>

#include "play_fixture.h"
#include "playscreen/hud.h"
#include "playscreen/playfield.h"
#include "shell/shell.h"
#include "sound/music.h"

namespace {

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
    ASSERT_EQ(symlink(OSSMIRE_GAME_DIR "/wave/walk.wav", "wave/walk.wav"), 0);
    ASSERT_EQ(symlink(OSSMIRE_GAME_DIR "/wave/allclear.wav", "wave/allclear.wav"), 0);

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

    // Leaving releases only what was loaded.
    quitToTitle = 1;
    ExitPlay();
    EXPECT_EQ(waveCount, 0);
    EXPECT_EQ(musicCount, 0);
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
    EXPECT_EQ(Where(s[0]), At(3, 0, 0, {0, 0, 640, 480}));
    DrawHud();
    EXPECT_EQ(std::vector<std::string>(s.begin() + 1, s.begin() + 11), TakeSprites());
    for (int i = 0; i < 64; i++) {
        int x = i % 8, y = i / 8;
        EXPECT_EQ(Where(s[11 + i]), At(4, 80 + 40 * x, 80 + 40 * y, cellRects[board[i]])) << i;
        int p = trail[i];
        RECT piece = {40 * (p % 4), 40 * (p / 4), 40 * (p % 4) + 40, 40 * (p / 4) + 40};
        EXPECT_EQ(Where(s[75 + i]), At(10, 80 + 40 * x, 80 + 40 * y, piece)) << i;
    }
    EXPECT_EQ(Where(s[139]), At(5, 160, 200, {0, 0, 40, 40}));
}

}  // namespace
