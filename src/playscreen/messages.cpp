#include "playscreen/messages.h"

#include "base/registry.h"
#include "graphics/sprites.h"
#include "play/playstate.h"
#include "sound/effects.h"

namespace {
const RECT START_PICTURE = {0, 0, 320, 120};
const RECT CLEAR_PICTURE = {320, 0, 640, 120};
const RECT MISS_PICTURE = {0, 120, 320, 240};
const RECT TIME_UP_PICTURE = {0, 240, 320, 480};
const RECT ALL_CLEAR_PICTURE = {320, 240, 640, 480};
const RECT FULL_SCREEN = {0, 0, 640, 480};

const i32 START_GROW_UNTIL = 15;  // frames below this spin in
const i32 START_HOLD_LAST = 74;   // frames above this spin on
const f32 START_GROWTH = 1.0f / 15.0f;
const f32 START_LEAVE_GROWTH = 2.0f / 15.0f;
const f32 START_TURN = 24.0f;

const i32 MISS_GROW_UNTIL = 25;
const i32 MISS_HOLD_LAST = 80;
const f32 MISS_GROWTH = 0.05f;
const f32 MISS_FADE_STEP = 5.0f;

const f32 TIME_UP_FADE_STEP = 2.5f;
const f32 TIME_UP_FIRST_SCALE = 4.0f;
const f32 TIME_UP_SHRINK = 0.02f;
const i32 SHUTTER_AFTER = 250;
const i32 SHUTTER_TOP = -480;
const i32 SHUTTER_SPEED = 10;

const i32 CLEAR_SLIDE_UNTIL = 25;
const i32 CLEAR_REST_LAST = 90;
const i32 CLEAR_FIRST_X = -320;
const i32 CLEAR_SLIDE = 16;
const f32 CLEAR_TURN = 15.0f;

const double ALL_CLEAR_FADE_STEP = 2.5;
const i32 SWEEP_AFTER = 382;

f32 missScale;
f32 missAlpha = 255.0f;
f32 startScale;
f32 startAngle;
i32 clearSlideX = CLEAR_FIRST_X;
f32 clearSpin;
double allClearAlpha;
double allClearFadeAlpha;
f32 timeUpAlpha;
f32 timeUpScale = TIME_UP_FIRST_SCALE;
i32 shutterY = SHUTTER_TOP;

void Play(u8 slot) { PlayWave(&waveBuffers[slot], 0); }

// White at the alpha's low 8 bits; an alpha set far out of range shows as 0.
u32 Fade(double alpha) {
    if (!(alpha > -2147483648.0 && alpha < 2147483648.0)) alpha = 0.0;
    return ((u32)(i32)alpha & 0xFFu) << 24 | 0x00FFFFFFu;
}

f32 FadeIn(f32 alpha, f32 step) {
    if (alpha >= 255.0f) return alpha;
    alpha += step;
    return alpha > 255.0f ? 255.0f : alpha;
}

double FadeIn(double alpha, double step) {
    if (alpha >= 255.0) return alpha;
    alpha += step;
    return alpha > 255.0 ? 255.0 : alpha;
}

// Scale set before the draw; the picture's centre stays on (bx + w/2, by + h/2).
void DrawAboutCentre(f32 baseX, f32 baseY, RECT source, f32 scale) {
    f32 halfW = (f32)(source.right - source.left) / 2.0f;
    f32 halfH = (f32)(source.bottom - source.top) / 2.0f;
    DrawSprite(TEXTURE_PLAY_MES, baseX - halfW * scale + halfW, baseY - halfH * scale + halfH,
               source);
}
}  // namespace

void DrawStartMessage(i32 frame) {
    if (frame == 0) {
        Play(PLAY_WAVE_START);
        startScale = 0.0f;
        startAngle = 0.0f;
    }
    if (frame < START_GROW_UNTIL) {
        startScale += START_GROWTH;
        startAngle += START_TURN;
    }
    if (frame > START_HOLD_LAST) {
        startScale += START_LEAVE_GROWTH;
        startAngle += START_TURN;
    }
    // Grows from its top-left corner while turning about its own centre.
    SetSpriteScale(startScale, startScale);
    SetSpriteRotation(160.0f, 60.0f, startAngle);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 150.0f, START_PICTURE);
}

void DrawMissMessage(i32 frame) {
    if (frame == 0) {
        Play(PLAY_WAVE_MISS);
        missScale = 0.0f;
        missAlpha = 255.0f;
    }
    if (frame < MISS_GROW_UNTIL) {
        missScale += MISS_GROWTH;
        if (missScale > 1.0f) missScale = 1.0f;
    }
    if (frame > MISS_HOLD_LAST) {
        missScale += MISS_GROWTH;
        missAlpha -= MISS_FADE_STEP;
        if (missAlpha < 0.0f) missAlpha = 0.0f;
    }
    // The centre is set before the scale, so it stays unscaled.
    SetSpriteRotation(160.0f, 60.0f, 0.0f);
    SetSpriteScale(missScale, missScale);
    SetSpriteColor(Fade(missAlpha), 0);
    DrawAboutCentre(80.0f, 180.0f, MISS_PICTURE, missScale);
}

void DrawTimeUpMessage(i32 frame) {
    if (frame == 0) {
        Play(PLAY_WAVE_OHMYGOD);
        timeUpAlpha = 0.0f;
        timeUpScale = TIME_UP_FIRST_SCALE;
        shutterY = SHUTTER_TOP;
    }
    timeUpAlpha = FadeIn(timeUpAlpha, TIME_UP_FADE_STEP);
    if (timeUpScale > 1.0f) {
        timeUpScale -= TIME_UP_SHRINK;
        if (timeUpScale < 1.0f) timeUpScale = 1.0f;
    }
    SetSpriteScale(timeUpScale, timeUpScale);
    SetSpriteRotation(160.0f, 120.0f, 0.0f);
    SetSpriteColor(Fade(timeUpAlpha), 0);
    DrawAboutCentre(80.0f, 120.0f, TIME_UP_PICTURE, timeUpScale);
    if (frame <= SHUTTER_AFTER) return;
    if (shutterY < 0) shutterY += SHUTTER_SPEED;
    DrawSprite(TEXTURE_PLAY_SHUTT, 0.0f, (f32)shutterY, FULL_SCREEN);
}

void DrawClearMessage(i32 frame) {
    if (frame == 0) {
        Play(PLAY_WAVE_CHECKITOUT);
        clearSlideX = CLEAR_FIRST_X;
        clearSpin = 0.0f;
    }
    if (frame < CLEAR_SLIDE_UNTIL || frame > CLEAR_REST_LAST) {
        clearSlideX = (i32)((u32)clearSlideX + CLEAR_SLIDE);  // wraps if set out of range
        clearSpin += CLEAR_TURN;
    }
    SetSpriteRotation(160.0f, 60.0f, clearSpin);
    DrawSprite(TEXTURE_PLAY_MES, (f32)clearSlideX, 180.0f, CLEAR_PICTURE);
}

void DrawAllClearMessage(i32 frame) {
    if (frame == ALL_CLEAR_FIRST_FRAME) {
        allClearAlpha = 0.0;
        allClearFadeAlpha = 0.0;
        Play(PLAY_WAVE_ALLCLEAR);
    }
    allClearAlpha = FadeIn(allClearAlpha, ALL_CLEAR_FADE_STEP);
    SetSpriteColor(Fade(allClearAlpha), 0);
    DrawSprite(TEXTURE_PLAY_MES, 80.0f, 120.0f, ALL_CLEAR_PICTURE);
    if (frame <= SWEEP_AFTER) return;
    allClearFadeAlpha = FadeIn(allClearFadeAlpha, ALL_CLEAR_FADE_STEP);
    SetSpriteColor(Fade(allClearFadeAlpha), 0);
    DrawSprite(TEXTURE_SWEEP, 0.0f, 0.0f, FULL_SCREEN);
}

void RegisterMessagesGlobals(void) {
    REG_F32(missScale);
    REG_F32(missAlpha);
    REG_F32(startScale);
    REG_F32(startAngle);
    REG_I32(clearSlideX);
    REG_F32(clearSpin);
    REG_F64(allClearAlpha);
    REG_F64(allClearFadeAlpha);
    REG_F32(timeUpAlpha);
    REG_F32(timeUpScale);
    REG_I32(shutterY);
}
