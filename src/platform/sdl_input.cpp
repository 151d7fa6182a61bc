// Key, mouse and joystick snapshots in the shapes the game reads them.
#include <cmath>

#include "platform/sdl_backend.h"

namespace {
const uint32_t JOYSTICK_UNPLUGGED = 167;
const int VK_LBUTTON = 1;
const int VK_RBUTTON = 2;
const int VK_MBUTTON = 4;

// The device read as the first joystick: a pad SDL has a mapping for is read
// through `pad`, any other device raw through `joystick` alone.
SDL_GameController* pad;
SDL_Joystick* joystick;
char mappingFile[1024];

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

void CloseDevice(void) {
    if (pad) {
        SDL_GameControllerClose(pad);
    } else if (joystick) {
        SDL_JoystickClose(joystick);
    }
    pad = nullptr;
    joystick = nullptr;
}

void OpenFirstDevice(void) {
    for (int i = 0; i < SDL_NumJoysticks() && !joystick; i++) {
        if (SDL_IsGameController(i)) {
            pad = SDL_GameControllerOpen(i);
            if (pad) joystick = SDL_GameControllerGetJoystick(pad);
        }
        if (!joystick) joystick = SDL_JoystickOpen(i);
    }
}

void AddMappingFile(void) {
    if (!mappingFile[0]) return;
    SDL_RWops* file = SDL_RWFromFile(mappingFile, "rb");
    if (file) SDL_GameControllerAddMappingsFromRW(file, 1);
}

// The hat, when pushed along an axis, wins over the stick on that axis.
void ReadRaw(uint32_t* x, uint32_t* y, uint32_t* buttons) {
    if (SDL_JoystickNumAxes(joystick) >= 2) {
        *x = AxisValue(SDL_JoystickGetAxis(joystick, 0));
        *y = AxisValue(SDL_JoystickGetAxis(joystick, 1));
    }
    if (SDL_JoystickNumHats(joystick) >= 1) {
        Uint8 hat = SDL_JoystickGetHat(joystick, 0);
        if (hat & SDL_HAT_LEFT) *x = 0;
        if (hat & SDL_HAT_RIGHT) *x = 65535;
        if (hat & SDL_HAT_UP) *y = 0;
        if (hat & SDL_HAT_DOWN) *y = 65535;
    }
    int count = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < 6 && i < count; i++) {
        if (SDL_JoystickGetButton(joystick, i)) *buttons |= 1u << i;
    }
}

// South and east are buttons 1 and 2; the D-pad wins over the left stick as
// the hat does over the raw axes. The other buttons stay out of the mask,
// where alone they would read as directions.
void ReadPad(uint32_t* x, uint32_t* y, uint32_t* buttons) {
    *x = AxisValue(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    *y = AxisValue(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) *x = 0;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) *x = 65535;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP)) *y = 0;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) *y = 65535;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A)) *buttons |= 1;
    if (SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B)) *buttons |= 2;
}
}  // namespace

void SdlInitJoystick(void) {
    // SDL reads SDL_GAMECONTROLLERCONFIG itself; the file comes on top.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    AddMappingFile();
    OpenFirstDevice();
}

void PlatformLoadControllerMappings(const char* directory) {
    if (!directory) return;
    SDL_snprintf(mappingFile, sizeof mappingFile, "%s/gamecontrollerdb.txt", directory);
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;  // added when the window opens
    AddMappingFile();
    // The device open now may have just gained a mapping.
    CloseDevice();
    OpenFirstDevice();
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
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return JOYSTICK_UNPLUGGED;
    SDL_JoystickUpdate();
    if (joystick && !SDL_JoystickGetAttached(joystick)) CloseDevice();
    if (!joystick) OpenFirstDevice();
    // No device, or one plugged out, is a failed read: the game then stops
    // reading the joystick for the rest of the run, as its input rules say.
    if (!joystick) return JOYSTICK_UNPLUGGED;
    uint32_t ax = 32767, ay = 32767, mask = 0;
    if (pad) {
        ReadPad(&ax, &ay, &mask);
    } else if (joystick) {
        ReadRaw(&ax, &ay, &mask);
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
