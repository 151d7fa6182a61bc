#include "editor/verdict.h"

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

u32 editorSolverShown;

namespace {
// Up to this many ways are counted for the verdict.
const u32 WAY_CAP = 100;

struct Worker {
    std::mutex lock;
    std::condition_variable wake, idle;
    std::thread thread;
    std::atomic<bool> cancel{false};
    bool running = false, quit = false, pending = false, busy = false;
    solver::Stage next;
    MapVerdict latest = {};
    u32 serial = 0;

    ~Worker() { Stop(); }

    void Stop() {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (!running) return;
            quit = true;
            cancel = true;
        }
        wake.notify_all();
        thread.join();
        std::lock_guard<std::mutex> hold(lock);
        running = quit = pending = busy = false;
    }

    void Loop() {
        std::unique_lock<std::mutex> hold(lock);
        for (;;) {
            wake.wait(hold, [this] { return quit || pending; });
            if (quit) return;
            solver::Stage stage = next;
            pending = false;
            busy = true;
            cancel = false;
            u32 asked = serial;
            hold.unlock();
            solver::SolveOptions options = solver::DefaultSolveOptions();
            options.solutionCap = WAY_CAP;
            options.stop = &cancel;
            MapVerdict verdict;
            DecideMap(stage, options, &verdict);
            hold.lock();
            busy = false;
            // A newer map cancelled this search: its verdict is stale.
            if (asked == serial && !pending) {
                latest = verdict;
                serial++;
            }
            if (!pending) idle.notify_all();
        }
    }
};

Worker worker;
}  // namespace

void DecideMap(const solver::Stage& stage, const solver::SolveOptions& options,
               MapVerdict* verdict) {
    solver::SolveResult r;
    solver::SolveStage(stage, options, &r);
    memset(verdict, 0, sizeof *verdict);
    if (!r.decided) {
        verdict->state = VERDICT_UNDECIDED;
        return;
    }
    verdict->state = r.solvable ? VERDICT_CLEARABLE : VERDICT_UNCLEARABLE;
    verdict->reason = (u8)r.reason;
    verdict->par = r.ticks;
    verdict->clockLeft = r.finalTime;
    verdict->ways = r.walkCount;
    verdict->waysCapped = (u32)r.countCapped;
    memcpy(verdict->moves, r.moves, sizeof verdict->moves);
}

void AskVerdict(const solver::Stage& stage) {
    {
        std::lock_guard<std::mutex> hold(worker.lock);
        worker.next = stage;
        worker.pending = true;
        worker.cancel = true;
        worker.serial++;
        worker.latest = MapVerdict{};
        worker.latest.state = VERDICT_THINKING;
        if (!worker.running) {
            worker.running = true;
            worker.thread = std::thread([] { worker.Loop(); });
        }
    }
    worker.wake.notify_all();
}

u32 ReadVerdict(MapVerdict* verdict) {
    std::lock_guard<std::mutex> hold(worker.lock);
    *verdict = worker.latest;
    return worker.serial;
}

void WaitForVerdict(void) {
    std::unique_lock<std::mutex> hold(worker.lock);
    worker.idle.wait(hold, [] { return !worker.pending && !worker.busy; });
}

void StopVerdictWorker(void) { worker.Stop(); }

void DescribeVerdict(const MapVerdict& v, u32 mapNumber, char* out, size_t size) {
    int n = snprintf(out, size, "map %02u: ", (unsigned)mapNumber);
    if (n < 0 || (size_t)n >= size) return;
    char* at = out + n;
    size_t room = size - (size_t)n;
    switch (v.state) {
        case VERDICT_CLEARABLE:
            snprintf(at, room, "clearable, par %u s, %u s left, %u%s way%s", (unsigned)v.par,
                     (unsigned)v.clockLeft, (unsigned)v.ways, v.waysCapped ? "+" : "",
                     v.ways == 1 ? "" : "s");
            break;
        case VERDICT_UNCLEARABLE:
            snprintf(at, room, "not clearable: %s", solver::ReasonText((solver::Reason)v.reason));
            break;
        case VERDICT_UNDECIDED: snprintf(at, room, "undecided"); break;
        default: snprintf(at, room, "thinking"); break;
    }
}
