// The play scene's sound set-up when files are missing: every file is still
// tried in slot order, the tune after the effects, and only what loaded is
// turned down or started.
#include "play/playscene.h"

#include <sys/stat.h>

#include <string>

#include "play_fixture.h"
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

    // Trace lines since the set-up, without the frame prefix.
    std::string Lines() {
        std::string text = TraceSoFar().substr(traceStart);
        std::string lines;
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            size_t space = line.find(' ');
            if (line.rfind("f=", 0) == 0 && space != std::string::npos)
                line = line.substr(space + 1);
            if (line.rfind("msgbox", 0) != 0) lines += line + "\n";
            at = end + 1;
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

}  // namespace
