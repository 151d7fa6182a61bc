#include "play/rules.h"

#include "base/services.h"
#include "input/input.h"
#include "play/playstate.h"
#include "scenes/wipe.h"
#include "sound/effects.h"

namespace {
int CellIndex(int64_t x, int64_t y) { return (int)(x + BOARD_SIZE * y); }

void Play(u8 slot) { PlayWave(&waveBuffers[slot], 0); }

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
