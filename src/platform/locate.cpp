// Where the game's files are: the data beside the executable or in the
// installed tree, the saves beside a portable copy or in the player's home.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/launch.h"

namespace {
const char DATA_FILE[] = "data.vrk";
const char INSTALLED_DATA[] = "share/games/ossmire";  // beside the bin folder
const char MAPS_FOLDER[] = "EditMap";

bool Copy(const char* text, char* out, size_t size) {
    if (strlen(text) >= size) return false;
    strcpy(out, text);
    return true;
}

bool HoldsData(const char* directory) {
    char path[PATH_MAX + 16];
    snprintf(path, sizeof path, "%s/%s", directory, DATA_FILE);
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

// Absolute and free of "." and "..": messages and the file layer get one
// spelling however the directory was named.
bool Resolve(const char* path, char* out, size_t size) {
    char resolved[PATH_MAX];
    return realpath(path, resolved) && Copy(resolved, out, size);
}

void AddSearched(char* searched, size_t size, const char* directory) {
    size_t used = strlen(searched);
    if (used < size) snprintf(searched + used, size - used, "%s%s", used ? ", " : "", directory);
}

bool MakeDirectories(const char* path) {
    char partial[PATH_MAX];
    if (!Copy(path, partial, sizeof partial)) return false;
    for (char* p = partial + 1; *p; p++) {
        if (*p != '/') continue;
        *p = '\0';
        if (mkdir(partial, 0700) != 0 && errno != EEXIST) return false;
        *p = '/';
    }
    return mkdir(partial, 0700) == 0 || errno == EEXIST;
}

bool DefaultSaveDirectory(char* out, size_t size) {
    const char* xdg = getenv("XDG_DATA_HOME");
    int n;
    if (xdg && xdg[0] == '/') {  // a relative XDG path is to be ignored
        n = snprintf(out, size, "%s/ossmire", xdg);
    } else {
        const char* home = getenv("HOME");
        if (!home || home[0] != '/') {
            const passwd* user = getpwuid(getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || !*home) return false;
        n = snprintf(out, size, "%s/.local/share/ossmire", home);
    }
    return n > 0 && (size_t)n < size;
}
}  // namespace

int PlatformExecutableDirectory(char* out, size_t size) {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return 0;
    exe[n] = '\0';
    char* slash = strrchr(exe, '/');
    if (!slash) return 0;
    slash[slash == exe ? 1 : 0] = '\0';
    return Copy(exe, out, size);
}

int PlatformFindDataDirectory(const char* chosen, const char* exeDir, char* out, size_t size,
                              char* searched, size_t searchedSize, int* portable) {
    if (searchedSize) searched[0] = '\0';
    *portable = 1;
    if (chosen && *chosen) {
        if (HoldsData(chosen) && Resolve(chosen, out, size)) return 1;
        AddSearched(searched, searchedSize, chosen);
        return 0;
    }
    if (!exeDir || !*exeDir) return 0;
    if (HoldsData(exeDir) && Resolve(exeDir, out, size)) return 1;
    AddSearched(searched, searchedSize, exeDir);
    // ../share/games/ossmire, spelled out: the message names a real place.
    char installed[PATH_MAX];
    const char* slash = strrchr(exeDir, '/');
    int parent = slash && slash != exeDir ? (int)(slash - exeDir) : 0;
    snprintf(installed, sizeof installed, "%.*s/%s", parent, exeDir, INSTALLED_DATA);
    if (HoldsData(installed) && Resolve(installed, out, size)) {
        *portable = 0;  // an installed tree is never written, not even by root
        return 1;
    }
    AddSearched(searched, searchedSize, installed);
    return 0;
}

int PlatformPrepareSaveDirectory(const char* chosen, const char* dataDir, int portable, char* out,
                                 size_t size) {
    if (chosen && *chosen) {
        if (!Copy(chosen, out, size)) return out[0] = '\0', 0;
    } else if (portable && access(dataDir, W_OK | X_OK) == 0) {
        return Copy(dataDir, out, size);  // saves stay in the game folder; nothing is created
    } else if (!DefaultSaveDirectory(out, size)) {
        out[0] = '\0';
        fprintf(stderr, "ossmire: no home directory to keep the saves in; use --save-dir DIR\n");
        return 0;
    }
    char resolved[PATH_MAX];
    if (!MakeDirectories(out) || !Resolve(out, resolved, sizeof resolved)) {
        fprintf(stderr, "ossmire: cannot create the save directory %s: %s\n", out, strerror(errno));
        return 0;
    }
    Copy(resolved, out, size);
    if (strcmp(out, dataDir) == 0) return 1;
    char maps[PATH_MAX + 16];
    snprintf(maps, sizeof maps, "%s/%s", out, MAPS_FOLDER);
    if (mkdir(maps, 0700) != 0 && errno != EEXIST) {
        fprintf(stderr, "ossmire: cannot create %s: %s\n", maps, strerror(errno));
        return 0;
    }
    return 1;
}
