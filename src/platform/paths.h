// The file layer's mapping of the game's relative names, for the readers that
// open files by name themselves (bitmaps, the sound font).
#pragma once
#include <cstddef>

// The file to read for the game's `path`: the save directory's copy when it
// has one, else the data directory's. False when it does not fit in `size`.
bool PlatformMapReadPath(const char* path, char* out, size_t size);

// Whether a save is flushed to the disk before it replaces the old file (on
// unless turned off): the simulator's scratch directories need not outlive a
// power cut, and waiting on the disk was most of a run's time.
void PlatformSetSaveFlush(bool flush);
