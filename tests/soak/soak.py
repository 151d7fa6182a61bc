#!/usr/bin/env python3
"""Soak: one simulator process plays the course COURSE times from the
solver's solutions, then free mode FREE rounds (select a course stage, play
it, clear, back to the selection). Every round checks its own outcome, so
nothing may drift; resident memory and open files, sampled from outside
while it runs, must stay flat after the first round.

usage: soak.py SIM GAME SOLVER BOT [--course N] [--free N] [--keep SCRIPT]
Exit status 77 (skip) when the game directory has no data.vrk yet or the
solver has no solution for a course stage."""
import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
CLEAR_TO_SELECTION = 280  # clear sequence, clear exit and wipe, back in the selection
WIPE_OFF = 40  # the selection takes input once the wipe has gone
START_MESSAGE = 90
# Allowed growth of the resident set between the first round's peak and the
# last round's: allocator noise, not a leak.
RSS_SLACK_KB = 2048


def load_bot(path):
    found = importlib.util.spec_from_file_location("bot", path)
    bot = importlib.util.module_from_spec(found)
    found.loader.exec_module(bot)
    return bot


def course_rounds(bot, tables, solutions, count):
    lines = bot.build(tables, solutions, "course", 0, 30)
    body = lines[1:]  # without the title comment
    out = []
    marks = []
    for i in range(count):
        out += [f"# course round {i + 1}", "set wipeActive 0", "set wipeCovered 0", "set wipeX -640"]
        out += body
        marks.append(len(out))
    return out, marks


def free_rounds(bot, tables, solutions, count):
    starts, maps, _ = tables["course"]
    out = ["# free mode", "set sceneId 2", "set wipeActive 0", "set wipeCovered 0",
           "set wipeX -640", "set ruleMode 0", "set undergroundMode 0", "set freeMode 1",
           "set freeSource 0", "set stageNumber 0", "2 -", "expect freeSelecting 1"]
    marks = []
    for i in range(count):
        stage = i % 30
        script = bot.Script()
        # The first step is taken in the frame after the start message, with the
        # arrow pressed one frame before, as the bot presses it.
        bot.play_stage(script, maps[stage], starts[stage], solutions[stage], 2)
        out += [f"# free round {i + 1}: course stage {stage + 1}",
                f"set stageNumber {stage}", "set freeBoardLoaded 0", "2 -",
                f"expect stageNumber {stage}", "expect freeSelecting 1", "1 z",
                "expect freePlaying 1", f"{START_MESSAGE} -", "expect introDone 1",
                "expect timeLeft 60"]
        out += script.lines()
        out += [f"{CLEAR_TO_SELECTION} -", "expect freeSelecting 1", "expect freePlaying 0",
                "expect cleared 0", "expect freeMode 1", f"{WIPE_OFF} -", "expect wipeActive 0"]
        marks.append(len(out))
    return out, marks


def sample(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
        fds = len(os.listdir(f"/proc/{pid}/fd"))
        return rss, fds
    except (OSError, StopIteration):
        return None


def main(argv):
    args = argv[1:]
    # A sanitized build's resident set is its allocator's bookkeeping, which
    # grows with the mix of block sizes and says nothing of leaks (the leak
    # checker does): there only the open files are judged.
    sanitized = "--sanitized" in args
    if sanitized:
        args.remove("--sanitized")
    opts = {"--course": 20, "--free": 200, "--keep": None}
    for flag in list(opts):
        if flag in args:
            i = args.index(flag)
            opts[flag] = args[i + 1] if flag == "--keep" else int(args[i + 1])
            del args[i:i + 2]
    if len(args) != 4:
        sys.exit(__doc__)
    sim, game, solver, bot_path = (os.path.abspath(a) for a in args)
    data = os.path.join(game, "data.vrk")
    if not os.path.exists(data):
        print("SKIP: no data.vrk in the game directory yet")
        return SKIP
    bot = load_bot(bot_path)
    solved = subprocess.run([solver, "--moves", data], capture_output=True, text=True)
    work = tempfile.mkdtemp(prefix="ossmire-soak-")
    try:
        with open(os.path.join(work, "solutions.txt"), "w") as f:
            f.write(solved.stdout)
        tables = bot.read_tables(data)
        solutions = bot.read_solutions(os.path.join(work, "solutions.txt"), "course")
        if len(solutions) < 30:
            print(f"SKIP: the solver solved {len(solutions)} of 30 course stages")
            return SKIP
        course, _ = course_rounds(bot, tables, solutions, opts["--course"])
        free, _ = free_rounds(bot, tables, solutions, opts["--free"])
        script = os.path.join(work, "soak.sim")
        with open(script, "w") as f:
            f.write("\n".join(course + free) + "\n")
        if opts["--keep"]:
            shutil.copy(script, opts["--keep"])
        frames = sum(int(l.split()[0]) for l in course + free if l[:1].isdigit())
        gamedir = os.path.join(work, "game")
        os.mkdir(gamedir)
        for name in os.listdir(game):
            if name in ("ossmire", "ossmire-sim", "EditMap") or name.startswith("sav_"):
                continue
            os.symlink(os.path.join(game, name), os.path.join(gamedir, name))
        os.mkdir(os.path.join(gamedir, "EditMap"))

        started = time.monotonic()
        # Under AddressSanitizer freed memory sits in quarantine, which would
        # read as growth; without it the resident set means what it says.
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"),
                                                     "quarantine_size_mb=0"]))
        proc = subprocess.Popen([sim, "--dir", gamedir, script], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, env=env)
        samples = []  # (seconds, rss kB, open files)
        while proc.poll() is None:
            s = sample(proc.pid)
            if s:
                samples.append((time.monotonic() - started,) + s)
            time.sleep(0.02)
        output = proc.stdout.read()
        elapsed = time.monotonic() - started
        if proc.returncode != 0:
            print(output[-4000:])
            print(f"FAIL: the simulator exited with {proc.returncode}")
            return 1
        print(f"{opts['--course']} course rounds and {opts['--free']} free-mode rounds: "
              f"{frames} frames in {elapsed:.1f} s ({frames / elapsed:.0f} frames/s)")
        if len(samples) < 8:
            print("too short a run to judge memory (fewer than 8 samples); outcomes all held")
            return 0
        # Warm-up is the first tenth of the run; compare its peak with the peak of the last tenth.
        tenth = max(1, len(samples) // 10)
        early, late = samples[tenth:2 * tenth], samples[-tenth:]
        rss_early = max(s[1] for s in early)
        rss_late = max(s[1] for s in late)
        fds_early = max(s[2] for s in early)
        fds_late = max(s[2] for s in late)
        peak = max(s[1] for s in samples)
        print(f"resident set: {rss_early} kB early, {rss_late} kB late, peak {peak} kB; "
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
