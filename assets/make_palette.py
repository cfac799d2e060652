#!/usr/bin/env python3
"""Writes palette.bmp: 16 x 6 colour cells of 24 x 24 pixels, as a 24-bit BMP.

Rows: the sixteen classic colours; sixteen hues at full strength, pale and dark, and very dark;
sixteen greys from black to white.
Usage: make_palette.py [output path]  (default: palette.bmp beside this script)
"""
import colorsys
import os
import struct
import sys

CELL = 24
COLUMNS = 16

CLASSIC = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def hue_row(saturation, value):
    row = []
    for i in range(COLUMNS):
        r, g, b = colorsys.hsv_to_rgb(i / COLUMNS, saturation, value)
        row.append((round(r * 255), round(g * 255), round(b * 255)))
    return row


def rows():
    return [
        CLASSIC,
        hue_row(1.0, 1.0),
        hue_row(0.45, 1.0),
        hue_row(1.0, 0.6),
        hue_row(0.8, 0.3),
        [(i * 17, i * 17, i * 17) for i in range(COLUMNS)],
    ]


def bmp_bytes(cells):
    width = COLUMNS * CELL
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


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "palette.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes(rows()))


if __name__ == "__main__":
    main()
