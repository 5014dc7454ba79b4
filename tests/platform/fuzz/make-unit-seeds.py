#!/usr/bin/env python3
"""Writes the seed corpora of unit_answer_fuzzer and packed_unit_fuzzer."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def text(s):
    b = s.encode()
    return struct.pack('<I', len(b)) + b


def answer(header, clips, used):
    out = b'JBWREAD1' + b'\x01' + text(header) + struct.pack('<I', len(clips))
    for t, where, offset, length in clips:
        out += text(t) + struct.pack('<BQQ', where, offset, length)
    return out + struct.pack('<Q', used)


def packed(header, clips, prefix=b'\x7fELF' + bytes(60)):
    payload = b'JBWUNIT1' + struct.pack('<I', len(clips)) + text(header)
    for name, caption, data in clips:
        payload += text(name) + text(caption) + struct.pack('<Q', len(data)) + data
    return prefix + payload + struct.pack('<QQ', len(prefix), len(payload)) + b'JBWPACK1'


wave = b'RIFF' + struct.pack('<I', 40) + b'WAVEfmt ' + struct.pack('<IHHIIHH', 16, 1, 1, 8000, 16000, 2, 16) \
    + b'data' + struct.pack('<I', 4) + b'\x01\x00\x02\x00'
seeds = {
    'unit-answers/read': answer('Demo:Demo Sounds', [('ONE:One', 1, 64, 300), ('TWO:Two', 2, 0, 48),
                                                     ('Odd:Name:Three', 0, 0, 0)], 48),
    'unit-answers/empty': answer('Empty:', [], 0),
    'unit-answers/refused': b'JBWREAD1\x00' + text('it crashed (SIGSEGV)'),
    'packed-units/two-clips': packed('Mine:My Sounds', [('Hello', 'Hello', wave), ('bye', 'Good Bye', wave)]),
    'packed-units/no-clips': packed('None:Nothing', []),
}
for name, data in seeds.items():
    os.makedirs(os.path.join(here, os.path.dirname(name)), exist_ok=True)
    with open(os.path.join(here, name), 'wb') as f:
        f.write(data)
