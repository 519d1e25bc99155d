#!/usr/bin/env python3
"""Draws Parlavent's pictures: the application icon (an open book with a speech mark), the tray
icon of automatic mode (the same book with a green mark and a pointer) and the hand cursor over
links.

They are generated rather than committed so that the repository holds no binary files.
Usage: make_icon.py OUT.ico            the application icon
       make_icon.py --auto OUT.ico     the icon of automatic mode
       make_icon.py --hand OUT.cur     the hand cursor
"""
import struct
import sys

BLUE = (0xB0, 0x5A, 0x1E)   # BGR
PAGE = (0xF4, 0xF4, 0xF4)
LINE = (0x80, 0x80, 0x80)
MARK = (0x20, 0x90, 0xE8)
AUTO_MARK = (0x30, 0xC0, 0x30)
BLACK = (0, 0, 0)
WHITE = (0xFF, 0xFF, 0xFF)


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


def auto_pixel(x, y, n):
    """The icon of automatic mode: the book, a green mark and a small arrow pointer over the page."""
    u, v = x / n, y / n
    if (u - 0.8) ** 2 + (v - 0.12) ** 2 < 0.018:
        return AUTO_MARK, True
    # An arrow pointer whose tip sits on the right page, outlined so that it reads on any page.
    px, py = u - 0.58, v - 0.36
    if 0 <= py <= 0.5 and 0 <= px <= py * 0.7:
        inner = 0.06 <= py <= 0.44 and 0.035 <= px <= py * 0.7 - 0.04
        return (WHITE if inner else BLACK), True
    return pixel(x, y, n)


# The hand over links, 32 by 32: "#" outline, "o" fill, anything else transparent. The hot spot
# is the tip of the index finger.
HAND = """
.........##.....................
........#oo#....................
........#oo#....................
........#oo#....................
........#oo#....................
........#oo###..................
........#oo#oo###...............
........#oo#oo#oo##.............
........#oo#oo#oo#o#............
....###.#oo#oo#oo#oo#...........
....#oo##oooooooo#oo#...........
....#ooo#ooooooooooo#...........
.....#oo#ooooooooooo#...........
......#ooooooooooooo#...........
......#oooooooooooo#............
.......#ooooooooooo#............
.......#oooooooooo#.............
........#ooooooooo#.............
........#ooooooooo#.............
........###########.............
"""
HAND_HOTSPOT = (9, 0)


def hand_pixel(x, y, n):
    rows = HAND.strip("\n").split("\n")
    if y >= len(rows) or x >= len(rows[y]):
        return BLACK, False
    c = rows[y][x]
    if c == "#":
        return BLACK, True
    if c == "o":
        return WHITE, True
    return BLACK, False


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


def write_icon(path, pixel=pixel, sizes=(16, 32, 48), hotspot=None):
    """Writes an .ico file with one image per size, drawn by pixel(x, y, n); with a hot spot
    (x, y) a .cur file instead, whose entries carry the hot spot where icons have planes and bits."""
    images = [image(n, pixel) for n in sizes]
    out = struct.pack("<HHH", 0, 2 if hotspot else 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        a, b = hotspot if hotspot else (1, 32)
        out += struct.pack("<BBBBHHII", n, n, 0, 0, a, b, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


def main():
    args = sys.argv[1:]
    if args[0] == "--auto":
        write_icon(args[1], auto_pixel)
    elif args[0] == "--hand":
        write_icon(args[1], hand_pixel, sizes=(32,), hotspot=HAND_HOTSPOT)
    else:
        write_icon(args[0])


if __name__ == "__main__":
    main()
