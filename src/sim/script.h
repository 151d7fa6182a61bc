// Simulator scripts: one command a line, '#' starts a comment.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum CommandKind {
    COMMAND_FRAMES,    // N KEYS
    COMMAND_KEY,       // key NAME
    COMMAND_MOUSE,     // mouse X Y
    COMMAND_SET,       // set NAME V
    COMMAND_LAG,       // lag MS
    COMMAND_INACTIVE,  // inactive MS
    COMMAND_CLOSE,     // close
    COMMAND_EXPECT,    // expect NAME V
};

// Bits of the held set, in the order of their names.
enum HeldInput : uint32_t {
    HELD_UP = 1u << 0,
    HELD_DOWN = 1u << 1,
    HELD_LEFT = 1u << 2,
    HELD_RIGHT = 1u << 3,
    HELD_Z = 1u << 4,
    HELD_X = 1u << 5,
    HELD_LMB = 1u << 6,
    HELD_RMB = 1u << 7,
    HELD_JUP = 1u << 8,
    HELD_JDOWN = 1u << 9,
    HELD_JLEFT = 1u << 10,
    HELD_JRIGHT = 1u << 11,
    HELD_J1 = 1u << 12,  // j1..j6 are consecutive bits
};

struct Command {
    CommandKind kind;
    int line;
    uint32_t count;  // frames, ms, or the virtual-key code
    uint32_t held;   // HeldInput bits
    int32_t x, y;
    std::string name, value;
};

// Parses a whole script; on an error returns false with "line N: why" in *error.
bool ParseScript(const std::string& text, std::vector<Command>* commands, std::string* error);
// Windows virtual-key code of a key name ("esc", "f1", "a", "up" ...), or -1.
int VirtualKeyByName(const std::string& name);
