#!/usr/bin/env python3
"""Writes expected.txt: for every PngSuite file outside x*, the picture an independent decoder
(ImageMagick) gives, reduced to what Lamina's PNG mapping keeps, as one line:

    name width height depth fnv1a64

depth is the image Lamina makes (palette 1/2/4/8 bits -> 1/4/4/8, gray -> 8, RGB -> 24,
gray+alpha and RGBA -> 32). The digest is FNV-1a (64 bits) over the pixels from the top row down,
each as red, green, blue, plus alpha at depth 32 (transparency is dropped at the other depths).
ImageMagick gives every sample at 16 bits (raw: its colour-space handling is switched off, gamma is
not applied), cross-checked against Pillow where Pillow is exact; 8-bit samples come out as v * 257
and 16-bit ones are rounded to round(v * 255 / 65535). Run once; the output is kept.
"""
import os
import struct
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in data:
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def main():
    lines = []
    for name in sorted(os.listdir(here)):
        if not name.endswith(".png") or name.startswith("x"):
            continue
        path = os.path.join(here, name)
        with open(path, "rb") as f:
            head = f.read(33)
        width, height, bit, ctype = struct.unpack(">IIBB", head[16:26])
        depth = {0: 8, 2: 24, 3: {1: 1, 2: 4, 4: 4, 8: 8}.get(bit), 4: 32, 6: 32}[ctype]
        raw = subprocess.run(["convert", path, "-set", "colorspace", "sRGB", "-endian", "MSB",
                              "-depth", "16", "rgba:-"], check=True, capture_output=True).stdout
        assert len(raw) == width * height * 8, name
        samples = struct.unpack(">%dH" % (len(raw) // 2), raw)
        kept = bytearray()
        for i in range(0, len(samples), 4):
            for v in samples[i:i + (4 if depth == 32 else 3)]:
                kept.append((2 * v * 255 + 65535) // 131070)
        lines.append("%s %d %d %d %016x" % (name, width, height, depth, fnv1a64(kept)))
    with open(os.path.join(here, "expected.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    sys.exit(main())
