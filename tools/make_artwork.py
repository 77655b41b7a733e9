#!/usr/bin/env python3
"""Draws the application's icons and bitmaps into resources/art/.

Standard library only, so the pictures come out byte for byte the same on every machine:
    python3 tools/make_artwork.py [output-folder]
The outputs are committed; rerun this after changing a drawing.
"""
import os
import struct
import sys

# ---------------------------------------------------------------------------------------------
# A small pixel font: '#' is ink. Capitals and ascenders are 9 rows tall, lower case without
# ascender 6 rows; every glyph stands on the baseline (its last row).
GLYPHS = {
    'n': ["#.###.",
          "##...#",
          "#....#",
          "#....#",
          "#....#",
          "#....#"],
    'm': ["###.##.",
          "#..#..#",
          "#..#..#",
          "#..#..#",
          "#..#..#",
          "#..#..#"],
    'l': ["##",
          ".#",
          ".#",
          ".#",
          ".#",
          ".#",
          ".#",
          ".#",
          ".#"],
    'b': ["#.....",
          "#.....",
          "#.....",
          "#.###.",
          "##...#",
          "#....#",
          "#....#",
          "##...#",
          "#.###."],
    'V': ["#.....#",
          "#.....#",
          "#.....#",
          ".#...#.",
          ".#...#.",
          ".#...#.",
          "..#.#..",
          "..#.#..",
          "...#..."],
    'E': ["######",
          "#.....",
          "#.....",
          "#.....",
          "#####.",
          "#.....",
          "#.....",
          "#.....",
          "######"],
    'H': ["#....#",
          "#....#",
          "#....#",
          "#....#",
          "######",
          "#....#",
          "#....#",
          "#....#",
          "#....#"],
    '.': ["#"],
    ' ': ["..."],
}
# Glyphs with a descender: the first 6 rows stand on the baseline, the rest hang below it.
LOW_GLYPHS = {
    'p': ["#.###.",
          "##...#",
          "#....#",
          "#....#",
          "##...#",
          "#.###.",
          "#.....",
          "#.....",
          "#....."],
}
X_HEIGHT = 6
# Glyphs that do not stand on the baseline: rows above the cap line are counted from the top.
TOP_GLYPHS = {
    "'": [".#",
          ".#",
          "#."],
}
# Superscripts, 5 rows, their top one row above the cap line.
SMALL = {
    '-': ["...",
          "...",
          "###",
          "...",
          "..."],
    '1': [".#.",
          "##.",
          ".#.",
          ".#.",
          "###"],
    '2': ["##.",
          "..#",
          ".#.",
          "#..",
          "###"],
}
CAP = 9  # rows from the cap line to the baseline


def text_width(text, sup=""):
    w = 0
    for ch in text:
        g = GLYPHS.get(ch) or LOW_GLYPHS.get(ch) or TOP_GLYPHS[ch]
        w += len(g[0]) + 1
    if sup:
        w += 1 + sum(len(SMALL[c][0]) + 1 for c in sup)
    return w - 1


def draw_text(canvas, x, baseline, text, colour, sup=""):
    """Draws `text` with its baseline on row `baseline`, optional superscript after it."""
    for ch in text:
        if ch in GLYPHS:
            g = GLYPHS[ch]
            top = baseline - len(g) + 1
        elif ch in LOW_GLYPHS:
            g = LOW_GLYPHS[ch]
            top = baseline - X_HEIGHT + 1
        else:
            g = TOP_GLYPHS[ch]
            top = baseline - CAP + 1
        for r, row in enumerate(g):
            for c, px in enumerate(row):
                if px == '#':
                    canvas.set(x + c, top + r, colour)
        x += len(g[0]) + 1
    if sup:
        x += 1
        top = baseline - CAP
        for ch in sup:
            g = SMALL[ch]
            for r, row in enumerate(g):
                for c, px in enumerate(row):
                    if px == '#':
                        canvas.set(x + c, top + r, colour)
            x += len(g[0]) + 1


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.px[y][x])


def fraction(w, h, top, bottom, colour, bg, bottom_sup="", top_baseline=None):
    """A quantity over its unit: `top`, a bar, `bottom`, centred in a w x h picture."""
    c = Canvas(w, h, bg)
    tw = text_width(top)
    bw = text_width(bottom, bottom_sup)
    if top_baseline is None:
        top_baseline = h // 2 - 4
    bar = top_baseline + 3
    bottom_baseline = bar + 3 + CAP
    draw_text(c, (w - tw) // 2, top_baseline, top, colour)
    bar_w = max(tw, bw) + 4
    c.rect((w - bar_w) // 2, bar, (w - bar_w) // 2 + bar_w - 1, bar, colour)
    draw_text(c, (w - bw) // 2, bottom_baseline, bottom, colour, bottom_sup)
    return c


# ---------------------------------------------------------------------------------------------
# File writers.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def bmp4(canvas):
    """A 16-colour bottom-up BMP; pixels are indices into VGA16."""
    row_bytes = ((canvas.w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(canvas.w):
            i = canvas.px[y][x]
            if x % 2 == 0:
                row[x // 2] |= i << 4
            else:
                row[x // 2] |= i
        data += row
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA16)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + palette + bytes(data)


def ico(images):
    """An icon file of 32-bit images; each image is a Canvas of (r, g, b, a) tuples."""
    blobs = []
    for c in images:
        xor = bytearray()
        for y in range(c.h - 1, -1, -1):
            for x in range(c.w):
                r, g, b, a = c.px[y][x]
                xor += bytes((b, g, r, a))
        mask_row = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.h - 1, -1, -1):
            row = bytearray(mask_row)
            for x in range(c.w):
                if c.px[y][x][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + bytes(xor) + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------------------------
# Bitmap 105: five 70 x 32 column-header pictures, black on white.
def headers():
    black, white = 0, 15
    pics = [Canvas(70, 32, white)]
    draw_text(pics[0], (70 - text_width("n")) // 2, 20, "n", black)
    pics.append(fraction(70, 32, "Vb", "ml", black, white))
    pics.append(fraction(70, 32, "E", "mV", black, white))
    pics.append(fraction(70, 32, "E'", "mV.ml", black, white, "-1"))
    pics.append(fraction(70, 32, "E''", "mV.ml", black, white, "-2"))
    strip = Canvas(70 * 5, 32, white)
    for i, p in enumerate(pics):
        strip.blit(p, 70 * i, 0)
    return strip


# Bitmap 40603: the pictures of the columns E, E' and E'' for a document in pH.
def headers_ph():
    black, white = 0, 15
    pics = [fraction(70, 32, "E", "pH", black, white),
            fraction(70, 32, "E'", "pH.ml", black, white, "-1"),
            fraction(70, 32, "E''", "pH.ml", black, white, "-2")]
    strip = Canvas(70 * len(pics), 32, white)
    for i, p in enumerate(pics):
        strip.blit(p, 70 * i, 0)
    return strip


# Bitmap 106: four 16 x 15 toolbar pictures on the button face colour (silver).
TOOLBAR = [
    # green plus
    ["................",
     "......oooo......",
     "......oGGo......",
     "......oGGo......",
     "......oGGo......",
     "..oooooGGooooo..",
     "..oGGGGGGGGGGo..",
     "..oGGGGGGGGGGo..",
     "..oooooGGooooo..",
     "......oGGo......",
     "......oGGo......",
     "......oGGo......",
     "......oooo......",
     "................",
     "................"],
    # green plus-minus
    ["................",
     "......oooo......",
     "......oGGo......",
     "...ooooGGoooo...",
     "...oGGGGGGGGo...",
     "...oGGGGGGGGo...",
     "...ooooGGoooo...",
     "......oGGo......",
     "......oooo......",
     "................",
     "...oooooooooo...",
     "...oGGGGGGGGo...",
     "...oGGGGGGGGo...",
     "...oooooooooo...",
     "................"],
    # green minus
    ["................",
     "................",
     "................",
     "................",
     "................",
     "..oooooooooooo..",
     "..oGGGGGGGGGGo..",
     "..oGGGGGGGGGGo..",
     "..oooooooooooo..",
     "................",
     "................",
     "................",
     "................",
     "................",
     "................"],
    # red question mark
    ["................",
     ".....rrrrrr.....",
     "....rRRRRRRr....",
     "...rRRrrrrRRr...",
     "...rRr....rRRr..",
     "....r.....rRRr..",
     ".........rRRr...",
     "........rRRr....",
     ".......rRRr.....",
     ".......rRRr.....",
     "........rr......",
     ".......rrrr.....",
     ".......rRRr.....",
     ".......rRRr.....",
     "........rr......"],
]
TOOL_COLOURS = {'.': 7, 'o': 2, 'G': 10, 'r': 1, 'R': 9}


def toolbar():
    strip = Canvas(16 * 4, 15, 7)
    for i, pic in enumerate(TOOLBAR):
        assert len(pic) == 15 and all(len(r) == 16 for r in pic)
        for y, row in enumerate(pic):
            for x, ch in enumerate(row):
                strip.set(16 * i + x, y, TOOL_COLOURS[ch])
    return strip


# ---------------------------------------------------------------------------------------------
# Icons 103 and 110: three coloured flasks, drawn from shapes with 4 x 4 supersampling.
def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def flask(cx, top, bottom, neck, base, liquid, colour, s):
    """An Erlenmeyer flask in unit coordinates: outline, glass, liquid up to `liquid`."""
    neck_bottom = top + (bottom - top) * 0.35

    def shape(inset):
        return [(cx - neck + inset, top + inset * 0.3), (cx + neck - inset, top + inset * 0.3),
                (cx + neck - inset, neck_bottom), (cx + base - inset * 1.5, bottom - inset),
                (cx - base + inset * 1.5, bottom - inset), (cx - neck + inset, neck_bottom)]

    outer, inner = shape(0.0), shape(s)
    rim = [(cx - neck - s, top - s), (cx + neck + s, top - s), (cx + neck + s, top + s), (cx - neck - s, top + s)]
    dark = (40, 40, 48, 255)
    glass = (225, 240, 248, 200)

    def paint(x, y):
        if inside(rim, x, y):
            return dark
        if not inside(outer, x, y):
            return None
        if not inside(inner, x, y):
            return dark
        if y >= liquid:
            # a lighter streak on the left side of the liquid
            if x < cx - base * 0.45 + (y - liquid) * 0.05 and x > cx - base * 0.62:
                return tuple(min(255, c + 70) for c in colour[:3]) + (255,)
            return colour
        return glass
    return paint


def flasks_icon(size):
    layers = [
        flask(0.22, 0.20, 0.80, 0.07, 0.20, 0.52, (220, 30, 30, 255), 0.045),
        flask(0.78, 0.20, 0.80, 0.07, 0.20, 0.46, (30, 70, 220, 255), 0.045),
        flask(0.50, 0.06, 0.96, 0.09, 0.30, 0.55, (20, 170, 40, 255), 0.045),
    ]
    ss = 4
    c = Canvas(size, size, (0, 0, 0, 0))
    for py in range(size):
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / size
                    y = (py + (sy + 0.5) / ss) / size
                    col = None
                    for paint in layers:
                        got = paint(x, y)
                        if got is not None:
                            col = got
                    if col is not None:
                        a = col[3]
                        acc[0] += col[0] * a
                        acc[1] += col[1] * a
                        acc[2] += col[2] * a
                        acc[3] += a
            n = ss * ss
            if acc[3]:
                r, g, b = (round(acc[i] / acc[3]) for i in range(3))
                c.px[py][px] = (r, g, b, round(acc[3] / n))
    return c


# Icons 108 and 109: the field labels Vb over ml and E over mV, black on transparent.
def label_icon(top, bottom):
    c = fraction(32, 32, top, bottom, 1, 0, top_baseline=11)
    out = Canvas(32, 32, (0, 0, 0, 0))
    for y in range(32):
        for x in range(32):
            if c.px[y][x]:
                out.px[y][x] = (0, 0, 0, 255)
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "art")
    os.makedirs(out, exist_ok=True)
    files = {
        "headers.bmp": bmp4(headers()),
        "headers_ph.bmp": bmp4(headers_ph()),
        "toolbar.bmp": bmp4(toolbar()),
        "titrion.ico": ico([flasks_icon(32), flasks_icon(16), flasks_icon(48)]),
        "vb.ico": ico([label_icon("Vb", "ml")]),
        "e.ico": ico([label_icon("E", "mV")]),
        "e_ph.ico": ico([label_icon("E", "pH")]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
