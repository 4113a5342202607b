#!/usr/bin/env python3
# Draws the library's two cursors as 32 x 32 monochrome cursor files: QvHand.cur, a hand with
# a pointing finger (hot spot on the finger tip), and QvDrag.cur, an arrow carrying a sheet
# (hot spot on the arrow's tip). Run it again after changing a drawing:
#   python3 util/res/make_lib_cursors.py util/res
import os
import struct
import sys

SIZE = 32

# 'B' black outline, 'W' white fill, '.' see-through; rows shorter than SIZE are padded.
HAND = [
    "......BB",
    ".....BWWB",
    ".....BWWB",
    ".....BWWB",
    ".....BWWB",
    ".....BWWBBB",
    ".....BWWBWWBBB",
    ".....BWWBWWBWWBB",
    "..BB.BWWBWWBWWBWB",
    ".BWWBBWWWWWWWWBWB",
    ".BWWWBWWWWWWWWWWB",
    "..BWWBWWWWWWWWWWB",
    "...BWWWWWWWWWWWWB",
    "...BWWWWWWWWWWWB",
    "....BWWWWWWWWWWB",
    "....BWWWWWWWWWB",
    ".....BWWWWWWWWB",
    ".....BWWWWWWWWB",
    ".....BBBBBBBBBB",
]
HAND_HOTSPOT = (6, 0)

DRAG = [
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWBBBB",
    "BWWBWWB",
    "BWB.BWWB",
    "BB..BWWB",
    "B....BWWB",
    ".....BWWB",
    "......BB",
    "........BBBBBBBBB",
    "........BWWWWWWWB",
    "........BWBBBBBWB",
    "........BWWWWWWWB",
    "........BWBBBBBWB",
    "........BWWWWWWWB",
    "........BWBBBWWWB",
    "........BWWWWWWWB",
    "........BBBBBBBBB",
]
DRAG_HOTSPOT = (0, 0)


def full_rows(picture):
    rows = [row.ljust(SIZE, ".") for row in picture]
    return rows + ["." * SIZE] * (SIZE - len(rows))


def pack_rows(rows, bit_for):
    # Bottom-up rows of 1 bit per pixel, each exactly 4 bytes.
    data = b""
    for row in reversed(rows):
        bits = 0
        for ch in row:
            bits = (bits << 1) | bit_for(ch)
        data += bits.to_bytes(SIZE // 8, "big")
    return data


def cursor_file(picture, hotspot):
    rows = full_rows(picture)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    xor_bits = pack_rows(rows, lambda c: 1 if c == "W" else 0)
    and_bits = pack_rows(rows, lambda c: 1 if c == "." else 0)
    image = header + palette + xor_bits + and_bits
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, picture, hotspot in (("QvHand.cur", HAND, HAND_HOTSPOT),
                                   ("QvDrag.cur", DRAG, DRAG_HOTSPOT)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(cursor_file(picture, hotspot))


if __name__ == "__main__":
    main()
