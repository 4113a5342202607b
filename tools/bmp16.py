# Writes 16-colour Windows bitmaps (BMP, 4 bits per pixel, bottom-up) for the drawing scripts
# of the program's pictures: pixels is a list of rows of palette indexes, palette a list of
# (red, green, blue).
import struct


def bmp16(pixels, palette):
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    rows = b""
    for y in reversed(range(height)):  # bottom-up
        line = bytearray(stride)
        for x in range(width):
            line[x // 2] |= pixels[y][x] << (4 if x % 2 == 0 else 0)
        rows += bytes(line)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 16)
    return header + info + table + rows
