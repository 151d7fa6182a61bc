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
void RegisterWipeGlobals(void);
