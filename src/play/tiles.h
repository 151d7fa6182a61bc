// The board's vocabulary: its size, the tile codes, the trail pieces, the
// step directions and the tile events. Free of state, so that tools judging a
// board share it with the game.
#pragma once
#include "base/common.h"

const int BOARD_SIZE = 8;
const int BOARD_CELL_COUNT = 64;
const u32 STAGE_SECONDS = 60;

// Tile codes of the board.
enum : u8 {
    TILE_FLOOR = 0,
    TILE_WALKED = 1,
    TILE_WALL = 2,
    TILE_TIME_BONUS = 3,
    TILE_TIME_PENALTY = 4,
    TILE_SWITCH = 5,
    TILE_GATE = 6,
    TILE_KEY1 = 7,
    TILE_KEY2 = 8,
    TILE_KEY3 = 9,
    TILE_KEY4 = 10,
    TILE_KEY4_TAKEN = 11,
    TILE_WARP = 12,
};

// Path pieces, named by the sides of the cell the path joins.
enum : u8 {
    TRAIL_NONE = 0,
    TRAIL_VERTICAL = 1,
    TRAIL_HORIZONTAL = 2,
    TRAIL_BOTTOM_LEFT = 3,
    TRAIL_BOTTOM_RIGHT = 4,
    TRAIL_TOP_RIGHT = 5,
    TRAIL_TOP_LEFT = 6,
};

// Directions of a step; also `facing` and `trailEntry`.
enum : u8 {
    DIRECTION_UP = 0,
    DIRECTION_DOWN = 1,
    DIRECTION_LEFT = 2,
    DIRECTION_RIGHT = 3,
    DIRECTION_NONE = 4,  // trailEntry of the start cell, entered by no step
};

// `tileEvent` values.
enum : u8 {
    TILE_EVENT_NONE = 0,
    TILE_EVENT_BONUS = 1,
    TILE_EVENT_PENALTY = 2,
    TILE_EVENT_SWITCH = 3,
    TILE_EVENT_WARP = 4,
};
