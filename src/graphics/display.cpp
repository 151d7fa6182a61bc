#include "graphics/display.h"

#include <cstring>

#include "base/registry.h"
#include "base/scene.h"
#include "base/services.h"
#include "graphics/sprites.h"

PlatformObject direct3D;
PlatformObject device;
PresentParameters presentParams;
PlatformObject sprite;
PlatformObject fonts[FONT_COUNT];
u32 fullScreen;

namespace {
const u32 FORMAT_X8R8G8B8 = 22;
const u32 FORMAT_D16 = 80;
const u32 SWAP_DISCARD = 1;

struct FontSpec {
    int height, width, weight;
    const char* faceUtf8;
};
const FontSpec FONT_SPECS[FONT_COUNT] = {
    {16, 0, 400, "標準明朝"},
    {32, 0, 400, "HGS創英角ﾎﾟｯﾌﾟ体"},
    {32, 0, 400, "HGP創英角ﾎﾟｯﾌﾟ体"},
    {20, 10, 500, "HGｺﾞｼｯｸE"},
};

void FillPresentParams(u32 windowed) {
    memset(&presentParams, 0, sizeof presentParams);
    presentParams.BackBufferWidth = 640;
    presentParams.BackBufferHeight = 480;
    presentParams.BackBufferFormat = FORMAT_X8R8G8B8;
    presentParams.BackBufferCount = 1;
    presentParams.SwapEffect = SWAP_DISCARD;
    presentParams.Windowed = windowed;
    presentParams.EnableAutoDepthStencil = 1;
    presentParams.AutoDepthStencilFormat = FORMAT_D16;
}

// The first two steps both modes share: the graphics system and the desktop mode.
u32 CreateGraphicsObject(void) {
    if (!direct3D) direct3D = PlatformCreateGraphicsSystem();
    if (!direct3D) {
        ShowMessage(MESSAGE_OWNER_NONE, Sjis("Direct3Dの作成に失敗しました"), "");
        return 0;
    }
    return PlatformReadDisplayMode() ? 1 : 0;
}

u32 CreateSpriteAndFonts(void) {
    sprite = PlatformCreateSpriteDrawer();
    if (!sprite) {
        ShowMessage(MESSAGE_OWNER_NONE, Sjis("スプライトの作成に失敗しました"), "");
        return 0;
    }
    ResetSpriteState();
    CreateFonts();
    return 1;
}

u32 CreateDeviceOrReport(PlatformObject window) {
    if (CreateDeviceWithFallbacks(window)) return 1;
    ShowMessage(MESSAGE_OWNER_NONE, Sjis("DIRECT3Dデバイスの作成に失敗"), nullptr);
    return 0;
}
}  // namespace

u32 InitDisplay(PlatformObject window) {
    u32 ok;
    if (fullScreen == 1) {
        PlatformShowCursor(0);
        ok = InitFullScreenDevice(window);
    } else {
        PlatformShowCursor(1);
        ok = InitWindowedDevice(window);
    }
    return ok ? 0 : DISPLAY_E_FAIL;
}

u32 InitFullScreenDevice(PlatformObject window) {
    if (!CreateGraphicsObject()) return 0;
    FillPresentParams(0);
    if (!CreateDeviceOrReport(window)) return 0;
    PlatformSetWindowMode(window, 1);
    return CreateSpriteAndFonts();
}

u32 InitWindowedDevice(PlatformObject window) {
    if (!CreateGraphicsObject()) return 0;
    FillPresentParams(1);
    PlatformSetWindowMode(window, 0);
    if (!CreateDeviceOrReport(window)) return 0;
    return CreateSpriteAndFonts();
}

u32 CreateDeviceWithFallbacks(PlatformObject window) {
    // Hardware first, then the software rasteriser; the vertex-processing
    // variants of the original four tries do not exist here.
    static const int TRIES[4] = {1, 2, 1, 2};
    for (int i = 0; i < 4 && !device; i++) device = PlatformCreateDevice(window, TRIES[i]);
    return device ? 1 : 0;
}

void CreateFonts(void) {
    for (int i = 0; i < FONT_COUNT; i++) {
        PlatformReleaseFont(fonts[i]);
        const FontSpec& f = FONT_SPECS[i];
        fonts[i] = PlatformCreateFont(i, f.height, f.width, f.weight, Sjis(f.faceUtf8));
    }
}

u32 ToggleFullScreen(PlatformObject window) {
    ReleaseGraphics();
    fullScreen = fullScreen == 0 ? 1 : 0;
    if ((i32)InitDisplay(window) < 0) return 0;
    LoadTextures();
    for (int i = 0; i < SCENE_COUNT; i++) scenePhase[i] = SCENE_PHASE_INIT;
    return 1;
}

void ReleaseGraphics(void) {
    for (int i = 0; i < TEXTURE_COUNT; i++) {
        PlatformReleaseTexture(textures[i]);
        textures[i] = 0;
    }
    for (int i = 0; i < FONT_COUNT; i++) {
        PlatformReleaseFont(fonts[i]);
        fonts[i] = 0;
    }
    PlatformReleaseSpriteDrawer(sprite);
    sprite = 0;
    PlatformReleaseDevice(device);
    device = 0;
    PlatformReleaseGraphicsSystem();
    direct3D = 0;
}

void RegisterDisplayGlobals(void) {
    REG_U32(direct3D);
    REG_U32(device);
    REG_U32(sprite);
    REG_ARRAY(fonts, GLOBAL_U32);
    REG_U32(fullScreen);
    REG_FIELD(presentParams, BackBufferWidth, GLOBAL_U32);
    REG_FIELD(presentParams, BackBufferHeight, GLOBAL_U32);
    REG_FIELD(presentParams, BackBufferFormat, GLOBAL_U32);
    REG_FIELD(presentParams, BackBufferCount, GLOBAL_U32);
    REG_FIELD(presentParams, MultiSampleType, GLOBAL_U32);
    REG_FIELD(presentParams, MultiSampleQuality, GLOBAL_U32);
    REG_FIELD(presentParams, SwapEffect, GLOBAL_U32);
    REG_FIELD(presentParams, hDeviceWindow, GLOBAL_U32);
    REG_FIELD(presentParams, Windowed, GLOBAL_U32);
    REG_FIELD(presentParams, EnableAutoDepthStencil, GLOBAL_U32);
    REG_FIELD(presentParams, AutoDepthStencilFormat, GLOBAL_U32);
    REG_FIELD(presentParams, Flags, GLOBAL_U32);
    REG_FIELD(presentParams, FullScreen_RefreshRateInHz, GLOBAL_U32);
    REG_FIELD(presentParams, PresentationInterval, GLOBAL_U32);
}
