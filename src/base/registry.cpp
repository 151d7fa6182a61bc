#include "base/registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const int MAX_GLOBALS = 1024;
GlobalEntry globals[MAX_GLOBALS];
int globalCount = 0;

size_t ElementSize(GlobalType type) {
    switch (type) {
        case GLOBAL_U8: return 1;
        case GLOBAL_U16: return 2;
        case GLOBAL_F64: return 8;
        default: return 4;
    }
}

void FormatElement(const GlobalEntry* e, uint32_t i, char* out, size_t size) {
    const char* p = (const char*)e->address + i * ElementSize(e->type);
    switch (e->type) {
        case GLOBAL_U8: snprintf(out, size, "%u", (unsigned)*(const uint8_t*)p); break;
        case GLOBAL_U16: snprintf(out, size, "%u", (unsigned)*(const uint16_t*)p); break;
        case GLOBAL_U32: snprintf(out, size, "%u", (unsigned)*(const uint32_t*)p); break;
        case GLOBAL_I32: snprintf(out, size, "%d", (int)*(const int32_t*)p); break;
        case GLOBAL_F32: snprintf(out, size, "%.9g", (double)*(const float*)p); break;
        case GLOBAL_F64: {
            double v;
            memcpy(&v, p, 8);
            snprintf(out, size, "%.17g", v);
            break;
        }
    }
}

int AssignElement(const GlobalEntry* e, uint32_t i, const char* text, const char** end) {
    char* stop = nullptr;
    char* p = (char*)e->address + i * ElementSize(e->type);
    if (e->type == GLOBAL_F32) {
        float v = strtof(text, &stop);
        if (stop == text) return 0;
        memcpy(p, &v, 4);
    } else if (e->type == GLOBAL_F64) {
        double v = strtod(text, &stop);
        if (stop == text) return 0;
        memcpy(p, &v, 8);
    } else {
        long long v = strtoll(text, &stop, 0);
        if (stop == text) return 0;
        switch (e->type) {
            case GLOBAL_U8: *(uint8_t*)p = (uint8_t)v; break;
            case GLOBAL_U16: *(uint16_t*)p = (uint16_t)v; break;
            case GLOBAL_U32: *(uint32_t*)p = (uint32_t)v; break;
            default: *(int32_t*)p = (int32_t)v; break;
        }
    }
    *end = stop;
    return 1;
}
}  // namespace

void RegisterGlobal(const char* name, GlobalType type, void* address, uint32_t count) {
    if (globalCount >= MAX_GLOBALS) return;
    globals[globalCount++] = GlobalEntry{name, type, address, count};
}

int GlobalCount(void) { return globalCount; }

const GlobalEntry* GlobalAt(int index) {
    return index >= 0 && index < globalCount ? &globals[index] : nullptr;
}

const GlobalEntry* FindGlobal(const char* name, int* element) {
    *element = -1;
    const char* bracket = strchr(name, '[');
    size_t len = bracket ? (size_t)(bracket - name) : strlen(name);
    for (int i = 0; i < globalCount; i++) {
        if (strlen(globals[i].name) != len || strncmp(globals[i].name, name, len) != 0) continue;
        if (!bracket) return &globals[i];
        char* stop = nullptr;
        long index = strtol(bracket + 1, &stop, 10);
        if (stop == bracket + 1 || *stop != ']' || stop[1] != '\0') return nullptr;
        if (index < 0 || (uint32_t)index >= globals[i].count) return nullptr;
        *element = (int)index;
        return &globals[i];
    }
    return nullptr;
}

void FormatGlobal(const GlobalEntry* entry, int element, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (element >= 0) {
        FormatElement(entry, (uint32_t)element, out, size);
        return;
    }
    size_t used = 0;
    for (uint32_t i = 0; i < entry->count && used + 1 < size; i++) {
        if (i > 0) out[used++] = ',';
        FormatElement(entry, i, out + used, size - used);
        used += strlen(out + used);
    }
    out[used < size ? used : size - 1] = '\0';
}

// "name[i] a,b,c" fills elements i, i+1, i+2: one row of a flat table.
int AssignGlobal(const GlobalEntry* entry, int element, const char* text) {
    const char* end = text;
    for (uint32_t i = element >= 0 ? (uint32_t)element : 0; i < entry->count; i++) {
        if (!AssignElement(entry, i, text, &end)) return 0;
        if (*end == '\0') return i + 1 == entry->count || entry->count > 1;
        if (*end != ',') return 0;
        text = end + 1;
    }
    return 0;
}
