// Effects and music over SDL_mixer. Each effect object owns one mixer channel,
// so restarting it cuts its previous play while other effects keep mixing.
// Without a usable audio device the game runs silent: objects still load and
// keep their data, nothing is heard, and one line on stderr says why.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/launch.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {
const int AUDIO_RATE = 44100;
const int AUDIO_CHANNELS = 2;
const int AUDIO_CHUNK_FRAMES = 1024;
const int WAVE_OBJECTS = 48;  // effects alive at once; each is also its channel
const int MUSIC_OBJECTS = 16;
const uint32_t MUSIC_FOREVER = 10000;  // repeats at or above this never end
const char* const DEFAULT_SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
const char* const GAME_SOUNDFONT = "midi/ossmire.sf2";

struct Wave {
    int used;
    PlatformWaveFormat format;
    uint32_t bytes;
    uint8_t* data;       // the PCM as the file holds it
    uint8_t* converted;  // the device's format, owned here
    Mix_Chunk* chunk;
    int volume;  // 0..MIX_MAX_VOLUME
};

struct Music {
    int used;
    uint8_t* file;  // the whole MIDI file; the mixer reads from it while playing
    Mix_Music* music;
};

Wave waves[WAVE_OBJECTS];
Music tunes[MUSIC_OBJECTS];
int audioOpen;  // the device is open (else silent)
int audioSubsystem;
int deviceRate;
Uint16 deviceFormat;
int deviceChannels;
int midiWarned;

Wave* WaveAt(PlatformObject handle) {
    if (handle < 1 || handle > (PlatformObject)WAVE_OBJECTS) return nullptr;
    Wave* wave = &waves[handle - 1];
    return wave->used ? wave : nullptr;
}

int Channel(PlatformObject handle) { return (int)handle - 1; }

Music* MusicAt(PlatformObject handle) {
    if (handle < 1 || handle > (PlatformObject)MUSIC_OBJECTS) return nullptr;
    Music* tune = &tunes[handle - 1];
    return tune->used ? tune : nullptr;
}

void FreeChunk(Wave* wave) {
    if (wave->chunk) Mix_FreeChunk(wave->chunk);
    free(wave->converted);
    wave->chunk = nullptr;
    wave->converted = nullptr;
}

// Converts the file's PCM to the device format into a chunk of its own.
void BuildChunk(Wave* wave) {
    SDL_AudioFormat source = wave->format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    uint32_t frame = wave->format.blockAlign ? wave->format.blockAlign : 1;
    uint32_t length = wave->bytes - wave->bytes % frame;
    SDL_AudioCVT cvt;
    if (length == 0 || SDL_BuildAudioCVT(&cvt, source, (Uint8)wave->format.channels,
                                         (int)wave->format.samplesPerSec, deviceFormat,
                                         (Uint8)deviceChannels, deviceRate) < 0) {
        return;
    }
    cvt.len = (int)length;
    cvt.buf = (Uint8*)calloc((size_t)length * (size_t)cvt.len_mult + 16, 1);
    if (!cvt.buf) return;
    memcpy(cvt.buf, wave->data, length);
    if (SDL_ConvertAudio(&cvt) < 0) {
        free(cvt.buf);
        return;
    }
    wave->converted = cvt.buf;
    wave->chunk = Mix_QuickLoad_RAW(cvt.buf, (Uint32)cvt.len_cvt);
    if (wave->chunk) Mix_Volume(Channel((PlatformObject)(wave - waves + 1)), wave->volume);
}

// Reads a whole file through the game's file layer; null when it is missing.
uint8_t* ReadWholeFile(const char* path, uint32_t* size) {
    int file = PlatformOpenFile(path, PLATFORM_FILE_PROBE);
    if (file == PLATFORM_INVALID_FILE) return nullptr;
    uint32_t capacity = 1 << 16;
    uint32_t used = 0;
    uint8_t* data = (uint8_t*)malloc(capacity);
    while (data) {
        uint32_t got = PlatformReadFile(file, data + used, capacity - used);
        used += got;
        if (used < capacity) break;
        uint8_t* grown = (uint8_t*)realloc(data, (size_t)capacity * 2);
        if (!grown) free(data);
        data = grown;
        capacity *= 2;
    }
    PlatformCloseFile(file);
    *size = used;
    return data;
}

bool Readable(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file) fclose(file);
    return file != nullptr;
}

// The build cuts the General MIDI bank down to the instruments our tunes
// play (a third of its size, all of it held in memory); without that copy
// the whole bank serves.
void ChooseSoundFont(void) {
    if (getenv("SDL_SOUNDFONTS")) return;
    char gameFont[1024];
    if (!PlatformMapReadPath(GAME_SOUNDFONT, gameFont, sizeof gameFont)) gameFont[0] = '\0';
    if (Readable(gameFont)) {
        Mix_SetSoundFonts(gameFont);
    } else if (Readable(DEFAULT_SOUNDFONT)) {
        Mix_SetSoundFonts(DEFAULT_SOUNDFONT);
    }
}
// The player's volumes scale the whole mix, over the levels the game sets;
// at 100 the mixer runs at full scale, exactly as without them.
int musicPercent = 100;
int effectsPercent = 100;

void ApplyVolumes(void) {
    Mix_VolumeMusic(MIX_MAX_VOLUME * musicPercent / 100);
    Mix_MasterVolume(MIX_MAX_VOLUME * effectsPercent / 100);
}
}  // namespace

void PlatformSetVolumes(int music, int effects) {
    musicPercent = music < 0 ? 0 : music > 100 ? 100 : music;
    effectsPercent = effects < 0 ? 0 : effects > 100 ? 100 : effects;
    if (audioOpen) ApplyVolumes();
}

// ---- Sound effects -----------------------------------------------------------

int PlatformOpenAudio(void) {
    if (audioOpen) return 1;
    audioSubsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (audioSubsystem &&
        Mix_OpenAudio(AUDIO_RATE, AUDIO_S16SYS, AUDIO_CHANNELS, AUDIO_CHUNK_FRAMES) == 0) {
        audioOpen = 1;
        Mix_QuerySpec(&deviceRate, &deviceFormat, &deviceChannels);
        Mix_AllocateChannels(WAVE_OBJECTS);
        ApplyVolumes();
        return 1;
    }
    fprintf(stderr, "ossmire: no audio device (%s); playing without sound\n", SDL_GetError());
    return 1;
}

void PlatformCloseAudio(void) {
    for (int i = 0; i < WAVE_OBJECTS; i++) PlatformReleaseWave((PlatformObject)(i + 1));
    if (audioOpen) Mix_CloseAudio();
    if (audioSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioOpen = 0;
    audioSubsystem = 0;
}

PlatformObject PlatformCreateWave(const PlatformWaveFormat* format, uint32_t bytes) {
    if (format->formatTag != 1 || (format->bitsPerSample != 8 && format->bitsPerSample != 16) ||
        format->channels < 1 || format->channels > 2 || bytes == 0) {
        return 0;
    }
    for (int i = 0; i < WAVE_OBJECTS; i++) {
        if (waves[i].used) continue;
        uint8_t* data = (uint8_t*)calloc(bytes, 1);
        if (!data) return 0;
        waves[i] = Wave{1, *format, bytes, data, nullptr, nullptr, MIX_MAX_VOLUME};
        return (PlatformObject)(i + 1);
    }
    return 0;
}

uint8_t* PlatformWaveData(PlatformObject handle) {
    Wave* wave = WaveAt(handle);
    return wave ? wave->data : nullptr;
}

void PlatformWaveReady(PlatformObject handle) {
    Wave* wave = WaveAt(handle);
    if (!wave || !audioOpen) return;
    Mix_HaltChannel(Channel(handle));
    FreeChunk(wave);
    BuildChunk(wave);
}

void PlatformPlayWave(PlatformObject handle, uint32_t loop) {
    Wave* wave = WaveAt(handle);
    if (!wave || !wave->chunk) return;
    Mix_HaltChannel(Channel(handle));
    Mix_PlayChannel(Channel(handle), wave->chunk, loop ? -1 : 0);
}

void PlatformStopWave(PlatformObject handle) {
    Wave* wave = WaveAt(handle);
    if (wave && audioOpen) Mix_HaltChannel(Channel(handle));
}

void PlatformSetWaveVolume(PlatformObject handle, int32_t hundredthsOfDb) {
    Wave* wave = WaveAt(handle);
    if (!wave) return;
    if (hundredthsOfDb > 0) hundredthsOfDb = 0;
    double gain = pow(10.0, hundredthsOfDb / 2000.0);
    wave->volume = (int)lround(gain * MIX_MAX_VOLUME);
    if (audioOpen) Mix_Volume(Channel(handle), wave->volume);
}

void PlatformReleaseWave(PlatformObject handle) {
    Wave* wave = WaveAt(handle);
    if (!wave) return;
    if (audioOpen) Mix_HaltChannel(Channel(handle));
    FreeChunk(wave);
    free(wave->data);
    *wave = Wave{};
}

// ---- Music -------------------------------------------------------------------

int PlatformOpenMusic(void) {
    ChooseSoundFont();
    if (audioOpen) Mix_Init(MIX_INIT_MID);
    return 1;
}

void PlatformCloseMusic(void) {
    for (int i = 0; i < MUSIC_OBJECTS; i++) PlatformReleaseMusic((PlatformObject)(i + 1));
    if (audioOpen) Mix_Quit();
}

PlatformObject PlatformLoadMusic(const char* path) {
    uint32_t size = 0;
    uint8_t* file = ReadWholeFile(path, &size);
    if (!file) return 0;
    int slot = -1;
    for (int i = 0; i < MUSIC_OBJECTS && slot < 0; i++) {
        if (!tunes[i].used) slot = i;
    }
    if (size < 14 || memcmp(file, "MThd", 4) != 0 || slot < 0) {
        free(file);
        return 0;
    }
    Mix_Music* music = nullptr;
    if (audioOpen) music = Mix_LoadMUS_RW(SDL_RWFromConstMem(file, (int)size), 1);
    if (audioOpen && !music && !midiWarned) {
        midiWarned = 1;
        fprintf(stderr, "ossmire: cannot play MIDI (%s); music stays silent\n", SDL_GetError());
    }
    tunes[slot] = Music{1, file, music};
    return (PlatformObject)(slot + 1);
}

void PlatformPlayMusic(PlatformObject handle, uint32_t repeats) {
    Music* tune = MusicAt(handle);
    if (!tune || !tune->music) return;
    int loops = repeats >= MUSIC_FOREVER ? -1 : (int)repeats + 1;
    Mix_PlayMusic(tune->music, loops);
}

void PlatformStopMusic(void) {
    if (audioOpen) Mix_HaltMusic();
}

void PlatformReleaseMusic(PlatformObject handle) {
    Music* tune = MusicAt(handle);
    if (!tune) return;
    if (tune->music) Mix_FreeMusic(tune->music);
    free(tune->file);
    *tune = Music{};
}
