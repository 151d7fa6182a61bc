// A WAV file loaded into an effect slot as a scene's init loads it, played
// and released; then the RIFF reader walked over every chunk of the file.
#include "fuzz_common.h"
#include "sound/effects.h"
#include "sound/riff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp();
    static bool soundUp = InitSound() != 0;
    if (!soundUp) abort();
    mkdir("wave", 0755);
    fuzz::WriteFile("wave/fuzz.wav", data, size);

    PlatformObject slot = 0;
    if (LoadWave("wave\\fuzz.wav", &slot)) {
        SetWaveVolume(&slot, SCENE_WAVE_VOLUME);
        PlayWave(&slot, 0);
    }
    ReleaseWave(&slot);

    // Looking for a chunk that no WAV holds ascends over every other one.
    RiffReader reader;
    if (RiffOpen(&reader, "wave\\fuzz.wav")) {
        RiffChunk form, chunk;
        while (RiffFindForm(&reader, &form, RiffCode('W', 'A', 'V', 'E'))) {
            if (RiffFindChunk(&reader, &chunk, &form, RiffCode('f', 'm', 't', ' '))) {
                u8 bytes[32];
                RiffRead(&reader, bytes, sizeof bytes);
                RiffAscend(&reader, &chunk);
            }
            RiffFindChunk(&reader, &chunk, &form, RiffCode('n', 'o', 'n', 'e'));
            if (!RiffAscend(&reader, &form)) break;
        }
        RiffClose(&reader);
    }
    return 0;
}
