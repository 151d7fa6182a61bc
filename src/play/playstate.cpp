#include "play/playstate.h"

#include <cstring>

#include "base/registry.h"
#include "editor/mapfile.h"
#include "play/gamedata.h"
#include "save/save.h"

u8 board[BOARD_CELL_COUNT];
u8 trail[BOARD_CELL_COUNT];
u8 wallMask[BOARD_CELL_COUNT];
i32 playerPosition[2];
i32& playerX = playerPosition[0];
i32& playerY = playerPosition[1];
u32 playerCell;
u8 facing;
u8 walkFrameTable[5] = {0, 1, 0, 2, 3};
u8 walkStep;
u8 trailEntry = DIRECTION_NONE;
i32 repeatDelay;
u32 keysTaken[4];
u32 timeLeft = STAGE_SECONDS;
u32 clockRunning;
u32 lastTick;
u32 swapSeconds;
u8 timeClass;
u8 tileEvent;
u32 warpArrived;
u32 warpAnimating;
u32 bonusEffect;
u32 penaltyEffect;
u32 switchEffect;

u32 stageLoaded;
u32 introDone;
u32 missed;
u32 timeUp;
u32 cleared;
u32 clearExit;
u32 playerGone;
u32 finalClear;
u32 stageCleared;
i32 sequenceFrame;
u32 pauseOpening;
u32 pauseOpen;
u32 pauseClosing;
u8 pauseCursor;
u32 quitToTitle;
u32 freeSelecting;
u32 freePlaying;
u32 freeRetry;
u32 freeBoardLoaded;
u8 freeSource;

u32 undergroundMode;
u32 ruleMode;
u32 freeMode;
u32 stageNumber;
u32 storyChapter;
u32 courseSeconds;
u32 undergroundSeconds;
u32 courseCleared;
u32 extrasUnlocked;
u32 undergroundCleared;
u32 undergroundBest;

namespace {
void CopyRuleStage(u8* boardOut, u8* timeClassOut, i32* playerXY) {
    playerXY[0] = BOARD_SIZE - 1;
    playerXY[1] = BOARD_SIZE - 1;
    if (stageNumber < (u32)RULE_STAGES) memcpy(boardOut, ruleMaps[stageNumber], BOARD_CELLS);
    *timeClassOut = 0;
}

// What a stage start and a free-mode load both reset.
void ResetPlayForStart(void) {
    memset(keysTaken, 0, sizeof keysTaken);
    trailEntry = DIRECTION_NONE;
    warpArrived = 0;
    timeUp = 0;
    bonusEffect = penaltyEffect = switchEffect = 0;
    stageCleared = 0;
    facing = DIRECTION_UP;
}
}  // namespace

void CopyTableStage(const StartCell* starts, const u8 (*maps)[BOARD_CELLS], const u8* classes,
                    u32 count, u8* boardOut, u8* timeClassOut, i32* playerXY) {
    if (stageNumber >= count) return;
    playerXY[0] = starts[stageNumber].x;
    playerXY[1] = starts[stageNumber].y;
    memcpy(boardOut, maps[stageNumber], BOARD_CELLS);
    *timeClassOut = classes[stageNumber];
}

void ResetBoardLayers(const u8* boardIn, u8* wallMaskOut, u8* trailOut) {
    for (int i = 0; i < BOARD_CELL_COUNT; i++) {
        trailOut[i] = TRAIL_NONE;
        wallMaskOut[i] = boardIn[i] == TILE_GATE ? 1 : 0;
    }
}

void SetUpStage(u8* boardOut, u8* wallMaskOut, u8* trailOut, u8* timeClassOut, i32* playerXY) {
    if (!undergroundMode && !ruleMode) {
        if (stageNumber % 10 == 0) SaveProgress();
        CopyTableStage(courseStarts, courseMaps, courseTimeClasses, COURSE_STAGES, boardOut,
                       timeClassOut, playerXY);
    }
    if (undergroundMode) {
        CopyTableStage(undergroundStarts, undergroundMaps, undergroundTimeClasses,
                       UNDERGROUND_STAGES, boardOut, timeClassOut, playerXY);
    }
    if (ruleMode) CopyRuleStage(boardOut, timeClassOut, playerXY);
    ResetBoardLayers(boardOut, wallMaskOut, trailOut);
}

void StartStage(void) {
    ResetPlayForStart();
    clockRunning = 1;
    stageLoaded = 1;
}

void LoadFreeBoard(void) {
    LoadFreeMap(board, wallMask, trail, &timeClass, playerPosition, freeSource);
    ResetPlayForStart();
    freeBoardLoaded = 1;
    if (freeRetry) {
        freePlaying = 1;
        freeRetry = 0;
        clockRunning = 1;
    }
}

namespace {
void RegisterSequenceGlobals(void) {
    REG_U32(stageLoaded);
    REG_U32(introDone);
    REG_U32(missed);
    REG_U32(timeUp);
    REG_U32(cleared);
    REG_U32(clearExit);
    REG_U32(playerGone);
    REG_U32(finalClear);
    REG_U32(stageCleared);
    REG_I32(sequenceFrame);
    REG_U32(pauseOpening);
    REG_U32(pauseOpen);
    REG_U32(pauseClosing);
    REG_U8(pauseCursor);
    REG_U32(quitToTitle);
    REG_U32(freeSelecting);
    REG_U32(freePlaying);
    REG_U32(freeRetry);
    REG_U32(freeBoardLoaded);
    REG_U8(freeSource);
}

void RegisterProgressGlobals(void) {
    REG_U32(undergroundMode);
    REG_U32(ruleMode);
    REG_U32(freeMode);
    REG_U32(stageNumber);
    REG_U32(storyChapter);
    REG_U32(courseSeconds);
    REG_U32(undergroundSeconds);
    REG_U32(courseCleared);
    REG_U32(extrasUnlocked);
    REG_U32(undergroundCleared);
    REG_U32(undergroundBest);
}
}  // namespace

void RegisterPlayStateGlobals(void) {
    REG_ARRAY(board, GLOBAL_U8);
    REG_ARRAY(trail, GLOBAL_U8);
    REG_ARRAY(wallMask, GLOBAL_U8);
    REG_I32(playerX);
    REG_I32(playerY);
    REG_U32(playerCell);
    REG_U8(facing);
    REG_ARRAY(walkFrameTable, GLOBAL_U8);
    REG_U8(walkStep);
    REG_U8(trailEntry);
    REG_I32(repeatDelay);
    REG_ARRAY(keysTaken, GLOBAL_U32);
    REG_U32(timeLeft);
    REG_U32(clockRunning);
    REG_U32(lastTick);
    REG_U32(swapSeconds);
    REG_U8(timeClass);
    REG_U8(tileEvent);
    REG_U32(warpArrived);
    REG_U32(warpAnimating);
    REG_U32(bonusEffect);
    REG_U32(penaltyEffect);
    REG_U32(switchEffect);
    RegisterSequenceGlobals();
    RegisterProgressGlobals();
}
