// What the launcher settles before the game starts: where its files are,
// how loud it plays, and the one message it may show before the window.
// The game's code never calls these; it keeps its own relative file names.
#pragma once
#include <cstddef>

// Data is read from `dataDir`; saves are written to `saveDir` and read there
// first, so maps shipped with the data are still found. Null or "" = the
// working directory; a null `saveDir` = `dataDir`.
void PlatformSetFileDirectories(const char* dataDir, const char* saveDir);
// The save directory in use, "." for the working directory.
const char* PlatformSaveDirectory(void);

// The directory of the running executable. 0 when it cannot be read.
int PlatformExecutableDirectory(char* out, size_t size);

// The data directory, the one holding data.vrk: `chosen` when given, else
// `exeDir` itself (a portable copy), else `exeDir`/../share/games/ossmire (an
// installed tree, relocatable). 1 with the directory in `out`; 0 with the
// directories looked at, comma-separated, in `searched`. `portable` tells
// whether saves may stay beside the data (any but the installed tree).
int PlatformFindDataDirectory(const char* chosen, const char* exeDir, char* out, size_t size,
                              char* searched, size_t searchedSize, int* portable);

// The save directory: `chosen` when given, else `dataDir` when portable and
// writable, else $XDG_DATA_HOME/ossmire (~/.local/share/ossmire). A directory
// other than `dataDir` is created with its EditMap folder when missing. 1 with
// it in `out`; 0 with the reason on stderr and `out` the directory that could
// not be made ("" when there is no home directory).
int PlatformPrepareSaveDirectory(const char* chosen, const char* dataDir, int portable, char* out,
                                 size_t size);

// Music and effects volume in percent of today's levels (100, the default).
// Real backend only.
void PlatformSetVolumes(int musicPercent, int effectsPercent);
// One message box without an owner, in UTF-8, for a failure before the game
// starts. Real backend only.
void PlatformStartupMessage(const char* textUtf8);
