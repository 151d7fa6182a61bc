#include "playscreen/effects.h"

#include "base/registry.h"
#include "graphics/sprites.h"
#include "graphics/trig.h"
#include "play/playstate.h"
#include "sound/effects.h"

namespace {
const int KEY_FLIGHTS = 3;
const i32 FLIGHT_LAST_AGE = 100;
const i32 FLIGHT_TURN = 18;  // degrees a frame: one turn every 20 frames
const i32 FLIGHT_SPREAD = 5;
const f32 FLIGHT_GROWTH = 0.05f;
const f32 FLIGHT_FADE_STEP = 2.5f;
const f32 FLIGHT_TINT_STEP = 1.5f;
const f32 FLIGHT_FADE_START = 255.0f;
const f32 FLIGHT_TINT_START = 150.0f;
const f32 ORB_HALF = 20.0f;
const i32 POPUP_LAST_AGE = 100;
const f32 POPUP_FADE_STEP = 2.5f;
const f32 POPUP_ALPHA_START = 255.0f;
const RECT ORB = {0, 0, 40, 40};
const RECT BONUS_LABELS[3] = {{120, 0, 200, 40}, {40, 0, 120, 40}, {120, 80, 200, 120}};
const RECT PENALTY_LABELS[3] = {{120, 40, 200, 80}, {40, 40, 120, 80}, {120, 120, 200, 160}};

// Pop-up labels: index 0 is the time bonus, 1 the time penalty.
enum : int { POPUP_BONUS = 0, POPUP_PENALTY = 1, POPUPS = 2 };

u32 keyFlightStarted[KEY_FLIGHTS];
u32 keyFlightFinished[KEY_FLIGHTS];
i32 keyFlightAge[KEY_FLIGHTS];
i32 keyFlightAngle[KEY_FLIGHTS];
i32 keyFlightRadius[KEY_FLIGHTS];
f32 keyFlightFade[KEY_FLIGHTS] = {FLIGHT_FADE_START, FLIGHT_FADE_START, FLIGHT_FADE_START};
f32 keyFlightTint[KEY_FLIGHTS] = {FLIGHT_TINT_START, FLIGHT_TINT_START, FLIGHT_TINT_START};
f32 keyFlightScale[KEY_FLIGHTS];
u32 popupActive[POPUPS];
i32 popupAge[POPUPS];
f32 popupAlpha[POPUPS] = {POPUP_ALPHA_START, POPUP_ALPHA_START};
i32 popupAnchor[POPUPS][2];  // x, y

f32 FadeDown(f32 level, f32 step) {
    if (level <= 0.0f) return level;
    level -= step;
    return level < 0.0f ? 0.0f : level;
}

// Counters set from outside may sit at the top of their range: they wrap.
i32 Add(i32 value, i32 step) { return (i32)((u32)value + (u32)step); }

// The level's low 8 bits; a value set far out of range shows as 0.
u32 Level(f32 value) {
    if (!(value > -2147483648.0f && value < 2147483648.0f)) return 0;
    return (u32)(i32)value & 0xFFu;
}

// Cyan-white, white and pink orbs: each key's own pair of channels fades.
u32 OrbColor(int key) {
    u32 fade = Level(keyFlightFade[key]);
    u32 tint = Level(keyFlightTint[key]);
    u32 red = key == 0 ? tint : fade;
    u32 rest = key == 2 ? tint : fade;
    return 0xFF000000u | red << 16 | rest << 8 | rest;
}

// 16.16 fixed point; the shift floors, so points left of or above the centre
// land a pixel further out than truncation would put them.
i32 SpiralCoordinate(i32 centre, i32 radius, i32 fixedTrig) {
    int64_t fixed = (int64_t)centre * 65536 + (int64_t)radius * fixedTrig;
    return (i32)(fixed >> 16);
}

void ResetKeyFlight(int i) {
    keyFlightStarted[i] = keyFlightFinished[i] = 0;
    keyFlightRadius[i] = keyFlightAge[i] = 0;
    keyFlightFade[i] = FLIGHT_FADE_START;
    keyFlightTint[i] = FLIGHT_TINT_START;
    keyFlightScale[i] = 0.0f;
}

void StepKeyFlight(int i, i32 centreX, i32 centreY) {
    if (keyFlightAge[i] == 0) PlayWave(&waveBuffers[PLAY_WAVE_GET], 0);
    keyFlightAngle[i] = Add(keyFlightAngle[i], FLIGHT_TURN);
    // A value set from outside may lie anywhere; the tables have 360 entries.
    if (keyFlightAngle[i] >= 360 || keyFlightAngle[i] < 0) keyFlightAngle[i] = 0;
    keyFlightRadius[i] = Add(keyFlightRadius[i], FLIGHT_SPREAD);
    i32 x = SpiralCoordinate(centreX, keyFlightRadius[i], cosTable[keyFlightAngle[i]]);
    i32 y = SpiralCoordinate(centreY, keyFlightRadius[i], sinTable[keyFlightAngle[i]]);
    keyFlightAge[i] = Add(keyFlightAge[i], 1);
    keyFlightFade[i] = FadeDown(keyFlightFade[i], FLIGHT_FADE_STEP);
    keyFlightTint[i] = FadeDown(keyFlightTint[i], FLIGHT_TINT_STEP);
    keyFlightScale[i] += FLIGHT_GROWTH;
    f32 scale = keyFlightScale[i];
    SetSpriteScale(scale, scale);
    SetSpriteRotation(ORB_HALF, ORB_HALF, 0.0f);
    SetSpriteColor(OrbColor(i), 1);
    DrawSprite(TEXTURE_PLAY_ST, (f32)x - ORB_HALF * scale + ORB_HALF,
               (f32)y - ORB_HALF * scale + ORB_HALF, ORB);
}

void EndKeyFlight(int i) {
    keyFlightRadius[i] = keyFlightAngle[i] = keyFlightAge[i] = 0;
    keyFlightFade[i] = FLIGHT_FADE_START;
    keyFlightFinished[i] = 1;
}

void ResetPopup(int popup) {
    popupActive[popup] = 0;
    popupAge[popup] = 0;
    popupAlpha[popup] = POPUP_ALPHA_START;
}

void StepPopup(int popup, i32 playerX, i32 playerY, u32& flag, const RECT* labels, u8 timeClass) {
    if (!flag) {
        ResetPopup(popup);
        return;
    }
    if (!popupActive[popup]) {
        popupActive[popup] = 1;
        // A start cell from a damaged file may lie anywhere: positions wrap in 32 bits.
        popupAnchor[popup][0] = (i32)(40u * (u32)playerX + 80u);
        popupAnchor[popup][1] = (i32)(40u * (u32)playerY + 40u);
    }
    if (timeClass < 3) {
        SetSpriteColor(Level(popupAlpha[popup]) << 24 | 0x00FFFFFFu, 0);
        DrawSprite(TEXTURE_PLAY_ST, (f32)popupAnchor[popup][0] - 20.0f,
                   (f32)popupAnchor[popup][1] - (f32)(popupAge[popup] / 2), labels[timeClass]);
    }
    popupAlpha[popup] = FadeDown(popupAlpha[popup], POPUP_FADE_STEP);
    popupAge[popup] = Add(popupAge[popup], 1);
    if (popupAge[popup] > POPUP_LAST_AGE || popupAge[popup] < 0) {
        ResetPopup(popup);
        flag = 0;
    }
}
}  // namespace

void DrawKeyFlights(const u32* keys, i32 playerX, i32 playerY) {
    // The title's set-up builds the tables; a play entered without it (the
    // simulator's scripts) must not fly every orb straight up its own cell.
    if (cosTable[0] != 65536) BuildTrigTables();
    i32 centreX = (i32)(40u * (u32)playerX + 100u);
    i32 centreY = (i32)(40u * (u32)playerY + 100u);
    for (int i = 0; i < KEY_FLIGHTS; i++) {
        if (!keys[i]) ResetKeyFlight(i);
        if (keys[i] && !keyFlightStarted[i]) keyFlightStarted[i] = 1;
        if (!keyFlightStarted[i] || keyFlightFinished[i]) continue;
        StepKeyFlight(i, centreX, centreY);
        if (keyFlightAge[i] > FLIGHT_LAST_AGE) EndKeyFlight(i);
    }
}

void DrawBonusPopup(i32 playerX, i32 playerY, u32& bonusEffect, u8 timeClass) {
    StepPopup(POPUP_BONUS, playerX, playerY, bonusEffect, BONUS_LABELS, timeClass);
}

void DrawPenaltyPopup(i32 playerX, i32 playerY, u32& penaltyEffect, u8 timeClass) {
    StepPopup(POPUP_PENALTY, playerX, playerY, penaltyEffect, PENALTY_LABELS, timeClass);
}

void RegisterEffectsGlobals(void) {
    REG_ARRAY(keyFlightStarted, GLOBAL_U32);
    REG_ARRAY(keyFlightFinished, GLOBAL_U32);
    REG_ARRAY(keyFlightAge, GLOBAL_I32);
    REG_ARRAY(keyFlightAngle, GLOBAL_I32);
    REG_ARRAY(keyFlightRadius, GLOBAL_I32);
    REG_ARRAY(keyFlightFade, GLOBAL_F32);
    REG_ARRAY(keyFlightTint, GLOBAL_F32);
    REG_ARRAY(keyFlightScale, GLOBAL_F32);
    // Both labels as lists, bonus first; the anchors as x, y pairs.
    REG_ARRAY(popupActive, GLOBAL_U32);
    REG_ARRAY(popupAge, GLOBAL_I32);
    REG_ARRAY(popupAlpha, GLOBAL_F32);
    REG_FLAT(popupAnchor, GLOBAL_I32, i32);
    // And each label by its own name.
    static const char* const names[POPUPS][5] = {
        {"bonusPopup.active", "bonusPopup.age", "bonusPopup.alpha", "bonusPopup.anchor.x",
         "bonusPopup.anchor.y"},
        {"penaltyPopup.active", "penaltyPopup.age", "penaltyPopup.alpha", "penaltyPopup.anchor.x",
         "penaltyPopup.anchor.y"}};
    for (int i = 0; i < POPUPS; i++) {
        RegisterGlobal(names[i][0], GLOBAL_U32, &popupActive[i]);
        RegisterGlobal(names[i][1], GLOBAL_I32, &popupAge[i]);
        RegisterGlobal(names[i][2], GLOBAL_F32, &popupAlpha[i]);
        RegisterGlobal(names[i][3], GLOBAL_I32, &popupAnchor[i][0]);
        RegisterGlobal(names[i][4], GLOBAL_I32, &popupAnchor[i][1]);
    }
}
