// The screen wipe that joins the scenes: sweep.bmp slides in from the left,
// covers the screen, and slides on off the right edge.
#pragma once
#include "base/common.h"

enum : u8 {
    WIPE_COVERING = 0,
    WIPE_COVERED = 1,
    WIPE_GONE = 2,
};

extern i32 wipeX;
extern u32 wipeActive;
extern u32 wipeCovered;
extern u8 wipeResult;

u8 StepWipe(void);
// A scene's share of the wipe, once a frame after its own drawing: steps the
// wipe while it runs, raises wipeCovered when the screen is covered and
// clears both flags when the picture has gone. A scene with a picture that
// must hide under the wipe passes its flag as banner (0 when covered, 1 when
// gone); the others pass null.
void StepSceneWipe(u32* banner);
void RegisterWipeGlobals(void);
