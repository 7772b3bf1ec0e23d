#!/usr/bin/env python3
"""Writes a Windows icon file from raw RGBA pictures, each entry at its own colour depth.

    make_ico.py OUT.ico SIZE:BITS:FILE.rgba ...

Each FILE.rgba holds SIZE x SIZE pixels of 4 bytes (red, green, blue, alpha), top row first, as
ImageMagick writes them with `rgba:FILE`. BITS is 4 or 8 for a palette entry (the picture must use
at most 16 or 256 opaque colours; pixels with alpha below 128 become transparent through the
mask), or 24 or 32 for a true-colour entry (32 keeps the alpha channel).
"""
import struct
import sys


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def entry(size, bits, pixels):
    rows = [pixels[y * size * 4:(y + 1) * size * 4] for y in range(size)]
    rows.reverse()  # bottom-up
    opaque = lambda p: p[3] >= 128
    palette = b""
    xor = bytearray()
    if bits in (4, 8):
        colours = []
        for row in rows:
            for x in range(size):
                p = row[x * 4:x * 4 + 4]
                if opaque(p) and p[:3] not in colours:
                    colours.append(p[:3])
        if len(colours) > (1 << bits) - 1:
            sys.exit(f"{size}x{size} at {bits} bits: {len(colours)} colours, too many")
        colours.insert(0, b"\0\0\0")  # index 0: what transparent pixels hold
        colours += [b"\0\0\0"] * ((1 << bits) - len(colours))
        palette = b"".join(bytes((c[2], c[1], c[0], 0)) for c in colours)
        for row in rows:
            indexes = []
            for x in range(size):
                p = row[x * 4:x * 4 + 4]
                indexes.append(colours.index(p[:3], 1) if opaque(p) else 0)
            line = bytearray()
            if bits == 8:
                line += bytes(indexes)
            else:
                for i in range(0, size, 2):
                    line.append(indexes[i] << 4 | (indexes[i + 1] if i + 1 < size else 0))
            line += b"\0" * (row_bytes(size * bits) - len(line))
            xor += line
    else:
        for row in rows:
            line = bytearray()
            for x in range(size):
                r, g, b, a = row[x * 4:x * 4 + 4]
                if bits == 32:
                    line += bytes((b, g, r, a))
                else:
                    line += bytes((b, g, r) if a >= 128 else (0, 0, 0))
            line += b"\0" * (row_bytes(size * bits) - len(line))
            xor += line
    mask = bytearray()
    for row in rows:
        line = bytearray(row_bytes(size))
        for x in range(size):
            if not opaque(row[x * 4:x * 4 + 4]):
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    image_size = len(xor) + len(mask)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_size, 0, 0,
                         (1 << bits) if bits <= 8 else 0, 0)
    return header + palette + bytes(xor) + bytes(mask)


def main(args):
    out, entries = args[0], args[1:]
    images = []
    for entry in entries:
        size, bits, path = entry.split(":", 2)
        size, bits = int(size), int(bits)
        pixels = open(path, "rb").read()
        if len(pixels) != size * size * 4:
            sys.exit(f"{path}: not {size}x{size} RGBA pixels")
        images.append((size, bits, entry(size, bits, pixels)))
    offset = 6 + 16 * len(images)
    directory = b""
    for size, bits, data in images:
        colours = (1 << bits) if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                                 len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory)
        for _, _, data in images:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1:])
