// Music: one standard MIDI tune per scene, repeated practically for ever.
#pragma once
#include "base/common.h"
#include "platform/platform.h"

const int MUSIC_SLOTS = 10;
const u32 SCENE_MUSIC_REPEATS = 10000;

extern PlatformObject directMusic;
extern PlatformObject musicPerformance;
extern PlatformObject musicLoader;
extern PlatformObject musicSegments[MUSIC_SLOTS];
extern u8 musicCount;

u32 InitMusic(void);
void ReleaseMusicSystem(void);
u32 LoadMusic(const char* path, PlatformObject* slot);
void ReleaseMusic(PlatformObject* slot);
// Starts the slot's tune from its beginning, `repeats` times over.
void PlayMusic(PlatformObject* slot, u32 repeats);

// The scene contract: init loads the scene's tune into slot 0 (a failure
// destroys the main window) after its effects, and starts it last, once the
// effects are turned down; exit stops and releases it.
void LoadSceneMusic(const char* path);
void PlaySceneMusic(void);
void ReleaseSceneMusic(void);

// Each scene's tune.
inline const char* const TITLE_MUSIC = "midi\\vell.mid";
inline const char* const STORY_MUSIC = "midi\\bar.mid";
inline const char* const PLAY_MUSIC = "midi\\beat.mid";
inline const char* const GAMEOVER_MUSIC = "midi\\gameover.mid";
inline const char* const ENDING_MUSIC = "midi\\end.mid";
inline const char* const EDITOR_MUSIC = "midi\\edit.mid";

void RegisterMusicGlobals(void);
