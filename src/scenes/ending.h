// The ending: wandering walkers, the clear-time banner, the count-up of the
// course's total time with its stars, a new record, and the unlocks.
#pragma once
#include "base/common.h"

const int WALKER_COUNT = 30;

extern u32 endingStarted;
extern u32 clearBannerShown;
extern u32 clearBannerWidth;
extern u32 clearBannerDone;
extern i32 endingTimer;
extern u32 shownCourseTime[3];
extern u32 shownUndergroundTime[3];
extern u32 newRecord;
extern u32 recordMarkTimer;
extern u8 recordMarkStep;
extern u32 walkersPlaced;
extern i32 walkerX[WALKER_COUNT];
extern i32 walkerY[WALKER_COUNT];
extern i32 walkerDX[WALKER_COUNT];
extern i32 walkerDY[WALKER_COUNT];
extern u32 walkerFrameTimer;
extern u8 walkerFrameStep;

// The ending's effect slots.
enum : u8 { ENDING_WAVE_UP = 0, ENDING_WAVE_ENTER2 = 1 };

u8 InitEnding(void);
u8 RunEnding(void);
u8 ExitEnding(void);

void DrawClearBanner(u32& done);
void DrawEndingWalkers(u32 celebrate);
void DrawRecordMark(void);

void RegisterEndingGlobals(void);
