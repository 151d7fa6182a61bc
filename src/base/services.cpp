#include "base/services.h"

#include <cstring>

PlatformObject mainWindow;

namespace {
const int SJIS_POOL_BYTES = 16384;
const int SJIS_ENTRIES = 256;
char sjisPool[SJIS_POOL_BYTES];
int sjisPoolUsed = 0;
const char* sjisKeys[SJIS_ENTRIES];
const char* sjisValues[SJIS_ENTRIES];
int sjisCount = 0;

const char* ModeName(int mode) {
    switch (mode) {
        case FILE_MODE_LOAD: return "load";
        case FILE_MODE_PROBE: return "probe";
        default: return "save";
    }
}
}  // namespace

void ShowMessage(int owner, const char* textSjis, const char* captionSjis) {
    if (PlatformTracing(TRACE_MSGBOX)) {
        char text[512];
        char caption[256];
        PlatformSjisToUtf8(textSjis, text, sizeof text);
        if (!captionSjis) {
            strcpy(caption, "-");
        } else if (!captionSjis[0]) {
            strcpy(caption, "\"\"");
        } else {
            PlatformSjisToUtf8(captionSjis, caption, sizeof caption);
        }
        PlatformTrace(TRACE_MSGBOX, "msgbox owner=%s caption=%s \"%s\"",
                      owner == MESSAGE_OWNER_MAIN ? "main" : "none", caption, text);
    }
    PlatformMessageBox(owner == MESSAGE_OWNER_MAIN, textSjis, captionSjis);
}

int OpenGameFile(const char* path, int mode) {
    int file = PlatformOpenFile(path, mode);
    if (PlatformTracing(TRACE_FILE)) {
        PlatformTrace(TRACE_FILE, "file open path=%s mode=%s ok=%d", path, ModeName(mode),
                      file != INVALID_FILE ? 1 : 0);
    }
    return file;
}

u32 ReadGameFile(int file, void* buffer, u32 bytes) {
    return PlatformReadFile(file, buffer, bytes);
}

u32 WriteGameFile(int file, const void* buffer, u32 bytes) {
    return PlatformWriteFile(file, buffer, bytes);
}

u32 CloseGameFile(int file) { return (u32)PlatformCloseFile(file); }

u32 timeGetTime(void) { return PlatformTime(); }

const char* Sjis(const char* utf8Literal) {
    for (int i = 0; i < sjisCount; i++) {
        if (sjisKeys[i] == utf8Literal) return sjisValues[i];
    }
    char* out = sjisPool + sjisPoolUsed;
    size_t room = (size_t)(SJIS_POOL_BYTES - sjisPoolUsed);
    if (sjisCount >= SJIS_ENTRIES || room < 2) return "";
    size_t length = PlatformUtf8ToSjis(utf8Literal, out, room);
    sjisPoolUsed += (int)length + 1;
    sjisKeys[sjisCount] = utf8Literal;
    sjisValues[sjisCount] = out;
    sjisCount++;
    return out;
}
