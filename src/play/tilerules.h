// The puzzle's rules as functions of a board alone: what a step may enter,
// what a cell does to the one standing on it, the swap of the time cells and
// the clear test. They read no global and make no sound, so the play scene
// and the stage solver judge a board by the same code.
#pragma once
#include "play/tiles.h"

const i32 STEP_REPEAT_FRAMES = 17;
const u32 CLOCK_TICK_MS = 1000;

// Column and row change of a step, by direction.
const i32 STEP_DX[4] = {0, 0, -1, 1};
const i32 STEP_DY[4] = {-1, 1, 0, 0};

// A start cell from a file may lie off the board; such a cell has no tile.
// Wide, so that a neighbour of a cell far off the board cannot overflow.
inline bool OnBoard(int64_t x, int64_t y) {
    return x >= 0 && x < BOARD_SIZE && y >= 0 && y < BOARD_SIZE;
}

// 1 for codes that can never be entered: walked floor, wall, gate.
u32 IsBlocked(u8 code);
// A walkable floor cell becomes walked floor; any other code stays.
void MarkWalked(i32 x, i32 y, u8* boardCells);
// Lays the piece for leaving (x, y) in `direction` after entering it by
// *entry, then records `direction` as the entry of the next cell.
void LayTrail(u8* trailCells, u8* entry, i32 x, i32 y, u8 direction);
// The cell a warp at `from` sends the player to: the last other warp of a
// row-major scan, or `from` itself when there is none.
int WarpLanding(const u8* boardCells, int from);
// The effect of the player's cell; returns the tile event.
u8 ApplyTile(i32* playerXY, u8* boardCells, u32* seconds, u32* keys, u8 stageTimeClass,
             u32 arrivedByWarp);
// Bonus and penalty cells trade places once the class's period has passed.
void SwapTimeTiles(u8* boardCells, u32* seconds, u8 stageTimeClass);
// Seconds between two swaps of the time cells; 0 for a class that swaps every frame.
u32 SwapPeriod(u8 stageTimeClass);
u32 KeysInOrder(const u32* keys);
u32 CanMoveOn(i32 x, i32 y, const u8* boardCells);
u32 IsStageCleared(i32 x, i32 y, u32 key4Taken, u8* boardCells);
