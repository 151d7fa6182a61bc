// The three save files from the same bytes (each loader reads its own
// length of them), the checkpoint rule, the title's menu and the ending that
// show what was read, then a save and a reload that must give back the same
// values.
#include "fuzz_common.h"
#include "save/save.h"
#include "scenes/ending.h"
#include "scenes/title.h"

namespace {
struct Snapshot {
    u32 progress[7];
    BestTime course, underground;
    u32 deepest;
};

Snapshot Take(void) {
    return Snapshot{{stageNumber, storyChapter, courseSeconds, undergroundSeconds, courseCleared,
                     extrasUnlocked, undergroundCleared},
                    bestCourse,
                    bestUnderground,
                    undergroundBest};
}

void LoadAll(void) {
    LoadProgress();
    LoadBestTimes();
    LoadUndergroundBest();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp();
    const char* const files[3] = {"sav_1.vrk", "sav_2.vrk", "sav_3.vrk"};
    for (const char* name : files) fuzz::WriteFile(name, data, size);
    LoadAll();
    RoundToCheckpoint();

    titleDataLoaded = 0;
    titleMenuActive = 1;
    titleStartPressed = 1;
    fuzz::EnterScene(SCENE_TITLE);
    // Down through every entry, so each one's figures are drawn.
    for (int f = 0; f < 16; f++) fuzz::Frame(f & 1 ? 0 : 0x02);

    for (u32 underground = 0; underground < 2; underground++) {
        undergroundMode = underground;
        endingStarted = 0;
        endingTimer = 0;
        fuzz::EnterScene(SCENE_ENDING);
        for (int f = 0; f < 8; f++) fuzz::Frame(0);
    }

    for (const char* name : files) fuzz::WriteFile(name, data, size);
    LoadAll();
    Snapshot before = Take();
    SaveProgress();
    SaveBestTimes();
    SaveUndergroundBest();
    LoadAll();
    Snapshot after = Take();
    if (memcmp(&before, &after, sizeof before) != 0) abort();
    return 0;
}
