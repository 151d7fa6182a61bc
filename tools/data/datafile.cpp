#include "data/datafile.h"

#include <cstring>

namespace datatool {

namespace {
void PutU32(std::string* out, u32 v) {
    for (int i = 0; i < 4; i++) out->push_back((char)((v >> (8 * i)) & 0xFF));
}

u32 GetU32(const std::string& in, size_t at) {
    u32 v = 0;
    for (int i = 0; i < 4; i++) {
        size_t p = at + (size_t)i;
        if (p < in.size()) v |= (u32)(u8)in[p] << (8 * i);
    }
    return v;
}

// A table as its units, little-endian, whatever the host's byte order.
template <typename Unit>
void PutTable(std::string* out, const void* table, size_t size) {
    const char* p = (const char*)table;
    for (size_t at = 0; at < size; at += sizeof(Unit)) {
        Unit v;
        memcpy(&v, p + at, sizeof v);
        if (sizeof(Unit) == 1) {
            out->push_back((char)v);
        } else {
            PutU32(out, (u32)v);
        }
    }
}

// Reads what the bytes from `at` cover; the rest of the table stays as it is.
template <typename Unit>
void GetTable(const std::string& in, size_t at, void* table, size_t size) {
    char* p = (char*)table;
    for (size_t i = 0; i < size && at + i < in.size(); i += sizeof(Unit)) {
        Unit v = sizeof(Unit) == 1 ? (Unit)(u8)in[at + i] : (Unit)GetU32(in, at + i);
        memcpy(p + i, &v, sizeof v);
    }
}
}  // namespace

std::string EncodeGameData(const GameDataImage& m) {
    std::string out;
#define GAME_DATA_PUT(type, name, dims, unit) PutTable<unit>(&out, m.name, sizeof m.name);
    GAME_DATA_TABLES(GAME_DATA_PUT)
#undef GAME_DATA_PUT
    return out;
}

bool DecodeGameData(const std::string& in, GameDataImage* m) {
    memset(m, 0, sizeof *m);
    size_t at = 0;
#define GAME_DATA_GET(type, name, dims, unit)        \
    GetTable<unit>(in, at, m->name, sizeof m->name); \
    at += sizeof m->name;
    GAME_DATA_TABLES(GAME_DATA_GET)
#undef GAME_DATA_GET
    return in.size() >= GAME_DATA_BYTES;
}

solver::Stage StageOf(const GameDataImage& m, CourseKind kind, int index) {
    solver::Stage s;
    memset(&s, 0, sizeof s);
    if (kind == COURSE_RULE) {
        memcpy(s.cells, m.ruleMaps[index], 64);
        s.startX = s.startY = 7;
    } else if (kind == COURSE_MAIN) {
        memcpy(s.cells, m.courseMaps[index], 64);
        s.startX = m.courseStarts[index].x;
        s.startY = m.courseStarts[index].y;
        s.timeClass = m.courseTimeClasses[index];
    } else {
        memcpy(s.cells, m.undergroundMaps[index], 64);
        s.startX = m.undergroundStarts[index].x;
        s.startY = m.undergroundStarts[index].y;
        s.timeClass = m.undergroundTimeClasses[index];
    }
    return s;
}

void PutStage(GameDataImage* m, CourseKind kind, int index, const solver::Stage& s) {
    if (kind == COURSE_RULE) {
        memcpy(m->ruleMaps[index], s.cells, 64);
    } else if (kind == COURSE_MAIN) {
        memcpy(m->courseMaps[index], s.cells, 64);
        m->courseStarts[index] = StartCell{s.startX, s.startY};
        m->courseTimeClasses[index] = s.timeClass;
    } else {
        memcpy(m->undergroundMaps[index], s.cells, 64);
        m->undergroundStarts[index] = StartCell{s.startX, s.startY};
        m->undergroundTimeClasses[index] = s.timeClass;
    }
}

}  // namespace datatool
