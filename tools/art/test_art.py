#!/usr/bin/env python3
"""What the art build relies on: a cell table the game can cut from, the BMP
writer's bytes, the bitmap checker's refusals, and SVG sources that are what
the drawers write."""

import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cells as catalogue  # noqa: E402
import check_bitmaps  # noqa: E402
import svg2bmp  # noqa: E402
import artkit  # noqa: E402
import draw_play  # noqa: E402
import draw_screens  # noqa: E402
import draw_story  # noqa: E402


class CellTable(unittest.TestCase):
    def test_cells_lie_inside_their_sheet_and_never_overlap(self):
        self.assertEqual([s.id for s in catalogue.SHEETS], list(range(31)))
        for s in catalogue.SHEETS:
            for i, a in enumerate(s.cells):
                self.assertTrue(0 <= a.l < a.r <= s.w and 0 <= a.t < a.b <= s.h, (s.path, a))
                self.assertIn(a.mode, ("solid", "sprite", "empty"))
                for b in s.cells[i + 1:]:
                    overlap = a.l < b.r and b.l < a.r and a.t < b.b and b.t < a.b
                    self.assertFalse(overlap, (s.path, a.name, b.name))

    def test_computed_cells_sit_where_the_game_cuts_them(self):
        for path, name, rect in (("play/chip", 6, (80, 40, 120, 80)),
                                 ("play/chip", 12, (0, 120, 40, 160)),
                                 ("play/way", "f2 p6", (80, 200, 120, 240)),
                                 ("play/way", "f1 p3", (120, 80, 160, 120)),
                                 ("play/char", "left 2", (80, 80, 120, 120)),
                                 ("play/num", "warn 7", (140, 40, 160, 80))):
            cells = catalogue.sheet(path).cells
            cell = cells[name] if isinstance(name, int) else next(c for c in cells if c.name == name)
            self.assertEqual(tuple(cell[:4]), rect, (path, name))


def write_sheet(game_dir, sheet, blob):
    path = os.path.join(game_dir, "bitmap", sheet.path + ".bmp")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(blob)


class Bitmaps(unittest.TestCase):
    def test_writer_bytes_read_back_through_the_checker(self):
        rgb = bytearray(range(1, 19))  # 3x2: 9-byte rows padded to 12
        data = svg2bmp.bmp_bytes(rgb, 3, 2)
        self.assertEqual(len(data), 54 + 12 * 2)
        self.assertEqual(struct.unpack_from("<HI", data, 28), (24, 0))
        self.assertEqual(data[54:57], bytes([12, 11, 10]))  # bottom row first, BGR
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "x.bmp")
            with open(path, "wb") as f:
                f.write(data)
            self.assertEqual(check_bitmaps.read_bmp(path), (3, 2, rgb))

    def test_checker_refuses_damaged_files_and_faulty_pixels(self):
        def sheet_with(path, *pixels, fill=b"\x00\x00\x00"):
            """A sheet of FILL with (x, y, rgb) painted over it."""
            sh = catalogue.sheet(path)
            rgb = bytearray(fill * (sh.w * sh.h))
            for x, y, colour in pixels:
                rgb[3 * (y * sh.w + x):3 * (y * sh.w + x) + len(colour)] = colour
            return svg2bmp.bmp_bytes(rgb, sh.w, sh.h)

        chip = svg2bmp.bmp_bytes(bytearray(3 * 160 * 160), 160, 160)
        stroke = [(20, y, b"\xff\xff\xff" * 6) for y in range(10, 20)]  # from digit 1's left edge
        cases = (
            ("play/chip", b"", "not a BMP file"),
            ("play/chip", b"BM" + bytes(60), ""),
            ("play/chip", chip[:500], "pixel data truncated"),
            ("play/chip", svg2bmp.bmp_bytes(bytearray(3 * 150 * 160), 150, 160), "size 150x160"),
            # A green sleeve, then Olga's moss-brown shawl, which passes.
            ("gameadv/character_1", sheet_with("gameadv/character_1", (0, 0, b"\x30\xc8\x30\x6b\x5a\x3a"),
                                               fill=b"\x00\xff\x00"),
             "1 plainly green pixels besides the key"),
            ("ending/st", sheet_with("ending/st", (0, 0, b"\x05\x05\x05")), "near-key pixel (5, 5, 5) at (0, 0)"),
            ("ending/st", sheet_with("ending/st", (119, 129, b"\xff\xff\xff")), "1 pixels outside the cells"),
            ("ending/st", sheet_with("ending/st"), "sprite cell record 1 (40, 40)-(120, 80) is all key"),
            ("play/num", sheet_with("play/num", *stroke), "sprite cell digit 1 touches its left edge"),
        )
        for path, blob, expected in cases:
            with self.subTest(path=path, expected=expected), tempfile.TemporaryDirectory() as d:
                write_sheet(d, catalogue.sheet(path), blob)
                errors = check_bitmaps.check_sheet(d, catalogue.sheet(path))
                self.assertTrue(any(expected in e for e in errors), errors)
                self.assertFalse([e for e in errors if "touches" in e and expected not in e])
        with tempfile.TemporaryDirectory() as d:
            self.assertEqual(check_bitmaps.check_sheet(d, catalogue.sheet("sweep")), ["missing"])


class Drawers(unittest.TestCase):
    def test_committed_sources_are_what_the_one_drawer_of_each_sheet_writes(self):
        # A drawer changed without rerunning it (or an SVG edited by hand) would ship stale art;
        # drawing twice also proves the pictures are deterministic.
        owners = {}
        for m in (draw_play, draw_screens, draw_story):
            for path, fn in m.DRAWERS.items():
                self.assertNotIn(path, owners, m.__name__)
                owners[path] = m.__name__
                sheet = catalogue.sheet(path)
                first, second = artkit.Svg(sheet.w, sheet.h), artkit.Svg(sheet.w, sheet.h)
                fn(first, sheet)
                fn(second, sheet)
                text = first.render()
                self.assertEqual(text, second.render(), path)
                with open(os.path.join(artkit.ROOT, path + ".svg"), encoding="utf-8") as f:
                    self.assertTrue(f.read() == text, f"content/art/{path}.svg is stale: rerun {m.__name__}.py")
                # A full-sheet background on a keyed sheet would fill every transparent area.
                full = '<rect x="0" y="0" width="%d" height="%d"' % (sheet.w, sheet.h)
                self.assertFalse(sheet.key and any(p.startswith(full) for p in first.parts), path)
        self.assertEqual(sorted(owners), sorted(s.path for s in catalogue.SHEETS))


if __name__ == "__main__":
    unittest.main()
