// Music on the platform's MIDI player. The player resumes a halted tune where
// it stopped, so every start goes through a fresh load (each scene init loads).
#include "sound/music.h"

#include "base/registry.h"
#include "base/services.h"

PlatformObject directMusic;
PlatformObject musicPerformance;
PlatformObject musicLoader;
PlatformObject musicSegments[MUSIC_SLOTS];
u8 musicCount;

namespace {
int SlotIndex(const PlatformObject* slot) {
    if (slot < musicSegments || slot >= musicSegments + MUSIC_SLOTS) return -1;
    return (int)(slot - musicSegments);
}

void StopAllMusic(void) {
    PlatformStopMusic();
    if (PlatformTracing(TRACE_MUSIC)) PlatformTrace(TRACE_MUSIC, "music stop");
}
}  // namespace

u32 InitMusic(void) {
    // The player stands for COM, the performance with its port and the loader;
    // only bringing it up can fail.
    if (!PlatformOpenMusic()) {
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("パフォーマンスオブジェクトの生成に失敗"),
                    "CoCreateInstance");
        return 0;
    }
    musicPerformance = 1;
    directMusic = 1;
    musicLoader = 1;
    return 1;
}

void ReleaseMusicSystem(void) {
    musicLoader = 0;
    if (musicPerformance) PlatformCloseMusic();
    musicPerformance = 0;
    directMusic = 0;
}

u32 LoadMusic(const char* path, PlatformObject* slot) {
    ReleaseMusic(slot);
    *slot = PlatformLoadMusic(path);
    // A second try, as the loader gets with the byte-wise wide name; here it
    // only covers a passing failure of the first read.
    if (!*slot) *slot = PlatformLoadMusic(path);
    if (PlatformTracing(TRACE_MUSIC)) {
        PlatformTrace(TRACE_MUSIC, "music load slot=%d path=%s ok=%d", SlotIndex(slot), path,
                      *slot ? 1 : 0);
    }
    if (!*slot) {
        ShowMessage(MESSAGE_OWNER_MAIN, Sjis("セグメントの生成に失敗"), "lpDMLoader->GetObject");
        return 0;
    }
    return 1;
}

void ReleaseMusic(PlatformObject* slot) {
    if (!*slot) return;
    StopAllMusic();
    PlatformReleaseMusic(*slot);
    *slot = 0;
    if (PlatformTracing(TRACE_MUSIC)) {
        PlatformTrace(TRACE_MUSIC, "music release slot=%d", SlotIndex(slot));
    }
}

void PlayMusic(PlatformObject* slot, u32 repeats) {
    if (!*slot) return;
    PlatformPlayMusic(*slot, repeats);
    if (PlatformTracing(TRACE_MUSIC)) {
        PlatformTrace(TRACE_MUSIC, "music play slot=%d repeats=%u", SlotIndex(slot),
                      (unsigned)repeats);
    }
}

void LoadSceneMusic(const char* path) {
    musicCount = 1;
    if (!LoadMusic(path, &musicSegments[0])) PlatformDestroyWindow(mainWindow);
}

void PlaySceneMusic(void) { PlayMusic(&musicSegments[0], SCENE_MUSIC_REPEATS); }

void ReleaseSceneMusic(void) {
    for (int i = 0; i < musicCount && i < MUSIC_SLOTS; i++) ReleaseMusic(&musicSegments[i]);
    musicCount = 0;
}

void RegisterMusicGlobals(void) {
    REG_U32(directMusic);
    REG_U32(musicPerformance);
    REG_U32(musicLoader);
    REG_ARRAY(musicSegments, GLOBAL_U32);
    REG_U8(musicCount);
}
