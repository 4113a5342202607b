#!/usr/bin/env python3
# Draws the spin edit's drop button glyphs and writes them as DropDown.bmp (an arrow pointing
# down under a short bar: the track bar drops below the button) and DropLeft.bmp (the same
# turned to point left: the track bar opens beside it), 9 x 9, 4 bits per pixel, the 16
# standard colours; the bottom-left pixel is the see-through colour. Run it again after
# changing the drawing:
#   python3 controls/res/make_drop_glyphs.py controls/res
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
BLACK, TEAL = 0, 6

SIZE = 9
# The down arrow: a bar on row 1, then a triangle of widths 7, 5, 3, 1 on rows 3 to 6.
DOWN = [
    ".........",
    ".#######.",
    ".........",
    ".#######.",
    "..#####..",
    "...###...",
    "....#....",
    ".........",
    ".........",
]


def down_pixels():
    return [[BLACK if ch == "#" else TEAL for ch in row] for row in DOWN]


def left_pixels():
    # The down arrow turned a quarter clockwise: its bar stands on the right, the tip points left.
    down = down_pixels()
    return [[down[SIZE - 1 - x][y] for x in range(SIZE)] for y in range(SIZE)]


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_drop_glyphs.py OUTPUT_FOLDER")
    for name, pixels in (("DropDown.bmp", down_pixels()), ("DropLeft.bmp", left_pixels())):
        with open(os.path.join(sys.argv[1], name), "wb") as f:
            f.write(bmp16(pixels, PALETTE))
