// Shared by the fuzz targets: every target writes its input to the file the
// game reads and calls the game's own loader on the headless backend, inside
// a scratch directory of its own that is removed at exit.
#pragma once
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics/display.h"
#include "input/input.h"
#include "platform/headless.h"
#include "play/playstate.h"
#include "scenes/wipe.h"
#include "shell/shell.h"
#include "../play_reset.h"

namespace fuzz {

inline char scratch[64];

inline int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return remove(path);
}

inline void RemoveScratch(void) {
    if (scratch[0]) nftw(scratch, RemoveEntry, 8, FTW_DEPTH | FTW_PHYS);
}

// Once per process: scratch directory, virtual clock, the display and fonts
// (draw calls are recorded, nothing is rasterised).
inline void SetUp(void) {
    if (scratch[0]) return;
    // Saves sync to disk; in memory that costs nothing, so the runs stay fast.
    struct stat shm;
    bool inMemory =
        stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) && access("/dev/shm", W_OK) == 0;
    snprintf(scratch, sizeof scratch, "%s/ossmire-fuzz-XXXXXX", inMemory ? "/dev/shm" : "/tmp");
    if (!mkdtemp(scratch) || chdir(scratch) != 0) abort();
    mkdir("EditMap", 0755);
    atexit(RemoveScratch);
    HeadlessReset(100000);
    HeadlessSetTrace(0, nullptr);
    if (InitDisplay(1) != 0) abort();
}

inline void WriteFile(const char* path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path, "wb");
    if (!f) abort();
    if (size && fwrite(data, 1, size, f) != size) abort();
    fclose(f);
}

// Input bytes as held buttons, one byte a frame: bit 0 up, 1 down, 2 left,
// 3 right, 4 Z, 5 X, 6 left mouse button, 7 right mouse button.
inline void HoldButtons(uint8_t bits) {
    static const int KEYS[8] = {38, 40, 37, 39, 'Z', 'X', 1, 2};
    for (int i = 0; i < 8; i++) HeadlessSetKey(KEYS[i], (bits >> i) & 1);
}

// One frame of the scene `sceneId` names, as the message loop renders it.
inline void Frame(uint8_t buttons) {
    HoldButtons(buttons);
    HeadlessSetTime(HeadlessTime() + 16);
    RunScene();
}

// Enters a scene at its run phase with no wipe in progress.
inline void EnterScene(u8 scene) {
    sceneId = scene;
    for (u8& phase : scenePhase) phase = SCENE_PHASE_INIT;
    scenePhase[scene] = SCENE_PHASE_RUN;
    wipeActive = wipeCovered = 0;
    wipeX = -640;
}

// A fresh play state in the mode given, with no sequence running.
inline void ResetPlay(u32 underground, u32 rule, u32 free) {
    ResetPlayState();
    undergroundMode = underground;
    ruleMode = rule;
    freeMode = free;
}

}  // namespace fuzz
