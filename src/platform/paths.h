// The file layer's mapping of the game's relative names, for the readers that
// open files by name themselves (bitmaps, the sound font).
#pragma once
#include <cstddef>

// The file to read for the game's `path`: the save directory's copy when it
// has one, else the data directory's. False when it does not fit in `size`.
bool PlatformMapReadPath(const char* path, char* out, size_t size);
