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
            cleared = 1;
            for (int f = 0; f < 3; f++) DrawPlayScreen();
            cleared = 0;
        }
    }
    // The screen was still composed, not abandoned half way.
    EXPECT_NE(TraceSoFar().find("sprite tex=3 x=0 y=0 "), std::string::npos);
}

}  // namespace
