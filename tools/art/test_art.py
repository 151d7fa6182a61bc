#!/usr/bin/env python3
"""Tests of the cell table, the pixel clean-up, the BMP writer/reader pair, the
drawers that write the SVG sources and the contact sheet."""

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

DRAWER_MODULES = (draw_play, draw_screens, draw_story)


class CellTable(unittest.TestCase):
    def test_catalogue_ids_sizes_and_keys(self):
        sheets = catalogue.SHEETS
        self.assertEqual([s.id for s in sheets], list(range(31)))
        want = {"play/chip": (160, 160, None), "play/char": (160, 200, "black"),
                "play/st": (200, 440, "black"), "ending/st": (120, 130, "black"),
                "gameadv/character_2": (640, 960, "green"), "edit/Edit": (120, 120, None),
                "gameover/gameover": (640, 100, "black"), "play/num": (200, 80, "black")}
        for path, (w, h, key) in want.items():
            s = catalogue.sheet(path)
            self.assertEqual((s.w, s.h, s.key), (w, h, key), path)

    def test_cells_lie_inside_their_sheet_and_never_overlap(self):
        for s in catalogue.SHEETS:
            for i, a in enumerate(s.cells):
                self.assertTrue(0 <= a.l < a.r <= s.w and 0 <= a.t < a.b <= s.h, (s.path, a))
                self.assertIn(a.mode, ("solid", "sprite", "empty"))
                for b in s.cells[i + 1:]:
                    overlap = a.l < b.r and b.l < a.r and a.t < b.b and b.t < a.b
                    self.assertFalse(overlap, (s.path, a.name, b.name))

    def test_computed_tables(self):
        chip = catalogue.sheet("play/chip").cells
        self.assertEqual(chip[6][:4], (80, 40, 120, 80))  # the wall the switch fades out
        self.assertEqual(chip[12][:4], (0, 120, 40, 160))
        way = {c.name: c[:4] for c in catalogue.sheet("play/way").cells}
        self.assertEqual(way["f2 p6"], (80, 200, 120, 240))
        self.assertEqual(way["f1 p3"], (120, 80, 160, 120))
        self.assertTrue(all(c.mode == "empty" for c in catalogue.sheet("play/way").cells
                            if c.name.endswith("p0")))
        char = {c.name: c[:4] for c in catalogue.sheet("play/char").cells}
        self.assertEqual(char["left 2"], (80, 80, 120, 120))
        num = {c.name: c[:4] for c in catalogue.sheet("play/num").cells}
        self.assertEqual(num["warn 7"], (140, 40, 160, 80))

    def test_every_variable_cut_stays_inside_a_cell(self):
        st = catalogue.sheet("play/st")
        z = svg2bmp.zone_map(st)

        def inside(l, t, r, b):
            return all(z[y * st.w + x] for y in range(t, b) for x in range(l, r))

        for t in range(61):  # time bar at every clock value
            self.assertTrue(inside(0, 320, 2 * t + 3, 340), t)
            self.assertTrue(inside(2 * t, 340, 123, 360), t)
        w = h = 0
        for age in range(1, 86):  # the clear beam's growing and narrowing window
            if age <= 40:
                w, h = w + 2, h + 3
            if 45 < age <= 85:
                w -= 2
            half = w // 2
            self.assertTrue(inside(160 - half, 280 - h, 160 - half + w, 280), age)


class CleanUp(unittest.TestCase):
    def sheet(self, key, cells):
        return catalogue.Sheet(99, "test", 4, 2, key, cells, [])

    def test_keyed_sheet_pixels(self):
        cells = [catalogue.Cell(0, 0, 2, 2, "a", "", "", "sprite"),
                 catalogue.Cell(2, 0, 3, 2, "b", "", "", "solid")]
        sh = self.sheet("black", cells)
        # row 0: fringe, colour, black in a solid cell, stray colour outside the cells
        # row 1: exact key, far-enough dark, near-key in a solid cell, colour outside
        buf = bytearray([10, 10, 10, 200, 0, 0, 0, 0, 0, 9, 9, 9,
                         0, 0, 0, 30, 30, 30, 5, 0, 0, 1, 2, 3])
        svg2bmp.clean(buf, sh)
        px = [tuple(buf[i:i + 3]) for i in range(0, len(buf), 3)]
        self.assertEqual(px, [(0, 0, 0), (200, 0, 0), (40, 40, 40), (0, 0, 0),
                              (0, 0, 0), (30, 30, 30), (40, 40, 40), (0, 0, 0)])

    def test_green_key_fringe(self):
        sh = self.sheet("green", [catalogue.Cell(0, 0, 4, 2, "a", "", "", "sprite")])
        buf = bytearray([10, 245, 10] + [0, 255, 0] + [0, 200, 0] + [255, 255, 255] * 5)
        svg2bmp.clean(buf, sh)
        self.assertEqual(bytes(buf[:9]), bytes([0, 255, 0, 0, 255, 0, 0, 200, 0]))


class KeyedRendering(unittest.TestCase):
    def test_no_key_coloured_halo_around_a_round_sprite(self):
        svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40">'
               '<circle cx="20" cy="20" r="13.3" fill="#f0c0c0"/></svg>')
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "c.svg")
            with open(path, "w") as f:
                f.write(svg)
            rgb = svg2bmp.render_keyed(path, 40, 40, (0, 255, 0))
        px = {tuple(rgb[i:i + 3]) for i in range(0, len(rgb), 3)}
        self.assertIn((0, 255, 0), px)
        self.assertIn((240, 192, 192), px)
        greenish = [p for p in px if p != (0, 255, 0) and p[1] > p[0] + 8]
        self.assertEqual(greenish, [])
        self.assertEqual(rgb[0:3], b"\x00\xff\x00")
        self.assertEqual(rgb[3 * (20 * 40 + 20):3 * (20 * 40 + 20) + 3], b"\xf0\xc0\xc0")


class BmpFiles(unittest.TestCase):
    def test_writer_round_trips_through_the_checker(self):
        w, h = 3, 2  # 9-byte rows need 3 bytes of padding
        rgb = bytearray(range(1, 19))
        data = svg2bmp.bmp_bytes(rgb, w, h)
        self.assertEqual(len(data), 54 + 12 * 2)
        self.assertEqual(struct.unpack_from("<HI", data, 28), (24, 0))
        self.assertEqual(data[54:57], bytes([12, 11, 10]))  # bottom row first, BGR
        with tempfile.TemporaryDirectory() as d:
            p = os.path.join(d, "x.bmp")
            with open(p, "wb") as f:
                f.write(data)
            self.assertEqual(check_bitmaps.read_bmp(p), (w, h, rgb))

    def test_checker_reports_bad_files_without_crashing(self):
        with tempfile.TemporaryDirectory() as d:
            os.makedirs(os.path.join(d, "bitmap", "play"))
            chip = catalogue.sheet("play/chip")
            path = os.path.join(d, "bitmap", "play", "chip.bmp")
            for blob in (b"", b"BM" + bytes(60), svg2bmp.bmp_bytes(bytearray(3 * 160 * 160), 160, 160)[:500]):
                with open(path, "wb") as f:
                    f.write(blob)
                self.assertTrue(check_bitmaps.check_sheet(d, chip))
            with open(path, "wb") as f:
                f.write(svg2bmp.bmp_bytes(bytearray(3 * 150 * 160), 150, 160))
            self.assertIn("size 150x160", check_bitmaps.check_sheet(d, chip)[0])
            self.assertEqual(check_bitmaps.check_sheet(d, catalogue.sheet("sweep")), ["missing"])

    def test_checker_refuses_green_clothes_on_a_green_sheet(self):
        sh = catalogue.sheet("gameadv/character_1")
        rgb = bytearray(b"\x00\xff\x00" * (sh.w * sh.h))
        rgb[0:6] = b"\x30\xc8\x30\x6b\x5a\x3a"  # a green sleeve, then Olga's moss-brown shawl
        with tempfile.TemporaryDirectory() as d:
            os.makedirs(os.path.join(d, "bitmap", "gameadv"))
            with open(os.path.join(d, "bitmap", "gameadv", "character_1.bmp"), "wb") as f:
                f.write(svg2bmp.bmp_bytes(rgb, sh.w, sh.h))
            errors = check_bitmaps.check_sheet(d, sh)
        self.assertIn("1 plainly green pixels besides the key", errors)

    def test_checker_finds_fringe_and_stray_pixels(self):
        sh = catalogue.sheet("ending/st")
        rgb = bytearray(3 * sh.w * sh.h)
        rgb[0:3] = b"\x05\x05\x05"  # inside the star cell: a near-black fringe
        last = 3 * (sh.w * sh.h - 1)
        rgb[last:last + 3] = b"\xff\xff\xff"  # bottom-right corner lies outside every cell
        with tempfile.TemporaryDirectory() as d:
            os.makedirs(os.path.join(d, "bitmap", "ending"))
            with open(os.path.join(d, "bitmap", "ending", "st.bmp"), "wb") as f:
                f.write(svg2bmp.bmp_bytes(rgb, sh.w, sh.h))
            errors = " ".join(check_bitmaps.check_sheet(d, sh))
        self.assertIn("near-key pixel (5, 5, 5) at (0, 0)", errors)
        self.assertIn("1 pixels outside the cells", errors)
        self.assertIn("sprite cell record 1 (40, 40)-(120, 80) is all key", errors)
        self.assertNotIn("sprite cell star ", errors)


    def test_checker_finds_a_sprite_cut_at_its_cell_edge(self):
        sh = catalogue.sheet("play/num")
        rgb = bytearray(3 * sh.w * sh.h)
        for y in range(10, 20):  # a stroke in digit 1's cell, from its left edge inwards
            rgb[3 * (y * sh.w + 20):3 * (y * sh.w + 26)] = b"\xff\xff\xff" * 6
        with tempfile.TemporaryDirectory() as d:
            os.makedirs(os.path.join(d, "bitmap", "play"))
            with open(os.path.join(d, "bitmap", "play", "num.bmp"), "wb") as f:
                f.write(svg2bmp.bmp_bytes(rgb, sh.w, sh.h))
            errors = check_bitmaps.check_sheet(d, sh)
        self.assertIn("sprite cell digit 1 touches its left edge", errors)
        self.assertFalse([e for e in errors if "touches" in e and "digit 1 touches its left" not in e])


class Drawers(unittest.TestCase):
    def test_every_sheet_has_exactly_one_drawer(self):
        owners = {}
        for m in DRAWER_MODULES:
            for path in m.DRAWERS:
                self.assertNotIn(path, owners, "%s drawn by %s and %s" % (path, owners.get(path), m.__name__))
                owners[path] = m.__name__
        self.assertEqual(sorted(owners), sorted(s.path for s in catalogue.SHEETS))

    def test_committed_sources_are_what_the_drawers_write(self):
        # A drawer changed without rerunning it (or an SVG edited by hand) would ship stale art;
        # drawing twice also proves the pictures are deterministic.
        for m in DRAWER_MODULES:
            for path, fn in m.DRAWERS.items():
                sheet = catalogue.sheet(path)
                first, second = artkit.Svg(sheet.w, sheet.h), artkit.Svg(sheet.w, sheet.h)
                fn(first, sheet)
                fn(second, sheet)
                text = first.render()
                self.assertEqual(text, second.render(), path)
                with open(os.path.join(artkit.ROOT, path + ".svg"), encoding="utf-8") as f:
                    self.assertTrue(f.read() == text, "content/art/%s.svg is stale: rerun %s.py"
                                    % (path, m.__name__))
                self.assertIn('width="%d" height="%d"' % (sheet.w, sheet.h), text)

    def test_keyed_sheets_are_drawn_on_transparency(self):
        # A full-sheet background on a keyed sheet would fill every transparent area with colour.
        for m in DRAWER_MODULES:
            for path, fn in m.DRAWERS.items():
                sheet = catalogue.sheet(path)
                if not sheet.key:
                    continue
                svg = artkit.Svg(sheet.w, sheet.h)
                fn(svg, sheet)
                full = '<rect x="0" y="0" width="%d" height="%d"' % (sheet.w, sheet.h)
                self.assertFalse(any(p.startswith(full) for p in svg.parts), path)


class ContactSheet(unittest.TestCase):
    def test_missing_and_present_bitmaps_both_make_a_tile(self):
        import contact_sheet
        sh = catalogue.sheet("ending/st")
        with tempfile.TemporaryDirectory() as d:
            missing = os.path.join(d, "missing.png")
            contact_sheet.tile(d, sh, missing)
            os.makedirs(os.path.join(d, "bitmap", "ending"))
            rgb = bytearray(b"\xff\x00\x00" * (sh.w * sh.h))
            with open(os.path.join(d, "bitmap", "ending", "st.bmp"), "wb") as f:
                f.write(svg2bmp.bmp_bytes(rgb, sh.w, sh.h))
            present = os.path.join(d, "present.png")
            contact_sheet.tile(d, sh, present)
            for p in (missing, present):
                with open(p, "rb") as f:
                    head = f.read(24)
                self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
                self.assertEqual(struct.unpack(">II", head[16:24]), (sh.w, sh.h + 18))  # picture + label strip


if __name__ == "__main__":
    unittest.main()
