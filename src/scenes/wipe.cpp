#include "scenes/wipe.h"

#include "base/registry.h"
#include "graphics/sprites.h"

i32 wipeX = -640;
u32 wipeActive;
u32 wipeCovered;
u8 wipeResult;

u8 StepWipe(void) {
    if (wipeX >= 640) wipeX = -640;
    if (wipeX < 640) wipeX += 20;
    DrawSprite(TEXTURE_SWEEP, (f32)wipeX, 0.0f, RECT{0, 0, 640, 480});
    if (wipeX >= 640) return WIPE_GONE;
    return wipeX < 0 ? WIPE_COVERING : WIPE_COVERED;
}

void StepSceneWipe(u32* banner) {
    if (!wipeActive) return;
    wipeResult = StepWipe();
    if (wipeResult == WIPE_COVERED) {
        wipeCovered = 1;
        if (banner) *banner = 0;
    }
    if (wipeResult == WIPE_GONE) {
        wipeActive = wipeCovered = 0;
        if (banner) *banner = 1;
    }
}

void RegisterWipeGlobals(void) {
    REG_I32(wipeX);
    REG_U32(wipeActive);
    REG_U32(wipeCovered);
    REG_U8(wipeResult);
}
