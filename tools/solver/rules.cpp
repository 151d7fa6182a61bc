#include "solver/rules.h"

#include <cstring>

namespace solver {

const char DIRECTION_LETTERS[4] = {'U', 'D', 'L', 'R'};

namespace {
const int STEP_DX[4] = {0, 0, -1, 1};
const int STEP_DY[4] = {-1, 1, 0, 0};
const u32 TICK_MS = 1000;

int Blocked(u8 code) { return code == TILE_WALKED || code == TILE_WALL || code == TILE_GATE; }

// Bonus, penalty and swap period of each time class, in seconds.
const u32 CLASS_BONUS[3] = {10, 5, 20};
const u32 CLASS_PERIOD[3] = {10, 5, 20};

void AddBonus(u32* timeLeft, u8 timeClass) {
    if (timeClass > 2) return;
    u32 bonus = CLASS_BONUS[timeClass];
    *timeLeft = *timeLeft > 60 - bonus ? 60 : *timeLeft + bonus;
}

void TakePenalty(u32* timeLeft, u8 timeClass) {
    if (timeClass > 2) return;
    u32 penalty = CLASS_BONUS[timeClass];
    *timeLeft = *timeLeft < penalty ? 0 : *timeLeft - penalty;
}

void Warp(i32* playerXY, const u8* board) {
    int here = playerXY[0] + 8 * playerXY[1];
    for (int cell = 0; cell < 64; cell++) {
        if (cell == here || board[cell] != TILE_WARP) continue;
        playerXY[0] = cell % 8;
        playerXY[1] = cell / 8;
    }
}

void TakeStep(PlayState* s, int direction) {
    s->repeatDelay = STEP_FRAMES;
    // Leaving a warp marks nothing; the trail itself is of no interest here.
    if (s->board[CellIndex(s->playerX, s->playerY)] != TILE_WARP) {
        MarkWalked(s->playerX, s->playerY, s->board);
    }
    s->playerX += STEP_DX[direction];
    s->playerY += STEP_DY[direction];
    s->warpArrived = 0;
}

void TickClock(PlayState* s) {
    u32 now = s->frame * FRAME_MS;
    if (now - s->lastTickMs < TICK_MS) return;
    s->timeLeft -= 1;
    s->swapSeconds += 1;
    s->ticks += 1;
    s->lastTickMs = now;
}

// The warp beam's drawer: only its timing matters, since it alone ends the
// animation that holds the next step back.
void RunWarpBeam(PlayState* s) {
    if (!s->warpArrived) {
        s->beamPhase = 0;
        s->beamOffset = 0;
        return;
    }
    if (!s->warpAnimating) return;
    if (s->beamPhase == 0 && 40 * s->playerY + 80 - s->beamOffset > -150) {
        s->beamOffset += 30;
        return;
    }
    s->beamPhase = 1;
    if (s->beamOffset > 0) s->beamOffset -= 30;
    if (s->beamOffset == 0) s->warpAnimating = 0;
}

Outcome RunCellRules(PlayState* s) {
    i32* playerXY = &s->playerX;
    u8 event = 0;
    if (!s->warpArrived) {
        event = ApplyTile(playerXY, s->board, &s->timeLeft, s->keysTaken, s->timeClass, 0);
    }
    if (event == 4) s->warpArrived = s->warpAnimating = 1;
    Outcome outcome = OUTCOME_PLAYING;
    if (s->timeLeft == 0) {
        s->swapSeconds = 0;
        outcome = OUTCOME_TIME_UP;
    }
    SwapTimeTiles(s->board, &s->swapSeconds, s->timeClass);
    if (outcome == OUTCOME_TIME_UP) return outcome;
    if (!KeysInOrder(s->keysTaken)) return OUTCOME_MISSED;
    if (IsStageCleared(s->playerX, s->playerY, s->keysTaken[3], s->board)) return OUTCOME_CLEARED;
    if (s->keysTaken[3]) return OUTCOME_MISSED;
    if (!CanMoveOn(s->playerX, s->playerY, s->board)) return OUTCOME_MISSED;
    return OUTCOME_PLAYING;
}
}  // namespace

void StartStage(const Stage& stage, PlayState* s) {
    memset(s, 0, sizeof *s);
    memcpy(s->board, stage.cells, 64);
    s->playerX = stage.startX;
    s->playerY = stage.startY;
    s->timeClass = stage.timeClass;
    s->timeLeft = 60;
    s->lowestTime = 60;
    // The last tick lies long before the stage: the first frame ticks.
    s->lastTickMs = 0u - TICK_MS;
}

void MarkWalked(int x, int y, u8* board) {
    if (board[CellIndex(x, y)] == TILE_FLOOR) board[CellIndex(x, y)] = TILE_WALKED;
}

u8 ApplyTile(i32* playerXY, u8* board, u32* timeLeft, u32* keysTaken, u8 timeClass,
             u32 warpArrived) {
    int cell = playerXY[0] + 8 * playerXY[1];
    u8 code = board[cell];
    if (!warpArrived && code == TILE_WARP) {
        Warp(playerXY, board);
        return 4;
    }
    if (code == TILE_SWITCH) {
        board[cell] = TILE_FLOOR;
        for (int i = 0; i < 64; i++) {
            if (board[i] == TILE_GATE) board[i] = TILE_FLOOR;
        }
        return 3;
    }
    if (code == TILE_TIME_BONUS || code == TILE_TIME_PENALTY) {
        board[cell] = TILE_FLOOR;
        if (code == TILE_TIME_BONUS) AddBonus(timeLeft, timeClass);
        if (code == TILE_TIME_PENALTY) TakePenalty(timeLeft, timeClass);
        return code == TILE_TIME_BONUS ? 1 : 2;
    }
    for (int k = 1; k <= 4; k++) {
        if (code != 6 + k) continue;
        board[cell] = k == 4 ? TILE_KEY4_TAKEN : TILE_FLOOR;
        keysTaken[k - 1] = 1;
    }
    return 0;
}

void SwapTimeTiles(u8* board, u32* swapSeconds, u8 timeClass) {
    if (timeClass <= 2 && *swapSeconds != CLASS_PERIOD[timeClass]) return;
    for (int i = 0; i < 64; i++) {
        if (board[i] == TILE_TIME_BONUS) {
            board[i] = TILE_TIME_PENALTY;
        } else if (board[i] == TILE_TIME_PENALTY) {
            board[i] = TILE_TIME_BONUS;
        }
    }
    *swapSeconds = 0;
}

int KeysInOrder(const u32* keysTaken) {
    for (int k = 1; k < 4; k++) {
        if (keysTaken[k] && !keysTaken[k - 1]) return 0;
    }
    return 1;
}

int CanMoveOn(int x, int y, const u8* board) {
    for (int d = 0; d < 4; d++) {
        int nx = x + STEP_DX[d], ny = y + STEP_DY[d];
        if (nx < 0 || nx > 7 || ny < 0 || ny > 7) continue;
        if (!Blocked(board[CellIndex(nx, ny)])) return 1;
    }
    return 0;
}

int IsStageCleared(int x, int y, u32 key4Taken, u8* board) {
    if (!key4Taken) return 0;
    MarkWalked(x, y, board);
    for (int i = 0; i < 64; i++) {
        u8 c = board[i];
        if (c != TILE_WALKED && c != TILE_WALL && c != TILE_KEY4_TAKEN && c != TILE_WARP) return 0;
    }
    return 1;
}

int CanStepNow(const PlayState& s) { return s.repeatDelay == 0 && !s.warpAnimating; }

int StepBlocked(const PlayState& s, int direction) {
    int nx = s.playerX + STEP_DX[direction], ny = s.playerY + STEP_DY[direction];
    if (nx < 0 || nx > 7 || ny < 0 || ny > 7) return 1;
    return Blocked(s.board[CellIndex(nx, ny)]);
}

Outcome RunFrame(PlayState* s, int direction) {
    if (s->repeatDelay > 0) s->repeatDelay--;
    if (direction >= 0 && direction < 4 && CanStepNow(*s) && !StepBlocked(*s, direction)) {
        TakeStep(s, direction);
    }
    TickClock(s);
    Outcome outcome = RunCellRules(s);
    if (s->timeLeft < s->lowestTime) s->lowestTime = s->timeLeft;
    RunWarpBeam(s);
    s->frame++;
    return outcome;
}

int DirectionOfLetter(char letter) {
    for (int d = 0; d < 4; d++) {
        if (DIRECTION_LETTERS[d] == letter) return d;
    }
    return -1;
}

}  // namespace solver
