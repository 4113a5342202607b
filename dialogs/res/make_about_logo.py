#!/usr/bin/env python3
# Draws the product logo of the About box and writes it as ABOUT_LOGO.bmp: a blue disc with a
# yellow square wave (the data on the line) over a nine-pin serial connector, 64 x 64, 4 bits
# per pixel, the 16 standard colours; the bottom-left pixel is the see-through colour. Run it
# again after changing the drawing:
#   python3 dialogs/res/make_about_logo.py dialogs/res/ABOUT_LOGO.bmp
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from bmp16 import bmp16  # noqa: E402

# The 16-colour palette as (R, G, B); the drawing uses the indices by name.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, YELLOW, BLUE, FUCHSIA, WHITE = 0, 4, 7, 8, 11, 12, 13, 15
SEE_THROUGH = FUCHSIA

SIZE = 64
CENTRE = 31.5
DISC_RADIUS, RIM_RADIUS = 28.0, 30.5


def disc(pixels):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - CENTRE, y - CENTRE)
            if d <= DISC_RADIUS:
                pixels[y][x] = BLUE
            elif d <= RIM_RADIUS:
                pixels[y][x] = NAVY


def square_wave(pixels):
    # Two bits high, two low, as a line would carry them; the wave stays inside the disc.
    high, low, thick = 14, 24, 2
    edges = [11, 18, 25, 32, 39, 46, 51]
    level = low
    x = edges[0]
    for edge in edges[1:]:
        for xx in range(x, edge + 1):
            for t in range(thick):
                pixels[level + t][xx] = YELLOW
        new_level = high if level == low else low
        if edge != edges[-1]:
            for yy in range(min(level, new_level), max(level, new_level) + thick):
                for t in range(thick):
                    pixels[yy][edge + t] = YELLOW
        level = new_level
        x = edge


def connector(pixels):
    # The connector's shell: a trapezoid wider at the top, silver with a black outline, and
    # its five and four pins.
    top, bottom = 33, 50
    for y in range(top, bottom + 1):
        inset = (y - top) * 5 // (bottom - top)
        left, right = 13 + inset, 50 - inset
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            pixels[y][x] = BLACK if edge else SILVER
    for row, (count, y) in enumerate(((5, 38), (4, 45))):
        first = 19 + row * 3
        for i in range(count):
            cx = first + i * 6
            for dy in range(2):
                for dx in range(2):
                    pixels[y + dy][cx + dx] = GREY if (dx, dy) == (0, 0) else BLACK


def image():
    pixels = [[SEE_THROUGH] * SIZE for _ in range(SIZE)]
    disc(pixels)
    square_wave(pixels)
    connector(pixels)
    return pixels


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_about_logo.py OUTPUT.bmp")
    with open(sys.argv[1], "wb") as f:
        f.write(bmp16(image(), PALETTE))
