#!/usr/bin/env python3
"""Draws the launcher's icon (a teal tile with a white T and an amber start arrow) at every size
Windows asks for and writes them as one .ico file; with --png DIR also each size as DIR/icon-N.png,
to look at. Run: python3 make-icon.py tessaly.ico [--png DIR]"""
import struct
import sys
import zlib

TEAL = (0x1f, 0x7a, 0x8c)
WHITE = (0xff, 0xff, 0xff)
AMBER = (0xf5, 0xa6, 0x23)

# 16 and 32: small and big icons at 100%; 20, 24 and 40, 48: the same at 125% and 150%; 64: the big
# icon at 200%; 256: Explorer's large views and the Add/Remove list. Windows XP reads only bitmap
# entries: its small icon stays a bitmap (its big one is then that, scaled up); everything else is PNG
# (Vista and later), a fraction of the bytes for flat art, which the program's size needs.
SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
BITMAP_SIZES = (16,)


class Shape:
    """The drawing at one size. The T's strokes and the arrow's box fall on whole pixels, so their
    straight edges stay crisp at the small sizes instead of blurring across two pixels."""

    def __init__(self, size):
        snap = lambda v: round(v * size)
        stroke = max(1, snap(0.15))
        self.size = size
        self.radius = 0.18 * size
        self.stem = (snap(0.44) - stroke // 2, snap(0.44) - stroke // 2 + stroke)
        self.bar = (snap(0.16), snap(0.16) + stroke)
        self.bar_x = (self.stem[0] - snap(0.22), self.stem[1] + snap(0.22))
        self.stem_bottom = snap(0.84)
        self.arrow_x = (self.stem[1] + max(1, snap(0.04)), snap(0.86))
        self.arrow_y = (snap(0.52), snap(0.86))

    def colour_at(self, x, y):
        """Colour at a point in pixels, or None outside the tile."""
        r, s = self.radius, self.size
        cx, cy = min(max(x, r), s - r), min(max(y, r), s - r)
        if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
            return None
        (left, right), (top, bottom) = self.arrow_x, self.arrow_y
        half = (bottom - top) / 2
        if left <= x <= right and abs(y - top - half) <= half * (right - x) / (right - left):
            return AMBER
        if self.bar[0] <= y <= self.bar[1] and self.bar_x[0] <= x <= self.bar_x[1]:
            return WHITE
        if self.bar[1] <= y <= self.stem_bottom and self.stem[0] <= x <= self.stem[1]:
            return WHITE
        return TEAL


def render(size):
    """Rows top-down, each a list of (r, g, b, a): the average of samples spread over each pixel."""
    shape = Shape(size)
    samples = 8 if size <= 64 else 4  # 4 x 4 already gives 256 pixels' edges 17 shades, in a second
    steps = [(i + 0.5) / samples for i in range(samples)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = [shape.colour_at(px + sx, py + sy) for sy in steps for sx in steps]
            hits = [c for c in hits if c is not None]
            if not hits:
                row.append((0, 0, 0, 0))
                continue
            mean = [sum(c[i] for c in hits) // len(hits) for i in range(3)]
            row.append((*mean, 255 * len(hits) // samples**2))
        rows.append(row)
    return rows


def bitmap(rows):
    """A 32-bit DIB as an icon stores it: bottom-up BGRA, then an all-zero AND mask."""
    size = len(rows)
    pixels = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(rows))
    mask = bytes(((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def png(rows):
    """8-bit RGBA, the only PNG kind icons take; each row with the filter that leaves the smallest
    sum of bytes (taken as signed), the usual guess at what deflate packs best."""
    size = len(rows)
    raw = [bytes(v for pixel in row for v in pixel) for row in rows]
    previous = bytes(4 * size)
    data = bytearray()
    for line in raw:
        candidates = [bytes([kind]) + bytes(filtered(kind, line, previous)) for kind in range(5)]
        data += min(candidates, key=lambda c: sum(min(v, 256 - v) for v in c[1:]))
        previous = line

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(data), 9)) + chunk(b"IEND", b"")


def filtered(kind, line, previous):
    for i, v in enumerate(line):
        a = line[i - 4] if i >= 4 else 0
        b = previous[i]
        c = previous[i - 4] if i >= 4 else 0
        if kind == 0:
            guess = 0
        elif kind == 1:
            guess = a
        elif kind == 2:
            guess = b
        elif kind == 3:
            guess = (a + b) // 2
        else:
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            guess = a if pa <= pb and pa <= pc else b if pb <= pc else c
        yield (v - guess) & 0xFF


def main(path, png_dir=None):
    images = []
    for size in SIZES:
        rows = render(size)
        images.append(bitmap(rows) if size in BITMAP_SIZES else png(rows))
        if png_dir:
            with open(f"{png_dir}/icon-{size}.png", "wb") as f:
                f.write(png(rows))
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    args = sys.argv[1:]
    main(args[0], args[2] if args[1:2] == ["--png"] else None)
