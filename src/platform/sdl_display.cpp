// The display device over an SDL_Renderer; drawing itself is render.cpp's.
#ifdef OSSMIRE_FRAME_LOG
#include <cstdio>
#include <cstdlib>
#include <ctime>
#endif

#include <unistd.h>

#include <cstring>

#include "platform/render.h"
#include "platform/sdl_backend.h"

namespace {
const int LOGICAL_WIDTH = 640;
const int LOGICAL_HEIGHT = 480;
const PlatformObject DEVICE_HANDLE = 1;
const PlatformObject SPRITE_HANDLE = 1;

SDL_Renderer* renderer;
int windowedWidth, windowedHeight;  // the client area to return to from full screen

// Mesa's CPU rasterisers, by the names their GL_RENDERER strings carry.
bool IsCpuOpenGl(SDL_Renderer* candidate) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(candidate, &info) != 0 || strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    typedef const unsigned char* (*GetString)(unsigned);
    const unsigned GL_RENDERER_NAME = 0x1F01;
    GetString getString = (GetString)SDL_GL_GetProcAddress("glGetString");
    const char* name = getString ? (const char*)getString(GL_RENDERER_NAME) : nullptr;
    return name && (strstr(name, "llvmpipe") || strstr(name, "softpipe") ||
                    strstr(name, "Software Rasterizer"));
}

// Without a kernel graphics device every OpenGL is Mesa on the CPU: asking
// costs a tenth of a second and maps some 56 MiB of LLVM that stays.
bool HasGpuDevice(void) {
    return access("/dev/dri", F_OK) == 0 || access("/dev/nvidiactl", F_OK) == 0;
}

SDL_Renderer* CreateSoftwareRenderer(SDL_Window* window) {
    // Straight to the window system: by default SDL would upload the
    // software picture into an OpenGL texture and draw it once more.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}
}  // namespace

SDL_Renderer* SdlRenderer(void) { return renderer; }

bool SdlWantsOpenGl(void) {
    const char* driver = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (driver && *driver) return strcmp(driver, "software") != 0;
    return HasGpuDevice();
}

int PlatformCreateGraphicsSystem(void) { return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? 1 : 0; }

void PlatformReleaseGraphicsSystem(void) {
    // Reference-counted: the window's own reference keeps video alive.
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int PlatformReadDisplayMode(void) {
    SDL_DisplayMode mode;
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? 1 : 0;
}

void PlatformSetWindowMode(PlatformObject, int fullScreen) {
    SDL_Window* window = SdlWindow();
    if (!window) return;
    const bool wasFullScreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    if (!wasFullScreen) SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    if (fullScreen) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    if (!wasFullScreen) return;
    SDL_SetWindowFullscreen(window, 0);
    // Leaving full screen restores the size already; asking again only races
    // the window manager's reframing.
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (windowedWidth > 0 && (w != windowedWidth || h != windowedHeight)) {
        SDL_SetWindowSize(window, windowedWidth, windowedHeight);
    }
}

void SdlFitPicture(void) {
    int w = 0, h = 0;
    if (!renderer || SDL_GetRendererOutputSize(renderer, &w, &h) != 0) return;
    // Whole pixels whenever the picture fits at least once; a smaller window
    // shrinks it as it must.
    SDL_bool whole = w >= LOGICAL_WIDTH && h >= LOGICAL_HEIGHT ? SDL_TRUE : SDL_FALSE;
    if (SDL_RenderGetIntegerScale(renderer) != whole) SDL_RenderSetIntegerScale(renderer, whole);
}

PlatformObject PlatformCreateDevice(PlatformObject, int deviceType) {
    SDL_Window* window = SdlWindow();
    if (!window || renderer) return 0;
    if (deviceType == 1 && SdlWantsOpenGl()) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        // OpenGL rasterised by the CPU (no GPU): SDL's own software renderer
        // draws the same picture at a third of the CPU time, with steadier
        // frames. An explicit SDL_RENDER_DRIVER is left alone.
        if (renderer && !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && IsCpuOpenGl(renderer)) {
            SDL_DestroyRenderer(renderer);
            renderer = CreateSoftwareRenderer(window);
        }
    } else {
        renderer = CreateSoftwareRenderer(window);
    }
    if (!renderer) return 0;
    // The frame loop runs on this thread: on a busy machine it should get its
    // core back before the frame is due. Needs RLIMIT_NICE, root or rtkit;
    // where none allows it the thread simply keeps its priority.
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    // The 640x480 picture letterboxed in any window, scaled nearest-neighbour.
    SDL_RenderSetLogicalSize(renderer, LOGICAL_WIDTH, LOGICAL_HEIGHT);
    SdlFitPicture();
    RenderAttach(renderer);
    return DEVICE_HANDLE;
}

void PlatformReleaseDevice(PlatformObject device) {
    if (device != DEVICE_HANDLE || !renderer) return;
    RenderDetach();
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
}

PlatformObject PlatformCreateSpriteDrawer(void) { return renderer ? SPRITE_HANDLE : 0; }
void PlatformReleaseSpriteDrawer(PlatformObject) {}

PlatformObject PlatformLoadTexture(int id, const char* path, int width, int height,
                                   uint32_t colorKey) {
    return RenderLoadTexture(id, path, width, height, colorKey);
}

void PlatformReleaseTexture(PlatformObject texture) { RenderReleaseTexture(texture); }
void PlatformDrawSprite(const PlatformSprite* sprite) { RenderSprite(sprite); }

PlatformObject PlatformCreateFont(int fontId, int height, int width, int weight,
                                  const char* faceSjis) {
    return RenderCreateFont(fontId, height, width, weight, faceSjis);
}

void PlatformReleaseFont(PlatformObject font) { RenderReleaseFont(font); }

void PlatformDrawText(int, PlatformObject font, const char* textSjis, int x, int y,
                      uint32_t color) {
    RenderText(font, textSjis, x, y, color);
}

#ifdef OSSMIRE_FRAME_LOG
// Benchmark builds only (CMake option OSSMIRE_FRAME_LOG): the renderer's name,
// then for every frame the CLOCK_MONOTONIC times in microseconds of its
// clear (the frame granted) and of its present's return, one frame a line,
// into the file that the environment variable OSSMIRE_FRAME_LOG names.
static long long frameStart;

static long long MonotonicMicroseconds(void) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

static void LogPresent(void) {
    static FILE* log;
    static bool opened;
    if (!opened) {
        opened = true;
        const char* path = getenv("OSSMIRE_FRAME_LOG");
        log = path && *path ? fopen(path, "w") : nullptr;
        SDL_RendererInfo info;
        if (log && SDL_GetRendererInfo(renderer, &info) == 0) fprintf(log, "# %s\n", info.name);
    }
    if (!log) return;
    fprintf(log, "%lld %lld\n", frameStart, MonotonicMicroseconds());
    fflush(log);
}
#endif

void PlatformClear(uint32_t argb) {
#ifdef OSSMIRE_FRAME_LOG
    frameStart = MonotonicMicroseconds();
#endif
    if (!renderer) return;
    SDL_SetRenderDrawColor(renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                           argb >> 24);
    // Clear ignores the viewport: the letterbox is cleared too.
    SDL_RenderClear(renderer);
}

void PlatformPresent(void) {
    if (!renderer) return;
    SDL_RenderPresent(renderer);
#ifdef OSSMIRE_FRAME_LOG
    LogPresent();
#endif
}
