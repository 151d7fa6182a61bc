#!/usr/bin/env python3
"""Checks the effect synthesiser: every recipe of the game renders the same
each time into a short, well-formed 16-bit PCM WAV peaking at its stated
level. (sound.levels judges the effects' DC, clicks and loudness.)"""
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
