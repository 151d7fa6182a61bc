#include "solver/solver.h"

#include <cstring>
#include <vector>

namespace solver {

namespace {
const u64 COLUMN_0 = 0x0101010101010101ull;
const u64 COLUMN_7 = 0x8080808080808080ull;

u64 Bit(int cell) { return 1ull << cell; }

u64 Spread(u64 s) {
    return s | (s << 8) | (s >> 8) | ((s << 1) & ~COLUMN_0) | ((s >> 1) & ~COLUMN_7);
}

// The fixed shape of a stage, as bit sets.
struct Shape {
    u64 walls, warps, gates, switches, goals, required;
    u64 keys[4];
    int warpTarget[64];  // where entering each warp cell lands
};

void BuildShape(const Stage& stage, Shape* shape) {
    memset(shape, 0, sizeof *shape);
    for (int cell = 0; cell < 64; cell++) {
        u8 code = stage.cells[cell];
        u64 bit = Bit(cell);
        if (code == TILE_WALL || code == TILE_WALKED) shape->walls |= bit;
        if (code == TILE_WARP) shape->warps |= bit;
        if (code == TILE_GATE) shape->gates |= bit;
        if (code == TILE_SWITCH) shape->switches |= bit;
        if (code >= TILE_KEY1 && code <= TILE_KEY4) shape->keys[code - TILE_KEY1] |= bit;
        // A goal already taken never needs a visit; neither do warps.
        if (code != TILE_WALL && code != TILE_WALKED && code != TILE_WARP &&
            code != TILE_KEY4_TAKEN) {
            shape->required |= bit;
        }
    }
    shape->goals = shape->keys[3];
    for (int cell = 0; cell < 64; cell++) {
        shape->warpTarget[cell] = cell;
        if (!(shape->warps & Bit(cell))) continue;
        for (int other = 0; other < 64; other++) {
            if (other != cell && (shape->warps & Bit(other))) shape->warpTarget[cell] = other;
        }
    }
}

// Ways to finish by walked set and cell: open addressing, grown as it fills.
class WalkMemo {
  public:
    WalkMemo() : slots_(1 << 16) {}

    bool Find(u64 walked, int cell, u32* count) const {
        for (size_t i = Home(walked, cell);; i = (i + 1) & (slots_.size() - 1)) {
            const Slot& s = slots_[i];
            if (!s.used) return false;
            if (s.walked == walked && s.cell == cell) {
                *count = s.count;
                return true;
            }
        }
    }

    void Put(u64 walked, int cell, u32 count) {
        if (2 * (used_ + 1) > slots_.size()) Grow();
        size_t i = Home(walked, cell);
        while (slots_[i].used && !(slots_[i].walked == walked && slots_[i].cell == cell)) {
            i = (i + 1) & (slots_.size() - 1);
        }
        if (!slots_[i].used) used_++;
        slots_[i] = Slot{walked, count, (u8)cell, 1};
    }

  private:
    struct Slot {
        u64 walked;
        u32 count;
        u8 cell, used;
    };

    size_t Home(u64 walked, int cell) const {
        u64 h = (walked ^ ((u64)cell << 58) ^ (u64)cell) * 0x9E3779B97F4A7C15ull;
        return (size_t)(h >> 20) & (slots_.size() - 1);
    }

    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.size() * 2, Slot{0, 0, 0, 0});
        used_ = 0;
        for (const Slot& s : old) {
            if (s.used) Put(s.walked, s.cell, s.count);
        }
    }

    std::vector<Slot> slots_;
    size_t used_ = 0;
};

const int NEIGHBOUR_STEP[4] = {-8, 8, -1, 1};

int Neighbour(int cell, int direction) {
    int x = cell % 8, y = cell / 8;
    if (direction == 0 && y == 0) return -1;
    if (direction == 1 && y == 7) return -1;
    if (direction == 2 && x == 0) return -1;
    if (direction == 3 && x == 7) return -1;
    return cell + NEIGHBOUR_STEP[direction];
}

// Counting the ways to finish from a walked set and a cell, clock aside.
class WalkCounter {
  public:
    WalkCounter(const Shape& shape, u32 cap, u64 budget)
        : shape_(shape), cap_(cap), budget_(budget) {}

    // Ways to finish through one move: 0 when the move is refused or leads
    // nowhere, 1 for the move that takes the goal last.
    u32 CountMove(u64 walked, int cell, int direction, u64* nextWalked, int* nextCell) {
        int target = Neighbour(cell, direction);
        if (target < 0 || !Allowed(walked, target)) return 0;
        u64 bit = Bit(target);
        if (shape_.warps & bit) {
            *nextWalked = walked;
            *nextCell = shape_.warpTarget[target];
            if (*nextCell == cell) return 0;  // bounced back: no progress
            return Count(walked, *nextCell);
        }
        *nextWalked = walked | bit;
        *nextCell = target;
        if (shape_.goals & bit) return (shape_.required & ~*nextWalked) == 0 ? 1 : 0;
        return Count(*nextWalked, target);
    }

    u32 Count(u64 walked, int cell) {
        u32 known;
        if (memo_.Find(walked, cell, &known)) return known;
        if (++nodes_ > budget_) {
            exhausted_ = true;
            return 0;
        }
        u32 total = 0;
        if (Promising(walked, cell)) {
            memo_.Put(walked, cell, 0);  // a warp cycle back here adds nothing
            for (int d = 0; d < 4 && total < cap_; d++) {
                u64 nextWalked;
                int nextCell;
                total += CountMove(walked, cell, d, &nextWalked, &nextCell);
            }
            if (total > cap_) total = cap_;
        }
        if (!exhausted_) memo_.Put(walked, cell, total);
        return total;
    }

    // Longest run of allowed moves, each move counted once; the goal ends it.
    int Longest(u64 walked, int cell, u64* budget) {
        if (*budget == 0) return 0;
        --*budget;
        int best = 0;
        for (int d = 0; d < 4; d++) {
            int target = Neighbour(cell, d);
            if (target < 0 || !Allowed(walked, target)) continue;
            u64 bit = Bit(target);
            if (shape_.goals & bit) {
                if ((shape_.required & ~(walked | bit)) == 0 && best < 1) best = 1;
                continue;
            }
            bool warp = shape_.warps & bit;
            int next = warp ? shape_.warpTarget[target] : target;
            if (next == cell) continue;
            int length = 1 + Longest(warp ? walked : walked | bit, next, budget);
            if (length > best) best = length;
        }
        return best;
    }

    bool exhausted() const { return exhausted_; }
    u64 nodes() const { return nodes_; }

  private:
    // A step the rules take without a miss: open, and no key out of order.
    bool Allowed(u64 walked, int target) const {
        u64 bit = Bit(target);
        if ((shape_.walls | walked) & bit) return false;
        if ((shape_.gates & bit) && !(walked & shape_.switches)) return false;
        for (int k = 1; k < 4; k++) {
            if ((shape_.keys[k] & bit) && !(walked & shape_.keys[k - 1])) return false;
        }
        return true;
    }

    // Every unfinished cell must still be reachable, and every one but the
    // goal needs a way in and a way out (gates count as open: optimistic).
    bool Promising(u64 walked, int cell) {
        u64 open = ~(shape_.walls | walked);
        u64 left = shape_.required & ~walked;
        if (!(shape_.warps & Bit(cell))) left &= ~Bit(cell);
        u64 reached = Bit(cell);
        for (;;) {
            u64 next = Spread(reached) & (open | Bit(cell));
            if (next & shape_.warps) next |= shape_.warps;
            if (next == reached) break;
            reached = next;
        }
        if (left & ~reached) return false;
        if (!shape_.warps && !ColoursAlternate(left, cell)) return false;
        u64 links = open | Bit(cell);
        u64 n = links << 8, s = links >> 8;
        u64 w = (links << 1) & ~COLUMN_0, e = (links >> 1) & ~COLUMN_7;
        u64 twoWays = (n & s) | (n & w) | (n & e) | (s & w) | (s & e) | (w & e);
        u64 oneWay = n | s | w | e;
        if (left & ~shape_.goals & ~twoWays) return false;
        return (left & shape_.goals & ~oneWay) == 0;
    }

    // Without warps every step changes the colour of a chessboard cell, so
    // the cells left must split evenly and the goal's colour is fixed.
    static bool ColoursAlternate(u64 left, int cell) {
        const u64 light = 0x55AA55AA55AA55AAull;
        bool onLight = (light >> cell) & 1;
        int same = __builtin_popcountll(left & (onLight ? light : ~light));
        int other = __builtin_popcountll(left) - same;
        return other == same || other == same + 1;
    }

    const Shape& shape_;
    u32 cap_;
    u64 budget_;
    u64 nodes_ = 0;
    bool exhausted_ = false;
    WalkMemo memo_;
};

// Replays the ways the counter found, frame by frame, against the clock.
struct TimedSearch {
    WalkCounter* counter;
    SolveResult* result;
    u32 examined;
    u32 cap;
    char path[160];
    int depth;

    void RecordClear(const PlayState& s) {
        result->timedCount++;
        bool faster = !result->solvable || s.frame < result->clearFrame ||
                      (s.frame == result->clearFrame && s.lowestTime > result->lowestTime);
        if (!faster) return;
        result->solvable = 1;
        memcpy(result->moves, path, (size_t)depth);
        result->moves[depth] = 0;
        result->clearFrame = s.frame - 1;
        result->ticks = s.ticks;
        result->finalTime = s.timeLeft;
        result->lowestTime = s.lowestTime;
    }

    void TryMove(const PlayState& s, u64 walked, int direction) {
        int cell = CellIndex(s.playerX, s.playerY);
        u64 nextWalked;
        int nextCell;
        if (!counter->CountMove(walked, cell, direction, &nextWalked, &nextCell)) return;
        PlayState next = s;
        Outcome outcome = RunFrame(&next, direction);
        if (depth >= 159) return;
        path[depth++] = DIRECTION_LETTERS[direction];
        if (outcome == OUTCOME_CLEARED) {
            examined++;
            RecordClear(next);
        } else if (outcome == OUTCOME_PLAYING) {
            Explore(next, nextWalked);
        } else if (outcome == OUTCOME_TIME_UP) {
            examined++;
        }
        depth--;
    }

    void Explore(PlayState s, u64 walked) {
        for (;;) {
            if (examined >= cap) return;
            bool stepNow = s.repeatDelay <= 1 && !s.warpAnimating;
            if (stepNow) {
                for (int d = 0; d < 4 && examined < cap; d++) TryMove(s, walked, d);
                return;
            }
            if (RunFrame(&s, -1) != OUTCOME_PLAYING) {
                examined++;
                return;
            }
        }
    }
};
}  // namespace

// The budget bounds the memo to about 200 MB on the most open boards.
SolveOptions DefaultSolveOptions(void) { return SolveOptions{1000, 4000000}; }

void SolveStage(const Stage& stage, const SolveOptions& options, SolveResult* result) {
    memset(result, 0, sizeof *result);
    Shape shape;
    BuildShape(stage, &shape);
    PlayState start;
    StartStage(stage, &start);
    if (stage.startX < 0 || stage.startX > 7 || stage.startY < 0 || stage.startY > 7) {
        result->decided = 1;
        return;
    }
    int startCell = CellIndex(stage.startX, stage.startY);
    // A start on anything but floor has its effect first: wait a frame.
    if (stage.cells[startCell] != TILE_FLOOR && RunFrame(&start, -1) != OUTCOME_PLAYING) {
        result->decided = 1;
        return;
    }
    u64 walked = (shape.warps & Bit(startCell)) ? 0 : Bit(startCell);
    WalkCounter counter(shape, options.solutionCap, options.nodeBudget);
    result->walkCount = counter.Count(walked, CellIndex(start.playerX, start.playerY));
    result->countCapped = result->walkCount >= options.solutionCap;
    result->decided = !counter.exhausted();
    if (result->walkCount > 0 && result->decided) {
        TimedSearch search{&counter, result, 0, options.solutionCap, {0}, 0};
        search.Explore(start, walked);
    }
    result->nodes = counter.nodes();
}

u32 CountWaysFrom(const Stage& stage, u64 walked, int cell, const SolveOptions& options) {
    Shape shape;
    BuildShape(stage, &shape);
    WalkCounter counter(shape, options.solutionCap, options.nodeBudget);
    return counter.Count(walked, cell);
}

int LongestWalkFrom(const Stage& stage, u64 walked, int cell, u64 budget) {
    Shape shape;
    BuildShape(stage, &shape);
    WalkCounter counter(shape, 1, 0);
    return counter.Longest(walked, cell, &budget);
}

Outcome ReplayMoves(const Stage& stage, const char* moves, PlayState* s) {
    StartStage(stage, s);
    Outcome outcome = OUTCOME_PLAYING;
    if (stage.cells[CellIndex(stage.startX, stage.startY)] != TILE_FLOOR) {
        outcome = RunFrame(s, -1);
    }
    for (const char* m = moves; *m && outcome == OUTCOME_PLAYING; m++) {
        int direction = DirectionOfLetter(*m);
        if (direction < 0 || StepBlocked(*s, direction)) return OUTCOME_MISSED;
        // Hold the direction until the step is taken.
        for (;;) {
            bool stepNow = s->repeatDelay <= 1 && !s->warpAnimating;
            outcome = RunFrame(s, direction);
            if (stepNow || outcome != OUTCOME_PLAYING) break;
        }
    }
    return outcome;
}

}  // namespace solver
