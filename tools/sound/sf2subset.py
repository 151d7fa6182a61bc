#!/usr/bin/env python3
"""Cuts a SoundFont 2 bank down to the notes that some MIDI files play.

usage: sf2subset.py SOURCE.sf2 OUT.sf2 MIDI...

A General MIDI bank holds some 150 MB of samples, and the synthesiser keeps
all of them in memory; the game's tunes use a handful of instruments. Every
preset (bank, program) that a note of the MIDI files sounds on is kept, with
the zones of it and of its instruments that answer a played key and
velocity, and their samples (and the other half of each stereo pair);
everything else is left out, and the indices between the tables renumbered.
Percussion (channel 10) is bank 128. The kept records are copied unchanged
but for their indices and sample offsets, so the kept presets sound exactly
as in the source."""
import struct
import sys

GEN_INSTRUMENT = 41
GEN_SAMPLE_ID = 53
GEN_KEY_RANGE = 43
GEN_VEL_RANGE = 44
SAMPLE_PAD_POINTS = 46  # zero points the format requires after each sample
ROM_SAMPLE = 0x8000


def midi_presets(path):
    """{(bank, program): {(key, velocity)}} of the sounding notes of a standard MIDI file."""
    data = open(path, "rb").read()
    if data[:4] != b"MThd":
        sys.exit(f"{path}: not a standard MIDI file")
    at = 8 + struct.unpack(">I", data[4:8])[0]
    used = {}
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack(">I", data[at + 4:at + 8])[0]
        track, at = data[at + 8:at + 8 + size], at + 8 + size
        if kind != b"MTrk":
            continue
        program, bank_msb, status, i = [0] * 16, [0] * 16, 0, 0

        def number():
            nonlocal i
            value = 0
            while True:
                b = track[i]
                i += 1
                value = value << 7 | (b & 0x7F)
                if not b & 0x80:
                    return value

        while i < len(track):
            number()  # delta time
            if track[i] & 0x80:
                status = track[i]
                i += 1
            if status == 0xFF:
                i += 1
                length = number()
                i += length
                continue
            if status in (0xF0, 0xF7):
                length = number()
                i += length
                continue
            channel, high = status & 0x0F, status & 0xF0
            if high in (0xC0, 0xD0):
                if high == 0xC0:
                    program[channel] = track[i]
                i += 1
                continue
            a, b = track[i], track[i + 1]
            i += 2
            if high == 0xB0 and a == 0:
                bank_msb[channel] = b
            if high == 0x90 and b > 0:
                bank = 128 if channel == 9 else bank_msb[channel]
                used.setdefault((bank, program[channel]), set()).add((a, b))
    return used


def chunks(data, at, end):
    while at + 8 <= end:
        cid, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        yield cid, data[at + 8:at + 8 + size], at
        at += 8 + size + (size & 1)


def records(blob, size):
    return [blob[i:i + size] for i in range(0, len(blob) - size + 1, size)]


def chunk(cid, body):
    return cid + struct.pack("<I", len(body)) + body + (b"\0" if len(body) & 1 else b"")


def riff_list(kind, body):
    return chunk(b"LIST", kind + body)


def zone_range(gens):
    """Key and velocity ranges of a zone's generators (inclusive)."""
    keys, vels = (0, 127), (0, 127)
    for oper, amount in gens:
        if oper == GEN_KEY_RANGE:
            keys = (amount & 0xFF, amount >> 8)
        elif oper == GEN_VEL_RANGE:
            vels = (amount & 0xFF, amount >> 8)
    return keys, vels


def hits(gens, notes):
    """The (key, velocity) pairs of `notes` that a zone answers."""
    (k0, k1), (v0, v1) = zone_range(gens)
    return {(k, v) for k, v in notes if k0 <= k <= k1 and v0 <= v <= v1}


def subset(source, wanted):
    data = open(source, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"sfbk":
        sys.exit(f"{source}: not a SoundFont 2 bank")
    lists = {}
    for cid, body, _ in chunks(data, 12, len(data)):
        if cid == b"LIST":
            lists[body[:4]] = {c: b for c, b, _ in chunks(body, 4, len(body))}
            lists[body[:4]]["raw"] = body[4:]
    sdta, pdta = lists[b"sdta"], lists[b"pdta"]
    smpl, sm24 = sdta.get(b"smpl", b""), sdta.get(b"sm24")
    phdr, pbag, pmod, pgen = (records(pdta[k], n) for k, n in
                              ((b"phdr", 38), (b"pbag", 4), (b"pmod", 10), (b"pgen", 4)))
    inst, ibag, imod, igen = (records(pdta[k], n) for k, n in
                              ((b"inst", 22), (b"ibag", 4), (b"imod", 10), (b"igen", 4)))
    shdr = records(pdta[b"shdr"], 46)

    def zones(headers, at, bags, gens, index):
        """Each zone of header `index`: its bag number and (oper, amount) generators."""
        first = struct.unpack("<H", headers[index][at:at + 2])[0]
        last = struct.unpack("<H", headers[index + 1][at:at + 2])[0]
        for b in range(first, last):
            g0, g1 = struct.unpack("<H", bags[b][:2])[0], struct.unpack("<H", bags[b + 1][:2])[0]
            yield b, [struct.unpack("<HH", gens[g]) for g in range(g0, g1)]

    def target(gens, oper):
        return next((amount for o, amount in gens if o == oper), None)

    # A zone stays when a played note falls in its ranges; a global zone (no
    # instrument or sample) always stays. Instruments hear the notes their
    # preset zones pass on.
    presets, kept_pbags, inst_notes = [], {}, {}
    for p in range(len(phdr) - 1):
        program, bank = struct.unpack("<HH", phdr[p][20:24])
        if (bank, program) not in wanted:
            continue
        presets.append(p)
        kept_pbags[p] = []
        for b, gens in zones(phdr, 24, pbag, pgen, p):
            instrument = target(gens, GEN_INSTRUMENT)
            heard = hits(gens, wanted[(bank, program)])
            if instrument is None or heard:
                kept_pbags[p].append(b)
            if instrument is not None and heard:
                inst_notes.setdefault(instrument, set()).update(heard)
    missing = set(wanted) - {struct.unpack("<HH", phdr[p][20:24])[::-1] for p in presets}
    if missing:
        sys.exit(f"{source}: no preset for (bank, program) {sorted(missing)}")

    sample_map, samples = {}, []

    def keep_sample(old):
        if old in sample_map or old >= len(shdr) - 1:
            return
        sample_map[old] = len(samples)
        samples.append(old)
        link, kind = struct.unpack("<HH", shdr[old][42:46])
        if kind & 0x0E and not kind & ROM_SAMPLE:  # right, left or linked: its partner too
            keep_sample(link)

    instruments = list(inst_notes)
    inst_map = {old: new for new, old in enumerate(instruments)}
    kept_ibags = {}
    for i in instruments:
        kept_ibags[i] = []
        for b, gens in zones(inst, 20, ibag, igen, i):
            sample = target(gens, GEN_SAMPLE_ID)
            if sample is None or hits(gens, inst_notes[i]):
                kept_ibags[i].append(b)
                if sample is not None:
                    keep_sample(sample)

    def copy_zones(headers, at, bags, gens, mods, kept, kept_bags, remap_oper, remap):
        """Headers (bag index at byte `at`) with their kept bags, generators and modulators."""
        out_h, out_b, out_g, out_m = [], [], [], []
        for old in kept:
            h = bytearray(headers[old])
            h[at:at + 2] = struct.pack("<H", len(out_b))
            out_h.append(bytes(h))
            for b in kept_bags[old]:
                g0, m0 = struct.unpack("<HH", bags[b])
                g1, m1 = struct.unpack("<HH", bags[b + 1])
                out_b.append(struct.pack("<HH", len(out_g), len(out_m)))
                for g in range(g0, g1):
                    oper, amount = struct.unpack("<HH", gens[g])
                    if oper == remap_oper:
                        amount = remap[amount]
                    out_g.append(struct.pack("<HH", oper, amount))
                out_m.extend(mods[m0:m1])
        end = bytearray(headers[-1])
        end[at:at + 2] = struct.pack("<H", len(out_b))
        out_h.append(bytes(end))
        out_b.append(struct.pack("<HH", len(out_g), len(out_m)))
        out_g.append(b"\0" * 4)
        out_m.append(b"\0" * 10)
        return out_h, out_b, out_g, out_m

    new_phdr, new_pbag, new_pgen, new_pmod = copy_zones(phdr, 24, pbag, pgen, pmod, presets,
                                                        kept_pbags, GEN_INSTRUMENT, inst_map)
    new_inst, new_ibag, new_igen, new_imod = copy_zones(inst, 20, ibag, igen, imod, instruments,
                                                        kept_ibags, GEN_SAMPLE_ID, sample_map)
    new_smpl, new_sm24, new_shdr = bytearray(), bytearray(), []
    for old in samples:
        h = bytearray(shdr[old])
        start, end, loop_start, loop_end = struct.unpack("<IIII", h[20:36])
        link, kind = struct.unpack("<HH", h[42:46])
        at = len(new_smpl) // 2
        new_smpl += smpl[2 * start:2 * end] + b"\0" * (2 * SAMPLE_PAD_POINTS)
        if sm24 is not None:
            new_sm24 += sm24[start:end] + b"\0" * SAMPLE_PAD_POINTS
        h[20:36] = struct.pack("<IIII", at, at + end - start, loop_start - start + at,
                               loop_end - start + at)
        if kind & 0x0E and not kind & ROM_SAMPLE:
            h[42:44] = struct.pack("<H", sample_map[link])
        new_shdr.append(bytes(h))
    new_shdr.append(shdr[-1])

    info = riff_list(b"INFO", lists[b"INFO"]["raw"])
    sdta_body = chunk(b"smpl", bytes(new_smpl))
    if sm24 is not None:
        sdta_body += chunk(b"sm24", bytes(new_sm24))
    pdta_body = b"".join(chunk(k, b"".join(v)) for k, v in (
        (b"phdr", new_phdr), (b"pbag", new_pbag), (b"pmod", new_pmod), (b"pgen", new_pgen),
        (b"inst", new_inst), (b"ibag", new_ibag), (b"imod", new_imod), (b"igen", new_igen),
        (b"shdr", new_shdr)))
    body = b"sfbk" + info + riff_list(b"sdta", sdta_body) + riff_list(b"pdta", pdta_body)
    return chunk(b"RIFF", body), len(presets), len(instruments), len(samples)


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    wanted = {}
    for midi in argv[3:]:
        for preset, notes in midi_presets(midi).items():
            wanted.setdefault(preset, set()).update(notes)
    bank, presets, instruments, samples = subset(argv[1], wanted)
    with open(argv[2], "wb") as f:
        f.write(bank)
    print(f"{argv[2]}: {presets} presets, {instruments} instruments, {samples} samples, "
          f"{len(bank) / 2**20:.1f} MiB")


if __name__ == "__main__":
    main(sys.argv)
