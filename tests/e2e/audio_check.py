#!/usr/bin/env python3
"""Looks for one played clip in what SDL's disk driver wrote (44.1 kHz, 16-bit, stereo).

audio_check.py RAW OFFSET --length SECONDS --freq HZ [--wav FILE]
audio_check.py RAW OFFSET --any

Reads RAW from byte OFFSET on, splits it into sounds at silences of 50 ms or more, and
succeeds when one sound lasts SECONDS (within 15 %) at a pitch of HZ (within 5 %, by
zero crossings). With --wav the sound's samples must also be FILE's samples unchanged,
which holds when FILE is already in the device's format. With --any every sound will
do. Prints what it found.
"""
import argparse
import array
import struct
import sys

RATE = 44100
FRAME = 4  # two 16-bit channels
SILENT = 64  # below this a sample counts as silence (-54 dB)
GAP = RATE // 20


def wav_samples(path):
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"{path}: not a WAVE file")
    pos = 12
    while pos + 8 <= len(data):
        tag, size = struct.unpack_from("<4sI", data, pos)
        if tag == b"data":
            return data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    sys.exit(f"{path}: no data chunk")


def sounds(left):
    """(first, last) frame of each run of sound, split at silences of GAP frames."""
    runs, start, quiet = [], None, 0
    for i, v in enumerate(left):
        if abs(v) >= SILENT:
            if start is None:
                start = i
            quiet, last = 0, i
        elif start is not None:
            quiet += 1
            if quiet >= GAP:
                runs.append((start, last))
                start = None
    if start is not None:
        runs.append((start, last))
    return runs


def pitch(left, first, last):
    crossings = sum(1 for i in range(first + 1, last + 1) if (left[i - 1] < 0) != (left[i] < 0))
    return crossings / 2 / max(1, last - first) * RATE


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("raw")
    parser.add_argument("offset", type=int)
    parser.add_argument("--length", type=float)
    parser.add_argument("--freq", type=float)
    parser.add_argument("--any", action="store_true")
    parser.add_argument("--wav")
    args = parser.parse_args()
    if not args.any and (args.length is None or args.freq is None):
        parser.error("--length and --freq, or --any")

    with open(args.raw, "rb") as f:
        f.seek(args.offset - args.offset % FRAME)
        raw = f.read()
    raw = raw[:len(raw) - len(raw) % FRAME]
    if args.wav:
        samples = wav_samples(args.wav)
        if raw.find(samples) < 0:
            print(f"the samples of {args.wav} are not in the output")
            return 1
    pcm = array.array("h", raw)
    if sys.byteorder == "big":
        pcm.byteswap()
    left = pcm[0::2]
    found = []
    for first, last in sounds(left):
        length = (last - first + 1) / RATE
        hz = pitch(left, first, last)
        found.append(f"{length:.3f} s at {hz:.0f} Hz")
        if args.any or abs(length - args.length) <= 0.15 * args.length and abs(hz - args.freq) <= 0.05 * args.freq:
            print(f"found: {found[-1]}, {first / RATE:.2f} s after the offset")
            return 0
    print("sounds after the offset: " + (", ".join(found) or "none"))
    return 1


if __name__ == "__main__":
    sys.exit(main())
