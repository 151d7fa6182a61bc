// The heads-up display in the right-hand column: the stage clock as a bar and
// a number, the stage number, the face and the slots of the first three keys.
#pragma once
#include "base/common.h"

// Style of DrawNumber: the clock turns to pulsing warning digits below 10.
enum : u8 { NUMBER_STYLE_CLOCK = 0, NUMBER_STYLE_PLAIN = 1 };

// Right-aligned on rightX, always at least two digits.
void DrawNumber(i32 rightX, i32 topY, u32 value, u8 style);
void DrawTimeGauge(u32 seconds);
void DrawFace(u32 seconds, u32 missed, u32 timeUp, u32 cleared);
// Reads keys[0..2]: the goal key has no slot.
void DrawKeySlots(const u32* keys);
// The whole column in its drawing order, from the play state.
void DrawHud(void);

void RegisterHudGlobals(void);
