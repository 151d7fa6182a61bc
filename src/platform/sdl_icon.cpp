// The window icon: a golden key on a maze tile, 32x32 in the 16 standard
// colours, '.' transparent.
#include "platform/sdl_backend.h"

namespace {
const int ICON_SIDE = 32;

const uint32_t PALETTE[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// clang-format off
const char* const PIXELS[ICON_SIDE] = {
    "...cccccccccccccccccccccccccc...",
    "..c44444444444444444444444444c..",
    ".c4444444444444444444444444444c.",
    "c444444444444444444444444444444c",
    "c444444444444444444444444444444c",
    "c446666666666444666666666666644c",
    "c446444444444444444444444444644c",
    "c446444444444444444444444444644c",
    "c446444444444444444444444444644c",
    "c446444464044444444466666444644c",
    "c446444000b00044444444446444644c",
    "c446440bfbbbbb04444444446444644c",
    "c44640bfbbbbbbb0444444446444644c",
    "c4460bfbbbbbbbbb044444444444444c",
    "c4460bbbb000bbbb000000000000044c",
    "c4460bbb04440bbbbbfffbbbbbbb044c",
    "c440bbbb04440bbbbbbbbbbbbbbb044c",
    "c4460bbb04440bb3b33333333333044c",
    "c4460bbbb000bbb30000bb000bb0044c",
    "c4460bbbbbbbbb330440bb040bb0444c",
    "c44640bbbbbbb3304440bb040bb0644c",
    "c446440bb33333044440bb040bb0644c",
    "c446444000300066666000040000644c",
    "c446444444044444444444444444644c",
    "c446444444444444444444444444644c",
    "c446444444444444444444444444644c",
    "c446666666666666666664446666644c",
    "c444444444444444444444444444444c",
    "c444444444444444444444444444444c",
    ".c4444444444444444444444444444c.",
    "..c44444444444444444444444444c..",
    "...cccccccccccccccccccccccccc...",
};
// clang-format on

uint32_t IconPixel(char c) {
    if (c >= '0' && c <= '9') return 0xFF000000u | PALETTE[c - '0'];
    if (c >= 'a' && c <= 'f') return 0xFF000000u | PALETTE[10 + c - 'a'];
    return 0;
}
}  // namespace

void SdlSetWindowIcon(SDL_Window* window) {
    static uint32_t pixels[ICON_SIDE * ICON_SIDE];
    for (int y = 0; y < ICON_SIDE; y++) {
        for (int x = 0; x < ICON_SIDE; x++) pixels[y * ICON_SIDE + x] = IconPixel(PIXELS[y][x]);
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, ICON_SIDE, ICON_SIDE, 32,
                                                           ICON_SIDE * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}
