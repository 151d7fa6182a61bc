// Minimal music engine; loading and the scene contract come with the sound work.
#include "sound/music.h"

#include "shell/registry.h"

PlatformObject directMusic;
PlatformObject musicPerformance;
PlatformObject musicLoader;
PlatformObject musicSegments[MUSIC_SLOTS];
u8 musicCount;

u32 InitMusic(void) {
    if (!PlatformOpenMusic()) return 0;
    musicPerformance = directMusic = musicLoader = 1;
    return 1;
}

void ReleaseMusicSystem(void) {
    if (musicPerformance) PlatformCloseMusic();
    musicLoader = musicPerformance = directMusic = 0;
}

u32 LoadMusic(const char*, PlatformObject* slot) {
    ReleaseMusic(slot);
    return 0;
}

void ReleaseMusic(PlatformObject* slot) {
    if (!*slot) return;
    PlatformStopMusic();
    PlatformReleaseMusic(*slot);
    *slot = 0;
}

void RegisterMusicGlobals(void) {
    REG_U32(directMusic);
    REG_U32(musicPerformance);
    REG_U32(musicLoader);
    REG_ARRAY(musicSegments, GLOBAL_U32);
    REG_U8(musicCount);
}
