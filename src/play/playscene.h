// The play scene: stages of every mode played through their start, miss,
// time-up and clear sequences, the pause menu and the free-mode selection.
#pragma once
#include "base/common.h"

u8 InitPlay(void);
// 1 to stay, 2 to leave.
u8 RunPlay(void);
// Picks the next scene from how the stage ended.
u8 ExitPlay(void);
