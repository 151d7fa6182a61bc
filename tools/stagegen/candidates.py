#!/usr/bin/env python3
"""Draws one candidate per stage slot from ossmire-stagegen, for the designer
to review before it goes into content/stages/. The plan of each course (size,
features and forgiveness by slot) lives here.

    candidates.py GENERATOR course|underground [FIRST LAST] > candidates.txt
"""
import subprocess
import sys

# (min cells, max cells, time tiles, gates, warp, time class, max ways)
COURSE = [
    (14, 18, 0, 0, 0, 0, 3), (18, 22, 0, 0, 0, 0, 3), (22, 26, 0, 0, 0, 0, 2),
    (26, 30, 0, 0, 0, 0, 2), (28, 34, 0, 0, 0, 0, 2), (26, 32, 2, 0, 0, 0, 2),
    (30, 36, 3, 0, 0, 0, 2), (32, 38, 4, 0, 0, 0, 2), (30, 36, 0, 2, 0, 0, 2),
    (32, 38, 0, 3, 0, 0, 2), (34, 40, 2, 3, 0, 0, 2), (30, 36, 0, 0, 1, 0, 2),
    (34, 40, 0, 0, 1, 0, 2), (36, 42, 2, 0, 1, 0, 2), (36, 42, 3, 0, 0, 1, 2),
    (38, 44, 4, 2, 0, 1, 2), (38, 44, 0, 3, 1, 0, 2), (40, 46, 2, 3, 1, 0, 2),
    (40, 46, 3, 0, 0, 2, 2), (40, 46, 2, 0, 1, 2, 2), (42, 48, 3, 3, 1, 0, 2),
    (42, 48, 3, 3, 1, 1, 2), (42, 48, 2, 2, 1, 2, 2), (44, 50, 0, 4, 0, 0, 1),
    (44, 50, 3, 3, 1, 1, 1), (46, 52, 3, 3, 1, 0, 1), (46, 52, 3, 3, 1, 2, 1),
    (48, 54, 4, 3, 1, 1, 1), (48, 56, 4, 4, 1, 0, 1), (50, 58, 4, 4, 1, 1, 1),
]


def underground():
    plan = []
    kinds = [(0, 0, 0), (3, 0, 0), (0, 3, 0), (0, 0, 1), (3, 3, 0), (3, 0, 1), (0, 3, 1),
             (4, 3, 1), (2, 4, 1), (4, 2, 0)]
    for i in range(50):
        low = 40 + (i * 14) // 49
        tiles, gates, warp = kinds[i % len(kinds)]
        plan.append((low, low + 6, tiles, gates, warp, (i * 7) % 3 if tiles else 0,
                     2))
    return plan


def main():
    generator, course = sys.argv[1], sys.argv[2]
    plan = COURSE if course == "course" else underground()
    base = 1000 if course == "course" else 5000
    first = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    last = int(sys.argv[4]) if len(sys.argv) > 4 else len(plan)
    for slot, (low, high, tiles, gates, warp, klass, ways) in enumerate(plan):
        if not first <= slot + 1 <= last:
            continue
        args = [generator, "--seed", str(base + slot), "--count", "1", "--min", str(low),
                "--max", str(high), "--time", str(tiles), "--gates", str(gates),
                "--class", str(klass), "--ways", str(ways)]
        if warp:
            args.append("--warp")
        out = subprocess.run(args, capture_output=True, text=True).stdout
        out = out.replace("stage 1\n", "stage %d\n" % (slot + 1), 1)
        sys.stdout.write(out)
        sys.stdout.flush()


if __name__ == "__main__":
    main()
