#!/usr/bin/env python3
"""Writes the placeholder SVG sheets and the cell map content/art/CELLS.md.

Usage: make_placeholders.py [--cells-md] [CONTENT_ART_DIR]   (default: content/art next to tools/)

With --cells-md only CELLS.md is written. Without it every SVG is overwritten
with its placeholder, so point it at a scratch directory: the finished art in
content/art comes from the draw_*.py drawers.

Every sheet is drawn from the cell table in cells.py, so each cut the game
makes shows a flat, outlined, labelled picture. Keyed sheets are transparent
outside their shapes; the converter puts the key colour there. Colours close
to a key are avoided on purpose (the converter would turn them transparent).
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cells as catalogue  # noqa: E402

SANS = "DejaVu Sans"
DARK = "#303438"  # outline colour that stays well away from the black key


def esc(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


class Svg:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.defs, self.parts = [], []
        self.clip_count = 0
        if bg:
            self.rect(0, 0, w, h, bg)

    def add(self, s):
        self.parts.append(s)

    def rect(self, l, t, r, b, fill, stroke=None, sw=2, rx=0, opacity=None, crisp=True):
        a = ['x="%g" y="%g" width="%g" height="%g"' % (l, t, r - l, b - t), 'fill="%s"' % fill]
        if stroke:
            a.append('stroke="%s" stroke-width="%g"' % (stroke, sw))
        if rx:
            a.append('rx="%g"' % rx)
        if opacity is not None:
            a.append('opacity="%g"' % opacity)
        if crisp and not rx:
            a.append('shape-rendering="crispEdges"')
        self.add("<rect %s/>" % " ".join(a))

    def frame(self, l, t, r, b, stroke, sw=2):
        """An outline lying fully inside (l, t)-(r, b)."""
        h = sw / 2.0
        self.rect(l + h, t + h, r - h, b - h, "none", stroke, sw)

    def text(self, x, y, s, size, fill, anchor="middle", weight="bold", family=SANS,
             stroke=None, sw=1, opacity=None):
        a = ['x="%g" y="%g"' % (x, y), 'font-family="%s"' % family, 'font-size="%g"' % size,
             'font-weight="%s"' % weight, 'fill="%s"' % fill, 'text-anchor="%s"' % anchor]
        if stroke:
            a.append('stroke="%s" stroke-width="%g" paint-order="stroke"' % (stroke, sw))
        if opacity is not None:
            a.append('opacity="%g"' % opacity)
        self.add("<text %s>%s</text>" % (" ".join(a), esc(s)))

    def ctext(self, l, t, r, b, s, size, fill, **kw):
        """Text centred in a box, shrunk to fit its width."""
        size = fit(s, r - l, size)
        self.text((l + r) / 2.0, (t + b) / 2.0 + 0.36 * size, s, size, fill, **kw)

    def circle(self, cx, cy, rad, fill, stroke=None, sw=2, opacity=None):
        a = 'cx="%g" cy="%g" r="%g" fill="%s"' % (cx, cy, rad, fill)
        if stroke:
            a += ' stroke="%s" stroke-width="%g"' % (stroke, sw)
        if opacity is not None:
            a += ' opacity="%g"' % opacity
        self.add("<circle %s/>" % a)

    def poly(self, pts, fill, stroke=None, sw=2):
        a = 'points="%s" fill="%s"' % (" ".join("%g,%g" % p for p in pts), fill)
        if stroke:
            a += ' stroke="%s" stroke-width="%g" stroke-linejoin="round"' % (stroke, sw)
        self.add("<polygon %s/>" % a)

    def path(self, d, fill="none", stroke=None, sw=2):
        a = 'd="%s" fill="%s"' % (d, fill)
        if stroke:
            a += ' stroke="%s" stroke-width="%g" stroke-linecap="round" stroke-linejoin="round"' % (stroke, sw)
        self.add("<path %s/>" % a)

    def gradient(self, gid, stops, x2=0, y2=1, radial=False):
        st = "".join('<stop offset="%g" stop-color="%s"/>' % s for s in stops)
        if radial:
            self.defs.append('<radialGradient id="%s">%s</radialGradient>' % (gid, st))
        else:
            self.defs.append('<linearGradient id="%s" x1="0" y1="0" x2="%g" y2="%g">%s</linearGradient>'
                             % (gid, x2, y2, st))
        return "url(#%s)" % gid

    def clip(self, l, t, r, b):
        """Opens a group clipped to a cell, so nothing spills into its neighbours."""
        self.clip_count += 1
        cid = "c%d" % self.clip_count
        self.defs.append('<clipPath id="%s"><rect x="%d" y="%d" width="%d" height="%d"/></clipPath>'
                         % (cid, l, t, r - l, b - t))
        self.add('<g clip-path="url(#%s)">' % cid)

    def end(self):
        self.add("</g>")

    def render(self):
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
                '<defs>%s</defs>\n%s\n</svg>\n'
                % (self.w, self.h, self.w, self.h, "".join(self.defs), "\n".join(self.parts)))


def fit(s, width, size):
    return min(size, (width - 8) / (0.78 * max(1, len(s))))


def label_cell(svg, c, fill, fg, label=None, size=14, stroke=DARK, rx=0, sub=None):
    svg.clip(c.l, c.t, c.r, c.b)
    if rx:
        svg.rect(c.l + 1, c.t + 1, c.r - 1, c.b - 1, fill, stroke, 2, rx=rx)
    else:
        svg.rect(c.l, c.t, c.r, c.b, fill)
        svg.frame(c.l, c.t, c.r, c.b, stroke)
    text = c.name if label is None else label
    if sub:
        svg.ctext(c.l, c.t, c.r, c.t + (c.b - c.t) * 0.62, text, size, fg)
        svg.ctext(c.l, c.t + (c.b - c.t) * 0.55, c.r, c.b - 2, sub, size * 0.5, fg)
    else:
        svg.ctext(c.l, c.t, c.r, c.b, text, size, fg)
    svg.end()


def star_points(cx, cy, ro, ri, n=5):
    pts = []
    for i in range(2 * n):
        a = math.pi / n * i - math.pi / 2
        rad = ro if i % 2 == 0 else ri
        pts.append((round(cx + rad * math.cos(a), 2), round(cy + rad * math.sin(a), 2)))
    return pts


def cell(sheet, name):
    for c in sheet.cells:
        if c.name == name:
            return c
    raise KeyError(name)


# ---------------------------------------------------------------- full screens

def title_background(s, sh):
    g = s.gradient("sky", [(0, "#101a3a"), (1, "#2c1c4c")])
    s.rect(0, 0, 640, 480, g)
    for i in range(40):  # fixed scatter of faint stars
        x, y = (i * 157) % 640, (i * 97) % 480
        s.circle(x, y, 1 + i % 2, "#8090c0", opacity=0.5)
    s.rect(40, 88, 392, 402, "#ffffff", rx=12, opacity=0.07)
    # A small board as the emblem.
    for y in range(8):
        for x in range(8):
            col = "#d8c8a0" if (x * 3 + y * 5) % 7 else "#505860"
            s.rect(440 + 20 * x, 30 + 20 * y, 460 + 20 * x, 50 + 20 * y, col, "#2a2a3a", 1)
    s.path("M450,180 L450,60 L490,60 L490,140 L530,140 L530,60 L590,60 L590,180",
           stroke="#e08030", sw=6)
    s.text(520, 232, "OSSMIRE", 40, "#ffd040", stroke="#402000", sw=3)
    s.rect(380, 250, 636, 472, "#ffffff", rx=10, opacity=0.05)


def doors(s, sh):
    for l in (0, 320):
        s.rect(l, 0, l + 320, 480, "#6b4226")
        s.frame(l, 0, l + 320, 480, "#3d2414", 6)
        s.rect(l + 30, 40, l + 290, 230, "#7d5030", "#3d2414", 3, rx=6)
        s.rect(l + 30, 250, l + 290, 450, "#7d5030", "#3d2414", 3, rx=6)
        for k in range(6):
            s.rect(l + 40, 265 + 30 * k, l + 280, 267 + 30 * k, "#5c3820")
    s.text(312, 160, "OSS", 76, "#ffd040", anchor="end", stroke="#402000", sw=3)
    s.text(328, 160, "MIRE", 76, "#ffd040", anchor="start", stroke="#402000", sw=3)
    s.circle(300, 240, 9, "#e0c060", "#403010")
    s.circle(340, 240, 9, "#e0c060", "#403010")
    s.rect(150, 332, 490, 388, "#2a1a10", rx=8, opacity=0.6)


def play_background(s, sh):
    s.rect(0, 0, 640, 480, s.gradient("bg", [(0, "#1d3346"), (1, "#10202c")]))
    for k in range(0, 640, 32):
        s.rect(k, 0, k + 1, 480, "#23405a")
    s.rect(68, 68, 412, 412, "#5a3b22", "#2e1c0e", 3, rx=6)
    s.rect(78, 78, 402, 402, "#2a1a10")
    s.rect(484, 2, 634, 474, "#27485f", "#7fb0d0", 2, rx=10)
    s.rect(490, 6, 628, 86, "#1a3142", rx=6)
    s.rect(492, 52, 621, 78, "#0e1c26")
    s.rect(490, 88, 628, 162, "#1a3142", rx=6)
    s.rect(494, 163, 620, 287, "#0e1c26", "#7fb0d0", 2)
    s.text(557, 306, "OSSMIRE", 14, "#9fc8e0")
    s.rect(492, 316, 618, 444, "#1a3142", "#7fb0d0", 2)


def pause_panel(s, sh):
    s.rect(0, 0, 640, 480, "#f4ecd0")
    for k in range(0, 640, 40):
        s.poly([(k, 0), (k + 20, 0), (k + 40, 24), (k + 20, 24)], "#e0a040")
        s.poly([(k, 456), (k + 20, 456), (k + 40, 480), (k + 20, 480)], "#e0a040")
    s.rect(0, 24, 640, 28, "#a06020")
    s.rect(0, 452, 640, 456, "#a06020")
    s.rect(170, 60, 470, 170, "#fff8e8", "#a06020", 3, rx=14)
    s.text(320, 138, "PAUSE", 64, "#a04020")
    s.text(320, 440, "Z: OK    X: CLOSE", 16, "#806040")


def shutter(s, sh):
    for k in range(12):
        t = 40 * k
        s.rect(0, t, 640, t + 40, s.gradient("slat%d" % k, [(0, "#9aa4ac"), (0.5, "#c8d0d6"), (1, "#6c767e")]))
        s.rect(0, t + 38, 640, t + 40, "#4a5258")
    s.rect(260, 446, 380, 462, "#4a5258", rx=4)
    s.text(320, 250, "CLOSED", 40, "#5a646c", opacity=0.8)


def gameover_background(s, sh):
    s.rect(0, 0, 640, 480, s.gradient("go", [(0, "#2a1020"), (1, "#10141c")]))
    for k in range(0, 480, 12):
        s.rect(0, k, 640, k + 2, "#1a0c14")
    s.rect(150, 216, 490, 276, "#e8e0e0", "#802030", 3, rx=10)
    s.text(320, 420, "OSSMIRE", 28, "#603040")


def ending_background(s, sh):
    s.rect(0, 0, 640, 480, s.gradient("es", [(0, "#80c8f0"), (0.7, "#d8f0ff"), (1, "#a0d890")]))
    s.rect(0, 400, 640, 480, "#90c870")
    for (x, y, r) in ((90, 60, 26), (120, 50, 30), (150, 64, 22), (470, 40, 24), (500, 30, 30), (535, 44, 22)):
        s.circle(x, y, r, "#ffffff", opacity=0.9)
    for i in range(30):
        x, y = (i * 211) % 640, 200 + (i * 53) % 200
        s.circle(x, y, 3, ["#ff6080", "#ffd040", "#60a0ff"][i % 3], opacity=0.8)


def story_landing(s, sh):
    s.rect(0, 0, 640, 480, s.gradient("dusk", [(0, "#4a3470"), (0.45, "#c07060"), (0.6, "#e0a070")]))
    for i in range(20):
        s.circle((i * 173) % 640, (i * 37) % 140, 1.5, "#fff0d0", opacity=0.8)
    s.rect(0, 288, 640, 480, "#14161c")
    s.circle(470, 286, 4, "#ffd060")
    for k in range(7):  # the first boards, smaller towards the horizon
        w = 90 - 11 * k
        x, y = 330 + 40 * k, 440 - 22 * k
        s.rect(x, y, x + w, y + max(4, 14 - 2 * k), "#e8e4d8", opacity=0.9)
    s.rect(0, 150, 150, 330, "#5a3a22", "#2e1c0e", 3)
    s.poly([(-10, 160), (75, 90), (160, 160)], "#4a5a30")
    s.rect(40, 230, 80, 330, "#2e1c0e")
    s.circle(130, 180, 8, "#ffd060")
    s.rect(140, 318, 280, 330, "#7a5230")
    for x in range(20, 640, 70):
        s.path("M%d,480 l-6,-50 M%d,480 l4,-40" % (x, x + 8), stroke="#3a4a2a", sw=3)
    s.text(320, 30, "THE LANDING (placeholder)", 14, "#f0e0d0", opacity=0.7)


def story_hut(s, sh):
    s.rect(0, 0, 640, 480, s.gradient("hut", [(0, "#5a3a22"), (1, "#2e1c0e")], 1, 0))
    for y in range(0, 480, 48):
        s.rect(0, y, 640, y + 2, "#3a2412")
    s.circle(90, 90, 90, "#ffd080", opacity=0.25)
    s.path("M90,0 L90,60", stroke="#2a1a10", sw=3)
    s.rect(74, 60, 106, 100, "#ffd060", "#603010", 3, rx=6)
    s.circle(540, 150, 70, "#101830", "#8a6040", 10)
    s.circle(520, 130, 3, "#f0f0c0")
    s.circle(565, 170, 2, "#f0f0c0")
    s.rect(20, 360, 250, 380, "#7a5230", "#3a2412", 2)
    s.rect(40, 340, 160, 362, "#f0e0b0", "#8a6040", 1)
    s.rect(470, 260, 630, 268, "#7a5230")
    s.rect(470, 320, 630, 328, "#7a5230")
    for k, col in enumerate(("#a06040", "#c0a060", "#6080a0", "#804040")):
        s.rect(480 + 36 * k, 228, 506 + 36 * k, 260, col, "#2a1a10", 1)
    s.rect(500, 288, 540, 320, "#303030", "#101010", 2)
    s.text(320, 30, "OLGA'S HUT (placeholder)", 14, "#f0d8b0", opacity=0.7)


def story_hollow(s, sh):
    s.rect(0, 0, 640, 480, s.gradient("hol", [(0, "#080c1c"), (1, "#1c1828")]))
    s.circle(320, 200, 160, "#ffc040", opacity=0.12)
    s.rect(0, 330, 640, 480, "#0c0e14")
    for x, h in ((30, 170), (110, 200), (500, 210), (585, 175)):
        s.poly([(x, 340), (x + 14, 340 - h), (x + 44, 345 - h), (x + 50, 340)], "#3a3a44", "#14141c", 2)
    s.rect(220, 300, 420, 340, "#d8d0c0", "#807860", 2)
    s.rect(250, 270, 390, 300, "#d8d0c0", "#807860", 2)
    s.rect(285, 120, 355, 270, "#b8b0a0", "#605848", 2)
    s.poly([(265, 125), (320, 70), (375, 125)], "#a8a090", "#605848", 2)
    s.rect(300, 170, 340, 220, "#ffb030", "#805010", 2)
    s.circle(320, 195, 12, "#fff0a0")
    s.path("M230,340 Q200,380 150,400 M410,340 Q450,380 500,396", stroke="#c8c0b0", sw=5)
    s.text(320, 30, "THE LAMP HOLLOW (placeholder)", 14, "#e0d0a0", opacity=0.7)


def photo(n):
    def draw(s, sh):
        s.rect(0, 0, 320, 240, "#f4ecd8")
        if n == 1:  # sepia: mother with little Nell and Olga at the hut, ten years ago
            s.rect(10, 10, 310, 200, s.gradient("sep", [(0, "#c8b090"), (1, "#806850")]))
            s.rect(20, 40, 150, 170, "#6a5440", "#4a3a2c", 2)
            s.rect(120, 60, 150, 110, "#5a4634")
            s.circle(80, 52, 6, "#f0e0b0")
            s.rect(10, 170, 310, 200, "#5a4838")
            for x, hh, col in ((170, 110, "#8a7058"), (240, 120, "#4a3a2c")):
                s.circle(x + 20, 200 - hh, 14, "#d8c4a0", "#4a3a2c", 1.5)
                s.rect(x + 4, 214 - hh, x + 36, 200, col, "#4a3a2c", 1.5)
            s.circle(205, 112, 8, "#d8c4a0", "#4a3a2c", 1.5)
        else:  # warm colour: Nell and Mire in front of the lit lamp
            s.rect(10, 10, 310, 200, "#140c18")
            for i in range(24):
                s.rect(12 + (i * 53) % 290, 160 + (i * 17) % 36, 20 + (i * 53) % 290, 163 + (i * 17) % 36,
                       "#f0e0b0")
            s.circle(160, 80, 60, "#ffb040", opacity=0.35)
            s.rect(140, 40, 180, 130, "#c0b8a8", "#605848", 2)
            s.rect(150, 70, 170, 100, "#ffd040")
            s.circle(110, 130, 18, "#f8d8b8", "#402010", 2)
            s.rect(92, 150, 128, 200, "#d9a93a", "#402010", 2)
            s.circle(210, 120, 16, "#f8d8b8", "#402010", 2)
            s.path("M194,112 Q210,80 226,112", fill="#f6d77a")
            s.rect(196, 138, 224, 190, "#fff6e6", "#402010", 2)
        s.frame(10, 10, 310, 200, DARK, 2)
        s.text(160, 226, "PHOTO %d" % n, 18, "#404040")
    return draw


def sweep(s, sh):
    s.rect(0, 0, 640, 480, "#183850")
    for k in range(-480, 640, 60):
        s.poly([(k, 480), (k + 30, 480), (k + 510, 0), (k + 480, 0)], "#20506c")
    s.rect(120, 190, 520, 290, "#0c2030", "#f0c040", 4, rx=16)
    s.text(320, 262, "OSSMIRE", 64, "#f0c040")


# ---------------------------------------------------------------- cell sheets

def opening_st(s, sh):
    for i, col in enumerate(("#ffffff", "#fff0a0", "#ffd040")):
        c = cell(sh, "prompt %d" % i)
        label_cell(s, c, "#3a2412", col, "PRESS  Z  KEY", 24, stroke=col, rx=10)
    c = cell(sh, "cursor bar")
    s.clip(c.l, c.t, c.r, c.b)
    s.rect(c.l, c.t + 2, c.r - 20, c.b - 2, s.gradient("bar", [(0, "#c03060"), (1, "#601848")], 1, 0))
    s.poly([(c.r - 20, c.t + 2), (c.r, (c.t + c.b) / 2.0), (c.r - 20, c.b - 2)], "#601848")
    s.poly([(40, c.t + 8), (64, c.t + 20), (40, c.t + 32)], "#ffe060")
    s.end()


TILE_STYLE = [  # fill, text colour
    ("#e8e4d8", "#6a6050"), ("#3a4450", "#a0b0c0"), ("#26282c", "#c0c0c0"),
    ("#3070d0", "#ffffff"), ("#d04040", "#ffffff"), ("#e0c040", "#403000"),
    ("#d8d0c0", "#4a3018"), ("#70e0e0", "#104040"), ("#e8e8f0", "#303040"),
    ("#ffa0a0", "#502020"), ("#ffd700", "#604000"), ("#b09030", "#ffffff"),
    ("#8050c0", "#ffffff")]


def chip(s, sh):
    for t, c in enumerate(sh.cells):
        if t >= 13:
            label_cell(s, c, "#404448", "#a0a0a0", "?", 16)
            continue
        fill, fg = TILE_STYLE[t]
        s.clip(c.l, c.t, c.r, c.b)
        s.rect(c.l, c.t, c.r, c.b, fill)
        if t == 2:
            for k in range(4):
                s.rect(c.l, c.t + 10 * k + 9, c.r, c.t + 10 * k + 10, "#3a4048")
        elif t == 6:  # a fence of stakes on a slab
            for k in range(4):
                s.rect(c.l + 4 + 10 * k, c.t + 3, c.l + 8 + 10 * k, c.b - 3, "#7a4a22")
            s.rect(c.l, c.t + 8, c.r, c.t + 11, "#5a3418")
        elif t == 5:
            s.circle(c.l + 20, c.t + 16, 9, "#c04020", "#603010")
        elif t == 12:
            s.circle(c.l + 20, c.t + 16, 12, "none", "#a0d0ff", 2)
            s.circle(c.l + 20, c.t + 16, 6, "none", "#ffffff", 2)
        s.frame(c.l, c.t, c.r, c.b, DARK, 1)
        text = c.name.replace(" OK", "\u2713")
        if t == 0:  # the board is mostly floor: keep its label quiet
            s.text(c.l + 20, c.b - 5, text, 8, "#c8c0b0")
            s.end()
            continue
        y = c.b - 6 if t in (5, 12) else None
        if y:
            s.text(c.l + 20, y, text, fit(text, 40, 10), fg)
        else:
            s.ctext(c.l, c.t, c.r, c.b, text, 11, fg)
        s.end()


FACING_COL = ["#4070e0", "#40a060", "#e08030", "#a050d0"]
ARROWS = ["\u2191", "\u2193", "\u2190", "\u2192"]


def figure(s, l, t, body, label, legs=0, arms_up=False, head="#f0c8a0", fg="#ffffff"):
    """A small standing character in a 40x40 cell."""
    s.circle(l + 20, t + 10, 7, head, DARK, 1.5)
    s.rect(l + 12, t + 18, l + 28, t + 32, body, DARK, 1.5, rx=3)
    lx = {0: (15, 25), 1: (12, 25), 2: (15, 28)}[legs]
    for x in lx:
        s.rect(l + x - 2, t + 31, l + x + 2, t + 39, DARK)
    if arms_up:
        s.path("M%g,%g L%g,%g M%g,%g L%g,%g" % (l + 12, t + 20, l + 5, t + 8, l + 28, t + 20, l + 35, t + 8),
               stroke=DARK, sw=3)
    s.text(l + 20, t + 30, label, 11, fg)


def char(s, sh):
    for d in range(4):
        for k in range(3):
            c = cell(sh, "%s %d" % (catalogue.FACINGS[d], k))
            s.clip(c.l, c.t, c.r, c.b)
            figure(s, c.l, c.t, FACING_COL[d], "%s%d" % (ARROWS[d], k), legs=k)
            s.end()
    c = cell(sh, "fallen")
    s.clip(c.l, c.t, c.r, c.b)
    s.rect(c.l + 4, c.t + 22, c.l + 30, c.t + 34, "#8090a0", DARK, 1.5, rx=3)
    s.circle(c.l + 32, c.t + 28, 6, "#f0c8a0", DARK, 1.5)
    s.text(c.l + 16, c.t + 16, "X_X", 10, "#ff6060")
    s.end()
    for i in range(3):
        c = cell(sh, "cheer %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        figure(s, c.l, c.t, ["#e0b020", "#f0d040", "#ffe880"][i], "C%d" % i, legs=(0, 1, 2)[i], arms_up=True,
               fg="#503000")
        s.end()
    for i in range(3):
        c = cell(sh, "cursor %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        dx = (0, 4, 8)[i]
        s.poly([(c.l + 6 + dx, c.t + 8), (c.l + 30 + dx, c.t + 20), (c.l + 6 + dx, c.t + 32)],
               ["#e04020", "#f06030", "#ff8040"][i], DARK, 2)
        s.end()


MESSAGES = {
    "STAGE START": ("#2050b0", "#ffffff", "#a0c8ff", 40),
    "STAGE CLEAR": ("#d0a010", "#ffffff", "#fff0a0", 40),
    "MISS": ("#c02030", "#ffffff", "#ffa0a0", 60),
    "TIME UP": ("#602080", "#ffffff", "#e0a0ff", 64),
    "ALL CLEAR": ("#20a060", "#ffffff", "#ffe060", 56),
}


def mes(s, sh):
    for c in sh.cells:
        fill, fg, edge, size = MESSAGES[c.name]
        s.clip(c.l, c.t, c.r, c.b)
        s.rect(c.l + 2, c.t + 2, c.r - 2, c.b - 2, fill, edge, 4, rx=18)
        s.ctext(c.l, c.t, c.r, c.b, c.name + ("!" if c.name == "ALL CLEAR" else ""), size, fg,
                stroke="#202020", sw=2)
        if c.b - c.t > 120:  # the tall pictures get a little emblem
            cy = c.t + 52
            if c.name == "TIME UP":
                s.circle((c.l + c.r) / 2.0, cy, 26, "#f0f0f0", DARK, 3)
                s.path("M%g,%g L%g,%g L%g,%g" % ((c.l + c.r) / 2.0, cy - 18, (c.l + c.r) / 2.0, cy,
                                                 (c.l + c.r) / 2.0 + 12, cy + 6), stroke=DARK, sw=3)
            else:
                s.poly(star_points((c.l + c.r) / 2.0, cy, 30, 13), "#ffe060", DARK, 2)
        s.end()


def play_st(s, sh):
    c = cell(sh, "orb")
    s.circle(20, 20, 19, s.gradient("orb", [(0, "#ffffff"), (0.45, "#e0e0e0"), (1, "#000000")], radial=True))
    for name in ("+5", "+10", "+20", "-5", "-10", "-20"):
        c = cell(sh, name)
        bonus = name[0] == "+"
        label_cell(s, c, "#3070d0" if bonus else "#c83c3c", "#ffffff",
                   name.replace("-", "\u2212") + "s", 24, stroke="#f0f0f0", rx=8)
    for i, col in enumerate(("#90ffff", "#f0f0f0", "#ff9696")):
        c = cell(sh, "key %d" % (i + 1))
        s.clip(c.l, c.t, c.r, c.b)
        s.circle(c.l + 13, c.t + 14, 9, col, DARK, 2)
        s.circle(c.l + 13, c.t + 14, 3, DARK)
        s.rect(c.l + 20, c.t + 12, c.l + 37, c.t + 17, col, DARK, 1.5)
        s.rect(c.l + 30, c.t + 16, c.l + 34, c.t + 24, col, DARK, 1.5)
        s.text(c.l + 14, c.t + 37, str(i + 1), 12, col, stroke=DARK, sw=2)
        s.end()
    c = cell(sh, "ALL KEYS")
    s.clip(c.l, c.t, c.r, c.b)
    s.rect(c.l + 2, c.t + 14, c.r - 2, c.b - 14, "#ffd040", "#a06000", 3, rx=12)
    s.ctext(c.l, c.t, c.r, c.b, "ALL KEYS!", 20, "#a02000")
    s.end()
    c = cell(sh, "key panel")
    s.clip(c.l, c.t, c.r, c.b)
    s.rect(c.l, c.t, c.r, c.b, "#203a4c")
    s.frame(c.l, c.t, c.r, c.b, "#7fb0d0", 2)
    for i, (x, y) in enumerate(((40, 0), (10, 50), (70, 50))):
        s.rect(c.l + x + 3, c.t + y + 3, c.l + x + 37, c.t + y + 37, "#0e1c26", "#4a7088", 2, rx=4)
        s.text(c.l + x + 20, c.t + y + 27, str(i + 1), 18, "#4a7088")
    s.text(c.l + 60, c.t + 112, "KEYS", 12, "#9fc8e0")
    s.end()
    c = cell(sh, "bar full")
    s.rect(c.l, c.t, c.r, c.b, s.gradient("full", [(0, "#a0ff80"), (0.5, "#40c040"), (1, "#208020")]))
    c = cell(sh, "bar empty")
    s.rect(c.l, c.t, c.r, c.b, "#3a2020")
    for k in range(20, 123, 20):  # a tick every 10 s, at the same x in both parts
        s.rect(k, 320, k + 1, 340, "#208020")
        s.rect(k, 340, k + 1, 360, "#603838")
    s.rect(0, 320, 123, 321, "#e0ffe0")
    s.rect(0, 340, 123, 341, "#603838")
    label_cell(s, cell(sh, "TIME"), "#203a4c", "#ffd040", "TIME", 24, stroke="#7fb0d0")
    label_cell(s, cell(sh, "STAGE"), "#203a4c", "#ffd040", "STAGE", 24, stroke="#7fb0d0")
    # Light columns: bright core, dim edges; black adds nothing when drawn additively.
    c = cell(sh, "clear beam")
    s.rect(c.l, c.t, c.r, c.b, s.gradient("cb", [(0, "#000000"), (0.3, "#806020"), (0.5, "#fff8d0"),
                                                (0.7, "#806020"), (1, "#000000")], 1, 0))
    s.rect(c.l + 30, c.t, c.l + 50, c.b, "#ffffff", opacity=0.5)
    c = cell(sh, "warp beam")
    s.rect(c.l, c.t, c.r, c.b, s.gradient("wb", [(0, "#000000"), (0.3, "#2060a0"), (0.5, "#d0f0ff"),
                                                (0.7, "#2060a0"), (1, "#000000")], 1, 0))
    s.rect(c.l + 16, c.t + 4, c.l + 24, c.b - 4, "#ffffff", opacity=0.5)


FACES = {"NORMAL": ("#60b0e0", (18, 28, 18)), "WORRIED": ("#e0c040", (24, 16, 24)),
         "MISS": ("#c05050", (26, 12, 26)), "CLEAR": ("#60c070", (14, 34, 14))}


def faces(s, sh, names=None, key=False):
    for i, c in enumerate(sh.cells):
        name = names[i] if names else c.name
        bg, (y0, yq, y1) = FACES.get(name, (["#e07060", "#6080e0", "#c060c0", "#60b080"][i], (18, 28, 18)))
        s.clip(c.l, c.t, c.r, c.b)
        if not key:
            s.rect(c.l, c.t, c.r, c.b, bg)
            s.frame(c.l, c.t, c.r, c.b, DARK, 2)
        cx, cy = c.l + 60, c.t + 52
        s.circle(cx, cy, 38, "#f8d8b0", DARK, 3)
        if name == "MISS":
            for ex in (-14, 14):
                s.path("M%g,%g l8,8 M%g,%g l-8,8" % (cx + ex - 4, cy - 12, cx + ex + 4, cy - 12), stroke=DARK, sw=3)
        elif name == "CLEAR":
            for ex in (-14, 14):
                s.path("M%g,%g q6,-8 12,0" % (cx + ex - 6, cy - 6), stroke=DARK, sw=3)
        else:
            for ex in (-14, 14):
                s.circle(cx + ex, cy - 8, 4, DARK)
        if name == "WORRIED":
            s.circle(cx + 30, cy - 20, 5, "#80c0ff")
        d = "M%g,%g Q%g,%g %g,%g" % (cx - 14, cy + y0, cx, cy + yq, cx + 14, cy + y1)
        s.path(d + (" Z" if name == "CLEAR" else ""), fill="#c04040" if name == "CLEAR" else "none",
               stroke=DARK, sw=3)
        s.rect(c.l + 8, c.b - 26, c.r - 8, c.b - 6, "#f0f0f0" if not key else "#404850", rx=4)
        s.ctext(c.l + 8, c.b - 26, c.r - 8, c.b - 6, name, 14, DARK if not key else "#ffffff")
        s.end()


def way(s, sh):
    bands = {1: [(14, 0, 26, 40)], 2: [(0, 14, 40, 26)],
             3: [(14, 14, 26, 40), (0, 14, 26, 26)], 4: [(14, 14, 26, 40), (14, 14, 40, 26)],
             5: [(14, 0, 26, 26), (14, 14, 40, 26)], 6: [(14, 0, 26, 26), (0, 14, 26, 26)]}
    cols = [("#e08030", "#803810"), ("#f0c040", "#906010"), ("#fff0a0", "#c09020")]
    for f in range(3):
        for p in range(1, 7):
            c = cell(sh, "f%d p%d" % (f, p))
            fill, edge = cols[f]
            for (l, t, r, b) in bands[p]:
                s.rect(c.l + l, c.t + t, c.l + r, c.t + b, edge)
            for (l, t, r, b) in bands[p]:
                s.rect(c.l + max(l, 0) + (2 if l == 14 else 0), c.t + t + (2 if t == 14 else 0),
                       c.l + r - (2 if r == 26 else 0), c.t + b - (2 if b == 26 else 0), fill)


def select(s, sh):
    label_cell(s, cell(sh, "header"), "#204870", "#ffffff", "FREE MODE : CHOOSE A MAP", 20,
               stroke="#a0d0ff", rx=8)
    label_cell(s, cell(sh, "caption L"), "#303848", "#e0e8ff", "\u2190\u2192 MAP   \u2191\u2193 SOURCE", 16,
               stroke="#a0b0d0", rx=8)
    label_cell(s, cell(sh, "caption R"), "#303848", "#e0e8ff", "Z PLAY   X TITLE", 16,
               stroke="#a0b0d0", rx=8)
    for name, col in (("COURSE", "#3070c0"), ("UNDERGROUND", "#7040a0"), ("MY MAPS", "#309060")):
        label_cell(s, cell(sh, name), col, "#ffffff", name, 18, stroke="#f0f0f0", rx=8)


def num(s, sh):
    for row in range(2):
        for d in range(10):
            c = sh.cells[row * 10 + d]
            fill, fg = ("#203040", "#ffffff") if row == 0 else ("#701c1c", "#ffe040")
            s.clip(c.l, c.t, c.r, c.b)
            s.rect(c.l, c.t + 2, c.r, c.b - 2, fill, "#8090a0" if row == 0 else "#ff8060", 1, rx=4)
            s.text(c.l + 10, c.t + 31, str(d), 28, fg)
            s.end()


def banner(text, fill, edge, fg, size):
    def draw(s, sh):
        c = sh.cells[0]
        s.rect(c.l + 2, c.t + 4, c.r - 2, c.b - 4, s.gradient("bn", [(0, edge), (0.5, fill), (1, edge)]),
               "#f0f0f0", 3, rx=16)
        s.ctext(c.l, c.t, c.r, c.b, text, size, fg, stroke="#202020", sw=3)
    return draw


def ending_st(s, sh):
    c = cell(sh, "star")
    s.poly(star_points(20, 21, 18, 8), "#ffd020", "#a06000", 2)
    c = cell(sh, "no star")
    s.poly(star_points(20, 61, 18, 8), "#586068", "#a0a8b0", 2)
    label_cell(s, cell(sh, "record 0"), "#ffe040", "#c02020", "NEW RECORD!", 14, stroke="#c02020", rx=8)
    label_cell(s, cell(sh, "record 1"), "#c02020", "#ffe040", "NEW RECORD!", 14, stroke="#ffe040", rx=8)


def window(s, sh):
    c = cell(sh, "window")
    s.rect(c.l + 2, c.t + 2, c.r - 2, c.b - 2, "#1c2a5a", "#c0d0ff", 4, rx=14)
    s.text(c.r - 14, c.b - 10, "MESSAGE", 10, "#5060a0", anchor="end")
    for i in range(3):
        c = cell(sh, "mark %d" % i)
        dy = (0, 4, 8)[i]
        s.poly([(c.l + 8, c.t + 10 + dy), (c.l + 32, c.t + 10 + dy), (c.l + 20, c.t + 26 + dy)],
               ["#ffffff", "#fff0a0", "#ffd040"][i], "#404060", 2)


PORTRAIT = {  # outfit, hair, skin, name, face centre y, expressions
    1: ("#d9a93a", "#8a5a36", "#f8d8b8", "NELL", 150, ["CALM", "JOY", "SURPRISE", "TEARFUL"]),
    2: ("#4a2a3e", "#e8e4da", "#ecd0b4", "OLGA", 150, ["STERN", "SMILE", "SHARP", "GRAVE"]),
    3: ("#fff6e6", "#f6d77a", "#fbe4c8", "MIRE", 120, ["CURIOUS", "GIGGLING", "FRIGHTENED", "SERENE"]),
}
# (eyes, mouth, extra) per speaker and expression
FACE_PARTS = {
    1: [("open", "smile", None), ("arcs", "grin", None), ("wide", "o", "brows up"), ("open", "flat", "tear")],
    2: [("lids", "flat", None), ("arcs", "smile", None), ("wide", "o", "brows down"), ("closed", "down", None)],
    3: [("open", "o", None), ("arcs", "grin", None), ("open", "down", "tear"), ("lids", "smile", None)],
}


def face_parts(s, cx, cy, eyes, mouth, extra):
    ey = cy + 8
    for ex in (-26, 26):
        x = cx + ex
        if eyes == "open":
            s.circle(x, ey, 7, DARK)
        elif eyes == "wide":
            s.circle(x, ey, 10, "#ffffff", DARK, 3)
            s.circle(x, ey, 4, DARK)
        elif eyes == "arcs":
            s.path("M%g,%g q10,-12 20,0" % (x - 10, ey), stroke=DARK, sw=4)
        elif eyes == "lids":
            s.path("M%g,%g l20,0" % (x - 10, ey - 2), stroke=DARK, sw=4)
            s.circle(x, ey + 2, 4, DARK)
        else:
            s.path("M%g,%g q10,8 20,0" % (x - 10, ey), stroke=DARK, sw=4)
    my = cy + 44
    if mouth == "smile":
        s.path("M%g,%g Q%g,%g %g,%g" % (cx - 20, my - 4, cx, my + 10, cx + 20, my - 4), stroke=DARK, sw=4)
    elif mouth == "grin":
        s.path("M%g,%g Q%g,%g %g,%g Z" % (cx - 22, my - 8, cx, my + 22, cx + 22, my - 8),
               fill="#c04040", stroke=DARK, sw=3)
    elif mouth == "o":
        s.circle(cx, my, 8, "#c04040", DARK, 3)
    elif mouth == "flat":
        s.path("M%g,%g L%g,%g" % (cx - 16, my, cx + 16, my), stroke=DARK, sw=4)
    else:
        s.path("M%g,%g Q%g,%g %g,%g" % (cx - 20, my + 8, cx, my - 6, cx + 20, my + 8), stroke=DARK, sw=4)
    if extra == "tear":
        s.path("M%g,%g q-5,16 0,20 q5,-4 0,-20" % (cx + 34, ey + 10), fill="#80c0ff")
    elif extra in ("brows up", "brows down"):
        tilt = -8 if extra == "brows up" else 8
        for ex, sgn in ((-26, 1), (26, -1)):
            s.path("M%g,%g l%g,%g" % (cx + ex - 14, ey - 20 - (tilt * sgn if extra == "brows down" else 0),
                                      28, (tilt * sgn if extra == "brows down" else 0)), stroke=DARK, sw=4)


def portrait(n):
    def draw(s, sh):
        outfit, hair, skin, name, fy, exprs = PORTRAIT[n]
        for e, c in enumerate(sh.cells):
            s.clip(c.l, c.t, c.r, c.b)
            cx, cy = c.l + 160, c.t + fy
            if n == 3:  # a floating spirit: halo, body tapering to a wisp
                s.circle(cx, cy + 40, 130, "#ffe6c0")
                s.path("M%g,%g Q%g,%g %g,%g Q%g,%g %g,%g Z" % (cx - 70, cy + 90, cx - 40, cy + 260, cx, c.b - 60,
                                                            cx + 40, cy + 260, cx + 70, cy + 90),
                       fill=outfit, stroke=DARK, sw=4)
                s.path("M%g,%g q10,40 0,60" % (cx, c.b - 60), stroke="#f08a3c", sw=8)
            else:
                s.path("M%g,%g L%g,%g Q%g,%g %g,%g L%g,%g Z" % (c.l + 40, c.b, c.l + 70, cy + 130, cx, cy + 90,
                                                                c.l + 250, cy + 130, c.l + 280, c.b),
                       fill=outfit, stroke=DARK, sw=4)
                s.rect(cx - 22, cy + 65, cx + 22, cy + 100, skin, DARK, 3)
            if n == 2:  # Olga's staff and bun
                s.rect(c.l + 262, c.t + 40, c.l + 272, c.b, "#d8c8a0", DARK, 2)
                s.circle(cx, cy - 82, 24, hair, DARK, 3)
            s.circle(cx, cy, 78, hair, DARK, 4)
            s.circle(cx, cy + 14, 66, skin, DARK, 3)
            s.path("M%g,%g Q%g,%g %g,%g" % (cx - 70, cy - 10, cx, cy - 90, cx + 70, cy - 10), fill=hair)
            face_parts(s, cx, cy, *FACE_PARTS[n][e])
            s.rect(c.l + 70, c.b - 90, c.r - 70, c.b - 30, "#f8f8f8", DARK, 3, rx=10)
            s.ctext(c.l + 70, c.b - 90, c.r - 70, c.b - 60, name, 22, DARK)
            s.ctext(c.l + 70, c.b - 62, c.r - 70, c.b - 32, "%d: %s" % (e, exprs[e]), 18, "#604020")
            s.end()
    return draw


def gameadv_face(s, sh):
    faces(s, sh, names=["NELL", "OLGA", "MIRE", "SPARE"], key=True)


def edit(s, sh):
    for name, label, col in (("T10", "\u00b110", "#3070c0"), ("T5", "\u00b15", "#30a060"), ("T20", "\u00b120", "#c06020")):
        label_cell(s, cell(sh, name), col, "#ffffff", label, 16, stroke="#f0f0f0", sub="SEC")
    label_cell(s, cell(sh, "SAVE"), "#2060c0", "#ffffff", "SAVE", 22, stroke="#f0f0f0")
    label_cell(s, cell(sh, "CLEAR"), "#c03030", "#ffffff", "CLEAR", 22, stroke="#f0f0f0")


ART = {
    "opening/background01": title_background, "opening/st": opening_st, "opening/background02": doors,
    "play/background": play_background, "play/chip": chip, "play/char": char, "play/mes": mes,
    "play/retray": pause_panel, "play/st": play_st, "play/face": faces, "play/way": way,
    "play/select": select, "play/shutt": shutter, "play/num": num,
    "gameover/background": gameover_background,
    "gameover/gameover": banner("GAME  OVER", "#c02030", "#501018", "#ffffff", 64),
    "ending/background": ending_background, "ending/st": ending_st,
    "ending/cleartime": banner("CLEAR  TIME", "#e0a010", "#805000", "#ffffff", 64),
    "gameadv/background01": story_landing, "gameadv/background02": story_hut,
    "gameadv/background03": story_hollow, "gameadv/face": gameadv_face, "gameadv/window": window,
    "gameadv/character_1": portrait(1), "gameadv/character_2": portrait(2),
    "gameadv/character_3": portrait(3), "gameadv/photo01": photo(1), "gameadv/photo02": photo(2),
    "sweep": sweep, "edit/Edit": edit,
}


def make_svg(sh):
    s = Svg(sh.w, sh.h)  # keyed sheets stay transparent: the converter puts the key in
    ART[sh.path](s, sh)
    return s.render()


def cells_md():
    out = ["# Bitmap cells", "",
           "Every rectangle the game cuts out of its 31 bitmaps: left, top, right, bottom in bitmap pixels",
           "(right and bottom exclusive). Generated by `tools/art/make_placeholders.py` from `tools/art/cells.py`;",
           "edit the table there, not this file.", "",
           "Final art must keep every cell where it is. Keys: on a **black** sheet 0x000000 is transparent,",
           "on a **green** sheet 0x00FF00. Draw keyed sheets on a transparent background, not on the key:",
           "the converter makes every pixel less than half covered the key, blends partly covered edge",
           "pixels toward dark grey (so no key-coloured fringe shows), forces every pixel outside the cells",
           "(and every *empty* cell) to exactly the key, and snaps the remaining near-key pixels (distance",
           "up to 28) to it, so keep drawn colours away from the key. Mode: *solid* = opaque picture,",
           "*sprite* = shape on the key, *empty* = drawn but fully transparent.", "",
           "Sources are `content/art/<path>.svg`, exactly the sheet's size; `ninja art` writes",
           "`game/bitmap/<path>.bmp` (24-bit, uncompressed) from each through `tools/art/svg2bmp.py`,",
           "and `ctest -R art` checks the results. The SVGs are written by the drawers `tools/art/draw_*.py`",
           "(see `STYLE.md`); `ninja art-contact-sheet` shows every bitmap with its cells outlined, and",
           "`ninja art-cells` rewrites this file from the table.", ""]
    for sh in catalogue.SHEETS:
        out.append("## %d. bitmap/%s.bmp (%d x %d, key: %s)" % (sh.id, sh.path, sh.w, sh.h, sh.key or "none"))
        out.append("")
        out.append("| left | top | right | bottom | cell | shows | drawn by | mode |")
        out.append("|---:|---:|---:|---:|---|---|---|---|")
        for c in sh.cells:
            out.append("| %d | %d | %d | %d | %s | %s | %s | %s |"
                       % (c.l, c.t, c.r, c.b, c.name, c.shows, c.drawer, c.mode))
        out.append("")
        for n in sh.notes:
            out.append(n)
        if sh.notes:
            out.append("")
    return "\n".join(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    args = [a for a in sys.argv[1:] if a != "--cells-md"]
    only_md = len(args) != len(sys.argv) - 1
    root = args[0] if args else os.path.join(here, "..", "..", "content", "art")
    if only_md:
        os.makedirs(root, exist_ok=True)
        with open(os.path.join(root, "CELLS.md"), "w", encoding="utf-8") as f:
            f.write(cells_md())
        print("wrote CELLS.md to %s" % os.path.normpath(root))
        return
    for sh in catalogue.SHEETS:
        path = os.path.join(root, sh.path + ".svg")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(make_svg(sh))
    with open(os.path.join(root, "CELLS.md"), "w", encoding="utf-8") as f:
        f.write(cells_md())
    print("wrote %d sheets and CELLS.md to %s" % (len(catalogue.SHEETS), os.path.normpath(root)))


if __name__ == "__main__":
    main()
