// The pause menu panel and the free-mode selection panel.
#pragma once
#include "base/common.h"

// slide = the panel's position 0..480 (480 stands open); cursor = `pauseCursor`.
void DrawPauseMenu(i32 slide, u8 cursor, u32 freeMode);
// source = `freeSource` 0..2.
void DrawFreeSelectPanel(u8 source);

void RegisterPanelsGlobals(void);
