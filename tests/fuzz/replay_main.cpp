// A fuzz target's entry point run on files instead of by libFuzzer: the seed
// corpus and the inputs of past findings replay as ordinary tests in every
// build, the sanitized one included.
// usage: ossmire-fuzz-replay-TARGET FILE|DIR...
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
int replayed;

bool Replay(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        fprintf(stderr, "cannot open %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(f);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    replayed++;
    return true;
}

bool ReplayPath(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        fprintf(stderr, "no %s\n", path.c_str());
        return false;
    }
    if (!S_ISDIR(st.st_mode)) return Replay(path);
    DIR* dir = opendir(path.c_str());
    if (!dir) return false;
    bool ok = true;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') ok = ReplayPath(path + "/" + entry->d_name) && ok;
    }
    closedir(dir);
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    // The targets change into a scratch directory: name the inputs absolutely first.
    std::vector<std::string> paths;
    for (int i = 1; i < argc; i++) {
        char* full = realpath(argv[i], nullptr);
        paths.push_back(full ? full : argv[i]);
        free(full);
    }
    bool ok = true;
    for (const std::string& path : paths) ok = ReplayPath(path) && ok;
    printf("%d inputs replayed\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
