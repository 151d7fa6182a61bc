// The pictures of the simulator's shots, drawn by SDL's software renderer on
// a 640x480 surface. They live in a module of their own, loaded only when a
// shot is asked for, so that a run without shots never loads SDL.
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct HeadlessPainter {
    int (*start)(void);  // 1 when it can draw
    void (*stop)(void);
    PlatformObject (*loadTexture)(int id, const char* path, int width, int height,
                                  uint32_t colorKey);
    void (*releaseTexture)(PlatformObject texture);
    PlatformObject (*createFont)(int fontId, int height, int width, int weight,
                                 const char* faceSjis);
    void (*releaseFont)(PlatformObject font);
    void (*clear)(void);
    void (*sprite)(const PlatformSprite* sprite);
    void (*text)(PlatformObject font, const char* textSjis, int x, int y, uint32_t color);
    void (*read)(uint32_t* argb);  // 640x480, row by row
};

// The module's one entry point.
extern "C" const HeadlessPainter* OssmireHeadlessPainter(void);
typedef const HeadlessPainter* (*HeadlessPainterEntry)(void);

// Shots are drawn by `painter` from the next device on; without one they are black.
void HeadlessSetPainter(const HeadlessPainter* painter);
