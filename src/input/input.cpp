#include "input/input.h"

#include "base/registry.h"
#include "platform/platform.h"

u32 keyUp, keyDown, keyLeft, keyRight, keyZ, keyX;
u32 joyUp, joyDown, joyLeft, joyRight, joyButton1, joyButton2;
u32 inputUp, inputDown, inputLeft, inputRight, inputA, inputB;
u32 mouseLeft, mouseRight;
POINT mousePos;
u32 joyResult;

namespace {
const int VK_LBUTTON = 1;
const int VK_RBUTTON = 2;
const int VK_LEFT = 37;
const int VK_UP = 38;
const int VK_RIGHT = 39;
const int VK_DOWN = 40;
const int VK_X = 88;
const int VK_Z = 90;
const u32 AXIS_LOW = 16000;
const u32 AXIS_HIGH = 48000;
}  // namespace

u32 NextButtonState(u32 previous, int downNow) {
    bool wasDown = previous == BUTTON_PRESSED || previous == BUTTON_HELD;
    if (downNow) return wasDown ? BUTTON_HELD : BUTTON_PRESSED;
    return wasDown ? BUTTON_RELEASED : BUTTON_OFF;
}

void UpdateKeyState(int virtualKey, u32* state) {
    *state = NextButtonState(*state, PlatformKeyDown(virtualKey));
}

u32 IsJoystickDown(u32 code) {
    if (joyResult != 0) return 0;
    u32 x = 0, y = 0, buttons = 0;
    joyResult = PlatformReadJoystick(&x, &y, &buttons);
    if (joyResult != 0) return 0;
    if (buttons == code) return 1;
    switch (code) {
    case 4: return y < AXIS_LOW ? 1 : 0;
    case 8: return y > AXIS_HIGH ? 1 : 0;
    case 16: return x < AXIS_LOW ? 1 : 0;
    case 32: return x > AXIS_HIGH ? 1 : 0;
    default: return 0;
    }
}

void UpdateJoystickState(u32 code, u32* state) {
    *state = NextButtonState(*state, (int)IsJoystickDown(code));
}

void UpdateMouse(void) {
    PlatformMousePosition(&mousePos.x, &mousePos.y);
    UpdateKeyState(VK_LBUTTON, &mouseLeft);
    UpdateKeyState(VK_RBUTTON, &mouseRight);
}

void PollInput(void) {
    UpdateKeyState(VK_UP, &keyUp);
    UpdateKeyState(VK_DOWN, &keyDown);
    UpdateKeyState(VK_LEFT, &keyLeft);
    UpdateKeyState(VK_RIGHT, &keyRight);
    UpdateKeyState(VK_Z, &keyZ);
    UpdateKeyState(VK_X, &keyX);
    UpdateJoystickState(4, &joyUp);
    UpdateJoystickState(8, &joyDown);
    UpdateJoystickState(16, &joyLeft);
    UpdateJoystickState(32, &joyRight);
    UpdateJoystickState(1, &joyButton1);
    UpdateJoystickState(2, &joyButton2);
    inputUp = keyUp | joyUp;
    inputDown = keyDown | joyDown;
    inputLeft = keyLeft | joyLeft;
    inputRight = keyRight | joyRight;
    inputA = keyZ | joyButton1;
    inputB = keyX | joyButton2;
    UpdateMouse();
}

void RegisterInputGlobals(void) {
    REG_U32(keyUp);
    REG_U32(keyDown);
    REG_U32(keyLeft);
    REG_U32(keyRight);
    REG_U32(keyZ);
    REG_U32(keyX);
    REG_U32(joyUp);
    REG_U32(joyDown);
    REG_U32(joyLeft);
    REG_U32(joyRight);
    REG_U32(joyButton1);
    REG_U32(joyButton2);
    REG_U32(inputUp);
    REG_U32(inputDown);
    REG_U32(inputLeft);
    REG_U32(inputRight);
    REG_U32(inputA);
    REG_U32(inputB);
    REG_U32(mouseLeft);
    REG_U32(mouseRight);
    REG_FIELD(mousePos, x, GLOBAL_I32);
    REG_FIELD(mousePos, y, GLOBAL_I32);
    REG_U32(joyResult);
}
