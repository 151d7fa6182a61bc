// The play screen: how one frame is composed, and the play-field drawers (the
// background, the board, the walked trail, the fading gates, the warp beam).
#pragma once
#include "base/common.h"

const int TILE_CODES = 13;
const int TRAIL_FRAMES = 3;
const int TRAIL_PIECES = 7;

// Source cell in chip.bmp of each tile code.
extern const RECT cellRects[TILE_CODES];

// A 640 x 480 picture at (0, 0): the background of every scene.
void DrawFullScreen(int textureId);
// Board bytes above 12 are drawn as a spare cell of chip.bmp.
void DrawBoard(const u8* cells, const RECT* rects);
// animate = the stage is cleared: the trail then cycles through its frames.
void DrawTrail(const u8* trailCells, u32 animate);
// Fades the gates of the stage's set-up out; clears the flag when done.
void DrawSwitchEffect(u32& switchEffect, const u8* wallMaskCells);
// The beam rises from the departure warp and descends onto the player;
// clears warpAnimating when it has landed.
void DrawWarpEffect(const u8* cells, const i32* playerXY, u32& warpArrived, u32& warpAnimating);

// The screen up to the mode panels: background, heads-up display, the board
// with trail and player, the pick-up effects, the free-mode selection panel.
// Messages, the pause panel and the clear beam are drawn by the sequences.
void DrawPlayScreen(void);

// The drawing state of every play-screen drawer.
void RegisterPlayScreenGlobals(void);
