// Which scene runs and the phase each scene is in: every scene reads and
// writes these, the shell's dispatcher steps them.
#pragma once
#include "base/common.h"

enum : u8 {
    SCENE_PHASE_INIT = 0,
    SCENE_PHASE_RUN = 1,
    SCENE_PHASE_EXIT = 2,
};
const int SCENE_COUNT = 6;

extern u8 sceneId;
extern u8 scenePhase[SCENE_COUNT];
