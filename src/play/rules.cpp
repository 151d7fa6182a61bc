#include "play/rules.h"

#include "base/services.h"
#include "input/input.h"
#include "play/playstate.h"
#include "scenes/wipe.h"
#include "sound/effects.h"

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

const i32 STEP_DX[4] = {0, 0, -1, 1};
const i32 STEP_DY[4] = {-1, 1, 0, 0};

// A start cell from a file may lie off the board; such a cell has no tile.
// Wide, so that a neighbour of a cell far off the board cannot overflow.
bool OnBoard(int64_t x, int64_t y) { return x >= 0 && x < BOARD_SIZE && y >= 0 && y < BOARD_SIZE; }

int CellIndex(int64_t x, int64_t y) { return (int)(x + BOARD_SIZE * y); }

void Play(u8 slot) { PlayWave(&waveBuffers[slot], 0); }

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

// The player lands on the last other warp of a row-major scan.
void Warp(i32* playerXY, const u8* boardCells, int from) {
    for (int i = 0; i < BOARD_CELL_COUNT; i++) {
        if (i == from || boardCells[i] != TILE_WARP) continue;
        playerXY[0] = i % BOARD_SIZE;
        playerXY[1] = i / BOARD_SIZE;
    }
}

void TakeKey(u8* cell, u32* keys) {
    for (int k = 1; k <= 4; k++) {
        if (*cell != TILE_KEY1 + k - 1) continue;
        *cell = k == 4 ? TILE_KEY4_TAKEN : TILE_FLOOR;
        keys[k - 1] = 1;
        return;
    }
}

bool StepAllowed(void) {
    return !missed && !pauseOpen && !pauseOpening && !pauseClosing && !timeUp && !warpAnimating &&
           !cleared && repeatDelay == 0 && introDone && (stageLoaded || freePlaying);
}

// The direction whose button alone is held, with A not held; else DIRECTION_NONE.
u8 HeldDirection(void) {
    const u32 buttons[4] = {inputUp, inputDown, inputLeft, inputRight};
    if (inputA == BUTTON_HELD) return DIRECTION_NONE;
    u8 held = DIRECTION_NONE;
    for (u8 d = 0; d < 4; d++) {
        if (buttons[d] != BUTTON_HELD) continue;
        if (held != DIRECTION_NONE) return DIRECTION_NONE;
        held = d;
    }
    return held;
}

void AdvanceWalkFrame(void) {
    walkStep++;
    if (walkStep >= sizeof walkFrameTable || walkFrameTable[walkStep] == 3) walkStep = 0;
}

void TakeStep(u8 direction) {
    facing = direction;
    int64_t x = (int64_t)playerX + STEP_DX[direction];
    int64_t y = (int64_t)playerY + STEP_DY[direction];
    if (!OnBoard(x, y) || IsBlocked(board[CellIndex(x, y)])) return;
    repeatDelay = STEP_REPEAT_FRAMES;
    Play(PLAY_WAVE_WALK);
    bool leavingWarp = OnBoard(playerX, playerY) && board[playerCell] == TILE_WARP;
    if (leavingWarp) {
        trailEntry = direction;
    } else {
        LayTrail(trail, &trailEntry, playerX, playerY, direction);
        MarkWalked(playerX, playerY, board);
    }
    playerX = (i32)x;
    playerY = (i32)y;
    warpArrived = 0;
    AdvanceWalkFrame();
}

void FlagTileEvent(void) {
    switch (tileEvent) {
        case TILE_EVENT_BONUS:
            bonusEffect = 1;
            Play(PLAY_WAVE_GET2);
            break;
        case TILE_EVENT_PENALTY:
            penaltyEffect = 1;
            Play(PLAY_WAVE_GET2);
            break;
        case TILE_EVENT_SWITCH:
            switchEffect = 1;
            Play(PLAY_WAVE_DELETE);
            break;
        case TILE_EVENT_WARP:
            warpArrived = 1;
            warpAnimating = 1;
            break;
        default: break;
    }
}

void Miss(void) {
    MarkWalked(playerX, playerY, board);
    missed = 1;
}

void TestStageEnd(void) {
    if (!timeUp && !missed && IsStageCleared(playerX, playerY, keysTaken[3], board)) {
        clockRunning = 0;
        cleared = 1;
        return;
    }
    if (keysTaken[3] == 1) Miss();
    if (!CanMoveOn(playerX, playerY, board)) Miss();
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

u8 ApplyTile(i32* playerXY, u8* boardCells, u32* seconds, u32* keys, u8 stageTimeClass,
             u32 arrivedByWarp) {
    if (!OnBoard(playerXY[0], playerXY[1])) return TILE_EVENT_NONE;
    int c = CellIndex(playerXY[0], playerXY[1]);
    u8* cell = &boardCells[c];
    if (!arrivedByWarp && *cell == TILE_WARP) {
        Warp(playerXY, boardCells, c);
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

void RunStep(void) {
    if (repeatDelay > 0 && !freeSelecting) repeatDelay--;
    if (!StepAllowed()) return;
    playerCell = (u32)playerX + BOARD_SIZE * (u32)playerY;
    u8 direction = HeldDirection();
    if (direction != DIRECTION_NONE) TakeStep(direction);
    if (inputUp == BUTTON_OFF && inputDown == BUTTON_OFF && inputLeft == BUTTON_OFF &&
        inputRight == BUTTON_OFF) {
        walkStep = 0;
    }
}

void TickClock(void) {
    if (!clockRunning || wipeCovered || wipeActive || pauseClosing) return;
    if (timeGetTime() - lastTick < CLOCK_TICK_MS) return;
    if (timeLeft >= 2 && timeLeft <= 10) Play(PLAY_WAVE_CURSOR);
    if (timeLeft > 0) timeLeft--;
    swapSeconds++;
    if (!ruleMode && !undergroundMode) courseSeconds++;
    if (undergroundMode) undergroundSeconds++;
    lastTick = timeGetTime();
}

void RunCellRules(void) {
    if (!stageLoaded && !freePlaying) return;
    tileEvent = TILE_EVENT_NONE;
    if (!warpArrived) {
        tileEvent = ApplyTile(playerPosition, board, &timeLeft, keysTaken, timeClass, warpArrived);
    }
    FlagTileEvent();
    if (timeLeft == 0) {
        clockRunning = 0;
        swapSeconds = 0;
        timeUp = 1;
    }
    SwapTimeTiles(board, &swapSeconds, timeClass);
    if (!timeUp && !KeysInOrder(keysTaken)) Miss();
    TestStageEnd();
}
