// Plays an effect and a tune through the game's own sound code and the real
// mixer for a while, then shuts down: with SDL's disk driver the mixed output
// lands in a file that the sound check reads back.
//
//   ossmire-audio-check WAVE MIDI MILLISECONDS   (game paths, '\' separators)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "sound/effects.h"
#include "sound/music.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s WAVE MIDI MILLISECONDS\n", argv[0]);
        return 2;
    }
    if (!InitSound() || !InitMusic()) return 1;
    const char* waves[] = {argv[1]};
    LoadSceneWaves(waves);
    LoadSceneMusic(argv[2]);
    TurnDownSceneWaves();
    PlaySceneMusic();
    int ok = waveBuffers[0] && musicSegments[0];
    long total = atol(argv[3]);
    for (long ms = 0; ms < total && ok; ms += 250) {
        if (ms % 1000 == 0) PlayWave(&waveBuffers[0], 0);
        usleep(250 * 1000);
    }
    ReleaseSceneMusic();
    ReleaseSceneWaves();
    ReleaseMusicSystem();
    ReleaseSound();
    return ok ? 0 : 1;
}
