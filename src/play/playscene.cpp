#include "play/playscene.h"

#include <cstring>

#include "base/scene.h"
#include "graphics/sprites.h"
#include "play/menus.h"
#include "play/playstate.h"
#include "play/rules.h"
#include "playscreen/messages.h"
#include "playscreen/panels.h"
#include "playscreen/player.h"
#include "playscreen/playfield.h"
#include "save/save.h"
#include "scenes/wipe.h"
#include "sound/effects.h"
#include "sound/music.h"

namespace {
const i32 START_LAST_FRAME = 90;
const i32 MISS_LAST_FRAME = 120;
const i32 TIME_UP_FRAMES = 450;
const i32 CLEAR_MESSAGE_LAST_FRAME = 120;
const i32 CLEAR_LAST_FRAME = 130;
const i32 ALL_CLEAR_BEAM_LAST = 359;
const i32 ALL_CLEAR_PLAYER_GONE = 315;
const i32 ALL_CLEAR_LAST_FRAME = 550;
const i32 CLEAR_EXIT_BEAM_LAST = 94;
const i32 CLEAR_EXIT_PLAYER_GONE = 50;
const i32 CLEAR_EXIT_LAST_FRAME = 110;
const u32 LAST_COURSE_STAGE = 29;
const u32 LAST_UNDERGROUND_STAGE = 49;
const u32 FAST_COURSE_SECONDS = 630;
const u32 SLOW_COURSE_SECONDS = 830;
const i32 WIPE_OFF_LEFT = -640;

static_assert(sizeof PLAY_WAVES / sizeof PLAY_WAVES[0] == PLAY_WAVE_COUNT, "one file per slot");

enum : u8 { SEQUENCE_GOES_ON = 1, SEQUENCE_LEAVES = 2 };

void Play(u8 slot) { PlayWave(&waveBuffers[slot], 0); }

void ClearKeys(void) { memset(keysTaken, 0, sizeof keysTaken); }

void SetUpStageIfDue(void) {
    if (freeMode || stageLoaded || !introDone) return;
    SetUpStage(board, wallMask, trail, &timeClass, playerPosition);
    StartStage();
}

void RunMissSequence(void) {
    if (!missed || timeUp) return;
    clockRunning = 0;
    DrawMissMessage(sequenceFrame);
    sequenceFrame++;
    if (sequenceFrame <= MISS_LAST_FRAME) return;
    wipeActive = 1;
    if (!wipeCovered) return;
    // The same stage is set up again next frame, under the wipe, with the time left.
    missed = 0;
    sequenceFrame = 0;
    swapSeconds = 0;
    stageLoaded = 0;
    if (freePlaying) {
        freeBoardLoaded = 0;
        freePlaying = 0;
        freeRetry = 1;
    }
}

void RunStartSequence(void) {
    if (introDone || wipeActive) return;
    DrawStartMessage(sequenceFrame);
    sequenceFrame++;
    if (sequenceFrame <= START_LAST_FRAME) return;
    introDone = 1;
    sequenceFrame = 0;
    if (freeMode) clockRunning = 1;  // other modes start it with the set-up
    Play(PLAY_WAVE_LETSGO);
}

u8 RunTimeUpSequence(void) {
    if (!timeUp) return SEQUENCE_GOES_ON;
    DrawTimeUpMessage(sequenceFrame);
    sequenceFrame++;
    if (sequenceFrame < TIME_UP_FRAMES) return SEQUENCE_GOES_ON;
    ClearKeys();
    if (freeMode) freeSelecting = freePlaying = freeRetry = freeBoardLoaded = 0;
    timeLeft = STAGE_SECONDS;
    stageLoaded = walkStep = swapSeconds = timeUp = introDone = 0;
    cleared = clearExit = playerGone = stageCleared = 0;
    sequenceFrame = 0;
    return SEQUENCE_LEAVES;
}

bool IsLastCourseStage(void) {
    if (freeMode) return false;
    if (undergroundMode) return stageNumber == LAST_UNDERGROUND_STAGE;
    return stageNumber == LAST_COURSE_STAGE;
}

// Every field of the stage's sequences back to rest, ready for the next stage.
void FinishClear(void) {
    ClearKeys();
    stageNumber++;
    timeLeft = STAGE_SECONDS;
    stageLoaded = introDone = swapSeconds = 0;
    cleared = clearExit = playerGone = walkStep = 0;
    sequenceFrame = 0;
}

u8 RunAllClear(void) {
    DrawAllClearMessage(sequenceFrame);
    if (sequenceFrame >= ALL_CLEAR_BEAM_START && sequenceFrame <= ALL_CLEAR_BEAM_LAST) {
        DrawClearBeam(playerX, playerY, sequenceFrame);
    }
    if (sequenceFrame == ALL_CLEAR_PLAYER_GONE) playerGone = 1;
    if (sequenceFrame <= ALL_CLEAR_LAST_FRAME) return SEQUENCE_GOES_ON;
    finalClear = 0;
    FinishClear();
    return SEQUENCE_LEAVES;  // stageCleared stays for ExitPlay
}

u8 RunClearSequence(void) {
    if (!cleared || clearExit || timeUp) return SEQUENCE_GOES_ON;
    stageCleared = 1;
    if (!finalClear && sequenceFrame <= CLEAR_MESSAGE_LAST_FRAME) DrawClearMessage(sequenceFrame);
    sequenceFrame++;
    if (sequenceFrame <= CLEAR_LAST_FRAME) return SEQUENCE_GOES_ON;
    if (IsLastCourseStage()) finalClear = 1;
    if (finalClear) return RunAllClear();
    clearExit = 1;
    sequenceFrame = 0;
    return SEQUENCE_GOES_ON;
}

u8 RunClearExit(void) {
    if (!clearExit) return SEQUENCE_GOES_ON;
    sequenceFrame++;
    if (sequenceFrame >= CLEAR_BEAM_START && sequenceFrame <= CLEAR_EXIT_BEAM_LAST) {
        DrawClearBeam(playerX, playerY, sequenceFrame);
    }
    if (sequenceFrame == CLEAR_EXIT_PLAYER_GONE) playerGone = 1;
    if (sequenceFrame <= CLEAR_EXIT_LAST_FRAME) return SEQUENCE_GOES_ON;
    wipeActive = 1;
    if (!wipeCovered) return SEQUENCE_GOES_ON;
    FinishClear();
    if (ruleMode && stageNumber >= 1 && stageNumber <= 3) return SEQUENCE_LEAVES;
    if (freeMode) {
        stageNumber--;  // the same map stays chosen in the selection
        freePlaying = 0;
        freeBoardLoaded = 0;
    }
    return SEQUENCE_GOES_ON;
}

u8 RunSequences(void) {
    RunMissSequence();
    RunStartSequence();
    if (RunTimeUpSequence() == SEQUENCE_LEAVES) return SEQUENCE_LEAVES;
    StepPauseSlide(DrawPauseMenu);
    if (RunClearSequence() == SEQUENCE_LEAVES) return SEQUENCE_LEAVES;
    return RunClearExit();
}

void SaveReachedStage(void) {
    if (!undergroundMode && !ruleMode && !freeMode) {
        RoundToCheckpoint();
        SaveProgress();
    }
    if (undergroundMode) {
        LoadUndergroundBest();
        if (!undergroundCleared && undergroundBest < stageNumber) {
            undergroundBest = stageNumber;
            SaveUndergroundBest();
        }
    }
}

void QuitPlay(void) {
    ClearKeys();
    bonusEffect = penaltyEffect = switchEffect = 0;
    pauseOpening = pauseOpen = pauseClosing = 0;
    walkStep = 0;
    pauseCursor = PAUSE_RETRY;
    timeLeft = STAGE_SECONDS;
    stageLoaded = introDone = cleared = clearExit = playerGone = swapSeconds = stageCleared = 0;
    sequenceFrame = 0;
    SaveReachedStage();
    if (freeMode) {
        freeMode = freeSelecting = freePlaying = freeRetry = freeBoardLoaded = 0;
        freeSource = FREE_SOURCE_COURSE;
    }
    ruleMode = 0;
    undergroundMode = 0;
}

u8 ChapterForCourseTime(void) {
    if (courseSeconds < FAST_COURSE_SECONDS) return 6;
    if (courseSeconds < SLOW_COURSE_SECONDS) return 7;
    return 8;
}

u8 SceneAfterLeaving(void) {
    if (freeMode || ruleMode) return SCENE_PLAY;
    if (!quitToTitle) return SCENE_GAMEOVER;
    quitToTitle = 0;
    wipeCovered = 0;
    wipeActive = 0;
    wipeX = WIPE_OFF_LEFT;
    stageNumber = 0;
    return SCENE_TITLE;
}

u8 SceneAfterClear(void) {
    if (!undergroundMode && !ruleMode && stageNumber > LAST_COURSE_STAGE) {
        storyChapter = ChapterForCourseTime();
        return SCENE_STORY;
    }
    if (ruleMode && stageNumber >= 1 && stageNumber <= 3) return SCENE_STORY;
    if (undergroundMode && stageNumber > LAST_UNDERGROUND_STAGE) return SCENE_STORY;
    return SCENE_PLAY;
}
}  // namespace

u8 InitPlay(void) {
    LoadSceneWaves(PLAY_WAVES);
    LoadSceneMusic(PLAY_MUSIC);
    TurnDownSceneWaves();
    PlaySceneMusic();
    return SCENE_PHASE_RUN;
}

u8 RunPlay(void) {
    RunFreeModeEntry();
    SetUpStageIfDue();
    RunStep();
    RunPauseInput();
    RunFreeSelectInput();
    TickClock();
    RunCellRules();
    if (quitToTitle) {
        QuitPlay();
        return SCENE_PHASE_EXIT;
    }
    DrawPlayScreen();
    if (RunSequences() == SEQUENCE_LEAVES) return SCENE_PHASE_EXIT;
    DrawFps(10, 10);
    StepSceneWipe(nullptr);
    return SCENE_PHASE_RUN;
}

u8 ExitPlay(void) {
    ReleaseSceneWaves();
    ReleaseSceneMusic();
    sceneId = stageCleared ? SceneAfterClear() : SceneAfterLeaving();
    stageCleared = 0;
    return SCENE_PHASE_INIT;
}
