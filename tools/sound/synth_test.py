#!/usr/bin/env python3
"""Checks the effect synthesiser: hard edges leave no clicks, renders repeat
exactly, and every recipe of the game becomes a short, well-formed 16-bit PCM
WAV peaking at its stated level."""
import glob
import math
import os
import struct
import sys
import tempfile
import unittest
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import synth  # noqa: E402

CONTENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "content", "sound")


class Edges(unittest.TestCase):
    def test_an_offset_and_hard_edges_leave_no_dc_and_no_clicks(self):
        # A narrow pulse at full level from the first sample to the last, and
        # the same under a constant offset: both would click and carry DC.
        with tempfile.TemporaryDirectory() as work:
            path = os.path.join(work, "hard.snd")
            with open(path, "w", encoding="utf-8") as recipe:
                recipe.write("peak 0.9\n"
                             "tone wave=square freq=300 dur=0.3 duty=0.1 attack=0 release=0\n"
                             "tone wave=saw freq=0 dur=0.3 gain=0.3 attack=0 release=0\n")
            samples = synth.render(synth.parse(path), seed="x")
        self.assertEqual((samples[0], samples[-1]), (0, 0))
        self.assertLess(abs(sum(samples) / len(samples)), 0.002)
        self.assertAlmostEqual(max(abs(s) for s in samples), 0.9)


class Recipes(unittest.TestCase):
    def test_every_recipe_renders_a_clean_wave(self):
        recipes = sorted(glob.glob(os.path.join(CONTENT, "*.snd")))
        self.assertEqual(len(recipes), 16)
        with tempfile.TemporaryDirectory() as work:
            for path in recipes:
                with self.subTest(os.path.basename(path)):
                    recipe = synth.parse(path)
                    samples = synth.render(recipe, seed="x")
                    self.assertEqual(samples, synth.render(recipe, seed="x"))
                    target = os.path.join(work, "out.wav")
                    synth.write_wav(target, samples, recipe["rate"])
                    with wave.open(target, "rb") as result:
                        self.assertEqual((result.getnchannels(), result.getsampwidth()), (1, 2))
                        seconds = result.getnframes() / result.getframerate()
                        frames = result.readframes(result.getnframes())
                    self.assertTrue(0.01 <= seconds <= 1.5, seconds)
                    values = struct.unpack(f"<{len(frames) // 2}h", frames)
                    peak = max(abs(v) for v in values) / 32767
                    self.assertTrue(math.isclose(peak, recipe["peak"], abs_tol=0.002))


if __name__ == "__main__":
    unittest.main()
