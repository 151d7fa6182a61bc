// Sound effects: PCM WAV files loaded whole into per-scene slots.
#pragma once
#include <cstddef>

#include "base/common.h"
#include "platform/platform.h"

const int WAVE_SLOTS = 20;
// Every effect is played this far below full volume (hundredths of a dB).
const i32 SCENE_WAVE_VOLUME = -800;

extern PlatformObject directSound;
extern PlatformObject primaryBuffer;
extern PlatformObject waveBuffers[WAVE_SLOTS];
extern u8 waveCount;

u32 InitSound(void);
void ReleaseSound(void);
u32 LoadWave(const char* path, PlatformObject* slot);
void ReleaseWave(PlatformObject* slot);
void PlayWave(PlatformObject* slot, u32 flags);
void SetWaveVolume(PlatformObject* slot, i32 hundredthsOfDb);

// The scene contract: a scene's init loads its list into slots 0.. (a failed
// load destroys the main window and the rest still load), then its tune, and
// only then turns each loaded slot down; its exit releases them all.
void LoadSceneWaves(const char* const* list, u8 count);
void TurnDownSceneWaves(void);
void ReleaseSceneWaves(void);

// Each scene's effects in slot order.
inline const char* const TITLE_WAVES[] = {"wave\\cursor.wav", "wave\\enter.wav"};
inline const char* const STORY_WAVES[] = {"wave\\cursor.wav", "wave\\enter.wav"};
inline const char* const PLAY_WAVES[] = {
    "wave\\walk.wav",    "wave\\miss.wav",  "wave\\delete.wav", "wave\\cursor.wav",
    "wave\\retray.wav",  "wave\\get.wav",   "wave\\get2.wav",   "wave\\ohmygod.wav",
    "wave\\flash.wav",   "wave\\start.wav", "wave\\letsgo.wav", "wave\\checkitout.wav",
    "wave\\allclear.wav"};
inline const char* const GAMEOVER_WAVES[] = {"wave\\enter2.wav"};
inline const char* const ENDING_WAVES[] = {"wave\\up.wav", "wave\\enter2.wav"};

// A scene passes its whole list: LoadSceneWaves(PLAY_WAVES).
template <size_t N>
void LoadSceneWaves(const char* const (&list)[N]) {
    static_assert(N <= WAVE_SLOTS, "a scene has at most WAVE_SLOTS effects");
    LoadSceneWaves(list, (u8)N);
}

// The largest data chunk accepted: no effect comes near it, so anything
// bigger is a damaged header, refused as the sound device would refuse it.
const u32 WAVE_MAX_BYTES = 16u << 20;
// The smallest buffer the sound device creates.
const u32 WAVE_MIN_BYTES = 4;

void RegisterSoundGlobals(void);
