#include "playscreen/hud.h"

#include "base/registry.h"
#include "graphics/sprites.h"
#include "play/playstate.h"

namespace {
const int DIGIT_WIDTH = 20;
const int DIGIT_HEIGHT = 40;
const u32 WARNING_BELOW = 10;
const f32 PULSE_START = 2.0f;
const f32 PULSE_SHRINK = 0.02f;
const u32 WORRIED_AT_OR_BELOW = 30;
const i32 KEY_SLOT_DELAY = 90;  // the key's flight is ending by then
const i32 ALL_KEYS_DELAY = 100;
const double KEY_FADE_STEP = 5.0;
const int KEY_SLOTS = 3;

const RECT CLOCK_LABEL = {0, 360, 100, 400};
const RECT STAGE_LABEL = {0, 400, 120, 440};
const RECT KEY_PANEL = {0, 200, 120, 320};
const RECT ALL_KEYS_MARK = {0, 120, 120, 200};
const RECT KEY_IMAGES[KEY_SLOTS] = {{0, 80, 40, 120}, {40, 80, 80, 120}, {80, 80, 120, 120}};
const POINT KEY_POSITIONS[KEY_SLOTS] = {{535, 320}, {505, 370}, {565, 370}};

enum : u8 { FACE_NORMAL = 0, FACE_WORRIED = 1, FACE_MISS = 2, FACE_CLEARED = 3 };
const RECT FACE_CELLS[4] = {
    {0, 0, 120, 120}, {120, 0, 240, 120}, {0, 120, 120, 240}, {120, 120, 240, 240}};

// Drawing state; nothing outside this file touches it.
bool numberPulseStarted = false;
f32 numberPulseScale = 1.0f;
u32 numberPulseValue;
i32 keySlotTimer[KEY_SLOTS];
double keySlotAlpha[KEY_SLOTS];

void DrawDigit(i32 x, i32 topY, u32 digit, bool warning) {
    i32 left = (i32)digit * DIGIT_WIDTH;
    if (!warning) {
        DrawSprite(TEXTURE_PLAY_NUM, (f32)x, (f32)topY,
                   RECT{left, 0, left + DIGIT_WIDTH, DIGIT_HEIGHT});
        return;
    }
    f32 s = numberPulseScale;
    SetSpriteScale(s, s);
    SetSpriteRotation(DIGIT_WIDTH / 2, DIGIT_HEIGHT / 2, 0.0f);
    DrawSprite(TEXTURE_PLAY_NUM, (f32)x - 10.0f * s + 10.0f, (f32)topY - 20.0f * s + 20.0f,
               RECT{left, DIGIT_HEIGHT, left + DIGIT_WIDTH, 2 * DIGIT_HEIGHT});
}

// The pulse restarts whenever the warning value shown changes.
void AdvancePulse(u32 value) {
    if (value != numberPulseValue) {
        numberPulseScale = PULSE_START;
        numberPulseValue = value;
    }
    if (numberPulseScale > 1.0f) {
        numberPulseScale -= PULSE_SHRINK;
        if (numberPulseScale < 1.0f) numberPulseScale = 1.0f;
    }
}

u32 AlphaColor(double alpha) { return ((u32)(i32)alpha & 0xFFu) << 24 | 0x00FFFFFFu; }
}  // namespace

void DrawNumber(i32 rightX, i32 topY, u32 value, u8 style) {
    if (!numberPulseStarted) {
        numberPulseStarted = true;
        numberPulseValue = value;
    }
    bool warning = style == NUMBER_STYLE_CLOCK && (i32)value < (i32)WARNING_BELOW;
    if (warning) AdvancePulse(value);
    int digits = 0;
    do {
        u32 digit = value % 10;
        value /= 10;
        rightX -= DIGIT_WIDTH;
        DrawDigit(rightX, topY, digit, warning);
        digits++;
    } while (value != 0);
    if (digits == 1) DrawDigit(rightX - DIGIT_WIDTH, topY, 0, warning);
}

void DrawTimeGauge(u32 seconds) {
    // A value set from outside may be anything: the widths wrap in 32 bits.
    i32 filled = (i32)(2u * seconds);
    DrawSprite(TEXTURE_PLAY_ST, 495.0f, 55.0f, RECT{0, 320, (i32)((u32)filled + 3u), 340});
    DrawSprite(TEXTURE_PLAY_ST, (f32)(i32)(495u + (u32)filled), 55.0f, RECT{filled, 340, 123, 360});
}

void DrawFace(u32 seconds, u32 missed, u32 timeUp, u32 cleared) {
    u8 face = FACE_WORRIED;
    if (missed || timeUp) {
        face = FACE_MISS;
    } else if (cleared) {
        face = FACE_CLEARED;
    } else if (seconds > WORRIED_AT_OR_BELOW) {
        face = FACE_NORMAL;
    }
    DrawSprite(TEXTURE_PLAY_FACE, 497.0f, 165.0f, FACE_CELLS[face]);
}

void DrawKeySlots(const u32* keys) {
    DrawSprite(TEXTURE_PLAY_ST, 495.0f, 320.0f, KEY_PANEL);
    for (int i = 0; i < KEY_SLOTS; i++) {
        if (keys[i]) continue;
        keySlotTimer[i] = 0;
        keySlotAlpha[i] = 0.0;
    }
    for (int i = 0; i < KEY_SLOTS; i++) {
        if (!keys[i]) continue;
        keySlotTimer[i]++;
        if (keySlotTimer[i] < KEY_SLOT_DELAY) continue;
        if (keySlotAlpha[i] < 255.0) keySlotAlpha[i] += KEY_FADE_STEP;
        if (keySlotAlpha[i] > 255.0) keySlotAlpha[i] = 255.0;
        SetSpriteColor(AlphaColor(keySlotAlpha[i]), 0);
        DrawSprite(TEXTURE_PLAY_ST, (f32)KEY_POSITIONS[i].x, (f32)KEY_POSITIONS[i].y,
                   KEY_IMAGES[i]);
    }
    if (keys[0] && keys[1] && keys[2] && keySlotTimer[2] >= ALL_KEYS_DELAY) {
        DrawSprite(TEXTURE_PLAY_ST, 495.0f, 340.0f, ALL_KEYS_MARK);
    }
}

void DrawHud(void) {
    DrawSprite(TEXTURE_PLAY_ST, 510.0f, 10.0f, CLOCK_LABEL);
    DrawTimeGauge(timeLeft);
    DrawNumber(580, 45, timeLeft, NUMBER_STYLE_CLOCK);
    DrawSprite(TEXTURE_PLAY_ST, 500.0f, 90.0f, STAGE_LABEL);
    DrawNumber(580, 120, stageNumber + 1, NUMBER_STYLE_PLAIN);
    DrawFace(timeLeft, missed, timeUp, cleared);
    DrawKeySlots(keysTaken);
}

void RegisterHudGlobals(void) {
    REG_F32(numberPulseScale);
    REG_U32(numberPulseValue);
    REG_ARRAY(keySlotTimer, GLOBAL_I32);
    REG_ARRAY(keySlotAlpha, GLOBAL_F64);
}
