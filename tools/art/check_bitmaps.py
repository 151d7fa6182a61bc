#!/usr/bin/env python3
"""Checks the 31 bitmaps of a game directory.

Usage: check_bitmaps.py GAME_DIR

Each file must exist and be an uncompressed 24-bit BMP of its catalogue size.
On keyed sheets no pixel may lie within distance 24 of the key without being
exactly it (such pixels would show as a dark or green fringe), every pixel
outside the cells must be the key, solid cells must hold no key pixel, and
every sprite cell must show something (a cell left all key draws nothing), and
the sprites listed in CLEAR_EDGES must not touch the edges named there.
On green sheets nothing may be plainly green either: the story's characters
never wear or glow in green, and such pixels would read as a keying fault.
Exit status 0 when everything passes.
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cells as catalogue  # noqa: E402
from svg2bmp import ZONE_OUT, ZONE_SOLID, channel_flags, zone_map  # noqa: E402

FRINGE = 24

# Sprites that must keep clear of these edges of their cell (l, r, t, b); a shape touching one is
# cut off where the game draws it, and a light touching one shows a hard edge. Cells are chosen by
# name prefix, "" for every cell of the sheet.
CLEAR_EDGES = {
    "play/num": {"": "lrtb"},
    "play/char": {"fallen": "lrtb", "cheer": "lrt", "cursor": "lrtb"},
    "play/mes": {"": "lrtb"},
    "play/st": {"orb": "lrtb", "clear beam": "lrt", "warp beam": "lrt"},
}
EDGE_NAMES = {"l": "left", "r": "right", "t": "top", "b": "bottom"}


def read_bmp(path):
    """Returns (width, height, rgb top-down) or raises ValueError."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    if hsize < 40:
        raise ValueError("info header of %d bytes" % hsize)
    if planes != 1 or bpp != 24 or comp != 0:
        raise ValueError("planes %d, %d bpp, compression %d (want 1, 24, BI_RGB)" % (planes, bpp, comp))
    rows, flip = abs(h), h > 0
    stride = (w * 3 + 3) & ~3
    if w <= 0 or offset + stride * rows > len(data):
        raise ValueError("pixel data truncated")
    rgb = bytearray()
    for y in range(rows):
        src = (rows - 1 - y) if flip else y
        row = data[offset + src * stride:offset + src * stride + w * 3]
        px = bytearray(len(row))
        px[0::3], px[1::3], px[2::3] = row[2::3], row[1::3], row[0::3]
        rgb += px
    return w, rows, rgb


def check_sheet(game_dir, sheet):
    path = os.path.join(game_dir, "bitmap", sheet.path + ".bmp")
    if not os.path.isfile(path):
        return ["missing"]
    try:
        w, h, rgb = read_bmp(path)
    except (ValueError, struct.error) as e:
        return [str(e)]
    if (w, h) != (sheet.w, sheet.h):
        return ["size %dx%d, want %dx%d" % (w, h, sheet.w, sheet.h)]
    if not sheet.key:
        return []
    key = catalogue.KEYS[sheet.key]
    n = w * h
    errors = []
    exact = channel_flags(rgb, key, lambda v, k: v == k)
    near = channel_flags(rgb, key, lambda v, k: abs(v - k) <= FRINGE) & ~exact
    flags = near.to_bytes(n, "big")
    fringe = 0
    i = flags.find(1)
    while i >= 0:
        if sum((rgb[3 * i + c] - key[c]) ** 2 for c in range(3)) <= FRINGE * FRINGE:
            fringe += 1
            if fringe == 1:
                errors.append("near-key pixel %s at (%d, %d)" % (tuple(rgb[3 * i:3 * i + 3]), i % w, i // w))
        i = flags.find(1, i + 1)
    if fringe > 1:
        errors.append("%d near-key pixels in all" % fringe)
    zone = bytes(zone_map(sheet))
    outside = int.from_bytes(zone.translate(bytes(1 if v == ZONE_OUT else 0 for v in range(256))), "big")
    solid = int.from_bytes(zone.translate(bytes(1 if v == ZONE_SOLID else 0 for v in range(256))), "big")
    stray = bin(outside & ~exact).count("1")
    if stray:
        errors.append("%d pixels outside the cells are not the key" % stray)
    holes = bin(solid & exact).count("1")
    if holes:
        errors.append("%d key pixels inside solid cells" % holes)
    if sheet.key == "green":
        cand = channel_flags(rgb, key, lambda v, k: v >= 120 if k == 255 else v <= 150) & ~exact
        flags = cand.to_bytes(n, "big")
        green = 0
        i = flags.find(1)
        while i >= 0:
            r, g, b = rgb[3 * i:3 * i + 3]
            if g - max(r, b) > 90:
                green += 1
            i = flags.find(1, i + 1)
        if green:
            errors.append("%d plainly green pixels besides the key" % green)
    kb = bytes(key)
    for c in sheet.cells:
        if c.mode == "sprite" and all(rgb[3 * (y * w + c.l):3 * (y * w + c.r)] == kb * (c.r - c.l)
                                      for y in range(c.t, c.b)):
            errors.append("sprite cell %s (%d, %d)-(%d, %d) is all key" % (c.name, c.l, c.t, c.r, c.b))
    for prefix, sides in CLEAR_EDGES.get(sheet.path, {}).items():
        for c in sheet.cells:
            if not c.name.startswith(prefix):
                continue
            edges = {"l": [(c.l, y) for y in range(c.t, c.b)], "r": [(c.r - 1, y) for y in range(c.t, c.b)],
                     "t": [(x, c.t) for x in range(c.l, c.r)], "b": [(x, c.b - 1) for x in range(c.l, c.r)]}
            for side in sides:
                if any(rgb[3 * (y * w + x):3 * (y * w + x) + 3] != kb for (x, y) in edges[side]):
                    errors.append("sprite cell %s touches its %s edge" % (c.name, EDGE_NAMES[side]))
    return errors


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    failed = 0
    for sheet in catalogue.SHEETS:
        errors = check_sheet(sys.argv[1], sheet)
        for e in errors:
            print("bitmap/%s.bmp: %s" % (sheet.path, e))
        failed += bool(errors)
    print("%d of %d bitmaps ok" % (len(catalogue.SHEETS) - failed, len(catalogue.SHEETS)))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
