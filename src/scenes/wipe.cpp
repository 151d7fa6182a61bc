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

void RegisterWipeGlobals(void) {
    REG_I32(wipeX);
    REG_U32(wipeActive);
    REG_U32(wipeCovered);
    REG_U8(wipeResult);
}
