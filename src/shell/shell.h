// The entry point, the message loop with its frame limiter, the frame-rate
// counter and the scene dispatcher.
#pragma once
#include "platform/platform.h"
#include "shell/common.h"

enum : u8 {
    SCENE_PHASE_INIT = 0,
    SCENE_PHASE_RUN = 1,
    SCENE_PHASE_EXIT = 2,
};
const int SCENE_COUNT = 6;

extern PlatformObject mainWindow;
extern u32 appActive;
extern u8 sceneId;
extern u8 scenePhase[SCENE_COUNT];
extern u32 nextFrameTime;
extern u32 frameNow;
extern u32 fpsFrameCount;
extern u32 fpsSecondStart;
extern u32 fpsValue;

// Starts up, runs the message loop until quit, shuts down; returns the exit code.
int WinMain(void);
void WndProc(const PlatformEvent* event);
u32 IsFrameDue(u32 framesPerSecond);
u32 GetFps(void);
void RunScene(void);
// "FPS:%d" in font 0, colour 0xFF00FFFF, as every scene draws it.
void DrawFps(int x, int y);

void StepTitle(void);
void StepStory(void);
void StepPlay(void);
void StepGameOver(void);
void StepEnding(void);
void StepEditor(void);

void RegisterShellGlobals(void);
