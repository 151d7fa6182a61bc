#include "sim/script.h"

#include <cstdlib>

namespace {
const char* const HELD_NAMES[] = {"up",    "down", "left", "right", "z",  "x",  "lmb",
                                  "rmb",   "jup",  "jdown", "jleft", "jright", "j1", "j2",
                                  "j3",    "j4",   "j5",   "j6"};

bool ParseNumber(const std::string& text, long long* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    *out = strtoll(text.c_str(), &end, 10);
    return *end == '\0';
}

// The pieces between separators, as getline gives them: no empty piece after
// a separator at the end. Plain scanning: a stream a line was most of a run's
// parsing.
template <typename Each>
void Split(const std::string& text, char separator, Each each) {
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(separator, at);
        if (end == std::string::npos) end = text.size();
        if (!each(text.substr(at, end - at))) return;
        at = end + 1;
    }
}

bool ParseHeld(const std::string& text, uint32_t* held) {
    *held = 0;
    if (text == "-") return true;
    bool ok = true;
    Split(text, '+', [&](const std::string& part) {
        bool found = false;
        for (size_t i = 0; i < sizeof HELD_NAMES / sizeof HELD_NAMES[0]; i++) {
            if (part == HELD_NAMES[i]) {
                *held |= 1u << i;
                found = true;
            }
        }
        return ok = found;
    });
    return ok;
}

// One line's words into a command; false with a reason when it does not fit.
bool ParseWords(const std::vector<std::string>& w, Command* c, std::string* why) {
    long long n = 0;
    const std::string& verb = w[0];
    auto need = [&](size_t count) {
        if (w.size() == count) return true;
        *why = "'" + verb + "' takes " + std::to_string(count - 1) + " argument(s)";
        return false;
    };
    if (ParseNumber(verb, &n)) {
        if (!need(2)) return false;
        if (n < 0) return *why = "negative frame count", false;
        c->kind = COMMAND_FRAMES;
        c->count = (uint32_t)n;
        if (!ParseHeld(w[1], &c->held)) return *why = "unknown key in '" + w[1] + "'", false;
        return true;
    }
    if (verb == "key") {
        if (!need(2)) return false;
        int vk = VirtualKeyByName(w[1]);
        if (vk < 0) return *why = "unknown key name '" + w[1] + "'", false;
        c->kind = COMMAND_KEY;
        c->count = (uint32_t)vk;
        return true;
    }
    if (verb == "mouse") {
        long long x = 0, y = 0;
        if (!need(3)) return false;
        if (!ParseNumber(w[1], &x) || !ParseNumber(w[2], &y)) return *why = "bad position", false;
        c->kind = COMMAND_MOUSE;
        c->x = (int32_t)x;
        c->y = (int32_t)y;
        return true;
    }
    if (verb == "set" || verb == "expect") {
        if (!need(3)) return false;
        c->kind = verb == "set" ? COMMAND_SET : COMMAND_EXPECT;
        c->name = w[1];
        c->value = w[2];
        return true;
    }
    if (verb == "lag" || verb == "inactive") {
        if (!need(2)) return false;
        if (!ParseNumber(w[1], &n) || n < 0) return *why = "bad milliseconds", false;
        c->kind = verb == "lag" ? COMMAND_LAG : COMMAND_INACTIVE;
        c->count = (uint32_t)n;
        return true;
    }
    if (verb == "close") {
        if (!need(1)) return false;
        c->kind = COMMAND_CLOSE;
        return true;
    }
    *why = "unknown command '" + verb + "'";
    return false;
}
}  // namespace

int VirtualKeyByName(const std::string& name) {
    static const struct {
        const char* name;
        int key;
    } NAMED[] = {{"esc", 0x1B},   {"escape", 0x1B}, {"enter", 0x0D}, {"return", 0x0D},
                 {"space", 0x20}, {"tab", 0x09},    {"left", 37},    {"up", 38},
                 {"right", 39},   {"down", 40},     {"backspace", 8}};
    for (const auto& k : NAMED) {
        if (name == k.name) return k.key;
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
        int n = atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12 && std::to_string(n) == name.substr(1)) return 0x70 + n - 1;
    }
    if (name.size() == 1) {
        char ch = name[0];
        if (ch >= 'a' && ch <= 'z') return ch - 'a' + 'A';
        if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) return ch;
    }
    return -1;
}

bool ParseScript(const std::string& text, std::vector<Command>* commands, std::string* error) {
    static const char* const SPACE = " \t\n\v\f\r";
    int number = 0;
    bool ok = true;
    std::vector<std::string> w;
    Split(text, '\n', [&](std::string line) {
        number++;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        w.clear();
        for (size_t at = line.find_first_not_of(SPACE); at != std::string::npos;) {
            size_t end = line.find_first_of(SPACE, at);
            w.push_back(line.substr(at, end - at));
            at = end == std::string::npos ? end : line.find_first_not_of(SPACE, end);
        }
        if (w.empty()) return true;
        Command c = {};
        c.line = number;
        std::string why;
        if (!ParseWords(w, &c, &why)) {
            *error = "line " + std::to_string(number) + ": " + why;
            return ok = false;
        }
        commands->push_back(c);
        return true;
    });
    return ok;
}
