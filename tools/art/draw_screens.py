#!/usr/bin/env python3
"""Draws the title, wipe, game over, ending and editor sheets.

Usage: draw_screens.py [DIR] [SHEET ...]    e.g. draw_screens.py opening/background02
"""

import math
import sys

from artkit import (BLUE, BONE, BONE_SHADE, DISPLAY, EMBER, GLOW, GOLD, INK, JP_SERIF, MIRE, MIRE_BLUE,
                    PLUM, RED, SANS, SLATE, Svg, cell, rng, run, star_points)
from draw_play import KEY_COLOURS, key_shape, label, mire_night

GOLD_FILL = [(0, "#fffbe0"), (0.4, "#ffd66a"), (0.75, GOLD), (1, "#c0782a")]


def lamp(s, cx, base, h, flame=1.0, stone=BONE, shade=BONE_SHADE):
    """The mire-lamp: a tiered stone lantern of height h standing on (cx, base)."""
    u = h / 100.0
    s.poly([(cx - 34 * u, base), (cx + 34 * u, base), (cx + 26 * u, base - 10 * u), (cx - 26 * u, base - 10 * u)],
           stone, INK, max(1, 2 * u))
    s.rect(cx - 8 * u, base - 34 * u, cx + 8 * u, base - 10 * u, shade, INK, max(1, 2 * u))
    s.poly([(cx - 22 * u, base - 34 * u), (cx + 22 * u, base - 34 * u), (cx + 18 * u, base - 40 * u),
            (cx - 18 * u, base - 40 * u)], stone, INK, max(1, 2 * u))
    s.rect(cx - 15 * u, base - 68 * u, cx + 15 * u, base - 40 * u, shade, INK, max(1, 2 * u))
    s.rect(cx - 9 * u, base - 63 * u, cx + 9 * u, base - 45 * u,
           s.radial([(0, "#ffffff"), (0.5, GLOW), (1, GOLD)]) if flame else "#2a2230", INK, max(1, 1.5 * u))
    if flame:
        s.path("M%g,%g q%g,%g 0,%g q%g,%g 0,%g z" % (cx, base - 46 * u, -6 * u * flame, -8 * u * flame,
                                                   -15 * u * flame, 6 * u * flame, 7 * u * flame, 15 * u * flame),
               fill=EMBER)
    s.poly([(cx - 30 * u, base - 68 * u), (cx, base - 90 * u), (cx + 30 * u, base - 68 * u)], stone, INK,
           max(1, 2 * u))
    s.path("M%g,%g q%g,%g %g,%g" % (cx - 30 * u, base - 68 * u, 4 * u, -2 * u, 8 * u, -7 * u), stroke=stone,
           sw=max(1, 2 * u))
    s.circle(cx, base - 94 * u, 4.5 * u, stone, INK, max(1, 1.5 * u))


def glow(s, cx, cy, r, col=GOLD, strength=0.55):
    s.circle(cx, cy, r, s.radial([(0, col, strength), (0.4, col, strength * 0.45), (1, col, 0)]))


def floating_slabs(s, hx, hy, rows, seed, spread=1.0, lit=False):
    """Slabs on the water in perspective, converging to the horizon point (hx, hy)."""
    r = rng(seed)
    for k in range(rows):
        d = (k + 1) / rows  # 0 far .. 1 near
        y = hy + (480 - hy) * d * d
        w = 10 + 80 * d * d
        for j in (-2, -1, 0, 1, 2):
            x = hx + j * (w * 1.6 + 30 * d) * spread + (r() - 0.5) * 20 * d
            if r() < 0.3:
                continue
            s.poly([(x - w / 2, y), (x + w / 2, y), (x + w / 2 * 0.92, y - w * 0.22), (x - w / 2 * 0.92, y - w * 0.22)],
                   BONE if not lit else "#fff3c4", INK, max(0.6, 1.5 * d), opacity=0.5 + 0.5 * d)
            if lit:
                glow(s, x, y - w * 0.1, w * 0.7, GOLD, 0.35)


def slab_path(s, x0, y0, x1, y1, n, size=70, lit=False, seed=1):
    """A line of floating boards from the foreground (x0, y0) to the horizon (x1, y1)."""
    r = rng(seed)
    for k in range(n - 1, -1, -1):
        d = 1 - k / float(n)  # 1 near .. 0 far
        f = d ** 1.8
        x = x1 + (x0 - x1) * f + (r() - 0.5) * 16 * f
        y = y1 + (y0 - y1) * f
        w = 6 + size * f
        hgt = w * 0.3
        if lit:
            glow(s, x, y, w * 0.9, GOLD, 0.3)
        s.poly([(x - w / 2, y), (x + w / 2, y), (x + w * 0.42, y - hgt), (x - w * 0.42, y - hgt)],
               "#fff3c4" if lit else BONE, INK, max(0.6, 2 * f))
        s.rect(x - w / 2, y, x + w / 2, y + max(1, hgt * 0.25), BONE_SHADE, INK, max(0.5, 1.2 * f))
        s.path("M%g,%g q%g,%g %g,0" % (x - w * 0.7, y + hgt * 0.5, w * 0.7, hgt * 0.4, w * 1.4), stroke="#3a4a6a",
               sw=max(0.6, 1.5 * f))


def horizon_sky(s, top, bottom, hy):
    s.rect(0, 0, 640, hy, s.linear([(0, top), (1, bottom)]))
    r = rng(5)
    for _ in range(90):
        s.circle(r() * 640, r() * hy * 0.9, 0.5 + r() * 1.2, "#fff6dc", opacity=0.3 + 0.6 * r())


# ------------------------------------------------------------------ title

def title_background(s, sh):
    hy = 210
    horizon_sky(s, "#0a1024", "#2a2450", hy)
    s.rect(0, hy, 640, 480, s.linear([(0, "#1a2038"), (1, "#0a0e18")]))
    glow(s, 520, hy - 10, 160, GOLD, 0.45)
    s.rect(0, hy - 4, 640, hy + 4, "#3a3a5a", opacity=0.6)
    lamp(s, 520, hy + 6, 60)
    s.path("M420,%g h200" % (hy + 14), stroke=GOLD, sw=2, opacity=0.5)
    s.path("M450,%g h140" % (hy + 22), stroke=GOLD, sw=1.5, opacity=0.35)
    slab_path(s, 300, 470, 516, hy + 8, 11, 90, seed=3)
    slab_path(s, 600, 430, 540, hy + 8, 6, 50, seed=4)
    # the menu side stays dark and calm
    s.rect(0, 0, 410, 480, s.linear([(0, "#05080f", 0.75), (0.85, "#05080f", 0.5), (1, "#05080f", 0)], 0, 0, 1, 0))
    # the two best-time panels
    for t in (250, 360):
        s.rect(384, t, 634, t + 102, MIRE_BLUE, GOLD, 1.5, rx=8, opacity=0.85)
        s.rect(388, t + 4, 630, t + 98, "none", "#5a6a86", 1, rx=6)
    s.text(40, 470, "\u00a9 OSSMIRE  \u6cbc\u706f\u306e\u76e4", 12, "#8b97ad", SANS, anchor="start", weight="normal")
    # the logo
    s.group(transform="translate(508 60)")
    s.lettering(0, 0, "OSSMIRE", 44, s.linear(GOLD_FILL), DISPLAY, ink_w=7)
    s.end()
    s.text(512, 88, "\u30aa \u30b9 \u30de \u30a4 \u30a2", 14, "#c7bba2", JP_SERIF)
    for x in (448, 576):
        s.path("M%g,%g q-5,-8 0,-15 q5,7 0,15 z" % (x, 88), fill=EMBER)


def doors(s, sh):
    r = rng(9)
    for l in (0, 320):
        s.rect(l, 0, l + 320, 480, s.linear([(0, "#4a2e1c"), (0.5, "#3a2214"), (1, "#2a180e")], 0, 0, 1, 0))
        for k in range(8):  # planks
            x = l + 40 * k
            s.rect(x, 0, x + 40, 480, s.linear([(0, "#5a3a22"), (1, "#3e2616")], 0, 0, 1, 0), opacity=0.6)
            s.line(x, 0, x, 480, "#24140a", 2)
            for _ in range(3):
                y = r() * 480
                s.path("M%g,%g q6,%g 0,%g" % (x + 10 + 20 * r(), y, 8, 40), stroke="#6a4628", sw=1.2, opacity=0.6)
        for y in (40, 424):  # iron bands with rivets
            s.rect(l, y, l + 320, y + 22, s.linear([(0, "#6a7284"), (1, "#2e3444")]), INK, 2)
            for x in range(l + 14, l + 320, 34):
                s.circle(x, y + 11, 4, "#8a92a6", INK, 1.2)
        s.rect(l, 0, l + 320, 480, "none", INK, 6)
    # seam, then the lamp emblem split across both doors
    s.rect(316, 0, 324, 480, "#1a0e08")
    cx, cy = 320, 236
    s.circle(cx, cy, 92, s.radial([(0, "#fff3c4"), (0.6, GOLD), (1, "#a8701c")]), INK, 4)
    s.circle(cx, cy, 80, "none", "#7a4a14", 3)
    for a in range(0, 360, 15):
        t = math.radians(a)
        s.line(cx + 84 * math.cos(t), cy + 84 * math.sin(t), cx + 90 * math.cos(t), cy + 90 * math.sin(t), "#7a4a14",
               2)
    lamp(s, cx, cy + 58, 110, stone="#fff6dc", shade="#e8d8b0")
    s.rect(318.5, cy - 94, 321.5, cy + 94, "#1a0e08")
    for x in (300, 340):  # ring handles
        s.circle(x, 404, 10, "none", "#c0a060", 4)
        s.circle(x, 392, 4, "#8a92a6", INK, 1.2)
    s.group(transform="translate(320 130)")
    s.lettering(0, 0, "OSSMIRE", 54, s.linear(GOLD_FILL), DISPLAY, ink_w=9)
    s.end()
    s.rect(316, 70, 324, 150, "#1a0e08", opacity=0.6)
    s.rect(150, 334, 490, 386, "#1a0e08", opacity=0.55, rx=10)


def opening_st(s, sh):
    for i in range(3):
        c = cell(sh, "prompt %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        fill = [s.linear([(0, "#fff6dc"), (1, "#c7bba2")]), s.linear([(0, "#fffbe0"), (1, "#ffd66a")]),
                s.linear(GOLD_FILL)][i]
        s.group(transform="translate(%g %g)" % (c.l + 160, c.b - 10))
        s.lettering(0, 0, "PRESS  Z  KEY", 26, fill, DISPLAY, ink_w=5, rim=("#c7bba2", "#fff6dc", "#ffffff")[i],
                    xml_space="preserve")
        s.end()
        for k in range(i + 1):
            for side in (-1, 1):
                x = c.l + 160 + side * (120 + 10 * k)
                s.path("M%g,%g q-4,-6 0,-12 q4,6 0,12 z" % (x, c.t + 27), fill=(GOLD, EMBER, GLOW)[k], stroke=INK, sw=1)
        s.end()
    c = cell(sh, "cursor bar")
    s.clip(c.l, c.t, c.r, c.b)
    # the tip stops short of x 384, where the best-time panels begin
    s.poly([(c.l + 2, c.t + 3), (c.r - 46, c.t + 3), (c.r - 23, c.t + 20), (c.r - 46, c.b - 3), (c.l + 2, c.b - 3)],
           s.linear([(0, "#8a4a1c"), (0.5, "#5a2e14"), (1, "#3a2010")], 0, 0, 1, 0), INK, 2.5)
    s.poly([(c.l + 6, c.t + 7), (c.r - 48, c.t + 7), (c.r - 30, c.t + 20), (c.r - 48, c.b - 7), (c.l + 6, c.b - 7)],
           "none", GOLD, 1.5)
    s.circle(c.l + 50, c.t + 20, 12, "#a8701c", INK, 1.5)
    s.path("M%g,%g q-7,-9 0,-17 q7,8 0,17 z" % (c.l + 50, c.t + 29), fill=GLOW, stroke=EMBER, sw=2)
    s.end()


def sweep(s, sh):
    """The wipe, and the backdrop of the all-clear message: its sunburst sits at (240, 198)."""
    cx, cy = 240, 198
    mire_night(s, 640, 480, seed=21, stars=120)
    glow(s, cx, cy, 320, GOLD, 0.4)
    for k in range(18):  # rays of the lamp
        a = math.radians(k * 20 + 10)
        s.poly([(cx, cy), (cx + 800 * math.cos(a - 0.05), cy + 800 * math.sin(a - 0.05)),
                (cx + 800 * math.cos(a + 0.05), cy + 800 * math.sin(a + 0.05))], GLOW, opacity=0.1)
    slab_path(s, 40, 470, cx - 10, cy + 60, 9, 80, lit=True, seed=13)
    slab_path(s, 440, 470, cx + 10, cy + 60, 9, 80, lit=True, seed=14)
    slab_path(s, 620, 330, cx + 30, cy + 50, 7, 50, lit=True, seed=15)
    s.group(transform="translate(540 462)")
    s.lettering(0, 0, "OSSMIRE", 34, s.linear(GOLD_FILL), DISPLAY, ink_w=6)
    s.end()


# ------------------------------------------------------------------ game over and ending

def gameover_background(s, sh):
    hy = 290
    horizon_sky(s, "#0c0a14", "#2a1428", hy)
    s.rect(0, hy, 640, 480, s.linear([(0, "#1c1222"), (1, "#08060c")]))
    lamp(s, 530, hy + 4, 64, flame=0)  # the lamp has gone out
    s.path("M470,%g h120" % (hy + 10), stroke="#4a3a58", sw=1.5)
    r = rng(17)
    for k in range(6):  # slabs going under
        x, y, w = 40 + 90 * k + 20 * r(), hy + 40 + 130 * r(), 40 + 30 * r()
        s.poly([(x, y), (x + w, y - w * 0.2), (x + w, y - w * 0.05), (x, y + w * 0.15)], "#6a6478", INK, 1.5)
        s.path("M%g,%g q%g,-4 %g,0" % (x - 10, y + w * 0.1, w / 2 + 10, w + 20), stroke="#4a3a58", sw=1.5)
    for _ in range(90):  # cold rain
        x, y = r() * 640, r() * 480
        s.line(x, y, x - 6, y + 18, "#6a6a90", 1, opacity=0.35)
    # Nell's lantern, still lit, adrift
    glow(s, 120, 420, 70, GOLD, 0.4)
    s.rect(110, 404, 130, 428, "#c89a3c", INK, 2, rx=3)
    s.rect(114, 408, 126, 424, GLOW)
    s.path("M112,404 q8,-14 16,0", stroke=INK, sw=2)
    s.rect(150, 220, 490, 272, "#e8dcc4", "#6a2a3a", 2.5, rx=10)
    s.rect(155, 225, 485, 267, "none", "#b89a68", 1, rx=7)


def banner(text, fill_stops, band, edge):
    def draw(s, sh):
        c = sh.cells[0]
        s.rect(c.l, c.t + 14, c.r, c.b - 14, s.linear([(0, edge), (0.5, band), (1, edge)]))
        s.rect(c.l, c.t + 14, c.r, c.t + 18, GOLD)
        s.rect(c.l, c.b - 18, c.r, c.b - 14, GOLD)
        s.rect(c.l, c.t + 11, c.r, c.t + 14, INK)
        s.rect(c.l, c.b - 14, c.r, c.b - 11, INK)
        for x in range(16, 640, 48):
            s.poly([(x, 50), (x + 5, 45), (x + 10, 50), (x + 5, 55)], GOLD, opacity=0.5)
        s.group(transform="translate(320 74)")
        s.lettering(0, 0, text, 62, s.linear(fill_stops), DISPLAY, ink_w=10, xml_space="preserve")
        s.end()
    return draw


def ending_background(s, sh):
    hy = 200
    horizon_sky(s, "#060a1c", "#1a2250", hy)
    s.rect(0, hy, 640, 480, s.linear([(0, "#141c38"), (1, "#0a1020")]))
    r = rng(23)
    for _ in range(180):  # the whole mire shines like a night sky
        x, y = r() * 640, hy + 4 + (480 - hy) * r() ** 1.3
        k = (y - hy) / (480 - hy)
        s.rect(x, y, x + 3 + 12 * k, y + 1 + 3 * k, "#fff3c4", opacity=0.4 + 0.5 * r())
    for _ in range(40):
        s.poly(star_points(r() * 640, r() * hy, 3, 1.2), GLOW, opacity=0.7)
    glow(s, 320, 420, 220, GOLD, 0.6)  # the lamp blazing in the foreground
    lamp(s, 320, 478, 118)
    glow(s, 320, 404, 40, "#ffffff", 0.7)
    s.rect(80, 186, 500, 352, MIRE_BLUE, GOLD, 2, rx=12, opacity=0.82)
    s.rect(86, 192, 494, 346, "none", "#5a6a86", 1, rx=9)


def ending_st(s, sh):
    s.poly(star_points(20, 21, 18.5, 8), s.linear([(0, "#fffbe0"), (0.5, GOLD), (1, "#c0782a")]), INK, 2)
    s.poly(star_points(17, 17, 5, 2), "#ffffff")
    s.poly(star_points(20, 61, 17, 7.5), "#3b4659", "#8b97ad", 2)
    for i in range(2):
        c = cell(sh, "record %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        fill, fg = ((RED, "#fff6dc"), (GOLD, "#6a1c1c"))[i]
        s.poly([(c.l + 4, c.t + 6), (c.r - 4, c.t + 6), (c.r - 10, c.t + 20), (c.r - 4, c.b - 6), (c.l + 4, c.b - 6),
                (c.l + 10, c.t + 20)], fill, INK, 2)
        s.text(c.l + 40, c.t + 18.5, "NEW", 12, fg, DISPLAY, weight="normal")
        s.text(c.l + 40, c.t + 31, "RECORD!", 12, fg, DISPLAY, weight="normal")
        s.end()


# ------------------------------------------------------------------ editor

def edit(s, sh):
    for name, text, col in (("T10", "10", BLUE), ("T5", "5", "#2a9a8a"), ("T20", "20", "#a84a9a")):
        c = cell(sh, name)
        s.clip(c.l, c.t, c.r, c.b)
        s.rect(c.l, c.t, c.r, c.b, MIRE_BLUE)
        s.rect(c.l + 1.5, c.t + 1.5, c.r - 1.5, c.b - 1.5, s.linear([(0, "#fff6dc"), (1, BONE_SHADE)]), INK, 1.5,
               rx=5)
        s.circle(c.l + 20, c.t + 17, 11, col, INK, 1.5)  # a clock face
        s.path("M%g,%g v-7 M%g,%g l5,3" % (c.l + 20, c.t + 17, c.l + 20, c.t + 17), stroke="#ffffff", sw=2)
        s.text(c.l + 20, c.t + 37, "\u00b1" + text, 11, INK, SANS)
        s.end()
    for name, col, mark in (("SAVE", "#2a5a9a", "save"), ("CLEAR", "#9a2a2a", "clear")):
        c = cell(sh, name)
        s.clip(c.l, c.t, c.r, c.b)
        s.rect(c.l, c.t, c.r, c.b, MIRE_BLUE)
        s.rect(c.l + 1.5, c.t + 2.5, c.r - 1.5, c.b - 2.5, s.linear([(0, col), (1, INK)]), INK, 1.5, rx=8)
        s.rect(c.l + 4, c.t + 5, c.r - 4, c.b - 5, "none", GOLD, 1, rx=6)
        if mark == "save":  # a rolled map
            s.rect(c.l + 14, c.t + 12, c.l + 30, c.t + 28, BONE, INK, 1.5, rx=2)
            s.line(c.l + 17, c.t + 18, c.l + 27, c.t + 18, "#8a6a40", 1.2)
            s.line(c.l + 17, c.t + 22, c.l + 27, c.t + 22, "#8a6a40", 1.2)
        else:  # an eraser sweep
            s.path("M%g,%g l8,-12 l8,6 l-8,12 z" % (c.l + 14, c.t + 26), fill=BONE, stroke=INK, sw=1.5)
        s.text(c.l + 74, c.t + 27, name, 17, "#fff6dc", DISPLAY, weight="normal", stroke=INK, sw=3)
        s.end()


DRAWERS = {
    "opening/background01": title_background,
    "opening/background02": doors,
    "opening/st": opening_st,
    "sweep": sweep,
    "gameover/background": gameover_background,
    "gameover/gameover": banner("GAME  OVER", [(0, "#ffd0b0"), (0.4, "#ff7a5a"), (0.8, RED), (1, "#801c24")],
                                "#3a1420", "#1c0a12"),
    "ending/background": ending_background,
    "ending/cleartime": banner("CLEAR  TIME", GOLD_FILL, "#2a3a60", "#121a30"),
    "ending/st": ending_st,
    "edit/Edit": edit,
}

if __name__ == "__main__":
    run(DRAWERS, sys.argv)
