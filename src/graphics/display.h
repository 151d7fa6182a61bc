// The display device: built windowed or full screen, rebuilt whole by F1.
#pragma once
#include "base/common.h"
#include "platform/platform.h"

const int FONT_COUNT = 4;
const u32 DISPLAY_E_FAIL = 0x80004005u;

// The present parameters the device was built with, in their original order.
struct PresentParameters {
    u32 BackBufferWidth;
    u32 BackBufferHeight;
    u32 BackBufferFormat;
    u32 BackBufferCount;
    u32 MultiSampleType;
    u32 MultiSampleQuality;
    u32 SwapEffect;
    u32 hDeviceWindow;
    u32 Windowed;
    u32 EnableAutoDepthStencil;
    u32 AutoDepthStencilFormat;
    u32 Flags;
    u32 FullScreen_RefreshRateInHz;
    u32 PresentationInterval;
};

extern PlatformObject direct3D;
extern PlatformObject device;
extern PresentParameters presentParams;
extern PlatformObject sprite;
extern PlatformObject fonts[FONT_COUNT];
extern u32 fullScreen;

u32 InitDisplay(PlatformObject window);  // 0, or DISPLAY_E_FAIL
u32 InitWindowedDevice(PlatformObject window);
u32 InitFullScreenDevice(PlatformObject window);
u32 CreateDeviceWithFallbacks(PlatformObject window);
void CreateFonts(void);
u32 ToggleFullScreen(PlatformObject window);
void ReleaseGraphics(void);

void RegisterDisplayGlobals(void);
