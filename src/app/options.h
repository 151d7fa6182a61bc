// The game's command line and its settings file, which holds defaults for the
// same names ("scale = 2"); the command line overrides them.
//
// To add an option, give GameOptions a field and OPTION_TABLE in options.cpp
// one row: its name (the switch and the settings key), kind, range, field and
// help line. A flag gets --NAME, --no-NAME and "NAME = yes|no" for free.
#pragma once
#include <cstddef>
#include <cstdio>

const size_t OPTION_PATH_BYTES = 1024;

struct GameOptions {
    int fullScreen;                   // 1: start in full screen
    int scale;                        // the window is scale x 640x480
    int musicVolume;                  // percent of the game's own levels
    int effectsVolume;                // percent of the game's own levels
    int mute;                         // 1: both volumes 0
    int editorSolver;                 // 1: the map editor shows its verdict line
    char dataDir[OPTION_PATH_BYTES];  // "" = look beside the executable
    char saveDir[OPTION_PATH_BYTES];  // "" = beside the data, or in the player's home
};

// What ParseCommandLine leaves to the caller: run the game, or exit with a status.
const int OPTIONS_RUN = -1;
const int OPTIONS_EXIT_OK = 0;
const int OPTIONS_EXIT_USAGE = 2;

void DefaultOptions(GameOptions* options);
// $XDG_CONFIG_HOME/ossmire/ossmire.conf, else ~/.config/ossmire/ossmire.conf.
// False when neither is known.
bool SettingsFilePath(char* out, size_t size);
// Applies each "key = value" line of `path`; blank lines and lines starting
// with '#' are skipped; a bad line is named on `err` and ignored. A missing
// file is no error.
void ReadSettingsFile(const char* path, GameOptions* options, FILE* err);
// Applies the command line over `options`. --help and --version print on
// `out` and give OPTIONS_EXIT_OK; a bad option or value is named on `err` and
// gives OPTIONS_EXIT_USAGE; else OPTIONS_RUN.
int ParseCommandLine(int argc, char** argv, GameOptions* options, FILE* out, FILE* err);
// Defaults, then the settings file, then the command line.
int LoadGameOptions(int argc, char** argv, GameOptions* options);
