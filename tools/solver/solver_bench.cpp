// ossmire-solver-bench: how long deciding every stage of a data file takes.
// The target is a few seconds for all 83 stages; a report, not a test.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "data/datafile.h"
#include "play/solver.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fputs("usage: ossmire-solver-bench data.vrk [PASSES]\n", stderr);
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
    solver::u64 nodes = 0;
    auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < passes; pass++) {
        for (int c = 0; c < 3; c++) {
            for (int i = 0; i < counts[c]; i++) {
                solver::SolveResult r;
                solver::SolveStage(datatool::StageOf(image, kinds[c], i),
                                   solver::DefaultSolveOptions(), &r);
                nodes += r.nodes;
            }
        }
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count() /
                passes;
    printf("83 stages: %.1f ms a pass, %llu search positions (target: a few seconds)\n", ms,
           (unsigned long long)(nodes / (solver::u64)passes));
    return 0;
}
