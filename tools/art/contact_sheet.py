#!/usr/bin/env python3
"""Renders every bitmap of a game directory into one PNG for review.

Usage: contact_sheet.py GAME_DIR OUT.png

Each sheet is shown with its key colour as a checkerboard and every cell the
game cuts out of it outlined: solid cells cyan, sprite cells magenta, empty
cells yellow. Sheets larger than the screen are shown at half size. A missing
or unreadable bitmap shows as a labelled grey box instead.
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cells as catalogue  # noqa: E402
from check_bitmaps import read_bmp  # noqa: E402

OUTLINE = {"solid": "#00e0ff", "sprite": "#ff40ff", "empty": "#ffff40"}
KEY_NAME = {"black": "#000000", "green": "#00ff00"}


def tile(game_dir, sheet, out):
    path = os.path.join(game_dir, "bitmap", sheet.path + ".bmp")
    scale = 0.5 if sheet.h > 480 else 1.0
    label = "%d %s.bmp %dx%d%s" % (sheet.id, sheet.path, sheet.w, sheet.h,
                                   " key " + sheet.key if sheet.key else "")
    try:
        w, h, _ = read_bmp(path)
        ok = (w, h) == (sheet.w, sheet.h)
    except (OSError, ValueError):
        ok = False
    if not ok:
        cmd = ["convert", "-size", "%dx%d" % (sheet.w * scale, sheet.h * scale), "xc:#555555",
               "-fill", "#ff6060", "-gravity", "center", "-pointsize", "16", "-annotate", "0", "missing or bad"]
    else:
        cmd = ["convert", path]
        if sheet.key:  # the key shows as a checkerboard, so what is transparent is plain to see
            cmd += ["-fuzz", "0", "-transparent", KEY_NAME[sheet.key],
                    "(", "-size", "%dx%d" % (sheet.w, sheet.h), "pattern:checkerboard", "-fill", "#6a6a6a",
                    "-opaque", "#999999", ")", "+swap", "-compose", "over", "-composite"]
        cmd += ["-fill", "none", "-strokewidth", "1"]
        for c in sheet.cells:
            cmd += ["-stroke", OUTLINE[c.mode], "-draw",
                    "rectangle %d,%d %d,%d" % (c.l, c.t, c.r - 1, c.b - 1)]
        if scale != 1.0:
            cmd += ["-resize", "%d%%" % (scale * 100)]
    cmd += ["-background", "#202020", "-fill", "#e0e0e0", "-gravity", "north", "-splice", "0x18",
            "-pointsize", "13", "-annotate", "+0+2", label, out]
    subprocess.run(cmd, check=True)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    game_dir, out = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        tiles = []
        for sheet in catalogue.SHEETS:
            p = os.path.join(tmp, "%02d.png" % sheet.id)
            tile(game_dir, sheet, p)
            tiles.append(p)
        # rows of sheets, each row as tall as its tallest sheet
        rows, row, width = [], [], 0
        for sheet, p in zip(catalogue.SHEETS, tiles):
            w = sheet.w * (0.5 if sheet.h > 480 else 1.0)
            if row and width + w > 1960:
                rows.append(row)
                row, width = [], 0
            row.append(p)
            width += w + 8
        rows.append(row)
        row_files = []
        for i, r in enumerate(rows):
            rp = os.path.join(tmp, "row%02d.png" % i)
            subprocess.run(["convert", "-background", "#303030", "-gravity", "north"] + r
                           + ["-bordercolor", "#303030", "-border", "4", "+append", rp], check=True)
            row_files.append(rp)
        subprocess.run(["convert", "-background", "#303030"] + row_files
                       + ["-bordercolor", "#303030", "-border", "4", "-append", "+repage", out], check=True)
    print(out)


if __name__ == "__main__":
    main()
