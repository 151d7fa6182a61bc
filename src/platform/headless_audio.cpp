// Effects and music for the simulator and the tests: no device, nothing is
// heard. Objects are counted handles; an effect's data buffer is real memory
// so loading fills it exactly as in the game, and a tune must be a readable
// MIDI file as the game's player requires.
#include "platform/headless_audio.h"

#include <cstdlib>
#include <cstring>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {
const int WAVE_OBJECTS = 48;
const int MUSIC_OBJECTS = 16;

struct Wave {
    int used;
    uint32_t bytes;
    uint8_t* data;
};

Wave waves[WAVE_OBJECTS];
int tunes[MUSIC_OBJECTS];

Wave* WaveAt(PlatformObject handle) {
    if (handle < 1 || handle > (PlatformObject)WAVE_OBJECTS) return nullptr;
    Wave* wave = &waves[handle - 1];
    return wave->used ? wave : nullptr;
}

int MidiReadable(const char* path) {
    int file = PlatformOpenFile(path, PLATFORM_FILE_PROBE);
    if (file == PLATFORM_INVALID_FILE) return 0;
    char header[14];
    uint32_t got = PlatformReadFile(file, header, sizeof header);
    PlatformCloseFile(file);
    return got == sizeof header && memcmp(header, "MThd", 4) == 0;
}
}  // namespace

int PlatformOpenAudio(void) { return (HeadlessFailures() & HEADLESS_FAIL_AUDIO) ? 0 : 1; }

void PlatformCloseAudio(void) {
    for (int i = 0; i < WAVE_OBJECTS; i++) PlatformReleaseWave((PlatformObject)(i + 1));
}

PlatformObject PlatformCreateWave(const PlatformWaveFormat* format, uint32_t bytes) {
    if (format->formatTag != 1 || bytes == 0) return 0;
    for (int i = 0; i < WAVE_OBJECTS; i++) {
        if (waves[i].used) continue;
        uint8_t* data = (uint8_t*)calloc(bytes, 1);
        if (!data) return 0;
        waves[i] = Wave{1, bytes, data};
        return (PlatformObject)(i + 1);
    }
    return 0;
}

uint8_t* PlatformWaveData(PlatformObject handle) {
    Wave* wave = WaveAt(handle);
    return wave ? wave->data : nullptr;
}

void PlatformWaveReady(PlatformObject) {}
void PlatformPlayWave(PlatformObject, uint32_t) {}
void PlatformStopWave(PlatformObject) {}
void PlatformSetWaveVolume(PlatformObject, int32_t) {}

void PlatformReleaseWave(PlatformObject handle) {
    Wave* wave = WaveAt(handle);
    if (!wave) return;
    free(wave->data);
    *wave = Wave{};
}

int PlatformOpenMusic(void) { return (HeadlessFailures() & HEADLESS_FAIL_MUSIC) ? 0 : 1; }

void PlatformCloseMusic(void) {
    for (int i = 0; i < MUSIC_OBJECTS; i++) tunes[i] = 0;
}

PlatformObject PlatformLoadMusic(const char* path) {
    if (!MidiReadable(path)) return 0;
    for (int i = 0; i < MUSIC_OBJECTS; i++) {
        if (tunes[i]) continue;
        tunes[i] = 1;
        return (PlatformObject)(i + 1);
    }
    return 0;
}

void PlatformPlayMusic(PlatformObject, uint32_t) {}
void PlatformStopMusic(void) {}

void PlatformReleaseMusic(PlatformObject handle) {
    if (handle >= 1 && handle <= (PlatformObject)MUSIC_OBJECTS) tunes[handle - 1] = 0;
}

int HeadlessWaveObjects(void) {
    int count = 0;
    for (int i = 0; i < WAVE_OBJECTS; i++) count += waves[i].used;
    return count;
}

int HeadlessMusicObjects(void) {
    int count = 0;
    for (int i = 0; i < MUSIC_OBJECTS; i++) count += tunes[i];
    return count;
}
