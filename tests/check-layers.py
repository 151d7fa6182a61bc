#!/usr/bin/env python3
"""The folders of src/ stack: a file includes only its own folder and the
folders below it, and only src/platform/ includes SDL.

usage: check-layers.py SRC_DIR"""
import pathlib
import re
import sys

# Lowest first; folders on one line share a level and may not include each other.
LEVELS = [
    ["platform"],
    ["base"],
    ["graphics", "sound", "input"],
    ["play"],
    ["playscreen", "save"],
    ["scenes"],
    ["editor"],
    ["shell"],
    ["app", "sim"],
]
LEVEL = {folder: i for i, row in enumerate(LEVELS) for folder in row}
# The play scene and the play state it steps are the hub the rest of the game
# meets at: they compose the play screen, run the wipe, and load and save the
# files that set a stage up. Nothing else may reach up.
REACH_UP = {
    "play/playscene.cpp": {"playscreen", "save", "scenes"},
    "play/menus.cpp": {"editor", "scenes"},
    "play/playstate.cpp": {"editor", "save"},
    "play/rules.cpp": {"scenes"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]', re.M)


def faults(src):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(src).as_posix()
        folder = relative.split("/")[0]
        if folder not in LEVEL:
            yield f"{path}: folder {folder} has no place in the stack"
            continue
        for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if name.startswith("SDL") and folder != "platform":
                yield f"{path}: includes {name}; only src/platform/ may use SDL"
            target = name.split("/")[0]
            if "/" not in name or target not in LEVEL or target == folder:
                continue
            allowed = REACH_UP.get(relative, ())
            if LEVEL[target] >= LEVEL[folder] and target not in allowed:
                yield f"{path}: includes {name}, which is not below {folder}/"


def main():
    problems = list(faults(pathlib.Path(sys.argv[1])))
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
