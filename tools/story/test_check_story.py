#!/usr/bin/env python3
"""Checks that the story checker refuses what the game would show wrongly."""

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
    def test_chapters_the_game_shows_rightly_pass_and_the_rest_are_refused(self):
        # 49 double-byte cells = 98 bytes with the end pair: the most a message can hold.
        fits = "#n".join(["あ" * 16] * 3)[:-2] + "#e"
        self.assertEqual(len(fits.encode("cp932")), 98)
        passing = (
            ["1 2|写真じゃ。#n見い。#p01#e", "0 3|#p01うん。#e"],
            ["0 0|" + fits],
            ["0 0|" + "あ" * 17 + "#e"],
            ["0 0|あ#n" + "う" * 17 + "#e"],  # 17 cells on the second row clear the next-page mark
        )
        for messages in passing:
            self.assertEqual(check_lines(*messages), [], messages)
        refused = (
            (["0 0|" + fits[:-2] + "あ#e"], "100 bytes"),
            # "A" makes "#e" start on the second byte of a unit: the game never sees the end.
            (["0 0|Aはい#e"], "single-byte"),
            (["0 0|ｱｲ#e"], "single-byte"),
            (["0 0|はい"], "must end"),
            (["0 0|はい#eいいえ#e"], "only at the end"),
            (["0 0|次へ。#s"], "last message"),
            (["0 0|#p01この写真と――#s", "0 0|#p02この写真。#e"], "photograph"),
            (["0 0|#p1あ#e"], "two digits"),
            (["0 0|#p03あ#e"], "no photograph"),
            (["0 0|あ#x#e"], "unknown control"),
            (["0 0|" + "あ" * 18 + "#e"], "runs past"),
            (["0 0|" + "#n".join(["あ"] * 5) + "#e"], "5 lines"),
            (["0 0|あ#nい#n" + "う" * 17 + "#e"], "next-page mark"),
            (["3 0|あ#e"], "speaker 3"),
            (["0 4|あ#e"], "expression 4"),
            (["0|あ#e"], "S E|text"),
            (["0 0|\u2014#e"], "Shift-JIS"),
        )
        for messages, expected in refused:
            errors = check_lines(*messages)
            self.assertTrue(any(expected in e for e in errors), (messages, errors))
        self.assertTrue(any("holds" in e for e in check_lines("0 0|あ#e", pad=False)))
        self.assertTrue(any("first line" in e for e in check_lines("0 0|あ#e", header="")))

    def test_layout_matches_typing(self):
        rows, wrapped = check_story.layout(check_story.units("#p02あ#nい#e".encode("cp932")))
        self.assertEqual(rows, [["<p02>", "あ"], ["い", "<e>"]])
        self.assertFalse(wrapped)


if __name__ == "__main__":
    unittest.main()
