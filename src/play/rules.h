// The rules of the puzzle: stepping, the trail, what the player's cell does,
// the stage clock, and the clear and miss tests. The play scene calls RunStep,
// TickClock and RunCellRules once a frame, in that order.
#pragma once
#include "base/common.h"

const i32 STEP_REPEAT_FRAMES = 17;
const u32 CLOCK_TICK_MS = 1000;

// A walkable floor cell becomes walked floor; any other code stays.
void MarkWalked(i32 x, i32 y, u8* boardCells);
// Lays the piece for leaving (x, y) in `direction` after entering it by
// *entry, then records `direction` as the entry of the next cell.
void LayTrail(u8* trailCells, u8* entry, i32 x, i32 y, u8 direction);
// The effect of the player's cell; returns the tile event.
u8 ApplyTile(i32* playerXY, u8* boardCells, u32* seconds, u32* keys, u8 stageTimeClass,
             u32 arrivedByWarp);
// Bonus and penalty cells trade places once the class's period has passed.
void SwapTimeTiles(u8* boardCells, u32* seconds, u8 stageTimeClass);
u32 KeysInOrder(const u32* keys);
u32 CanMoveOn(i32 x, i32 y, const u8* boardCells);
u32 IsStageCleared(i32 x, i32 y, u32 key4Taken, u8* boardCells);

// 1 for codes that can never be entered: walked floor, wall, gate.
u32 IsBlocked(u8 code);

// The step countdown, then one step by the held direction when play allows it.
void RunStep(void);
// One second off the stage clock when a second has passed since the last tick.
void TickClock(void);
// The player's cell and the end-of-stage tests, once per frame of play.
void RunCellRules(void);
