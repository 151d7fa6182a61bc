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


class Pitches(unittest.TestCase):
    def test_octaves_and_accidentals(self):
        notes, _ = notes_of("C c C, c' ^F _B =B |\n")
        self.assertEqual([p[0] for _, _, p in notes], [60, 72, 48, 84, 66, 70, 71])

    def test_keys_and_bar_accidentals(self):
        notes, _ = notes_of("F B ^G G | G F |\n", header="L:1/8\nK:G\n")
        self.assertEqual([p[0] for _, _, p in notes], [66, 71, 68, 68, 67, 66])
        notes, _ = notes_of("B E |\n", header="L:1/8\nK:Dm\n")
        self.assertEqual([p[0] for _, _, p in notes], [70, 64])
        notes, _ = notes_of("B E |\n", header="L:1/8\nK:Bb\n")
        self.assertEqual([p[0] for _, _, p in notes], [70, 63])


class Lengths(unittest.TestCase):
    def test_lengths_ties_triplets_broken(self):
        notes, length = notes_of("C2 D/ E3/2 z | G2- G2 | (3ABc d>e |\n")
        eighth = 240
        self.assertEqual([d for _, d, _ in notes],
                         [2 * eighth, eighth // 2, 3 * eighth // 2, 4 * eighth,
                          160, 160, 160, 360, 120])
        self.assertEqual(length, 13 * eighth)

    def test_chords_and_repeats(self):
        notes, length = notes_of("|: [CEG]2 z2 :| A4 |\n")
        self.assertEqual([(s, p) for s, _, p in notes],
                         [(0, [60, 64, 67]), (960, [60, 64, 67]), (1920, [69])])
        self.assertEqual(length, 2880)


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
