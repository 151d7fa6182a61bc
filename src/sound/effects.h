// Sound effects: PCM WAV files loaded whole into per-scene slots.
#pragma once
#include "platform/platform.h"
#include "shell/common.h"

const int WAVE_SLOTS = 20;

extern PlatformObject directSound;
extern PlatformObject primaryBuffer;
extern PlatformObject waveBuffers[WAVE_SLOTS];
extern u8 waveCount;

u32 InitSound(void);
void ReleaseSound(void);
u32 LoadWave(const char* path, PlatformObject* slot);
void ReleaseWave(PlatformObject* slot);
void PlayWave(PlatformObject* slot, u32 flags);

void RegisterSoundGlobals(void);
