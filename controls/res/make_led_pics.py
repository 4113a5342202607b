#!/usr/bin/env python3
# Draws the lamp cells the indicator lamps show and writes them as LED_PICS.bmp (24 x 52,
# 4 bits per pixel, the 16 standard colours). Run it again after changing the drawing:
#   python3 controls/res/make_led_pics.py controls/res/LED_PICS.bmp
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from bmp16 import bmp16  # noqa: E402

# The 16-colour palette as (R, G, B); the lamp drawing uses the indices by name.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, TEAL, GREY, RED, LIME, YELLOW, WHITE = 0, 1, 2, 3, 6, 8, 9, 10, 11, 15

CELL_W, CELL_H = 12, 13
# One row per lamp colour, (dark, lit) bodies; row 3 is the disabled lamp: its body is the
# background colour, so only the rim shows.
ROWS = [(MAROON, RED), (GREEN, LIME), (OLIVE, YELLOW), (TEAL, TEAL)]
CENTRE_X, CENTRE_Y = 5.5, 6.0
BODY_RADIUS, RIM_RADIUS = 4.0, 5.5
HIGHLIGHTS = [(4, 3), (3, 4), (4, 4)]


def cell_pixel(x, y, body, disabled):
    d = math.hypot(x - CENTRE_X, y - CENTRE_Y)
    if d > RIM_RADIUS:
        return TEAL
    if d > BODY_RADIUS:
        # Light from the top left: the upper half of the rim grey, the lower half black.
        return GREY if (x - CENTRE_X) + (y - CENTRE_Y) < 0 else BLACK
    if not disabled and (x, y) in HIGHLIGHTS:
        return WHITE
    return body


def image():
    width, height = 2 * CELL_W, len(ROWS) * CELL_H
    pixels = [[TEAL] * width for _ in range(height)]
    for row, bodies in enumerate(ROWS):
        for column, body in enumerate(bodies):
            for y in range(CELL_H):
                for x in range(CELL_W):
                    pixels[row * CELL_H + y][column * CELL_W + x] = cell_pixel(x, y, body, row == 3)
    return width, height, pixels


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_led_pics.py OUTPUT.bmp")
    with open(sys.argv[1], "wb") as f:
        f.write(bmp16(image()[2], PALETTE))
