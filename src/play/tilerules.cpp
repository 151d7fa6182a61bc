#include "play/tilerules.h"

namespace {
const int TIME_CLASSES = 3;
const u32 TIME_CHANGE[TIME_CLASSES] = {10, 5, 20};  // also the swap period

// Piece laid on leaving a cell, by how it was entered and where the step goes.
const u8 TRAIL_PIECES[5][4] = {
    {TRAIL_VERTICAL, TRAIL_VERTICAL, TRAIL_BOTTOM_LEFT, TRAIL_BOTTOM_RIGHT},
    {TRAIL_VERTICAL, TRAIL_VERTICAL, TRAIL_TOP_LEFT, TRAIL_TOP_RIGHT},
    {TRAIL_TOP_RIGHT, TRAIL_BOTTOM_RIGHT, TRAIL_HORIZONTAL, TRAIL_HORIZONTAL},
    {TRAIL_TOP_LEFT, TRAIL_BOTTOM_LEFT, TRAIL_HORIZONTAL, TRAIL_HORIZONTAL},
    {TRAIL_VERTICAL, TRAIL_VERTICAL, TRAIL_HORIZONTAL, TRAIL_HORIZONTAL},
};

int CellIndex(int64_t x, int64_t y) { return (int)(x + BOARD_SIZE * y); }

u32 AddBonus(u32 seconds, u8 stageTimeClass) {
    if (stageTimeClass >= TIME_CLASSES) return seconds;
    u32 change = TIME_CHANGE[stageTimeClass];
    return seconds > STAGE_SECONDS - change ? STAGE_SECONDS : seconds + change;
}

u32 TakePenalty(u32 seconds, u8 stageTimeClass) {
    if (stageTimeClass >= TIME_CLASSES) return seconds;
    u32 change = TIME_CHANGE[stageTimeClass];
    return seconds < change ? 0 : seconds - change;
}

void TakeKey(u8* cell, u32* keys) {
    for (int k = 1; k <= 4; k++) {
        if (*cell != TILE_KEY1 + k - 1) continue;
        *cell = k == 4 ? TILE_KEY4_TAKEN : TILE_FLOOR;
        keys[k - 1] = 1;
        return;
    }
}
}  // namespace

u32 IsBlocked(u8 code) {
    return code == TILE_WALKED || code == TILE_WALL || code == TILE_GATE ? 1 : 0;
}

void MarkWalked(i32 x, i32 y, u8* boardCells) {
    if (!OnBoard(x, y)) return;
    u8* cell = &boardCells[CellIndex(x, y)];
    if (*cell == TILE_FLOOR) *cell = TILE_WALKED;
}

void LayTrail(u8* trailCells, u8* entry, i32 x, i32 y, u8 direction) {
    if (*entry <= DIRECTION_NONE && direction < 4 && OnBoard(x, y)) {
        trailCells[CellIndex(x, y)] = TRAIL_PIECES[*entry][direction];
    }
    *entry = direction;
}

int WarpLanding(const u8* boardCells, int from) {
    int landing = from;
    for (int i = 0; i < BOARD_CELL_COUNT; i++) {
        if (i != from && boardCells[i] == TILE_WARP) landing = i;
    }
    return landing;
}

u8 ApplyTile(i32* playerXY, u8* boardCells, u32* seconds, u32* keys, u8 stageTimeClass,
             u32 arrivedByWarp) {
    if (!OnBoard(playerXY[0], playerXY[1])) return TILE_EVENT_NONE;
    int c = CellIndex(playerXY[0], playerXY[1]);
    u8* cell = &boardCells[c];
    if (!arrivedByWarp && *cell == TILE_WARP) {
        int landing = WarpLanding(boardCells, c);
        playerXY[0] = landing % BOARD_SIZE;
        playerXY[1] = landing / BOARD_SIZE;
        return TILE_EVENT_WARP;
    }
    if (*cell == TILE_SWITCH) {
        *cell = TILE_FLOOR;
        for (int i = 0; i < BOARD_CELL_COUNT; i++) {
            if (boardCells[i] == TILE_GATE) boardCells[i] = TILE_FLOOR;
        }
        return TILE_EVENT_SWITCH;
    }
    if (*cell == TILE_TIME_BONUS) {
        *cell = TILE_FLOOR;
        *seconds = AddBonus(*seconds, stageTimeClass);
        return TILE_EVENT_BONUS;
    }
    if (*cell == TILE_TIME_PENALTY) {
        *cell = TILE_FLOOR;
        *seconds = TakePenalty(*seconds, stageTimeClass);
        return TILE_EVENT_PENALTY;
    }
    TakeKey(cell, keys);
    return TILE_EVENT_NONE;
}

void SwapTimeTiles(u8* boardCells, u32* seconds, u8 stageTimeClass) {
    if (stageTimeClass < TIME_CLASSES && *seconds != TIME_CHANGE[stageTimeClass]) return;
    for (int i = 0; i < BOARD_CELL_COUNT; i++) {
        if (boardCells[i] == TILE_TIME_BONUS) {
            boardCells[i] = TILE_TIME_PENALTY;
        } else if (boardCells[i] == TILE_TIME_PENALTY) {
            boardCells[i] = TILE_TIME_BONUS;
        }
    }
    *seconds = 0;
}

u32 SwapPeriod(u8 stageTimeClass) {
    return stageTimeClass < TIME_CLASSES ? TIME_CHANGE[stageTimeClass] : 0;
}

u32 KeysInOrder(const u32* keys) {
    for (int k = 2; k <= 4; k++) {
        if (keys[k - 1] && !keys[k - 2]) return 0;
    }
    return 1;
}

u32 CanMoveOn(i32 x, i32 y, const u8* boardCells) {
    for (int d = 0; d < 4; d++) {
        int64_t nx = (int64_t)x + STEP_DX[d];
        int64_t ny = (int64_t)y + STEP_DY[d];
        if (OnBoard(nx, ny) && !IsBlocked(boardCells[CellIndex(nx, ny)])) return 1;
    }
    return 0;
}

u32 IsStageCleared(i32 x, i32 y, u32 key4Taken, u8* boardCells) {
    if (!key4Taken) return 0;
    MarkWalked(x, y, boardCells);
    for (int i = 0; i < BOARD_CELL_COUNT; i++) {
        u8 code = boardCells[i];
        if (code != TILE_WALKED && code != TILE_WALL && code != TILE_KEY4_TAKEN &&
            code != TILE_WARP) {
            return 0;
        }
    }
    return 1;
}
