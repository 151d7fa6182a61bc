#include "playscreen/playfield.h"

#include "base/registry.h"
#include "graphics/sprites.h"
#include "play/playstate.h"
#include "playscreen/effects.h"
#include "playscreen/hud.h"
#include "playscreen/messages.h"
#include "playscreen/panels.h"
#include "playscreen/player.h"

namespace {
const int CELL = 40;
const int BOARD_LEFT = 80;
const int BOARD_TOP = 80;
const u8 SEQUENCE_END = 3;
const u8 trailFrameSequence[5] = {0, 1, 2, 1, SEQUENCE_END};
const u32 TRAIL_FRAME_HOLD = 15;  // a frame changes once the timer exceeds this
const RECT SPARE_CELL = {40, 120, 80, 160};
const RECT GATE_CELL = {80, 40, 120, 80};
const f32 GATE_FADE_STEP = 10.0f;
const RECT WARP_BEAM = {150, 280, 190, 380};
const i32 WARP_BEAM_SPEED = 30;
const f32 WARP_BEAM_DIM = 2.0f;
const i32 WARP_BEAM_TOP = -150;  // the rise ends once the beam's cell top passes this
const i32 WARP_BEAM_LIFT = 50;   // the beam stands this far above its cell

constexpr RECT TrailRect(int frame, int piece) {
    return RECT{CELL * (piece % 4), 2 * CELL * frame + CELL * (piece / 4),
                CELL * (piece % 4) + CELL, 2 * CELL * frame + CELL * (piece / 4) + CELL};
}

#define TRAIL_FRAME_RECTS(f)                                                                 \
    {                                                                                        \
        TrailRect(f, 0), TrailRect(f, 1), TrailRect(f, 2), TrailRect(f, 3), TrailRect(f, 4), \
            TrailRect(f, 5), TrailRect(f, 6)                                                 \
    }
const RECT trailRects[TRAIL_FRAMES][TRAIL_PIECES] = {TRAIL_FRAME_RECTS(0), TRAIL_FRAME_RECTS(1),
                                                     TRAIL_FRAME_RECTS(2)};
#undef TRAIL_FRAME_RECTS

// Drawing state; each drawer resets its own when its trigger flag is 0.
u8 trailStep;
u32 trailTimer;
f32 switchFadeAlpha = 255.0f;
u32 warpBeamPhase;
i32 warpBeamOffset;
f32 warpBeamBrightness = 255.0f;

enum : u32 { WARP_BEAM_RISING = 0, WARP_BEAM_DESCENDING = 1 };

// A start cell from a damaged file may lie anywhere: positions wrap in 32 bits.
i32 CellTop(i32 y) { return (i32)((u32)BOARD_TOP + (u32)CELL * (u32)y); }
f32 CellX(i32 x) { return (f32)(i32)((u32)BOARD_LEFT + (u32)CELL * (u32)x); }
f32 CellY(i32 y) { return (f32)CellTop(y); }

void AdvanceTrailFrame(u32 animate) {
    if (!animate) {
        trailTimer = 0;
        trailStep = 0;
        return;
    }
    trailTimer++;
    if (trailTimer <= TRAIL_FRAME_HOLD) return;
    trailTimer = 0;
    trailStep++;
    if (trailStep >= sizeof trailFrameSequence || trailFrameSequence[trailStep] == SEQUENCE_END) {
        trailStep = 0;
    }
}

// The last warp cell other than the player's, in reading order.
bool FindDepartureWarp(const u8* cells, const i32* playerXY, i32* x, i32* y) {
    bool found = false;
    for (i32 row = 0; row < BOARD_SIZE; row++) {
        for (i32 column = 0; column < BOARD_SIZE; column++) {
            if (cells[column + BOARD_SIZE * row] != TILE_WARP) continue;
            if (column == playerXY[0] && row == playerXY[1]) continue;
            *x = column;
            *y = row;
            found = true;
        }
    }
    return found;
}

// With no other warp on the board the beam rises from the player's cell.
void RiseWarpBeam(const u8* cells, const i32* playerXY, i32* beamX, i32* beamY) {
    warpBeamOffset += WARP_BEAM_SPEED;
    if (warpBeamBrightness > 0.0f) {
        warpBeamBrightness -= WARP_BEAM_DIM;
        if (warpBeamBrightness < 0.0f) warpBeamBrightness = 0.0f;
    }
    FindDepartureWarp(cells, playerXY, beamX, beamY);
}

void DescendWarpBeam(u32& warpAnimating) {
    warpBeamPhase = WARP_BEAM_DESCENDING;
    if (warpBeamOffset > 0) warpBeamOffset -= WARP_BEAM_SPEED;
    if (warpBeamBrightness < 255.0f) {
        warpBeamBrightness += WARP_BEAM_DIM;
        if (warpBeamBrightness > 255.0f) warpBeamBrightness = 255.0f;
    }
    if (warpBeamOffset == 0) warpAnimating = 0;
}

void DrawPlayerState(void) {
    if (!missed && !cleared && !timeUp && !warpAnimating) {
        DrawPlayer(playerX, playerY, facing, walkFrameTable[walkStep % sizeof walkFrameTable]);
        return;
    }
    if (missed || timeUp) DrawPlayerDown(playerX, playerY);
    if (cleared && !playerGone) DrawPlayerCheer(playerX, playerY);
}
}  // namespace

const RECT cellRects[TILE_CODES] = {{0, 0, 40, 40},    {40, 0, 80, 40},    {80, 0, 120, 40},
                                    {120, 0, 160, 40}, {0, 40, 40, 80},    {40, 40, 80, 80},
                                    {80, 40, 120, 80}, {120, 40, 160, 80}, {0, 80, 40, 120},
                                    {40, 80, 80, 120}, {80, 80, 120, 120}, {120, 80, 160, 120},
                                    {0, 120, 40, 160}};

void DrawFullScreen(int textureId) { DrawSprite(textureId, 0.0f, 0.0f, RECT{0, 0, 640, 480}); }

void DrawBoard(const u8* cells, const RECT* rects) {
    for (i32 y = 0; y < BOARD_SIZE; y++) {
        for (i32 x = 0; x < BOARD_SIZE; x++) {
            u8 code = cells[x + BOARD_SIZE * y];
            DrawSprite(TEXTURE_PLAY_CHIP, CellX(x), CellY(y),
                       code < TILE_CODES ? rects[code] : SPARE_CELL);
        }
    }
}

void DrawTrail(const u8* trailCells, u32 animate) {
    AdvanceTrailFrame(animate);
    if (trailStep >= sizeof trailFrameSequence) trailStep = 0;
    u8 frame = trailFrameSequence[trailStep];
    for (i32 y = 0; y < BOARD_SIZE; y++) {
        for (i32 x = 0; x < BOARD_SIZE; x++) {
            u8 piece = trailCells[x + BOARD_SIZE * y];
            if (piece >= TRAIL_PIECES) piece = TRAIL_NONE;
            DrawSprite(TEXTURE_PLAY_WAY, CellX(x), CellY(y), trailRects[frame][piece]);
        }
    }
}

void DrawSwitchEffect(u32& switchEffect, const u8* wallMaskCells) {
    if (!switchEffect) {
        switchFadeAlpha = 255.0f;
        switchEffect = 0;
        return;
    }
    if (switchFadeAlpha > 0.0f) {
        switchFadeAlpha -= GATE_FADE_STEP;
        if (switchFadeAlpha < 0.0f) switchFadeAlpha = 0.0f;
    }
    for (i32 y = 0; y < BOARD_SIZE; y++) {
        for (i32 x = 0; x < BOARD_SIZE; x++) {
            if (wallMaskCells[x + BOARD_SIZE * y] != 1 || switchFadeAlpha < 0.0f) continue;
            SetSpriteColor(((u32)(i32)switchFadeAlpha & 0xFFu) << 24 | 0x00FFFFFFu, 0);
            DrawSprite(TEXTURE_PLAY_CHIP, CellX(x), CellY(y), GATE_CELL);
        }
    }
    if (switchFadeAlpha == 0.0f) {
        switchFadeAlpha = 255.0f;
        switchEffect = 0;
    }
}

void DrawWarpEffect(const u8* cells, const i32* playerXY, u32& warpArrived, u32& warpAnimating) {
    if (!warpArrived) {
        warpBeamPhase = WARP_BEAM_RISING;
        warpBeamBrightness = 255.0f;
        warpBeamOffset = 0;
        return;
    }
    if (!warpAnimating) return;
    i32 beamX = playerXY[0];
    i32 beamY = playerXY[1];
    bool rising = warpBeamPhase == WARP_BEAM_RISING &&
                  (int64_t)CellTop(playerXY[1]) - warpBeamOffset > WARP_BEAM_TOP;
    if (rising) {
        RiseWarpBeam(cells, playerXY, &beamX, &beamY);
    } else {
        DescendWarpBeam(warpAnimating);
    }
    u32 level = (u32)(i32)warpBeamBrightness & 0xFFu;
    SetSpriteColor(0xFF000000u | level << 16 | level << 8 | level, 1);
    DrawSprite(TEXTURE_PLAY_ST, CellX(beamX), CellY(beamY) - (f32)(warpBeamOffset + WARP_BEAM_LIFT),
               WARP_BEAM);
}

void DrawPlayScreen(void) {
    DrawFullScreen(TEXTURE_PLAY_BACKGROUND);
    DrawHud();
    if (stageLoaded || freeSelecting || freePlaying) {
        DrawBoard(board, cellRects);
        DrawTrail(trail, cleared);
        DrawPlayerState();
    } else if (!cleared) {
        // Between stages the trail is not drawn, but it still stands still.
        AdvanceTrailFrame(0);
    }
    if (!pauseOpening) {
        DrawBonusPopup(playerX, playerY, bonusEffect, timeClass);
        DrawPenaltyPopup(playerX, playerY, penaltyEffect, timeClass);
        DrawSwitchEffect(switchEffect, wallMask);
        DrawWarpEffect(board, playerPosition, warpArrived, warpAnimating);
        DrawKeyFlights(keysTaken, playerX, playerY);
    }
    if (freeSelecting) DrawFreeSelectPanel(freeSource);
}

void RegisterPlayScreenGlobals(void) {
    REG_U8(trailStep);
    REG_U32(trailTimer);
    REG_F32(switchFadeAlpha);
    REG_U32(warpBeamPhase);
    REG_I32(warpBeamOffset);
    REG_F32(warpBeamBrightness);
    RegisterHudGlobals();
    RegisterPlayerGlobals();
    RegisterEffectsGlobals();
    RegisterMessagesGlobals();
    RegisterPanelsGlobals();
}
