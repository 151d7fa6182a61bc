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

void PutBytes(std::string* out, const void* data, size_t size) {
    out->append((const char*)data, size);
}

void GetBytes(const std::string& in, size_t at, void* data, size_t size) {
    if (at >= in.size()) return;
    size_t n = in.size() - at < size ? in.size() - at : size;
    memcpy(data, in.data() + at, n);
}

void PutStarts(std::string* out, const StartCell* starts, int count) {
    for (int i = 0; i < count; i++) {
        PutU32(out, (u32)starts[i].x);
        PutU32(out, (u32)starts[i].y);
    }
}

void GetStarts(const std::string& in, size_t at, StartCell* starts, int count) {
    for (int i = 0; i < count; i++) {
        starts[i].x = (i32)GetU32(in, at + 8 * (size_t)i);
        starts[i].y = (i32)GetU32(in, at + 8 * (size_t)i + 4);
    }
}
}  // namespace

std::string EncodeGameData(const GameDataImage& m) {
    std::string out;
    PutStarts(&out, m.courseStarts, COURSE_STAGES);
    PutBytes(&out, m.courseMaps, sizeof m.courseMaps);
    PutBytes(&out, m.courseTimeClasses, sizeof m.courseTimeClasses);
    for (int c = 0; c < STORY_CHAPTERS; c++) PutU32(&out, m.storyMessageCounts[c]);
    PutBytes(&out, m.storyMessages, sizeof m.storyMessages);
    PutStarts(&out, m.undergroundStarts, UNDERGROUND_STAGES);
    PutBytes(&out, m.undergroundMaps, sizeof m.undergroundMaps);
    PutBytes(&out, m.undergroundTimeClasses, sizeof m.undergroundTimeClasses);
    PutBytes(&out, m.ruleMaps, sizeof m.ruleMaps);
    return out;
}

bool DecodeGameData(const std::string& in, GameDataImage* m) {
    memset(m, 0, sizeof *m);
    GetStarts(in, OFFSET_COURSE_STARTS, m->courseStarts, COURSE_STAGES);
    GetBytes(in, OFFSET_COURSE_MAPS, m->courseMaps, sizeof m->courseMaps);
    GetBytes(in, OFFSET_COURSE_TIME_CLASSES, m->courseTimeClasses, sizeof m->courseTimeClasses);
    for (int c = 0; c < STORY_CHAPTERS; c++) {
        m->storyMessageCounts[c] = GetU32(in, OFFSET_STORY_COUNTS + 4 * (size_t)c);
    }
    GetBytes(in, OFFSET_STORY_MESSAGES, m->storyMessages, sizeof m->storyMessages);
    GetStarts(in, OFFSET_UNDERGROUND_STARTS, m->undergroundStarts, UNDERGROUND_STAGES);
    GetBytes(in, OFFSET_UNDERGROUND_MAPS, m->undergroundMaps, sizeof m->undergroundMaps);
    GetBytes(in, OFFSET_UNDERGROUND_TIME_CLASSES, m->undergroundTimeClasses,
             sizeof m->undergroundTimeClasses);
    GetBytes(in, OFFSET_RULE_MAPS, m->ruleMaps, sizeof m->ruleMaps);
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
