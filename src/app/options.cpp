#include "app/options.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#ifndef OSSMIRE_VERSION
#define OSSMIRE_VERSION "0"
#endif

namespace {
enum OptionKind { OPTION_FLAG, OPTION_NUMBER, OPTION_PATH };

struct OptionRow {
    const char* name;
    OptionKind kind;
    int low, high;  // a number's range
    size_t field;   // offset in GameOptions
    const char* argument;
    const char* help;
};

const OptionRow OPTION_TABLE[] = {
    {"fullscreen", OPTION_FLAG, 0, 1, offsetof(GameOptions, fullScreen), nullptr,
     "start in full screen (F1 switches)"},
    {"scale", OPTION_NUMBER, 1, 8, offsetof(GameOptions, scale), "N",
     "window N times 640x480 (1..8, default 1)"},
    {"data-dir", OPTION_PATH, 0, 0, offsetof(GameOptions, dataDir), "DIR",
     "the folder holding data.vrk (default: beside the program, or installed)"},
    {"save-dir", OPTION_PATH, 0, 0, offsetof(GameOptions, saveDir), "DIR",
     "where saves and your maps go (default: the game folder when writable, "
     "else $XDG_DATA_HOME/ossmire)"},
    {"music-volume", OPTION_NUMBER, 0, 100, offsetof(GameOptions, musicVolume), "0..100",
     "music volume in percent (default 100)"},
    {"effects-volume", OPTION_NUMBER, 0, 100, offsetof(GameOptions, effectsVolume), "0..100",
     "sound effects volume in percent (default 100)"},
    {"mute", OPTION_FLAG, 0, 1, offsetof(GameOptions, mute), nullptr, "no sound at all"},
    {"editor-solver", OPTION_FLAG, 0, 1, offsetof(GameOptions, editorSolver), nullptr,
     "the map editor says below the board whether the map can be cleared"},
};

const OptionRow* FindOption(const char* name, size_t length) {
    for (const OptionRow& row : OPTION_TABLE) {
        if (strlen(row.name) == length && strncmp(row.name, name, length) == 0) return &row;
    }
    return nullptr;
}

int* IntField(GameOptions* options, const OptionRow& row) {
    return (int*)((char*)options + row.field);
}

bool ParseNumber(const char* text, int low, int high, int* out) {
    if (!isdigit((unsigned char)text[0]) || strlen(text) > 6) return false;
    char* end;
    long value = strtol(text, &end, 10);
    if (*end || value < low || value > high) return false;
    *out = (int)value;
    return true;
}

bool ParseFlag(const char* text, int* out) {
    static const char* const yes[] = {"1", "yes", "true", "on"};
    static const char* const no[] = {"0", "no", "false", "off"};
    for (int i = 0; i < 4; i++) {
        if (strcasecmp(text, yes[i]) == 0) return (*out = 1), true;
        if (strcasecmp(text, no[i]) == 0) return (*out = 0), true;
    }
    return false;
}

// "~/..." in the settings file means the home folder, as in a shell.
bool ParsePath(const char* text, char* out) {
    const char* home = getenv("HOME");
    int n;
    if (text[0] == '~' && text[1] == '/' && home && *home) {
        n = snprintf(out, OPTION_PATH_BYTES, "%s%s", home, text + 1);
    } else {
        n = snprintf(out, OPTION_PATH_BYTES, "%s", text);
    }
    return text[0] && n > 0 && (size_t)n < OPTION_PATH_BYTES;
}

// Sets the option from its text; false when the value does not fit it.
bool Apply(const OptionRow& row, const char* value, GameOptions* options) {
    switch (row.kind) {
        case OPTION_FLAG: return ParseFlag(value, IntField(options, row));
        case OPTION_NUMBER: return ParseNumber(value, row.low, row.high, IntField(options, row));
        case OPTION_PATH: {
            char path[OPTION_PATH_BYTES];
            if (!ParsePath(value, path)) return false;
            memcpy((char*)options + row.field, path, OPTION_PATH_BYTES);
            return true;
        }
    }
    return false;
}

void Expected(const OptionRow& row, char* out, size_t size) {
    switch (row.kind) {
        case OPTION_FLAG: snprintf(out, size, "yes or no"); break;
        case OPTION_NUMBER:
            snprintf(out, size, "a whole number from %d to %d", row.low, row.high);
            break;
        case OPTION_PATH: snprintf(out, size, "a folder name"); break;
    }
}

void PrintHelp(FILE* out) {
    fprintf(out,
            "usage: ossmire [OPTIONS]\n"
            "Walk the board in one stroke and take the four keys before time runs out.\n\n");
    for (const OptionRow& row : OPTION_TABLE) {
        char left[64];
        snprintf(left, sizeof left, "--%s%s%s", row.name, row.argument ? " " : "",
                 row.argument ? row.argument : "");
        fprintf(out, "  %-22s %s\n", left, row.help);
    }
    fprintf(out, "  %-22s %s\n  %-22s %s\n\n", "--help", "show this and exit", "--version",
            "show the version and exit");
    fprintf(out,
            "A flag also takes --no-NAME. Defaults for the same names come from\n"
            "$XDG_CONFIG_HOME/ossmire/ossmire.conf (~/.config/ossmire/ossmire.conf),\n"
            "one \"name = value\" a line, for example \"scale = 2\" or \"fullscreen = yes\".\n");
}

int Usage(FILE* err, const char* problem, const char* what) {
    fprintf(err, "ossmire: %s%s\nTry 'ossmire --help' for the options.\n", problem, what);
    return OPTIONS_EXIT_USAGE;
}

char* Trim(char* text) {
    while (isspace((unsigned char)*text)) text++;
    size_t n = strlen(text);
    while (n > 0 && isspace((unsigned char)text[n - 1])) text[--n] = '\0';
    return text;
}
}  // namespace

void DefaultOptions(GameOptions* options) {
    memset(options, 0, sizeof *options);
    options->scale = 1;
    options->musicVolume = 100;
    options->effectsVolume = 100;
}

bool SettingsFilePath(char* out, size_t size) {
    const char* config = getenv("XDG_CONFIG_HOME");
    const char* home = getenv("HOME");
    int n;
    if (config && config[0] == '/') {
        n = snprintf(out, size, "%s/ossmire/ossmire.conf", config);
    } else if (home && *home) {
        n = snprintf(out, size, "%s/.config/ossmire/ossmire.conf", home);
    } else {
        return false;
    }
    return n > 0 && (size_t)n < size;
}

void ReadSettingsFile(const char* path, GameOptions* options, FILE* err) {
    FILE* file = fopen(path, "r");
    if (!file) return;
    char line[OPTION_PATH_BYTES + 64];
    for (int number = 1; fgets(line, sizeof line, file); number++) {
        size_t length = strlen(line);
        bool cut = length == sizeof line - 1 && line[length - 1] != '\n';
        if (cut) {
            int c;
            while ((c = fgetc(file)) != EOF && c != '\n') {
            }
        }
        char* text = Trim(line);
        if (!*text || *text == '#') continue;
        char* equals = cut ? nullptr : strchr(text, '=');
        if (!equals) {
            fprintf(err, "ossmire: %s:%d: not a \"name = value\" line; ignored\n", path, number);
            continue;
        }
        *equals = '\0';
        char* key = Trim(text);
        char* value = Trim(equals + 1);
        const OptionRow* row = FindOption(key, strlen(key));
        if (!row) {
            fprintf(err, "ossmire: %s:%d: no setting named '%s'; ignored\n", path, number, key);
        } else if (!Apply(*row, value, options)) {
            char expected[64];
            Expected(*row, expected, sizeof expected);
            fprintf(err, "ossmire: %s:%d: %s wants %s, not '%s'; ignored\n", path, number, key,
                    expected, value);
        }
    }
    if (ferror(file)) fprintf(err, "ossmire: %s: cannot be read; ignored\n", path);
    fclose(file);
}

int ParseCommandLine(int argc, char** argv, GameOptions* options, FILE* out, FILE* err) {
    for (int i = 1; i < argc; i++) {
        const char* arg = argv[i];
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            PrintHelp(out);
            return OPTIONS_EXIT_OK;
        }
        if (strcmp(arg, "--version") == 0) {
            fprintf(out, "ossmire %s\n", OSSMIRE_VERSION);
            return OPTIONS_EXIT_OK;
        }
        if (strncmp(arg, "--", 2) != 0) return Usage(err, "unexpected argument ", arg);
        const char* name = arg + 2;
        const char* inlineValue = strchr(name, '=');
        size_t length = inlineValue ? (size_t)(inlineValue - name) : strlen(name);
        const OptionRow* row = FindOption(name, length);
        bool negated = false;
        if (!row && length > 3 && strncmp(name, "no-", 3) == 0) {
            row = FindOption(name + 3, length - 3);
            negated = row && row->kind == OPTION_FLAG;
            if (!negated) row = nullptr;
        }
        if (!row) return Usage(err, "unknown option ", arg);
        const char* value;
        if (row->kind == OPTION_FLAG) {
            if (inlineValue) return Usage(err, "this option takes no value: ", arg);
            value = negated ? "0" : "1";
        } else if (inlineValue) {
            value = inlineValue + 1;
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return Usage(err, "a value is missing after ", arg);
        }
        if (!Apply(*row, value, options)) {
            char expected[64];
            Expected(*row, expected, sizeof expected);
            fprintf(err,
                    "ossmire: --%s wants %s, not '%s'\nTry 'ossmire --help' for the options.\n",
                    row->name, expected, value);
            return OPTIONS_EXIT_USAGE;
        }
    }
    return OPTIONS_RUN;
}

int LoadGameOptions(int argc, char** argv, GameOptions* options) {
    DefaultOptions(options);
    char settings[OPTION_PATH_BYTES];
    if (SettingsFilePath(settings, sizeof settings)) ReadSettingsFile(settings, options, stderr);
    return ParseCommandLine(argc, argv, options, stdout, stderr);
}
