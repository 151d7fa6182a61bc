#!/usr/bin/env python3
"""Converts one sheet's SVG into the game's 24-bit BMP.

Usage: svg2bmp.py SHEET IN.svg OUT.bmp      (SHEET as in cells.py, e.g. play/chip)

rsvg-convert renders the SVG and ImageMagick hands back its raw pixels: unkeyed
sheets flattened onto black, keyed sheets with their coverage, which decides
here what becomes the key (see render_keyed). Then, for keyed sheets:
  - outside every cell, and inside empty cells: exactly the key;
  - near-key anti-aliasing fringes in sprite cells: snapped to the key;
  - near-key or key pixels in solid cells: pushed away, so they stay opaque.
The BMP is written here too (bottom-up BI_RGB, rows padded to 4 bytes) so the
result does not depend on ImageMagick's choice of BMP flavour.
"""

import os
import re
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cells as catalogue  # noqa: E402

SNAP = 28  # wider than the checker's 24, so nothing borderline survives
ZONE_OUT, ZONE_SPRITE, ZONE_SOLID, ZONE_EMPTY = 0, 1, 2, 3
MODE_ZONE = {"sprite": ZONE_SPRITE, "solid": ZONE_SOLID, "empty": ZONE_EMPTY}
AWAY = {(0, 0, 0): (40, 40, 40), (0, 255, 0): (40, 200, 40)}
EDGE = (48, 52, 56)


def render(svg_path, w, h, channels):
    png = subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), svg_path],
                         check=True, stdout=subprocess.PIPE).stdout
    args = ["-background", "#000000", "-alpha", "remove", "-alpha", "off"] if channels == "rgb" else []
    raw = subprocess.run(["convert", "png:-"] + args + ["-depth", "8", channels + ":-"],
                         input=png, check=True, stdout=subprocess.PIPE).stdout
    if len(raw) != w * h * len(channels):
        raise SystemExit("%s: rendered %d bytes, expected %dx%d %s" % (svg_path, len(raw), w, h, channels))
    return raw


def render_keyed(svg_path, w, h, key):
    """Renders on transparency: pixels less than half covered become the key, partly
    covered edge pixels are blended toward dark grey rather than toward the key, so
    no fringe of the key colour (a green halo, say) survives around a sprite."""
    rgba = render(svg_path, w, h, "rgba")
    alpha = rgba[3::4]
    rgb = bytearray(3 * w * h)
    rgb[0::3], rgb[1::3], rgb[2::3] = rgba[0::4], rgba[1::4], rgba[2::4]
    kb = bytes(key)
    clear = alpha.translate(bytes(1 if v < 128 else 0 for v in range(256)))
    for m in re.finditer(rb"\x01+", clear):
        rgb[3 * m.start():3 * m.end()] = kb * (m.end() - m.start())
    edge = alpha.translate(bytes(1 if 128 <= v < 255 else 0 for v in range(256)))
    i = edge.find(1)
    while i >= 0:
        a = alpha[i]
        for c in range(3):
            rgb[3 * i + c] = (rgb[3 * i + c] * a + EDGE[c] * (255 - a) + 127) // 255
        i = edge.find(1, i + 1)
    return rgb


def channel_flags(buf, key, pred):
    """Per-pixel flag bytes (1 where all three channels satisfy pred) as one big int."""
    acc = None
    for ch in range(3):
        table = bytes(1 if pred(v, key[ch]) else 0 for v in range(256))
        flags = int.from_bytes(bytes(buf[ch::3]).translate(table), "big")
        acc = flags if acc is None else acc & flags
    return acc


def near_key_pixels(buf, key, dist, exact_too=0):
    """Indices of pixels within Euclidean distance `dist` of key, but not exactly the
    key unless their bit is set in the per-pixel flag int `exact_too`."""
    n = len(buf) // 3
    near = channel_flags(buf, key, lambda v, k: abs(v - k) <= dist)
    near &= ~channel_flags(buf, key, lambda v, k: v == k) | exact_too
    flags = near.to_bytes(n, "big")
    d2 = dist * dist
    out = []
    i = flags.find(1)
    while i >= 0:
        p = 3 * i
        if sum((buf[p + c] - key[c]) ** 2 for c in range(3)) <= d2:
            out.append(i)
        i = flags.find(1, i + 1)
    return out


def zone_map(sheet):
    zone = bytearray(sheet.w * sheet.h)
    for c in sheet.cells:
        z = bytes([MODE_ZONE[c.mode]]) * (c.r - c.l)
        for y in range(max(c.t, 0), min(c.b, sheet.h)):
            zone[y * sheet.w + c.l:y * sheet.w + c.r] = z
    return zone


def clean(buf, sheet):
    key = catalogue.KEYS[sheet.key]
    zone = zone_map(sheet)
    kb = bytes(key)
    for m in re.finditer(rb"[\x00\x03]+", bytes(zone)):
        buf[3 * m.start():3 * m.end()] = kb * (m.end() - m.start())
    away = bytes(AWAY[key])
    solid = int.from_bytes(bytes(zone).translate(bytes(1 if v == ZONE_SOLID else 0 for v in range(256))), "big")
    for i in near_key_pixels(buf, key, SNAP, solid):
        z = zone[i]
        if z == ZONE_SOLID:
            buf[3 * i:3 * i + 3] = away
        elif z == ZONE_SPRITE:
            buf[3 * i:3 * i + 3] = kb


def bmp_bytes(buf, w, h):
    bgr = bytearray(len(buf))
    bgr[0::3], bgr[1::3], bgr[2::3] = buf[2::3], buf[1::3], buf[0::3]
    stride = (w * 3 + 3) & ~3
    pad = bytes(stride - w * 3)
    rows = [bytes(bgr[y * w * 3:(y + 1) * w * 3]) + pad for y in range(h - 1, -1, -1)]
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def convert(sheet, svg_path, out_path):
    if sheet.key:
        buf = render_keyed(svg_path, sheet.w, sheet.h, catalogue.KEYS[sheet.key])
        clean(buf, sheet)
    else:
        buf = bytearray(render(svg_path, sheet.w, sheet.h, "rgb"))
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    tmp = out_path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(bmp_bytes(buf, sheet.w, sheet.h))
    os.replace(tmp, out_path)


def main():
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    convert(catalogue.sheet(sys.argv[1]), sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    main()
