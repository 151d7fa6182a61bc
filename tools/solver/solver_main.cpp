// ossmire-solver: decides stages and prints their fastest solutions.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/datafile.h"
#include "data/sources.h"
#include "play/solver.h"

namespace {
const char* HELP =
    "usage: ossmire-solver [--cap N] [--time-limit MS] [--moves] [--pacing] FILE...\n"
    "\n"
    "Decides whether each stage can be cleared, played at the game's pace (a\n"
    "step every 17 frames of 16 ms, the clock ticking every 63 frames, warps\n"
    "waiting for their beam), and prints a table: stage, the number of ways\n"
    "to finish (up to the cap, default 1000; '+' when capped), the par time\n"
    "in clock seconds, the clock at the clear and its lowest reading, and\n"
    "with --moves the fastest solution as a move string: U D L R are steps,\n"
    "each taken as soon as the game allows it; wN stands still (no arrow\n"
    "held) for N frames more before the next step, to let the start tile act\n"
    "or the time cells swap. A board that cannot be cleared prints\n"
    "UNCLEARABLE and the reason; UNDECIDED only when the time limit (default\n"
    "10000 ms a board) runs out first.\n"
    "\n"
    "FILE may be a 73-byte map file (EditMap/map_NN.map), a data file\n"
    "(data.vrk: all 83 stages, with the course totals), or a stage source\n"
    "(content/stages/*.txt). Exit status 1 if any stage cannot be cleared.\n"
    "\n"
    "--pacing also fails a data file whose par times miss the star ratings'\n"
    "pace: 250..420 s over the course, 550..900 s over the underground, and\n"
    "no clock below 15 s on any par path.\n";

bool checkPacing = false;

struct Totals {
    u32 seconds = 0;
    int stages = 0;
    u32 lowest = 60;
};

// The game names map files "EditMap\map_NN.map"; either separator will do.
bool ReadWhole(std::string path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        for (char& c : path) c = c == '\\' ? '/' : c;
        in.open(path, std::ios::binary);
    }
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *bytes = all.str();
    return true;
}

bool EndsWith(const std::string& s, const char* tail) {
    size_t n = strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool Report(const std::string& name, const solver::Stage& stage, const solver::SolveOptions& o,
            bool moves, Totals* totals) {
    solver::SolveResult r;
    solver::SolveStage(stage, o, &r);
    if (!r.decided || !r.solvable) {
        if (!r.decided) {
            printf("%-16s UNDECIDED\n", name.c_str());
        } else {
            printf("%-16s UNCLEARABLE  %s\n", name.c_str(), solver::ReasonText(r.reason));
        }
        return false;
    }
    printf("%-16s %5u%c %4us %4us %4us", name.c_str(), r.walkCount, r.countCapped ? '+' : ' ',
           r.ticks, r.finalTime, r.lowestTime);
    printf(moves ? "  %s\n" : "\n", r.moves);
    totals->seconds += r.ticks;
    totals->stages++;
    if (r.lowestTime < totals->lowest) totals->lowest = r.lowestTime;
    return true;
}

void PrintTotals(const char* course, const Totals& t) {
    printf("%s: %d stages, par total %us, lowest clock %us\n", course, t.stages, t.seconds,
           t.lowest);
}

bool SolveDataFile(const std::string& bytes, const solver::SolveOptions& o, bool moves) {
    static datatool::GameDataImage image;
    datatool::DecodeGameData(bytes, &image);
    bool ok = true;
    const struct {
        const char* name;
        datatool::CourseKind kind;
        int count;
        u32 fastest, slowest;  // bounds of the par total
    } courses[3] = {{"course", datatool::COURSE_MAIN, COURSE_STAGES, 250, 420},
                    {"underground", datatool::COURSE_UNDERGROUND, UNDERGROUND_STAGES, 550, 900},
                    {"rule", datatool::COURSE_RULE, RULE_STAGES, 0, 180}};
    for (const auto& c : courses) {
        Totals totals;
        for (int i = 0; i < c.count; i++) {
            std::string name = std::string(c.name) + " " + std::to_string(i + 1);
            ok &= Report(name, datatool::StageOf(image, c.kind, i), o, moves, &totals);
        }
        PrintTotals(c.name, totals);
        if (checkPacing && (totals.seconds < c.fastest || totals.seconds > c.slowest)) {
            printf("%s: par total outside %u..%us\n", c.name, c.fastest, c.slowest);
            ok = false;
        }
        if (checkPacing && totals.lowest < 15) {
            printf("%s: a par path lets the clock fall below 15s\n", c.name);
            ok = false;
        }
    }
    return ok;
}

bool SolveMapFile(const std::string& path, const std::string& bytes, const solver::SolveOptions& o,
                  bool moves) {
    solver::Stage stage;
    memset(&stage, 0, sizeof stage);
    memcpy(stage.cells, bytes.data(), bytes.size() < 64 ? bytes.size() : 64);
    if (bytes.size() > 64) stage.timeClass = (u8)bytes[64];
    if (bytes.size() >= 73) {
        memcpy(&stage.startX, bytes.data() + 65, 4);
        memcpy(&stage.startY, bytes.data() + 69, 4);
    }
    Totals totals;
    return Report(path, stage, o, moves, &totals);
}

bool SolveSource(const std::string& path, const solver::SolveOptions& o, bool moves) {
    std::vector<std::string> errors;
    std::vector<datatool::StageEntry> stages = datatool::ReadStageFile(path, &errors);
    for (const std::string& e : errors) fprintf(stderr, "%s\n", e.c_str());
    bool ok = errors.empty();
    Totals totals;
    for (const datatool::StageEntry& e : stages) {
        ok &= Report("stage " + std::to_string(e.number), e.stage, o, moves, &totals);
    }
    PrintTotals(path.c_str(), totals);
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    solver::SolveOptions options = solver::DefaultSolveOptions();
    bool moves = false, ok = true;
    int files = 0;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            fputs(HELP, stdout);
            return 0;
        } else if (arg == "--cap" && i + 1 < argc) {
            options.solutionCap = (u32)strtoul(argv[++i], nullptr, 10);
            if (options.solutionCap == 0) options.solutionCap = 1;
        } else if (arg == "--time-limit" && i + 1 < argc) {
            options.timeLimitMs = (u32)strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--moves") {
            moves = true;
        } else if (arg == "--pacing") {
            checkPacing = true;
        } else {
            files++;
            std::string bytes;
            if (!ReadWhole(arg, &bytes)) {
                fprintf(stderr, "%s: cannot be read\n", arg.c_str());
                ok = false;
            } else if (EndsWith(arg, ".txt")) {
                ok &= SolveSource(arg, options, moves);
            } else if (EndsWith(arg, ".map")) {
                ok &= SolveMapFile(arg, bytes, options, moves);
            } else {
                ok &= SolveDataFile(bytes, options, moves);
            }
        }
    }
    if (files == 0) fputs(HELP, stderr);
    return ok && files > 0 ? 0 : 1;
}
