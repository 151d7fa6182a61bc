// Key, mouse and joystick snapshots in the shapes the game reads them.
#include <cmath>

#include "platform/sdl_backend.h"

namespace {
const uint32_t JOYSTICK_UNPLUGGED = 167;
const int VK_LBUTTON = 1;
const int VK_RBUTTON = 2;
const int VK_MBUTTON = 4;

SDL_Joystick* joystick;

SDL_Keycode KeycodeOf(int vk) {
    if (vk >= 'A' && vk <= 'Z') return SDLK_a + (vk - 'A');
    if (vk >= '0' && vk <= '9') return SDLK_0 + (vk - '0');
    if (vk >= 0x70 && vk <= 0x7B) return SDLK_F1 + (vk - 0x70);
    switch (vk) {
        case 0x1B: return SDLK_ESCAPE;
        case 37: return SDLK_LEFT;
        case 38: return SDLK_UP;
        case 39: return SDLK_RIGHT;
        case 40: return SDLK_DOWN;
        case 0x0D: return SDLK_RETURN;
        case 0x20: return SDLK_SPACE;
        case 0x10: return SDLK_LSHIFT;
        case 0x11: return SDLK_LCTRL;
        default: return SDLK_UNKNOWN;
    }
}

int MouseButtonDown(int vk) {
    Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
    if (vk == VK_LBUTTON) return (buttons & SDL_BUTTON_LMASK) != 0;
    if (vk == VK_RBUTTON) return (buttons & SDL_BUTTON_RMASK) != 0;
    return (buttons & SDL_BUTTON_MMASK) != 0;
}

uint32_t AxisValue(int16_t axis) { return (uint32_t)((int32_t)axis + 32768); }

// The hat, when pushed along an axis, wins over the stick on that axis.
void ReadHat(uint32_t* x, uint32_t* y) {
    if (SDL_JoystickNumHats(joystick) < 1) return;
    Uint8 hat = SDL_JoystickGetHat(joystick, 0);
    if (hat & SDL_HAT_LEFT) *x = 0;
    if (hat & SDL_HAT_RIGHT) *x = 65535;
    if (hat & SDL_HAT_UP) *y = 0;
    if (hat & SDL_HAT_DOWN) *y = 65535;
}
}  // namespace

void SdlInitJoystick(void) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
    if (SDL_NumJoysticks() > 0) joystick = SDL_JoystickOpen(0);
}

int PlatformKeyDown(int virtualKey) {
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON || virtualKey == VK_MBUTTON) {
        return MouseButtonDown(virtualKey);
    }
    SDL_Keycode key = KeycodeOf(virtualKey);
    if (key == SDLK_UNKNOWN) return 0;
    SDL_Scancode code = SDL_GetScancodeFromKey(key);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    return code > SDL_SCANCODE_UNKNOWN && code < count && state[code] ? 1 : 0;
}

uint32_t PlatformReadJoystick(uint32_t* x, uint32_t* y, uint32_t* buttons) {
    if (!joystick && SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_NumJoysticks() > 0) {
        joystick = SDL_JoystickOpen(0);
    }
    if (!joystick || !SDL_JoystickGetAttached(joystick)) return JOYSTICK_UNPLUGGED;
    SDL_JoystickUpdate();
    uint32_t ax = 32767, ay = 32767;
    if (SDL_JoystickNumAxes(joystick) >= 2) {
        ax = AxisValue(SDL_JoystickGetAxis(joystick, 0));
        ay = AxisValue(SDL_JoystickGetAxis(joystick, 1));
    }
    ReadHat(&ax, &ay);
    uint32_t mask = 0;
    int count = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < 6 && i < count; i++) {
        if (SDL_JoystickGetButton(joystick, i)) mask |= 1u << i;
    }
    *x = ax;
    *y = ay;
    *buttons = mask;
    return 0;
}

void PlatformMousePosition(int32_t* x, int32_t* y) {
    SDL_Window* window = SdlWindow();
    int wx = 0, wy = 0;
    if (window && SDL_GetMouseFocus() == window) {
        SDL_GetMouseState(&wx, &wy);
    } else {
        int gx = 0, gy = 0, left = 0, top = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        if (window) SDL_GetWindowPosition(window, &left, &top);
        wx = gx - left;
        wy = gy - top;
    }
    float lx = (float)wx, ly = (float)wy;
    if (SdlRenderer()) SDL_RenderWindowToLogical(SdlRenderer(), wx, wy, &lx, &ly);
    *x = (int32_t)floorf(lx);
    *y = (int32_t)floorf(ly);
}
