#!/usr/bin/env python3
# Draws the main window's tool-bar glyphs and writes each as <Name>.bmp, 16 x 16, 4 bits per
# pixel, the 16 standard colours; the bottom-left pixel is the see-through colour (teal).
# Run it again after changing a drawing:
#   python3 terminal/res/make_tool_glyphs.py terminal/res
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from bmp16 import bmp16  # noqa: E402

# The 16-colour palette as (R, G, B); the drawings name the indices by letter.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# '.' is the see-through teal; the other letters pick a colour.
COLOURS = {".": 6, "k": 0, "m": 1, "g": 2, "n": 4, "s": 7, "d": 8, "r": 9, "l": 10, "y": 11,
           "b": 12, "w": 15}

GLYPHS = {
    # Two plug halves pushed together, a lit green dot: connect.
    "ToolConnect": [
        "................",
        "................",
        "................",
        "................",
        "................",
        "........kkk.....",
        "..kkkkkkdsskk...",
        "kkdssssssssskkkk",
        "kkdddddddddddkkk",
        "..kkkkkkdddkk...",
        "........kkk.....",
        "................",
        "..........ll....",
        ".........llll...",
        "..........ll....",
        "................",
    ],
    # The same halves pulled apart, a red cross between them: disconnect.
    "ToolDisconnect": [
        "................",
        "................",
        "................",
        "................",
        "......r...r.....",
        ".......r.r......",
        "..kkk...r...kk..",
        "kkdss..r.r..skkk",
        "kkddd.r...r.dkkk",
        "..kkk.......kk..",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
    # A blank page with an eraser across its corner: clear the screen.
    "ToolClear": [
        "................",
        "..kkkkkkkkk.....",
        "..kwwwwwwwkk....",
        "..kwwwwwwwkwk...",
        "..kwwwwwwwkkkk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwrrr...",
        "..kwwwwwwrrrrr..",
        "..kwwwwwrrrrrss.",
        "..kwwwwkrrrrsss.",
        "..kwwwwwkrrsss..",
        "..kkkkkkkkksk...",
        "................",
        "................",
    ],
    # A magnifying glass: find.
    "ToolFind": [
        "................",
        "....kkkk........",
        "..kkwwwwkk......",
        "..kwwbbwwk......",
        ".kwwbwwwwwk.....",
        ".kwbwwwwwwk.....",
        ".kwwwwwwwwk.....",
        ".kwwwwwwwwk.....",
        "..kwwwwwwk......",
        "..kkwwwwkkk.....",
        "....kkkk.kkk....",
        "..........kkk...",
        "...........kkk..",
        "............kkk.",
        ".............kk.",
        "................",
    ],
    # Three sliders on their tracks: the settings.
    "ToolSettings": [
        "................",
        "................",
        "..kk............",
        "..bb............",
        "ddbbdddddddddd..",
        "..kk............",
        "................",
        "........kk......",
        "........bb......",
        "ddddddddbbdddd..",
        "........kk......",
        "................",
        ".....kk.........",
        ".....bb.........",
        "dddddbbddddddd..",
        ".....kk.........",
    ],
    # A note pad with a spiral and ruled lines: the user notes.
    "ToolNotes": [
        "................",
        "...k.k.k.k.k....",
        "..kkkkkkkkkkk...",
        "..kyyyyyyyyyk...",
        "..kyyyyyyyyyk...",
        "..kydddddddyk...",
        "..kyyyyyyyyyk...",
        "..kydddddddyk...",
        "..kyyyyyyyyyk...",
        "..kydddddddyk...",
        "..kyyyyyyyyyk...",
        "..kyddddyyyyk...",
        "..kyyyyyyyyyk...",
        "..kkkkkkkkkkk...",
        "................",
        "................",
    ],
    # An arrow down onto a bar: scroll to the end.
    "ToolScrollDown": [
        "................",
        "......kkk.......",
        "......kbk.......",
        "......kbk.......",
        "......kbk.......",
        "......kbk.......",
        "......kbk.......",
        "..kkkkkbkkkkk...",
        "...kbbbbbbbk....",
        "....kbbbbbk.....",
        ".....kbbbk......",
        "......kbk.......",
        ".......k........",
        "................",
        "..kkkkkkkkkkk...",
        "................",
    ],
}


def pixels(rows):
    assert len(rows) == 16 and all(len(row) == 16 for row in rows)
    # The bottom-left pixel tells the button which colour to leave out.
    assert rows[15][0] == "."
    return [[COLOURS[ch] for ch in row] for row in rows]


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_tool_glyphs.py OUTPUT_FOLDER")
    for name, rows in GLYPHS.items():
        with open(os.path.join(sys.argv[1], name + ".bmp"), "wb") as f:
            f.write(bmp16(pixels(rows), PALETTE))
