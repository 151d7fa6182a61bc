#include "platform/render.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/bmp.h"
#include "platform/render_internal.h"
#include "platform/sheet_pack.h"

namespace {
const int MAX_TEXTURES = 64;
const int MAX_TEXTURE_SIDE = 4096;

// A sheet is read and checked when loaded, but held packed until its first
// draw: most scenes draw a few of the sheets, and unpacked each costs four
// bytes a pixel for the rest of the run.
struct TextureSlot {
    SDL_Texture* texture;  // null until first drawn
    uint8_t* packed;       // until then, the decoded pixels (sheet_pack.h)
    size_t packedSize;
    int width, height;
    bool opaque;  // no keyed texel: drawn plain, it needs no blending
};

SDL_Renderer* renderer;
TextureSlot textureSlots[MAX_TEXTURES];

TextureSlot* FindTexture(PlatformObject handle) {
    if (handle == 0 || handle > (PlatformObject)MAX_TEXTURES) return nullptr;
    TextureSlot* slot = &textureSlots[handle - 1];
    return slot->texture || slot->packed ? slot : nullptr;
}

void ApplyColor(const TextureSlot* slot, uint32_t argb, uint32_t additive, bool plain) {
    SDL_Texture* texture = slot->texture;
    // Additive draws add texel x colour whatever the colour's alpha, as a
    // one/one blend does; keyed texels are transparent black and add nothing.
    // Opaque texels in plain white replace what is below exactly as blending
    // them would, at a fraction of the cost (the backgrounds fill the screen).
    SDL_BlendMode mode = additive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND;
    if (plain && slot->opaque && !additive && argb == 0xFFFFFFFFu) mode = SDL_BLENDMODE_NONE;
    SDL_SetTextureBlendMode(texture, mode);
    SDL_SetTextureColorMod(texture, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    SDL_SetTextureAlphaMod(texture, additive ? 0xFF : argb >> 24);
}

// The part of a source rectangle inside the texture, and where it sits in
// the sprite's own unscaled pixels.
struct Source {
    int left, top, right, bottom;
    float offsetX, offsetY;
};

bool ClipSource(const PlatformSprite* s, const TextureSlot* slot, Source* out) {
    int64_t left = s->left < 0 ? 0 : s->left, top = s->top < 0 ? 0 : s->top;
    int64_t right = s->right > slot->width ? slot->width : s->right;
    int64_t bottom = s->bottom > slot->height ? slot->height : s->bottom;
    if (right <= left || bottom <= top) return false;
    *out = {(int)left,
            (int)top,
            (int)right,
            (int)bottom,
            (float)(left - s->left),
            (float)(top - s->top)};
    return true;
}

// Scale about the top-left, turn clockwise about the centre, then move.
void TransformCorners(const PlatformSprite* s, const Source& src, SDL_Vertex* v) {
    float x0 = src.offsetX, x1 = x0 + (float)(src.right - src.left);
    float y0 = src.offsetY, y1 = y0 + (float)(src.bottom - src.top);
    const float localX[4] = {x0, x1, x1, x0};
    const float localY[4] = {y0, y0, y1, y1};
    float c = cosf(s->rotation);
    float sn = sinf(s->rotation);
    for (int i = 0; i < 4; i++) {
        float dx = localX[i] * s->scaleX - s->centreX;
        float dy = localY[i] * s->scaleY - s->centreY;
        v[i].position.x = s->x + s->centreX + dx * c - dy * sn;
        v[i].position.y = s->y + s->centreY + dx * sn + dy * c;
    }
}

void DrawGeometry(const PlatformSprite* s, const TextureSlot* slot, const Source& src) {
    SDL_Vertex v[4];
    TransformCorners(s, src, v);
    float u0 = (float)src.left / slot->width, u1 = (float)src.right / slot->width;
    float v0 = (float)src.top / slot->height, v1 = (float)src.bottom / slot->height;
    const float texU[4] = {u0, u1, u1, u0};
    const float texV[4] = {v0, v0, v1, v1};
    uint32_t argb = s->color;
    SDL_Color color = {(Uint8)(argb >> 16), (Uint8)(argb >> 8), (Uint8)argb,
                       (Uint8)(s->additive ? 0xFF : argb >> 24)};
    for (int i = 0; i < 4; i++) {
        v[i].tex_coord.x = texU[i];
        v[i].tex_coord.y = texV[i];
        v[i].color = color;
    }
    // The vertex colour does the modulation here; keep the texture's neutral.
    SDL_SetTextureColorMod(slot->texture, 0xFF, 0xFF, 0xFF);
    SDL_SetTextureAlphaMod(slot->texture, 0xFF);
    static const int INDICES[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(renderer, slot->texture, v, 4, INDICES, 6);
}
bool IsOpaque(const uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; i++) {
        if (pixels[i] >> 24 != 0xFF) return false;
    }
    return true;
}

// The software renderer's streaming texture is its surface itself: unpacking
// straight into it spares a second copy of the sheet. Other renderers take
// the pixels through a buffer.
SDL_Texture* Unpack(const TextureSlot* slot) {
    int width = slot->width, height = slot->height;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) == 0 && strcmp(info.name, "software") == 0) {
        SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                 SDL_TEXTUREACCESS_STREAMING, width, height);
        void* pixels;
        int pitch;
        if (texture && SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
            bool ok = pitch == width * 4 &&
                      UnpackSheet(slot->packed, slot->packedSize, width, height, (uint32_t*)pixels);
            SDL_UnlockTexture(texture);
            if (ok) return texture;
        }
        if (texture) SDL_DestroyTexture(texture);
    }
    uint32_t* pixels = (uint32_t*)malloc((size_t)width * height * sizeof(uint32_t));
    SDL_Texture* texture = nullptr;
    if (pixels && UnpackSheet(slot->packed, slot->packedSize, width, height, pixels)) {
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                    width, height);
        if (texture && SDL_UpdateTexture(texture, nullptr, pixels, width * 4) != 0) {
            SDL_DestroyTexture(texture);
            texture = nullptr;
        }
    }
    free(pixels);
    return texture;
}

bool EnsureTexture(TextureSlot* slot) {
    if (slot->texture) return true;
    SDL_Texture* texture = Unpack(slot);
    if (!texture) return false;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    slot->texture = texture;
    free(slot->packed);
    slot->packed = nullptr;
    slot->packedSize = 0;
    return true;
}
}  // namespace

void RenderAttach(SDL_Renderer* target) { renderer = target; }

void RenderDetach(void) {
    for (int i = 0; i < MAX_TEXTURES; i++) RenderReleaseTexture((PlatformObject)(i + 1));
    TextCacheClear();
    renderer = nullptr;
}

PlatformObject RenderLoadTexture(int id, const char* path, int width, int height,
                                 uint32_t colorKey) {
    (void)id;
    if (!renderer || width <= 0 || height <= 0) return 0;
    if (width > MAX_TEXTURE_SIDE || height > MAX_TEXTURE_SIDE) return 0;
    int index = 0;
    while (index < MAX_TEXTURES && FindTexture((PlatformObject)(index + 1))) index++;
    if (index == MAX_TEXTURES) return 0;
    uint32_t* pixels = (uint32_t*)malloc((size_t)width * height * sizeof(uint32_t));
    if (!pixels) return 0;
    TextureSlot slot = {nullptr, nullptr, 0, width, height, false};
    if (LoadBmpPixels(path, width, height, colorKey, pixels)) {
        slot.opaque = IsOpaque(pixels, (size_t)width * height);
        slot.packed = PackSheet(pixels, width, height, &slot.packedSize);
    }
    free(pixels);
    if (!slot.packed) return 0;
    textureSlots[index] = slot;
    return (PlatformObject)(index + 1);
}

void RenderReleaseTexture(PlatformObject handle) {
    TextureSlot* slot = FindTexture(handle);
    if (!slot) return;
    if (slot->texture) SDL_DestroyTexture(slot->texture);
    free(slot->packed);
    *slot = {nullptr, nullptr, 0, 0, 0, false};
}

void RenderSprite(const PlatformSprite* s) {
    TextureSlot* slot = FindTexture(s->texture);
    Source src;
    if (!renderer || !slot || !ClipSource(s, slot, &src) || !EnsureTexture(slot)) return;
    bool plain = s->rotation == 0.0f && s->scaleX > 0.0f && s->scaleY > 0.0f;
    ApplyColor(slot, s->color, s->additive, plain);
    if (!plain) {
        DrawGeometry(s, slot, src);
        return;
    }
    SDL_Rect source = {src.left, src.top, src.right - src.left, src.bottom - src.top};
    SDL_FRect target = {s->x + src.offsetX * s->scaleX, s->y + src.offsetY * s->scaleY,
                        source.w * s->scaleX, source.h * s->scaleY};
    SDL_RenderCopyF(renderer, slot->texture, &source, &target);
}

SDL_Renderer* RenderCurrent(void) { return renderer; }
