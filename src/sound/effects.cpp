// Minimal effects engine; the WAV reader and the scene contract come with the sound work.
#include "sound/effects.h"

#include "shell/registry.h"

PlatformObject directSound;
PlatformObject primaryBuffer;
PlatformObject waveBuffers[WAVE_SLOTS];
u8 waveCount;

u32 InitSound(void) {
    if (!PlatformOpenAudio()) return 0;
    directSound = 1;
    primaryBuffer = 1;
    return 1;
}

void ReleaseSound(void) {
    primaryBuffer = 0;
    if (directSound) PlatformCloseAudio();
    directSound = 0;
}

u32 LoadWave(const char*, PlatformObject* slot) {
    ReleaseWave(slot);
    return 0;
}

void ReleaseWave(PlatformObject* slot) {
    if (!*slot) return;
    PlatformStopWave(*slot);
    PlatformReleaseWave(*slot);
    *slot = 0;
}

void PlayWave(PlatformObject* slot, u32 flags) {
    if (*slot) PlatformPlayWave(*slot, flags);
}

void RegisterSoundGlobals(void) {
    REG_U32(directSound);
    REG_U32(primaryBuffer);
    REG_ARRAY(waveBuffers, GLOBAL_U32);
    REG_U8(waveCount);
}
