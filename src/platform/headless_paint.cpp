#include "platform/headless_paint.h"

#include <SDL.h>

#include "platform/render.h"

namespace {
SDL_Surface* surface = nullptr;
SDL_Renderer* renderer = nullptr;

void Stop() {
    if (renderer) {
        RenderDetach();
        SDL_DestroyRenderer(renderer);
    }
    if (surface) SDL_FreeSurface(surface);
    renderer = nullptr;
    surface = nullptr;
}

int Start() {
    Stop();
    surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface) renderer = SDL_CreateSoftwareRenderer(surface);
    if (!renderer) {
        Stop();
        return 0;
    }
    RenderAttach(renderer);
    return 1;
}

void Clear() {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
}

void Read(uint32_t* argb) {
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, argb, 640 * 4);
}

const HeadlessPainter PAINTER = {Start,
                                 Stop,
                                 RenderLoadTexture,
                                 RenderReleaseTexture,
                                 RenderCreateFont,
                                 RenderReleaseFont,
                                 Clear,
                                 RenderSprite,
                                 RenderText,
                                 Read};
}  // namespace

extern "C" const HeadlessPainter* OssmireHeadlessPainter(void) { return &PAINTER; }
