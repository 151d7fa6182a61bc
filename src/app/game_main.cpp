// The game's entry point: options, then where the files are, then the game.
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/options.h"
#include "editor/verdict.h"
#include "platform/launch.h"
#include "platform/platform.h"
#include "shell/shell.h"

namespace {
// Without its data the game would open a dialog for every file it misses;
// one line and one box say what was looked for and how to point at it.
bool SetUpFiles(const GameOptions& options) {
    char exeDir[PATH_MAX] = "";
    PlatformExecutableDirectory(exeDir, sizeof exeDir);
    char dataDir[PATH_MAX];
    char searched[3 * PATH_MAX];
    int portable = 0;
    if (!PlatformFindDataDirectory(options.dataDir, exeDir, dataDir, sizeof dataDir, searched,
                                   sizeof searched, &portable)) {
        if (!searched[0]) snprintf(searched, sizeof searched, "(the program's folder is unknown)");
        fprintf(stderr,
                "ossmire: the game data (data.vrk) is in none of: %s; "
                "start the game with --data-dir DIR naming the folder that holds it\n",
                searched);
        // The box gets a line for each folder: one long line runs off the screen.
        char box[4 * PATH_MAX] = "Ossmire cannot find its data (data.vrk).\n\nLooked in:\n  ";
        size_t n = strlen(box);
        for (const char* c = searched; *c && n + 4 < sizeof box; c++) {
            if (c[0] == ',' && c[1] == ' ') {
                memcpy(box + n, "\n  ", 3);
                n += 3;
                c++;
            } else {
                box[n++] = *c;
            }
        }
        box[n] = '\0';
        strncat(box, "\n\nStart it with --data-dir DIR naming the folder that holds it.",
                sizeof box - strlen(box) - 1);
        PlatformStartupMessage(box);
        return false;
    }
    // A save directory that cannot be made is still used: the game runs on,
    // and its own messages report each load and save that fails there.
    char saveDir[PATH_MAX] = "";
    PlatformPrepareSaveDirectory(options.saveDir, dataDir, portable, saveDir, sizeof saveDir);
    PlatformSetFileDirectories(dataDir, saveDir[0] ? saveDir : nullptr);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    GameOptions options;
    int status = LoadGameOptions(argc, argv, &options);
    if (status != OPTIONS_RUN) return status;
    if (!SetUpFiles(options)) return 1;
    PlatformSetVolumes(options.mute ? 0 : options.musicVolume,
                       options.mute ? 0 : options.effectsVolume);
    PlatformSetWindowOptions(options.scale, options.fullScreen);
    editorSolverShown = (u32)options.editorSolver;
    PlatformLoadControllerMappings(PlatformSaveDirectory());
    return WinMain();
}
