// TEMPORARY SCENES. Each scene not yet built runs here: its init does nothing,
// its run draws the scene's background and the FPS read-out and never leaves.
// Delete a scene's three functions from this file when the real scene lands.
#include "graphics/sprites.h"
#include "scenes/gameover.h"
#include "scenes/wipe.h"
#include "shell/shell.h"

namespace {
u8 RunPlaceholder(int backgroundTexture, int fpsX, int fpsY) {
    DrawSprite(backgroundTexture, 0.0f, 0.0f, RECT{0, 0, 640, 480});
    DrawFps(fpsX, fpsY);
    if (wipeActive) {
        wipeResult = StepWipe();
        if (wipeResult == WIPE_COVERED) wipeCovered = 1;
        if (wipeResult == WIPE_GONE) wipeActive = wipeCovered = 0;
    }
    return 1;
}
}  // namespace

u8 InitGameOver(void) { return 1; }
u8 RunGameOver(void) { return RunPlaceholder(14, 0, 0); }
u8 ExitGameOver(void) { return 0; }
