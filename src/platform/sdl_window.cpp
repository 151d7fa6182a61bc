// The window, its messages, frame pacing, the clock, the cursor and message
// boxes over SDL2.
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/launch.h"
#include "platform/sdl_backend.h"

namespace {
const int CLIENT_WIDTH = 640;
const int CLIENT_HEIGHT = 480;
const int QUEUE_SIZE = 64;
const int WINDOW_HANDLE = 1;
const int MIN_WIDTH = 160;  // the picture at a quarter, still legible
const int MIN_HEIGHT = 120;
const uint32_t VK_F1 = 0x70;

SDL_Window* window;
bool destroyed;  // kept, hidden, until exit: the device still renders to it
PlatformEvent queue[QUEUE_SIZE];
int queueHead, queueCount;
int cursorCount;
int windowScale = 1;
bool startFullScreen;

// The largest scale up to the one asked for whose window fits the desktop.
int FittingScale(void) {
    SDL_Rect usable;
    int scale = windowScale;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return scale;
    while (scale > 1 && (CLIENT_WIDTH * scale > usable.w || CLIENT_HEIGHT * scale > usable.h)) {
        scale--;
    }
    return scale;
}

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
        case SDL_WINDOWEVENT_SIZE_CHANGED: SdlFitPicture(); break;
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

// On X11 SDL shows a box from a child process it forks and waits for, while
// its own handlers turn SIGTERM and SIGINT into a quit event nobody reads
// until the box is closed. So while a box is up both signals end the game at
// once, and a process forked meanwhile dies with the game, however it ends.
volatile sig_atomic_t boxOpen;
pid_t gamePid;

void DieWithTheGame(void) {
    if (!boxOpen) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != gamePid) _exit(1);  // the game ended before the line above
}

void EndAtOnce(int signalNumber) {
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void ShowBox(const char* caption, const char* text, SDL_Window* owner) {
    static bool forkHooked;
    if (!forkHooked) forkHooked = pthread_atfork(nullptr, nullptr, DieWithTheGame) == 0;
    gamePid = getpid();
    struct sigaction end = {};
    end.sa_handler = EndAtOnce;
    sigemptyset(&end.sa_mask);
    struct sigaction oldTerm, oldInt;
    sigaction(SIGTERM, &end, &oldTerm);
    sigaction(SIGINT, &end, &oldInt);
    boxOpen = 1;
    SDL_ShowSimpleMessageBox(0, caption, text, owner);
    boxOpen = 0;
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
}

bool MessagesToStderr(void) {
    const char* quiet = getenv("OSSMIRE_NO_MESSAGEBOX");
    return quiet && *quiet && *quiet != '0';
}
}  // namespace

SDL_Window* SdlWindow(void) { return window; }

void PlatformSetWindowOptions(int scale, int fullScreen) {
    windowScale = scale < 1 ? 1 : scale > 16 ? 16 : scale;
    startFullScreen = fullScreen != 0;
}

void PlatformSetWindowTitle(const char* utf8) {
    if (window) SDL_SetWindowTitle(window, utf8);
}

PlatformObject PlatformCreateWindow(const char* caption) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return 0;
    // F1 toggles by hand; losing focus in full screen must not minimise.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    const int scale = FittingScale();
    const int w = CLIENT_WIDTH * scale, h = CLIENT_HEIGHT * scale;
    // Created with GL up front when possible, so that an accelerated renderer
    // never has to recreate the window under us.
    if (SdlWantsOpenGl()) {
        window = SDL_CreateWindow(caption, 50, 50, w, h, flags | SDL_WINDOW_OPENGL);
    }
    if (!window) window = SDL_CreateWindow(caption, 50, 50, w, h, flags);
    if (!window) return 0;
    SDL_SetWindowMinimumSize(window, MIN_WIDTH, MIN_HEIGHT);
    SdlSetWindowIcon(window);
    SDL_StopTextInput();  // keys only; no input method
    SdlInitJoystick();
    return WINDOW_HANDLE;
}

void PlatformShowWindow(PlatformObject handle) {
    if (handle != WINDOW_HANDLE || !window) return;
    // Full screen from the start is the game's own F1, so that the game's
    // mode agrees; the window goes full screen first so that it never shows
    // as a window.
    if (startFullScreen) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    // Without a window manager no focus event ever comes.
    Push(PLATFORM_EVENT_ACTIVATE, 1);
    if (startFullScreen) Push(PLATFORM_EVENT_KEYDOWN, VK_F1);
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
    if (left > 1) {
        SDL_WaitEventTimeout(nullptr, left - 1);
        return;
    }
    // The clock counts whole milliseconds, so the last one was a busy loop
    // over the event queue; short sleeps start the frame on the same tick.
    // Input that comes meanwhile is read before the frame all the same.
    const timespec step = {0, 100000};
    while ((int32_t)(dueTime - PlatformTime()) > 0) nanosleep(&step, nullptr);
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
    if (MessagesToStderr()) {
        fprintf(stderr, "[%s] %s\n", caption, text);
        return;
    }
    ShowBox(caption, text, ownedByMain && !destroyed ? window : nullptr);
}

// The launcher has said it on stderr already.
void PlatformStartupMessage(const char* textUtf8) {
    if (!MessagesToStderr()) ShowBox("Ossmire", textUtf8, nullptr);
}

// The real game keeps no trace.
int PlatformTracing(int) { return 0; }
int platformDrawUsedKinds = ~0;
void PlatformTrace(int, const char*, ...) {}
