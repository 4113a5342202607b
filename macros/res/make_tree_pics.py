#!/usr/bin/env python3
# Draws the macro tree's image list (folders, item kinds, the deletion mark and breakpoint
# overlays, the run and edit buttons) and writes it as TREE_PICS.bmp: 38 cells of 16 x 16 in
# one row, 4 bits per pixel, the 16 standard colours; fuchsia is the transparent colour.
# The cell numbers are fixed (the tree, the tool buttons and the menus use them). Run it
# again after changing the drawing:
#   python3 macros/res/make_tree_pics.py macros/res/TREE_PICS.bmp
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from bmp16 import bmp16  # noqa: E402

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = 0, 1, 2, 3, 4, 5, 6, 7
GREY, RED, LIME, YELLOW, BLUE, CLEAR, AQUA, WHITE = 8, 9, 10, 11, 12, 13, 14, 15

CELL = 16
COUNT = 38


class Cell:
    def __init__(self):
        self.px = [[CLEAR] * CELL for _ in range(CELL)]

    def put(self, x, y, c):
        if 0 <= x < CELL and 0 <= y < CELL:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, edge if border and edge is not None else fill)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def disc(self, cx, cy, r, fill, edge=None):
        for y in range(CELL):
            for x in range(CELL):
                d = math.hypot(x - cx, y - cy)
                if d <= r:
                    self.put(x, y, edge if edge is not None and d > r - 1 else fill)

    def triangle_right(self, x0, y0, h, c):
        for i in range(h):
            half = min(i, h - 1 - i)
            self.line(x0, y0 + i, x0 + half, y0 + i, c)


def folder(cell, open_):
    cell.rect(1, 3, 6, 5, YELLOW, OLIVE)  # tab
    if open_:
        cell.rect(1, 5, 13, 13, OLIVE, OLIVE)
        for y in range(7, 14):  # the front leaf tilted open
            shift = (13 - y) // 2
            cell.line(3 + shift, y, 15 - (y - 7) // 3, y, YELLOW)
        cell.line(3, 7, 15, 7, OLIVE)
    else:
        cell.rect(1, 5, 14, 13, YELLOW, OLIVE)


def page(cell, fill=WHITE):
    cell.rect(3, 1, 12, 14, fill, BLACK)
    cell.line(10, 1, 12, 3, BLACK)
    cell.put(11, 1, CLEAR)
    cell.put(12, 1, CLEAR)
    cell.put(12, 2, CLEAR)


def plus(cell, c):  # a bold plus in the upper right corner
    cell.rect(10, 3, 15, 4, c)
    cell.rect(12, 1, 13, 6, c)


def arrow(cell, up, c):  # a broad head and a shaft, pointing up or down
    for i in range(6):
        y = 2 + i if up else 13 - i
        cell.line(7 - i, y, 8 + i, y, c)
    for y in range(8, 14) if up else range(2, 8):
        cell.line(6, y, 9, y, c)


def draw(index):
    c = Cell()
    if index == 7:  # overlay: marked for deletion, a red cross in the lower left
        for d in range(7):
            c.line(0 + d, 8 + d, 0 + d, 8 + d, RED)
            c.put(1 + d, 8 + d, RED)
            c.put(6 - d, 8 + d, RED)
            c.put(7 - d, 8 + d, RED)
    elif index in (16, 25):
        folder(c, index == 25)
    elif index == 20:  # overlay and button: a breakpoint, a red dot in the lower left
        c.disc(4.0, 11.0, 3.6, RED, MAROON)
    elif index == 19:  # remove all breakpoints: the dot crossed out
        c.disc(7.5, 7.5, 5.5, RED, MAROON)
        c.line(2, 13, 13, 2, BLACK)
    elif index == 30:  # file
        page(c)
        for y in (5, 7, 9, 11):
            c.line(5, y, 10, y, GREY)
    elif index == 31:  # control signal: a square pulse
        c.line(1, 12, 4, 12, NAVY)
        c.line(4, 4, 4, 12, NAVY)
        c.line(4, 4, 10, 4, NAVY)
        c.line(10, 4, 10, 12, NAVY)
        c.line(10, 12, 14, 12, NAVY)
    elif index == 33:  # no type: an empty page
        page(c, SILVER)
    elif index == 34:  # data string: quoted text
        c.rect(1, 4, 14, 11, WHITE, TEAL)
        for x in (3, 5, 7, 9, 11):
            c.line(x, 7, x, 8, BLACK)
    elif index == 35:  # delay: a clock
        c.disc(7.5, 7.5, 6.8, WHITE, NAVY)
        c.line(7, 7, 7, 3, BLACK)
        c.line(7, 7, 10, 9, BLACK)
    elif index in (13, 14):  # editor shown / hidden: an arrow up or down
        for i in range(5):
            y = 5 + i if index == 13 else 10 - i
            c.line(7 - i, y, 8 + i, y, BLACK)
    elif index == 21:  # show or hide the editor: a pencil
        for d in range(9):
            c.put(3 + d, 12 - d, OLIVE)
            c.put(4 + d, 12 - d, YELLOW)
            c.put(4 + d, 13 - d, OLIVE)
        c.put(2, 13, BLACK)
    elif index in (22, 23, 24, 37):  # run: one line, one and next, all, all repeated
        c.triangle_right(3, 2, 12, GREEN)
        if index == 23:
            c.line(12, 3, 12, 12, GREEN)
        if index in (24, 37):
            c.triangle_right(9, 2, 12, GREEN)
        if index == 37:
            c.line(1, 14, 14, 14, NAVY)
            c.line(1, 12, 1, 14, NAVY)
            c.line(14, 12, 14, 14, NAVY)
    elif index == 36:  # stop
        c.rect(3, 3, 12, 12, RED, MAROON)
    elif index == 0:  # add a folder: a folder and a plus
        c.rect(0, 4, 4, 6, YELLOW, OLIVE)
        c.rect(0, 6, 11, 14, YELLOW, OLIVE)
        plus(c, GREEN)
    elif index == 1:  # add an item: a page and a plus
        c.rect(1, 2, 10, 15, WHITE, BLACK)
        for y in (6, 8, 10, 12):
            c.line(3, y, 8, y, GREY)
        plus(c, GREEN)
    elif index in (2, 3):  # move up / down
        arrow(c, index == 2, BLUE)
    elif index == 4:  # erase the fields: a rubber on a line
        c.rect(2, 5, 13, 10, WHITE, BLACK)
        c.rect(8, 6, 12, 9, RED)
        c.line(1, 13, 14, 13, GREY)
    elif index == 5:  # mark for deletion: a page crossed out
        page(c)
        for d in (0, 1):
            c.line(3 + d, 4, 11 + d, 12, RED)
            c.line(11 + d, 4, 3 + d, 12, RED)
    elif index == 6:  # cancel / restore: an arrow turning back
        for r in (4.0, 5.0):
            for a in range(0, 181, 5):
                c.put(round(8 + r * math.cos(math.radians(a))),
                      round(9 - r * math.sin(math.radians(a))), NAVY)
        c.line(12, 9, 12, 13, NAVY)
        c.line(13, 9, 13, 13, NAVY)
        for i in range(4):
            c.line(1 + i, 9 + i, 6 - i, 9 + i, NAVY)
    elif index == 8:  # apply: a tick
        for d in (0, 1, 2):
            c.line(2, 7 + d, 6, 11 + d, GREEN)
            c.line(6, 11 + d, 13, 4 + d, GREEN)
    elif index == 9:  # save the list: a diskette
        c.rect(1, 1, 14, 14, NAVY, BLACK)
        c.rect(4, 1, 11, 6, WHITE, BLACK)
        c.rect(4, 10, 11, 14, SILVER, BLACK)
        c.rect(8, 11, 9, 13, NAVY)
    elif index in (26, 27):  # collapse / expand all: a box with minus or plus
        c.rect(3, 3, 12, 12, WHITE, GREY)
        c.line(5, 7, 10, 7, BLACK)
        if index == 27:
            c.line(7, 5, 7, 10, BLACK)
    return c


def image():
    width = CELL * COUNT
    pixels = [[CLEAR] * width for _ in range(CELL)]
    for index in range(COUNT):
        cell = draw(index)
        for y in range(CELL):
            for x in range(CELL):
                pixels[y][index * CELL + x] = cell.px[y][x]
    return width, CELL, pixels


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_tree_pics.py OUTPUT.bmp")
    with open(sys.argv[1], "wb") as f:
        f.write(bmp16(image()[2], PALETTE))
