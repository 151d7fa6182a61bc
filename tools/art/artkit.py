"""Shared drawing kit for the art drawers: an SVG builder and the palette of
content/art/STYLE.md. The drawers (draw_*.py) write the SVG sources under
content/art/; the build converts those into the game's BMPs."""

import functools
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cells as catalogue  # noqa: E402,F401

INK = "#2a2230"
MIRE = "#121826"
MIRE_BLUE = "#1f2b3f"
SLATE = "#3b4659"
MIST = "#8b97ad"
BONE = "#ece4d2"
BONE_SHADE = "#c7bba2"
GOLD = "#f2b544"
GLOW = "#ffe9a8"
EMBER = "#e0703a"
RED = "#c8383a"
BLUE = "#3d7fd8"
TEAL = "#48c2c0"
PLUM = "#4a2a3e"
MUSTARD = "#d9a93a"

DISPLAY = "Reggae One"
SANS = "DejaVu Sans"
JP_SERIF = "Noto Serif CJK JP"
JP_SANS = "Noto Sans CJK JP"

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "content", "art"))


def esc(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def attrs(**kw):
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        k = "xml:space" if k == "xml_space" else k.rstrip("_").replace("_", "-")
        out.append('%s="%s"' % (k, ("%g" % v) if isinstance(v, float) else v))
    return " ".join(out)


class Svg:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.defs, self.parts = [], []
        self.ids = 0

    def uid(self, stem):
        self.ids += 1
        return "%s%d" % (stem, self.ids)

    def add(self, s):
        self.parts.append(s)

    def el(self, tag, **kw):
        self.add("<%s %s/>" % (tag, attrs(**kw)))

    def rect(self, l, t, r, b, fill, stroke=None, sw=None, rx=None, **kw):
        self.el("rect", x=l, y=t, width=r - l, height=b - t, fill=fill, stroke=stroke, stroke_width=sw, rx=rx, **kw)

    def circle(self, cx, cy, r, fill, stroke=None, sw=None, **kw):
        self.el("circle", cx=cx, cy=cy, r=r, fill=fill, stroke=stroke, stroke_width=sw, **kw)

    def ellipse(self, cx, cy, rx, ry, fill, stroke=None, sw=None, **kw):
        self.el("ellipse", cx=cx, cy=cy, rx=rx, ry=ry, fill=fill, stroke=stroke, stroke_width=sw, **kw)

    def path(self, d, fill="none", stroke=None, sw=None, **kw):
        if stroke:
            kw.setdefault("stroke_linecap", "round")
            kw.setdefault("stroke_linejoin", "round")
        self.el("path", d=d, fill=fill, stroke=stroke, stroke_width=sw, **kw)

    def poly(self, pts, fill, stroke=None, sw=None, **kw):
        if stroke:
            kw.setdefault("stroke_linejoin", "round")
        self.el("polygon", points=" ".join("%g,%g" % p for p in pts), fill=fill, stroke=stroke,
                stroke_width=sw, **kw)

    def line(self, x1, y1, x2, y2, stroke, sw, **kw):
        kw.setdefault("stroke_linecap", "round")
        self.el("line", x1=x1, y1=y1, x2=x2, y2=y2, stroke=stroke, stroke_width=sw, **kw)

    def text(self, x, y, s, size, fill, family=SANS, anchor="middle", weight="bold", stroke=None, sw=None,
             **kw):
        a = attrs(x=x, y=y, font_family=family, font_size=size, font_weight=weight, fill=fill,
                  text_anchor=anchor, stroke=stroke, stroke_width=sw, **kw)
        if stroke:
            a += ' paint-order="stroke" stroke-linejoin="round"'
        self.add("<text %s>%s</text>" % (a, esc(s)))

    def lettering(self, x, y, s, size, fill, family=DISPLAY, rim="#fff6dc", rim_w=None, ink=INK, ink_w=None,
                  **kw):
        """Display words: a thick ink outline, a pale rim inside it, then the fill."""
        ink_w = ink_w if ink_w is not None else max(3.0, size * 0.16)
        rim_w = rim_w if rim_w is not None else ink_w * 0.45
        self.text(x, y, s, size, ink, family, stroke=ink, sw=ink_w, weight="normal", **kw)
        if rim:
            self.text(x, y, s, size, rim, family, stroke=rim, sw=rim_w, weight="normal", **kw)
        self.text(x, y, s, size, fill, family, weight="normal", **kw)

    def group(self, **kw):
        self.add("<g %s>" % attrs(**kw))

    def end(self):
        self.add("</g>")

    def clip(self, l, t, r, b):
        """Opens a group clipped to a cell, so nothing spills into its neighbours."""
        cid = self.uid("c")
        self.defs.append('<clipPath id="%s"><rect x="%g" y="%g" width="%g" height="%g"/></clipPath>'
                         % (cid, l, t, r - l, b - t))
        self.add('<g clip-path="url(#%s)">' % cid)

    def clip_path(self, d):
        cid = self.uid("c")
        self.defs.append('<clipPath id="%s"><path d="%s"/></clipPath>' % (cid, d))
        self.add('<g clip-path="url(#%s)">' % cid)

    def linear(self, stops, x1=0, y1=0, x2=0, y2=1, units=None):
        gid = self.uid("g")
        st = "".join('<stop offset="%g" stop-color="%s"%s/>'
                     % (s[0], s[1], ' stop-opacity="%g"' % s[2] if len(s) > 2 else "") for s in stops)
        u = ' gradientUnits="userSpaceOnUse"' if units else ""
        self.defs.append('<linearGradient id="%s" x1="%g" y1="%g" x2="%g" y2="%g"%s>%s</linearGradient>'
                         % (gid, x1, y1, x2, y2, u, st))
        return "url(#%s)" % gid

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, units=None):
        gid = self.uid("g")
        st = "".join('<stop offset="%g" stop-color="%s"%s/>'
                     % (s[0], s[1], ' stop-opacity="%g"' % s[2] if len(s) > 2 else "") for s in stops)
        u = ' gradientUnits="userSpaceOnUse"' if units else ""
        self.defs.append('<radialGradient id="%s" cx="%g" cy="%g" r="%g" fx="%g" fy="%g"%s>%s</radialGradient>'
                         % (gid, cx, cy, r, cx if fx is None else fx, cy if fy is None else fy, u, st))
        return "url(#%s)" % gid

    def blur(self, sd):
        fid = self.uid("f")
        self.defs.append('<filter id="%s" x="-50%%" y="-50%%" width="200%%" height="200%%">'
                         '<feGaussianBlur stdDeviation="%g"/></filter>' % (fid, sd))
        return "url(#%s)" % fid

    def render(self):
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
                '<defs>%s</defs>\n%s\n</svg>\n'
                % (self.w, self.h, self.w, self.h, "\n".join(self.defs), "\n".join(self.parts)))


@functools.lru_cache(maxsize=None)
def ink_box(text, size, family, stroke_w):
    """The drawn extent (left, top, right, bottom) of outlined text set at the origin, anchored at its
    start, measured by rendering it: librsvg misplaces middle-anchored text under a non-uniform scale,
    so scaled lettering is placed from this box instead."""
    pad = int(size + stroke_w) + 4
    w, h = int(size * (len(text) + 2)) + 2 * pad, int(size * 2) + 2 * pad
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d"><text %s>%s</text></svg>'
           % (w, h, attrs(x=pad, y=pad + size * 1.3, font_family=family, font_size=size, font_weight="normal",
                          fill="#ffffff", stroke="#ffffff", stroke_width=stroke_w, stroke_linejoin="round"),
              esc(text)))
    png = subprocess.run(["rsvg-convert"], input=svg.encode("utf-8"), check=True, stdout=subprocess.PIPE).stdout
    geo = subprocess.run(["convert", "png:-", "-alpha", "extract", "-threshold", "50%", "-format", "%@", "info:"],
                         input=png, check=True, stdout=subprocess.PIPE).stdout.decode()
    bw, rest = geo.split("x")
    bh, bx, by = rest.split("+")
    l, t = int(bx) - pad, int(by) - pad - size * 1.3
    return l, t, l + int(bw), t + int(bh)


def star_points(cx, cy, ro, ri, n=5, rot=0.0):
    pts = []
    for i in range(2 * n):
        a = math.pi / n * i - math.pi / 2 + rot
        rad = ro if i % 2 == 0 else ri
        pts.append((round(cx + rad * math.cos(a), 2), round(cy + rad * math.sin(a), 2)))
    return pts


def rng(seed):
    """A tiny deterministic generator, so the drawings never change between runs."""
    state = [seed & 0x7FFFFFFF or 1]

    def nxt():
        state[0] = (state[0] * 1103515245 + 12345) & 0x7FFFFFFF
        return state[0] / 0x7FFFFFFF
    return nxt


def cell(sheet, name):
    for c in sheet.cells:
        if c.name == name:
            return c
    raise KeyError(name)


def write(path, svg, root=None):
    out = os.path.join(root or ROOT, path + ".svg")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "w", encoding="utf-8") as f:
        f.write(svg.render())
    return out


def run(drawers, argv):
    """Writes the SVG of every drawer {sheet path: fn(svg, sheet)}, or only those named in argv."""
    root = None
    names = []
    for a in argv[1:]:
        if os.path.isdir(a):
            root = a
        else:
            names.append(a)
    for path, fn in drawers.items():
        if names and path not in names:
            continue
        sh = catalogue.sheet(path)
        s = Svg(sh.w, sh.h)
        fn(s, sh)
        print(write(path, s, root))
