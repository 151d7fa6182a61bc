// ossmire-sim: the game's own start-up, message loop and limiter on a virtual
// clock, driven by a script instead of a player.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/registry.h"
#include "platform/headless.h"
#include "platform/headless_paint.h"
#include "platform/paths.h"
#include "shell/shell.h"
#include "sim/script.h"

namespace {
const char* const USAGE =
    "usage: ossmire-sim [OPTIONS] [SCRIPT | -]\n"
    "  --dir DIR         working directory (data, bitmaps, sounds, saves); default: current\n"
    "  --frames N        stop after N rendered frames (default: when the script ends)\n"
    "  --watch A,B,...   after every rendered frame print \"f=N A=v B=v\"\n"
    "  --trace KINDS     print events as they happen; KINDS: "
    "sprite,text,wave,music,file,msgbox,scene or all\n"
    "  --state           at the end print every registered global as \"name=value\"\n"
    "  --list            print the registered names and exit\n"
    "  --shot N:FILE     write the picture of rendered frame N as PNG (repeatable)\n"
    "  --clock MS        start value of the virtual millisecond clock (default 100000)\n"
    "  --joystick        a joystick is attached\n"
    "exit status: 0 done (script ended, or the game quit); 1 an expect failed; "
    "2 usage or script error\n";

struct Watch {
    std::string name;
    const GlobalEntry* entry;
    int element;
};

struct Options {
    std::string dir;
    long long frames = -1;
    std::vector<Watch> watches;
    int traceKinds = 0;
    bool state = false;
    bool list = false;
    uint32_t clock = 100000;
    bool joystick = false;
    std::string script;
    bool haveScript = false;
    std::vector<std::pair<uint32_t, std::string>> shots;
};

Options options;
std::vector<Command> commands;
size_t nextCommand = 0;
uint32_t framesLeft = 0;  // of the current "N KEYS" command
bool scriptDone = false;
bool quitRequested = false;
bool expectFailed = false;

int Usage(const std::string& why) {
    fprintf(stderr, "ossmire-sim: %s\n%s", why.c_str(), USAGE);
    return 2;
}

bool ParseTraceKinds(const std::string& text, int* kinds) {
    static const struct {
        const char* name;
        int kind;
    } KINDS[] = {{"sprite", TRACE_SPRITE}, {"text", TRACE_TEXT},     {"wave", TRACE_WAVE},
                 {"music", TRACE_MUSIC},   {"file", TRACE_FILE},     {"msgbox", TRACE_MSGBOX},
                 {"scene", TRACE_SCENE},   {"all", 0x7F}};
    std::stringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ',')) {
        bool found = false;
        for (const auto& k : KINDS) {
            if (part == k.name) {
                *kinds |= k.kind;
                found = true;
            }
        }
        if (!found) return false;
    }
    return true;
}

bool ResolveWatch(const std::string& name, Watch* watch) {
    watch->name = name;
    watch->entry = FindGlobal(name.c_str(), &watch->element);
    return watch->entry != nullptr;
}

std::string Value(const GlobalEntry* entry, int element) {
    static char buffer[65536];
    FormatGlobal(entry, element, buffer, sizeof buffer);
    return buffer;
}

int ParseOptions(int argc, char** argv, std::vector<std::string>* watchNames) {
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--state") {
            options.state = true;
        } else if (a == "--list") {
            options.list = true;
        } else if (a == "--joystick") {
            options.joystick = true;
        } else if (a == "--help" || a == "-h") {
            fputs(USAGE, stdout);
            exit(0);
        } else if (a == "--dir") {
            if (!value(&options.dir)) return Usage("--dir needs a directory");
        } else if (a == "--frames") {
            if (!value(&v) || (options.frames = atoll(v.c_str())) < 0 ||
                v.find_first_not_of("0123456789") != std::string::npos)
                return Usage("--frames needs a count");
        } else if (a == "--clock") {
            if (!value(&v) || v.empty() || v.find_first_not_of("0123456789") != std::string::npos)
                return Usage("--clock needs milliseconds");
            options.clock = (uint32_t)strtoull(v.c_str(), nullptr, 10);
        } else if (a == "--watch") {
            if (!value(&v)) return Usage("--watch needs names");
            std::stringstream parts(v);
            std::string part;
            while (std::getline(parts, part, ',')) watchNames->push_back(part);
        } else if (a == "--trace") {
            if (!value(&v) || !ParseTraceKinds(v, &options.traceKinds))
                return Usage("--trace needs kinds from sprite,text,wave,music,file,msgbox,scene,all");
        } else if (a == "--shot") {
            size_t colon;
            if (!value(&v) || (colon = v.find(':')) == std::string::npos || colon == 0 ||
                v.find_first_not_of("0123456789") != colon || colon + 1 >= v.size())
                return Usage("--shot needs N:FILE");
            options.shots.push_back({(uint32_t)strtoul(v.c_str(), nullptr, 10), v.substr(colon + 1)});
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return Usage("unknown option " + a);
        } else if (!options.haveScript) {
            options.script = a;
            options.haveScript = true;
        } else {
            return Usage("only one script");
        }
    }
    return 0;
}

bool CheckExpect(const Command& c) {
    int element = -1;
    const GlobalEntry* entry = FindGlobal(c.name.c_str(), &element);
    std::string actual = Value(entry, element);
    if (actual == c.value) return true;
    // Floats compare by value, so "1" matches "1.0".
    if (entry->type == GLOBAL_F32 && element >= 0 && strtod(actual.c_str(), nullptr) ==
                                                         strtod(c.value.c_str(), nullptr))
        return true;
    fprintf(stderr, "ossmire-sim: line %d: expect %s %s, but it is %s (after frame %u)\n", c.line,
            c.name.c_str(), c.value.c_str(), actual.c_str(), (unsigned)HeadlessFrame());
    return false;
}

void ApplyHeld(uint32_t held) {
    static const int KEYS[8] = {38, 40, 37, 39, 'Z', 'X', 1, 2};
    for (int i = 0; i < 8; i++) HeadlessSetKey(KEYS[i], (held >> i) & 1);
    uint32_t x = held & HELD_JLEFT ? 0 : held & HELD_JRIGHT ? 65535 : 32767;
    uint32_t y = held & HELD_JUP ? 0 : held & HELD_JDOWN ? 65535 : 32767;
    HeadlessSetJoystick(x, y, (held >> 12) & 0x3F);
}

void RequestQuit() {
    if (quitRequested) return;
    quitRequested = true;
    HeadlessPushEvent(PLATFORM_EVENT_QUIT, 0);
}

// Runs commands up to the next one that renders frames.
void Advance() {
    while (framesLeft == 0 && nextCommand < commands.size() && !quitRequested) {
        const Command& c = commands[nextCommand++];
        switch (c.kind) {
        case COMMAND_FRAMES:
            framesLeft = c.count;
            ApplyHeld(c.held);
            break;
        case COMMAND_KEY: HeadlessPushEvent(PLATFORM_EVENT_KEYDOWN, c.count); break;
        case COMMAND_MOUSE: HeadlessSetMouse(c.x, c.y); break;
        case COMMAND_SET: {
            int element = -1;
            const GlobalEntry* entry = FindGlobal(c.name.c_str(), &element);
            AssignGlobal(entry, element, c.value.c_str());
            break;
        }
        case COMMAND_LAG: HeadlessSetLag(c.count); break;
        case COMMAND_INACTIVE: HeadlessDeactivate(c.count); break;
        case COMMAND_CLOSE: HeadlessPushEvent(PLATFORM_EVENT_CLOSE, 0); break;
        case COMMAND_EXPECT:
            if (!CheckExpect(c)) {
                expectFailed = true;
                RequestQuit();
            }
            break;
        }
    }
    if (framesLeft == 0 && nextCommand >= commands.size() && !scriptDone) {
        scriptDone = true;
        ApplyHeld(0);
    }
    if (scriptDone && options.frames < 0) RequestQuit();
}

void PrintWatches(uint32_t frame) {
    if (options.watches.empty()) return;
    printf("f=%u", (unsigned)frame);
    for (const Watch& w : options.watches) {
        printf(" %s=%s", w.name.c_str(), Value(w.entry, w.element).c_str());
    }
    printf("\n");
}

void AfterFrame(uint32_t frame) {
    PrintWatches(frame);
    if (framesLeft > 0) framesLeft--;
    if (options.frames >= 0 && frame >= (uint64_t)options.frames) {
        RequestQuit();
        return;
    }
    Advance();
}

bool ReadScript(std::string* text) {
    if (!options.haveScript) return true;
    std::stringstream buffer;
    if (options.script == "-") {
        buffer << std::cin.rdbuf();
    } else {
        std::ifstream in(options.script);
        if (!in) return false;
        buffer << in.rdbuf();
    }
    *text = buffer.str();
    return true;
}

// Checks every name the script uses before anything runs.
int CheckScriptNames() {
    for (const Command& c : commands) {
        if (c.kind != COMMAND_SET && c.kind != COMMAND_EXPECT) continue;
        int element = -1;
        const GlobalEntry* entry = FindGlobal(c.name.c_str(), &element);
        if (!entry) {
            fprintf(stderr, "ossmire-sim: line %d: unknown global '%s'\n", c.line, c.name.c_str());
            return 2;
        }
    }
    return 0;
}

bool LoadPainter() {
    void* module = dlopen(OSSMIRE_SIM_PAINTER, RTLD_NOW | RTLD_LOCAL);
    auto entry = module ? (HeadlessPainterEntry)dlsym(module, "OssmireHeadlessPainter") : nullptr;
    if (!entry) {
        fprintf(stderr, "ossmire-sim: no painter for shots: %s\n", dlerror());
        return false;
    }
    HeadlessSetPainter(entry());
    return true;
}

void PrintState() {
    for (int i = 0; i < GlobalCount(); i++) {
        const GlobalEntry* e = GlobalAt(i);
        printf("%s=%s\n", e->name, Value(e, -1).c_str());
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> watchNames;
    if (int rc = ParseOptions(argc, argv, &watchNames)) return rc;
    RegisterAllGlobals();
    if (options.list) {
        for (int i = 0; i < GlobalCount(); i++) printf("%s\n", GlobalAt(i)->name);
        return 0;
    }
    for (const std::string& name : watchNames) {
        Watch w;
        if (!ResolveWatch(name, &w)) return Usage("unknown global '" + name + "' in --watch");
        options.watches.push_back(w);
    }
    std::string text, error;
    if (!ReadScript(&text)) return Usage("cannot read " + options.script);
    if (!ParseScript(text, &commands, &error)) {
        fprintf(stderr, "ossmire-sim: %s: %s\n", options.script.c_str(), error.c_str());
        return 2;
    }
    if (int rc = CheckScriptNames()) return rc;
    if (!options.shots.empty() && !LoadPainter()) return 2;
    if (!options.dir.empty() && chdir(options.dir.c_str()) != 0) {
        return Usage("cannot enter " + options.dir);
    }
    setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    PlatformSetSaveFlush(false);
    HeadlessReset(options.clock);
    HeadlessAttachJoystick(options.joystick);
    HeadlessSetTrace(options.traceKinds, stdout);
    for (const auto& shot : options.shots) HeadlessRequestShot(shot.first, shot.second.c_str());
    HeadlessSetFrameHook(AfterFrame);
    if (options.frames == 0) RequestQuit();
    Advance();
    WinMain();
    // Expectations after the game quit still speak of its final state.
    for (; nextCommand < commands.size(); nextCommand++) {
        const Command& c = commands[nextCommand];
        if (c.kind == COMMAND_EXPECT && !CheckExpect(c)) expectFailed = true;
    }
    if (options.state) PrintState();
    fflush(stdout);
    if (expectFailed) return 1;
    return HeadlessShotErrors() ? 2 : 0;
}
