// Timing, sounds and flag handling are complete; the full drawing comes later.
#include "playscreen/effects.h"

#include "graphics/sprites.h"
#include "play/playstate.h"
#include "shell/registry.h"
#include "sound/effects.h"

namespace {
const int KEY_FLIGHTS = 3;
const i32 FLIGHT_LAST_AGE = 100;
const i32 POPUP_LAST_AGE = 100;
const RECT ORB = {0, 0, 40, 40};
const RECT BONUS_LABELS[3] = {{120, 0, 200, 40}, {40, 0, 120, 40}, {120, 80, 200, 120}};
const RECT PENALTY_LABELS[3] = {{120, 40, 200, 80}, {40, 40, 120, 80}, {120, 120, 200, 160}};

struct Popup {
    u32 active;
    i32 age;
    POINT anchor;
};

u32 keyFlightStarted[KEY_FLIGHTS];
u32 keyFlightFinished[KEY_FLIGHTS];
i32 keyFlightAge[KEY_FLIGHTS];
Popup bonusPopup;
Popup penaltyPopup;

void StepKeyFlight(int i, i32 centreX, i32 centreY) {
    if (keyFlightAge[i] == 0) PlayWave(&waveBuffers[PLAY_WAVE_GET], 0);
    keyFlightAge[i]++;
    SetSpriteColor(0xFFFFFFFFu, 1);
    DrawSprite(TEXTURE_PLAY_ST, (f32)centreX - 20.0f, (f32)centreY - 20.0f, ORB);
    if (keyFlightAge[i] > FLIGHT_LAST_AGE) {
        keyFlightAge[i] = 0;
        keyFlightFinished[i] = 1;
    }
}

void StepPopup(Popup* popup, i32 playerX, i32 playerY, u32& flag, const RECT* labels,
               u8 timeClass) {
    if (!flag) {
        popup->active = 0;
        popup->age = 0;
        return;
    }
    if (!popup->active) {
        popup->active = 1;
        // A start cell from a damaged file may lie anywhere: positions wrap in 32 bits.
        popup->anchor = POINT{(i32)(40u * (u32)playerX + 80u), (i32)(40u * (u32)playerY + 40u)};
    }
    if (timeClass < 3) {
        DrawSprite(TEXTURE_PLAY_ST, (f32)popup->anchor.x - 20.0f,
                   (f32)popup->anchor.y - (f32)(popup->age / 2), labels[timeClass]);
    }
    popup->age++;
    if (popup->age > POPUP_LAST_AGE) {
        popup->age = 0;
        popup->active = 0;
        flag = 0;
    }
}
}  // namespace

void DrawKeyFlights(const u32* keys, i32 playerX, i32 playerY) {
    i32 centreX = (i32)(40u * (u32)playerX + 100u);
    i32 centreY = (i32)(40u * (u32)playerY + 100u);
    for (int i = 0; i < KEY_FLIGHTS; i++) {
        if (!keys[i]) {
            keyFlightStarted[i] = keyFlightFinished[i] = 0;
            keyFlightAge[i] = 0;
        }
        if (keys[i] && !keyFlightStarted[i]) keyFlightStarted[i] = 1;
        if (keyFlightStarted[i] && !keyFlightFinished[i]) StepKeyFlight(i, centreX, centreY);
    }
}

void DrawBonusPopup(i32 playerX, i32 playerY, u32& bonusEffect, u8 timeClass) {
    StepPopup(&bonusPopup, playerX, playerY, bonusEffect, BONUS_LABELS, timeClass);
}

void DrawPenaltyPopup(i32 playerX, i32 playerY, u32& penaltyEffect, u8 timeClass) {
    StepPopup(&penaltyPopup, playerX, playerY, penaltyEffect, PENALTY_LABELS, timeClass);
}

void RegisterEffectsGlobals(void) {
    REG_ARRAY(keyFlightStarted, GLOBAL_U32);
    REG_ARRAY(keyFlightFinished, GLOBAL_U32);
    REG_ARRAY(keyFlightAge, GLOBAL_I32);
}
