#!/usr/bin/env python3
"""Soak: one simulator process plays the course 20 times from the
solver's solutions, then free mode 200 rounds (select a course stage, play
it, clear, back to the selection). Every round checks its own outcome, so
nothing may drift; resident memory and open files, sampled from outside
while it runs, must stay flat after the first round.

usage: soak.py [--sanitized] SIM GAME SOLVER BOT
Exit status 77 (skip) when the game directory has no data.vrk yet or the
solver has no solution for a course stage."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from playthrough import Player, load_bot, scratch_game, solve  # noqa: E402

SKIP = 77
COURSES, ROUNDS = 20, 200
# Allowed growth of the resident set between the first round's peak and the
# last round's: allocator noise, not a leak.
RSS_SLACK_KB = 2048
NO_WIPE = ["set wipeActive 0", "set wipeCovered 0", "set wipeX -640"]


def soak_script(bot, tables, solutions):
    """The course COURSES times over, then free mode ROUNDS times through the
    course stages in turn, as the playthrough plays it."""
    course = bot.build(tables, solutions, "course", 0, 30)[1:]  # without the title comment
    out = []
    for i in range(COURSES):
        out += [f"# course round {i + 1}"] + NO_WIPE + course
    out += ["# free mode", "set sceneId 2"] + NO_WIPE + [
        "set ruleMode 0", "set undergroundMode 0", "set freeMode 1", "set freeSource 0",
        "set stageNumber 0", "2 -", "expect freeSelecting 1"]
    starts, maps, _ = tables["course"]
    for i in range(ROUNDS):
        stage = i % 30
        p = Player(bot, tables, {"course": solutions})
        p.add(f"# free round {i + 1}: course stage {stage + 1}", f"set stageNumber {stage}",
              "set freeBoardLoaded 0", "2 -")
        p.expect(stageNumber=stage, freeSelecting=1)
        p.free_play(maps[stage], starts[stage], solutions[stage])
        out += p.lines
    return out


def sample(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
        fds = len(os.listdir(f"/proc/{pid}/fd"))
        return rss, fds
    except (OSError, StopIteration):
        return None


def main(argv):
    # A sanitized build's resident set is its allocator's bookkeeping, which
    # grows with the mix of block sizes and says nothing of leaks (the leak
    # checker does): there only the open files are judged.
    sanitized = "--sanitized" in argv
    args = [a for a in argv[1:] if a != "--sanitized"]
    if len(args) != 4:
        sys.exit(__doc__)
    sim, game, solver, bot_path = (os.path.abspath(a) for a in args)
    data = os.path.join(game, "data.vrk")
    if not os.path.exists(data):
        print("SKIP: no data.vrk in the game directory yet")
        return SKIP
    bot = load_bot(bot_path)
    solutions = solve(bot, solver, data)["course"]
    if len(solutions) < 30:
        print(f"SKIP: the solver solved {len(solutions)} of 30 course stages")
        return SKIP
    work = tempfile.mkdtemp(prefix="ossmire-soak-")
    try:
        script = os.path.join(work, "soak.sim")
        with open(script, "w") as f:
            f.write("\n".join(soak_script(bot, bot.read_tables(data), solutions)) + "\n")
        scratch_game(game, work)
        # Under AddressSanitizer freed memory sits in quarantine, which would
        # read as growth; without it the resident set means what it says.
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"),
                                                     "quarantine_size_mb=0"]))
        started = time.monotonic()
        proc = subprocess.Popen([sim, "--dir", work, script], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, env=env)
        samples = []  # (rss kB, open files)
        while proc.poll() is None:
            samples += filter(None, [sample(proc.pid)])
            time.sleep(0.02)
        if proc.returncode != 0:
            print(proc.stdout.read()[-4000:])
            print(f"FAIL: the simulator exited with {proc.returncode}")
            return 1
        print(f"{COURSES} course rounds and {ROUNDS} free-mode rounds in "
              f"{time.monotonic() - started:.1f} s")
        if len(samples) < 8:
            print("too short a run to judge memory (fewer than 8 samples); outcomes all held")
            return 0
        # Warm-up is the first tenth of the run; compare its peak with the peak of the last tenth.
        tenth = max(1, len(samples) // 10)
        (rss_early, fds_early), (rss_late, fds_late) = (
            [max(column) for column in zip(*part)] for part in (samples[tenth:2 * tenth], samples[-tenth:]))
        print(f"resident set: {rss_early} kB early, {rss_late} kB late; "
              f"open files: {fds_early} early, {fds_late} late ({len(samples)} samples)")
        ok = True
        if rss_late > rss_early + RSS_SLACK_KB and not sanitized:
            print(f"FAIL: the resident set grew by {rss_late - rss_early} kB")
            ok = False
        if fds_late > fds_early:
            print(f"FAIL: open files grew from {fds_early} to {fds_late}")
            ok = False
        return 0 if ok else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
