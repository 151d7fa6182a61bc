// The play, progress and input state back at their start values, for tests
// and fuzz targets that run many stages in one process.
#pragma once
#include <cstring>

#include "input/input.h"
#include "play/playstate.h"
#include "save/save.h"
#include "scenes/wipe.h"

inline void ResetPlayState() {
    memset(board, 0, sizeof board);
    memset(trail, 0, sizeof trail);
    memset(wallMask, 0, sizeof wallMask);
    memset(keysTaken, 0, sizeof keysTaken);
    playerX = playerY = 0;
    playerCell = 0;
    facing = walkStep = timeClass = tileEvent = 0;
    trailEntry = DIRECTION_NONE;
    repeatDelay = 0;
    timeLeft = STAGE_SECONDS;
    clockRunning = lastTick = swapSeconds = 0;
    warpArrived = warpAnimating = bonusEffect = penaltyEffect = switchEffect = 0;
    stageLoaded = introDone = missed = timeUp = cleared = clearExit = 0;
    playerGone = finalClear = stageCleared = 0;
    sequenceFrame = 0;
    pauseOpening = pauseOpen = pauseClosing = 0;
    pauseCursor = 0;
    quitToTitle = freeSelecting = freePlaying = freeRetry = freeBoardLoaded = 0;
    freeSource = 0;
    undergroundMode = ruleMode = freeMode = stageNumber = storyChapter = 0;
    courseSeconds = undergroundSeconds = courseCleared = extrasUnlocked = 0;
    undergroundCleared = undergroundBest = 0;
    wipeActive = wipeCovered = 0;
    bestCourse = bestUnderground = BestTime{356400, 99, 60, 60};
    inputUp = inputDown = inputLeft = inputRight = inputA = inputB = BUTTON_OFF;
}
