// The game over scene: the banner reveal, the stage the run ended at, and on
// leaving the checkpoint save or the underground best.
#pragma once
#include "base/common.h"

extern u32 gameOverBannerWidth;
extern u32 gameOverBannerDone;
extern u32 gameOverTimer;

// The scene's effect slot.
enum : u8 { GAMEOVER_WAVE_ENTER2 = 0 };

u8 InitGameOver(void);
u8 RunGameOver(void);
u8 ExitGameOver(void);

// Reveals the banner 10 pixels a frame; sets `done` once it is whole.
void DrawGameOverBanner(u32& done);

void RegisterGameOverGlobals(void);
