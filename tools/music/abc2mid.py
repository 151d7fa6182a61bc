#!/usr/bin/env python3
"""Compiles a tune in ABC notation (content/music/*.abc) to a standard MIDI file.

The subset of ABC understood:
  header   X: T: M: (n/d or C) L: (default length) Q: (1/4=120 or 120) K: (key
           with optional m/min/dor/mix/lyd/phr/loc/ion/maj mode) - K: ends the header
  voices   V:id on its own line (or [V:id] inline); every voice becomes a track.
           After a V: line: %%MIDI program N, %%MIDI channel N (1-16, 10 = drums),
           %%MIDI control C V, %%MIDI transpose N
  notes    A-G a-g with ' and , octaves; ^ ^^ _ __ = accidentals (they hold to
           the bar's end, as in ABC); lengths 2, 3/2, /, /2, //; rests z and x;
           chords [CEG]; ties -; broken rhythm > and <; triplets (3
  bars     | || |] [| and repeats |: :| :: (each repeated section plays twice)
  dynamics !ppp! !pp! !p! !mp! !mf! !f! !ff! !fff!
Every track ends at the length of the longest voice, so the file loops
seamlessly when each voice fills the same number of bars.
"""
import re
import struct
import sys
from fractions import Fraction

TICKS_PER_QUARTER = 480
DYNAMICS = {"ppp": 30, "pp": 45, "p": 60, "mp": 72, "mf": 85, "f": 100, "ff": 112, "fff": 124}
NOTE_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
SHARP_ORDER = "FCGDAEB"
MODE_SHIFT = {"": 0, "maj": 0, "ion": 0, "m": -3, "min": -3, "aeo": -3, "dor": -2,
              "mix": -1, "lyd": 1, "phr": -4, "loc": -5}

class AbcError(Exception):
    pass


def key_signature(text):
    """Semitone offsets per letter for the key, e.g. {'F': 1} for G major."""
    match = re.match(r"\s*([A-G])([#b]?)\s*([A-Za-z]*)", text)
    if not match or text.strip().lower() == "none":
        return {}
    tonic, accidental, mode = match.groups()
    mode = mode[:3].lower() if mode.lower() not in ("m",) else "m"
    if mode not in MODE_SHIFT:
        raise AbcError(f"unknown mode in K:{text}")
    # Fifths of the tonic relative to C, then shifted by the mode.
    fifths = {"C": 0, "G": 1, "D": 2, "A": 3, "E": 4, "B": 5, "F": -1}[tonic]
    fifths += 7 if accidental == "#" else -7 if accidental == "b" else 0
    fifths += MODE_SHIFT[mode]
    if fifths >= 0:
        return {letter: 1 for letter in SHARP_ORDER[:fifths]}
    return {letter: -1 for letter in SHARP_ORDER[::-1][:-fifths]}


class Voice:
    def __init__(self, name, channel):
        self.name = name
        self.channel = channel
        self.program = 0
        self.controls = []
        self.transpose = 0
        self.body = []  # text lines of music


class Tune:
    def __init__(self):
        self.title = ""
        self.meter = (4, 4)
        self.unit = Fraction(1, 8)
        self.tempo = 500000  # microseconds per quarter note
        self.key = {}
        self.voices = {}
        self.order = []

    def voice(self, name):
        if name not in self.voices:
            used = {v.channel for v in self.voices.values()}
            channel = next(c for c in range(16) if c != 9 and c not in used)
            self.voices[name] = Voice(name, channel)
            self.order.append(name)
        return self.voices[name]


def parse_fraction(text):
    if "/" in text:
        top, bottom = text.split("/")
        return Fraction(int(top), int(bottom))
    return Fraction(int(text))


def parse_tempo(text):
    text = text.strip()
    if "=" in text:
        beat, bpm = text.split("=")
        beat = sum((parse_fraction(part) for part in beat.split()), Fraction(0))
    else:
        beat, bpm = Fraction(1, 4), text
    quarters_per_minute = float(bpm) * float(beat / Fraction(1, 4))
    return int(round(60_000_000 / quarters_per_minute))


def parse_file(text):
    tune = Tune()
    current = None
    in_header = True
    for raw in text.splitlines():
        line = raw.rstrip()
        if line.startswith("%%MIDI"):
            midi_directive(tune, current, line.split()[1:])
            continue
        line = line.split("%", 1)[0].rstrip()
        if not line:
            continue
        field = re.match(r"^([A-Za-z]):(.*)$", line)
        if field:
            letter, value = field.group(1), field.group(2).strip()
            if letter == "V":
                current = tune.voice(value.split()[0])
            elif letter == "K":
                tune.key = key_signature(value)
                in_header = False
            elif letter == "M":
                tune.meter = (4, 4) if value in ("C", "C|") else tuple(
                    int(n) for n in value.split("/"))
            elif letter == "L":
                tune.unit = parse_fraction(value)
            elif letter == "Q":
                tune.tempo = parse_tempo(value)
            elif letter == "T" and not tune.title:
                tune.title = value
            continue
        if in_header:
            raise AbcError(f"music before K: {line}")
        if current is None:
            current = tune.voice("1")
        current.body.append(line)
    return tune


def midi_directive(tune, voice, words):
    if voice is None:
        voice = tune.voice("1")
    name, args = words[0], [int(w) for w in words[1:]]
    if name == "program":
        voice.program = args[-1]
    elif name == "channel":
        voice.channel = args[0] - 1
    elif name == "control":
        voice.controls.append((args[0], args[1]))
    elif name == "transpose":
        voice.transpose = args[0]
    else:
        raise AbcError(f"unsupported %%MIDI {name}")


TOKEN = re.compile(r"""
    (?P<deco>![a-z]+!)
  | (?P<repeat_start>\|:)
  | (?P<repeat_both>::)
  | (?P<repeat_end>:\|\]?|:\|)
  | (?P<bar>\|\]|\|\||\[\||\|)
  | (?P<voice>\[V:\s*[^\]]+\])
  | (?P<triplet>\(3)
  | (?P<chord>\[(?:[\^_=]*[A-Ga-g][',]*)+\](?:\d*/*\d*))
  | (?P<note>[\^_=]*[A-Ga-gzx][',]*(?:\d*/*\d*))
  | (?P<tie>-)
  | (?P<broken>[<>])
  | (?P<space>\s+)
""", re.VERBOSE)


def tokenize(line):
    position = 0
    while position < len(line):
        match = TOKEN.match(line, position)
        if not match:
            raise AbcError(f"cannot read '{line[position:position + 12]}' in: {line}")
        position = match.end()
        if match.lastgroup != "space":
            yield match.lastgroup, match.group()


def expand_repeats(tokens):
    """Plays each |: ... :| section twice."""
    out = []
    start = 0
    for kind, text in tokens:
        if kind == "repeat_start":
            start = len(out)
            out.append(("bar", "|"))
        elif kind in ("repeat_end", "repeat_both"):
            section = out[start:]
            out.append(("bar", "|"))
            out.extend(section)
            out.append(("bar", "|"))
            start = len(out)
        else:
            out.append((kind, text))
    return out


def length_of(text):
    match = re.search(r"(\d*)(/*)(\d*)$", text)
    top, slashes, bottom = match.groups()
    value = Fraction(int(top)) if top else Fraction(1)
    if slashes:
        divisor = int(bottom) if bottom else 2 ** len(slashes)
        value /= divisor
    return value


def pitch_of(text, key, bar_accidentals, transpose):
    match = re.match(r"([\^_=]*)([A-Ga-g])([',]*)", text)
    accidental, letter, octave_marks = match.groups()
    upper = letter.upper()
    octave = 5 if letter.islower() else 4
    octave += octave_marks.count("'") - octave_marks.count(",")
    slot = (upper, octave)
    if accidental:
        shift = {"^": 1, "^^": 2, "_": -1, "__": -2, "=": 0}[accidental]
        bar_accidentals[slot] = shift
    shift = bar_accidentals.get(slot, key.get(upper, 0))
    return 12 * (octave + 1) + NOTE_STEPS[upper] + shift + transpose


def voice_events(tune, voice):
    """(start tick, length ticks, pitches, velocity) of each note of a voice."""
    tokens = []
    for line in voice.body:
        tokens.extend(tokenize(line))
    notes = []
    time = Fraction(0)
    unit_ticks = tune.unit * 4 * TICKS_PER_QUARTER
    velocity = DYNAMICS["mf"]
    bar_accidentals = {}
    triplet = 0
    broken = None
    tie = False
    for kind, text in expand_repeats(tokens):
        if kind == "deco":
            velocity = DYNAMICS.get(text.strip("!"), velocity)
        elif kind == "bar":
            bar_accidentals = {}
        elif kind == "triplet":
            triplet = 3
        elif kind == "tie":
            tie = True
        elif kind == "broken":
            broken = text
            if notes and notes[-1] is not None:
                start, length, pitches, vel = notes[-1]
                factor = Fraction(3, 2) if text == ">" else Fraction(1, 2)
                new_length = length * factor
                time += new_length - length
                notes[-1] = (start, new_length, pitches, vel)
        elif kind in ("note", "chord"):
            length = length_of(text) * unit_ticks
            if kind == "chord":
                inner = re.findall(r"[\^_=]*[A-Ga-g][',]*", text[1:text.index("]")])
                pitches = [pitch_of(n, tune.key, bar_accidentals, voice.transpose)
                           for n in inner]
            elif text.lstrip("^_=")[0] in "zx":
                pitches = []
            else:
                pitches = [pitch_of(text, tune.key, bar_accidentals, voice.transpose)]
            if triplet:
                length = length * 2 / 3
                triplet -= 1
            if broken:
                length *= Fraction(1, 2) if broken == ">" else Fraction(3, 2)
                broken = None
            if tie and notes and notes[-1][2] == pitches and pitches:
                start, old, _, vel = notes[-1]
                notes[-1] = (start, old + length, pitches, vel)
            else:
                notes.append((time, length, pitches, velocity))
            tie = False
            time += length
    return notes, time


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def track_chunk(events, end_tick):
    """events: (tick, order, bytes); order puts note-offs before note-ons."""
    events = sorted(events, key=lambda e: (e[0], e[1]))
    data = bytearray()
    last = 0
    for tick, _, message in events:
        data += variable_length(tick - last) + message
        last = tick
    data += variable_length(max(0, end_tick - last)) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def compile_tune(tune):
    tracks = []
    end = 0
    lengths = {}
    for name in tune.order:
        voice = tune.voices[name]
        notes, length = voice_events(tune, voice)
        lengths[name] = length
        end = max(end, int(length))
        events = [(0, 0, bytes([0xC0 | voice.channel, voice.program & 0x7F]))]
        for control, value in voice.controls:
            events.append((0, 0, bytes([0xB0 | voice.channel, control & 0x7F, value & 0x7F])))
        for start, duration, pitches, velocity in notes:
            on, off = int(start), int(start + duration)
            for pitch in pitches:
                if not 0 <= pitch <= 127:
                    raise AbcError(f"voice {name}: note out of range")
                events.append((on, 2, bytes([0x90 | voice.channel, pitch, velocity])))
                events.append((off, 1, bytes([0x80 | voice.channel, pitch, 0])))
        tracks.append(events)
    uneven = {n: float(l / (4 * TICKS_PER_QUARTER)) for n, l in lengths.items() if int(l) != end}
    if uneven:
        print(f"warning: voices shorter than the tune (whole notes): {uneven}", file=sys.stderr)
    numerator, denominator = tune.meter
    head = [(0, 0, b"\xff\x51\x03" + tune.tempo.to_bytes(3, "big")),
            (0, 0, bytes([0xFF, 0x58, 4, numerator, denominator.bit_length() - 1, 24, 8]))]
    title = tune.title.encode("ascii", "replace")[:100]
    head.append((0, 0, b"\xff\x03" + variable_length(len(title)) + title))
    chunks = [track_chunk(head, end)] + [track_chunk(t, end) for t in tracks]
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), TICKS_PER_QUARTER)
    return header + b"".join(chunks)


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: abc2mid.py TUNE.abc OUT.mid")
    with open(sys.argv[1], encoding="utf-8") as source:
        text = source.read()
    try:
        data = compile_tune(parse_file(text))
    except AbcError as error:
        raise SystemExit(f"{sys.argv[1]}: {error}")
    with open(sys.argv[2], "wb") as target:
        target.write(data)


if __name__ == "__main__":
    main()
