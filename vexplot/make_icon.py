#!/usr/bin/env python3
"""Writes vexplot.ico, the 32x32 16-colour icon of the graph window library.

The picture is drawn here from code, so the icon is reproducible:
    python3 make_icon.py [output.ico] [--png preview.png]
Only the standard library is used.
"""
import math
import struct
import sys
import zlib

SIZE = 32

# The standard 16-colour palette (index -> (r, g, b)).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, RED, LIME, YELLOW, WHITE = 0, 4, 7, 8, 9, 10, 11, 15
TRANSPARENT = None


def draw():
    """Returns SIZE rows of SIZE palette indices (None = transparent), top row first."""
    px = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c

    def line(x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            px[y0][x0] = c
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    # A small window: grey frame, navy caption with a white box, black plot area.
    fill(1, 2, 30, 29, GREY)
    fill(2, 3, 29, 6, NAVY)
    fill(25, 4, 27, 5, WHITE)
    fill(2, 7, 29, 28, BLACK)
    # Axes of the plot.
    zero_y = 18
    line(3, zero_y, 28, zero_y, RED)
    line(7, 8, 7, 27, RED)
    # A second-difference curve: a swing up, a steep fall through zero, a swing back.
    points = []
    for x in range(3, 29):
        t = (x - 16.5) / 4.0
        y = zero_y - round(-9.5 * t * math.exp(-t * t / 2))
        points.append((x, max(8, min(27, y))))
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        line(x0, y0, x1, y1, LIME)
    # The equivalence point, where the curve crosses the axis.
    fill(16, zero_y - 1, 17, zero_y, YELLOW)
    return px


def ico_bytes(px):
    header = struct.pack('<HHH', 0, 1, 1)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(px):  # bottom-up
        nibbles = [0 if c is None else c for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is None else 0)
        and_rows.append(bits.to_bytes(SIZE // 8, 'big'))
    xor_data, and_data = b''.join(xor_rows), b''.join(and_rows)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0,
                       len(xor_data) + len(and_data), 0, 0, 16, 0)
    image = info + palette + xor_data + and_data
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def png_bytes(px, scale):
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    rows = []
    for row in px:
        line = bytearray()
        for c in row:
            rgb = (255, 255, 255) if c is None else PALETTE[c]
            line += bytes(rgb) * scale
        rows.append(b'\0' + bytes(line))
    raw = b''.join(r for r in rows for _ in range(scale))
    side = SIZE * scale
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main(argv):
    out, png = 'vexplot.ico', None
    args = list(argv)
    if '--png' in args:
        i = args.index('--png')
        png = args[i + 1]
        del args[i:i + 2]
    if args:
        out = args[0]
    px = draw()
    with open(out, 'wb') as f:
        f.write(ico_bytes(px))
    if png:
        with open(png, 'wb') as f:
            f.write(png_bytes(px, 8))


if __name__ == '__main__':
    main(sys.argv[1:])
