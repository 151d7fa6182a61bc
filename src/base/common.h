// Types and small helpers every subsystem shares.
#pragma once
#include <cstdint>

typedef uint8_t u8;
typedef uint16_t u16;
typedef uint32_t u32;
typedef int32_t i32;
typedef float f32;

// A rectangle in bitmap or screen pixels; right and bottom are exclusive.
struct RECT {
    i32 left, top, right, bottom;
};

struct POINT {
    i32 x, y;
};

// Scene ids.
enum : u8 {
    SCENE_TITLE = 0,
    SCENE_STORY = 1,
    SCENE_PLAY = 2,
    SCENE_GAMEOVER = 3,
    SCENE_ENDING = 4,
    SCENE_EDITOR = 5,
};
