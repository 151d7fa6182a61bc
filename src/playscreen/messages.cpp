// Sounds at their frames; the full animation comes later.
#include "playscreen/messages.h"

#include "graphics/sprites.h"
#include "play/playstate.h"
#include "sound/effects.h"

namespace {
void Play(u8 slot) { PlayWave(&waveBuffers[slot], 0); }
}  // namespace

void DrawStartMessage(i32 frame) {
    if (frame == 0) Play(PLAY_WAVE_START);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 150.0f, RECT{0, 0, 320, 120});
}

void DrawMissMessage(i32 frame) {
    if (frame == 0) Play(PLAY_WAVE_MISS);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 180.0f, RECT{0, 120, 320, 240});
}

void DrawTimeUpMessage(i32 frame) {
    if (frame == 0) Play(PLAY_WAVE_OHMYGOD);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 120.0f, RECT{0, 240, 320, 480});
}

void DrawClearMessage(i32 frame) {
    if (frame == 0) Play(PLAY_WAVE_CHECKITOUT);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 180.0f, RECT{320, 0, 640, 120});
}

void DrawAllClearMessage(i32 frame) {
    if (frame == ALL_CLEAR_FIRST_FRAME) Play(PLAY_WAVE_ALLCLEAR);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 120.0f, RECT{320, 240, 640, 480});
}
