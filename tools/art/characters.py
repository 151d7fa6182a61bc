"""The three characters' heads and figures, drawn once and reused at every
size: the play HUD's faces, the spare story faces and the story portraits.

Each head is drawn about its own origin (the middle of the face, head radius
about 56) so callers place it with translate/scale; light from the upper left.
"""

import math

from artkit import INK

NELL = dict(skin="#f8dcc0", skin_shade="#e8b898", hair="#8a5a36", hair_light="#b07a4c", hair_dark="#5e3a20",
            eye="#b0742c", cape="#d9a93a", cape_shade="#b08528", shirt="#f2e6cc")
OLGA = dict(skin="#ecd0b4", skin_shade="#cfa98a", hair="#e8e4da", hair_dark="#b8b0a2", eye="#7c8a94",
            coat="#4a2a3e", coat_light="#6a4258", shawl="#6b5a3a", shawl_light="#8a7650", staff="#d8c49a")
MIRE = dict(skin="#fde6cc", skin_shade="#f0c8a4", hair="#f6d77a", tip="#f08a3c", eye="#ffb23a",
            dress="#fff6e6", halo="#ffd9a0", cap="#f4e2b8")


def _eyes(s, expr, iris, y=8, dx=22, rx=11, ry=13, lid=INK):
    """Big anime eyes for the given expression; returns nothing."""
    for side in (-1, 1):
        x = side * dx
        if expr in ("joy", "giggle", "smile"):
            s.path("M%g,%g q%g,%g %g,0" % (x - rx, y + 3, rx, -ry * 1.3, 2 * rx), stroke=lid, sw=4)
            continue
        if expr in ("closed", "serene_closed"):
            s.path("M%g,%g q%g,%g %g,0" % (x - rx, y, rx, ry * 0.7, 2 * rx), stroke=lid, sw=3.5)
            s.path("M%g,%g l%g,%g" % (x + side * rx, y, side * 3, 2), stroke=lid, sw=2.5)
            continue
        if expr == "squeeze":
            s.path("M%g,%g l%g,%g l%g,%g" % (x - side * rx, y - 7, side * 2 * rx, 7, -side * 2 * rx, 7),
                   stroke=lid, sw=4)
            continue
        if expr == "half":
            s.ellipse(x, y + 3, rx, ry * 0.6, "#ffffff")
            s.ellipse(x, y + 4, rx * 0.7, ry * 0.55, iris)
            s.circle(x, y + 4, rx * 0.33, "#2a1a14")
            s.path("M%g,%g q%g,%g %g,0" % (x - rx - 1, y - 1, rx + 1, -3, 2 * rx + 2), stroke=lid, sw=4.5)
            continue
        wide = expr in ("wide",)
        s.ellipse(x, y, rx, ry, "#ffffff", INK, 1.5)
        ir = 0.55 if wide else 0.78
        s.ellipse(x + (0 if wide else 1), y + 1.5, rx * ir, ry * ir, s.linear([(0, "#3a2414"), (0.5, iris),
                                                                               (1, "#ffe0a0")]))
        s.ellipse(x + (0 if wide else 1), y + 1.5, rx * ir * 0.45, ry * ir * 0.45, "#2a1a14")
        s.circle(x - rx * 0.3, y - ry * 0.3, rx * 0.26, "#ffffff")
        s.circle(x + rx * 0.3, y + ry * 0.35, rx * 0.12, "#ffffff")
        if expr == "wet":
            s.path("M%g,%g q%g,%g %g,0" % (x - rx + 2, y + ry - 2, rx - 2, 4, 2 * rx - 4), stroke="#9fd0ff", sw=2.5)
            s.circle(x + rx * 0.35, y - ry * 0.1, rx * 0.15, "#ffffff")
        s.path("M%g,%g q%g,%g %g,0" % (x - rx - 1.5, y - ry * 0.6, rx + 1.5, -ry * 0.62, 2 * rx + 3), stroke=lid,
               sw=4.5)
        s.path("M%g,%g l%g,%g" % (x + side * (rx + 1), y - ry * 0.6, side * 3.5, -3), stroke=lid, sw=3)


def _brows(s, kind, y=-16, dx=22, col="#5e3a20", w=3.5):
    for side in (-1, 1):
        x = side * dx
        if kind == "up":  # raised, surprised
            s.path("M%g,%g q%g,%g %g,0" % (x - 9, y - 6, 9, -6, 18), stroke=col, sw=w)
        elif kind == "worry":  # inner ends up
            s.path("M%g,%g L%g,%g" % (x - side * 10, y - 6, x + side * 9, y + 1), stroke=col, sw=w)
        elif kind == "cross":  # inner ends down
            s.path("M%g,%g L%g,%g" % (x - side * 10, y + 3, x + side * 9, y - 4), stroke=col, sw=w)
        else:
            s.path("M%g,%g q%g,%g %g,0" % (x - 9, y, 9, -4, 18), stroke=col, sw=w)


def _mouth(s, kind, y=38):
    if kind == "smile":
        s.path("M-8,%g q8,6 16,0" % y, stroke=INK, sw=3)
    elif kind == "grin":
        s.path("M-14,%g q14,22 28,0 z" % (y - 3), fill="#c24a48", stroke=INK, sw=3)
        s.path("M-7,%g q7,6 14,0" % (y + 8), fill="#f08a8a")
    elif kind == "o":
        s.ellipse(0, y + 2, 5.5, 7, "#a83a3a", INK, 2.5)
    elif kind == "pressed":
        s.path("M-9,%g q9,-3 18,0" % y, stroke=INK, sw=3)
    elif kind == "wavy":
        s.path("M-10,%g q3.3,-4 6.6,0 t6.6,0 t6.6,0" % y, stroke=INK, sw=3)
    elif kind == "wail":
        s.path("M-11,%g q11,-10 22,0 q-2,14 -11,14 q-9,0 -11,-14 z" % (y - 2), fill="#a83a3a", stroke=INK, sw=3)
    elif kind == "flat":
        s.path("M-10,%g h20" % y, stroke=INK, sw=3)
    elif kind == "down":
        s.path("M-9,%g q9,-6 18,0" % (y + 3), stroke=INK, sw=3)


def _tear(s, x, y, big=False):
    k = 1.6 if big else 1.0
    s.path("M%g,%g q%g,%g 0,%g q%g,%g 0,%g z" % (x, y, -5 * k, 9 * k, 13 * k, 5 * k, 0, -13 * k),
           fill="#a8dcff", stroke="#5a8ab8", sw=1.5)


NELL_FACE = {  # expression: eyes, brows, mouth, extras
    "calm": ("open", "calm", "smile", ()),
    "joy": ("joy", "calm", "grin", ()),
    "surprise": ("wide", "up", "o", ()),
    "tearful": ("wet", "worry", "pressed", ("tear",)),
    "worried": ("open", "worry", "wavy", ("sweat",)),
    "miss": ("squeeze", "worry", "wail", ("tears",)),
}


NELL_FRINGE = "L54,-10 L47,-2 L40,-24 L30,-12 L22,-30 L12,-16 L2,-33 L-8,-18 L-18,-32 L-26,-14 L-38,-26 L-44,-6 L-52,-16"


def nell_hair_back(s, c):
    s.path("M-62,-8 C-72,-80 72,-80 62,-8 C64,20 60,40 52,50 L-52,50 C-60,40 -64,20 -62,-8 Z",
           s.linear([(0, c["hair_light"]), (1, c["hair_dark"])], 0, 0, 1, 1), INK, 3.5)
    # the small braid behind her left ear, tied with a red thread
    for k in range(3):
        s.ellipse(58, 40 + 11 * k, 6, 7, c["hair"], INK, 2)
    s.rect(53, 70, 63, 75, "#d0342c", INK, 1.5, rx=1.5)
    s.path("M58,75 l-3,10 M58,75 l3,10", stroke=c["hair"], sw=3)


def nell_head(s, expr="calm", c=NELL):
    eyes, brows, mouth, extras = NELL_FACE[expr]
    nell_hair_back(s, c)
    s.ellipse(-50, 10, 8, 11, c["skin"], INK, 2.5)
    s.ellipse(50, 10, 8, 11, c["skin_shade"], INK, 2.5)
    face = "M-52,-14 C-54,30 -26,60 0,60 C26,60 54,30 52,-14 C40,-50 -40,-50 -52,-14 Z"
    s.path(face, s.linear([(0, c["skin"]), (0.6, c["skin"]), (1, c["skin_shade"])], 0, 0, 1, 0.4), INK, 3)
    # the fringe's shadow on the forehead, falling down and to the right
    s.clip_path(face)
    s.path("M-60,6 C-70,-76 70,-76 60,6 " + NELL_FRINGE + " Z", c["skin_shade"], transform="translate(4 8)",
           opacity=0.75)
    s.end()
    # pencil behind her right ear
    s.group(transform="rotate(-30 -52 -8)")
    s.rect(-72, -12, -30, -5, "#f0cc50", INK, 2, rx=1)
    s.poly([(-72, -12), (-80, -8.5), (-72, -5)], "#f0dcb0", INK, 1.5)
    s.end()
    s.ellipse(-33, 28, 9, 5, "#f4a496", opacity=0.8)
    s.ellipse(33, 28, 9, 5, "#f4a496", opacity=0.8)
    _eyes(s, eyes, c["eye"])
    s.path("M1,22 l-3,5 h4", stroke="#c08a70", sw=2.5)
    _mouth(s, mouth)
    # untidy fringe over the top of the head
    edge = NELL_FRINGE
    s.path("M-60,6 C-70,-76 70,-76 60,6 " + edge + " Z",
           s.linear([(0, c["hair_light"]), (1, c["hair"])], 0, 0, 1, 1))
    s.path("M60,6 " + edge + " L-60,6", stroke=INK, sw=3)  # only the fringe's ragged edge is outlined
    s.path("M-36,-50 q20,-16 44,-10", stroke="#c8966a", sw=4)
    s.path("M-20,-40 q10,-6 22,-4", stroke="#c8966a", sw=2.5)
    _brows(s, brows)
    if "tear" in extras:
        _tear(s, 28, 24)
    if "tears" in extras:
        _tear(s, -30, 16, True)
        _tear(s, 30, 16, True)
    if "sweat" in extras:
        s.path("M58,-30 q-7,12 0,16 q7,-4 0,-16 z", fill="#bfe4ff", stroke="#5a8ab8", sw=2)


OLGA_FACE = {  # eyes, brows, mouth
    "stern": ("half", "flat", "flat"),
    "smile": ("smile", "calm", "smile"),
    "sharp": ("narrow_wide", "down", "open"),
    "grave": ("closed", "sad", "down"),
}


OLGA_FACE_PATH = "M-46,-20 C-50,30 -30,78 0,80 C30,78 50,30 46,-20 C36,-56 -36,-56 -46,-20 Z"


def _olga_hair(s, c):
    s.path("M-52,18 C-66,-104 66,-104 52,18 C50,-6 44,-26 30,-34 C18,-40 6,-40 0,-30 C-6,-40 -18,-40 -30,-34 "
           "C-44,-26 -50,-6 -52,18 Z", s.linear([(0, "#ffffff"), (0.6, c["hair"]), (1, c["hair_dark"])], 0, 0, 1, 1),
           INK, 3)
    s.path("M0,-30 C-2,-50 -2,-64 0,-76", stroke=c["hair_dark"], sw=2)  # the parting, combed tight to the bun
    for x in (-36, -20, 20, 36):
        s.path("M%g,%g Q%g,%g %g,%g" % (x, -30 + abs(x) * 0.2, x * 0.9, -62, x * 0.3, -76), stroke=c["hair_dark"], sw=1.5)


def olga_head(s, expr="stern", c=OLGA, gloom=False):
    """gloom: her whole face in shadow up to the hairline, the hair left in the light."""
    eyes, brows, mouth = OLGA_FACE[expr]
    # the bun with its two wooden pins, behind the head
    s.line(-32, -96, 22, -62, "#5a3a22", 5)
    s.line(32, -98, -18, -64, "#5a3a22", 5)
    s.ellipse(0, -72, 30, 22, s.linear([(0, "#ffffff"), (1, c["hair_dark"])], 0, 0, 1, 1), INK, 3)
    s.path("M-18,-76 q18,-12 36,0", stroke=c["hair_dark"], sw=2.5)
    s.ellipse(-47, 8, 8, 13, c["skin"], INK, 2.5)
    s.ellipse(47, 8, 8, 13, c["skin_shade"], INK, 2.5)
    # a long face with deep lines
    s.path(OLGA_FACE_PATH, s.linear([(0, c["skin"]), (0.6, c["skin"]), (1, c["skin_shade"])], 0, 0, 1, 0.4), INK, 3)
    _olga_hair(s, c)
    s.path("M-28,-24 q6,-3 12,-1 M16,-26 q6,-2 12,1", stroke="#c8a488", sw=1.5)  # forehead lines
    s.path("M-30,-30 q12,-4 22,-1 M8,-31 q12,-3 22,1", stroke="#c8a488", sw=1.5)
    ey = 6
    for side in (-1, 1):
        x = side * 20
        if eyes == "half":
            s.path("M%g,%g q10,-3 20,0" % (x - 10, ey), stroke=INK, sw=3.5)
            s.path("M%g,%g q10,5 20,0" % (x - 9, ey), fill=c["eye"], stroke=INK, sw=1.5)
        elif eyes == "smile":
            s.path("M%g,%g q10,-8 20,0" % (x - 10, ey + 2), stroke=INK, sw=3.5)
            s.path("M%g,%g l-6,-3 M%g,%g l-7,2" % (x + side * 12, ey + 2, x + side * 12, ey + 5), stroke="#b08a70",
                   sw=1.5, transform="scale(%d 1)" % 1)
        elif eyes == "narrow_wide":
            s.ellipse(x, ey, 9, 7, "#ffffff", INK, 2)
            s.circle(x, ey, 4.5, c["eye"])
            s.circle(x, ey, 2, INK)
            s.circle(x - 1.5, ey - 1.5, 1.2, "#ffffff")
        else:
            s.path("M%g,%g q10,6 20,0" % (x - 10, ey), stroke=INK, sw=3.5)
        s.path("M%g,%g q%g,5 %g,2" % (x - 9, ey + 12, 9, 18), stroke="#c8a488", sw=1.5)  # bags under the eyes
    for side in (-1, 1):
        x = side * 20
        if brows == "down":
            s.path("M%g,%g L%g,%g" % (x - side * 13, -6, x + side * 12, -16), stroke="#d8d2c8", sw=6)
        elif brows == "sad":
            s.path("M%g,%g L%g,%g" % (x - side * 13, -14, x + side * 12, -8), stroke="#d8d2c8", sw=6)
        else:
            s.path("M%g,%g q%g,-6 %g,0" % (x - 13, -10, 13, 25), stroke="#d8d2c8", sw=6)
        s.path("M%g,%g q%g,-6 %g,0" % (x - 13, -10, 13, 25), stroke=INK, sw=0.01)
    # the hooked nose and the lines beside the mouth
    s.path("M2,0 C6,14 14,28 10,36 C6,40 0,38 -2,36", fill=c["skin"], stroke=INK, sw=2.5)
    s.path("M-18,40 q-6,12 -2,22 M18,40 q6,12 2,22", stroke="#c8a488", sw=2)
    y = 54
    if mouth == "flat":
        s.path("M-12,%g h24" % y, stroke=INK, sw=3)
    elif mouth == "smile":
        s.path("M-13,%g q13,8 26,-2" % (y - 2), stroke=INK, sw=3)
    elif mouth == "open":
        s.path("M-11,%g q11,-5 22,0 q-3,10 -11,10 q-8,0 -11,-10 z" % y, fill="#8a3a3a", stroke=INK, sw=2.5)
    else:
        s.path("M-11,%g q11,-6 22,0" % (y + 2), stroke=INK, sw=3)
    s.path("M-8,%g q8,2 16,0" % (y + 14), stroke="#c8a488", sw=1.5)
    if gloom:  # the shadow covers the face and everything on it; the hair is laid over it again
        s.group(opacity=0.22)
        s.path(OLGA_FACE_PATH, fill="#4a2a3e")
        for side in (-1, 1):
            s.ellipse(side * 47, 8, 9.5, 14.5, "#4a2a3e")
        s.end()
        _olga_hair(s, c)


MIRE_FACE = {  # eyes, mouth, blush
    "curious": ("open", "o_small"),
    "giggle": ("giggle", "grin"),
    "frightened": ("wet_side", "down"),
    "serene": ("closed", "smile"),
}


MIRE_FRINGE = "L44,-14 L34,-4 L26,-24 L14,-12 L4,-28 L-6,-12 L-18,-26 L-26,-8 L-38,-20 L-44,-2"


def mire_hair_back(s, c, droop=False):
    """Long weightless hair drifting upward like a flame, gold to orange at the tips."""
    grad = s.radial([(0, "#fff0c0"), (0.35, c["hair"]), (0.72, "#f4b060"), (1, c["tip"])], 0, 0, 175, units=True)
    s.ellipse(0, 0, 62, 60, grad, INK, 3)
    strands = [(-168, 104), (-146, 128), (-122, 138), (-98, 132), (-76, 140), (-52, 128), (-30, 120), (-10, 100)]
    for k, (deg, length) in enumerate(strands):
        a = math.radians(deg if not droop else 180 - deg * 0.35 if deg < -90 else deg * 0.35)
        if droop:
            length *= 0.75
        ox, oy = 50 * math.cos(a), 50 * math.sin(a)
        tx, ty = (50 + length) * math.cos(a), (50 + length) * math.sin(a)
        nx, ny = -math.sin(a), math.cos(a)  # across the strand
        w = 20
        wave = 18 if k % 2 else -18
        mx, my = (ox + tx) / 2 + nx * wave, (oy + ty) / 2 + ny * wave
        d = "M%g,%g Q%g,%g %g,%g Q%g,%g %g,%g Z" % (
            ox + nx * w, oy + ny * w, mx + nx * w * 0.7, my + ny * w * 0.7, tx, ty,
            mx - nx * w * 0.7, my - ny * w * 0.7, ox - nx * w, oy - ny * w)
        s.path(d, grad, INK, 2.5)
    for side in (-1, 1):  # locks framing the face, curling up at the ends
        s.path("M%g,-6 C%g,40 %g,70 %g,86 C%g,80 %g,70 %g,60 C%g,60 %g,30 %g,-6 Z" % (
            side * 40, side * 62, side * 58, side * 80, side * 70, side * 74, side * 64, side * 52, side * 48,
            side * 30), grad, INK, 2.5)


def mire_head(s, expr="curious", c=MIRE, droop=False):
    eyes, mouth = MIRE_FACE[expr]
    mire_hair_back(s, c, droop)
    face = "M-50,-10 C-52,36 -26,60 0,60 C26,60 52,36 50,-10 C40,-48 -40,-48 -50,-10 Z"
    s.path(face, s.linear([(0, "#fff4e4"), (0.6, c["skin"]), (1, c["skin_shade"])], 0, 0, 1, 0.4), INK, 3)
    s.clip_path(face)
    s.path("M-52,4 C-60,-64 60,-64 52,4 " + MIRE_FRINGE + " Z", c["skin_shade"], transform="translate(3 7)",
           opacity=0.6)
    s.end()
    s.ellipse(-32, 28, 9, 5, "#f8a890", opacity=0.8)
    s.ellipse(32, 28, 9, 5, "#f8a890", opacity=0.8)
    if eyes == "open":
        _eyes(s, "open", c["eye"], y=8, dx=21, rx=12, ry=14)
    elif eyes == "giggle":
        _eyes(s, "joy", c["eye"], y=8, dx=21, rx=12, ry=14)
    elif eyes == "closed":
        _eyes(s, "closed", c["eye"], y=10, dx=21, rx=12, ry=14)
    else:  # wet, looking away
        for side in (-1, 1):
            x = side * 21
            s.ellipse(x, 8, 12, 14, "#ffffff", INK, 1.5)
            s.ellipse(x + 5, 11, 8, 10, c["eye"])
            s.circle(x + 5, 11, 4, "#3a1a0a")
            s.circle(x + 2, 6, 3, "#ffffff")
            s.path("M%g,%g q12,4 22,0" % (x - 11, 20), stroke="#9fd0ff", sw=2.5)
            s.path("M%g,%g q12,-10 26,0" % (x - 13, -2), stroke=INK, sw=4.5)
        _tear(s, -26, 24)
    s.path("M0,22 l-1.5,3", stroke="#d09a80", sw=2)
    if mouth == "o_small":
        s.ellipse(0, 38, 4, 5, "#c24a48", INK, 2)
    elif mouth == "grin":
        _mouth(s, "grin", 36)
    elif mouth == "down":
        _mouth(s, "down", 36)
    else:
        _mouth(s, "smile", 36)
    # fringe, then the little lantern-shaped paper cap tied under the chin
    s.path("M-52,4 C-60,-64 60,-64 52,4 " + MIRE_FRINGE + " Z", s.linear([(0, "#fff0c0"), (1, c["hair"])], 0, 0, 1, 1),
           INK, 3)
    s.path("M-30,-48 L-24,-78 L24,-78 L30,-48 Z", c["cap"], INK, 2.5)
    for x in (-12, 0, 12):
        s.line(x * 1.1, -50, x * 0.9, -76, "#d8b878", 1.5)
    s.rect(-27, -84, 27, -76, "#c0503a", INK, 2, rx=2)
    s.rect(-32, -52, 32, -44, "#c0503a", INK, 2, rx=2)
    s.circle(0, -90, 4, "#c0503a", INK, 1.5)
    s.path("M-46,0 C-52,30 -36,56 -6,62 M46,0 C52,30 36,56 6,62", stroke="#c0503a", sw=1.5)
