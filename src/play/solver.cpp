#include "play/solver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace solver {

const char DIRECTION_LETTERS[4] = {'U', 'D', 'L', 'R'};

namespace {
// ---- The frame model: the game's rule functions at the game's pace.

void TakeStep(PlayState* s, int direction) {
    s->repeatDelay = STEP_REPEAT_FRAMES;
    // Leaving a warp marks nothing; the trail itself is of no interest here.
    bool onWarp =
        OnBoard(s->playerX, s->playerY) && s->board[CellIndex(s->playerX, s->playerY)] == TILE_WARP;
    if (!onWarp) MarkWalked(s->playerX, s->playerY, s->board);
    s->playerX += STEP_DX[direction];
    s->playerY += STEP_DY[direction];
    s->warpArrived = 0;
}

void TickClock(PlayState* s) {
    u32 now = s->frame * FRAME_MS;
    if (now - s->lastTickMs < CLOCK_TICK_MS) return;
    if (s->timeLeft > 0) s->timeLeft--;
    s->swapSeconds++;
    s->ticks++;
    s->lastTickMs = now;
}

// The warp beam's drawer: only its timing matters, since it alone ends the
// animation that holds the next step back.
void RunWarpBeam(PlayState* s) {
    if (!s->warpArrived) {
        s->beamPhase = 0;
        s->beamOffset = 0;
        return;
    }
    if (!s->warpAnimating) return;
    if (s->beamPhase == 0 && 40 * s->playerY + 80 - s->beamOffset > -150) {
        s->beamOffset += 30;
        return;
    }
    s->beamPhase = 1;
    if (s->beamOffset > 0) s->beamOffset -= 30;
    if (s->beamOffset == 0) s->warpAnimating = 0;
}

Outcome RunCellRules(PlayState* s) {
    u8 event = TILE_EVENT_NONE;
    if (!s->warpArrived) {
        event = ApplyTile(&s->playerX, s->board, &s->timeLeft, s->keysTaken, s->timeClass, 0);
    }
    if (event == TILE_EVENT_WARP) s->warpArrived = s->warpAnimating = 1;
    bool timeUp = s->timeLeft == 0;
    if (timeUp) s->swapSeconds = 0;
    SwapTimeTiles(s->board, &s->swapSeconds, s->timeClass);
    if (timeUp) return OUTCOME_TIME_UP;
    if (!KeysInOrder(s->keysTaken)) return OUTCOME_MISSED;
    if (IsStageCleared(s->playerX, s->playerY, s->keysTaken[3], s->board)) return OUTCOME_CLEARED;
    if (s->keysTaken[3]) return OUTCOME_MISSED;
    if (!CanMoveOn(s->playerX, s->playerY, s->board)) return OUTCOME_MISSED;
    return OUTCOME_PLAYING;
}

bool StepReady(const PlayState& s) { return s.repeatDelay <= 1 && !s.warpAnimating; }

// ---- Bit sets of the 64 cells.

const u64 COLUMN_0 = 0x0101010101010101ull;
const u64 COLUMN_7 = 0x8080808080808080ull;
const u64 LIGHT = 0x55AA55AA55AA55AAull;

u64 Bit(int cell) { return 1ull << cell; }
int Bits(u64 s) { return __builtin_popcountll(s); }
int Lowest(u64 s) { return __builtin_ctzll(s); }
u64 North(u64 s) { return s >> 8; }
u64 South(u64 s) { return s << 8; }
u64 West(u64 s) { return (s >> 1) & ~COLUMN_7; }
u64 East(u64 s) { return (s << 1) & ~COLUMN_0; }
u64 Around(u64 s) { return North(s) | South(s) | West(s) | East(s); }

int Neighbour(int cell, int direction) {
    i32 x = cell % 8 + STEP_DX[direction], y = cell / 8 + STEP_DY[direction];
    return OnBoard(x, y) ? CellIndex(x, y) : -1;
}

// The fixed shape of a stage, as bit sets.
struct Shape {
    u64 walls;     // never entered: walked floor and walls
    u64 required;  // cells a clear must use up: floor, time cells, switch, gates, keys
    u64 reusable;  // entered any number of times and never used up: warps, a taken goal
    u64 warps, gates, switches, goals, unknown;
    u64 keys[4];
    bool plain;  // no reusable cell: every step changes the chequerboard colour
    int warpTarget[64];
};

void BuildShape(const Stage& stage, Shape* shape) {
    memset(shape, 0, sizeof *shape);
    for (int cell = 0; cell < 64; cell++) {
        u8 code = stage.cells[cell];
        u64 bit = Bit(cell);
        if (code > TILE_WARP) {
            shape->unknown |= bit;
            shape->reusable |= bit;
        } else if (IsBlocked(code) && code != TILE_GATE) {
            shape->walls |= bit;
        } else if (code == TILE_WARP || code == TILE_KEY4_TAKEN) {
            shape->reusable |= bit;
        } else {
            shape->required |= bit;
        }
        if (code == TILE_WARP) shape->warps |= bit;
        if (code == TILE_GATE) shape->gates |= bit;
        if (code == TILE_SWITCH) shape->switches |= bit;
        if (code >= TILE_KEY1 && code <= TILE_KEY4) shape->keys[code - TILE_KEY1] |= bit;
        shape->warpTarget[cell] = WarpLanding(stage.cells, cell);
    }
    shape->goals = shape->keys[3];
    shape->plain = shape->reusable == 0;
}

// Ways to finish by walked set and cell: open addressing, grown as it fills
// up to a bound past which it stops remembering.
class WalkMemo {
  public:
    WalkMemo() : slots_(1 << 12) {}

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
        if (2 * (used_ + 1) > slots_.size()) {
            if (slots_.size() >= MAX_SLOTS) return;
            Grow();
        }
        size_t i = Home(walked, cell);
        while (slots_[i].used && !(slots_[i].walked == walked && slots_[i].cell == cell)) {
            i = (i + 1) & (slots_.size() - 1);
        }
        if (!slots_[i].used) used_++;
        slots_[i] = Slot{walked, count, (u8)cell, 1};
    }

  private:
    static const size_t MAX_SLOTS = 1 << 23;  // about 130 MB

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

// Stops a search at its node budget, its deadline or another thread's word.
class Limits {
  public:
    explicit Limits(const SolveOptions& o)
        : budget_(o.nodeBudget), stop_(o.stop), timed_(o.timeLimitMs > 0) {
        if (timed_) deadline_ = Clock::now() + std::chrono::milliseconds(o.timeLimitMs);
    }

    // Counts a node; true once the search must give up.
    bool Spend() {
        if (hit_) return true;
        nodes_++;
        if (budget_ && nodes_ > budget_) hit_ = true;
        if (stop_ && stop_->load(std::memory_order_relaxed)) hit_ = true;
        if (timed_ && (nodes_ & 1023) == 0 && Clock::now() > deadline_) hit_ = true;
        return hit_;
    }

    bool hit() const { return hit_; }
    u64 nodes() const { return nodes_; }

  private:
    typedef std::chrono::steady_clock Clock;
    u64 budget_;
    std::atomic<bool>* stop_;
    bool timed_;
    Clock::time_point deadline_;
    u64 nodes_ = 0;
    bool hit_ = false;
};

// Counting the ways to finish from a walked set and a cell, clock aside,
// with the pruning that keeps open boards quick.
class WalkCounter {
  public:
    WalkCounter(const Shape& shape, u32 cap, Limits* limits)
        : shape_(shape), cap_(cap), limits_(limits) {}

    // Where one move from (walked, cell) leads: false when the rules refuse
    // it or it would end the attempt without a clear.
    bool Move(u64 walked, int cell, int direction, u64* nextWalked, int* nextCell,
              bool* clears) const {
        int target = Neighbour(cell, direction);
        if (target < 0 || !Allowed(walked, target)) return false;
        u64 bit = Bit(target);
        *clears = false;
        if (shape_.warps & bit) {
            *nextWalked = walked;
            *nextCell = shape_.warpTarget[target];
            return true;
        }
        *nextWalked = (shape_.required & bit) ? walked | bit : walked;
        *nextCell = target;
        if (shape_.goals & bit) {
            *clears = (shape_.required & ~*nextWalked) == 0;
            return *clears;
        }
        return true;
    }

    u32 Count(u64 walked, int cell) {
        int low = 1 << 30;
        return CountAt(walked, cell, &low);
    }

    // Why no walk can start from here, where a local argument says so.
    Reason Check(u64 walked, int cell) const {
        u64 here = Bit(cell);
        u64 graph = ~(shape_.walls | walked);
        u64 left = shape_.required & ~walked;
        if (!left) return REASON_NO_WALK;
        u64 seeds = (Around(here) & graph) | (here & graph);
        // Everything left lies in one piece, and the player stands at its edge.
        u64 piece = Flood(Bit(Lowest(left)), graph);
        if ((left & ~piece) || !(piece & seeds)) return REASON_NO_WALK;
        if (!KeyInReach(walked, seeds, graph)) return REASON_KEY_CUT_OFF;
        if (shape_.plain && !ColoursAlternate(left, cell)) return REASON_COLOURING;
        // A cell used up needs a way in and a way out; a reusable neighbour is both.
        u64 links = graph | here;
        u64 n = North(links), s = South(links), w = West(links), e = East(links);
        u64 twoWays = (n & s) | (n & w) | (n & e) | (s & w) | (s & e) | (w & e);
        u64 reuse = Around(graph & shape_.reusable);
        if (left & ~shape_.goals & ~twoWays & ~reuse) return REASON_NO_WALK;
        if (left & shape_.goals & ~(n | s | w | e)) return REASON_NO_WALK;
        if (CutCellSplits(left, graph, seeds)) return REASON_NO_WALK;
        return REASON_NONE;
    }

    // Longest run of allowed moves, each move counted once; the goal ends it.
    int Longest(u64 walked, int cell, u64* budget) {
        if (*budget == 0) return 0;
        --*budget;
        int best = 0;
        for (int d = 0; d < 4; d++) {
            u64 nextWalked;
            int next;
            bool clears;
            int target = Neighbour(cell, d);
            if (target >= 0 && (shape_.goals & Bit(target)) && Allowed(walked, target)) {
                if (Move(walked, cell, d, &nextWalked, &next, &clears) && best < 1) best = 1;
                continue;
            }
            if (!Move(walked, cell, d, &nextWalked, &next, &clears)) continue;
            if (next == cell && nextWalked == walked) continue;
            int length = 1 + Longest(nextWalked, next, budget);
            if (length > best) best = length;
        }
        return best;
    }

  private:
    u32 CountAt(u64 walked, int cell, int* lowRef) {
        // A loop through reusable cells comes back with the walked set unchanged.
        for (int i = depth_ - 1; i >= 0 && pathWalked_[i] == walked; i--) {
            if (pathCell_[i] == cell) {
                if (i < *lowRef) *lowRef = i;
                return 0;
            }
        }
        u32 known;
        if (memo_.Find(walked, cell, &known)) return known;
        if (limits_->Spend() || depth_ >= MAX_DEPTH) return 0;
        u32 total = 0;
        int low = 1 << 30;
        if (Check(walked, cell) == REASON_NONE) {
            pathWalked_[depth_] = walked;
            pathCell_[depth_] = cell;
            int me = depth_++;
            // The most hemmed-in cell first: a stroke that leaves it for later
            // seldom comes back for it, so a walk is found with little backtracking.
            u64 nextWalked[4];
            int next[4], exits[4], order[4], moves = 0;
            for (int d = 0; d < 4; d++) {
                bool clears;
                if (!Move(walked, cell, d, &nextWalked[d], &next[d], &clears)) continue;
                if (clears) {
                    total++;
                    continue;
                }
                u64 open = ~(shape_.walls | nextWalked[d]);
                exits[d] = Bits(Around(Bit(next[d])) & open);
                int at = moves++;
                while (at > 0 && exits[order[at - 1]] > exits[d]) {
                    order[at] = order[at - 1];
                    at--;
                }
                order[at] = d;
            }
            for (int i = 0; i < moves && total < cap_; i++) {
                int d = order[i];
                total += CountAt(nextWalked[d], next[d], &low);
            }
            depth_--;
            if (low == me) low = 1 << 30;  // loops back to this cell are settled here
            if (total > cap_) total = cap_;
        }
        if (low < *lowRef) *lowRef = low;
        // A zero that leaned on a cell still being explored may not hold elsewhere.
        if (!limits_->hit() && (total > 0 || low > depth_)) memo_.Put(walked, cell, total);
        return total;
    }

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

    // The cells reachable from `from` inside `graph`; a warp reached counts as
    // reaching every warp (more than the rules allow, so pruning stays sound).
    u64 Flood(u64 from, u64 graph) const {
        u64 reached = from & graph;
        for (;;) {
            u64 next = reached | (Around(reached) & graph);
            if (next & shape_.warps) next |= shape_.warps & graph;
            if (next == reached) return reached;
            reached = next;
        }
    }

    // The next key to take can be reached without entering a later key, and
    // through gates only if the switch can be reached first.
    bool KeyInReach(u64 walked, u64 seeds, u64 graph) const {
        int k = 0;
        while (k < 4 && (walked & shape_.keys[k])) k++;
        if (k == 4) return true;
        u64 later = 0;
        for (int j = k + 1; j < 4; j++) later |= shape_.keys[j];
        u64 ways = graph & ~later;
        if (!(walked & shape_.switches)) {
            u64 shut = Flood(seeds, ways & ~shape_.gates);
            if (!(shut & shape_.switches)) ways &= ~shape_.gates;
        }
        return (Flood(seeds, ways) & shape_.keys[k]) != 0;
    }

    // Without reusable cells every step changes the colour of a chequerboard
    // cell: the cells left alternate from the one after `cell` to the goal.
    bool ColoursAlternate(u64 left, int cell) const {
        bool onLight = (LIGHT >> cell) & 1;
        u64 sameColour = onLight ? LIGHT : ~LIGHT;
        int same = Bits(left & sameColour), other = Bits(left) - same;
        if (other != same && other != same + 1) return false;
        // An odd count ends on the other colour, an even one on this.
        u64 lastColour = (Bits(left) & 1) ? ~sameColour : sameColour;
        return (left & shape_.goals & lastColour) == (left & shape_.goals);
    }

    // A cell used up once is crossed once: taking it away may leave at most
    // two pieces with cells to walk, the player's and the goal's; taking the
    // goal away must leave one.
    bool CutCellSplits(u64 left, u64 graph, u64 seeds) const {
        for (u64 rest = left; rest; rest &= rest - 1) {
            int v = Lowest(rest);
            u64 bit = Bit(v);
            u64 sides = Around(bit) & graph;
            if (!LocallySplit(v, graph) || Bits(sides) < 2) continue;
            u64 without = graph & ~bit;
            u64 pieces[4];
            int count = 0;
            for (u64 s = sides; s; s &= s - 1) {
                u64 piece = Flood(Bit(Lowest(s)), without);
                bool seen = false;
                for (int i = 0; i < count; i++) seen |= (pieces[i] & piece) != 0;
                if (!seen && (piece & left)) pieces[count++] = piece;
            }
            if (shape_.goals & bit) {
                if (count >= 2) return true;
                continue;
            }
            if (count >= 3) return true;
            if (count == 2) {
                int goalSide = (pieces[0] & left & shape_.goals) ? 0 : 1;
                if (!(pieces[1 - goalSide] & seeds & ~bit)) return true;
            }
        }
        return false;
    }

    // Whether the open neighbours of v fail to meet around it.
    bool LocallySplit(int v, u64 graph) const {
        static const int RING_DX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
        static const int RING_DY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
        bool in[8];
        int x = v % 8, y = v / 8;
        for (int i = 0; i < 8; i++) {
            int nx = x + RING_DX[i], ny = y + RING_DY[i];
            in[i] = OnBoard(nx, ny) && ((graph >> CellIndex(nx, ny)) & 1);
        }
        // Runs of open ring cells that hold a side neighbour (even index).
        int runs = 0;
        for (int i = 0; i < 8; i += 2) {
            if (!in[i]) continue;
            // A new run unless joined to the previous side cell through the corner.
            bool joined = in[(i + 7) % 8] && in[(i + 6) % 8];
            if (!joined) runs++;
        }
        return runs > 1;  // none: all four joined in a ring
    }

    static const int MAX_DEPTH = 512;
    const Shape& shape_;
    u32 cap_;
    Limits* limits_;
    WalkMemo memo_;
    u64 pathWalked_[MAX_DEPTH];
    int pathCell_[MAX_DEPTH];
    int depth_ = 0;
};

// The walk the clock sees, read off a play state: cells used up so far,
// counting the one the player stands on once its tile has had its effect.
u64 WalkedOf(const Shape& shape, const PlayState& s, int cell) {
    u64 walked = 0;
    for (int i = 0; i < 64; i++) {
        if (s.board[i] == TILE_WALKED) walked |= Bit(i);
    }
    if (s.board[cell] == TILE_FLOOR) walked |= Bit(cell);
    return walked & shape.required;
}

bool TimeCellsLeft(const PlayState& s) {
    if (s.timeClass > 2) return false;
    for (int i = 0; i < 64; i++) {
        if (s.board[i] == TILE_TIME_BONUS || s.board[i] == TILE_TIME_PENALTY) return true;
    }
    return false;
}

// Plays the walks the counter allows frame by frame against the clock,
// fastest first found, cutting every branch that cannot beat the best.
struct TimedSearch {
    const Shape* shape;
    WalkCounter* guide;  // counts to 1: is there a walk at all from here
    Limits* limits;
    SolveResult* result;
    char path[256];
    int length;

    bool Push(const char* token) {
        int n = (int)strlen(token);
        if (length + n >= (int)sizeof path) return false;
        memcpy(path + length, token, (size_t)n + 1);
        length += n;
        return true;
    }

    void RecordClear(const PlayState& s) {
        u32 frame = s.frame - 1;
        if (result->solvable && frame >= result->clearFrame) return;
        result->solvable = 1;
        memcpy(result->moves, path, (size_t)length + 1);
        result->clearFrame = frame;
        result->ticks = s.ticks;
        result->finalTime = s.timeLeft;
        result->lowestTime = s.lowestTime;
    }

    // From a state in which the next frame may step.
    void Explore(const PlayState& s, bool atStart) {
        if (limits->Spend()) return;
        bool onBoard = OnBoard(s.playerX, s.playerY);
        bool canWalk = true;
        if (onBoard) {
            int cell = CellIndex(s.playerX, s.playerY);
            u64 walked = WalkedOf(*shape, s, cell);
            u32 steps = (u32)Bits(shape->required & ~walked);
            u32 soonest = s.frame + STEP_REPEAT_FRAMES * (steps > 0 ? steps - 1 : 0);
            if (result->solvable && soonest >= result->clearFrame) return;
            canWalk = guide->Count(walked, cell) > 0;
        }
        int order[4];
        OrderMoves(s, order);
        for (int i = 0; i < 4 && canWalk; i++) {
            int d = order[i];
            if (StepBlocked(s, d)) continue;
            PlayState next = s;
            Outcome outcome = RunFrame(&next, d);
            int mark = length;
            char letter[2] = {DIRECTION_LETTERS[d], 0};
            if (!Push(letter)) return;
            if (outcome == OUTCOME_CLEARED) RecordClear(next);
            if (outcome == OUTCOME_PLAYING) Explore(ReadyToStep(next), false);
            length = mark;
            path[length] = 0;
        }
        // Standing still: on the start tile to let it act, or until a swap.
        bool startTile = atStart && onBoard && s.board[CellIndex(s.playerX, s.playerY)] != 0;
        if (startTile || (canWalk && TimeCellsLeft(s))) Wait(s, startTile);
    }

    void Wait(const PlayState& s, bool oneFrame) {
        PlayState next = s;
        u32 frames = 0;
        for (;;) {
            u32 before = next.swapSeconds;
            if (RunFrame(&next, -1) != OUTCOME_PLAYING) return;
            frames++;
            if (oneFrame || next.swapSeconds < before) break;
        }
        char token[16];
        snprintf(token, sizeof token, "w%u", frames);
        int mark = length;
        if (!Push(token)) return;
        Explore(next, false);
        length = mark;
        path[length] = 0;
    }

    // The guide's order, so that the first walk tried is the one it found.
    static void OrderMoves(const PlayState& s, int* order) {
        int exits[4];
        for (int d = 0; d < 4; d++) {
            order[d] = d;
            exits[d] = 0;
            if (StepBlocked(s, d)) continue;
            i32 x = s.playerX + STEP_DX[d], y = s.playerY + STEP_DY[d];
            for (int e = 0; e < 4; e++) {
                int64_t nx = (int64_t)x + STEP_DX[e], ny = (int64_t)y + STEP_DY[e];
                bool back = nx == s.playerX && ny == s.playerY;
                exits[d] +=
                    !back && OnBoard(nx, ny) && !IsBlocked(s.board[CellIndex((int)nx, (int)ny)]);
            }
        }
        for (int i = 1; i < 4; i++) {
            for (int j = i; j > 0 && exits[order[j - 1]] > exits[order[j]]; j--) {
                int t = order[j];
                order[j] = order[j - 1];
                order[j - 1] = t;
            }
        }
    }

    static PlayState ReadyToStep(PlayState s) {
        while (!StepReady(s)) {
            if (RunFrame(&s, -1) != OUTCOME_PLAYING) break;
        }
        return s;
    }
};

bool HasKeysAndGoal(const Stage& stage, Reason* reason) {
    int keys[4] = {0, 0, 0, 0};
    bool gate = false, switchTile = false;
    for (int i = 0; i < 64; i++) {
        u8 code = stage.cells[i];
        if (code >= TILE_KEY1 && code <= TILE_KEY4) keys[code - TILE_KEY1]++;
        gate |= code == TILE_GATE;
        switchTile |= code == TILE_SWITCH;
        if (code > TILE_WARP) *reason = REASON_UNKNOWN_TILE;
    }
    if (*reason != REASON_NONE) return false;
    for (int k = 0; k < 4; k++) {
        if (keys[k] == 0) *reason = REASON_KEY_MISSING;
    }
    if (*reason == REASON_NONE && keys[3] > 1) *reason = REASON_GOAL_DOUBLED;
    if (*reason == REASON_NONE && gate && !switchTile) *reason = REASON_GATE_SHUT;
    return *reason == REASON_NONE;
}
}  // namespace

void StartStage(const Stage& stage, PlayState* s) {
    memset(s, 0, sizeof *s);
    memcpy(s->board, stage.cells, 64);
    s->playerX = stage.startX;
    s->playerY = stage.startY;
    s->timeClass = stage.timeClass;
    s->timeLeft = STAGE_SECONDS;
    s->lowestTime = STAGE_SECONDS;
    // The last tick lies long before the stage: the first frame ticks.
    s->lastTickMs = 0u - CLOCK_TICK_MS;
}

int CanStepNow(const PlayState& s) { return s.repeatDelay == 0 && !s.warpAnimating; }

int StepBlocked(const PlayState& s, int direction) {
    int64_t nx = (int64_t)s.playerX + STEP_DX[direction];
    int64_t ny = (int64_t)s.playerY + STEP_DY[direction];
    return !OnBoard(nx, ny) || IsBlocked(s.board[CellIndex((int)nx, (int)ny)]);
}

Outcome RunFrame(PlayState* s, int direction) {
    if (s->repeatDelay > 0) s->repeatDelay--;
    if (direction >= 0 && direction < 4 && CanStepNow(*s) && !StepBlocked(*s, direction)) {
        TakeStep(s, direction);
    }
    TickClock(s);
    Outcome outcome = RunCellRules(s);
    if (s->timeLeft < s->lowestTime) s->lowestTime = s->timeLeft;
    RunWarpBeam(s);
    s->frame++;
    return outcome;
}

int DirectionOfLetter(char letter) {
    for (int d = 0; d < 4; d++) {
        if (DIRECTION_LETTERS[d] == letter) return d;
    }
    return -1;
}

SolveOptions DefaultSolveOptions(void) { return SolveOptions{1000, 0, 10000, nullptr}; }

const char* ReasonText(Reason reason) {
    switch (reason) {
        case REASON_KEY_MISSING: return "a key is missing";
        case REASON_GOAL_DOUBLED: return "two goal keys";
        case REASON_UNKNOWN_TILE: return "a tile the game never finishes";
        case REASON_GATE_SHUT: return "a removable wall and no switch";
        case REASON_START_BOXED_IN: return "the start is boxed in";
        case REASON_COLOURING: return "the board's colours forbid one stroke";
        case REASON_KEY_CUT_OFF: return "a key is cut off";
        case REASON_NO_WALK: return "no one-stroke walk";
        case REASON_CLOCK: return "the clock always runs out";
        default: return "";
    }
}

void SolveStage(const Stage& stage, const SolveOptions& options, SolveResult* result) {
    memset(result, 0, sizeof *result);
    result->decided = 1;
    if (!HasKeysAndGoal(stage, &result->reason)) return;
    Shape shape;
    BuildShape(stage, &shape);
    bool onBoard = OnBoard(stage.startX, stage.startY);
    int start = onBoard ? CellIndex(stage.startX, stage.startY) : 0;
    u8 startCode = onBoard ? stage.cells[start] : (u8)TILE_WALL;
    bool acts = startCode == TILE_SWITCH || startCode == TILE_WARP;
    if (!CanMoveOn(stage.startX, stage.startY, stage.cells) && !acts) {
        result->reason = REASON_START_BOXED_IN;
        return;
    }
    Limits limits(options);
    PlayState first;
    StartStage(stage, &first);
    // The ways to finish, counted from the start as it is once its tile has acted.
    WalkCounter ways(shape, options.solutionCap, &limits);
    u64 walked = 0;
    if (onBoard && startCode != TILE_WARP) {
        walked = WalkedOf(shape, first, start) | (Bit(start) & shape.required & ~shape.gates);
        result->walkCount = ways.Count(walked, start);
    }
    WalkCounter guide(shape, 1, &limits);
    TimedSearch search{&shape, &guide, &limits, result, {0}, 0};
    search.Explore(first, true);
    result->countCapped = result->walkCount >= options.solutionCap;
    if (result->solvable && result->walkCount == 0) result->walkCount = 1;
    result->nodes = limits.nodes();
    if (limits.hit()) {
        result->decided = result->solvable;
        return;
    }
    if (result->solvable) return;
    Reason local = onBoard && startCode != TILE_WARP ? ways.Check(walked, start) : REASON_NONE;
    if (local == REASON_COLOURING || local == REASON_KEY_CUT_OFF) {
        result->reason = local;
    } else {
        result->reason = result->walkCount > 0 ? REASON_CLOCK : REASON_NO_WALK;
    }
}

u32 CountWaysFrom(const Stage& stage, u64 walked, int cell, const SolveOptions& options) {
    Shape shape;
    BuildShape(stage, &shape);
    Limits limits(options);
    WalkCounter counter(shape, options.solutionCap, &limits);
    return counter.Count(walked, cell);
}

int LongestWalkFrom(const Stage& stage, u64 walked, int cell, u64 budget) {
    Shape shape;
    BuildShape(stage, &shape);
    SolveOptions none = {1, 0, 0, nullptr};
    Limits limits(none);
    WalkCounter counter(shape, 1, &limits);
    return counter.Longest(walked, cell, &budget);
}

Outcome ReplayMoves(const Stage& stage, const char* moves, PlayState* s) {
    StartStage(stage, s);
    Outcome outcome = OUTCOME_PLAYING;
    for (const char* m = moves; *m && outcome == OUTCOME_PLAYING; m++) {
        if (*m == 'w') {
            char* end;
            unsigned long frames = strtoul(m + 1, &end, 10);
            m = end - 1;
            while (!StepReady(*s) && outcome == OUTCOME_PLAYING) outcome = RunFrame(s, -1);
            for (unsigned long f = 0; f < frames && outcome == OUTCOME_PLAYING; f++) {
                outcome = RunFrame(s, -1);
            }
            continue;
        }
        int direction = DirectionOfLetter(*m);
        if (direction < 0 || StepBlocked(*s, direction)) return OUTCOME_MISSED;
        // Hold the direction until the step is taken.
        for (;;) {
            bool stepNow = StepReady(*s);
            outcome = RunFrame(s, direction);
            if (stepNow || outcome != OUTCOME_PLAYING) break;
        }
    }
    return outcome;
}

}  // namespace solver
