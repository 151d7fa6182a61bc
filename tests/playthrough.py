#!/usr/bin/env python3
"""Plays the game from a fresh game directory in the simulator, through the
title like a player, on the solver's fastest solutions, and checks the save
files byte for byte after every program run. RUN is underground (the course
to its ending fast enough for the extras, then the underground course) or
soak (the course 20 times and free mode 200 times in one run, whose resident
memory and open files must stay flat; --sanitized judges only the files).

usage: playthrough.py [--sanitized] SIM GAME_DIR SOLVER BOT RUN
BOT is tools/bot/solution-to-script.py, whose data reader and exact step
timing this builds on.
"""
import importlib.util
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

# From a stage's clearing frame to the next one's first step, two to spare.
BETWEEN_STAGES = 395
# From A on the menu to the first frame the next scene takes input.
THROUGH_WIPE = 80
NO_RECORD = (356400, 99, 60, 60)
# Allowed growth of the resident set over a soak: allocator noise, not a leak.
RSS_SLACK_KB = 2048
PROGRESS = ("stageNumber", "storyChapter", "courseSeconds", "undergroundSeconds",
            "courseCleared", "extrasUnlocked", "undergroundCleared")


def load_bot(path):
    found = importlib.util.spec_from_file_location("bot", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def scratch_game(game, work):
    for name in os.listdir(game):
        if name not in ("ossmire", "ossmire-sim", "EditMap") and not name.startswith("sav_"):
            os.symlink(os.path.join(game, name), os.path.join(work, name))
    os.mkdir(os.path.join(work, "EditMap"))


def solve(bot, solver, data):
    """The solver's moves for every stage of DATA, by kind and index."""
    with tempfile.NamedTemporaryFile("w", suffix=".txt") as listing:
        listing.write(subprocess.run([solver, "--moves", data], check=True, capture_output=True,
                                     text=True).stdout)
        listing.flush()
        return {kind: bot.read_solutions(listing.name, kind)
                for kind in ("course", "underground")}


class Player:
    """Script lines for one session, with the game's knowledge it needs."""

    def __init__(self, bot, tables, solutions):
        self.bot, self.tables, self.solutions = bot, tables, solutions
        self.lines = []
        self.cursor = 0

    def add(self, *lines):
        self.lines.extend(lines)

    def expect(self, **values):
        for name, value in values.items():
            self.add(f"expect {name} {value}")

    def tap(self, key, after=1):
        self.add(f"1 {key}", f"{after} -")

    # Title

    def opening(self):
        self.add("4 -", "1 z", "120 -")
        self.expect(titleMenuActive=1)

    def choose(self, entry):
        """One step a press: true from the start, and once the extras show."""
        while self.cursor != entry:
            up = entry < self.cursor
            self.tap("up" if up else "down")
            self.cursor += -1 if up else 1
        self.expect(titleCursor=entry, sceneId=0)
        self.add("1 z")

    def skip_story(self, chapter, wait=THROUGH_WIPE):
        self.add(f"{wait} -")
        self.expect(sceneId=1, storyChapter=chapter)
        self.add("1 x")

    # Stages

    def play(self, kind, index):
        starts, maps, _ = self.tables[kind]
        self.walk(maps[index], starts[index], self.solutions[kind][index])

    def walk(self, cells, start, moves):
        script = self.bot.Script()
        self.bot.play_stage(script, cells, start, moves, 2)
        self.add(*script.lines())

    def course(self, kind, first, last):
        self.add("110 -")
        for i in range(first, last + 1):
            self.expect(sceneId=2, stageNumber=i)
            self.play(kind, i)
            if i < last:
                self.add(f"{BETWEEN_STAGES} -")

    def all_clear_and_ending(self, ending, closing):
        # The all-clear, the ending chapter (entered without a wipe), the
        # ending (A is taken from its timer 202), the closing chapter, the title.
        self.add("1500 -")
        self.expect(sceneId=1, storyChapter=ending)
        self.add("1 x", "500 -")
        self.expect(sceneId=4, storyChapter=closing, clearBannerDone=1)
        self.add("1 z")
        self.skip_story(closing, wait=200)
        self.add("200 -")
        self.expect(sceneId=0, stageNumber=0)

    # Free mode

    def free_play(self, cells, start, moves):
        self.add("1 z", "95 -")
        self.expect(freePlaying=1, introDone=1)
        self.walk(cells, start, moves)
        self.add("400 -")
        self.expect(freeSelecting=1, freePlaying=0)


def course(p):
    p.opening()
    p.choose(1)
    p.skip_story(4)
    p.skip_story(5, wait=120)
    p.add(f"{THROUGH_WIPE} -")
    p.course("course", 0, 29)
    p.all_clear_and_ending(6, 9)
    p.expect(courseCleared=1, extrasUnlocked=1)


def underground(p):
    p.opening()
    p.choose(3)
    p.skip_story(10)
    p.add(f"{THROUGH_WIPE} -")
    p.course("underground", 0, 49)
    p.all_clear_and_ending(11, 12)
    p.expect(undergroundCleared=1, undergroundBest=49)


def soak(p):
    """Every round checks its own outcome, so nothing may drift."""
    no_wipe = ["set wipeActive 0", "set wipeCovered 0", "set wipeX -640"]
    course = p.bot.build(p.tables, p.solutions["course"], "course", 0, 30)[1:]
    for i in range(20):
        p.add(f"# course round {i + 1}", *no_wipe, *course)
    p.add("# free mode", "set sceneId 2", *no_wipe, "set ruleMode 0", "set undergroundMode 0",
          "set freeMode 1", "set freeSource 0", "set stageNumber 0", "2 -")
    p.expect(freeSelecting=1)
    starts, maps, _ = p.tables["course"]
    for i in range(200):
        stage = i % 30
        p.add(f"# free round {i + 1}: course stage {stage + 1}", f"set stageNumber {stage}",
              "set freeBoardLoaded 0", "2 -")
        p.expect(stageNumber=stage, freeSelecting=1)
        p.free_play(maps[stage], starts[stage], p.solutions["course"][stage])


def sample(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            rss = next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))
        return rss, len(os.listdir(f"/proc/{pid}/fd"))
    except (OSError, StopIteration):
        return None


def check_flat(samples, sanitized):
    """Peaks of the last tenth against the second (the first warms up). A
    sanitized build's resident set is its allocator's bookkeeping, not leaks
    (the leak checker judges those): there only the open files count."""
    if len(samples) < 8:
        print("too short a run to judge memory (fewer than 8 samples)")
        return
    tenth = len(samples) // 10
    (rss_early, fds_early), (rss_late, fds_late) = (
        [max(column) for column in zip(*part)] for part in (samples[tenth:2 * tenth], samples[-tenth:]))
    print(f"resident set: {rss_early} kB early, {rss_late} kB late; "
          f"open files: {fds_early} early, {fds_late} late ({len(samples)} samples)")
    if rss_late > rss_early + RSS_SLACK_KB and not sanitized:
        sys.exit(f"soak: the resident set grew by {rss_late - rss_early} kB")
    if fds_late > fds_early:
        sys.exit(f"soak: open files grew from {fds_early} to {fds_late}")


def progress(values):
    return struct.pack("<7I", *values)


def records(course_record, underground_record):
    return struct.pack("<8I", *course_record, *underground_record)


def record_of(seconds):
    return (seconds, seconds // 3600, seconds % 3600 // 60, seconds % 60)


class Run:
    def __init__(self, sim, game, solver, bot):
        self.sim, self.solver = sim, solver
        self.bot = load_bot(bot)
        self.work = tempfile.mkdtemp(prefix="ossmire-playthrough-")
        scratch_game(os.path.abspath(game), self.work)
        data = os.path.join(game, "data.vrk")
        self.tables = self.bot.read_tables(data)
        self.solutions = solve(self.bot, solver, data)
        self.sessions = 0

    def session(self, name, play, *args):
        """One program run of the simulator; returns its final globals."""
        p = Player(self.bot, self.tables, self.solutions)
        play(p, *args)
        self.sessions += 1
        script = os.path.join(self.work, f"session-{self.sessions}.sim")
        with open(script, "w") as out:
            out.write(f"# {name}\n" + "\n".join(p.lines) + "\n")
        # Under AddressSanitizer freed memory sits in quarantine, which would
        # read as growth; without it the resident set means what it says.
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"),
                                                     "quarantine_size_mb=0"]))
        with open(script + ".out", "w+") as out, open(script + ".err", "w+") as err:
            proc = subprocess.Popen([self.sim, "--dir", self.work, "--state", script],
                                    stdout=out, stderr=err, text=True, env=env)
            self.samples = []  # (resident kB, open files), sampled from outside
            while proc.poll() is None:
                self.samples += filter(None, [sample(proc.pid)])
                time.sleep(0.02)
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read(), err.read()
        if proc.returncode != 0:
            # After the first failed expect the simulator stops playing, so
            # the later ones only repeat it.
            sys.stdout.write("".join(stderr.splitlines(True)[:3]))
            sys.exit(f"{name}: the simulator stopped with status {proc.returncode}")
        state = (line.split("=", 1) for line in stdout.splitlines()
                 if "=" in line and not line.startswith("f="))
        return {k: int(v) if v.lstrip("-").isdigit() else v for k, v in state}

    def check_saves(self, name, expected, state=None):
        """Every save file and own map byte for byte (None: must not exist),
        and the saved progress is what the game holds in memory at the end."""
        failures = []
        held = state and progress(tuple(state[n] for n in PROGRESS))
        if held and expected["sav_1.vrk"] != held:
            failures.append(f"  the game holds {describe(held)}")
        for path, want in expected.items():
            full = os.path.join(self.work, path)
            got = open(full, "rb").read() if os.path.exists(full) else None
            if got != want:
                failures.append(f"  {path}: {describe(got)}\n  {' ' * len(path)}  expected "
                                f"{describe(want)}")
        own = os.listdir(os.path.join(self.work, "EditMap"))
        if own:
            failures.append(f"  EditMap holds unexpected {sorted(own)}")
        if failures:
            sys.exit(f"{name}: save files differ\n" + "\n".join(failures))


def describe(data):
    if data is None:
        return "no file"
    words = struct.unpack(f"<{len(data) // 4}I", data[: len(data) // 4 * 4])
    return f"{len(data)} bytes {data.hex()} = {words}"


def run_course(run):
    state = run.session("course", course)
    seconds = state["courseSeconds"]
    run.check_saves("course", {
        "sav_1.vrk": progress((0, 10, seconds, 0, 1, int(seconds < 630), 0)),
        "sav_2.vrk": records(record_of(seconds), NO_RECORD),
        "sav_3.vrk": None,
    }, state)
    if seconds >= 630:
        sys.exit(f"course: {seconds} s is too slow for the extras")
    print(f"course cleared in {seconds} s (courseSeconds)")
    return seconds


def main():
    runs = ("underground", "soak")
    args = [a for a in sys.argv[1:] if a != "--sanitized"]
    if len(args) != 5 or args[4] not in runs:
        sys.exit(__doc__)
    sim, game, solver, bot, which = args
    run = Run(sim, game, solver, bot)
    try:
        if which == "soak":
            started = time.monotonic()
            run.session("soak", soak)
            print(f"the course 20 times and free mode 200 times in {time.monotonic() - started:.1f} s")
            check_flat(run.samples, "--sanitized" in sys.argv)
        else:
            seconds = run_course(run)
            state = run.session("underground", underground)
            under = state["undergroundSeconds"]
            run.check_saves("underground", {
                "sav_1.vrk": progress((0, 13, seconds, under, 1, 1, 1)),
                "sav_2.vrk": records(record_of(seconds), record_of(under)),
                "sav_3.vrk": struct.pack("<I", 49),
            }, state)
            print(f"underground cleared in {under} s (undergroundSeconds)")
    except SystemExit as failure:
        print(f"the session scripts and the game directory are kept in {run.work}")
        raise failure
    shutil.rmtree(run.work)


if __name__ == "__main__":
    main()
