// State the files of the SDL backend share.
#pragma once
#include <SDL.h>

#include "platform/platform.h"

// The main window, or null before PlatformCreateWindow and after destruction.
SDL_Window* SdlWindow(void);
// The device's renderer, or null when no device exists.
SDL_Renderer* SdlRenderer(void);
// Scales the picture by a whole factor when the renderer's output allows one;
// on every change of the window's size.
void SdlFitPicture(void);
// Whether a renderer may want OpenGL: a GPU to draw with, or one named by
// SDL_RENDER_DRIVER. Without, the window is made without OpenGL at all.
bool SdlWantsOpenGl(void);
// The window icon, drawn here in 16 colours.
void SdlSetWindowIcon(SDL_Window* window);
// Opens the first joystick or game controller, if any, once the window exists.
void SdlInitJoystick(void);
