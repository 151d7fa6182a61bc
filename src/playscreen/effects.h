// Pick-up effects: the orbs that spiral out of the player's cell for the first
// three keys, and the labels that rise over a time bonus or penalty.
#pragma once
#include "base/common.h"

// Reads keys[0..2]; a flight starts in the frame its key is taken.
void DrawKeyFlights(const u32* keys, i32 playerX, i32 playerY);
// The flag is cleared when the label has been shown its 101 frames.
void DrawBonusPopup(i32 playerX, i32 playerY, u32& bonusEffect, u8 timeClass);
void DrawPenaltyPopup(i32 playerX, i32 playerY, u32& penaltyEffect, u8 timeClass);

void RegisterEffectsGlobals(void);
