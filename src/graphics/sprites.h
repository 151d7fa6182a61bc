// The texture catalogue, the one sprite primitive with its one-shot transform
// and colour state, and text drawing.
#pragma once
#include "base/common.h"
#include "platform/platform.h"

const int TEXTURE_COUNT = 31;

// Texture ids, named after their bitmap files.
enum : int {
    TEXTURE_OPENING_BACKGROUND01 = 0,
    TEXTURE_OPENING_ST = 1,
    TEXTURE_OPENING_BACKGROUND02 = 2,
    TEXTURE_PLAY_BACKGROUND = 3,
    TEXTURE_PLAY_CHIP = 4,
    TEXTURE_PLAY_CHAR = 5,
    TEXTURE_PLAY_MES = 6,
    TEXTURE_PLAY_RETRAY = 7,
    TEXTURE_PLAY_ST = 8,
    TEXTURE_PLAY_FACE = 9,
    TEXTURE_PLAY_WAY = 10,
    TEXTURE_PLAY_SELECT = 11,
    TEXTURE_PLAY_SHUTT = 12,
    TEXTURE_PLAY_NUM = 13,
    TEXTURE_GAMEOVER_BACKGROUND = 14,
    TEXTURE_GAMEOVER_GAMEOVER = 15,
    TEXTURE_ENDING_BACKGROUND = 16,
    TEXTURE_ENDING_ST = 17,
    TEXTURE_ENDING_CLEARTIME = 18,
    TEXTURE_GAMEADV_BACKGROUND01 = 19,
    TEXTURE_GAMEADV_BACKGROUND02 = 20,
    TEXTURE_GAMEADV_BACKGROUND03 = 21,
    TEXTURE_GAMEADV_FACE = 22,
    TEXTURE_GAMEADV_WINDOW = 23,
    TEXTURE_GAMEADV_CHARACTER_1 = 24,
    TEXTURE_GAMEADV_CHARACTER_2 = 25,
    TEXTURE_GAMEADV_CHARACTER_3 = 26,
    TEXTURE_GAMEADV_PHOTO01 = 27,
    TEXTURE_GAMEADV_PHOTO02 = 28,
    TEXTURE_SWEEP = 29,
    TEXTURE_EDIT = 30,
};

struct TextureInfo {
    const char* path;
    i32 width, height;
    u32 colorKey;  // ARGB; 0 = none
};
extern const TextureInfo textureCatalogue[TEXTURE_COUNT];

struct SpriteState {
    f32 scaleX, scaleY;
    f32 centreX, centreY;
    f32 rotation;
    u32 color;
    u32 additive;
};

extern PlatformObject textures[TEXTURE_COUNT];
extern SpriteState spriteState;

u32 LoadTexture(int id, const char* path, int width, int height, u32 colorKey);
void LoadTextures(void);
void DrawSprite(int textureId, f32 x, f32 y, RECT sourceRect);
void ResetSpriteState(void);
void SetSpriteColor(u32 color, u32 additive);
void SetSpriteScale(f32 scaleX, f32 scaleY);
void SetSpriteRotation(f32 centreX, f32 centreY, f32 degrees);
void DrawString(const char* text, int x, int y, u32 color, int fontId);

// The frame-rate counter: frames counted over each second of the clock.
extern u32 fpsFrameCount;
extern u32 fpsSecondStart;
extern u32 fpsValue;
u32 GetFps(void);
// "FPS:%d" in font 0, colour 0xFF00FFFF, as every scene draws it.
void DrawFps(int x, int y);

void RegisterSpriteGlobals(void);
