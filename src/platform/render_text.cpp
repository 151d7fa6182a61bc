// Fonts resolved through fontconfig to installed Japanese faces of the same
// character as the game's, and Shift-JIS strings drawn from a cache of
// rendered textures so a string that does not change is rasterised once.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "platform/render.h"
#include "platform/render_internal.h"

namespace {
const int MAX_FONTS = 16;
const int CACHE_SIZE = 128;
const int KEY_BYTES = 512;
const int UTF8_BYTES = 4096;
const int MAX_SEGMENTS = 128;
const int CLIP_RIGHT = 640;
const int CLIP_BOTTOM = 480;

struct FontSlot {
    TTF_Font* font;
    int tabPixels;
    int lineSkip;
    int cellHeight;
};

struct CachedText {
    PlatformObject font;
    char key[KEY_BYTES];
    SDL_Texture* texture;
    int width, height;
    uint32_t lastUse;
};

FontSlot fontSlots[MAX_FONTS];
CachedText cache[CACHE_SIZE];
CachedText scratch;  // a string too long to key the cache with
uint32_t useClock;
bool ttfReady;

// Candidate families, best first, for each kind of face the game names.
const char* const MINCHO_FACES[] = {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP", nullptr};
const char* const POP_FACES[] = {"Reggae One", "Noto Sans CJK JP:weight=bold", "IPAexGothic",
                                 "IPAGothic", nullptr};
const char* const GOTHIC_FACES[] = {"Noto Sans CJK JP:weight=black", "IPAexGothic", "IPAGothic",
                                    nullptr};

const char* const* FacesFor(int fontId, const char* faceUtf8) {
    if (strstr(faceUtf8, "明朝")) return MINCHO_FACES;
    if (strstr(faceUtf8, "ポップ") || strstr(faceUtf8, "ﾎﾟｯﾌﾟ")) return POP_FACES;
    if (strstr(faceUtf8, "ゴシック") || strstr(faceUtf8, "ｺﾞｼｯｸ")) return GOTHIC_FACES;
    if (fontId == 1 || fontId == 2) return POP_FACES;
    return fontId == 3 ? GOTHIC_FACES : MINCHO_FACES;
}

bool FamilyMatches(FcPattern* match, const char* wanted) {
    size_t length = strcspn(wanted, ":");
    FcChar8* family;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; i++) {
        if (strlen((const char*)family) == length &&
            strncasecmp((const char*)family, wanted, length) == 0) {
            return true;
        }
    }
    return false;
}

bool CoversJapanese(FcPattern* match) {
    FcCharSet* chars;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
    return FcCharSetHasChar(chars, 0x3042) && FcCharSetHasChar(chars, 0x6F22);
}

// Finds the file of `name` (null = any Japanese face); false when not installed.
bool MatchFace(const char* name, char* file, size_t size, int* index) {
    char pattern[128];
    snprintf(pattern, sizeof pattern, "%s:lang=ja", name ? name : "");
    FcPattern* query = FcNameParse((const FcChar8*)pattern);
    if (!query) return false;
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, query, &result);
    FcPatternDestroy(query);
    if (!match) return false;
    FcChar8* path;
    bool ok = (name ? FamilyMatches(match, name) : CoversJapanese(match)) &&
              FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
              strlen((const char*)path) < size;
    if (ok) {
        strcpy(file, (const char*)path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
    }
    FcPatternDestroy(match);
    return ok;
}

bool ResolveFace(int fontId, const char* faceUtf8, char* file, size_t size, int* index) {
    if (!FcInit()) return false;
    for (const char* const* face = FacesFor(fontId, faceUtf8); *face; face++) {
        if (MatchFace(*face, file, size, index)) return true;
    }
    return MatchFace(nullptr, file, size, index);
}

// A LOGFONT height is the cell height: the largest size whose ascent plus
// descent still fits in it.
TTF_Font* OpenAtCellHeight(const char* file, int index, int height) {
    TTF_Font* font = TTF_OpenFontIndex(file, height, index);
    if (!font) return nullptr;
    int size = height;
    while (size > 1 && TTF_FontHeight(font) > height) TTF_SetFontSize(font, --size);
    return font;
}

int AverageWidth(TTF_Font* font, int width) {
    if (width > 0) return width;
    int advance = 0;
    if (TTF_GlyphMetrics(font, '0', nullptr, nullptr, nullptr, nullptr, &advance) != 0) return 8;
    return advance > 0 ? advance : 8;
}

FontSlot* FindFont(PlatformObject handle) {
    if (handle == 0 || handle > (PlatformObject)MAX_FONTS) return nullptr;
    FontSlot* slot = &fontSlots[handle - 1];
    return slot->font ? slot : nullptr;
}

void DropEntry(CachedText* entry) {
    if (entry->texture) SDL_DestroyTexture(entry->texture);
    memset(entry, 0, sizeof *entry);
}

// ---- Layout: lines split at "\n" (a "\r" before it dropped), tabs expanded.

struct Segment {
    int start, length;  // bytes in the UTF-8 text
    int x, y;
};

int LayOut(const FontSlot& f, const char* utf8, Segment* segments, int* width, int* height) {
    int count = 0, x = 0, line = 0, start = 0;
    *width = 0;
    for (int i = 0;; i++) {
        char c = utf8[i];
        if (c != '\t' && c != '\n' && c != '\0') continue;
        int end = i > start && c == '\n' && utf8[i - 1] == '\r' ? i - 1 : i;
        if (end > start && count < MAX_SEGMENTS) {
            char piece[UTF8_BYTES];
            memcpy(piece, utf8 + start, end - start);
            piece[end - start] = '\0';
            int w = 0, h = 0;
            TTF_SizeUTF8(f.font, piece, &w, &h);
            segments[count++] = {start, end - start, x, line * f.lineSkip};
            x += w;
        }
        if (x > *width) *width = x;
        if (c == '\0') break;
        if (c == '\t') x = (x / f.tabPixels + 1) * f.tabPixels;
        if (c == '\n') x = 0, line++;
        start = i + 1;
    }
    *height = line * f.lineSkip + f.cellHeight;
    return count;
}

SDL_Surface* Rasterise(const FontSlot& f, const char* utf8) {
    static Segment segments[MAX_SEGMENTS];
    int width, height;
    int count = LayOut(f, utf8, segments, &width, &height);
    if (count == 0 || width <= 0 || height <= 0) return nullptr;
    SDL_Surface* canvas =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!canvas) return nullptr;
    SDL_FillRect(canvas, nullptr, 0);
    const SDL_Color white = {0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < count; i++) {
        char piece[UTF8_BYTES];
        memcpy(piece, utf8 + segments[i].start, segments[i].length);
        piece[segments[i].length] = '\0';
        SDL_Surface* glyphs = TTF_RenderUTF8_Blended(f.font, piece, white);
        if (!glyphs) continue;
        // Copy, not blend: the canvas keeps straight (unpremultiplied) alpha.
        SDL_SetSurfaceBlendMode(glyphs, SDL_BLENDMODE_NONE);
        SDL_Rect at = {segments[i].x, segments[i].y, glyphs->w, glyphs->h};
        SDL_BlitSurface(glyphs, nullptr, canvas, &at);
        SDL_FreeSurface(glyphs);
    }
    return canvas;
}

void FillEntry(CachedText* entry, const FontSlot& f, const char* textSjis) {
    static char utf8[UTF8_BYTES];
    PlatformSjisToUtf8(textSjis, utf8, sizeof utf8);
    SDL_Surface* canvas = Rasterise(f, utf8);
    if (!canvas) return;
    entry->texture = SDL_CreateTextureFromSurface(RenderCurrent(), canvas);
    entry->width = canvas->w;
    entry->height = canvas->h;
    SDL_FreeSurface(canvas);
    if (!entry->texture) return;
    SDL_SetTextureBlendMode(entry->texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(entry->texture, SDL_ScaleModeNearest);
}

// The cached rendering of the string, made now on a miss (evicting the
// least recently used entry).
CachedText* LookUp(PlatformObject font, const FontSlot& f, const char* textSjis) {
    size_t length = strlen(textSjis);
    CachedText* oldest = &cache[0];
    for (int i = 0; i < CACHE_SIZE && length < KEY_BYTES; i++) {
        CachedText* entry = &cache[i];
        if (entry->font == font && strcmp(entry->key, textSjis) == 0) {
            entry->lastUse = ++useClock;
            return entry;
        }
        if (entry->lastUse < oldest->lastUse) oldest = entry;
    }
    // Too long to keep: rendered afresh each time into the scratch entry.
    CachedText* entry = length < KEY_BYTES ? oldest : &scratch;
    DropEntry(entry);
    entry->font = font;
    if (length < KEY_BYTES) memcpy(entry->key, textSjis, length + 1);
    entry->lastUse = ++useClock;
    FillEntry(entry, f, textSjis);
    return entry;
}
}  // namespace

void TextCacheClear(void) {
    for (int i = 0; i < CACHE_SIZE; i++) DropEntry(&cache[i]);
    DropEntry(&scratch);
}

PlatformObject RenderCreateFont(int fontId, int height, int width, int weight,
                                const char* faceSjis) {
    (void)weight;  // the candidate faces already carry the weight
    if (height <= 0 || height > 256 || !faceSjis) return 0;
    if (!ttfReady) {
        if (TTF_Init() != 0) return 0;
        ttfReady = true;
    }
    int slot = 0;
    while (slot < MAX_FONTS && fontSlots[slot].font) slot++;
    if (slot == MAX_FONTS) return 0;
    char faceUtf8[256];
    PlatformSjisToUtf8(faceSjis, faceUtf8, sizeof faceUtf8);
    char file[1024];
    int index = 0;
    if (!ResolveFace(fontId, faceUtf8, file, sizeof file, &index)) return 0;
    TTF_Font* font = OpenAtCellHeight(file, index, height);
    if (!font) return 0;
    int average = AverageWidth(font, width);
    fontSlots[slot] = {font, 8 * average, TTF_FontLineSkip(font), TTF_FontHeight(font)};
    return (PlatformObject)(slot + 1);
}

void RenderReleaseFont(PlatformObject handle) {
    FontSlot* slot = FindFont(handle);
    if (!slot) return;
    for (int i = 0; i < CACHE_SIZE; i++) {
        if (cache[i].font == handle) DropEntry(&cache[i]);
    }
    TTF_CloseFont(slot->font);
    memset(slot, 0, sizeof *slot);
}

void RenderText(PlatformObject font, const char* textSjis, int x, int y, uint32_t color) {
    FontSlot* f = FindFont(font);
    if (!RenderCurrent() || !f || !textSjis || !*textSjis) return;
    if (x >= CLIP_RIGHT || y >= CLIP_BOTTOM) return;
    CachedText* entry = LookUp(font, *f, textSjis);
    if (!entry->texture) return;
    int w = entry->width < CLIP_RIGHT - x ? entry->width : CLIP_RIGHT - x;
    int h = entry->height < CLIP_BOTTOM - y ? entry->height : CLIP_BOTTOM - y;
    SDL_SetTextureColorMod(entry->texture, (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
    SDL_SetTextureAlphaMod(entry->texture, color >> 24);
    SDL_Rect source = {0, 0, w, h};
    SDL_Rect target = {x, y, w, h};
    SDL_RenderCopy(RenderCurrent(), entry->texture, &source, &target);
}
