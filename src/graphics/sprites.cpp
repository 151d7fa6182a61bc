#include "graphics/sprites.h"

#include <cstdio>

#include "base/registry.h"
#include "base/services.h"
#include "graphics/display.h"

PlatformObject textures[TEXTURE_COUNT];
SpriteState spriteState = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0xFFFFFFFFu, 0};

u32 fpsFrameCount;
u32 fpsSecondStart;
u32 fpsValue;

namespace {
bool fpsStarted = false;
const u32 KEY_NONE = 0;
const u32 KEY_BLACK = 0xFF000000u;
const u32 KEY_GREEN = 0xFF00FF00u;
}  // namespace

const TextureInfo textureCatalogue[TEXTURE_COUNT] = {
    {"bitmap\\opening\\background01.bmp", 640, 480, KEY_NONE},
    {"bitmap\\opening\\st.bmp", 400, 160, KEY_BLACK},
    {"bitmap\\opening\\background02.bmp", 640, 480, KEY_NONE},
    {"bitmap\\play\\background.bmp", 640, 480, KEY_NONE},
    {"bitmap\\play\\chip.bmp", 160, 160, KEY_NONE},
    {"bitmap\\play\\char.bmp", 160, 200, KEY_BLACK},
    {"bitmap\\play\\mes.bmp", 640, 480, KEY_BLACK},
    {"bitmap\\play\\retray.bmp", 640, 480, KEY_NONE},
    {"bitmap\\play\\st.bmp", 200, 440, KEY_BLACK},
    {"bitmap\\play\\face.bmp", 240, 240, KEY_NONE},
    {"bitmap\\play\\way.bmp", 160, 240, KEY_BLACK},
    {"bitmap\\play\\select.bmp", 320, 160, KEY_BLACK},
    {"bitmap\\play\\shutt.bmp", 640, 480, KEY_NONE},
    {"bitmap\\play\\num.bmp", 200, 80, KEY_BLACK},
    {"bitmap\\gameover\\background.bmp", 640, 480, KEY_NONE},
    {"bitmap\\gameover\\gameover.bmp", 640, 100, KEY_BLACK},
    {"bitmap\\ending\\background.bmp", 640, 480, KEY_NONE},
    {"bitmap\\ending\\st.bmp", 120, 130, KEY_BLACK},
    {"bitmap\\ending\\cleartime.bmp", 640, 100, KEY_BLACK},
    {"bitmap\\gameadv\\background01.bmp", 640, 480, KEY_NONE},
    {"bitmap\\gameadv\\background02.bmp", 640, 480, KEY_NONE},
    {"bitmap\\gameadv\\background03.bmp", 640, 480, KEY_NONE},
    {"bitmap\\gameadv\\face.bmp", 240, 240, KEY_BLACK},
    {"bitmap\\gameadv\\window.bmp", 440, 160, KEY_BLACK},
    {"bitmap\\gameadv\\character_1.bmp", 640, 960, KEY_GREEN},
    {"bitmap\\gameadv\\character_2.bmp", 640, 960, KEY_GREEN},
    {"bitmap\\gameadv\\character_3.bmp", 640, 960, KEY_GREEN},
    {"bitmap\\gameadv\\photo01.bmp", 320, 240, KEY_NONE},
    {"bitmap\\gameadv\\photo02.bmp", 320, 240, KEY_NONE},
    {"bitmap\\sweep.bmp", 640, 480, KEY_NONE},
    {"bitmap\\edit\\Edit.bmp", 120, 120, KEY_NONE},
};

u32 LoadTexture(int id, const char* path, int width, int height, u32 colorKey) {
    if (id < 0 || id >= TEXTURE_COUNT) return 0;
    textures[id] = device ? PlatformLoadTexture(id, path, width, height, colorKey) : 0;
    if (!textures[id]) {
        ShowMessage(MESSAGE_OWNER_NONE, Sjis("テクスチャの作成に失敗しました"), "");
        return 0;
    }
    return 1;
}

void LoadTextures(void) {
    static const int ORDER[TEXTURE_COUNT] = {0,  2,  1,  3,  4,  5,  6,  7,  8,  9,  10,
                                             11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                             22, 23, 24, 25, 26, 27, 28, 29, 30};
    for (int i = 0; i < TEXTURE_COUNT; i++) {
        const TextureInfo& info = textureCatalogue[ORDER[i]];
        LoadTexture(ORDER[i], info.path, info.width, info.height, info.colorKey);
    }
}

void DrawSprite(int textureId, f32 x, f32 y, RECT sourceRect) {
    if (!PlatformDrawUsed(TRACE_SPRITE)) {
        ResetSpriteState();
        return;
    }
    PlatformSprite s;
    s.textureId = textureId;
    s.texture = textureId >= 0 && textureId < TEXTURE_COUNT ? textures[textureId] : 0;
    s.x = x;
    s.y = y;
    s.left = sourceRect.left;
    s.top = sourceRect.top;
    s.right = sourceRect.right;
    s.bottom = sourceRect.bottom;
    s.scaleX = spriteState.scaleX;
    s.scaleY = spriteState.scaleY;
    s.centreX = spriteState.centreX;
    s.centreY = spriteState.centreY;
    s.rotation = spriteState.rotation;
    s.color = spriteState.color;
    s.additive = spriteState.additive;
    if (PlatformTracing(TRACE_SPRITE)) {
        PlatformTrace(TRACE_SPRITE,
                      "sprite tex=%d x=%.9g y=%.9g src=%d,%d,%d,%d scale=%.9g,%.9g "
                      "centre=%.9g,%.9g rot=%.9g color=%08X add=%d",
                      textureId, (double)x, (double)y, (int)s.left, (int)s.top, (int)s.right,
                      (int)s.bottom, (double)s.scaleX, (double)s.scaleY, (double)s.centreX,
                      (double)s.centreY, (double)s.rotation, (unsigned)s.color, s.additive ? 1 : 0);
    }
    if (s.texture && sprite) PlatformDrawSprite(&s);
    ResetSpriteState();
}

void ResetSpriteState(void) {
    spriteState.scaleX = 1.0f;
    spriteState.scaleY = 1.0f;
    spriteState.centreX = 0.0f;
    spriteState.centreY = 0.0f;
    spriteState.rotation = 0.0f;
    spriteState.color = 0xFFFFFFFFu;
    spriteState.additive = 0;
}

void SetSpriteColor(u32 color, u32 additive) {
    spriteState.color = color;
    spriteState.additive = additive;
}

void SetSpriteScale(f32 scaleX, f32 scaleY) {
    spriteState.scaleX = scaleX;
    spriteState.scaleY = scaleY;
}

void SetSpriteRotation(f32 centreX, f32 centreY, f32 degrees) {
    spriteState.centreX = centreX * spriteState.scaleX;
    spriteState.centreY = centreY * spriteState.scaleY;
    spriteState.rotation = degrees * 0.017453289f;
}

void DrawString(const char* text, int x, int y, u32 color, int fontId) {
    if (!text) return;
    if (PlatformTracing(TRACE_TEXT)) {
        char utf8[1024];
        PlatformSjisToUtf8(text, utf8, sizeof utf8);
        PlatformTrace(TRACE_TEXT, "text font=%d x=%d y=%d color=%08X \"%s\"", fontId, x, y,
                      (unsigned)color, utf8);
    }
    if (fontId < 0 || fontId >= FONT_COUNT || !fonts[fontId]) return;
    PlatformDrawText(fontId, fonts[fontId], text, x, y, color);
}

void RegisterSpriteGlobals(void) {
    REG_ARRAY(textures, GLOBAL_U32);
    REG_FIELD(spriteState, scaleX, GLOBAL_F32);
    REG_FIELD(spriteState, scaleY, GLOBAL_F32);
    REG_FIELD(spriteState, centreX, GLOBAL_F32);
    REG_FIELD(spriteState, centreY, GLOBAL_F32);
    REG_FIELD(spriteState, rotation, GLOBAL_F32);
    REG_FIELD(spriteState, color, GLOBAL_U32);
    REG_FIELD(spriteState, additive, GLOBAL_U32);
}

u32 GetFps(void) {
    if (!fpsStarted) {
        fpsStarted = true;
        fpsSecondStart = timeGetTime();
    }
    fpsFrameCount++;
    if (timeGetTime() - fpsSecondStart >= 1000) {
        fpsValue = fpsFrameCount;
        fpsFrameCount = 0;
        fpsSecondStart = timeGetTime();
    }
    return fpsValue;
}

void DrawFps(int x, int y) {
    u32 fps = GetFps();
    if (!PlatformDrawUsed(TRACE_TEXT)) return;
    char text[32];
    snprintf(text, sizeof text, "FPS:%d", (int)fps);
    DrawString(text, x, y, 0xFF00FFFFu, 0);
}
