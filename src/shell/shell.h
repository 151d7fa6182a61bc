// The top of the program: the entry point, the message loop with its frame
// limiter, the scene dispatcher and the registry of every subsystem's globals.
#pragma once
#include "base/common.h"
#include "base/scene.h"
#include "platform/platform.h"

extern u32 appActive;
extern u32 nextFrameTime;
extern u32 frameNow;

// Starts up, runs the message loop until quit, shuts down; returns the exit code.
int WinMain(void);
void WndProc(const PlatformEvent* event);
u32 IsFrameDue(u32 framesPerSecond);
void RunScene(void);

void StepTitle(void);
void StepStory(void);
void StepPlay(void);
void StepGameOver(void);
void StepEnding(void);
void StepEditor(void);

void RegisterShellGlobals(void);
// Every subsystem's globals, once; later calls do nothing.
void RegisterAllGlobals(void);
