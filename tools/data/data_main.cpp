// ossmire-data: compiles the stage and story sources into "data.vrk".
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "data/sources.h"
#include "play/solver.h"

using namespace datatool;

namespace {
const char* HELP =
    "usage: ossmire-data [--stages DIR] [--story DIR] [-o FILE]\n"
    "       ossmire-data --dump FILE\n"
    "\n"
    "Compiles DIR/course.txt (30 stages), DIR/underground.txt (50) and\n"
    "DIR/rule.txt (3) from --stages (default content/stages), and the story\n"
    "chapters chapter_00.txt .. chapter_12.txt from --story (default\n"
    "content/story), into the game data file (default data.vrk): 47,190\n"
    "bytes, little-endian, texts in Shift-JIS.\n"
    "\n"
    "Every stage must have exactly one each of the keys 1 to 4, no warp or\n"
    "two, a start on plain floor, a time class 0..2, and must be clearable\n"
    "within the clock (the solver decides). Every story message must fit in\n"
    "99 Shift-JIS bytes, end in #e or #s and fit the story window: lines of\n"
    "at most 17 characters, at most 4 lines, 16 on the third and fourth\n"
    "beside the next-page mark; a chapter holds 1 to 31 messages. Any problem\n"
    "is reported as FILE:LINE: message, and nothing is written.\n"
    "\n"
    "--dump FILE prints the tables of a data file readably.\n"
    "--check-stages FILE and --check-story FILE check one source file alone\n"
    "(any number of stages; one chapter) and print its problems.\n";

struct CourseFile {
    const char* name;
    CourseKind kind;
    int stages;
};
const CourseFile COURSE_FILES[3] = {
    {"course.txt", COURSE_MAIN, COURSE_STAGES},
    {"underground.txt", COURSE_UNDERGROUND, UNDERGROUND_STAGES},
    {"rule.txt", COURSE_RULE, RULE_STAGES},
};

void CheckClearable(const std::string& path, const StageEntry& entry,
                    std::vector<std::string>* errors) {
    solver::SolveResult result;
    solver::SolveStage(entry.stage, solver::DefaultSolveOptions(), &result);
    std::string where =
        path + ":" + std::to_string(entry.line) + ": stage " + std::to_string(entry.number) + ": ";
    if (!result.decided) {
        errors->push_back(where + "the solver could not decide it (too open a board)");
    } else if (!result.solvable) {
        errors->push_back(where + (result.walkCount ? "cannot be cleared before the clock runs out"
                                                    : "cannot be cleared"));
    }
}

void CompileCourse(const std::string& dir, const CourseFile& course, GameDataImage* image,
                   std::vector<std::string>* errors) {
    std::string path = dir + "/" + course.name;
    std::vector<StageEntry> stages = ReadStageFile(path, errors);
    if ((int)stages.size() != course.stages) {
        errors->push_back(path + ":1: holds " + std::to_string(stages.size()) + " stages, not " +
                          std::to_string(course.stages));
    }
    for (size_t i = 0; i < stages.size() && (int)i < course.stages; i++) {
        const StageEntry& entry = stages[i];
        size_t mark = errors->size();
        if (!entry.malformed) CheckStageShape(path, entry, errors);
        const solver::Stage& s = entry.stage;
        if (course.kind == COURSE_RULE && (s.startX != 7 || s.startY != 7 || s.timeClass != 0)) {
            errors->push_back(path + ":" + std::to_string(entry.line) +
                              ": a rule stage starts at 7 7 with time class 0");
        }
        if (errors->size() == mark && !entry.malformed) CheckClearable(path, entry, errors);
        PutStage(image, course.kind, (int)i, s);
    }
}

void CompileStory(const std::string& dir, GameDataImage* image, std::vector<std::string>* errors) {
    for (int c = 0; c < STORY_CHAPTERS; c++) {
        char name[32];
        snprintf(name, sizeof name, "/chapter_%02d.txt", c);
        ChapterEntry chapter = ReadChapterFile(dir + name, errors);
        size_t count = chapter.messages.size() > 31 ? 31 : chapter.messages.size();
        image->storyMessageCounts[c] = (u32)count;
        for (size_t i = 0; i < count; i++) image->storyMessages[c][i] = chapter.messages[i];
    }
}

bool ReadWhole(const char* path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *bytes = all.str();
    return true;
}

void DumpStage(const char* title, int index, const solver::Stage& s) {
    printf("%s %d: start %d %d, time class %u\n", title, index + 1, s.startX, s.startY,
           (unsigned)s.timeClass);
    for (int y = 0; y < 8; y++) {
        char row[9];
        for (int x = 0; x < 8; x++) row[x] = TileLetter(s.cells[x + 8 * y]);
        row[8] = 0;
        printf("  %s\n", row);
    }
}

void DumpStory(const GameDataImage& image) {
    for (int c = 0; c < STORY_CHAPTERS; c++) {
        printf("chapter %d: %u messages\n", c, image.storyMessageCounts[c]);
        u32 count = image.storyMessageCounts[c] > 31 ? 31 : image.storyMessageCounts[c];
        for (u32 i = 0; i < count; i++) {
            const StoryMessage& m = image.storyMessages[c][i];
            std::string hex;
            char text[101];
            memcpy(text, m.text, 100);
            text[100] = 0;
            for (size_t b = 0; b < strlen(text); b++) {
                char h[4];
                snprintf(h, sizeof h, "%02X", (unsigned)(u8)text[b]);
                hex += h;
            }
            printf("  %u: speaker %u expression %u %s\n", i, (unsigned)m.speaker,
                   (unsigned)m.expression, hex.c_str());
        }
    }
}

int Dump(const char* path) {
    std::string bytes;
    if (!ReadWhole(path, &bytes)) {
        fprintf(stderr, "%s: cannot be read\n", path);
        return 1;
    }
    static GameDataImage image;
    bool whole = DecodeGameData(bytes, &image);
    printf("%s: %zu bytes%s\n", path, bytes.size(),
           whole ? "" : " (short: the rest reads as zero)");
    for (int i = 0; i < COURSE_STAGES; i++) DumpStage("course", i, StageOf(image, COURSE_MAIN, i));
    for (int i = 0; i < UNDERGROUND_STAGES; i++) {
        DumpStage("underground", i, StageOf(image, COURSE_UNDERGROUND, i));
    }
    for (int i = 0; i < RULE_STAGES; i++) DumpStage("rule", i, StageOf(image, COURSE_RULE, i));
    DumpStory(image);
    return 0;
}

int CheckOne(const std::string& path, bool story) {
    std::vector<std::string> errors;
    if (story) {
        ReadChapterFile(path, &errors);
    } else {
        for (const StageEntry& entry : ReadStageFile(path, &errors)) {
            if (entry.malformed) continue;
            size_t mark = errors.size();
            CheckStageShape(path, entry, &errors);
            if (errors.size() == mark) CheckClearable(path, entry, &errors);
        }
    }
    for (const std::string& e : errors) fprintf(stderr, "%s\n", e.c_str());
    return errors.empty() ? 0 : 1;
}

int Compile(const std::string& stages, const std::string& story, const std::string& output) {
    static GameDataImage image;
    std::vector<std::string> errors;
    for (const CourseFile& course : COURSE_FILES) CompileCourse(stages, course, &image, &errors);
    CompileStory(story, &image, &errors);
    for (const std::string& e : errors) fprintf(stderr, "%s\n", e.c_str());
    if (!errors.empty()) return 1;
    std::string bytes = EncodeGameData(image);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    if (!out) {
        fprintf(stderr, "%s: cannot be written\n", output.c_str());
        return 1;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    std::string stages = "content/stages", story = "content/story", output = "data.vrk";
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            fputs(HELP, stdout);
            return 0;
        } else if (arg == "--dump" && hasValue) {
            return Dump(argv[i + 1]);
        } else if ((arg == "--check-stages" || arg == "--check-story") && hasValue) {
            return CheckOne(argv[i + 1], arg == "--check-story");
        } else if (arg == "--stages" && hasValue) {
            stages = argv[++i];
        } else if (arg == "--story" && hasValue) {
            story = argv[++i];
        } else if (arg == "-o" && hasValue) {
            output = argv[++i];
        } else {
            fprintf(stderr, "ossmire-data: unknown argument \"%s\" (see --help)\n", arg.c_str());
            return 2;
        }
    }
    return Compile(stages, story, output);
}
