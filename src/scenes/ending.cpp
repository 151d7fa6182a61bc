#include "scenes/ending.h"

#include <cstdio>
#include <cstdlib>

#include "base/registry.h"
#include "base/scene.h"
#include "base/services.h"
#include "graphics/sprites.h"
#include "input/input.h"
#include "play/playstate.h"
#include "playscreen/playfield.h"
#include "save/save.h"
#include "scenes/title.h"
#include "scenes/wipe.h"
#include "sound/effects.h"
#include "sound/music.h"

u32 endingStarted;
u32 clearBannerShown;
u32 clearBannerWidth;
u32 clearBannerDone;
i32 endingTimer;
u32 shownCourseTime[3];
u32 shownUndergroundTime[3];
u32 newRecord;
u32 recordMarkTimer;
u8 recordMarkStep;
u32 walkersPlaced;
i32 walkerX[WALKER_COUNT];
i32 walkerY[WALKER_COUNT];
i32 walkerDX[WALKER_COUNT];
i32 walkerDY[WALKER_COUNT];
u32 walkerFrameTimer;
u8 walkerFrameStep;

namespace {
const u8 WALK_SEQUENCE[5] = {0, 1, 0, 2, 3};
const u8 CELEBRATE_SEQUENCE[5] = {0, 1, 2, 1, 3};
const u8 RECORD_MARK_SEQUENCE[3] = {0, 1, 2};

const i32 ACCEPT_A_AFTER = 200;
const i32 RECORD_AFTER = 140;
const i32 MINUTES_AFTER = 60;
const i32 HOURS_AFTER = 120;
const u32 UNLOCK_BELOW_SECONDS = 630;
const i32 WALKER_SIZE = 40;

u32 TotalSeconds(void) { return undergroundMode ? undergroundSeconds : courseSeconds; }
u32* ShownTime(void) { return undergroundMode ? shownUndergroundTime : shownCourseTime; }
BestTime& Record(void) { return undergroundMode ? bestUnderground : bestCourse; }

void SetUpEnding(void) {
    u32* shown = ShownTime();
    shown[0] = shown[1] = shown[2] = 0;
    LoadBestTimes();
    endingStarted = 1;
}

void RecordCompletion(void) {
    if (undergroundMode) {
        undergroundBest = 49;
        SaveUndergroundBest();
        undergroundCleared = 1;
    } else {
        courseCleared = 1;
        // Only ever set here: a slower clear never takes the unlock back.
        if (courseSeconds < UNLOCK_BELOW_SECONDS) extrasUnlocked = 1;
    }
    stageNumber = 0;
    endingTimer = 0;
    endingStarted = 0;
    newRecord = 0;
    clearBannerDone = 0;
}

// Each figure moves one step a frame towards its part of the total, the
// minutes and hours joining in later; every step ticks.
void CountUp(void) {
    u32 total = TotalSeconds();
    u32* shown = ShownTime();
    if (shown[0] != total / 3600 && endingTimer > HOURS_AFTER) {
        PlayWave(&waveBuffers[ENDING_WAVE_UP], 0);
        shown[0]++;
    }
    if (shown[1] != (total % 3600) / 60 && endingTimer > MINUTES_AFTER) {
        PlayWave(&waveBuffers[ENDING_WAVE_UP], 0);
        shown[1]++;
    }
    if (shown[2] != total % 60) {
        PlayWave(&waveBuffers[ENDING_WAVE_UP], 0);
        shown[2]++;
    }
    BestTime& record = Record();
    if (endingTimer > RECORD_AFTER && record.totalSeconds > total) {
        record = BestTime{total, shown[0], shown[1], shown[2]};
        SaveBestTimes();
        newRecord = 1;
    }
}

void DrawShownTime(void) {
    const u32* shown = ShownTime();
    char text[64];
    snprintf(text, sizeof text, Sjis("%02d時間%02d分%02d秒"), (int)shown[0], (int)shown[1],
             (int)shown[2]);
    DrawString(text, 180, 200, 0xFFFF0000u, 2);
}

void DrawEnding(void) {
    DrawFullScreen(TEXTURE_ENDING_BACKGROUND);
    DrawEndingWalkers(newRecord);
    if (clearBannerShown) DrawClearBanner(clearBannerDone);
    if (clearBannerDone) DrawShownTime();
    DrawFps(0, 0);
    if (endingTimer > RECORD_AFTER) {
        if (undergroundMode) {
            DrawStarRating(TotalSeconds(), 200, 300, 50, 1);
        } else {
            DrawStarRating(TotalSeconds(), 200, 300, 30, 0);
        }
    }
    if (newRecord) DrawRecordMark();
    StepSceneWipe(&clearBannerShown);
}

// A step of rand() % 3 - 1 with 0 turned into +1.
i32 RandomStep(void) {
    i32 step = rand() % 3 - 1;
    return step == 0 ? 1 : step;
}

// The start grid reaches x = 600 and y = 500, where a walker would sit on or
// past the screen's edge and turn on every frame; such starts are pulled in
// just far enough that every walker travels inside the screen.
void PlaceWalkers(void) {
    for (int i = 0; i < WALKER_COUNT; i++) {
        i32 x = 100 * (rand() % 6 + 1);
        i32 y = 100 * (rand() % 5 + 1);
        walkerDX[i] = RandomStep();
        walkerDY[i] = RandomStep();
        walkerX[i] = x < 640 - WALKER_SIZE - 2 ? x : 640 - WALKER_SIZE - 2;
        walkerY[i] = y < 480 - WALKER_SIZE - 2 ? y : 480 - WALKER_SIZE - 2;
    }
    walkersPlaced = 1;
}

void MoveWalker(int i) {
    walkerX[i] += walkerDX[i];
    walkerY[i] += walkerDY[i];
    if (walkerX[i] <= 0 || walkerX[i] + WALKER_SIZE >= 640) walkerDX[i] = -walkerDX[i];
    if (walkerY[i] <= 0 || walkerY[i] + WALKER_SIZE >= 480) walkerDY[i] = -walkerDY[i];
}

// The sheet's column for a diagonal heading.
i32 WalkerColumn(int i) {
    bool right = walkerDX[i] > 0, up = walkerDY[i] < 0;
    if (right && up) return 0;
    if (!right && !up) return 1;
    return up ? 2 : 3;
}
}  // namespace

u8 InitEnding(void) {
    LoadSceneWaves(ENDING_WAVES);
    LoadSceneMusic(ENDING_MUSIC);
    TurnDownSceneWaves();
    PlaySceneMusic();
    return SCENE_PHASE_RUN;
}

u8 RunEnding(void) {
    if (!endingStarted) SetUpEnding();
    if (clearBannerDone) {
        if (!wipeActive && inputA == BUTTON_PRESSED && endingTimer > ACCEPT_A_AFTER) {
            PlayWave(&waveBuffers[ENDING_WAVE_ENTER2], 0);
            wipeActive = 1;
        }
        if (wipeCovered == 1) {
            RecordCompletion();
            return SCENE_PHASE_EXIT;
        }
        endingTimer++;
        CountUp();
    }
    DrawEnding();
    return SCENE_PHASE_RUN;
}

u8 ExitEnding(void) {
    ReleaseSceneWaves();
    ReleaseSceneMusic();
    // The story goes on with the closing chapter it left in storyChapter.
    sceneId = SCENE_STORY;
    return SCENE_PHASE_INIT;
}

void DrawClearBanner(u32& done) {
    if (!done && clearBannerWidth >= 640) clearBannerWidth = 0;
    if (!done && clearBannerWidth < 640) {
        clearBannerWidth += 10;
        if (clearBannerWidth >= 640) {
            clearBannerWidth = 640;
            done = 1;
        }
    }
    DrawSprite(TEXTURE_ENDING_CLEARTIME, 0.0f, 80.0f, RECT{0, 0, (i32)clearBannerWidth, 100});
}

void DrawRecordMark(void) {
    if (recordMarkStep >= 2) recordMarkStep = 0;
    recordMarkTimer++;
    if (recordMarkTimer > 10) {
        recordMarkStep++;
        if (RECORD_MARK_SEQUENCE[recordMarkStep] == 2) recordMarkStep = 0;
        recordMarkTimer = 0;
    }
    i32 top = 40 * RECORD_MARK_SEQUENCE[recordMarkStep];
    DrawSprite(TEXTURE_ENDING_ST, 90.0f, 195.0f, RECT{40, top, 120, top + 40});
}

void DrawEndingWalkers(u32 celebrate) {
    if (!walkersPlaced) PlaceWalkers();
    const u8* sequence = celebrate ? CELEBRATE_SEQUENCE : WALK_SEQUENCE;
    if (walkerFrameStep >= 4) walkerFrameStep = 0;
    walkerFrameTimer++;
    if (walkerFrameTimer > 10) {
        walkerFrameStep++;
        if (sequence[walkerFrameStep] == 3) walkerFrameStep = 0;
        walkerFrameTimer = 0;
    }
    i32 v = sequence[walkerFrameStep];
    for (int i = 0; i < WALKER_COUNT; i++) {
        RECT source{40 + 40 * v, 120, 80 + 40 * v, 160};
        if (!celebrate) {
            MoveWalker(i);
            i32 c = WalkerColumn(i);
            source = RECT{40 * c, 40 * v, 40 * c + 40, 40 * v + 40};
        }
        DrawSprite(TEXTURE_PLAY_CHAR, (f32)walkerX[i], (f32)walkerY[i], source);
    }
}

void RegisterEndingGlobals(void) {
    REG_U32(endingStarted);
    REG_U32(clearBannerShown);
    REG_U32(clearBannerWidth);
    REG_U32(clearBannerDone);
    REG_I32(endingTimer);
    REG_ARRAY(shownCourseTime, GLOBAL_U32);
    REG_ARRAY(shownUndergroundTime, GLOBAL_U32);
    REG_U32(newRecord);
    REG_U32(recordMarkTimer);
    REG_U8(recordMarkStep);
    REG_U32(walkersPlaced);
    REG_ARRAY(walkerX, GLOBAL_I32);
    REG_ARRAY(walkerY, GLOBAL_I32);
    REG_ARRAY(walkerDX, GLOBAL_I32);
    REG_ARRAY(walkerDY, GLOBAL_I32);
    REG_U32(walkerFrameTimer);
    REG_U8(walkerFrameStep);
}
