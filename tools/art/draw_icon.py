#!/usr/bin/env python3
"""Draws the application icon: the mire-lamp lit on a mire-blue plate.

Usage: draw_icon.py [OUT]    (default: dist/icons/ossmire.svg)

The desktop's PNG sizes are rendered from this one SVG by the build, so the
shapes stay bold enough to read at 16 px: a big lamp, a wide glow, few lines.
"""

import os
import sys

from artkit import GLOW, GOLD, INK, MIRE, MIRE_BLUE, MIST, SLATE, Svg
from draw_screens import glow, lamp

SIZE = 256
OUT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "dist", "icons",
                                    "ossmire.svg"))


def draw(s):
    # The panel plate of the HUD: mire blue, slate rim, a thin lamp-gold line.
    s.rect(8, 8, 248, 248, s.linear([(0, MIRE_BLUE), (1, MIRE)]), SLATE, 8, rx=44)
    s.rect(18, 18, 238, 238, "none", GOLD, 2.5, rx=36, opacity=0.8)
    s.clip_path("M22,60 a38,38 0 0 1 38,-38 h136 a38,38 0 0 1 38,38 v136 a38,38 0 0 1 -38,38 h-136 "
                "a38,38 0 0 1 -38,-38 z")
    # Calm water with the lamp's reflection and a few pale ripple lines.
    s.rect(22, 190, 234, 234, s.linear([(0, "#1a2436"), (1, MIRE)]))
    s.ellipse(128, 206, 52, 10, s.radial([(0, GLOW, 0.7), (0.5, GOLD, 0.35), (1, GOLD, 0)]))
    for x0, y, w in ((36, 214, 44), (170, 220, 50), (92, 228, 72)):
        s.path("M%g,%g q%g,-4 %g,0" % (x0, y, w / 2, w), stroke=MIST, sw=3, opacity=0.7)
    s.end()
    glow(s, 128, 105, 110, GOLD, 0.9)
    lamp(s, 128, 200, 176)
    s.rect(8, 8, 248, 248, "none", INK, 3, rx=44)


def main(argv):
    out = argv[1] if len(argv) > 1 else OUT
    s = Svg(SIZE, SIZE)
    draw(s)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "w", encoding="utf-8") as f:
        f.write(s.render())
    print(out)


if __name__ == "__main__":
    main(sys.argv)
