// Keyboard, joystick and mouse, polled once per frame into button states that
// carry their own edge: bit 0 down now, bit 1 down at the previous poll.
#pragma once
#include "base/common.h"

enum : u32 {
    BUTTON_OFF = 0,
    BUTTON_PRESSED = 1,
    BUTTON_RELEASED = 2,
    BUTTON_HELD = 3,
};

extern u32 keyUp, keyDown, keyLeft, keyRight, keyZ, keyX;
extern u32 joyUp, joyDown, joyLeft, joyRight, joyButton1, joyButton2;
extern u32 inputUp, inputDown, inputLeft, inputRight, inputA, inputB;
extern u32 mouseLeft, mouseRight;
extern POINT mousePos;
extern u32 joyResult;

void PollInput(void);
void UpdateKeyState(int virtualKey, u32* state);
void UpdateJoystickState(u32 code, u32* state);
u32 IsJoystickDown(u32 code);
void UpdateMouse(void);
// The state table: the new state of a button from its old state and whether it is down now.
u32 NextButtonState(u32 previous, int downNow);

void RegisterInputGlobals(void);
