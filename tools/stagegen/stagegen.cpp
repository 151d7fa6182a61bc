// ossmire-stagegen: proposes candidate stages for designers to pick from. It
// lays a random one-stroke path, walls in the rest, puts the keys, time
// tiles, switch and gates and warps along the path, and keeps boards the
// solver clears in few ways. Output is stage source text.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data/sources.h"
#include "play/solver.h"

namespace {
const char* HELP =
    "usage: ossmire-stagegen [--seed N] [--count N] [--min CELLS] [--max CELLS]\n"
    "                        [--time N] [--gates N] [--warp] [--class C] [--ways N]\n"
    "Prints N candidate stages whose path covers CELLS cells, with N time tiles,\n"
    "a switch with N gates, a warp pair, time class C, solved in at most N ways.\n"
    "       ossmire-stagegen --describe FILE\n"
    "Prints, for each stage of a source file, its solver figures and a note on\n"
    "what its fastest walk meets and where the board tempts the player off it.\n";

struct Options {
    unsigned seed = 1;
    int count = 10, minCells = 20, maxCells = 30, timeTiles = 0, gates = 0, timeClass = 0;
    int maxWays = 3;
    bool warp = false;
};

std::mt19937 rng;

int Rand(int n) { return (int)(rng() % (unsigned)n); }

const int DX[4] = {0, 0, -1, 1}, DY[4] = {-1, 1, 0, 0};

// Self-avoiding walk from `cell`, preferring neighbours with few exits so
// the walk fills its area instead of cutting it up.
void Walk(int cell, int length, std::vector<int>* path, bool* used) {
    path->push_back(cell);
    used[cell] = true;
    while ((int)path->size() < length) {
        int here = path->back(), best = -1, bestScore = 1 << 30;
        for (int d = 0; d < 4; d++) {
            int x = here % 8 + DX[d], y = here / 8 + DY[d];
            if (x < 0 || x > 7 || y < 0 || y > 7 || used[x + 8 * y]) continue;
            int exits = 0;
            for (int e = 0; e < 4; e++) {
                int ex = x + DX[e], ey = y + DY[e];
                if (ex >= 0 && ex < 8 && ey >= 0 && ey < 8 && !used[ex + 8 * ey]) exits++;
            }
            int score = exits * 4 + Rand(7);
            if (score < bestScore) bestScore = score, best = x + 8 * y;
        }
        if (best < 0) return;
        path->push_back(best);
        used[best] = true;
    }
}

int FreeNeighbour(int cell, const bool* used) {
    int options[4], n = 0;
    for (int d = 0; d < 4; d++) {
        int x = cell % 8 + DX[d], y = cell / 8 + DY[d];
        if (x >= 0 && x < 8 && y >= 0 && y < 8 && !used[x + 8 * y]) options[n++] = x + 8 * y;
    }
    return n ? options[Rand(n)] : -1;
}

// Returns false when the walk could not be laid out as asked.
bool LayOut(const Options& o, solver::Stage* s, std::vector<int>* path) {
    bool used[64] = {false};
    int length = o.minCells + Rand(o.maxCells - o.minCells + 1);
    memset(s->cells, TILE_WALL, 64);
    int start = Rand(64);
    if (!o.warp) {
        Walk(start, length, path, used);
    } else {
        Walk(start, length / 2, path, used);
        int warpA = FreeNeighbour(path->back(), used);
        if (warpA < 0) return false;
        used[warpA] = true;
        int warpB = -1;
        for (int tries = 0; tries < 50 && warpB < 0; tries++) {
            int c = Rand(64);
            if (!used[c] && abs(c % 8 - warpA % 8) + abs(c / 8 - warpA / 8) > 3) warpB = c;
        }
        if (warpB < 0) return false;
        used[warpB] = true;
        int next = FreeNeighbour(warpB, used);
        if (next < 0) return false;
        s->cells[warpA] = s->cells[warpB] = TILE_WARP;
        Walk(next, length, path, used);
    }
    if ((int)path->size() < o.minCells) return false;
    for (int c : *path) s->cells[c] = TILE_FLOOR;
    s->startX = start % 8;
    s->startY = start / 8;
    s->timeClass = (u8)o.timeClass;
    return true;
}

void Decorate(const Options& o, solver::Stage* s, const std::vector<int>& path) {
    int n = (int)path.size();
    int k1 = 1 + Rand(n / 3), k2 = k1 + 1 + Rand(n / 3), k3 = k2 + 1 + Rand(n - 2 - k2);
    s->cells[path[k1]] = TILE_KEY1;
    s->cells[path[k2]] = TILE_KEY2;
    s->cells[path[k3]] = TILE_KEY3;
    s->cells[path[n - 1]] = TILE_KEY4;
    std::vector<int> plain;
    for (int i = 1; i < n - 1; i++) {
        if (s->cells[path[i]] == TILE_FLOOR) plain.push_back(i);
    }
    if (o.gates > 0 && plain.size() > 4) {
        int at = Rand((int)plain.size() / 2);
        s->cells[path[plain[at]]] = TILE_SWITCH;
        for (int g = 0; g < o.gates; g++) {
            int i = plain[at + 1 + Rand((int)plain.size() - at - 1)];
            if (s->cells[path[i]] == TILE_FLOOR) s->cells[path[i]] = TILE_GATE;
        }
    }
    for (int t = 0; t < o.timeTiles; t++) {
        int i = plain[Rand((int)plain.size())];
        if (s->cells[path[i]] == TILE_FLOOR)
            s->cells[path[i]] = Rand(2) ? TILE_TIME_BONUS : TILE_TIME_PENALTY;
    }
}

// What the fastest walk meets, in the order it meets it, for the designer's
// notes: bonuses and penalties as they stand when taken, the switch, warps.
std::string Describe(const solver::Stage& stage, const char* moves) {
    solver::PlayState s;
    solver::StartStage(stage, &s);
    std::string notes;
    int step = 0;
    for (const char* m = moves; *m; m++) {
        int d = solver::DirectionOfLetter(*m);
        while (!(s.repeatDelay <= 1 && !s.warpAnimating)) solver::RunFrame(&s, -1);
        int x = s.playerX + DX[d], y = s.playerY + DY[d];
        u8 code = s.board[x + 8 * y];
        step++;
        char note[64] = "";
        if (code == TILE_TIME_BONUS) snprintf(note, sizeof note, "bonus at step %d", step);
        if (code == TILE_TIME_PENALTY) snprintf(note, sizeof note, "penalty at step %d", step);
        if (code == TILE_SWITCH) snprintf(note, sizeof note, "switch at step %d", step);
        if (code == TILE_WARP) snprintf(note, sizeof note, "warp at step %d", step);
        if (note[0]) notes += notes.empty() ? note : std::string(", ") + note;
        solver::RunFrame(&s, d);
    }
    return notes;
}

const char* DIRECTION_NAMES[4] = {"up", "down", "left", "right"};

int WarpLanding(const solver::Stage& stage, int cell) {
    int landing = cell;
    for (int other = 0; other < 64; other++) {
        if (other != cell && stage.cells[other] == TILE_WARP) landing = other;
    }
    return landing;
}

// The deepest wrong turn: the one a player can follow longest before the
// board strands a cell. Returns its length in steps, 0 when there is none.
struct Trap {
    int step = 0, x = 0, y = 0, direction = 0, length = 0, count = 0;
};

void WeighTurn(const solver::Stage& stage, solver::u64 walked, int cell, int direction, int step,
               Trap* trap) {
    int x = cell % 8 + DX[direction], y = cell / 8 + DY[direction];
    int target = x + 8 * y;
    bool warp = stage.cells[target] == TILE_WARP;
    solver::u64 next = warp ? walked : walked | (1ull << target);
    int landing = warp ? WarpLanding(stage, target) : target;
    solver::SolveOptions options = solver::DefaultSolveOptions();
    if (solver::CountWaysFrom(stage, next, landing, options) > 0) return;
    trap->count++;
    int length = 1 + solver::LongestWalkFrom(stage, next, landing, 200000);
    if (length <= trap->length) return;
    *trap = Trap{step, cell % 8, cell / 8, direction, length, trap->count};
}

// The designer's note for a stage: what the fastest walk meets and where the
// board tempts the player off it.
std::string Intent(const solver::Stage& stage, const char* moves) {
    solver::PlayState s;
    solver::StartStage(stage, &s);
    std::string notes;
    Trap trap;
    int step = 0;
    solver::u64 walked = 1ull << (stage.startX + 8 * stage.startY);
    for (const char* m = moves; *m; m++) {
        int d = solver::DirectionOfLetter(*m);
        while (!(s.repeatDelay <= 1 && !s.warpAnimating)) solver::RunFrame(&s, -1);
        step++;
        int cell = s.playerX + 8 * s.playerY;
        for (int other = 0; other < 4; other++) {
            if (other == d || solver::StepBlocked(s, other)) continue;
            solver::PlayState trial = s;
            if (solver::RunFrame(&trial, other) != solver::OUTCOME_PLAYING) continue;
            WeighTurn(stage, walked, cell, other, step, &trap);
        }
        int x = s.playerX + DX[d], y = s.playerY + DY[d];
        u8 original = stage.cells[x + 8 * y], code = s.board[x + 8 * y];
        if (original != TILE_WARP) walked |= 1ull << (x + 8 * y);
        char note[96] = "";
        if (code == TILE_TIME_BONUS || code == TILE_TIME_PENALTY) {
            snprintf(note, sizeof note, "the %c at (%d,%d) is %s when reached",
                     original == TILE_TIME_BONUS ? '+' : '-', x, y,
                     code == TILE_TIME_BONUS ? "a bonus" : "a penalty");
        } else if (code == TILE_SWITCH) {
            snprintf(note, sizeof note, "the switch comes at step %d", step);
        } else if (code == TILE_WARP) {
            snprintf(note, sizeof note, "the warp at (%d,%d) is taken at step %d", x, y, step);
        }
        if (note[0]) notes += std::string("; ") + note;
        solver::RunFrame(&s, d);
    }
    char head[200];
    if (trap.count == 0) {
        snprintf(head, sizeof head, "no wrong turn on the way");
    } else {
        snprintf(head, sizeof head,
                 "%d wrong turns, the deepest at step %d, %s from (%d,%d), runs %d steps "
                 "before it fails",
                 trap.count, trap.step, DIRECTION_NAMES[trap.direction], trap.x, trap.y,
                 trap.length);
    }
    return head + notes;
}

int DescribeFile(const char* path) {
    std::vector<std::string> errors;
    solver::SolveOptions so = solver::DefaultSolveOptions();
    for (const datatool::StageEntry& e : datatool::ReadStageFile(path, &errors)) {
        solver::SolveResult r;
        solver::SolveStage(e.stage, so, &r);
        printf("stage %d: ways %u%s, par %us, clear at %us, lowest %us: %s\n", e.number,
               r.walkCount, r.countCapped ? "+" : "", r.ticks, r.finalTime, r.lowestTime,
               r.solvable ? Intent(e.stage, r.moves).c_str() : "UNCLEARABLE");
    }
    for (const std::string& e : errors) fprintf(stderr, "%s\n", e.c_str());
    return errors.empty() ? 0 : 1;
}

void Print(const solver::Stage& s, const solver::SolveResult& r, int number) {
    printf("stage %d\n; ways %u, par %us, clock at clear %us, lowest %us\n; %s\n", number,
           r.walkCount, r.ticks, r.finalTime, r.lowestTime, r.moves);
    std::string notes = Describe(s, r.moves);
    if (!notes.empty()) printf("; meets: %s\n", notes.c_str());
    printf("time %u\nstart %d %d\n", (unsigned)s.timeClass, s.startX, s.startY);
    for (int y = 0; y < 8; y++) {
        for (int x = 0; x < 8; x++) putchar(datatool::TileLetter(s.cells[x + 8 * y]));
        putchar('\n');
    }
    putchar('\n');
}
}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        int v = i + 1 < argc ? atoi(argv[i + 1]) : 0;
        if (a == "--warp") {
            o.warp = true;
            continue;
        }
        if (a == "--describe" && i + 1 < argc) return DescribeFile(argv[i + 1]);
        if (a == "--help" || i + 1 >= argc) {
            fputs(HELP, stdout);
            return 0;
        }
        i++;
        if (a == "--seed")
            o.seed = (unsigned)v;
        else if (a == "--count")
            o.count = v;
        else if (a == "--min")
            o.minCells = v;
        else if (a == "--max")
            o.maxCells = v;
        else if (a == "--time")
            o.timeTiles = v;
        else if (a == "--gates")
            o.gates = v;
        else if (a == "--class")
            o.timeClass = v;
        else if (a == "--ways")
            o.maxWays = v;
    }
    rng.seed(o.seed);
    solver::SolveOptions so = solver::DefaultSolveOptions();
    so.nodeBudget = 300000;
    so.solutionCap = 50;
    for (int found = 0, tries = 0; found < o.count && tries < 200000; tries++) {
        solver::Stage s;
        std::vector<int> path;
        if (!LayOut(o, &s, &path)) continue;
        Decorate(o, &s, path);
        solver::SolveResult r;
        solver::SolveStage(s, so, &r);
        if (!r.decided || !r.solvable || (int)r.walkCount > o.maxWays || r.lowestTime < 15)
            continue;
        Print(s, r, ++found);
    }
    return 0;
}
