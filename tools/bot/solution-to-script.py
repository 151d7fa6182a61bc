#!/usr/bin/env python3
"""Turns solver solutions into an ossmire-sim script that plays them.

usage: solution-to-script.py DATA SOLUTIONS KIND [--first N] [--count K]

DATA is data.vrk, SOLUTIONS the output of `ossmire-solver --moves DATA`, KIND
one of course, underground, rule. The script enters the play scene at stage
N (0-based, default 0) and plays K stages (default: to the end of the
course) by holding the arrows exactly as long as each step needs: a step
every 17 frames, longer after a warp while its beam runs. Between stages it
waits out the clear, the clear exit, the wipe and the next start message,
and it checks each clear, the stage that follows, the clock seconds spent
and, after a course's last stage, the story chapter that comes next.
"""
import re
import struct
import sys

STEP_FRAMES = 17
TICK_FRAMES = 63  # 1000 ms of 16 ms frames, rounded up
FIRST_SET_UP = 93  # frame 1 loads the scene, 2..92 show the start message
CLEAR_TO_NEXT_SET_UP = 395  # clear 131, exit 111, wipe, start message 91
CLEAR_TO_RULE_EXIT = 273  # the exit frame after the covered wipe
ALL_CLEAR_TO_EXIT = 551
KEYS = {"U": "up", "D": "down", "L": "left", "R": "right"}
STEPS = {"U": (0, -1), "D": (0, 1), "L": (-1, 0), "R": (1, 0)}
WARP = 12

# data.vrk: course starts, maps, classes; story counts and pages;
# underground starts, maps, classes; rule maps.
COURSES = {"course": (30, 0), "underground": (50, 1), "rule": (3, 2)}


def read_tables(path):
    data = open(path, "rb").read()
    at = 0

    def take(n):
        nonlocal at
        chunk = data[at:at + n]
        at += n
        if len(chunk) < n:
            sys.exit(f"{path}: too short")
        return chunk

    def stages(count, with_starts):
        starts = [struct.unpack("<ii", take(8)) for _ in range(count)] if with_starts else None
        maps = [take(64) for _ in range(count)]
        classes = take(count) if with_starts else bytes(count)
        return starts, maps, classes

    course = stages(30, True)
    take(13 * 4 + 13 * 31 * 102)
    underground = stages(50, True)
    rule = stages(3, False)
    rule = ([(7, 7)] * 3, rule[1], rule[2])
    return {"course": course, "underground": underground, "rule": rule}


def read_solutions(path, kind):
    moves = {}
    pattern = re.compile(r"^(\w+) (\d+)\s.*\s([UDLRw0-9]+)\s*$")
    for line in open(path):
        m = pattern.match(line)
        if m and m.group(1) == kind:
            moves[int(m.group(2)) - 1] = m.group(3)
    return moves


def beam_frames(destination_row):
    """Frames the warp beam runs: it rises from the departure, then lands."""
    offset, rising, frames = 0, True, 0
    while True:
        frames += 1
        if rising and 40 * destination_row + 80 - offset > -150:
            offset += 30
            continue
        rising = False
        if offset > 0:
            offset -= 30
        if offset == 0:
            return frames


def warp_destination(cells, x, y):
    here = x + 8 * y
    found = (x, y)
    for i, code in enumerate(cells):
        if code == WARP and i != here:
            found = (i % 8, i // 8)
    return found


def steps_of(moves):
    """The step letters of a solution, each with the frames waited before it
    ("wN": N frames more with no arrow held once a step could be taken)."""
    steps, extra = [], 0
    for token in re.findall(r"w\d+|[UDLR]", moves):
        if token[0] == "w":
            extra += int(token[1:])
        else:
            steps.append((token, extra))
            extra = 0
    return steps


def step_frames(cells, start, moves, first_frame):
    """The frame of each step, playing every move as soon as it may be taken."""
    x, y = start
    frames = []
    frame = first_frame
    arrived_by_warp = False
    for move, extra in steps_of(moves):
        frame += extra
        frames.append(frame)
        dx, dy = STEPS[move]
        x, y = x + dx, y + dy
        wait = STEP_FRAMES
        if cells[x + 8 * y] == WARP:
            # A warp entered straight from a warp's landing keeps the old,
            # already landed beam: it ends in the frame it starts.
            beam = 1 if arrived_by_warp else beam_frames(warp_destination(cells, x, y)[1])
            x, y = warp_destination(cells, x, y)
            wait = max(wait, beam)
            arrived_by_warp = True
        else:
            arrived_by_warp = False
        frame += wait
    return frames


class Script:
    def __init__(self):
        self.held = {}  # frame -> key
        self.checks = {}  # frame -> lines to run after it
        self.end = 0

    def hold(self, frame, key):
        self.held[frame] = key
        self.end = max(self.end, frame)

    def after(self, frame, line):
        self.checks.setdefault(frame, []).append(line)
        self.end = max(self.end, frame)

    def lines(self):
        out, run_key, run_length = [], None, 0
        for frame in range(1, self.end + 1):
            key = self.held.get(frame, "-")
            if key != run_key and run_length:
                out.append(f"{run_length} {run_key}")
                run_length = 0
            run_key = key
            run_length += 1
            if frame in self.checks:
                out.append(f"{run_length} {run_key}")
                run_length = 0
                out.extend(self.checks[frame])
        return out


def play_stage(script, cells, start, moves, set_up):
    frames = step_frames(cells, start, moves, set_up)
    steps = steps_of(moves)
    for i, ((move, _), frame) in enumerate(zip(steps, frames)):
        script.hold(frame - 1, KEYS[move])
        script.hold(frame, KEYS[move])
        if i + 1 < len(steps) and steps[i + 1] == (move, 0):
            for f in range(frame + 1, frames[i + 1] - 1):
                script.hold(f, KEYS[move])
    clear = frames[-1]
    script.after(clear, "expect cleared 1")
    return clear, (clear - set_up) // TICK_FRAMES + 1


def table_lines(kind, starts, maps, classes):
    """The play scene reads the stage tables that the title loads; set them."""
    def joined(values):
        return ",".join(str(v) for v in values)
    prefix = {"course": "course", "underground": "underground", "rule": "rule"}[kind]
    lines = [f"set {prefix}Maps {joined(b for m in maps for b in m)}"]
    if kind != "rule":
        lines.append(f"set {prefix}Starts {joined(v for s in starts for v in s)}")
        lines.append(f"set {prefix}TimeClasses {joined(classes)}")
    return lines


def story_chapter(seconds):
    return 6 if seconds < 630 else 7 if seconds < 830 else 8


def build(tables, solutions, kind, first, count):
    total, _ = COURSES[kind]
    starts, maps, classes = tables[kind]
    script = Script()
    head = table_lines(kind, starts, maps, classes) + ["set ruleMode %d" % (kind == "rule"), "set undergroundMode %d" % (kind == "underground"),
            "set freeMode 0", f"set stageNumber {first}", "set courseSeconds 0",
            "set undergroundSeconds 0", "set sceneId 2"]
    set_up, seconds = FIRST_SET_UP, 0
    last = min(total, first + count)
    for stage in range(first, last):
        if stage not in solutions:
            sys.exit(f"no solution for {kind} {stage + 1}")
        script.after(set_up, f"expect stageNumber {stage}")
        script.after(set_up, "expect stageLoaded 1")
        clear, ticks = play_stage(script, maps[stage], starts[stage], solutions[stage], set_up)
        seconds += ticks
        if kind == "rule":
            leave = clear + CLEAR_TO_RULE_EXIT
            script.after(leave, "expect sceneId 1")
            script.after(leave, f"expect stageNumber {stage + 1}")
            if stage + 1 < last:
                for line in ("set sceneId 2", "set wipeActive 0", "set wipeCovered 0",
                             "set wipeX -640"):
                    script.after(leave, line)
            set_up = leave + FIRST_SET_UP
        elif stage == total - 1:
            leave = clear + ALL_CLEAR_TO_EXIT
            script.after(leave, "expect sceneId 1")
            script.after(leave, f"expect stageNumber {total}")
            if kind == "course":
                script.after(leave, f"expect storyChapter {story_chapter(seconds)}")
        else:
            set_up = clear + CLEAR_TO_NEXT_SET_UP
    counter = {"course": "courseSeconds", "underground": "undergroundSeconds"}.get(kind)
    if kind != "rule" and last < total:
        script.after(set_up, f"expect stageNumber {last}")
        seconds += 1  # the next stage's clock ticks at its set-up
    if counter:
        script.after(script.end, f"expect {counter} {seconds}")
    title = f"# {kind} stages {first + 1} to {last}, played from their solver solutions."
    return [title] + head + script.lines()


def main(argv):
    args = argv[1:]
    first, count = 0, 999
    while "--first" in args or "--count" in args:
        for flag in ("--first", "--count"):
            if flag in args:
                i = args.index(flag)
                value = int(args[i + 1])
                del args[i:i + 2]
                first, count = (value, count) if flag == "--first" else (first, value)
    if len(args) != 3 or args[2] not in COURSES:
        sys.exit(__doc__)
    tables = read_tables(args[0])
    solutions = read_solutions(args[1], args[2])
    print("\n".join(build(tables, solutions, args[2], first, count)))


if __name__ == "__main__":
    main(sys.argv)
