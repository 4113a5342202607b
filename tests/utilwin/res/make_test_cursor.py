#!/usr/bin/env python3
# Draws the animated cursor the utility tests load from their resources: a bar that turns
# from horizontal to vertical in two 32 x 32 monochrome frames, a quarter second each.
# Writes TestSpin.ani (RIFF "ACON"). Run it again after changing the drawing:
#   python3 tests/utilwin/res/make_test_cursor.py tests/utilwin/res/TestSpin.ani
import struct
import sys

SIZE = 32
HOTSPOT = (15, 15)
JIFFIES_PER_FRAME = 15  # in 60ths of a second


def frame_pixels(vertical):
    # 'W' white, 'B' black (the bar's rim), '.' see-through
    rows = []
    for y in range(SIZE):
        row = ''
        for x in range(SIZE):
            along, across = (y, x) if vertical else (x, y)
            if 4 <= along <= 27 and 13 <= across <= 18:
                rim = along in (4, 27) or across in (13, 18)
                row += 'B' if rim else 'W'
            else:
                row += '.'
        rows.append(row)
    return rows


def pack_rows(rows, bit_for):
    # Bottom-up rows of 1 bit per pixel, each padded to 4 bytes.
    data = b''
    for row in reversed(rows):
        bits = 0
        for ch in row:
            bits = (bits << 1) | bit_for(ch)
        data += bits.to_bytes(SIZE // 8, 'big')
    return data


def cursor_file(rows):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    xor_bits = pack_rows(rows, lambda c: 1 if c == 'W' else 0)
    and_bits = pack_rows(rows, lambda c: 1 if c == '.' else 0)
    image = header + palette + xor_bits + and_bits
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, HOTSPOT[0], HOTSPOT[1], len(image), 22)
    return directory + entry + image


def chunk(tag, data):
    pad = b'\0' if len(data) % 2 else b''
    return tag + struct.pack('<I', len(data)) + data + pad


def animated_cursor(frames):
    anih = struct.pack('<9I', 36, len(frames), len(frames), 0, 0, 0, 0, JIFFIES_PER_FRAME, 1)
    icons = b''.join(chunk(b'icon', cursor_file(f)) for f in frames)
    body = b'ACON' + chunk(b'anih', anih) + chunk(b'LIST', b'fram' + icons)
    return b'RIFF' + struct.pack('<I', len(body)) + body


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'TestSpin.ani'
    with open(out, 'wb') as f:
        f.write(animated_cursor([frame_pixels(False), frame_pixels(True)]))
