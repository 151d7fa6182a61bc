// Files in the game's three modes. Paths come with '\' separators and are
// mapped to '/'. A save writes a temporary file beside the target and renames
// it over the target on close, so a crash mid-save never leaves a torn file.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {
const int MAX_OPEN = 16;
const size_t PATH_BYTES = 1024;

struct OpenFile {
    int fd;
    int mode;
    char path[PATH_BYTES];
    char temp[PATH_BYTES];
};
OpenFile openFiles[MAX_OPEN];
bool tableReady = false;

void PrepareTable() {
    if (tableReady) return;
    for (OpenFile& f : openFiles) f.fd = -1;
    tableReady = true;
}

bool MapPath(const char* path, char* out) {
    size_t n = strlen(path);
    if (n + 16 >= PATH_BYTES) return false;
    for (size_t i = 0; i <= n; i++) out[i] = path[i] == '\\' ? '/' : path[i];
    return true;
}

int FreeSlot() {
    PrepareTable();
    for (int i = 0; i < MAX_OPEN; i++) {
        if (openFiles[i].fd < 0) return i;
    }
    return -1;
}

int OpenForMode(OpenFile& f, int mode) {
    switch (mode) {
    case PLATFORM_FILE_LOAD: return open(f.path, O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    case PLATFORM_FILE_PROBE: return open(f.path, O_RDONLY | O_CLOEXEC);
    case PLATFORM_FILE_SAVE:
        {
            char suffix[24];
            snprintf(suffix, sizeof suffix, ".tmp%d", (int)getpid());
            memcpy(f.temp, f.path, PATH_BYTES);
            strncat(f.temp, suffix, PATH_BYTES - strlen(f.temp) - 1);
        }
        return open(f.temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    default: return -1;
    }
}

OpenFile* Lookup(int file) {
    if (file < 0 || file >= MAX_OPEN || !tableReady || openFiles[file].fd < 0) return nullptr;
    return &openFiles[file];
}
}  // namespace

int PlatformOpenFile(const char* path, int mode) {
    int slot = FreeSlot();
    if (slot < 0 || !path) return PLATFORM_INVALID_FILE;
    OpenFile& f = openFiles[slot];
    if (!MapPath(path, f.path)) return PLATFORM_INVALID_FILE;
    f.mode = mode;
    f.fd = OpenForMode(f, mode);
    return f.fd < 0 ? PLATFORM_INVALID_FILE : slot;
}

uint32_t PlatformReadFile(int file, void* buffer, uint32_t bytes) {
    OpenFile* f = Lookup(file);
    if (!f || f->mode == PLATFORM_FILE_SAVE) return 0;
    uint32_t done = 0;
    while (done < bytes) {
        ssize_t n = read(f->fd, (char*)buffer + done, bytes - done);
        if (n <= 0) break;
        done += (uint32_t)n;
    }
    return done;
}

uint32_t PlatformWriteFile(int file, const void* buffer, uint32_t bytes) {
    OpenFile* f = Lookup(file);
    if (!f || f->mode != PLATFORM_FILE_SAVE) return 0;
    uint32_t done = 0;
    while (done < bytes) {
        ssize_t n = write(f->fd, (const char*)buffer + done, bytes - done);
        if (n <= 0) break;
        done += (uint32_t)n;
    }
    return done;
}

void PlatformCloseFile(int file) {
    OpenFile* f = Lookup(file);
    if (!f) return;
    if (f->mode == PLATFORM_FILE_SAVE) {
        bool ok = fsync(f->fd) == 0;
        ok = close(f->fd) == 0 && ok;
        if (!ok || rename(f->temp, f->path) != 0) unlink(f->temp);
    } else {
        close(f->fd);
    }
    f->fd = -1;
}
