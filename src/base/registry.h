// Named globals, for the simulator's watches, state dumps and scripted sets.
// Each subsystem registers what it owns from its Register...Globals function.
#pragma once
#include <cstddef>
#include <cstdint>

enum GlobalType : uint8_t {
    GLOBAL_U8,
    GLOBAL_U16,
    GLOBAL_U32,
    GLOBAL_I32,
    GLOBAL_F32,
    GLOBAL_F64,
};

struct GlobalEntry {
    const char* name;
    GlobalType type;
    void* address;
    uint32_t count;  // 1 for a scalar, else the array length
};

void RegisterGlobal(const char* name, GlobalType type, void* address, uint32_t count = 1);

int GlobalCount(void);
const GlobalEntry* GlobalAt(int index);
// "name" or "name[i]"; returns 0 when unknown. *element is -1 for the whole global.
const GlobalEntry* FindGlobal(const char* name, int* element);
// Formats the value as the simulator prints it (arrays as comma lists).
void FormatGlobal(const GlobalEntry* entry, int element, char* out, size_t size);
// Parses and assigns; 0 when the text does not fit the global.
int AssignGlobal(const GlobalEntry* entry, int element, const char* text);

// Shorthands for registration.
#define REG_U8(g) RegisterGlobal(#g, GLOBAL_U8, &(g))
#define REG_U32(g) RegisterGlobal(#g, GLOBAL_U32, &(g))
#define REG_I32(g) RegisterGlobal(#g, GLOBAL_I32, &(g))
#define REG_F32(g) RegisterGlobal(#g, GLOBAL_F32, &(g))
#define REG_F64(g) RegisterGlobal(#g, GLOBAL_F64, &(g))
#define REG_ARRAY(g, type) \
    RegisterGlobal(#g, type, (void*)(g), (uint32_t)(sizeof(g) / sizeof((g)[0])))
#define REG_FIELD(s, f, type) RegisterGlobal(#s "." #f, type, &(s).f)
// A table of any shape registered as one flat list of `type` elements.
#define REG_FLAT(g, type, ctype) \
    RegisterGlobal(#g, type, (void*)&(g), (uint32_t)(sizeof(g) / (sizeof(ctype))))
