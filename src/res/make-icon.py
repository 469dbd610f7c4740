#!/usr/bin/env python3
"""Draws the launcher's icon (a teal tile with a white T and an amber start arrow) at
16, 20, 24, 32 and 48 pixels (20 and 24: the small icon at 125% and 150% display scale) and
writes them as one .ico file. Run: python3 make-icon.py tessaly.ico"""
import struct
import sys

TEAL = (0x1f, 0x7a, 0x8c)
WHITE = (0xff, 0xff, 0xff)
AMBER = (0xf5, 0xa6, 0x23)
SAMPLES = 4  # supersampling per axis, for smooth edges


def shape_at(x, y):
    """Colour at a point of the unit square (0..1), or None outside the tile."""
    r = 0.18  # corner radius of the tile
    cx, cy = min(max(x, r), 1 - r), min(max(y, r), 1 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return None
    # Start arrow: a triangle pointing right in the lower right.
    ax, ay = x - 0.56, y - 0.52
    if 0 <= ax <= 0.30 and abs(ay - 0.17) <= 0.17 * (1 - ax / 0.30):
        return AMBER
    # The T: a bar across the top and a stem.
    if 0.16 <= y <= 0.32 and 0.14 <= x <= 0.74:
        return WHITE
    if 0.32 <= y <= 0.84 and 0.36 <= x <= 0.52:
        return WHITE
    return TEAL


def render(size):
    """Rows bottom-up as BGRA bytes, as a .ico bitmap stores them."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shape_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 1
            n = acc[3]
            if n == 0:
                row += bytes(4)
            else:
                row += bytes((acc[2] // n, acc[1] // n, acc[0] // n, 255 * n // (SAMPLES * SAMPLES)))
        rows.append(bytes(row))
    return b"".join(reversed(rows))


def bitmap(size):
    pixels = render(size)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + mask_row * size, 0, 0, 0, 0)
    return header + pixels + bytes(mask_row * size)


def main(path):
    sizes = (16, 20, 24, 32, 48)
    images = [bitmap(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tessaly.ico")
