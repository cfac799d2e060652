#!/usr/bin/env python3
"""Writes palette.bmp: 11 x 6 colour cells of 24 x 24 pixels, as a 24-bit BMP.

Each row is one ramp, dark to light, its hue moving toward warm as it lightens: greys, skin and
earth, reds to yellows, greens, blues, purples to pinks. Colours whose channels are all
multiples of 51 lie in the 6 x 6 x 6 cube that heads the 8-bit save table; the others fill the
table's last 40 entries, so a drawing made with this palette keeps every colour when saved at
8 bits. A few values come from the open palette Endesga 32 (181425, b86f50, c28569, fee761).

Usage: make_palette.py [output path]  (default: palette.bmp beside this script)
       make_palette.py --table        (prints the C++ list of the table's last 40 entries)
"""
import os
import struct
import sys

CELL = 24

RAMPS = [
    ("greys",
     "000000 181425 333333 4d4c53 666666 817e7c 999999 b6b2ac cccccc eae6dc ffffff"),
    ("skin and earth",
     "34181d 4d2529 663333 81463e 9d5a47 b86f50 c28569 cc9966 e5b27f ffcc99 fff0d8"),
    ("reds to yellows",
     "380a28 660033 990033 b31d34 cc3333 e64d34 ff6633 ff9933 ffcc33 fee761 ffff99"),
    ("greens",
     "001d24 003333 044d3b 336633 4a7f36 669933 7eb235 99cc33 b2e54e ccff66 f1ffba"),
    ("blues",
     "211d46 333366 364c81 336699 357fb3 3399cc 4db2e5 66ccff 77e7ff 99ffff ccffff"),
    ("purples to pinks",
     "1e1237 3d2465 663399 8a429c ac539c cc6699 e57fb2 ff99cc ffb2c5 ffcccc ffdce0"),
]

# Table entries the palette leaves free: neutral greys halfway between the cube's grey levels,
# so that a grey picture saved at 8 bits keeps eleven levels.
FILLER_GREYS = [26, 77, 128, 179, 230]
TABLE_EXTRA = 40


def rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def in_cube(colour):
    return all(channel % 51 == 0 for channel in colour)


def luminance(colour):
    def linear(channel):
        c = channel / 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4

    r, g, b = (linear(channel) for channel in colour)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def rows():
    return [[rgb(cell) for cell in cells.split()] for _, cells in RAMPS]


def table_extra(cells):
    """The table's entries after the cube: the palette's own colours, then filler greys."""
    extra = [c for row in cells for c in row if not in_cube(c)]
    extra += [(level, level, level) for level in FILLER_GREYS]
    return extra


def check(cells):
    width = len(cells[0])
    flat = [c for row in cells for c in row]
    if any(len(row) != width for row in cells):
        sys.exit("every ramp needs the same number of cells")
    if len(set(flat)) != len(flat):
        sys.exit("a colour stands in two cells")
    for (name, _), row in zip(RAMPS, cells):
        lum = [luminance(c) for c in row]
        if any(a >= b for a, b in zip(lum, lum[1:])):
            sys.exit("the %s ramp does not run from dark to light" % name)
    extra = table_extra(cells)
    if len(extra) != TABLE_EXTRA or len(set(extra)) != TABLE_EXTRA or any(map(in_cube, extra)):
        sys.exit("the palette's colours outside the cube and the filler greys must be %d "
                 "distinct table entries" % TABLE_EXTRA)


def bmp_bytes(cells):
    width = len(cells[0]) * CELL
    height = len(cells) * CELL
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):  # BMP rows run bottom-up
        line = bytearray()
        for x in range(width):
            r, g, b = cells[y // CELL][x // CELL]
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                              2835, 2835, 0, 0)
    return file_header + info_header + bytes(pixels)


def table_source(cells):
    """The C++ list of the table's entries after the cube, one line of each ramp."""
    def line(colours):
        return "    " + " ".join("Rgb(0x%02x%02x%02x)," % c for c in colours) + "\n"

    text = ""
    for (name, _), row in zip(RAMPS, cells):
        text += "    // %s\n" % name + line(c for c in row if not in_cube(c))
    return text + "    // filler greys\n" + line((v, v, v) for v in FILLER_GREYS)


def main():
    cells = rows()
    check(cells)
    if sys.argv[1:] == ["--table"]:
        sys.stdout.write(table_source(cells))
        return
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "palette.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes(cells))


if __name__ == "__main__":
    main()
