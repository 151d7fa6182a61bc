// The player sprite on its board cell: standing or walking in four facings,
// fallen, cheering at a clear, and the column of light that takes it away.
#pragma once
#include "base/common.h"

// The clear sequence's frames that start a clear beam (ordinary clear, all clear).
const i32 CLEAR_BEAM_START = 11;
const i32 ALL_CLEAR_BEAM_START = 276;

// facing 0..3 (up, down, left, right), walkFrame 0..2.
void DrawPlayer(i32 x, i32 y, u8 facing, u8 walkFrame);
void DrawPlayerDown(i32 x, i32 y);
// Runs on from where the previous clear left the pose cycle.
void DrawPlayerCheer(i32 x, i32 y);
// frame = the clear sequence's counter; 11 and 276 start the beam and its sound.
void DrawClearBeam(i32 x, i32 y, i32 frame);

void RegisterPlayerGlobals(void);
