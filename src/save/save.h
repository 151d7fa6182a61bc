// The three save files: progress and unlocks, the two best times, and the
// deepest underground stage reached. Each is a run of little-endian u32.
#pragma once
#include "base/common.h"

// A best clear time: the record in seconds and the figures shown for it.
struct BestTime {
    u32 totalSeconds;
    u32 hours;
    u32 minutes;
    u32 seconds;
};
static_assert(sizeof(BestTime) == 16, "BestTime is 16 bytes in sav_2.vrk");

extern BestTime bestCourse;
extern BestTime bestUnderground;

void LoadProgress(void);
void SaveProgress(void);
void LoadBestTimes(void);
void SaveBestTimes(void);
void LoadUndergroundBest(void);
void SaveUndergroundBest(void);

// An interrupted course resumes at the last multiple of 5 (stages 0..29 only).
void RoundToCheckpoint(void);

void RegisterSaveGlobals(void);
