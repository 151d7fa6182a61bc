#!/usr/bin/env python3
"""Draws the play sheets: the board tiles, Nell's sprite, the trail, the HUD
pieces, messages, panels. Writes content/art/play/*.svg (or into DIR).

Usage: draw_play.py [DIR] [SHEET ...]    e.g. draw_play.py play/chip
"""

import math
import sys

from artkit import (BLUE, BONE, BONE_SHADE, DISPLAY, EMBER, GLOW, GOLD, INK, JP_SANS, JP_SERIF, MIRE,
                    MIRE_BLUE, MIST, MUSTARD, RED, SANS, SLATE, TEAL, Svg, cell, ink_box, rng, run, star_points)

WATER = "#161d2c"
SUNK = "#2b3548"
SKIN = "#f6d6b8"
HAIR = "#8a5a36"
HAIR_DARK = "#6a4226"
CAPE = MUSTARD
CAPE_SHADE = "#b08528"
SHORTS = "#2e3a5c"
LEATHER = "#5a3a22"
CREAM = "#f2e6cc"

KEY_COLOURS = [  # body, light, dark: copper, silver-blue, rose, and the gold closing key
    ("#d07a3c", "#f4b07a", "#8a4420"),
    ("#9fb8d4", "#e2eefa", "#5d7896"),
    ("#e0708e", "#ffb0c4", "#9a3a58"),
    ("#f2b544", "#fff0a8", "#a8701c"),
]


# ------------------------------------------------------------------ tiles

def water(s, l, t, w=40, h=40, seed=1):
    s.rect(l, t, l + w, t + h, WATER)
    r = rng(seed)
    for _ in range(2):
        x, y = l + 4 + r() * (w - 14), t + 6 + r() * (h - 10)
        s.path("M%g,%g q3,-2 6,0 t6,0" % (x, y), stroke="#2a3650", sw=1)


def slab(s, l, t, face=BONE, edge="#8f8470", hi="#fffaf0", lo="#b3a78e", seed=3, speckle="#d6ccb4"):
    """A bone slab floating on the mire, lit from the upper left."""
    water(s, l, t, seed=seed)
    s.rect(l + 1.5, t + 1.5, l + 38.5, t + 38.5, face, edge, 1, rx=3)
    s.path("M%g,%g V%g H%g" % (l + 3.5, t + 36, t + 3.5, l + 36), stroke=hi, sw=1.5)
    s.path("M%g,%g H%g V%g" % (l + 4, t + 36.5, l + 36.5, t + 4), stroke=lo, sw=1.5)
    r = rng(seed * 7 + 1)
    for _ in range(5):
        s.circle(l + 7 + r() * 26, t + 7 + r() * 26, 0.6 + r() * 0.7, speckle)


def time_stone(s, l, t, body, light, dark, sign):
    cx, cy = l + 20, t + 20
    for k in range(8):  # a dial engraved on the slab: these stones count time
        a = k * math.pi / 4
        s.line(cx + 13 * math.cos(a), cy + 13 * math.sin(a), cx + 16 * math.cos(a), cy + 16 * math.sin(a),
               "#a99c82", 1.5)
    s.circle(cx, cy, 11.5, s.radial([(0, light), (1, body, 0.0)]), opacity=0.8)
    pts = [(cx, cy - 11), (cx + 8, cy - 4), (cx + 8, cy + 5), (cx, cy + 11), (cx - 8, cy + 5), (cx - 8, cy - 4)]
    s.poly(pts, body, INK, 1.5)
    s.poly([(cx, cy - 11), (cx - 8, cy - 4), (cx - 3, cy - 1), (cx, cy - 6)], light)
    s.poly([(cx, cy + 11), (cx + 8, cy + 5), (cx + 3, cy + 2), (cx, cy + 5)], dark)
    s.poly(pts, "none", INK, 1.5)
    s.text(cx, cy + 4.5, sign, 13, "#ffffff", SANS, stroke=dark, sw=2.5)


def key_shape(s, cx, cy, colours, scale=1.0, angle=-45):
    """A brass-and-colour key lying diagonally, bow at the upper left."""
    body, light, dark = colours
    s.group(transform="translate(%g %g) rotate(%g) scale(%g)" % (cx, cy, angle, scale))
    s.rect(-2, -2.6, 15, 2.6, body, INK, 1.3, rx=1)
    s.path("M9,2 v4.5 h2.4 v-2.6 h1.8 v3.6 h2.4 v-5.5", fill=body, stroke=INK, sw=1.3)
    s.circle(-7.5, 0, 7, body, INK, 1.3)
    s.circle(-7.5, 0, 3, "#efe6cf", INK, 1.1)
    s.path("M-13,-2 a6,6 0 0 1 5,-4.2", stroke=light, sw=1.6)
    s.line(0, -1.2, 13, -1.2, light, 1.0)
    s.end()


def badge(s, x, y, n, fill=INK, fg="#ffffff"):
    s.circle(x, y, 6, fill, "#fff6dc", 1.2)
    s.text(x, y + 3.8, str(n), 10.5, fg, SANS)


def goal_plate(s, l, t, lit):
    water(s, l, t, seed=11)
    s.rect(l + 1.5, t + 1.5, l + 38.5, t + 38.5, s.linear([(0, "#4a3a52"), (1, "#2e2638")]), GOLD, 1.5, rx=4)
    s.rect(l + 4, t + 4, l + 36, t + 36, "none", "#a8701c", 1, rx=2.5)
    if lit:
        s.circle(l + 20, t + 20, 15, s.radial([(0, "#fffbe0"), (0.4, GLOW), (0.75, GOLD, 0.6), (1, GOLD, 0)]))
        s.group(opacity=0.55)
        key_shape(s, l + 21, t + 20, ("#fff3c4", "#ffffff", "#e8c060"))
        s.end()
        for a in range(0, 360, 45):
            r = math.radians(a)
            s.line(l + 20 + 14 * math.cos(r), t + 20 + 14 * math.sin(r), l + 20 + 17 * math.cos(r),
                   t + 20 + 17 * math.sin(r), GLOW, 1.4)
    else:
        s.circle(l + 20, t + 20, 14, s.radial([(0, GOLD, 0.55), (1, GOLD, 0)]))
        key_shape(s, l + 21, t + 20, KEY_COLOURS[3], 1.12)
        s.poly(star_points(l + 32, t + 9, 4.5, 1.6), GLOW)


def chip(s, sh):
    for i, c in enumerate(sh.cells):
        l, t = c.l, c.t
        s.clip(c.l, c.t, c.r, c.b)
        if i == 0:
            slab(s, l, t, seed=5)
        elif i == 1:  # sunk: dark and wet, its edge just shows under the water
            s.rect(l, t, l + 40, t + 40, WATER)
            s.rect(l + 2.5, t + 2.5, l + 37.5, t + 37.5, s.linear([(0, "#34405a"), (1, "#252e40")]),
                   "#44526c", 1, rx=3)
            s.path("M%g,%g q4,-2.5 8,0 t8,0" % (l + 7, t + 12), stroke="#56647e", sw=1)
            s.path("M%g,%g q4,-2.5 8,0 t8,0" % (l + 17, t + 29), stroke="#4a5872", sw=1)
        elif i == 2:  # black mire rock
            water(s, l, t, seed=9)
            s.path("M%g,%g q3,-1.5 6,0 t6,0 t6,0 t6,0 t6,0" % (l + 3, t + 36), stroke="#34405a", sw=1.2)
            rock = [(l + 4, t + 33), (l + 3, t + 20), (l + 9, t + 8), (l + 19, t + 4), (l + 30, t + 7),
                    (l + 37, t + 17), (l + 36, t + 31), (l + 27, t + 36), (l + 13, t + 36)]
            s.poly(rock, s.linear([(0, "#5d5566"), (0.5, "#3f3848"), (1, "#2f2a37")], 0, 0, 1, 1), INK, 1.5)
            s.path("M%g,%g L%g,%g L%g,%g" % (l + 6, t + 21, l + 10, t + 10, l + 19, t + 6), stroke="#7d748a", sw=1.8)
            s.path("M%g,%g L%g,%g L%g,%g" % (l + 15, t + 14, l + 21, t + 20, l + 19, t + 29), stroke="#2c2734",
                   sw=1.2)
            s.path("M%g,%g L%g,%g" % (l + 21, t + 20, l + 30, t + 17), stroke="#2c2734", sw=1.2)
        elif i in (3, 4):
            slab(s, l, t, seed=i)
            if i == 3:
                time_stone(s, l, t, BLUE, "#9cc8ff", "#1f4f96", "+")
            else:
                time_stone(s, l, t, RED, "#ff9a8a", "#7e1c22", "\u2212")
        elif i == 5:  # the opening stone: a round plate with a gold ring
            slab(s, l, t, seed=6)
            s.circle(l + 20.5, t + 21, 12.5, "#a99c82")
            s.circle(l + 20, t + 20, 12, s.linear([(0, "#e6dcc4"), (1, "#b7aa8e")], 0, 0, 1, 1), INK, 1.4)
            s.circle(l + 20, t + 20, 8.5, "none", GOLD, 2.2)
            s.path("M%g,%g l-4,4 l4,4 M%g,%g l4,4 l-4,4" % (l + 17, t + 16, l + 23, t + 16), stroke="#8a5a1c",
                   sw=1.8)
        elif i == 6:  # a fence of stakes on a slab
            slab(s, l, t, seed=7)
            s.rect(l + 5, t + 31, l + 36, t + 35, "#a99c82", rx=2)
            for k in range(4):
                x = l + 6 + 8 * k
                s.poly([(x, t + 33), (x, t + 10), (x + 3.5, t + 5), (x + 7, t + 10), (x + 7, t + 33)],
                       s.linear([(0, "#b07a44"), (1, "#7a4a24")], 0, 0, 1, 0), INK, 1.3)
                s.line(x + 2, t + 11, x + 2, t + 30, "#d09a60", 1.1)
            for y in (14, 25):
                s.rect(l + 3, t + y, l + 37, t + y + 3.5, "#6a3e1e", INK, 1.1, rx=1)
        elif i in (7, 8, 9):
            k = i - 7
            slab(s, l, t, seed=20 + k)
            s.circle(l + 21, t + 19, 12, s.radial([(0, KEY_COLOURS[k][1], 0.7), (1, KEY_COLOURS[k][1], 0)]))
            key_shape(s, l + 22, t + 18, KEY_COLOURS[k])
            badge(s, l + 10, t + 30, k + 1, KEY_COLOURS[k][2])
            for p in range(k + 1):  # pips: the order, readable even at a glance
                s.circle(l + 31 - 4.5 * p, t + 34, 1.6, KEY_COLOURS[k][2])
        elif i in (10, 11):
            goal_plate(s, l, t, lit=(i == 11))
        elif i == 12:  # crossing stone: a pale blue slab with a teal ring that never sinks
            slab(s, l, t, face="#d6e2e6", edge="#6f8a92", lo="#9fb4ba", seed=12, speckle="#b8cad0")
            s.circle(l + 20, t + 20, 13, s.radial([(0, "#e8ffff"), (0.45, TEAL), (1, TEAL, 0)]))
            s.circle(l + 20, t + 20, 12, "none", "#1f7a80", 1.8)
            s.path("M%g,%g a6,6 0 1 1 -6,-6 a3,3 0 1 1 3,3" % (l + 26, t + 20), stroke="#ffffff", sw=1.8)
            for a in (45, 135, 225, 315):
                r = math.radians(a)
                s.circle(l + 20 + 15.5 * math.cos(r), t + 20 + 15.5 * math.sin(r), 1.5, "#1f7a80")
        else:
            water(s, l, t, seed=30 + i)
        s.end()


# ------------------------------------------------------------------ Nell

def boots(s, pts):
    for (x, y) in pts:
        s.ellipse(x, y, 3.2, 2.3, LEATHER, INK, 1.2)


def nell_front(s, l, t, step=0, arms_up=0, face="calm"):
    """Nell seen from the front, feet at the bottom of the 40-px cell."""
    s.group(transform="translate(%g %g)" % (l, t))
    fl, fr = {0: (37, 37), 1: (37.5, 35.5), 2: (35.5, 37.5)}[step]
    bob = 0 if step == 0 else -0.7
    boots(s, [(16.2, fl), (23.8, fr)])
    s.rect(15, 29 + bob, 25, 34.5 + bob, SHORTS, INK, 1.2, rx=1.5)
    # map roll over the right shoulder (the viewer's left)
    s.group(transform="rotate(-20 13 16)")
    s.rect(10.5, 9 + bob, 14.5, 23 + bob, CREAM, INK, 1.1, rx=1.5)
    s.line(10.5, 12 + bob, 14.5, 12 + bob, "#b0742c", 1)
    s.end()
    if arms_up:
        ay = 14 if arms_up == 1 else 10
        for (x0, x1) in ((13, 8), (27, 32)):
            s.line(x0, 23 + bob, x1, ay + bob, CREAM, 3.2)
            s.line(x0, 23 + bob, x1, ay + bob, INK, 0.0)
            s.circle(x1, ay + bob - 0.5, 2.2, SKIN, INK, 1)
    cape = "M20,%g C14,%g 11,%g 10.5,%g L29.5,%g C29,%g 26,%g 20,%g Z" % (
        18 + bob, 18.5 + bob, 24 + bob, 32 + bob, 32 + bob, 24 + bob, 18.5 + bob, 18 + bob)
    s.path(cape, s.linear([(0, "#ecc25a"), (0.55, CAPE), (1, CAPE_SHADE)], 0, 0, 1, 0), INK, 1.3)
    s.path("M20,%g V%g" % (21 + bob, 31 + bob), stroke=CAPE_SHADE, sw=1)
    s.line(14.5, 21 + bob, 25, 30.5 + bob, LEATHER, 1.8)  # satchel strap
    s.rect(23, 28 + bob, 28.5, 32.5 + bob, LEATHER, INK, 1, rx=1)
    s.rect(27.5, 30 + bob, 30.5, 33.5 + bob, "#c89a3c", INK, 0.9, rx=0.8)  # brass lantern
    if not arms_up:
        s.circle(11.5, 30.5 + bob, 2, SKIN, INK, 1)
        s.circle(28.8, 29 + bob, 2, SKIN, INK, 1)
    # hood lying on the back shows as a collar
    s.path("M14,%g Q20,%g 26,%g" % (19 + bob, 23 + bob, 19 + bob), stroke=CAPE_SHADE, sw=2.4)
    head(s, 20, 12.5 + bob, face)
    s.end()


def head(s, cx, cy, face):
    s.circle(cx, cy, 9, SKIN, INK, 1.4)
    # hair: cap, untidy fringe, jaw-length sides
    s.path("M%g,%g C%g,%g %g,%g %g,%g L%g,%g L%g,%g L%g,%g L%g,%g L%g,%g L%g,%g Z" % (
        cx - 9.6, cy + 4, cx - 11.5, cy - 15.5, cx + 11.5, cy - 15.5, cx + 9.6, cy + 4,
        cx + 7.5, cy + 4.5, cx + 7, cy - 2, cx + 3.5, cy - 3.2, cx + 1, cy - 1.6, cx - 2.5, cy - 3.4,
        cx - 7, cy - 1.5), s.linear([(0, "#a8744a"), (1, HAIR_DARK)], 0, 0, 1, 1), INK, 1.3)
    s.path("M%g,%g q2,-2 4,-1" % (cx - 5, cy - 6.5), stroke="#c8966a", sw=1.2)
    s.circle(cx + 9.8, cy + 3.5, 1.2, "#d0342c")  # red thread of the braid
    ey = cy + 1.8
    if face == "joy":
        for x in (cx - 3.6, cx + 3.6):
            s.path("M%g,%g q1.7,-2.2 3.4,0" % (x - 1.7, ey + 0.5), stroke=INK, sw=1.3)
        s.path("M%g,%g q2,3.5 4,0 z" % (cx - 2, cy + 5), fill="#c0504a", stroke=INK, sw=0.9)
    elif face == "dazed":
        for x in (cx - 3.6, cx + 3.6):
            s.path("M%g,%g l2.6,2.6 M%g,%g l-2.6,2.6" % (x - 1.3, ey - 1.3, x + 1.3, ey - 1.3), stroke=INK, sw=1.1)
        s.circle(cx, cy + 5.8, 1.2, "#c0504a", INK, 0.8)
    else:
        for x in (cx - 3.6, cx + 3.6):
            s.ellipse(x, ey, 1.5, 2.1, "#5a3218")
            s.circle(x - 0.5, ey - 0.8, 0.6, "#ffffff")
        s.path("M%g,%g q1.2,1 2.4,0" % (cx - 1.2, cy + 5.6), stroke=INK, sw=1)
    s.ellipse(cx - 6, cy + 4.3, 1.5, 0.9, "#f0a89a")
    s.ellipse(cx + 6, cy + 4.3, 1.5, 0.9, "#f0a89a")


def nell_back(s, l, t, step=0):
    s.group(transform="translate(%g %g)" % (l, t))
    fl, fr = {0: (37, 37), 1: (35.5, 37.5), 2: (37.5, 35.5)}[step]
    bob = 0 if step == 0 else -0.7
    boots(s, [(16.2, fl), (23.8, fr)])
    s.rect(15, 29 + bob, 25, 34.5 + bob, SHORTS, INK, 1.2, rx=1.5)
    s.circle(11.5, 29.5 + bob, 2, SKIN, INK, 1)
    s.circle(28.5, 30.5 + bob, 2, SKIN, INK, 1)
    cape = "M20,%g C14,%g 11,%g 10.5,%g L29.5,%g C29,%g 26,%g 20,%g Z" % (
        18 + bob, 18.5 + bob, 24 + bob, 32.5 + bob, 32.5 + bob, 24 + bob, 18.5 + bob, 18 + bob)
    s.path(cape, s.linear([(0, "#ecc25a"), (0.55, CAPE), (1, CAPE_SHADE)], 0, 0, 1, 0), INK, 1.3)
    # the pointed hood lying on her back
    s.path("M14.5,%g Q20,%g 25.5,%g L21,%g L20,%g L19,%g Z" % (19.5 + bob, 22 + bob, 19.5 + bob, 27 + bob,
                                                             30 + bob, 27 + bob), CAPE_SHADE, INK, 1.1)
    s.group(transform="rotate(20 26 16)")
    s.rect(24.5, 8 + bob, 28.5, 24 + bob, CREAM, INK, 1.1, rx=1.5)
    s.line(24.5, 11 + bob, 28.5, 11 + bob, "#b0742c", 1)
    s.end()
    cy = 12.5 + bob
    s.circle(20, cy, 9.2, s.linear([(0, "#a8744a"), (1, HAIR_DARK)], 0, 0, 1, 1), INK, 1.4)
    s.path("M14,%g q6,4 12,0" % (cy + 5), stroke=HAIR_DARK, sw=1.2)
    s.path("M15,%g q3,-3 7,-3" % (cy - 4.5), stroke="#c8966a", sw=1.2)
    s.path("M11.8,%g q-1,3 0.5,5.5" % (cy + 2), stroke=HAIR, sw=2.2)  # the braid behind her left ear
    s.circle(12.2, cy + 7.6, 1.2, "#d0342c")
    s.end()


def nell_side(s, l, t, step=0):
    """Facing left; the right-facing frames mirror it."""
    s.group(transform="translate(%g %g)" % (l, t))
    bob = 0 if step == 0 else -0.7
    if step == 0:
        feet = [(18, 37), (22.5, 37)]
    elif step == 1:
        feet = [(13.5, 36.5), (25.5, 37)]
    else:
        feet = [(15, 37), (24, 36.5)]
    s.rect(16.5, 29 + bob, 24.5, 34.5 + bob, SHORTS, INK, 1.2, rx=1.5)
    for (x, y) in feet:
        s.line(20.5, 32 + bob, x + 1, y - 2, SHORTS, 3.2)
        s.ellipse(x, y, 3.4, 2.3, LEATHER, INK, 1.2)
    s.group(transform="rotate(28 26 16)")
    s.rect(24, 8 + bob, 28, 23 + bob, CREAM, INK, 1.1, rx=1.5)
    s.line(24, 11 + bob, 28, 11 + bob, "#b0742c", 1)
    s.end()
    cape = "M19,%g C14,%g 13,%g 12.5,%g L28.5,%g C28,%g 25,%g 19,%g Z" % (
        18 + bob, 19 + bob, 25 + bob, 32 + bob, 32.5 + bob, 24 + bob, 18 + bob, 18 + bob)
    s.path(cape, s.linear([(0, "#ecc25a"), (0.6, CAPE), (1, CAPE_SHADE)], 0, 0, 1, 0), INK, 1.3)
    s.path("M22,%g L27,%g L23.5,%g Z" % (19 + bob, 27 + bob, 25 + bob), CAPE_SHADE, INK, 1)  # hood
    s.rect(14, 27 + bob, 19, 31.5 + bob, LEATHER, INK, 1, rx=1)
    swing = {0: 0, 1: 2.5, 2: -2.5}[step]
    s.circle(19 + swing, 29.5 + bob, 2, SKIN, INK, 1)
    cx, cy = 19, 12.5 + bob
    s.circle(cx, cy, 9, SKIN, INK, 1.4)
    s.path("M%g,%g q-1.6,0.6 -0.3,1.8" % (cx - 8.6, cy + 1.2), fill=SKIN, stroke=INK, sw=1)  # nose
    s.path("M%g,%g C%g,%g %g,%g %g,%g L%g,%g L%g,%g L%g,%g L%g,%g Z" % (
        cx - 8.5, cy - 2, cx - 9.5, cy - 16, cx + 12, cy - 15, cx + 9.3, cy + 4.5,
        cx + 2, cy + 5, cx + 1, cy - 1, cx - 3, cy - 2.5, cx - 6, cy - 1),
        s.linear([(0, "#a8744a"), (1, HAIR_DARK)], 0, 0, 1, 1), INK, 1.3)
    s.path("M%g,%g q1,2.5 -0.5,5" % (cx + 8.8, cy + 3), stroke=HAIR, sw=2.2)
    s.circle(cx + 8.3, cy + 8.3, 1.2, "#d0342c")
    s.path("M%g,%g l2.6,-1.2" % (cx + 3, cy - 5.5), stroke="#f0e0a0", sw=1)  # pencil behind the ear
    s.ellipse(cx - 4.6, cy + 1.8, 1.4, 2.1, "#5a3218")
    s.circle(cx - 5.1, cy + 1, 0.6, "#ffffff")
    s.ellipse(cx - 3, cy + 4.6, 1.5, 0.9, "#f0a89a")
    s.end()


def nell_fallen(s, l, t):
    s.group(transform="translate(%g %g)" % (l, t))
    s.rect(21, 27, 31, 33, CREAM, INK, 1.0, rx=1.5)  # the map roll, dropped
    s.path("M14,27 C19,22 27,24 30,30 C27,35 18,36 14,33 Z",
           s.linear([(0, "#ecc25a"), (1, CAPE_SHADE)], 0, 0, 0, 1), INK, 1.3)
    s.rect(25.5, 29.5, 32, 34.5, SHORTS, INK, 1.1, rx=1.5)
    boots(s, [(34, 31), (34, 35.5)])
    s.circle(13, 35.5, 2, SKIN, INK, 1)
    head(s, 11, 26, "dazed")
    for (x, y) in ((6, 12), (13, 9), (20, 12)):
        s.poly(star_points(x, y, 3.2, 1.3), GLOW, INK, 0.8)
    s.end()


def lamp_cursor(s, l, t, k):
    """A little lamp flame pointing right, at the text it marks."""
    grow = (0, 1.25, 2.5)[k]
    cx, cy = l + 15, t + 20  # the largest flame, tail to tip, just fits the cell
    rings = [(EMBER, 9 + grow), (GOLD, 6.5 + grow), (GLOW, 3.8 + grow * 0.6)]
    for col, r in rings:
        s.path("M%g,%g C%g,%g %g,%g %g,%g C%g,%g %g,%g %g,%g Z" % (
            cx - r, cy, cx - r, cy - r * 1.05, cx + r * 0.6, cy - r * 0.9, cx + r * 2.0, cy,
            cx + r * 0.6, cy + r * 0.9, cx - r, cy + r * 1.05, cx - r, cy),
            col, INK if col == EMBER else None, 1.4 if col == EMBER else None)
    for i in range(k):
        s.circle(l + 5 + 3 * i, t + 8 + 2 * i, 1.4, GLOW)


def char(s, sh):
    for d, facing in enumerate(("up", "down", "left", "right")):
        for k in range(3):
            c = cell(sh, "%s %d" % (facing, k))
            s.clip(c.l, c.t, c.r, c.b)
            if d == 0:
                nell_back(s, c.l, c.t, k)
            elif d == 1:
                nell_front(s, c.l, c.t, k)
            elif d == 2:
                nell_side(s, c.l, c.t, k)
            else:
                s.group(transform="translate(%g 0) scale(-1 1)" % (2 * c.l + 40))
                nell_side(s, c.l, c.t, k)
                s.end()
            s.end()
    c = cell(sh, "fallen")
    s.clip(c.l, c.t, c.r, c.b)
    nell_fallen(s, c.l, c.t)
    s.end()
    for i in range(3):
        c = cell(sh, "cheer %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        # a little smaller than walking, so the jump keeps her head inside the cell
        s.group(transform="translate(%g %g) scale(0.9)" % (c.l + 2, c.t + 4 - (0, 1.5, 3)[i]))
        nell_front(s, 0, 0, (0, 1, 2)[i], arms_up=(1, 2, 2)[i], face="joy")
        s.end()
        if i:
            for (x, y) in ((5, 8), (35, 6))[:i]:
                s.poly(star_points(c.l + x, c.t + y, 3.6, 1.4), GLOW, INK, 0.8)
        s.end()
    for i in range(3):
        c = cell(sh, "cursor %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        lamp_cursor(s, c.l, c.t, i)
        s.end()


# ------------------------------------------------------------------ trail

TRAIL_PATHS = {1: "M20,-2 V42", 2: "M-2,20 H42", 3: "M20,42 V34 Q20,20 6,20 H-2",
               4: "M20,42 V34 Q20,20 34,20 H42", 5: "M20,-2 V6 Q20,20 34,20 H42", 6: "M20,-2 V6 Q20,20 6,20 H-2"}
TRAIL_FRAMES = [  # (colour, width) from the outside in: lamp light soaked into the sunk slab
    [("#7a4420", 13), ("#c07a2c", 9), ("#f2b544", 5), ("#ffe2a0", 2)],
    [("#9a5424", 15), ("#e0903a", 11), ("#ffcf66", 6.5), ("#fff2c8", 3)],
    [("#b86a2c", 17), ("#f2a848", 13), ("#ffe08a", 8), ("#fffbea", 4)],
]


def way(s, sh):
    for c in sh.cells:
        if c.mode == "empty":
            continue
        f, p = int(c.name[1]), int(c.name[4])
        s.clip(c.l, c.t, c.r, c.b)
        s.group(transform="translate(%g %g)" % (c.l, c.t))
        for col, w in TRAIL_FRAMES[f]:
            s.path(TRAIL_PATHS[p], stroke=col, sw=w, stroke_linecap="butt")
        if f and p in (1, 2):
            s.circle(20, 20, 1 + f, "#ffffff")
        s.end()
        s.end()


# ------------------------------------------------------------------ HUD pieces

def label(s, x, y, text, size, fill, rim="#fff6dc", ink_w=None, scale_x=1.0, family=DISPLAY, fit=None):
    """Display lettering centred on x by its drawn outline, narrowed further to fit width `fit`."""
    ink_w = ink_w if ink_w is not None else max(3.0, size * 0.16)
    l, _, r, _ = ink_box(text, size, family, ink_w)
    k = scale_x if fit is None else min(scale_x, fit / (r - l))
    s.group(transform="translate(%g %g) scale(%g 1)" % (x - k * (l + r) / 2, y, k))
    s.lettering(0, 0, text, size, fill, family, rim=rim, ink_w=ink_w, anchor="start")
    s.end()


def time_label(s, c, text, bonus):
    grad = (s.linear([(0, "#cfe6ff"), (0.5, "#6aa8f0"), (1, "#2a62b8")]) if bonus
            else s.linear([(0, "#ffd0c0"), (0.5, "#f0665a"), (1, "#a8262a")]))
    label(s, (c.l + c.r) / 2, c.b - 8, text, 30, grad, ink_w=5.5, scale_x=0.95, fit=c.r - c.l - 4)


def stone_plate(s, l, t, r, b, rx=6):
    """A HUD plate: mire blue, slate rim, a thin lamp-gold line inside."""
    s.rect(l, t, r, b, SLATE, rx=rx)
    s.rect(l + 2, t + 2, r - 2, b - 2, s.linear([(0, "#2a3a56"), (1, MIRE_BLUE)]), rx=max(rx - 2, 0))
    s.rect(l + 4.5, t + 4.5, r - 4.5, b - 4.5, "none", "#b88a3a", 1, rx=max(rx - 3, 0))


def key_icon(s, l, t, k):
    body, light, dark = KEY_COLOURS[k]
    s.circle(l + 20, t + 20, 15, light, INK, 1.5)
    s.circle(l + 20, t + 20, 12.5, body)
    key_shape(s, l + 21, t + 19, KEY_COLOURS[k], 1.0)
    badge(s, l + 9, t + 31, k + 1, dark)


def light_column(s, c, across):
    """A column of additive light: black at both sides, fading out upward and at its foot."""
    s.rect(c.l, c.t, c.r, c.b, s.linear(across, 0, 0, 1, 0))
    s.rect(c.l, c.t, c.r, c.b, s.linear([(0.02, "#000000"), (0.15, "#000000", 0.75), (0.3, "#000000", 0.4),
                                          (0.5, "#000000", 0), (0.93, "#000000", 0), (1, "#000000", 0.8)]))


def all_keys_mark(s, c):
    """A gold plate over the key panel with a window for each filled slot. The mark is drawn at
    (0, 20) on the panel, so key 1 (panel (40, 0)) is cut by the plate's top edge and sits in a
    notch; keys 2 and 3 (panel (10, 50), (70, 50)) look through round windows. Each window is
    centred a little down and left of its key, so the number badge shows whole too."""
    l, t = c.l, c.t
    rn = 20.5
    k1, k2, k3 = (l + 58, t + 2), (l + 28, t + 52), (l + 88, t + 52)
    top = t + 1.5
    dx = math.sqrt(rn * rn - (top - k1[1]) ** 2)
    outline = ("M%g,%g H%g A%g,%g 0 0 0 %g,%g H%g Q%g,%g %g,%g V%g Q%g,%g %g,%g H%g Q%g,%g %g,%g V%g Q%g,%g %g,%g Z"
               % (l + 10, top, k1[0] - dx, rn, rn, k1[0] + dx, top, l + 110, l + 116, top, l + 116, top + 6,
                  t + 72, l + 116, t + 78.5, l + 110, t + 78.5, l + 10, l + 4, t + 78.5, l + 4, t + 72,
                  top + 6, l + 4, top, l + 10, top))
    holes = "".join("M%g,%g a%g,%g 0 1 0 %g,0 a%g,%g 0 1 0 %g,0 Z" % (x - rn, y, rn, rn, 2 * rn, rn, rn, -2 * rn)
                    for (x, y) in (k2, k3))
    s.clip(c.l, c.t, c.r, c.b)
    s.path(outline + holes, s.linear([(0, "#ffe9a8"), (0.45, GOLD), (1, "#b87a24")]), INK, 2, fill_rule="evenodd")
    r = rn + 2
    s.path("M%g,%g A%g,%g 0 0 0 %g,%g" % (k1[0] - math.sqrt(r * r - 4), top + 2, r, r, k1[0] + math.sqrt(r * r - 4),
                                           top + 2), stroke=GLOW, sw=1.3)
    for (x, y) in (k2, k3):
        s.circle(x, y, r, "none", GLOW, 1.3)
    # the words on the shoulders either side of key 1, the closing key between the three
    s.text(l + 21, t + 20, "ALL", 12, "#fff6dc", DISPLAY, weight="normal", stroke=INK, sw=3)
    s.text(l + 97, t + 20, "KEYS", 12, "#fff6dc", DISPLAY, weight="normal", stroke=INK, sw=3)
    s.circle(l + 58, t + 43, 10, s.radial([(0, "#fffbe0"), (0.6, GOLD), (1, "#c08030")]), INK, 1.5)
    key_shape(s, l + 59, t + 42, KEY_COLOURS[3], 0.55)
    for (x, y) in ((58, 66), (46, 70), (70, 70)):
        s.poly(star_points(l + x, t + y, 3.5, 1.4), GLOW, INK, 0.8)
    s.end()


def play_st(s, sh):
    c = cell(sh, "orb")  # neutral white light, the game tints it; additive, so it fades to black
    s.rect(c.l, c.t, c.r, c.b, s.radial([(0, "#ffffff"), (0.12, "#f4f0e8"), (0.3, "#a8a49c"), (0.5, "#4c4a46"),
                                          (0.72, "#161616"), (0.95, "#000000")]))
    for name, bonus in (("+5", 1), ("+10", 1), ("+20", 1), ("-5", 0), ("-10", 0), ("-20", 0)):
        c = cell(sh, name)
        s.clip(c.l, c.t, c.r, c.b)
        time_label(s, c, name.replace("-", "\u2212"), bonus)
        s.end()
    for k in range(3):
        c = cell(sh, "key %d" % (k + 1))
        s.clip(c.l, c.t, c.r, c.b)
        key_icon(s, c.l, c.t, k)
        s.end()
    all_keys_mark(s, cell(sh, "ALL KEYS"))
    c = cell(sh, "clear beam")  # additive: brightness is the light, black is none
    light_column(s, c, [(0.04, "#000000"), (0.16, "#0e0c06"), (0.26, "#3a3220"), (0.34, "#8a7a48"),
                        (0.42, "#ffe9a8"), (0.5, "#ffffff"), (0.58, "#ffe9a8"), (0.66, "#8a7a48"), (0.74, "#3a3220"),
                        (0.84, "#0e0c06"), (0.96, "#000000")])
    c = cell(sh, "key panel")
    s.clip(c.l, c.t, c.r, c.b)
    stone_plate(s, c.l, c.t, c.r, c.b, 8)
    for k, (x, y) in enumerate(((40, 0), (10, 50), (70, 50))):
        x, y = c.l + x, c.t + y
        s.circle(x + 20, y + 20, 16, "#182236", "#5a6a86", 2)
        s.group(opacity=0.35)
        key_shape(s, x + 21, y + 19, ("#5a6a86", "#7a8aa6", "#3a4660"))
        s.end()
        s.circle(x + 9, y + 31, 5, "#2a3a56", "#5a6a86", 1)
        s.text(x + 9, y + 34.5, str(k + 1), 9, "#8b97ad", SANS)
    s.text(c.l + 60, c.b - 12, "KEYS", 11, "#b88a3a", SANS)
    s.end()
    c = cell(sh, "warp beam")
    light_column(s, c, [(0.04, "#000000"), (0.16, "#041214"), (0.3, "#1f6a70"), (0.5, "#e8ffff"), (0.7, "#1f6a70"),
                        (0.84, "#041214"), (0.96, "#000000")])
    for k in range(4):
        s.circle(c.l + 12 + 6 * (k % 3), c.t + 30 + 18 * k, 1.5, "#ffffff", opacity=0.4 + 0.2 * k)
    # the time gauge: the same at every x, since it is cut anywhere
    c = cell(sh, "bar full")
    s.rect(c.l, c.t, c.r, c.b, s.linear([(0, INK), (0.1, "#fff3c4"), (0.35, GOLD), (0.8, "#c0782a"),
                                          (0.9, "#7a4420"), (1, INK)]))
    c = cell(sh, "bar empty")
    s.rect(c.l, c.t, c.r, c.b, s.linear([(0, INK), (0.1, "#0e1420"), (0.5, "#1a2436"), (0.9, "#2a3650"),
                                          (1, INK)]))
    for name, text in (("TIME", "TIME"), ("STAGE", "STAGE")):
        c = cell(sh, name)
        s.clip(c.l, c.t, c.r, c.b)
        s.rect(c.l, c.t, c.r, c.b, MIRE_BLUE)
        label(s, (c.l + c.r) / 2, c.b - 9, text, 27, s.linear([(0, "#fff3c4"), (0.5, GOLD), (1, "#c0782a")]),
              ink_w=5)
        s.end()


DIGIT_STYLES = [
    (lambda s: s.linear([(0, "#ffffff"), (0.55, BONE), (1, "#b8ac90")]), "#fff6dc"),
    (lambda s: s.linear([(0, "#ffe08a"), (0.45, "#ff7a4a"), (1, "#c02a2a")]), "#fff0a0"),
]


def num(s, sh):
    for c in sh.cells:
        row = 0 if c.name.startswith("digit") else 1
        fill, rim = DIGIT_STYLES[row]
        s.clip(c.l, c.t, c.r, c.b)
        label(s, c.l + 10, c.b - 6, c.name[-1], 34, fill(s), rim=rim, ink_w=4.5, scale_x=0.72, fit=18)
        s.end()


# ------------------------------------------------------------------ faces

HUD_FACES = {"NORMAL": "calm", "WORRIED": "worried", "MISS": "miss", "CLEAR": "joy"}
FACE_BACKS = {"NORMAL": ("#2a3a56", "#5a7aa8"), "WORRIED": ("#3a2e48", "#8a6aa0"),
              "MISS": ("#4a2030", "#c8383a"), "CLEAR": ("#5a4020", "#f2b544")}


def hud_face(s, c, expr, back, glow):
    from characters import NELL, nell_head
    s.clip(c.l, c.t, c.r, c.b)
    s.rect(c.l, c.t, c.r, c.b, s.radial([(0, glow), (0.7, back), (1, MIRE)]))
    if expr == "joy":
        for a in range(0, 360, 30):
            r = math.radians(a)
            s.path("M%g,%g L%g,%g L%g,%g Z" % (c.l + 60, c.t + 60, c.l + 60 + 90 * math.cos(r - 0.12),
                                               c.t + 60 + 90 * math.sin(r - 0.12), c.l + 60 + 90 * math.cos(r + 0.12),
                                               c.t + 60 + 90 * math.sin(r + 0.12)), GLOW, opacity=0.25)
    cx, cy = c.l + 60, c.t + 56
    # shoulders: the mustard cape, a cream collar and the satchel strap
    s.path("M%g,%g C%g,%g %g,%g %g,%g Z" % (cx - 58, c.b + 2, cx - 50, cy + 40, cx + 50, cy + 40, cx + 58, c.b + 2),
           s.linear([(0, "#ecc25a"), (1, "#b08528")], 0, 0, 1, 0), INK, 2.5)
    s.path("M%g,%g q%g,%g %g,0" % (cx - 22, cy + 44, 22, 14, 44), fill=NELL["shirt"], stroke=INK, sw=2)
    s.line(cx - 30, cy + 48, cx + 10, c.b + 4, "#5a3a22", 6)
    s.group(transform="translate(%g %g) scale(0.62)" % (cx, cy))
    nell_head(s, expr)
    s.end()
    s.rect(c.l + 1.5, c.t + 1.5, c.r - 1.5, c.b - 1.5, "none", "#b88a3a", 3, rx=6)
    s.rect(c.l + 0.5, c.t + 0.5, c.r - 0.5, c.b - 0.5, "none", INK, 1, rx=6)
    s.end()


def play_face(s, sh):
    for c in sh.cells:
        back, glow = FACE_BACKS[c.name]
        hud_face(s, c, HUD_FACES[c.name], back, glow)


# ------------------------------------------------------------------ messages

RIBBON_PLATE = 20  # the plate's inset from the cell's sides; the lettering stays inside its gold line


def ribbon(s, l, t, r, b, fill, edge):
    m, p = (t + b) / 2, RIBBON_PLATE
    s.poly([(l + 2, t + 8), (l + 14, m), (l + 2, b - 8), (l + p + 14, b - 8), (l + p + 14, t + 8)], edge, INK, 2.5)
    s.poly([(r - 2, t + 8), (r - 14, m), (r - 2, b - 8), (r - p - 14, b - 8), (r - p - 14, t + 8)], edge, INK, 2.5)
    s.rect(l + p, t + 2, r - p, b - 12, fill, INK, 3, rx=6)
    s.rect(l + p + 5, t + 7, r - p - 5, b - 17, "none", GOLD, 1.5, rx=4)


def ribbon_label(s, c, text, fill):
    label(s, (c.l + c.r) / 2, c.t + 80, text, 40, fill, ink_w=6, scale_x=0.92,
          fit=c.r - c.l - 2 * (RIBBON_PLATE + 5 + 8))


def mes(s, sh):
    gold = s.linear([(0, "#fffbe0"), (0.4, "#ffd66a"), (0.75, GOLD), (1, "#c0782a")])
    c = cell(sh, "STAGE START")
    s.clip(c.l, c.t, c.r, c.b)
    ribbon(s, c.l, c.t + 18, c.r, c.b - 8, s.linear([(0, "#2a3a60"), (1, "#16203a")]), "#3a4a70")
    ribbon_label(s, c, "STAGE START", gold)
    s.end()
    c = cell(sh, "STAGE CLEAR")
    s.clip(c.l, c.t, c.r, c.b)
    ribbon(s, c.l, c.t + 18, c.r, c.b - 8, s.linear([(0, "#6a3a18"), (1, "#3a2010")]), "#8a5424")
    ribbon_label(s, c, "STAGE CLEAR", gold)
    for (x, y, r) in ((34, 22, 9), (290, 24, 8), (300, 100, 6), (24, 100, 6)):
        s.poly(star_points(c.l + x, c.t + y, r, r * 0.4), GLOW, INK, 1.5)
    s.end()
    c = cell(sh, "MISS")
    s.clip(c.l, c.t, c.r, c.b)
    red = s.linear([(0, "#ffd0b0"), (0.4, "#ff7a5a"), (0.8, RED), (1, "#801c24")])
    label(s, c.l + 160, c.t + 92, "MISS", 82, red, ink_w=9)
    for (x, y) in ((34, 40), (286, 100)):
        s.path("M%g,%g q-6,12 0,16 q6,-4 0,-16 z" % (c.l + x, c.t + y), fill="#a8dcff", stroke=INK, sw=2)
    s.end()
    c = cell(sh, "TIME UP")
    s.clip(c.l, c.t, c.r, c.b)
    cx, cy = c.l + 160, c.t + 70
    s.circle(cx, cy, 52, "#3a2e48", INK, 3)
    s.circle(cx, cy, 44, s.radial([(0, "#fffbe8"), (1, BONE_SHADE)]), INK, 2.5)
    for k in range(12):
        a = k * math.pi / 6
        s.line(cx + 36 * math.cos(a), cy + 36 * math.sin(a), cx + 41 * math.cos(a), cy + 41 * math.sin(a), INK,
               3 if k % 3 == 0 else 1.5)
    s.line(cx, cy, cx, cy - 32, RED, 4.5)
    s.line(cx, cy, cx + 20, cy + 4, INK, 4.5)
    s.circle(cx, cy, 4.5, INK)
    s.path("M%g,%g a52,52 0 0 1 10,-36" % (cx - 62, cy + 30), stroke=GLOW, sw=4)
    s.path("M%g,%g a52,52 0 0 0 -10,-36" % (cx + 62, cy + 30), stroke=GLOW, sw=4)
    violet = s.linear([(0, "#ffe0f0"), (0.4, "#f08aa8"), (0.8, "#b83a6a"), (1, "#5a1c40")])
    label(s, cx, c.t + 200, "TIME UP", 62, violet, ink_w=8)
    s.end()
    c = cell(sh, "ALL CLEAR")
    s.clip(c.l, c.t, c.r, c.b)
    cx, cy = c.l + 160, c.t + 80
    for a in range(0, 360, 20):  # pointed rays, the upward ones shortened to end inside the cell
        r = math.radians(a)
        reach = min(110 if a % 40 else 92, (cy - c.t - 4) / max(0.01, -math.sin(r)))
        s.poly([(cx, cy), (cx + (reach - 10) * math.cos(r - 0.09), cy + (reach - 10) * math.sin(r - 0.09)),
                (cx + reach * math.cos(r), cy + reach * math.sin(r)),
                (cx + (reach - 10) * math.cos(r + 0.09), cy + (reach - 10) * math.sin(r + 0.09))],
               "#ffd66a" if a % 40 else GLOW)
    s.circle(cx, cy, 44, "#c0782a", INK, 2.5)
    s.circle(cx, cy, 38, gold)
    # the mire-lamp as an emblem: a tiered stone lantern with its flame
    s.poly([(cx - 22, cy + 30), (cx + 22, cy + 30), (cx + 16, cy + 22), (cx - 16, cy + 22)], BONE, INK, 2)
    s.rect(cx - 12, cy - 4, cx + 12, cy + 22, BONE_SHADE, INK, 2)
    s.rect(cx - 7, cy + 1, cx + 7, cy + 17, "#fff3c4", INK, 1.5)
    s.path("M%g,%g q-5,-8 0,-15 q5,7 0,15 z" % (cx, cy + 15), fill=EMBER)
    s.poly([(cx - 20, cy - 4), (cx, cy - 22), (cx + 20, cy - 4)], BONE, INK, 2)
    s.circle(cx, cy - 24, 3.5, BONE, INK, 1.5)
    label(s, cx, c.t + 212, "ALL CLEAR!", 50, gold, ink_w=7, scale_x=0.95, fit=c.r - c.l - 12)
    s.end()


# ------------------------------------------------------------------ screens

def mire_night(s, w, h, seed=1, stars=40):
    s.rect(0, 0, w, h, s.linear([(0, "#0c1220"), (0.5, MIRE), (1, "#182236")]))
    r = rng(seed)
    for _ in range(stars):  # stars reflected in the black water
        s.circle(r() * w, r() * h, 0.6 + r() * 1.1, "#c8d4f0", opacity=0.25 + 0.4 * r())
    for _ in range(int(w * h / 9000)):
        x, y = r() * w, r() * h
        n = 2 + int(r() * 3)
        s.path("M%g,%g" % (x, y) + " q4,-2.5 8,0 t8,0" * n, stroke="#2c3a56", sw=1.2)


def play_background(s, sh):
    mire_night(s, 640, 480, seed=7, stars=70)
    s.rect(0, 0, 640, 480, s.radial([(0, GOLD, 0.10), (1, GOLD, 0)], 0.38, 0.5, 0.5))
    r = rng(3)
    for (x, y, w) in ((18, 120, 34), (26, 300, 26), (430, 30, 30), (428, 440, 40), (14, 448, 30), (424, 236, 24)):
        s.path("M%g,%g q%g,4 %g,0" % (x - 6, y + w * 0.42, w / 2 + 6, w + 12), stroke="#3a4a6a", sw=1.5)
        s.rect(x, y + w * 0.3, x + w, y + w * 0.42, "#8a8070", INK, 1)
        s.rect(x, y, x + w, y + w * 0.3, s.linear([(0, BONE), (1, BONE_SHADE)]), INK, 1, rx=1.5)
    for x in (6, 22, 455, 470):  # reeds at the water's edge
        s.path("M%g,480 q-4,-40 %g,-%g" % (x, 6 * (r() - 0.5), 50 + 20 * r()), stroke="#3a4630", sw=2.5)
    # the board's stone rim
    s.rect(66, 66, 414, 414, s.linear([(0, "#6a7490"), (1, "#2e3850")], 0, 0, 1, 1), INK, 2, rx=10)
    s.rect(72, 72, 408, 408, "#0e1420", "#b88a3a", 1.5, rx=6)
    s.rect(79, 79, 401, 401, "#121826")
    for (x, y) in ((66, 66), (414, 66), (66, 414), (414, 414)):
        s.circle(x, y, 7, GOLD, INK, 2)
        s.circle(x - 1.5, y - 1.5, 2.2, GLOW)
    # the HUD: a standing stone tablet with two plain recesses. The upper one holds the clock, the
    # stage and the face in play and the editor's tile palette and time buttons, the lower one the
    # key panel or SAVE and CLEAR; both are one flat colour inside their gold line, so nothing of
    # the play layout shows through the editor's dimmed buttons.
    s.rect(478, -10, 636, 490, s.linear([(0, "#56607a"), (0.5, "#3b4659"), (1, "#2a3346")], 0, 0, 1, 0), INK, 2,
           rx=12)
    s.rect(481, 0, 483, 480, "#7a849c")
    for (t, b) in ((4, 294), (312, 448)):
        s.rect(484, t, 628, b, MIRE_BLUE, INK, 2, rx=8)
        s.rect(487.5, t + 3.5, 624.5, b - 3.5, "none", "#b88a3a", 1, rx=5)
    for y in (303, 458):
        s.line(500, y, 612, y, "#b88a3a", 1.5)
        s.poly([(556, y - 5), (561, y), (556, y + 5), (551, y)], GOLD, INK, 1)
    s.text(556, 474, "OSSMIRE", 12, "#c7bba2", DISPLAY, weight="normal")


def pause_panel(s, sh):
    s.rect(0, 0, 640, 480, s.linear([(0, "#f5e9c8"), (1, "#e4cf9f")]))
    s.rect(0, 0, 640, 480, s.radial([(0.6, "#8a5a2a", 0), (1, "#8a5a2a", 0.45)]))
    r = rng(11)
    for _ in range(60):  # paper grain
        s.circle(r() * 640, r() * 480, 1 + 2 * r(), "#c8a870", opacity=0.18)
    # Nell's map in faint pencil: board squares and the path that crosses them
    for (ox, oy) in ((40, 40), (500, 300)):
        for i in range(5):
            for j in range(5):
                s.rect(ox + 20 * i, oy + 20 * j, ox + 20 * i + 17, oy + 20 * j + 17, "none", "#b89a68", 1)
        s.path("M%g,%g h40 v20 h-20 v40 h60 v-60" % (ox + 8, oy + 8), stroke="#c07a40", sw=2,
               stroke_dasharray="4 3", opacity=0.7)
    # compass with the lamp at its heart
    cx, cy = 560, 110
    s.circle(cx, cy, 40, "none", "#b89a68", 1.5)
    s.poly([(cx, cy - 48), (cx + 7, cy), (cx, cy + 48), (cx - 7, cy)], "#d8bf8c", "#8a6a40", 1.2)
    s.poly([(cx - 48, cy), (cx, cy - 7), (cx + 48, cy), (cx, cy + 7)], "#d8bf8c", "#8a6a40", 1.2)
    s.circle(cx, cy, 6, GOLD, "#8a6a40", 1.2)
    s.text(cx, cy - 52, "N", 12, "#8a6a40", SANS)
    # title
    s.text(320, 118, "\u3072\u3068\u4f11\u307f", 62, "#4a2a1e", JP_SERIF)
    s.text(320, 150, "P A U S E", 18, "#8a5a2a", SANS)
    s.line(160, 180, 290, 180, "#8a5a2a", 2)
    s.line(350, 180, 480, 180, "#8a5a2a", 2)
    s.path("M320,168 q-7,9 0,20 q7,-11 0,-20 z", fill=EMBER, stroke="#4a2a1e", sw=1.5)
    # the menu area stays plain paper; a faint frame keeps it together
    s.rect(70, 206, 570, 418, "#fbf3dc", "#b89a68", 1.5, rx=10, opacity=0.9)
    s.line(320, 290, 320, 346, "#d8c090", 1.5)
    s.text(320, 448, "Z \uff1a\u3051\u3063\u3066\u3044\u3000\u3000X \uff1a\u3068\u3058\u308b", 16, "#7a5a3a",
           JP_SANS, weight="normal")
    # the hanging scroll's rollers
    for y in (0, 462):
        s.rect(-4, y, 644, y + 18, s.linear([(0, "#a8744a"), (0.5, "#6a4226"), (1, "#3e2414")]), INK, 2, rx=8)
        for x in (10, 630):
            s.circle(x, y + 9, 10, GOLD, INK, 2)


def plate_label(s, c, text, size, fill="#2a3a56", fg="#fff6dc", edge=GOLD, family=SANS):
    s.clip(c.l, c.t, c.r, c.b)
    s.rect(c.l + 2, c.t + 3, c.r - 2, c.b - 3, fill, INK, 2.5, rx=9)
    s.rect(c.l + 5.5, c.t + 6.5, c.r - 5.5, c.b - 6.5, "none", edge, 1.2, rx=6)
    s.text((c.l + c.r) / 2, (c.t + c.b) / 2 + size * 0.36, text, size, fg, family,
           weight="normal" if family == DISPLAY else "bold", stroke=INK, sw=3)
    s.end()


def select(s, sh):
    plate_label(s, cell(sh, "header"), "FREE PLAY \u00b7 CHOOSE A BOARD", 17, MIRE_BLUE, GLOW, GOLD, DISPLAY)
    plate_label(s, cell(sh, "caption L"), "\u25c0\u25b6 MAP\u2003\u25b2\u25bc SOURCE", 13)
    plate_label(s, cell(sh, "caption R"), "Z\u2002PLAY\u2003\u2003X\u2002TITLE", 14)
    for name, fill in (("COURSE", "#2a5a9a"), ("UNDERGROUND", "#5a2a6a"), ("MY MAPS", "#6a4a1a")):
        plate_label(s, cell(sh, name), name, 12 if name == "UNDERGROUND" else 17, fill, "#ffffff", GLOW, DISPLAY)


def shutter(s, sh):
    """Slabs of black mire rock that drop over the board when time runs out."""
    r = rng(31)
    for k in range(12):
        t = 40 * k
        off = 0 if k % 2 else -40
        for x in range(off, 640, 80):
            shade = 0.85 + 0.3 * r()
            col = "#%02x%02x%02x" % (int(0x3e * shade), int(0x38 * shade), int(0x4a * shade))
            s.rect(x + 1, t + 1, x + 79, t + 39, col, INK, 2, rx=3)
            s.path("M%g,%g H%g" % (x + 4, t + 4, x + 76), stroke="#6a6478", sw=1.5)
            s.path("M%g,%g H%g V%g" % (x + 4, t + 36.5, x + 76.5, t + 4), stroke="#241f2c", sw=1.5)
            if r() < 0.25:
                s.path("M%g,%g l%g,%g l%g,%g" % (x + 20 + 30 * r(), t + 8, 6, 10, -3, 12), stroke="#2a2432", sw=1.2)
    # a carved lamp ring, the same as on the doors, dark now
    s.circle(240, 240, 120, "none", "#4e485c", 10)
    s.circle(240, 240, 120, "none", "#241f2c", 2)
    for a in range(0, 360, 30):
        t = math.radians(a)
        s.circle(240 + 120 * math.cos(t), 240 + 120 * math.sin(t), 5, "#4e485c", INK, 1.5)
    # the leading edge: a rail of bone stone with a lamp-gold line
    s.rect(0, 446, 640, 480, s.linear([(0, BONE), (1, BONE_SHADE)]), INK, 2)
    s.rect(0, 452, 640, 455, GOLD)
    for x in range(20, 640, 40):
        s.poly([(x, 462), (x + 6, 468), (x, 474), (x - 6, 468)], "#8a7a5a")
    s.rect(0, 474, 640, 480, INK)


DRAWERS = {
    "play/chip": chip,
    "play/char": char,
    "play/way": way,
    "play/st": play_st,
    "play/num": num,
    "play/face": play_face,
    "play/mes": mes,
    "play/background": play_background,
    "play/retray": pause_panel,
    "play/select": select,
    "play/shutt": shutter,
}

if __name__ == "__main__":
    run(DRAWERS, sys.argv)
