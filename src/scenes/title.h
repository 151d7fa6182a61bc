// The title: a one-time opening behind sliding doors, then the menu that
// starts every mode. Its set-up also seeds rand() and builds the trig tables.
#pragma once
#include "base/common.h"

extern u8 titleCursor;
extern u32 titleDataLoaded;
extern u32 titleStartPressed;
extern u32 titleOpeningTimer;
extern u32 titleDoorsOpening;
extern u32 titleMenuActive;
extern i32 doorOffset;
extern u32 promptFrameTimer;
extern u8 promptFrameStep;
extern u32 continueChosen;
// Set by MAPEDIT; the map editor clears it when it leaves.
extern u32 editChosen;
extern u8 promptFrameSequence[5];


// Title menu entries (`titleCursor` values).
enum : u8 {
    TITLE_RULE = 0,
    TITLE_NEWGAME = 1,
    TITLE_CONTINUE = 2,
    TITLE_UNDERGROUND = 3,
    TITLE_FREEMODE = 4,
    TITLE_MAPEDIT = 5,
};

// The title's effect slots.
enum : u8 { TITLE_WAVE_CURSOR = 0, TITLE_WAVE_ENTER = 1 };

u8 InitTitle(void);
u8 RunTitle(void);
u8 ExitTitle(void);

void DrawTitleDoors(u32 startPressed, u32 opening);
void DrawTitleCursor(u8 cursor);
// Five stars at (x, y), 50 pixels apart, rating `seconds` against the
// thresholds of a course of `stageCount` stages.
void DrawStarRating(u32 seconds, int x, int y, u32 stageCount, u8 underground);

void RegisterTitleGlobals(void);
