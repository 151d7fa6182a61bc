#!/usr/bin/env python3
"""Checks the ABC compiler: pitches, keys, lengths, repeats, and that every
score of the game compiles to a MIDI file whose tracks all end on the same
whole bar, so the tune loops without a gap or a jump."""
import glob
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import abc2mid  # noqa: E402

CONTENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "content", "music")


def notes_of(body, header="L:1/8\nK:C\n"):
    tune = abc2mid.parse_file("X:1\n" + header + body)
    notes, length = abc2mid.voice_events(tune, tune.voices[tune.order[0]])
    return [(int(start), int(duration), pitches)
            for start, duration, pitches, _ in notes if pitches], length


def read_tracks(data):
    """(format, division, [(end tick, [(tick, status, data1)])]) of a MIDI file."""
    assert data[:4] == b"MThd"
    _, form, count, division = struct.unpack(">IHHH", data[4:14])
    offset, tracks = 14, []
    for _ in range(count):
        assert data[offset:offset + 4] == b"MTrk"
        size = struct.unpack(">I", data[offset + 4:offset + 8])[0]
        tracks.append(read_events(data[offset + 8:offset + 8 + size]))
        offset += 8 + size
    assert offset == len(data), "bytes after the last track"
    return form, division, tracks


def read_events(track):
    position, tick, events = 0, 0, []
    while position < len(track):
        delta = 0
        while True:
            byte = track[position]
            position += 1
            delta = delta << 7 | byte & 0x7F
            if not byte & 0x80:
                break
        tick += delta
        status = track[position]
        if status == 0xFF:
            kind, size = track[position + 1], track[position + 2]
            position += 3 + size
            if kind == 0x2F:
                assert position == len(track), "events after the end of the track"
                return tick, events
            continue
        width = 2 if status & 0xF0 in (0xC0, 0xD0) else 3
        events.append((tick, status, track[position + 1]))
        position += width
    raise AssertionError("track without an end")


class Notation(unittest.TestCase):
    def test_pitches_keys_lengths_chords_and_repeats(self):
        # (key, body, [(start, duration, pitches)] or pitches alone, length); an eighth is 240.
        cases = (
            ("C", "C c C, c' ^F _B =B |", [60, 72, 48, 84, 66, 70, 71], None),
            ("G", "F B ^G G | G F |", [66, 71, 68, 68, 67, 66], None),  # accidentals last a bar
            ("Dm", "B E |", [70, 64], None),
            ("Bb", "B E |", [70, 63], None),
            ("C", "C2 D/ E3/2 z | G2- G2 | (3ABc d>e |",
             [(0, 480, [60]), (480, 120, [62]), (600, 360, [64]), (1200, 960, [67]),
              (2160, 160, [69]), (2320, 160, [71]), (2480, 160, [72]), (2640, 360, [74]),
              (3000, 120, [76])], 3120),
            ("C", "|: [CEG]2 z2 :| A4 |",
             [(0, 480, [60, 64, 67]), (960, 480, [60, 64, 67]), (1920, 960, [69])], 2880),
        )
        for key, body, want, length in cases:
            with self.subTest(body):
                notes, got_length = notes_of(body + "\n", header=f"L:1/8\nK:{key}\n")
                if isinstance(want[0], int):
                    self.assertEqual([p[0] for _, _, p in notes], want)
                else:
                    self.assertEqual(notes, want)
                if length is not None:
                    self.assertEqual(got_length, length)


class Scores(unittest.TestCase):
    def test_every_score_loops_on_a_whole_bar(self):
        scores = sorted(glob.glob(os.path.join(CONTENT, "*.abc")))
        self.assertEqual(len(scores), 6)
        for path in scores:
            with self.subTest(os.path.basename(path)):
                with open(path, encoding="utf-8") as source:
                    tune = abc2mid.parse_file(source.read())
                form, division, tracks = read_tracks(abc2mid.compile_tune(tune))
                self.assertEqual((form, len(tracks)), (1, len(tune.voices) + 1))
                ends = {end for end, _ in tracks}
                self.assertEqual(len(ends), 1, "tracks end apart")
                bar = division * 4 * tune.meter[0] // tune.meter[1]
                self.assertEqual(ends.pop() % bar, 0)
                ons = [e for _, events in tracks for e in events if e[1] & 0xF0 == 0x90]
                offs = [e for _, events in tracks for e in events if e[1] & 0xF0 == 0x80]
                self.assertGreater(len(ons), 16)
                self.assertEqual(len(ons), len(offs))


if __name__ == "__main__":
    unittest.main()
