#!/usr/bin/env python3
"""Checks that the story checker refuses what the game would show wrongly.

Run: python3 tools/story/test_check_story.py
"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import check_story  # noqa: E402

FILLER = "0 0|はい。#e\n"


def check_lines(*messages, header="; test chapter\n", pad=True):
    """Errors for one chapter made of the given message lines (padded to the minimum)."""
    body = header + "".join(m + "\n" for m in messages)
    if pad:
        body = header + FILLER * (check_story.MIN_MESSAGES - 1) + "".join(m + "\n" for m in messages)
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "chapter_00.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write(body)
        errors = []
        check_story.check_chapter(path, errors)
    return errors


class MessageRules(unittest.TestCase):
    def test_well_formed_chapter_passes(self):
        self.assertEqual(check_lines("1 2|写真じゃ。#n見い。#p01#e", "0 3|#p01うん。#e"), [])

    def test_byte_budget_counts_shift_jis_bytes(self):
        # 49 double-byte cells = 98 bytes with the end pair: the most a message can hold.
        rows = ["あ" * 16] * 3
        fits = "#n".join(rows)[:-2] + "#e"  # 16+16+14 cells, 2 breaks: 92+4+2 bytes
        self.assertEqual(len(fits.encode("cp932")), 98)
        self.assertEqual(check_lines("0 0|" + fits), [])
        over = fits[:-2] + "あ#e"
        self.assertTrue(any("100 bytes" in e for e in check_lines("0 0|" + over)))

    def test_single_byte_text_would_shift_the_pairs(self):
        # "A" makes "#e" start on the second byte of a unit: the game never sees the end.
        errors = check_lines("0 0|Aはい#e")
        self.assertTrue(any("single-byte" in e for e in errors))
        errors = check_lines("0 0|ｱｲ#e")  # half-width katakana is single-byte too
        self.assertTrue(any("single-byte" in e for e in errors))

    def test_end_pair_rules(self):
        self.assertTrue(any("must end" in e for e in check_lines("0 0|はい")))
        self.assertTrue(any("only at the end" in e for e in check_lines("0 0|はい#eいいえ#e")))
        last_go_on = check_lines("0 0|次へ。#s")
        self.assertTrue(any("last message" in e for e in last_go_on))
        photo_go_on = check_lines("0 0|#p01この写真と――#s", "0 0|#p02この写真。#e")
        self.assertTrue(any("photograph" in e for e in photo_go_on))

    def test_photo_and_unknown_pairs(self):
        self.assertTrue(any("two digits" in e for e in check_lines("0 0|#p1あ#e")))
        self.assertTrue(any("no photograph" in e for e in check_lines("0 0|#p03あ#e")))
        self.assertTrue(any("unknown control" in e for e in check_lines("0 0|あ#x#e")))

    def test_layout_wrap_lines_and_next_page_mark(self):
        self.assertEqual(check_lines("0 0|" + "あ" * 17 + "#e"), [])
        self.assertTrue(any("runs past" in e for e in check_lines("0 0|" + "あ" * 18 + "#e")))
        five = "#n".join(["あ"] * 5) + "#e"
        self.assertTrue(any("5 lines" in e for e in check_lines("0 0|" + five)))
        # 17 cells on the third row run under the next-page mark; on the second they do not.
        under_mark = "あ#nい#n" + "う" * 17 + "#e"
        self.assertTrue(any("next-page mark" in e for e in check_lines("0 0|" + under_mark)))
        self.assertEqual(check_lines("0 0|あ#n" + "う" * 17 + "#e"), [])

    def test_fields_and_counts(self):
        self.assertTrue(any("speaker 3" in e for e in check_lines("3 0|あ#e")))
        self.assertTrue(any("expression 4" in e for e in check_lines("0 4|あ#e")))
        self.assertTrue(any("S E|text" in e for e in check_lines("0|あ#e")))
        self.assertTrue(any("holds" in e for e in check_lines("0 0|あ#e", pad=False)))
        self.assertTrue(any("first line" in e for e in check_lines("0 0|あ#e", header="")))
        self.assertTrue(any("Shift-JIS" in e for e in check_lines("0 0|\u2014#e")))

    def test_layout_matches_typing(self):
        rows, wrapped = check_story.layout(check_story.units("#p02あ#nい#e".encode("cp932")))
        self.assertEqual(rows, [["<p02>", "あ"], ["い", "<e>"]])
        self.assertFalse(wrapped)


if __name__ == "__main__":
    unittest.main()
