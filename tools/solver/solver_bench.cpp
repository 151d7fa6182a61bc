// ossmire-solver-bench: how long deciding every stage of a data file takes.
// The target is under a second for all 83 stages and the test maps given
// after the pass count; a report, not a test.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "data/datafile.h"
#include "play/solver.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fputs("usage: ossmire-solver-bench data.vrk [PASSES [MAP...]]\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    static datatool::GameDataImage image;
    datatool::DecodeGameData(all.str(), &image);
    int passes = argc > 2 ? atoi(argv[2]) : 20;
    if (passes < 1) passes = 1;
    const int counts[3] = {COURSE_STAGES, UNDERGROUND_STAGES, RULE_STAGES};
    const datatool::CourseKind kinds[3] = {datatool::COURSE_MAIN, datatool::COURSE_UNDERGROUND,
                                           datatool::COURSE_RULE};
    std::vector<solver::Stage> maps;
    for (int i = 3; i < argc; i++) {
        std::ifstream map(argv[i], std::ios::binary);
        char bytes[73] = {0};
        map.read(bytes, sizeof bytes);
        solver::Stage s;
        memcpy(s.cells, bytes, 64);
        s.timeClass = (u8)bytes[64];
        memcpy(&s.startX, bytes + 65, 4);
        memcpy(&s.startY, bytes + 69, 4);
        maps.push_back(s);
    }
    solver::u64 nodes = 0;
    int undecided = 0;
    auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < passes; pass++) {
        for (int c = 0; c < 3; c++) {
            for (int i = 0; i < counts[c]; i++) {
                solver::SolveResult r;
                solver::SolveStage(datatool::StageOf(image, kinds[c], i),
                                   solver::DefaultSolveOptions(), &r);
                nodes += r.nodes;
                undecided += !r.decided;
            }
        }
        for (const solver::Stage& s : maps) {
            solver::SolveResult r;
            solver::SolveStage(s, solver::DefaultSolveOptions(), &r);
            nodes += r.nodes;
            undecided += !r.decided;
        }
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count() /
                passes;
    printf(
        "83 stages and %zu maps: %.1f ms a pass, %llu search positions, %d undecided "
        "(target: under 1 s)\n",
        maps.size(), ms, (unsigned long long)(nodes / (solver::u64)passes), undecided / passes);
    return 0;
}
