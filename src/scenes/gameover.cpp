#include "scenes/gameover.h"

#include <cstdio>

#include "base/registry.h"
#include "base/scene.h"
#include "base/services.h"
#include "graphics/sprites.h"
#include "input/input.h"
#include "play/playstate.h"
#include "playscreen/playfield.h"
#include "save/save.h"
#include "scenes/wipe.h"
#include "sound/effects.h"
#include "sound/music.h"

u32 gameOverBannerWidth;
u32 gameOverBannerDone;
u32 gameOverTimer;

namespace {
const u32 BANNER_WIDTH = 640;
const u32 BANNER_STEP = 10;
const u32 ACCEPT_A_AFTER = 70;  // timer frames after the banner is whole
const i32 WIPE_OFF_LEFT = -640;

void AcceptA(void) {
    if (!gameOverBannerDone) return;
    gameOverTimer++;
    if (wipeActive || inputA != BUTTON_PRESSED || gameOverTimer <= ACCEPT_A_AFTER) return;
    PlayWave(&waveBuffers[GAMEOVER_WAVE_ENTER2], 0);
    wipeActive = 1;
}

// The course falls back to its checkpoint; the underground keeps its deepest stage.
void SaveReachedStage(void) {
    if (undergroundMode) {
        LoadUndergroundBest();
        if (!undergroundCleared && undergroundBest < stageNumber) {
            undergroundBest = stageNumber;
            SaveUndergroundBest();
        }
        return;
    }
    RoundToCheckpoint();
    SaveProgress();
}

void DrawEndedAtStage(void) {
    char text[64];
    snprintf(text, sizeof text, Sjis("ステージ%02dで終了"), (int)(stageNumber + 1));
    DrawString(text, 180, 230, 0xFFFF0000u, 2);
}
}  // namespace

u8 InitGameOver(void) {
    LoadSceneWaves(GAMEOVER_WAVES);
    LoadSceneMusic(GAMEOVER_MUSIC);
    TurnDownSceneWaves();
    PlaySceneMusic();
    return SCENE_PHASE_RUN;
}

u8 RunGameOver(void) {
    AcceptA();
    if (wipeCovered == 1) {
        gameOverBannerDone = 0;
        gameOverTimer = 0;
        SaveReachedStage();
        return SCENE_PHASE_EXIT;
    }
    DrawFullScreen(TEXTURE_GAMEOVER_BACKGROUND);
    DrawGameOverBanner(gameOverBannerDone);
    if (gameOverBannerDone) DrawEndedAtStage();
    DrawFps(0, 0);
    StepSceneWipe(nullptr);
    return SCENE_PHASE_RUN;
}

u8 ExitGameOver(void) {
    ReleaseSceneWaves();
    ReleaseSceneMusic();
    // The title shows at once, without the wipe's second half.
    wipeCovered = 0;
    wipeActive = 0;
    wipeX = WIPE_OFF_LEFT;
    sceneId = SCENE_TITLE;
    return SCENE_PHASE_INIT;
}

void DrawGameOverBanner(u32& done) {
    if (!done && gameOverBannerWidth >= BANNER_WIDTH) gameOverBannerWidth = 0;
    if (!done) {
        gameOverBannerWidth += BANNER_STEP;
        // A width set off the 10-pixel grid still ends the reveal.
        if (gameOverBannerWidth >= BANNER_WIDTH) {
            gameOverBannerWidth = BANNER_WIDTH;
            done = 1;
        }
    }
    u32 width = gameOverBannerWidth < BANNER_WIDTH ? gameOverBannerWidth : BANNER_WIDTH;
    DrawSprite(TEXTURE_GAMEOVER_GAMEOVER, 0.0f, 80.0f, RECT{0, 0, (i32)width, 100});
}

void RegisterGameOverGlobals(void) {
    REG_U32(gameOverBannerWidth);
    REG_U32(gameOverBannerDone);
    REG_U32(gameOverTimer);
}
