#!/usr/bin/env python3
"""Draws Parlavent's application icon (an open book with a speech mark) as a .ico file.

The icon is generated rather than committed so that the repository holds no binary files.
Usage: make_icon.py OUT.ico
"""
import struct
import sys

BLUE = (0xB0, 0x5A, 0x1E)   # BGR
PAGE = (0xF4, 0xF4, 0xF4)
LINE = (0x80, 0x80, 0x80)
MARK = (0x20, 0x90, 0xE8)


def pixel(x, y, n):
    """Colour (BGR) and opacity of pixel (x, y) of an n-by-n icon, y counted from the top."""
    u, v = x / n, y / n
    if 0.08 <= v <= 0.88 and 0.06 <= u <= 0.94:
        if abs(u - 0.5) < 0.03:
            return BLUE, True                     # the spine
        if v <= 0.82 and 0.12 <= u <= 0.88:
            row = (v - 0.2) / 0.12
            if v >= 0.2 and abs(row - round(row)) < 0.12 and (u < 0.44 or u > 0.56):
                return LINE, True                 # lines of text on the pages
            return PAGE, True
        return BLUE, True                         # the cover
    if (u - 0.8) ** 2 + (v - 0.12) ** 2 < 0.018:
        return MARK, True                         # the speech mark in the corner
    return (0, 0, 0), False


def image(n, pixel=pixel):
    """One n-by-n 32-bit image of an .ico file, drawn by pixel(x, y, n)."""
    rows = []
    mask_rows = []
    for y in reversed(range(n)):                  # bitmaps are stored bottom-up
        row = b""
        bits = 0
        mask = b""
        for x in range(n):
            (b, g, r), opaque = pixel(x, y, n)
            row += bytes((b, g, r, 255 if opaque else 0))
            bits = (bits << 1) | (0 if opaque else 1)
            if x % 8 == 7:
                mask += bytes((bits,))
                bits = 0
        mask += b"\0" * ((4 - len(mask) % 4) % 4)
        rows.append(row)
        mask_rows.append(mask)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def write_icon(path, pixel=pixel, sizes=(16, 32, 48)):
    """Writes an .ico file with one image per size, drawn by pixel(x, y, n)."""
    images = [image(n, pixel) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


def main():
    write_icon(sys.argv[1])


if __name__ == "__main__":
    main()
