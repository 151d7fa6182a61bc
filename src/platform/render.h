// Drawing shared by both backends: textures from our own BMP reader, sprites,
// and cached Shift-JIS text, on whatever SDL_Renderer the backend owns (the
// window's, or a software renderer on a surface for the simulator's shots).
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct SDL_Renderer;

// Uses `renderer` for everything below until RenderDetach.
void RenderAttach(SDL_Renderer* renderer);
// Releases every texture and cached string made on the renderer.
void RenderDetach(void);

PlatformObject RenderLoadTexture(int id, const char* path, int width, int height,
                                 uint32_t colorKey);
void RenderReleaseTexture(PlatformObject texture);
void RenderSprite(const PlatformSprite* sprite);

PlatformObject RenderCreateFont(int fontId, int height, int width, int weight,
                                const char* faceSjis);
void RenderReleaseFont(PlatformObject font);
void RenderText(PlatformObject font, const char* textSjis, int x, int y, uint32_t color);
