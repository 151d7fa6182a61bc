// Services many subsystems share: message boxes, files in their three modes,
// the millisecond timer and Shift-JIS texts.
#pragma once
#include "base/common.h"
#include "platform/platform.h"

enum : int {
    FILE_MODE_LOAD = PLATFORM_FILE_LOAD,
    FILE_MODE_PROBE = PLATFORM_FILE_PROBE,
    FILE_MODE_SAVE = PLATFORM_FILE_SAVE,
};
const int INVALID_FILE = PLATFORM_INVALID_FILE;

// The game's one window; closing it ends the game.
extern PlatformObject mainWindow;

enum : int { MESSAGE_OWNER_NONE = 0, MESSAGE_OWNER_MAIN = 1 };

// Shows a Shift-JIS message with an OK button and returns once it is closed.
// captionSjis null = the system's default caption.
void ShowMessage(int owner, const char* textSjis, const char* captionSjis);

// One handle per operation; a failed open gives INVALID_FILE, on which reads
// and writes transfer nothing.
int OpenGameFile(const char* path, int mode);
u32 ReadGameFile(int file, void* buffer, u32 bytes);
u32 WriteGameFile(int file, const void* buffer, u32 bytes);
// 1 when done; 0 when a save could not replace its file (the old one stands).
u32 CloseGameFile(int file);

u32 timeGetTime(void);

// The Shift-JIS form of a UTF-8 literal, converted once and kept for the run.
// The argument must outlive the program (a string literal).
const char* Sjis(const char* utf8Literal);
