#!/usr/bin/env python3
"""Plays the game from a fresh game directory in the simulator, stage by
stage with the solver's fastest solutions:

  tutorial  title, RULE, chapters 0 to 3 around the three rule stages, title
  course    title, NEWGAME, chapters 4 and 5, the thirty course stages, the
            closing chapter, the ending and chapter 9, back to the title with
            the course cleared (and, under 630 s, the extras) saved

usage: playthrough.py SIM GAME_DIR STAGES_DIR SOLVER {tutorial|course}
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

KEYS = {"U": "up", "D": "down", "L": "left", "R": "right"}
STEPS = {"U": (0, -1), "D": (0, 1), "L": (-1, 0), "R": (1, 0)}

# A held direction steps on its second frame and then at most every 17
# frames, so a 17-frame hold gives exactly one step even when the step has to
# wait a few frames; a warp blocks steps for longer while the beam runs.
HOLD = 17
WARP_WAIT = 36
# From the step that clears a stage to the set-up of the next one (clear
# sequence, its exit under the wipe, the start message), less the hold.
BETWEEN_STAGES = 375


def read_stages(path):
    stages, current = [], None
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if re.match(r"stage \d+", line):
            current = {"rows": [], "start": (7, 7)}
            stages.append(current)
        elif current is None or line.startswith(";"):
            continue
        elif re.match(r"start \d+ \d+", line):
            x, y = line.split()[1:3]
            current["start"] = (int(x), int(y))
        elif len(line) == 8 and not line.startswith("time"):
            current["rows"].append(line)
    return stages


def solutions(solver, path):
    out = subprocess.run([solver, "--moves", path], check=True, capture_output=True, text=True)
    return [line.split()[-1] for line in out.stdout.splitlines() if line.startswith("stage")]


def stage_lines(stage, moves):
    x, y = stage["start"]
    warps = [(c, r) for r, row in enumerate(stage["rows"]) for c, t in enumerate(row) if t == "W"]
    lines = []
    for move in moves:
        lines += [f"{HOLD} {KEYS[move]}", "1 -"]
        x, y = x + STEPS[move][0], y + STEPS[move][1]
        if (x, y) in warps:
            x, y = next(w for w in warps if w != (x, y))
            lines.append(f"{WARP_WAIT} -")
    return lines


def opening_and_menu(cursor):
    lines = ["4 -", "1 z", "120 -", "expect titleMenuActive 1"]
    for _ in range(cursor):
        lines += ["1 down", "1 -"]
    return lines + [f"expect titleCursor {cursor}", "1 z"]


def tutorial_script(stages, moves):
    lines = opening_and_menu(0)
    lines += ["40 -", "expect sceneId 1", "expect storyChapter 0", "60 -", "1 x", "250 -"]
    for i, m in enumerate(moves):
        lines += ["expect sceneId 2", f"expect stageNumber {i}"]
        lines += stage_lines(stages[i], m)
        lines += ["expect cleared 1", "450 -", "expect sceneId 1", f"expect storyChapter {i + 1}"]
        lines += ["1 x", "250 -"]
    return lines + ["expect sceneId 0", "expect storyChapter 4", "expect stageNumber 0"]


def course_script(stages, moves):
    lines = opening_and_menu(1)
    lines += ["80 -", "expect storyChapter 4", "1 x", "120 -", "expect storyChapter 5", "1 x"]
    lines += ["80 -", "expect sceneId 2", "110 -"]
    for i, m in enumerate(moves):
        lines.append(f"expect stageNumber {i}")
        lines += stage_lines(stages[i], m)
        lines.append("expect cleared 1")
        if i + 1 < len(moves):
            lines.append(f"{BETWEEN_STAGES} -")
    # The all-clear, the closing chapter (entered without a wipe), the ending
    # (A is taken from its timer 202), chapter 9, and the title.
    lines += ["1500 -", "expect sceneId 1", "1 x", "500 -", "expect sceneId 4", "1 z"]
    lines += ["200 -", "expect storyChapter 9", "1 x", "200 -", "expect sceneId 0"]
    return lines + ["expect courseCleared 1"]


def run(sim, game, script):
    work = tempfile.mkdtemp()
    try:
        for name in os.listdir(game):
            if name in ("ossmire", "ossmire-sim", "EditMap") or name.startswith("sav_"):
                continue
            os.symlink(os.path.join(game, name), os.path.join(work, name))
        os.mkdir(os.path.join(work, "EditMap"))
        text = "\n".join(script) + "\n"
        result = subprocess.run([sim, "--dir", work, "-"], input=text, text=True,
                                capture_output=True)
        sys.stdout.write(result.stdout + result.stderr)
        saves = {}
        for name in ("sav_1.vrk", "sav_2.vrk"):
            path = os.path.join(work, name)
            if os.path.exists(path):
                data = open(path, "rb").read()
                saves[name] = struct.unpack(f"<{len(data) // 4}I", data[: len(data) // 4 * 4])
        return result.returncode, saves
    finally:
        shutil.rmtree(work)


def main():
    if len(sys.argv) != 6 or sys.argv[5] not in ("tutorial", "course"):
        sys.exit(__doc__)
    sim, game, stages_dir, solver, which = sys.argv[1:]
    name = "rule.txt" if which == "tutorial" else "course.txt"
    path = os.path.join(stages_dir, name)
    stages, moves = read_stages(path), solutions(solver, path)
    if len(stages) != len(moves) or not moves:
        sys.exit(f"{path}: {len(stages)} stages but {len(moves)} solutions")
    build = tutorial_script if which == "tutorial" else course_script
    code, saves = run(sim, game, build(stages, moves))
    if code != 0:
        sys.exit(f"{which}: the simulator stopped with status {code}")
    if which == "course":
        progress = saves.get("sav_1.vrk", ())
        best = saves.get("sav_2.vrk", ())
        if len(progress) != 7 or len(best) != 8:
            sys.exit(f"course: saves hold {progress} and {best}")
        seconds = progress[2]
        # stage 0, chapter 10 next, the course time, cleared, extras by time
        expected = (0, 10, seconds, 0, 1, 1 if seconds < 630 else 0, 0)
        if progress != expected or best[0] != seconds:
            sys.exit(f"course: saved {progress}, best {best[:4]}; expected {expected}")
        print(f"course cleared in {seconds} s, saved {progress}")


if __name__ == "__main__":
    main()
