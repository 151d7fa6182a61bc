// The map editor scene: the player paints an 8 x 8 stage with the mouse and
// saves it as one of the own maps that free mode plays.
#pragma once
#include "base/common.h"

// rememberedWarp's value when no older warp is remembered.
const u8 NO_REMEMBERED_WARP = 64;
// Frames a notice stays after the one it is raised in.
const i32 NOTICE_FRAMES = 180;

extern u8 editBoard[64];
extern u8 editTimeClass;
extern i32 editStartX, editStartY;
extern u8 selectedTile;
extern u8 rememberedWarp;
extern u32 editorLoaded;
extern u32 mapSavedNotice;
extern u32 mapInvalidNotice;
extern i32 noticeTimer;

u8 InitEditor(void);
u8 RunEditor(void);
u8 ExitEditor(void);

// Called before `tile` is placed: keeps one of each unique tile on the board
// and at most two warps, dropping the older warp for a third.
void KeepTileUnique(u8* cells, u8 tile, u8* rememberedWarp);
void DrawPalette(const RECT* cellRects, u8 selectedTile, u8 timeClass);

void RegisterEditorGlobals(void);
