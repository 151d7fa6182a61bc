// Files in the game's three modes. Paths come with '\' separators and are
// mapped to '/' under the data or the save directory (the working directory
// until the launcher names them). A save writes a temporary file beside the
// target and renames it over the target on close, so a crash mid-save never
// leaves a torn file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/launch.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace {
const int MAX_OPEN = 16;
const size_t PATH_BYTES = 1024;

struct OpenFile {
    int fd;
    int mode;
    bool writeFailed;
    char path[PATH_BYTES];
    char temp[PATH_BYTES];
};
OpenFile openFiles[MAX_OPEN];
bool tableReady = false;

// Empty = the working directory. Equal when saves stay beside the data.
char dataDirectory[PATH_BYTES];
char saveDirectory[PATH_BYTES];
bool flushSaves = true;

void PrepareTable() {
    if (tableReady) return;
    for (OpenFile& f : openFiles) f.fd = -1;
    tableReady = true;
}

bool SeparateSaves() { return strcmp(dataDirectory, saveDirectory) != 0; }

bool Exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0;
}

// `directory`/`path` with '\' turned to '/'; leaves room for a temporary suffix.
bool Join(const char* directory, const char* path, char* out, size_t size) {
    size_t d = strlen(directory);
    size_t n = strlen(path);
    size_t sep = d > 0 && directory[d - 1] != '/' ? 1 : 0;
    if (d + sep + n + 24 >= size) return false;
    memcpy(out, directory, d);
    if (sep) out[d] = '/';
    char* name = out + d + sep;
    for (size_t i = 0; i <= n; i++) name[i] = path[i] == '\\' ? '/' : path[i];
    return true;
}

// A save may replace its target only when the target is absent or a regular
// file and its directory can be written: checked before anything is written,
// so a refused save leaves no trace.
bool Replaceable(const char* path) {
    struct stat st;
    if (stat(path, &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
    } else if (errno != ENOENT) {
        return false;
    }
    char directory[PATH_BYTES];
    strcpy(directory, path);
    char* slash = strrchr(directory, '/');
    if (!slash) {
        strcpy(directory, ".");
    } else if (slash == directory) {
        slash[1] = '\0';
    } else {
        *slash = '\0';
    }
    return access(directory, W_OK | X_OK) == 0;
}

int FreeSlot() {
    PrepareTable();
    for (int i = 0; i < MAX_OPEN; i++) {
        if (openFiles[i].fd < 0) return i;
    }
    return -1;
}

int OpenForMode(OpenFile& f, const char* path, int mode) {
    switch (mode) {
        case PLATFORM_FILE_LOAD:
            if (!PlatformMapReadPath(path, f.path, PATH_BYTES)) return -1;
            // Found nowhere: created empty where saves go.
            if (SeparateSaves() && !Exists(f.path) &&
                !Join(saveDirectory, path, f.path, PATH_BYTES))
                return -1;
            return open(f.path, O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        case PLATFORM_FILE_PROBE:
            if (!PlatformMapReadPath(path, f.path, PATH_BYTES)) return -1;
            return open(f.path, O_RDONLY | O_CLOEXEC);
        case PLATFORM_FILE_SAVE: {
            if (!Join(saveDirectory, path, f.path, PATH_BYTES) || !Replaceable(f.path)) return -1;
            char suffix[24];
            snprintf(suffix, sizeof suffix, ".tmp%d", (int)getpid());
            memcpy(f.temp, f.path, PATH_BYTES);
            strncat(f.temp, suffix, PATH_BYTES - strlen(f.temp) - 1);
            return open(f.temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        }
        default: return -1;
    }
}

OpenFile* Lookup(int file) {
    if (file < 0 || file >= MAX_OPEN || !tableReady || openFiles[file].fd < 0) return nullptr;
    return &openFiles[file];
}
}  // namespace

void PlatformSetFileDirectories(const char* dataDir, const char* saveDir) {
    snprintf(dataDirectory, sizeof dataDirectory, "%s", dataDir ? dataDir : "");
    snprintf(saveDirectory, sizeof saveDirectory, "%s", saveDir ? saveDir : dataDirectory);
}

void PlatformSetSaveFlush(bool flush) { flushSaves = flush; }

const char* PlatformSaveDirectory(void) { return saveDirectory[0] ? saveDirectory : "."; }

bool PlatformMapReadPath(const char* path, char* out, size_t size) {
    if (!path) return false;
    if (SeparateSaves() && Join(saveDirectory, path, out, size) && Exists(out)) return true;
    return Join(dataDirectory, path, out, size);
}

int PlatformOpenFile(const char* path, int mode) {
    int slot = FreeSlot();
    if (slot < 0 || !path) return PLATFORM_INVALID_FILE;
    OpenFile& f = openFiles[slot];
    f.mode = mode;
    f.writeFailed = false;
    f.fd = OpenForMode(f, path, mode);
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
    // A cut-short file must never replace the old one.
    if (done < bytes) f->writeFailed = true;
    return done;
}

int PlatformCloseFile(int file) {
    OpenFile* f = Lookup(file);
    if (!f) return 0;
    int ok = 1;
    if (f->mode == PLATFORM_FILE_SAVE) {
        ok = !f->writeFailed && (!flushSaves || fsync(f->fd) == 0);
        ok = close(f->fd) == 0 && ok;
        if (!ok || rename(f->temp, f->path) != 0) {
            unlink(f->temp);
            ok = 0;
        }
    } else {
        close(f->fd);
    }
    f->fd = -1;
    return ok;
}
