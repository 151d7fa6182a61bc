// Music: one standard MIDI tune per scene, repeated practically for ever.
#pragma once
#include "platform/platform.h"
#include "shell/common.h"

const int MUSIC_SLOTS = 10;

extern PlatformObject directMusic;
extern PlatformObject musicPerformance;
extern PlatformObject musicLoader;
extern PlatformObject musicSegments[MUSIC_SLOTS];
extern u8 musicCount;

u32 InitMusic(void);
void ReleaseMusicSystem(void);
u32 LoadMusic(const char* path, PlatformObject* slot);
void ReleaseMusic(PlatformObject* slot);

void RegisterMusicGlobals(void);
