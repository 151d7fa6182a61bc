// The window, its messages, frame pacing, the clock, the cursor and message
// boxes over SDL2.
#include <cstdio>
#include <cstdlib>

#include "platform/sdl_backend.h"

namespace {
const int CLIENT_WIDTH = 640;
const int CLIENT_HEIGHT = 480;
const int QUEUE_SIZE = 64;
const int WINDOW_HANDLE = 1;

SDL_Window* window;
bool destroyed;  // kept, hidden, until exit: the device still renders to it
PlatformEvent queue[QUEUE_SIZE];
int queueHead, queueCount;
int cursorCount;

void Push(int type, uint32_t value) {
    if (queueCount == QUEUE_SIZE) return;  // a flood of keys: the rest are dropped
    queue[(queueHead + queueCount) % QUEUE_SIZE] = {type, value};
    queueCount++;
}

uint32_t VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
    switch (key) {
        case SDLK_ESCAPE: return 0x1B;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_RETURN: return 0x0D;
        case SDLK_SPACE: return 0x20;
        case SDLK_TAB: return 0x09;
        case SDLK_BACKSPACE: return 0x08;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 0x11;
        default: return 0;
    }
}

void TranslateWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED: Push(PLATFORM_EVENT_ACTIVATE, 1); break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED: Push(PLATFORM_EVENT_ACTIVATE, 0); break;
        case SDL_WINDOWEVENT_CLOSE: Push(PLATFORM_EVENT_CLOSE, 0); break;
        default: break;
    }
}

void Translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN: {
            uint32_t vk = VirtualKey(e.key.keysym.sym);
            if (vk) Push(PLATFORM_EVENT_KEYDOWN, vk);
            break;
        }
        case SDL_WINDOWEVENT:
            if (window && e.window.windowID == SDL_GetWindowID(window))
                TranslateWindowEvent(e.window);
            break;
        case SDL_QUIT: Push(PLATFORM_EVENT_CLOSE, 0); break;
        default: break;
    }
}

void PumpAll(void) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
}
}  // namespace

SDL_Window* SdlWindow(void) { return window; }

PlatformObject PlatformCreateWindow(const char* caption) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return 0;
    // F1 toggles by hand; losing focus in full screen must not minimise.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    const Uint32 flags = SDL_WINDOW_HIDDEN;
    // Created with GL up front when possible, so that an accelerated renderer
    // never has to recreate the window under us.
    if (SdlWantsOpenGl()) {
        window = SDL_CreateWindow(caption, 50, 50, CLIENT_WIDTH, CLIENT_HEIGHT,
                                  flags | SDL_WINDOW_OPENGL);
    }
    if (!window) window = SDL_CreateWindow(caption, 50, 50, CLIENT_WIDTH, CLIENT_HEIGHT, flags);
    if (!window) return 0;
    SdlSetWindowIcon(window);
    SDL_StopTextInput();  // keys only; no input method
    SdlInitJoystick();
    return WINDOW_HANDLE;
}

void PlatformShowWindow(PlatformObject handle) {
    if (handle != WINDOW_HANDLE || !window) return;
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    // Without a window manager no focus event ever comes.
    Push(PLATFORM_EVENT_ACTIVATE, 1);
}

void PlatformDestroyWindow(PlatformObject handle) {
    if (handle != WINDOW_HANDLE || !window || destroyed) return;
    destroyed = true;
    SDL_HideWindow(window);
    Push(PLATFORM_EVENT_DESTROY, 0);
}

void PlatformPostQuit(int code) { Push(PLATFORM_EVENT_QUIT, (uint32_t)code); }

int PlatformPeekEvent(PlatformEvent* event) {
    PumpAll();
    if (queueCount == 0) return 0;
    *event = queue[queueHead];
    queueHead = (queueHead + 1) % QUEUE_SIZE;
    queueCount--;
    return 1;
}

void PlatformWaitEvent(void) {
    if (queueCount > 0) return;
    SDL_Event e;
    if (SDL_WaitEvent(&e)) Translate(e);
}

void PlatformIdle(uint32_t dueTime) {
    if (queueCount > 0) return;
    int32_t left = (int32_t)(dueTime - PlatformTime());
    // Sleep to about a millisecond before the frame; input wakes us early.
    if (left > 1) SDL_WaitEventTimeout(nullptr, left - 1);
}

uint32_t PlatformTime(void) { return SDL_GetTicks(); }

void PlatformShowCursor(int show) {
    cursorCount += show ? 1 : -1;
    SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

// OSSMIRE_NO_MESSAGEBOX=1 prints messages to stderr instead of showing a
// box; a box blocks until closed, which stalls unattended runs.
void PlatformMessageBox(int ownedByMain, const char* textSjis, const char* captionSjis) {
    char text[2048];
    char caption[256];
    PlatformSjisToUtf8(textSjis ? textSjis : "", text, sizeof text);
    if (captionSjis) {
        PlatformSjisToUtf8(captionSjis, caption, sizeof caption);
    } else {
        snprintf(caption, sizeof caption, "Error");
    }
    const char* quiet = getenv("OSSMIRE_NO_MESSAGEBOX");
    if (quiet && *quiet && *quiet != '0') {
        fprintf(stderr, "[%s] %s\n", caption, text);
        return;
    }
    SDL_Window* owner = ownedByMain && !destroyed ? window : nullptr;
    SDL_ShowSimpleMessageBox(0, caption, text, owner);
}

// The real game keeps no trace.
int PlatformTracing(int) { return 0; }
void PlatformTrace(int, const char*, ...) {}
