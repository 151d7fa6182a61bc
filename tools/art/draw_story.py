#!/usr/bin/env python3
"""Draws the story sheets: the three portraits (four expressions each), the
message window, the spare faces, the two photographs and the three story
backgrounds, from content/story/CHARACTERS.md.

Usage: draw_story.py [DIR] [SHEET ...]    e.g. draw_story.py gameadv/character_1
"""

import math
import sys

from artkit import (BONE, BONE_SHADE, DISPLAY, EMBER, GLOW, GOLD, INK, JP_SERIF, MIRE, MIRE_BLUE, SLATE,
                    cell, rng, run, star_points)
from characters import MIRE, NELL, OLGA, mire_head, nell_head, olga_head
from draw_play import key_shape
from draw_screens import glow, lamp, slab_path

SKIN_N, SKIN_O, SKIN_M = NELL["skin"], OLGA["skin"], MIRE["skin"]


def limb(s, pts, colour, width, outline=INK):
    d = "M" + " L".join("%g,%g" % p for p in pts)
    s.path(d, stroke=outline, sw=width + 5)
    s.path(d, stroke=colour, sw=width)


def _side(p, n, w):
    return p[0] + n[0] * w / 2, p[1] + n[1] * w / 2


def _capsule(s, p, q, wp, wq, fill, n):
    s.path("M%g,%g L%g,%g A%g,%g 0 0 0 %g,%g L%g,%g A%g,%g 0 0 0 %g,%g Z"
           % (_side(p, n, wp) + _side(q, n, wq) + (wq / 2, wq / 2) + _side(q, n, -wq) + _side(p, n, -wp)
              + (wp / 2, wp / 2) + _side(p, n, wp)), fill, INK, 3)


def arm(s, shoulder, elbow, wrist, sleeve, skin=SKIN_N, widths=(26, 22, 17)):
    """An arm bent at the elbow, the shirt sleeve rolled up to it and the forearm bare; returns the
    forearm's direction in degrees (0 = straight down), the angle a hand at the wrist continues it at."""
    pts = (shoulder, elbow, wrist)
    normals = []
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        n = math.hypot(x1 - x0, y1 - y0)
        normals.append((-(y1 - y0) / n, (x1 - x0) / n))
    ne = (normals[0][0] + normals[1][0], normals[0][1] + normals[1][1])
    k = math.hypot(*ne)
    w0, we, w1 = widths
    if k < 1.0:  # folded tight: the forearm lies over the upper arm
        _capsule(s, shoulder, elbow, w0, we, sleeve, normals[0])
        _capsule(s, elbow, wrist, we - 2, w1, skin, normals[1])
    else:  # one outline round both parts, the sleeve laid over the upper one
        ne = (ne[0] / k, ne[1] / k)
        a = [_side(shoulder, normals[0], w0), _side(elbow, ne, we), _side(wrist, normals[1], w1)]
        b = [_side(shoulder, normals[0], -w0), _side(elbow, ne, -we), _side(wrist, normals[1], -w1)]
        s.path("M%g,%g L%g,%g L%g,%g A%g,%g 0 0 0 %g,%g L%g,%g L%g,%g A%g,%g 0 0 0 %g,%g Z"
               % (a[0] + a[1] + a[2] + (w1 / 2, w1 / 2) + b[2] + b[1] + b[0] + (w0 / 2, w0 / 2) + a[0]),
               skin, INK, 3)
        _capsule(s, shoulder, elbow, w0, we, sleeve, normals[0])
    # the rolled cuff just above the elbow
    (sx, sy), (ex, ey) = shoulder, elbow
    n = math.hypot(ex - sx, ey - sy)
    ux, uy = (ex - sx) / n, (ey - sy) / n
    _capsule(s, (ex - ux * 12, ey - uy * 12), (ex - ux * 4, ey - uy * 4), we + 5, we + 5, sleeve, normals[0])
    fx, fy = wrist[0] - ex, wrist[1] - ey
    return math.degrees(math.atan2(-fx, fy))


def nell_hand(s, x, y, angle, kind, skin=SKIN_N, mirror=False, k=1.0):
    """A hand at the wrist (x, y), turned by angle from fingers pointing down. kind: "open" (relaxed,
    fingers together, thumb on the left unless mirrored), "fist" (knuckles to the viewer, thumb
    across) or "grip" (fingers curled round a handle)."""
    shade = NELL["skin_shade"]
    s.group(transform="translate(%g %g) rotate(%g) scale(%g %g)" % (x, y, angle, -k if mirror else k, k))
    if kind == "open":
        s.path("M-10,8 C-17,10 -18,18 -13,22 C-10,24 -8,18 -7,14 Z", skin, INK, 2.5)  # thumb
        s.path("M-9,-1 L9,-1 C11,6 11,14 10,20 C9,27 6,30 0,30 C-6,30 -9,27 -9.5,20 C-10,13 -10,6 -9,-1 Z",
               skin, INK, 2.5)
        for fx, top in ((-4.5, 17), (0.5, 18), (5.5, 17)):
            s.line(fx, top, fx, 28, shade, 1.8)
    else:
        s.rect(-12, -2, 12, 20, skin, INK, 2.5, rx=7)
        for fx in (-6, 0, 6):
            s.line(fx, 8 if kind == "fist" else 4, fx, 19, shade, 1.8)
        if kind == "fist":
            s.rect(-11, 2, 4, 9, skin, INK, 2, rx=3.5)  # the thumb across the fingers
    s.end()


def hand(s, x, y, skin, r=13, fist=False):
    if fist:
        s.rect(x - r, y - r * 0.85, x + r, y + r * 0.85, skin, INK, 3, rx=r * 0.5)
        for k in (-1, 0, 1):
            s.line(x - r + 4, y + k * r * 0.45, x + r * 0.2, y + k * r * 0.45, "#c89878", 2)
    else:
        s.ellipse(x, y, r, r * 1.1, skin, INK, 3)


def brass_lantern(s, x, y, k=1.0):
    s.path("M%g,%g q%g,%g %g,0" % (x - 12 * k, y - 22 * k, 12 * k, -18 * k, 24 * k), stroke=INK, sw=3)
    s.rect(x - 16 * k, y - 24 * k, x + 16 * k, y - 16 * k, "#c89a3c", INK, 2.5, rx=2)
    s.rect(x - 13 * k, y - 16 * k, x + 13 * k, y + 16 * k, s.radial([(0, "#ffffff"), (0.5, GLOW), (1, GOLD)]),
           INK, 2.5, rx=3)
    s.path("M%g,%g q-5,-7 0,-14 q5,7 0,14 z" % (x, y + 8 * k), fill=EMBER)
    s.rect(x - 16 * k, y + 16 * k, x + 16 * k, y + 24 * k, "#a87a2c", INK, 2.5, rx=2)


# ------------------------------------------------------------------ Nell

NELL_EXPR = ["calm", "joy", "surprise", "tearful"]


def nell_portrait(s, e):
    cape = s.linear([(0, "#ecc25a"), (0.5, NELL["cape"]), (1, NELL["cape_shade"])], 0, 0, 1, 0)
    s.group(transform="rotate(-32 100 280)")  # the map roll over her shoulder
    s.rect(86, 190, 114, 300, s.linear([(0, "#fffaf0"), (1, "#d8c8a8")], 0, 0, 1, 0), INK, 3, rx=4)
    s.ellipse(100, 190, 14, 6, "#e8dcc0", INK, 2.5)
    s.path("M100,190 m-6,0 a6,3 0 1 1 6,3", stroke="#b8a888", sw=1.5)
    s.rect(86, 214, 114, 221, "#b0742c", INK, 2)
    s.end()
    s.rect(142, 196, 178, 250, s.linear([(0, SKIN_N), (1, NELL["skin_shade"])], 0, 0, 1, 0), INK, 3)
    s.path("M110,250 L100,480 L220,480 L210,250 Z", NELL["shirt"], INK, 3)
    s.path("M160,232 C120,236 80,262 62,330 L42,480 L122,480 L132,300 Q140,262 160,236 Z", cape, INK, 3.5)
    s.path("M160,232 C200,236 240,262 258,330 L278,480 L198,480 L188,300 Q180,262 160,236 Z", cape, INK, 3.5)
    s.path("M112,246 Q160,292 208,246", stroke=NELL["cape_shade"], sw=12)  # the hood, lying on her back
    s.path("M112,246 Q160,292 208,246", stroke=INK, sw=2)
    s.path("M100,300 q6,40 -4,90 M220,300 q-6,40 4,90", stroke=NELL["cape_shade"], sw=3)
    s.rect(112, 452, 208, 490, "#2e3a5c", INK, 3)
    limb(s, [(106, 262), (236, 430)], "#5a3a22", 12)  # satchel strap
    s.rect(200, 392, 276, 460, s.linear([(0, "#7a5232"), (1, "#4a2e1a")]), INK, 3, rx=8)
    s.path("M200,410 h76", stroke=INK, sw=2.5)
    s.rect(232, 404, 244, 420, "#c89a3c", INK, 2)
    # the cape is thrown back: her arms hang in front of it
    shirt = NELL["shirt"]
    if e != 3:  # the left hand carries the lantern by its handle
        arm(s, (118, 262), (98, 334), (86, 390), shirt)
        brass_lantern(s, 84, 440, 0.9)
        nell_hand(s, 85, 388, 0, "grip")
    if e == 0:  # the right hand rests on the satchel
        nell_hand(s, 216, 398, arm(s, (202, 262), (222, 334), (216, 400), shirt) - 6, "open", mirror=True)
    elif e == 1:  # a fist raised to her chest
        nell_hand(s, 192, 312, arm(s, (202, 262), (234, 346), (194, 314), shirt), "fist", k=1.15)
    elif e == 2:  # a hand raised to her mouth; the hand itself is drawn over her chin
        hand_angle = arm(s, (204, 262), (228, 322), (198, 242), shirt)
    else:  # the lantern held to her chest in both hands
        arm(s, (118, 262), (94, 342), (138, 344), shirt)
        arm(s, (202, 262), (226, 342), (182, 344), shirt)
        brass_lantern(s, 160, 318, 1.3)
        nell_hand(s, 141, 326, -20, "grip")
        nell_hand(s, 179, 326, 20, "grip")
    s.ellipse(160, 238, 22, 9, NELL["skin_shade"])  # the chin's shadow on her neck
    s.group(transform="translate(160 150) scale(1.3)")
    nell_head(s, NELL_EXPR[e])
    s.end()
    if e == 2:
        nell_hand(s, 198, 244, hand_angle - 10, "open", mirror=True, k=1.1)


# ------------------------------------------------------------------ Olga

OLGA_EXPR = ["stern", "smile", "sharp", "grave"]


def pipe(s, x, y, angle, k=1.0):
    s.group(transform="translate(%g %g) rotate(%g) scale(%g)" % (x, y, angle, k))
    s.rect(0, -3.5, 46, 3.5, "#e8dcc4", INK, 2.5, rx=3)
    s.path("M40,-4 h14 v-14 q-8,-4 -14,0 z", fill="#c8b8a0", stroke=INK, sw=2.5)
    s.ellipse(47, -18, 7, 3, "#5a3a22", INK, 1.5)
    s.path("M47,-24 q-6,-10 2,-18 q8,-8 0,-18", stroke="#e8e4da", sw=2.5, opacity=0.7)
    s.end()


def olga_portrait(s, e):
    coat = s.linear([(0, OLGA["coat_light"]), (0.6, OLGA["coat"]), (1, "#34202c")], 0, 0, 1, 0)
    lean = 8 if e == 2 else 0
    # the staff, a vertical line beside her
    s.rect(56, 40, 72, 490, s.linear([(0, "#f0e0c0"), (1, "#b8a47a")], 0, 0, 1, 0), INK, 3, rx=6)
    s.ellipse(64, 40, 14, 12, "#c8b48a", INK, 3)
    s.rect(160 - 22, 200, 160 + 22, 262, s.linear([(0, SKIN_O), (1, OLGA["skin_shade"])], 0, 0, 1, 0), INK, 3)
    s.path("M165,232 C110,236 82,262 70,320 L52,480 L284,480 L266,320 C252,262 220,236 165,232 Z", coat, INK, 3.5)
    for y in range(300, 480, 40):  # brass toggles
        s.rect(160, y, 176, y + 8, "#c89a3c", INK, 2, rx=3)
    s.path("M164,290 V480", stroke="#2a1a24", sw=3)
    # the moss-brown shawl over her shoulders
    s.path("M84,288 C100,244 130,232 165,234 C200,232 234,244 250,288 C220,320 200,330 165,332 C130,330 110,320 "
           "84,288 Z", s.linear([(0, OLGA["shawl_light"]), (1, OLGA["shawl"])]), INK, 3)
    for x in range(100, 240, 14):
        s.line(x, 300 + abs(x - 165) * -0.2, x + 2, 330 - abs(x - 165) * 0.3, "#4e4228", 1.5)
    # the ring of iron keys at her belt
    s.circle(228, 430, 12, "none", INK, 6)
    s.circle(228, 430, 12, "none", "#8a92a6", 3)
    for a in (60, 90, 125):
        key_shape(s, 228 + 22 * math.cos(math.radians(a)), 430 + 24 * math.sin(math.radians(a)),
                  ("#7a8294", "#b0b8c8", "#4a5264"), 1.1, a - 180)
    sleeve = OLGA["coat_light"]
    hand_r = (64, 270) if e != 3 else (64, 250)
    limb(s, [(98, 330), (80, 300), (hand_r[0] + 6, hand_r[1])], sleeve, 30)
    hand(s, hand_r[0], hand_r[1], SKIN_O, 14, fist=True)
    if e == 0:  # the pipe held up, by her chin
        limb(s, [(236, 330), (262, 330), (234, 292)], sleeve, 30)
        hand(s, 230, 290, SKIN_O, 13)
        pipe(s, 222, 288, -20)
    elif e == 1:  # the pipe lowered
        limb(s, [(236, 330), (256, 350), (230, 322)], sleeve, 30)
        hand(s, 226, 320, SKIN_O, 13)
        pipe(s, 218, 322, 12)
    elif e == 2:  # the pipe pointed at the viewer
        limb(s, [(236, 330), (254, 300), (228, 262)], sleeve, 30)
        hand(s, 226, 258, SKIN_O, 14)
        s.circle(218, 248, 11, "#c8b8a0", INK, 3)
        s.circle(218, 248, 6, "#5a3a22")
        s.rect(222, 248, 236, 256, "#e8dcc4", INK, 2)
    else:  # both hands on the staff
        limb(s, [(236, 330), (170, 330), (76, 296)], sleeve, 30)
        hand(s, 66, 296, SKIN_O, 14, fist=True)
    tilt = -8 if e == 3 else 0
    s.group(transform="translate(%g %g) rotate(%g) scale(1.32)" % (166 - lean, 140 + lean, tilt))
    olga_head(s, OLGA_EXPR[e], gloom=(e == 3))
    s.end()


# ------------------------------------------------------------------ Mire

MIRE_EXPR = ["curious", "giggle", "frightened", "serene"]


def mire_portrait(s, e):
    halo = [(120, "#ffd9a0"), (130, "#ffd9a0"), (84, "#d8b888"), (150, "#ffd9a0")][e]
    r, col = halo
    for k, c in enumerate((col, "#ffe6c0", "#fff2dc")):
        s.circle(160, 150, r - 22 * k, c)
    dress = s.linear([(0, "#ffffff"), (0.5, MIRE["dress"]), (1, "#f0dcc0")], 0, 0, 1, 0)
    # below the hem she is a wisp of flame, never touching the ground
    wisp = s.linear([(0, "#fff6e6"), (0.45, GLOW), (0.8, GOLD), (1, EMBER)])
    s.path("M118,340 C120,400 150,420 160,450 C166,462 170,470 178,478 C178,456 196,430 206,400 C214,376 206,352 "
           "202,340 Z", wisp, INK, 3)
    s.path("M150,360 C152,400 166,420 172,452", stroke="#ffffff", sw=4, opacity=0.8)
    s.path("M122,190 C100,240 90,300 100,352 Q116,364 130,352 Q146,366 160,354 Q176,368 190,354 Q204,366 220,352 "
           "C230,300 222,240 198,190 Z", dress, INK, 3.5)
    s.ellipse(160, 270, 38, 70, s.radial([(0, "#ffffff"), (1, "#ffffff", 0)]))  # she glows from inside
    s.rect(146, 170, 174, 200, SKIN_M, INK, 3)
    s.path("M128,196 Q160,214 192,196", stroke="#f0dcc0", sw=6)
    s.path("M128,196 Q160,214 192,196", stroke=INK, sw=2)
    sleeve = "#fffaf0"
    if e == 0:  # a finger at her lips, the other arm out
        limb(s, [(196, 204), (226, 262), (190, 176)], sleeve, 28)
        limb(s, [(124, 204), (86, 250), (56, 270)], sleeve, 28)
        hand(s, 52, 272, SKIN_M, 11)
    elif e == 1:  # both hands waving
        limb(s, [(124, 204), (80, 220), (58, 170)], sleeve, 28)
        limb(s, [(196, 204), (240, 220), (262, 170)], sleeve, 28)
        hand(s, 58, 164, SKIN_M, 12)
        hand(s, 262, 164, SKIN_M, 12)
        for (x, y) in ((36, 140), (284, 132), (300, 200)):
            s.poly(star_points(x, y, 10, 4), GLOW, INK, 1.5)
    elif e == 2:  # hugging herself
        limb(s, [(124, 204), (108, 270), (190, 236)], sleeve, 28)
        limb(s, [(196, 204), (212, 272), (132, 244)], sleeve, 28)
        hand(s, 194, 232, SKIN_M, 11)
        hand(s, 128, 240, SKIN_M, 11)
    else:  # a small flame cupped at her chest
        limb(s, [(124, 204), (112, 260), (144, 262)], sleeve, 28)
        limb(s, [(196, 204), (208, 260), (176, 262)], sleeve, 28)
        s.circle(160, 232, 26, "#fff2dc")
        s.path("M160,258 q-16,-20 0,-44 q16,24 0,44 z", fill=GOLD, stroke=EMBER, sw=2.5)
        s.path("M160,254 q-7,-10 0,-22 q7,12 0,22 z", fill="#ffffff")
        hand(s, 146, 264, SKIN_M, 12)
        hand(s, 174, 264, SKIN_M, 12)
    tilt = {0: -10, 1: 4, 2: 8, 3: 0}[e]
    s.group(transform="translate(160 120) rotate(%g)" % tilt)
    mire_head(s, MIRE_EXPR[e], droop=(e == 2))
    s.end()
    if e == 0:
        hand(s, 188, 172, SKIN_M, 10)
        s.rect(183, 150, 191, 170, SKIN_M, INK, 2.5, rx=4)


def portraits(fn):
    def draw(s, sh):
        for e, c in enumerate(sh.cells):
            s.clip(c.l, c.t, c.r, c.b)
            s.group(transform="translate(%d %d)" % (c.l, c.t))
            fn(s, e)
            s.end()
            s.end()
    return draw


# ------------------------------------------------------------------ faces, window

def story_faces(s, sh):
    heads = [(nell_head, "calm", "#ffd66a", 0.78), (olga_head, "stern", "#c8b0d0", 0.62),
             (mire_head, "giggle", "#ffd9a0", 0.72), (nell_head, "joy", "#ffd66a", 0.78)]
    for c, (fn, expr, ring, k) in zip(sh.cells, heads):
        s.clip(c.l, c.t, c.r, c.b)
        s.circle(c.l + 60, c.t + 60, 57, ring, INK, 3)
        s.circle(c.l + 60, c.t + 60, 51, MIRE_BLUE)
        s.clip_path("M%g,%g a51,51 0 1 0 0.1,0 z" % (c.l + 60, c.t + 9))
        s.group(transform="translate(%g %g) scale(%g)" % (c.l + 60, c.t + 62 + (10 if fn is olga_head else 0), k))
        fn(s, expr)
        s.end()
        s.end()
        s.end()


def window(s, sh):
    c = cell(sh, "window")
    s.rect(c.l + 2, c.t + 2, c.r - 2, c.b - 2, s.linear([(0, "#2a3a60"), (1, "#121a30")]), INK, 3, rx=12)
    s.rect(c.l + 7, c.t + 7, c.r - 7, c.b - 7, "none", GOLD, 2, rx=8)
    s.rect(c.l + 11, c.t + 11, c.r - 11, c.b - 11, "none", "#5a6a86", 1, rx=6)
    for (x, y) in ((c.l + 7, c.t + 7), (c.r - 7, c.t + 7), (c.l + 7, c.b - 7), (c.r - 7, c.b - 7)):
        s.poly([(x, y - 7), (x + 7, y), (x, y + 7), (x - 7, y)], GOLD, INK, 1.5)
    s.path("M%g,%g q-4,-6 0,-12 q4,6 0,12 z" % (c.l + 220, c.t + 12), fill=EMBER, stroke=INK, sw=1)
    for i in range(3):
        c = cell(sh, "mark %d" % i)
        s.clip(c.l, c.t, c.r, c.b)
        dy = (0, 3, 6)[i]
        s.path("M%g,%g q-9,-11 0,-22 q9,11 0,22 z" % (c.l + 20, c.t + 24 + dy), fill=(GOLD, GLOW, "#ffffff")[i],
               stroke=INK, sw=2)
        s.poly([(c.l + 12, c.t + 27 + dy), (c.l + 28, c.t + 27 + dy), (c.l + 20, c.t + 36 + dy)], EMBER, INK, 1.5)
        s.end()


# ------------------------------------------------------------------ photographs

def photo_frame(s, body, sepia, tilt=0):
    fid = s.uid("f")
    matrix = ("0.393 0.769 0.189 0 0  0.349 0.686 0.168 0 0  0.272 0.534 0.131 0 0  0 0 0 1 0" if sepia
              else "1.1 0.1 0 0 0.02  0.05 1.0 0 0 0.01  0 0.05 0.85 0 0  0 0 0 1 0")
    s.defs.append('<filter id="%s" x="0" y="0" width="1" height="1"><feColorMatrix type="matrix" values="%s"/>'
                  '</filter>' % (fid, matrix))
    gid = s.uid("n")
    s.defs.append('<filter id="%s" x="0" y="0" width="1" height="1"><feTurbulence type="fractalNoise" '
                  'baseFrequency="0.9" numOctaves="2" seed="4"/><feColorMatrix type="saturate" values="0"/>'
                  '</filter>' % gid)
    s.rect(0, 0, 320, 240, "#f4ecd8")
    s.clip(10, 10, 310, 222)
    s.group(filter="url(#%s)" % fid)
    s.group(transform="rotate(%g 160 116)" % tilt)
    body(s)
    s.end()
    s.end()
    s.rect(10, 10, 310, 222, "#ffffff", filter="url(#%s)" % gid, opacity=0.10)
    s.rect(10, 10, 310, 222, s.radial([(0.55, "#000000", 0), (1, "#1a0e04", 0.55)]))
    s.end()
    s.rect(10, 10, 310, 222, "none", "#d8ccb0", 1)


def photo1_scene(s):
    s.rect(-20, -20, 340, 260, s.linear([(0, "#b8c4d0"), (1, "#e0d8c8")]))
    s.rect(-20, 150, 340, 260, "#2a3040")
    for (x, w) in ((214, 40), (262, 30), (296, 22)):
        s.rect(x, 158, x + w, 164, "#f0ece0")
    # Olga's hut: timber wall, door, a lit lamp under the eaves
    s.rect(0, 40, 150, 190, "#7a5a3a", INK, 2)
    for x in range(0, 150, 14):
        s.line(x, 40, x, 190, "#5a4028", 1.5)
    s.poly([(-20, 48), (80, 0), (180, 48)], "#6a6a48", INK, 2)
    s.rect(92, 90, 132, 190, "#4a3422", INK, 2)
    s.circle(160, 60, 14, GLOW, opacity=0.6)
    s.rect(154, 54, 166, 70, "#ffe9a8", INK, 1.5)
    s.rect(-20, 180, 340, 200, "#8a6a48", INK, 2)  # the landing
    s.rect(-20, 200, 340, 260, "#6a5038")
    # Olga, ten years younger, almost smiling
    limb(s, [(274, 58), (272, 200)], "#d8c49a", 4)  # her staff
    s.path("M218,96 C226,90 252,90 260,96 C266,120 268,170 270,200 L208,200 C210,170 212,120 218,96 Z",
           "#4a2a3e", INK, 2)
    s.path("M212,104 q26,-14 54,0 l0,20 q-27,10 -54,0 z", fill="#6b5a3a", stroke=INK, sw=2)
    limb(s, [(216, 118), (214, 146), (236, 154)], "#6a4258", 9)  # hands folded in front of her
    limb(s, [(262, 118), (270, 104)], "#6a4258", 9)  # and one on the staff
    s.ellipse(239, 153, 5.5, 4.5, SKIN_O, INK, 1.2)
    s.ellipse(272, 100, 4.5, 5, SKIN_O, INK, 1.2)
    s.group(transform="translate(239 72) scale(0.28)")
    olga_head(s, "smile")
    s.end()
    # Nell's mother with baby Nell in her arms, swaddled, the head in the crook of her left arm
    dress, sleeve = "#d9a93a", "#c08a2a"
    s.path("M166,98 C150,104 146,140 144,200 L208,200 C206,140 202,104 186,98 Z", dress, INK, 2)
    s.path("M176,104 V196", stroke="#b08528", sw=1.2)
    limb(s, [(152, 108), (145, 140), (152, 154), (188, 150)], sleeve, 8, outline=INK)  # cradling, under
    s.ellipse(189, 149, 5, 4, SKIN_N, INK, 1.2)
    s.group(transform="rotate(-18 172 140)")
    s.ellipse(172, 140, 24, 12.5, "#f2e6cc", INK, 1.5)  # the blanket
    s.path("M156,146 q14,4 36,-2 M160,134 q12,-4 30,0", stroke="#c8b898", sw=1.2)
    s.end()
    s.circle(155, 133, 8, SKIN_N, INK, 1.3)  # her head, tucked into the blanket's hood
    s.path("M149,128 q4,-5 9,-2 q-3,1 -2,3", fill="#8a5a36", stroke=INK, sw=0.8)
    s.path("M151.5,134 q1.2,1 2.4,0 M156.5,134 q1.2,1 2.4,0", stroke=INK, sw=0.9)
    s.path("M154,137.5 q1,0.8 2,0", stroke="#a85a4a", sw=0.9)
    s.ellipse(151.5, 136.5, 1.6, 1, "#f4a496")
    s.path("M146,131 C146,142 154,146 164,143 C160,140 158,138 156,141 C152,142 148,138 147,131 Z",
           "#f2e6cc", INK, 1.2)  # the hood's fold under her chin
    limb(s, [(200, 108), (206, 132), (182, 140)], sleeve, 8, outline=INK)  # the other hand over the blanket
    s.ellipse(178, 140, 5, 4.2, SKIN_N, INK, 1.2)
    s.path("M175,138 l6,-1 M175,141 l6,-0.5", stroke="#c89878", sw=0.8)
    s.group(transform="translate(176 76) scale(0.3)")
    nell_head(s, "calm")
    s.end()
    s.path("M194,70 q14,30 4,64", stroke="#8a5a36", sw=7)  # her long braid over the shoulder
    s.path("M194,70 q14,30 4,64", stroke=INK, sw=0.8, stroke_dasharray="3 4")


def photo2_scene(s):
    s.rect(-30, -30, 380, 300, "#0e0a18")
    for i in range(50):
        r = rng(i + 3)
        x, y = r() * 340 - 10, 150 + r() * 100
        glow(s, x, y, 6 + 6 * r(), GOLD, 0.8)
    glow(s, 160, 70, 150, GOLD, 0.8)
    lamp(s, 160, 150, 150)
    glow(s, 160, 60, 40, "#ffffff", 0.8)
    s.group(transform="translate(112 150) scale(0.62) rotate(-6)")
    s.path("M-70,60 C-60,90 -70,160 -80,200 L80,200 C70,160 60,90 70,60 Z", "#d9a93a", INK, 3)
    nell_head(s, "joy")
    s.end()
    s.group(transform="translate(206 146) scale(0.58) rotate(8)")
    for k, c in enumerate(("#ffd9a0", "#ffe6c0")):
        s.circle(0, 10, 110 - 20 * k, c, opacity=0.7)
    s.path("M-56,60 C-50,90 -60,160 -40,200 L40,200 C60,160 50,90 56,60 Z", "#fff6e6", INK, 3)
    mire_head(s, "giggle")
    s.end()


def photo(n):
    def draw(s, sh):
        if n == 1:
            photo_frame(s, photo1_scene, True)
            s.path("M10,10 l22,0 l-22,22 z", fill="#fbf6ea")  # creased corners
            s.path("M310,222 l-26,0 l26,-20 z", fill="#fbf6ea")
            s.line(10, 32, 32, 10, "#c8bca0", 1.5)
        else:
            photo_frame(s, photo2_scene, False, tilt=-3)
        s.text(300, 235, ("\u5341\u5e74\u524d" if n == 1 else "\u706f\u306e\u7aaa\u306b\u3066"), 9, "#8a7a60",
               JP_SERIF, anchor="end", weight="normal")
    return draw


# ------------------------------------------------------------------ backgrounds

def sky(s, hy, stops, stars=60, seed=1):
    s.rect(0, 0, 640, hy + 2, s.linear(stops))
    r = rng(seed)
    for _ in range(stars):
        y = r() * hy * 0.6
        s.circle(r() * 640, y, 0.5 + r() * 1.2, "#fff6dc", opacity=(0.9 - y / hy) * r())


def reeds(s, x0, x1, base, seed, col="#2a3024"):
    r = rng(seed)
    x = x0
    while x < x1:
        h = 40 + 60 * r()
        s.path("M%g,%g q%g,%g %g,%g" % (x, base, -6 + 12 * r(), -h / 2, -10 + 20 * r(), -h), stroke=col,
               sw=2 + r() * 2)
        if r() < 0.3:
            s.ellipse(x - 5 + 10 * r(), base - h, 3, 9, "#4a3a28")
        x += 4 + 10 * r()


def landing(s, sh):
    hy = 262
    sky(s, hy, [(0, "#2e2050"), (0.45, "#6a3a6a"), (0.8, "#c0705a"), (1, "#e8a070")], seed=2)
    s.rect(0, hy - 18, 640, hy + 10, s.linear([(0, "#e8b090", 0), (0.5, "#f0c8a8", 0.5), (1, "#e8b090", 0)]))
    s.rect(0, hy, 640, 480, s.linear([(0, "#2a2438"), (0.3, "#16141e"), (1, "#0c0c12")]))
    s.path("M0,%g h640" % (hy + 3), stroke="#f0b080", sw=2, opacity=0.5)
    r = rng(14)
    for k in range(14):  # the dusk on the water, fading toward the shore
        y = hy + 6 + k * k * 0.9
        w = 30 + 60 * r()
        x = 180 + 460 * r()
        s.path("M%g,%g h%g" % (x, y, w), stroke="#e8a070", sw=1.5, opacity=0.5 - 0.03 * k)
    glow(s, 470, hy - 2, 26, GOLD, 0.9)
    s.circle(470, hy - 2, 2.5, "#ffffff")
    for k in range(4):  # the far lamp's reflection
        s.path("M%g,%g h%g" % (466 - k, hy + 5 + 5 * k, 8 + 2 * k), stroke=GOLD, sw=1.5, opacity=0.7 - 0.15 * k)
    slab_path(s, 330, 470, 466, hy + 4, 10, 90, seed=5)
    # the hut: timber, a moss roof, a lamp under the eaves
    s.rect(-10, 150, 176, 360, s.linear([(0, "#6a4a30"), (1, "#3a2818")], 0, 0, 1, 0), INK, 3)
    for x in range(-10, 176, 16):
        s.line(x, 150, x, 360, "#2e1e12", 2)
    s.poly([(-30, 168), (70, 80), (200, 168)], s.linear([(0, "#6a7a48"), (1, "#3a4428")]), INK, 3)
    s.path("M-30,168 q30,10 60,0 t60,0 t60,0 t60,0", stroke="#4a5a30", sw=6)
    s.rect(30, 230, 80, 360, "#2a1a10", INK, 2)
    s.rect(110, 210, 150, 250, s.linear([(0, "#ffe9a8"), (1, GOLD)]), INK, 3)
    s.line(130, 210, 130, 250, INK, 2)
    glow(s, 180, 188, 60, GOLD, 0.7)
    s.line(180, 168, 180, 176, INK, 2)
    s.rect(172, 176, 188, 198, "#ffe9a8", INK, 2, rx=3)
    # the wooden landing out into the water
    s.poly([(120, 352), (300, 352), (330, 380), (100, 380)], "#8a6a48", INK, 3)
    for x in range(110, 330, 22):
        s.line(x, 354, x + 6, 378, "#5a4028", 2)
    for x in (130, 200, 270, 320):
        s.rect(x - 4, 380, x + 4, 420, "#4a3422", INK, 2)
    reeds(s, 0, 150, 480, 3)
    reeds(s, 520, 640, 480, 4)
    r = rng(8)
    for _ in range(7):  # bone-white stones in the foreground
        x = r() * 640
        if 180 < x < 460:
            continue
        s.ellipse(x, 456 + 16 * r(), 14 + 10 * r(), 7 + 4 * r(), BONE, INK, 2)


def hut_inside(s, sh):
    s.rect(0, 0, 640, 480, s.linear([(0, "#5a3a22"), (1, "#2e1c10")]))
    for x in range(0, 640, 36):
        s.rect(x, 0, x + 36, 400, s.linear([(0, "#6a4628"), (1, "#4a2e18")], 0, 0, 1, 0), opacity=0.7)
        s.line(x, 0, x, 400, "#2a1a0e", 2)
    s.rect(0, 0, 640, 30, "#3a2414", INK, 2)
    s.rect(0, 380, 640, 480, s.linear([(0, "#4a3020"), (1, "#24160c")]))
    glow(s, 96, 130, 260, GOLD, 0.45)
    # the hanging oil lamp
    s.line(96, 30, 96, 96, INK, 3)
    s.path("M74,100 h44 l-6,-8 h-32 z", fill="#a87a2c", stroke=INK, sw=2.5)
    s.path("M78,100 q18,50 36,0 z", fill=s.radial([(0, "#ffffff"), (0.6, GLOW), (1, GOLD)]), stroke=INK, sw=2.5)
    s.path("M96,140 q-6,-10 0,-20 q6,10 0,20 z", fill=EMBER)
    # the pinboard with old notes, waiting for the photographs
    s.rect(16, 170, 150, 300, "#b8926a", INK, 3)
    for (x, y, w, h, a) in ((26, 180, 40, 46, -6), (76, 186, 56, 36, 4), (34, 236, 50, 50, 3)):
        s.rect(x, y, x + w, y + h, "#f0e6cc", INK, 1.5, transform="rotate(%g %g %g)" % (a, x, y))
        s.circle(x + w / 2, y + 4, 3, "#c0503a")
    # the round window onto the night mire
    s.circle(540, 140, 76, "#5a3a22", INK, 4)
    s.circle(540, 140, 64, s.linear([(0, "#0c1226"), (1, "#1c2440")]), INK, 3)
    r = rng(12)
    for _ in range(20):
        a, d = r() * 6.28, r() * 55
        s.circle(540 + d * math.cos(a), 120 + d * math.sin(a) * 0.6, 0.8 + r(), "#fff6dc")
    for k in range(4):
        s.rect(500 + 22 * k, 172 - 4 * k, 516 + 22 * k, 176 - 4 * k, BONE)
    s.line(476, 140, 604, 140, "#5a3a22", 5)
    s.line(540, 76, 540, 204, "#5a3a22", 5)
    # shelves: jars, rope, the box camera
    for y in (262, 330):
        s.rect(450, y, 640, y + 10, "#7a5232", INK, 2.5)
    for k, col in enumerate(("#8a6a48", "#6a8aa0", "#a8704a", "#c8b08a")):
        x = 466 + 30 * k
        s.rect(x, 226, x + 22, 262, col, INK, 2, rx=4)
        s.rect(x + 3, 220, x + 19, 228, "#5a3a22", INK, 1.5)
    s.circle(600, 310, 18, "none", "#c8a878", 6)
    s.rect(470, 294, 520, 330, "#2e2a30", INK, 2.5, rx=3)  # the box camera
    s.circle(495, 312, 10, "#5a6070", INK, 2)
    s.circle(495, 312, 5, "#1a1a24")
    s.rect(530, 300, 560, 330, "#c8b890", INK, 2)
    # the worktable with the unrolled map, a pencil and the brass lantern
    s.rect(-10, 400, 440, 420, "#7a5232", INK, 3)
    s.rect(20, 420, 40, 480, "#4a2e18", INK, 2)
    s.rect(380, 420, 400, 480, "#4a2e18", INK, 2)
    s.poly([(60, 402), (300, 402), (310, 392), (70, 392)], "#f0e6cc", INK, 2)
    s.line(100, 396, 280, 396, "#b89a68", 1)
    s.rect(320, 368, 344, 400, s.radial([(0, "#ffffff"), (1, GOLD)]), INK, 2.5, rx=3)
    s.line(360, 398, 410, 388, "#f0cc50", 4)


def hollow(s, sh):
    hy = 250
    sky(s, hy, [(0, "#04060e"), (1, "#141a30")], stars=120, seed=6)
    s.rect(0, hy, 640, 480, s.linear([(0, "#10121c"), (1, "#06080c")]))
    glow(s, 320, 200, 300, GOLD, 0.35)
    # a ring of leaning standing stones
    for (x, h, lean) in ((20, 220, 6), (100, 170, 4), (170, 120, 2), (470, 120, -2), (540, 170, -4),
                         (620, 220, -6)):
        s.poly([(x - 24, hy + 40), (x - 16 + lean, hy + 40 - h), (x + 16 + lean, hy + 44 - h), (x + 24, hy + 40)],
               s.linear([(0, "#6a6478"), (1, "#2e2a38")], 0, 0, 1, 0), INK, 3)
        s.path("M%g,%g l%g,%g" % (x - 14, hy + 36 - h * 0.5, 12, -10), stroke="#8a849a", sw=2)
    # the stepped base, the pale roots, the last board
    for k, (w, y) in enumerate(((220, 330), (170, 306), (120, 284))):
        s.rect(320 - w / 2, y, 320 + w / 2, y + 24, s.linear([(0, "#f0e8d8"), (1, BONE_SHADE)]), INK, 3)
    for d in ("M210,350 C170,370 130,360 80,400", "M430,350 C470,372 520,360 580,408",
              "M250,354 C240,390 200,420 180,470", "M390,354 C400,390 450,420 470,470"):
        s.path(d, stroke=INK, sw=14)
        s.path(d, stroke="#d8d0c0", sw=9)
    s.poly([(276, 384), (364, 384), (372, 396), (268, 396)], BONE, INK, 3)
    for k in range(7):  # the lamp's light broken on the black water
        y = 404 + 11 * k
        w = 70 - 7 * k
        s.path("M%g,%g h%g" % (320 - w / 2 + (k % 2) * 8, y, w), stroke=GOLD, sw=3, opacity=0.55 - 0.06 * k)
    s.rect(0, 330, 640, 370, s.linear([(0, "#8a849a", 0), (0.5, "#8a849a", 0.18), (1, "#8a849a", 0)]))  # mist
    glow(s, 320, 200, 90, GOLD, 0.8)
    lamp(s, 320, 286, 210, flame=0.7)
    for x in range(0, 640, 40):
        s.path("M%g,%g q10,-4 20,0" % (x + 10, 430 + 20 * ((x // 40) % 3)), stroke="#3a3a50", sw=1.5)


DRAWERS = {
    "gameadv/character_1": portraits(nell_portrait),
    "gameadv/character_2": portraits(olga_portrait),
    "gameadv/character_3": portraits(mire_portrait),
    "gameadv/face": story_faces,
    "gameadv/window": window,
    "gameadv/photo01": photo(1),
    "gameadv/photo02": photo(2),
    "gameadv/background01": landing,
    "gameadv/background02": hut_inside,
    "gameadv/background03": hollow,
}

if __name__ == "__main__":
    run(DRAWERS, sys.argv)
