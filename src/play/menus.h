// The pause menu and the free-mode map selection: input, cursor and state.
// The panels themselves are drawn by the play screen.
#pragma once
#include "base/common.h"

const i32 PAUSE_PANEL_OPEN = 480;  // slide position of the standing panel
const i32 PAUSE_SLIDE_SPEED = 30;
const i32 FREE_SELECT_REPEAT = 15;  // a held Left/Right moves when the count exceeds this

typedef void (*PauseMenuDrawer)(i32 slide, u8 cursor, u32 inFreeMode);

// Confirm, open/close with B, then the cursor; once a frame during play.
void RunPauseInput(void);
// Slides the panel in or out by one frame, drawing it at the position it had
// when the frame began. `draw` may be null.
void StepPauseSlide(PauseMenuDrawer draw);
// Free mode: enters the selection when nothing else runs, and keeps the board
// showing map `stageNumber` of `freeSource` while nothing is being played.
void RunFreeModeEntry(void);
// The selection's source and map choice, start and quit.
void RunFreeSelectInput(void);
