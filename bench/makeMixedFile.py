#!/usr/bin/env python3
"""Writes a large mixed Shift_JIS file for comparing pemo-layout's output
across engine versions: prose and long lines as engineBench generates them,
the sample documents, hostile bytes (form feeds, lone CRs, NULs, tabs, cut
double-byte characters) and a few very long lines.

    bench/makeMixedFile.py PROSE LONG OUT

PROSE and LONG come from `engineBench --generate PATH prose|long`."""
import random
import sys
from pathlib import Path

prose, long_lines, out = (Path(a) for a in sys.argv[1:4])
samples = Path(__file__).resolve().parent.parent / 'tests' / 'samples'
random.seed(12)


def hostile(count):
    noise = bytearray()
    for _ in range(count):
        c = random.random()
        if c < 0.22:
            noise += random.choice([b'\x0c', b'\r', b'\n', b'\t', b'\x00'])
        elif c < 0.5:
            noise.append(random.choice([0x81, 0x82, 0x83, 0x88, 0x9f, 0xe0, 0xfc]))
        elif c < 0.7:
            noise.append(random.randrange(0x40, 0xfd))
        else:
            noise.append(random.randrange(0x20, 0x7f))
    return bytes(noise)


text = prose.read_bytes()
parts = [text[:6_000_000], long_lines.read_bytes()[:4_000_000], hostile(400_000),
         (samples / 'journey.txt').read_bytes(), (samples / 'paging.txt').read_bytes(),
         b'x' * 300_000 + b'\r\n' + '\u3002'.encode('cp932') * 100_000, text[6_000_000:9_000_000]]
out.write_bytes(b''.join(parts))
