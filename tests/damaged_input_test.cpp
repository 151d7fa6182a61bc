// Regressions found by the fuzz targets: values a damaged file can put in
// the play state are drawn without overflowing (the sanitizer build turns any
// overflow into a failure).
#include <climits>
#include <string>

#include "play_fixture.h"
#include "playscreen/playfield.h"

namespace {

class DamagedStart : public playtest::PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        HeadlessSetTrace(TRACE_SPRITE, trace);
    }
};

// A start cell far off the board, from a garbage data.vrk or map file: every
// drawer that places something at the player wraps its position in 32 bits.
TEST_F(DamagedStart, FarOffStartCellsDrawEveryPlayerEffect) {
    const i32 starts[] = {INT_MAX, INT_MIN, -1211424419, 53687092, -3};
    stageLoaded = 1;
    for (i32 x : starts) {
        for (i32 y : starts) {
            playerX = x;
            playerY = y;
            introDone = 1;
            clockRunning = 1;
            for (u32& k : keysTaken) k = 1;
            bonusEffect = penaltyEffect = switchEffect = 1;
            warpArrived = warpAnimating = 1;
            for (int f = 0; f < 3; f++) DrawPlayScreen();
            warpArrived = warpAnimating = 0;
            DrawPlayScreen();  // standing
            missed = 1;
            DrawPlayScreen();  // fallen
            missed = 0;
            cleared = 1;
            for (int f = 0; f < 3; f++) DrawPlayScreen();  // cheering under the clear beam
            cleared = 0;
        }
    }
    // The player's sprite lands where 32-bit arithmetic puts it: 80 + 40 * INT_MAX
    // wraps to 40.
    playerX = INT_MAX;
    playerY = 1;
    std::string before = TraceSoFar();
    DrawPlayScreen();
    std::string frame = TraceSoFar().substr(before.size());
    EXPECT_NE(frame.find("sprite tex=5 x=40 y=120 "), std::string::npos) << frame;
}

}  // namespace
