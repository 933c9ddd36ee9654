#!/usr/bin/env python3
"""Draws Tollgate's cookie icons and writes them as 32-bit .ico files.

The glyph is a round biscuit with a bite out of its upper right and a few chocolate chips,
rendered with 4x4 supersampling so the small sizes stay smooth. Run from the repository
root; the output goes to Client/res/icons.
"""
import math
import struct
import sys
from pathlib import Path

CHIPS = [(-0.35, -0.20, 0.11), (0.10, 0.30, 0.10), (-0.05, -0.42, 0.08),
         (0.38, 0.18, 0.09), (-0.38, 0.28, 0.09), (0.02, -0.02, 0.08)]


def coverage(x, y, hot):
    """Colour (r, g, b, a) of one sample point in the unit square [-1, 1]^2."""
    r = math.hypot(x, y)
    bite = math.hypot(x - 0.72, y + 0.72) < 0.42
    if r > 0.92 or bite:
        return None
    dough = (236, 170, 82) if hot else (208, 140, 62)
    rim = (150, 92, 34) if hot else (128, 78, 30)
    if r > 0.82 or math.hypot(x - 0.72, y + 0.72) < 0.50:
        return rim + (255,)
    for cx, cy, cr in CHIPS:
        if math.hypot(x - cx, y - cy) < cr * 1.6:
            return (84, 46, 20, 255)
    return dough + (255,)


def render(size, hot):
    """Rows of BGRA pixels, top row first."""
    n = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = ((px + (sx + 0.5) / n) / size) * 2 - 1
                    y = ((py + (sy + 0.5) / n) / size) * 2 - 1
                    c = coverage(x, y, hot)
                    if c:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            a = acc[3] / (n * n)
            if acc[3]:
                rgb = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[2], rgb[1], rgb[0], round(a)))
        rows.append(row)
    return rows


def bitmap(size, hot):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, then the AND mask."""
    rows = render(size, hot)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(c for px in row for c in px) for row in reversed(rows))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_ico(path, sizes, hot=False):
    images = [bitmap(s, hot) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    path.write_bytes(out + b''.join(images))


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else 'Client/res/icons')
    folder.mkdir(parents=True, exist_ok=True)
    # The small icon at each common display scale (100 % to 300 %), so the list's row icon is
    # drawn, never stretched; 32 and 48 are the large icon's.
    write_ico(folder / 'tollgate.ico', [16, 20, 24, 28, 32, 36, 40, 48])
    write_ico(folder / 'toolbar-hot.ico', [24, 16], hot=True)
    write_ico(folder / 'toolbar.ico', [24, 16])


if __name__ == '__main__':
    main()
