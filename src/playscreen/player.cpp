#include "playscreen/player.h"

#include "base/registry.h"
#include "graphics/sprites.h"
#include "play/playstate.h"
#include "sound/effects.h"

namespace {
const int CELL = 40;
const int FACINGS = 4;
const int WALK_FRAMES = 3;
const RECT FALLEN = {0, 120, 40, 160};
const u8 SEQUENCE_END = 3;
const u8 cheerFrameSequence[5] = {0, 1, 2, 1, SEQUENCE_END};
const u32 CHEER_HOLD = 10;  // a pose changes once the timer exceeds this
const i32 BEAM_GROW_FRAMES = 40;
const i32 BEAM_NARROW_FROM = 45;
const i32 BEAM_NARROW_UNTIL = 85;
const i32 BEAM_SOURCE_CENTRE = 160;  // of the light column in st.bmp
const i32 BEAM_SOURCE_BOTTOM = 280;

// Drawing state; nothing outside this file touches it.
u8 cheerStep;
u32 cheerTimer;
i32 clearBeamAge;
i32 clearBeamWidth;
i32 clearBeamHeight;

// A start cell from a damaged file may lie anywhere: positions wrap in 32 bits.
f32 CellX(i32 x) { return (f32)(i32)(80u + (u32)CELL * (u32)x); }
f32 CellY(i32 y) { return (f32)(i32)(80u + (u32)CELL * (u32)y); }

RECT PlayerFrameRect(u8 facing, u8 walkFrame) {
    if (facing >= FACINGS) facing = DIRECTION_UP;
    if (walkFrame >= WALK_FRAMES) walkFrame = 0;
    i32 left = CELL * facing;
    i32 top = CELL * walkFrame;
    return RECT{left, top, left + CELL, top + CELL};
}

RECT CheerRect(u8 pose) {
    i32 left = CELL + CELL * pose;
    return RECT{left, 120, left + CELL, 160};
}

void AdvanceClearBeam(void) {
    clearBeamAge++;
    if (clearBeamAge <= BEAM_GROW_FRAMES) {
        clearBeamWidth += 2;
        clearBeamHeight += 3;
    }
    if (clearBeamAge > BEAM_NARROW_FROM && clearBeamAge <= BEAM_NARROW_UNTIL) clearBeamWidth -= 2;
}
}  // namespace

void DrawPlayer(i32 x, i32 y, u8 facing, u8 walkFrame) {
    DrawSprite(TEXTURE_PLAY_CHAR, CellX(x), CellY(y), PlayerFrameRect(facing, walkFrame));
}

void DrawPlayerDown(i32 x, i32 y) { DrawSprite(TEXTURE_PLAY_CHAR, CellX(x), CellY(y), FALLEN); }

void DrawPlayerCheer(i32 x, i32 y) {
    cheerTimer++;
    if (cheerTimer > CHEER_HOLD) {
        cheerTimer = 0;
        cheerStep++;
        if (cheerStep >= sizeof cheerFrameSequence ||
            cheerFrameSequence[cheerStep] == SEQUENCE_END) {
            cheerStep = 0;
        }
    }
    if (cheerStep >= sizeof cheerFrameSequence) cheerStep = 0;
    DrawSprite(TEXTURE_PLAY_CHAR, CellX(x), CellY(y), CheerRect(cheerFrameSequence[cheerStep]));
}

void DrawClearBeam(i32 x, i32 y, i32 frame) {
    if (frame == CLEAR_BEAM_START || frame == ALL_CLEAR_BEAM_START) {
        PlayWave(&waveBuffers[PLAY_WAVE_FLASH], 0);
        clearBeamAge = clearBeamWidth = clearBeamHeight = 0;
    }
    AdvanceClearBeam();
    i32 half = clearBeamWidth / 2;
    RECT source = {BEAM_SOURCE_CENTRE - half, BEAM_SOURCE_BOTTOM - clearBeamHeight,
                   BEAM_SOURCE_CENTRE - half + clearBeamWidth, BEAM_SOURCE_BOTTOM};
    SetSpriteColor(0xFFFFFFFFu, 1);
    DrawSprite(TEXTURE_PLAY_ST, CellX(x) + (f32)(20 - half), CellY(y) + (f32)(40 - clearBeamHeight),
               source);
}

void RegisterPlayerGlobals(void) {
    REG_U8(cheerStep);
    REG_U32(cheerTimer);
    REG_I32(clearBeamAge);
    REG_I32(clearBeamWidth);
    REG_I32(clearBeamHeight);
}
