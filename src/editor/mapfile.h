// The player's own maps: "EditMap\map_NN.map", 73 bytes each (64 tile codes
// row-major, the time class byte, then the start column and row as
// little-endian i32), named by `stageNumber`.
#pragma once
#include "base/common.h"

const u32 MAP_FILE_BYTES = 73;

// Writes the map of the current `stageNumber`, replacing any old file.
void SaveMap(const u8* cells, u8 timeClass, i32 startX, i32 startY);
// 1 when the map file of the current `stageNumber` can be opened for reading.
u32 MapFileExists(void);
// Map `stageNumber` of a free-mode source (0 course, 1 underground, 2 own map
// file) into the targets, then clears the trail and rebuilds the wall mask.
// playerXY: x then y.
void LoadFreeMap(u8* boardOut, u8* wallMaskOut, u8* trailOut, u8* timeClassOut, i32* playerXY,
                 u8 source);
// The file name of map `number`, as "EditMap\map_%02d.map".
void MapFileName(u32 number, char* out, u32 size);
