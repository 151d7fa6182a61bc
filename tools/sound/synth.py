#!/usr/bin/env python3
"""Renders a sound-effect recipe (content/sound/*.snd) to a 16-bit PCM WAV.

A recipe is a list of lines; '#' starts a comment.

    rate 22050          sample rate of the output (default 22050)
    peak 0.7            the loudest sample as a fraction of full scale
    tone key=value ...  one layer, summed with the others
    voice TEXT          a spoken line from espeak-ng, placed under the tones
    speech key=value    how the spoken line is made and shaped

Keys of a tone:
    wave    sine | square | triangle | saw | noise   (default sine)
    at      start time in seconds                    (default 0)
    dur     length in seconds
    freq    start frequency in Hz; `to` the end frequency (a sweep)
    curve   lin | exp: how the sweep moves           (default exp)
    gain    level of the layer                       (default 1)
    attack, release   envelope ramps in seconds; `decay` instead of release
                      makes an exponential fall over the whole length
    duty    pulse width of a square                  (default 0.5)
    vib, vibrate      vibrato depth (fraction of freq) and rate in Hz
    lowpass cut-off in Hz of a one-pole filter (noise mostly)
    steps   "f1,f2,..." an arpeggio: dur is split evenly between the notes

Keys of speech: voice (espeak-ng voice, default en-us), speed (words per
minute), pitch (0-99), at (start time), gain, tail (seconds kept after the
last loud sample), drive (soft-clip strength: more makes the voice denser
and louder for its peak, default 1.8).

Every effect leaves with no DC and starts and ends at rest: the mix goes
through a DC blocker and short fades before it is scaled to its peak.
"""
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave


def parse(path):
    recipe = {"rate": 22050, "peak": 0.7, "tones": [], "voice": None, "speech": {}}
    with open(path, encoding="utf-8") as source:
        for raw in source:
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            word, _, rest = line.partition(" ")
            if word in ("rate",):
                recipe["rate"] = int(rest)
            elif word == "peak":
                recipe["peak"] = float(rest)
            elif word == "voice":
                recipe["voice"] = rest.strip()
            elif word in ("tone", "speech"):
                fields = dict(item.split("=", 1) for item in rest.split())
                if word == "tone":
                    recipe["tones"].append(fields)
                else:
                    recipe["speech"] = fields
            else:
                raise SystemExit(f"{path}: unknown line: {line}")
    return recipe


def oscillator(kind, phase, duty):
    cycle = phase - math.floor(phase)
    if kind == "sine":
        return math.sin(2 * math.pi * cycle)
    if kind == "square":
        # Centred on zero whatever the duty, so a narrow pulse adds no offset.
        return (1.0 if cycle < duty else -1.0) - (2 * duty - 1)
    if kind == "triangle":
        return 4 * cycle - 1 if cycle < 0.5 else 3 - 4 * cycle
    if kind == "saw":
        return 2 * cycle - 1
    raise SystemExit(f"unknown wave {kind}")


def envelope(t, dur, tone):
    attack = float(tone.get("attack", 0.002))
    level = min(1.0, t / attack) if attack > 0 else 1.0
    if "decay" in tone:
        level *= math.exp(-t / float(tone["decay"]))
    release = float(tone.get("release", 0.01))
    if release > 0 and t > dur - release:
        level *= max(0.0, (dur - t) / release)
    return level


def frequency_at(t, dur, tone):
    if "steps" in tone:
        notes = [float(f) for f in tone["steps"].split(",")]
        return notes[min(len(notes) - 1, int(t / dur * len(notes)))]
    start = float(tone["freq"])
    end = float(tone.get("to", start))
    x = t / dur
    if tone.get("curve", "exp") == "lin" or start <= 0 or end <= 0:
        return start + (end - start) * x
    return start * (end / start) ** x


def render_tone(tone, rate, out, rng):
    kind = tone.get("wave", "sine")
    begin = int(float(tone.get("at", 0)) * rate)
    dur = float(tone["dur"])
    gain = float(tone.get("gain", 1))
    duty = float(tone.get("duty", 0.5))
    depth = float(tone.get("vib", 0))
    vibrate = float(tone.get("vibrate", 6))
    cutoff = float(tone.get("lowpass", 0))
    alpha = 1 - math.exp(-2 * math.pi * cutoff / rate) if cutoff else 1.0
    count = int(dur * rate)
    if len(out) < begin + count:
        out.extend([0.0] * (begin + count - len(out)))
    phase = 0.0
    smooth = 0.0
    for i in range(count):
        t = i / rate
        if kind == "noise":
            value = rng.uniform(-1, 1)
        else:
            f = frequency_at(t, dur, tone)
            f *= 1 + depth * math.sin(2 * math.pi * vibrate * t)
            phase += f / rate
            value = oscillator(kind, phase, duty)
        smooth += alpha * (value - smooth)
        out[begin + i] += smooth * gain * envelope(t, dur, tone)


def speak(text, speech, rate):
    """The spoken line as floats at `rate`, trimmed of silence."""
    espeak = shutil.which("espeak-ng")
    if not espeak:
        return None
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "voice.wav")
        command = [espeak, "-w", path, "-v", speech.get("voice", "en-us"),
                   "-s", speech.get("speed", "150"), "-p", speech.get("pitch", "50"), text]
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        with wave.open(path, "rb") as source:
            source_rate = source.getframerate()
            frames = source.readframes(source.getnframes())
    samples = [s / 32768 for s in struct.unpack(f"<{len(frames) // 2}h", frames)]
    samples = resample(samples, source_rate, rate)
    return trim(samples, rate, float(speech.get("tail", 0.04)))


def resample(samples, source_rate, rate):
    if source_rate == rate or not samples:
        return samples
    count = int(len(samples) * rate / source_rate)
    out = []
    for i in range(count):
        x = i * source_rate / rate
        j = int(x)
        k = min(j + 1, len(samples) - 1)
        out.append(samples[j] + (samples[k] - samples[j]) * (x - j))
    return out


def trim(samples, rate, tail):
    loud = [i for i, s in enumerate(samples) if abs(s) > 0.02]
    if not loud:
        return samples
    first = max(0, loud[0] - int(0.005 * rate))
    last = min(len(samples), loud[-1] + int(tail * rate))
    cut = samples[first:last]
    fade_ends(cut, rate, 0.005, 0.02)
    return cut


def fade_ends(samples, rate, fade_in, fade_out):
    """Linear fades so the first and last samples are zero."""
    count = min(len(samples) // 2, int(fade_in * rate))
    for i in range(count):
        samples[i] *= i / count
    count = min(len(samples) // 2, int(fade_out * rate))
    for i in range(count):
        samples[len(samples) - 1 - i] *= i / count


def block_dc(samples, rate, corner=20.0):
    """A one-pole high pass drains a lasting offset away; what its settling
    leaves is taken off evenly."""
    pole = math.exp(-2 * math.pi * corner / rate)
    out, last_in, last_out = [], 0.0, 0.0
    for s in samples:
        last_out = s - last_in + pole * last_out
        last_in = s
        out.append(last_out)
    mean = sum(out) / len(out) if out else 0.0
    return [s - mean for s in out]


def render(recipe, seed):
    rate = recipe["rate"]
    rng = random.Random(seed)
    out = []
    for tone in recipe["tones"]:
        render_tone(tone, rate, out, rng)
    if recipe["voice"]:
        spoken = speak(recipe["voice"], recipe["speech"], rate)
        if spoken:
            place(out, spoken, recipe["speech"], rate)
    out = block_dc(out, rate)
    fade_ends(out, rate, 0.001, 0.004)
    top = max((abs(s) for s in out), default=0)
    scale = recipe["peak"] / top if top > 0 else 0
    return [s * scale for s in out]


def place(out, spoken, speech, rate):
    begin = int(float(speech.get("at", 0)) * rate)
    gain = float(speech.get("gain", 1))
    drive = float(speech.get("drive", 1.8))
    peak = max(abs(s) for s in spoken) or 1
    if len(out) < begin + len(spoken):
        out.extend([0.0] * (begin + len(spoken) - len(out)))
    for i, s in enumerate(spoken):
        # A soft clip makes the voice punchier without hard distortion.
        out[begin + i] += math.tanh(drive * s / peak) / math.tanh(drive) * gain


def write_wav(path, samples, rate):
    data = struct.pack(f"<{len(samples)}h",
                       *(max(-32768, min(32767, int(round(s * 32767)))) for s in samples))
    with wave.open(path, "wb") as target:
        target.setnchannels(1)
        target.setsampwidth(2)
        target.setframerate(rate)
        target.writeframes(data)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: synth.py RECIPE.snd OUT.wav")
    recipe = parse(sys.argv[1])
    name = os.path.splitext(os.path.basename(sys.argv[1]))[0]
    samples = render(recipe, seed=name)
    if not samples:
        raise SystemExit(f"{sys.argv[1]}: renders nothing")
    write_wav(sys.argv[2], samples, recipe["rate"])


if __name__ == "__main__":
    main()
