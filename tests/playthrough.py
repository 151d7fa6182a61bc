#!/usr/bin/env python3
"""Plays the game from a fresh game directory in the simulator, through the
title like a player, stage by stage with the solver's fastest solutions, and
checks the save files byte for byte after every session (one program run).
RUN is tutorial (RULE), underground (NEWGAME to the ending, fast enough for
the extras, then UNDERGROUND to its ending), freemode (the same course, then three
underground stages, quit from the pause menu, a map painted in the editor,
and in FREEMODE a course stage, the deepest underground stage reached and
the painted map), continue (a time-up at stage 14, the game over, then
CONTINUE from the checkpoint to the end) or soak (the course 20 times and
free mode 200 times in one program run, whose resident memory and open files
must stay flat; --sanitized judges only the files).

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

# From the frame that clears a stage to the frame before the next one takes
# its first step (the bot's clear, exit, wipe and start message), with two
# frames to spare.
BETWEEN_STAGES = 395
# From A on the menu to the first frame the next scene takes input: the
# title's covering wipe, the exit and set-up frames, the uncovering wipe.
THROUGH_WIPE = 80
NO_RECORD = (356400, 99, 60, 60)
# Allowed growth of the resident set over a soak: allocator noise, not a leak.
RSS_SLACK_KB = 2048
PROGRESS = ("stageNumber", "storyChapter", "courseSeconds", "undergroundSeconds",
            "courseCleared", "extrasUnlocked", "undergroundCleared")
# The editor's palette: where to click for each tile and time class.
PALETTE = {0: (510, 60), 2: (550, 60), 3: (590, 60), 4: (510, 100), 5: (550, 100),
           6: (590, 100), 7: (510, 140), 8: (550, 140), 9: (590, 140), 10: (510, 180),
           12: (550, 180)}
TIME_CLASS_BUTTON = {0: (510, 260), 1: (550, 260), 2: (590, 260)}
SAVE_BUTTON = (550, 340)
# A map drawn in the editor, walked in one stroke: the switch lowers the
# gate on the far side of the warps; the penalty cell costs 20 seconds.
EDITOR_MAP = [
    "..+1....",
    "W.2S.-..",
    "########",
    "4.3.G..W",
    "########",
    "########",
    "########",
    "########",
]
EDITOR_START = (0, 0)
EDITOR_TIME_CLASS = 2
EDITOR_CODES = {".": 0, "#": 2, "+": 3, "-": 4, "S": 5, "G": 6, "1": 7, "2": 8, "3": 9,
                "4": 10, "W": 12}


def load_bot(path):
    found = importlib.util.spec_from_file_location("bot", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def scratch_game(game, work):
    """WORK as a fresh game directory: GAME's files linked, no saves, an empty
    EditMap."""
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
                for kind in ("course", "underground", "rule")}


class Player:
    """Script lines for one session, with the game's knowledge it needs."""

    def __init__(self, bot, tables, solutions):
        self.bot, self.tables, self.solutions = bot, tables, solutions
        self.lines = []
        self.cursor = 0
        self.cleared = self.extras = 0

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
        """Moves the title cursor by the menu's rules, then confirms."""
        while self.cursor != entry:
            up = entry < self.cursor
            self.tap("up" if up else "down")
            self.cursor = self.moved(up)
        self.expect(titleCursor=entry, sceneId=0)
        self.add("1 z")

    def moved(self, up):
        c = self.cursor
        if self.extras:
            return max(c - 1, 0) if up else min(c + 1, 5)
        if up:
            return 2 if c == 4 else max(c - 1, 0)
        if self.cleared and c == 2:
            return 4
        return c + 1 if c < 2 else c

    def skip_story(self, chapter, wait=THROUGH_WIPE):
        self.add(f"{wait} -")
        self.expect(sceneId=1, storyChapter=chapter)
        self.add("1 x")

    # Stages

    def play(self, kind, index):
        starts, maps, _ = self.tables[kind]
        self.walk(maps[index], starts[index], self.solutions[kind][index])

    def walk(self, cells, start, moves):
        """The bot's exact step timing: each arrow pressed the frame before
        its step may come, held through steps in the same direction."""
        script = self.bot.Script()
        self.bot.play_stage(script, cells, start, moves, 2)
        self.add(*script.lines())

    def course(self, kind, first, last):
        """Stages first..last of a course in one visit of the play scene,
        entered at its stage-start message."""
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

    # Editor

    def paint(self, rows, start, time_class):
        """The map painted with the mouse, tile kind by tile kind, then saved."""
        cells = [EDITOR_CODES[c] for row in rows for c in row]
        for tile in sorted(set(cells) - {0}):
            self.click(*PALETTE[tile])
            for i, code in enumerate(cells):
                if code == tile:
                    self.click(100 + 40 * (i % 8), 100 + 40 * (i // 8))
        self.click(*TIME_CLASS_BUTTON[time_class])
        self.click(100 + 40 * start[0], 100 + 40 * start[1], "rmb")
        self.expect(editBoard=",".join(map(str, cells)), editTimeClass=time_class,
                    editStartX=start[0], editStartY=start[1])
        self.click(*SAVE_BUTTON)
        self.expect(mapSavedNotice=1)
        return cells

    def click(self, x, y, button="lmb"):
        self.add(f"mouse {x} {y}", f"1 {button}", "1 -")

    # Free mode

    def free_play(self, cells, start, moves):
        self.add("1 z", "95 -")
        self.expect(freePlaying=1, introDone=1)
        self.walk(cells, start, moves)
        self.add("400 -")
        self.expect(freeSelecting=1, freePlaying=0)


def tutorial(p):
    p.opening()
    p.choose(0)
    p.skip_story(0)
    p.add("250 -")
    for i in range(3):
        p.expect(sceneId=2, stageNumber=i, ruleMode=1)
        p.play("rule", i)
        p.add("450 -")
        p.expect(sceneId=1, storyChapter=i + 1)
        p.add("1 x", "250 -")
    p.expect(sceneId=0, storyChapter=4, stageNumber=0)


def new_game(p, last=29):
    p.opening()
    p.choose(1)
    p.skip_story(4)
    p.skip_story(5, wait=120)
    p.add(f"{THROUGH_WIPE} -")
    p.course("course", 0, last)


def course(p):
    new_game(p)
    p.all_clear_and_ending(6, 9)
    p.expect(courseCleared=1, extrasUnlocked=1)


def underground(p):
    p.cleared = p.extras = 1
    p.opening()
    p.choose(3)
    p.skip_story(10)
    p.add(f"{THROUGH_WIPE} -")
    p.course("underground", 0, 49)
    p.all_clear_and_ending(11, 12)
    p.expect(undergroundCleared=1, undergroundBest=49)


def free_mode(p, editor_solution):
    p.cleared = p.extras = 1
    p.opening()
    # Three underground stages, then back to the title from the pause menu at
    # the fourth: the deepest stage reached is recorded.
    p.choose(3)
    p.skip_story(10)
    p.add(f"{THROUGH_WIPE} -")
    p.course("underground", 0, 2)
    p.add(f"{BETWEEN_STAGES + 20} -")
    p.expect(stageNumber=3, stageLoaded=1)
    p.tap("x", after=20)
    p.expect(pauseOpen=1)
    p.tap("down")
    p.expect(pauseCursor=2)
    p.add("1 z", "3 -")
    p.expect(sceneId=0, undergroundBest=3, stageNumber=0)
    # A map of one's own in the editor, saved as map 00.
    p.choose(5)
    p.add("70 -")
    p.expect(sceneId=5, editorLoaded=1, wipeActive=0)
    cells = p.paint(EDITOR_MAP, EDITOR_START, EDITOR_TIME_CLASS)
    p.add("1 x", "40 -")
    p.expect(sceneId=0, editChosen=0)
    # Free mode: course stage 13, underground stage 4, the painted map.
    p.choose(4)
    p.add(f"{THROUGH_WIPE} -")
    p.expect(sceneId=2, freeMode=1, freeSelecting=1, freeSource=0)
    for _ in range(12):
        p.tap("right")
    p.expect(stageNumber=12)
    starts, maps, _ = p.tables["course"]
    p.free_play(maps[12], starts[12], p.solutions["course"][12])
    p.expect(stageNumber=12)
    p.tap("down")
    p.expect(freeSource=1, stageNumber=0)
    for _ in range(4):
        p.tap("right")
    p.expect(stageNumber=3)  # no deeper than reached
    starts, maps, _ = p.tables["underground"]
    p.free_play(maps[3], starts[3], p.solutions["underground"][3])
    p.tap("down")
    p.expect(freeSource=2, stageNumber=0, board=",".join(map(str, cells)))
    p.free_play(cells, EDITOR_START, editor_solution)
    p.tap("x", after=3)
    p.expect(sceneId=0, freeMode=0)


def game_over_at_14(p):
    new_game(p, last=12)
    p.add(f"{BETWEEN_STAGES + 20} -")
    p.expect(sceneId=2, stageNumber=13, stageLoaded=1)
    # Stand still until the clock runs out: the time-up message, game over.
    p.add("3900 -")
    p.expect(timeUp=1)
    p.add("500 -")
    p.expect(sceneId=3)
    p.add("150 -", "1 z", "40 -")
    p.expect(sceneId=0, stageNumber=10)


def continue_from_checkpoint(p, seconds):
    p.opening()
    p.choose(2)
    p.add(f"{THROUGH_WIPE} -")
    p.expect(sceneId=2, stageNumber=10, courseSeconds=seconds)
    p.course("course", 10, 29)
    p.all_clear_and_ending(6, 9)


def soak(p):
    """The course 20 times over, then 200 rounds of free mode through the
    course stages in turn, in one program run; every round checks its own
    outcome, so nothing may drift."""
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
    """The peaks of resident memory and open files in the last tenth of the
    run against the second tenth (the first warms up). A sanitized build's
    resident set is its allocator's bookkeeping and says nothing of leaks
    (the leak checker does): there only the open files are judged."""
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
        own = set(os.listdir(os.path.join(self.work, "EditMap")))
        extra = own - {os.path.basename(p) for p in expected if p.startswith("EditMap/")}
        if extra:
            failures.append(f"  EditMap holds unexpected {sorted(extra)}")
        if failures:
            sys.exit(f"{name}: save files differ\n" + "\n".join(failures))


def describe(data):
    if data is None:
        return "no file"
    words = struct.unpack(f"<{len(data) // 4}I", data[: len(data) // 4 * 4])
    return f"{len(data)} bytes {data.hex()} = {words}"


def course_saves(seconds):
    return {
        "sav_1.vrk": progress((0, 10, seconds, 0, 1, int(seconds < 630), 0)),
        "sav_2.vrk": records(record_of(seconds), NO_RECORD),
        "sav_3.vrk": None,
    }


def run_course(run):
    state = run.session("course", course)
    seconds = state["courseSeconds"]
    run.check_saves("course", course_saves(seconds), state)
    if seconds >= 630:
        sys.exit(f"course: {seconds} s is too slow for the extras")
    print(f"course cleared in {seconds} s (courseSeconds)")
    return seconds


def main():
    runs = ("tutorial", "underground", "freemode", "continue", "soak")
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
        elif which == "tutorial":
            state = run.session("tutorial", tutorial)
            # The title creates an empty progress file on its first load.
            run.check_saves("tutorial", {"sav_1.vrk": b"", "sav_2.vrk": None, "sav_3.vrk": None})
            if state["courseCleared"] or state["stageNumber"]:
                sys.exit(f"tutorial: progress changed: {state['courseCleared']}")
            print("tutorial played: rule stages 1 to 3, chapters 0 to 3")
        elif which == "underground":
            seconds = run_course(run)
            state = run.session("underground", underground)
            under = state["undergroundSeconds"]
            run.check_saves("underground", {
                "sav_1.vrk": progress((0, 13, seconds, under, 1, 1, 1)),
                "sav_2.vrk": records(record_of(seconds), record_of(under)),
                "sav_3.vrk": struct.pack("<I", 49),
            }, state)
            print(f"underground cleared in {under} s (undergroundSeconds)")
        elif which == "freemode":
            saves = course_saves(run_course(run))
            cells = [EDITOR_CODES[c] for row in EDITOR_MAP for c in row]
            own = bytes(cells) + struct.pack("<B2i", EDITOR_TIME_CLASS, *EDITOR_START)
            # The solver plays the map as a file, the one the editor will save.
            with tempfile.NamedTemporaryFile(suffix=".map") as probe:
                probe.write(own)
                probe.flush()
                moves = subprocess.run([solver, "--moves", probe.name], check=True,
                                       capture_output=True, text=True).stdout.split()[-1]
            run.session("freemode", free_mode, moves)
            saves.update({"sav_3.vrk": struct.pack("<I", 3), "EditMap/map_00.map": own})
            run.check_saves("freemode", saves)
            print("free mode: course 13, underground 4 and an own map cleared")
        else:
            before = run.session("game over", game_over_at_14)["courseSeconds"]
            run.check_saves("game over", {"sav_1.vrk": progress((10, 6, before, 0, 0, 0, 0)),
                                          "sav_2.vrk": None, "sav_3.vrk": None})
            state = run.session("continue", continue_from_checkpoint, before)
            seconds = state["courseSeconds"]
            run.check_saves("continue", course_saves(seconds), state)
            print(f"game over at stage 14 (index 13) after {before} s; CONTINUE resumed at "
                  f"stage 11 (index 10); course cleared at {seconds} s")
    except SystemExit as failure:
        print(f"the session scripts and the game directory are kept in {run.work}")
        raise failure
    shutil.rmtree(run.work)


if __name__ == "__main__":
    main()
