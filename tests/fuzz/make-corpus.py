#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora: a few small valid files of each
kind and the damaged shapes that matter (cut short, wrong sizes, garbage).
usage: make-corpus.py [DATA_VRK]   (a built data.vrk seeds the gamedata target)"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    d = os.path.join(HERE, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def u32s(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def saves():
    put("save", "progress", u32s(12, 5, 300, 0, 1, 1, 0))
    put("save", "best-times", u32s(629, 0, 10, 29, 900, 0, 15, 0))
    put("save", "deepest", u32s(49))
    put("save", "cut", u32s(29, 13)[:7])
    put("save", "huge", u32s(*([0xFFFFFFFF] * 8)))
    put("save", "past-tables", u32s(31, 14, 0x80000000, 0x7FFFFFFF, 2, 7, 3))


def maps():
    board = bytearray(b"\x00" * 64)
    # A walkable board: keys 1-4 (7-10), a switch (5) and gate (6), time cells (3, 4), walls (2).
    for cell, tile in ((0, 7), (7, 8), (56, 9), (63, 10), (20, 5), (27, 6), (36, 3), (9, 4), (45, 2)):
        board[cell] = tile
    put("mapfile", "plain", bytes(board) + b"\x01" + struct.pack("<ii", 3, 4))
    put("mapfile", "warps", bytes(board[:40]) + b"\x0c" * 2 + bytes(board[42:]) + b"\x02" +
        struct.pack("<ii", 0, 0))
    put("mapfile", "cut", bytes(board[:50]))
    put("mapfile", "far-start", bytes(board) + b"\xff" + struct.pack("<ii", -1211424419, 2**31 - 1))
    put("mapfile", "garbage", bytes((i * 37 + 11) & 0xFF for i in range(80)))


def wav(fmt_tag=1, channels=1, rate=22050, bits=16, data=b"\x00\x01" * 32, extra=b"", odd=False):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", fmt_tag, channels, rate, rate * block, block, bits) + extra
    chunks = b"fmt " + struct.pack("<I", len(fmt)) + fmt
    if odd:
        chunks += b"LIST" + struct.pack("<I", 5) + b"INFOx\x00"
    chunks += b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        chunks += b"\x00"
    return b"RIFF" + struct.pack("<I", 4 + len(chunks)) + b"WAVE" + chunks


def waves():
    put("wave", "mono16", wav())
    put("wave", "stereo8-odd", wav(channels=2, bits=8, data=bytes(range(33)), odd=True))
    put("wave", "extensible", wav(fmt_tag=0xFFFE, extra=struct.pack("<H", 0)))
    put("wave", "cut", wav()[:30])
    put("wave", "huge-data", wav()[:40] + struct.pack("<I", 0xFFFFFFF0))
    put("wave", "two-forms", wav(data=b"\x10\x20") + wav(bits=8, data=b"\x80" * 3))


def bmp(width, height, bits, pixels, palette=b"", compression=0, masks=b""):
    header_size = 40 + len(masks)
    offset = 14 + header_size + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(palette) // 4, 0)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return head + info + masks + palette + pixels


def bitmaps():
    row24 = b"\x00\xff\x00" + b"\xff\x00\xff" + b"\x10\x20\x30" + b"\x00\x00"
    put("bmp", "rgb24", bmp(3, 2, 24, row24 * 2))
    put("bmp", "top-down", bmp(3, -2, 24, row24 * 2))
    palette = b"".join(struct.pack("<BBBB", i * 60, 255 - i * 60, i, 0) for i in range(4))
    put("bmp", "pal8", bmp(4, 2, 8, bytes([0, 1, 2, 3, 3, 2, 1, 0]), palette))
    masks = struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)
    put("bmp", "bitfields32", bmp(2, 2, 32, b"\x01\x02\x03\xff" * 4, compression=3, masks=masks))
    put("bmp", "cut", bmp(3, 2, 24, row24 * 2)[:60])
    put("bmp", "wide", bmp(100000, 1, 24, row24))


def gamedata(data_vrk):
    # Counts, then a message with every control pair and a cut double-byte character.
    counts = u32s(*([2] * 13))
    message = bytes([0, 1]) + ("こんにちは#n二行目#p01#s#e".encode("cp932") + b"\x82").ljust(100, b"\x00")
    body = b"\x00" * (240 + 1920 + 30) + counts + message * 2
    put("gamedata", "story-start", body)
    put("gamedata", "empty", b"")
    put("gamedata", "too-many", b"\x00" * 2190 + u32s(*([0xFFFFFFFF] * 13)) + b"#" * 300)
    if data_vrk:
        with open(data_vrk, "rb") as f:
            put("gamedata", "whole", f.read())


saves()
maps()
waves()
bitmaps()
gamedata(sys.argv[1] if len(sys.argv) > 1 else None)
