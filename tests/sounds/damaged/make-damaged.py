#!/usr/bin/env python3
"""Writes the damaged sound corpus next to this script.

plays-*.wav  still hold a decodable sound (sizes that lie are cut to what is there);
refused-*.wav cannot be decoded and must give the chime (or silence without it).
Run again after changing this script; the files are committed.
"""
import math
import os
import struct
import zlib

here = os.path.dirname(os.path.abspath(__file__))


def chunk(tag, body, size=None):
    pad = b"\0" if len(body) % 2 else b""
    return tag + struct.pack("<I", len(body) if size is None else size) + body + pad


def fmt(tag=1, channels=2, rate=8000, bits=16, align=None, extra=b""):
    align = channels * (bits // 8) if align is None else align
    return struct.pack("<HHIIHH", tag, channels, rate, (rate * align) & 0xFFFFFFFF, align, bits) + extra


def tone(frames, channels=2, bits=16):
    out = bytearray()
    for i in range(frames):
        v = math.sin(2 * math.pi * 440 * i / 8000) * 0.5
        for _ in range(channels):
            if bits == 8:
                out += struct.pack("<B", int(128 + v * 127))
            elif bits == 16:
                out += struct.pack("<h", int(v * 32767))
            elif bits == 24:
                out += struct.pack("<i", int(v * 8388607))[:3]
            else:
                out += struct.pack("<f", v)
    return bytes(out)


def riff(*chunks, size=None):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body) if size is None else size) + body


DATA = tone(200)
GOOD = riff(chunk(b"fmt ", fmt()), chunk(b"data", DATA))
EXTENSIBLE_PCM = struct.pack("<HHI", 22, 16, 3) + b"\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"

plays = {
    "reference": GOOD,
    "8bit-mono": riff(chunk(b"fmt ", fmt(channels=1, bits=8)), chunk(b"data", tone(200, 1, 8))),
    "24bit": riff(chunk(b"fmt ", fmt(bits=24)), chunk(b"data", tone(200, 2, 24))),
    "float": riff(chunk(b"fmt ", fmt(tag=3, bits=32)), chunk(b"data", tone(200, 2, 32))),
    "extensible": riff(chunk(b"fmt ", fmt(tag=0xFFFE, extra=EXTENSIBLE_PCM)), chunk(b"data", DATA)),
    "truncated-data": GOOD[: 44 + 301],
    "riff-size-zero": riff(chunk(b"fmt ", fmt()), chunk(b"data", DATA), size=0),
    "riff-size-huge": riff(chunk(b"fmt ", fmt()), chunk(b"data", DATA), size=0xFFFFFFFF),
    "data-size-huge": riff(chunk(b"fmt ", fmt()), chunk(b"data", DATA, size=0xFFFFFFFF)),
    "data-size-odd": riff(chunk(b"fmt ", fmt()), chunk(b"data", DATA, size=len(DATA) - 3)),
    "data-before-format": riff(chunk(b"data", DATA), chunk(b"fmt ", fmt())),
    "unknown-chunks": riff(chunk(b"LIST", b"INFOjunk!"), chunk(b"fmt ", fmt()),
                           chunk(b"fact", b"\x01\x02\x03"), chunk(b"data", DATA)),
    "format-size-long": riff(chunk(b"fmt ", fmt() + b"\0" * 6), chunk(b"data", DATA)),
}

refused = {
    "empty": b"",
    "riff-only": b"RIFF",
    "header-only": GOOD[:12],
    "truncated-format": GOOD[:30],
    "no-data": riff(chunk(b"fmt ", fmt())),
    "no-format": riff(chunk(b"data", DATA)),
    "format-size-huge": riff(chunk(b"fmt ", fmt(), size=0xFFFFFFF0), chunk(b"data", DATA)),
    "format-size-short": riff(chunk(b"fmt ", fmt()[:14]), chunk(b"data", DATA)),
    "zero-channels": riff(chunk(b"fmt ", fmt(channels=0, align=4)), chunk(b"data", DATA)),
    "many-channels": riff(chunk(b"fmt ", fmt(channels=255, align=4)), chunk(b"data", DATA)),
    "rate-zero": riff(chunk(b"fmt ", fmt(rate=0)), chunk(b"data", DATA)),
    "rate-huge": riff(chunk(b"fmt ", fmt(rate=0xFFFFFFFF)), chunk(b"data", DATA)),
    "block-size-zero": riff(chunk(b"fmt ", fmt(align=0)), chunk(b"data", DATA)),
    "block-size-wrong": riff(chunk(b"fmt ", fmt(align=3)), chunk(b"data", DATA)),
    "bits-0": riff(chunk(b"fmt ", fmt(bits=0, align=4)), chunk(b"data", DATA)),
    "bits-4": riff(chunk(b"fmt ", fmt(bits=4, align=1)), chunk(b"data", DATA)),
    "bits-12": riff(chunk(b"fmt ", fmt(bits=12, align=4)), chunk(b"data", DATA)),
    "bits-20": riff(chunk(b"fmt ", fmt(bits=20, align=6)), chunk(b"data", DATA)),
    "bits-48": riff(chunk(b"fmt ", fmt(bits=48)), chunk(b"data", DATA)),
    "float-16bit": riff(chunk(b"fmt ", fmt(tag=3, bits=16)), chunk(b"data", DATA)),
    "extensible-short": riff(chunk(b"fmt ", fmt(tag=0xFFFE)), chunk(b"data", DATA)),
    "adpcm-without-extra": riff(chunk(b"fmt ", fmt(tag=2, bits=4, align=256)), chunk(b"data", DATA)),
    "mpeg-tag": riff(chunk(b"fmt ", fmt(tag=0x55, bits=0, align=1)), chunk(b"data", DATA)),
    "rifx-big-endian": b"RIFX" + GOOD[4:],
    # Other formats under a .wav name: just their opening bytes and some body.
    "mp3": b"ID3\x03\x00\x00\x00\x00\x00\x0a" + b"\0" * 10 + (b"\xff\xfb\x90\x64" + b"\x55" * 413) * 2,
    "ogg": b"OggS\x00\x02" + b"\0" * 8 + b"\x01\x00\x00\x00" + b"\0" * 8 + b"\x01\x1e\x01vorbis"
    + b"\0\0\0\0\x02\x44\xac\0\0" + b"\0" * 12 + b"\xb8\x01",
    "png": b"\x89PNG\r\n\x1a\n"
    + struct.pack(">I", 13) + b"IHDR" + struct.pack(">IIBBBBB", 1, 1, 8, 0, 0, 0, 0)
    + struct.pack(">I", zlib.crc32(b"IHDR" + struct.pack(">IIBBBBB", 1, 1, 8, 0, 0, 0, 0)))
    + struct.pack(">I", 0) + b"IEND" + struct.pack(">I", zlib.crc32(b"IEND")),
    "text": b"This is not a sound, just a note renamed to .wav.\n",
}

for old in os.listdir(here):
    if old.endswith(".wav"):
        os.remove(os.path.join(here, old))
for prefix, files in (("plays", plays), ("refused", refused)):
    for name, content in files.items():
        with open(os.path.join(here, f"{prefix}-{name}.wav"), "wb") as out:
            out.write(content)
