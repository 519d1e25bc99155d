#!/usr/bin/env python3
"""Writes the X display's current pointer as a PNG and prints where it goes on a picture of the
whole screen ("+X+Y"), for scripts/screenshot.sh: screen grabs leave the pointer out.

Usage: pointer_image.py OUT.png        (uses DISPLAY; XFixes of libXfixes)
"""
import ctypes
import struct
import sys
import zlib


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def png(path, width, height, rgba):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    rows = b"".join(b"\0" + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def main():
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("no pointer image")
    c = image.contents
    rgba = bytearray()
    for i in range(c.width * c.height):
        argb = c.pixels[i] & 0xFFFFFFFF
        a, r, g, b = argb >> 24, (argb >> 16) & 255, (argb >> 8) & 255, argb & 255
        if a:  # premultiplied
            r, g, b = (min(255, v * 255 // a) for v in (r, g, b))
        rgba += bytes((r, g, b, a))
    png(sys.argv[1], c.width, c.height, bytes(rgba))
    print(f"+{c.x - c.xhot}+{c.y - c.yhot}")


if __name__ == "__main__":
    main()
