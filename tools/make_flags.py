#!/usr/bin/env python3
"""Draws the flag icons of a sample dictionary: "Icon" (both directions), "Icon1" (side 1 to
side 2) and "Icon2" (side 2 to side 1), as .ico files.

Generated rather than committed, so that the repository holds no binary files.
Usage: make_flags.py LANG1 LANG2 OUT_PREFIX   writes OUT_PREFIX.ico, OUT_PREFIX1.ico, OUT_PREFIX2.ico
"""
import sys

from make_icon import write_icon

BLACK, RED, GOLD = (0, 0, 0), (0x00, 0x00, 0xDD), (0x00, 0xCE, 0xFF)     # BGR
WHITE, BLUE, NAVY = (0xFF, 0xFF, 0xFF), (0xA7, 0x39, 0x00), (0x6A, 0x24, 0x01)
UK_RED = (0x2E, 0x10, 0xC8)


def flag(lang, u, v):
    """Colour of the language's flag at (u, v) in [0, 1) x [0, 1), v from the top."""
    if lang == "de":
        return (BLACK, RED, GOLD)[min(int(v * 3), 2)]
    if lang == "ru":
        return (WHITE, BLUE, RED)[min(int(v * 3), 2)]
    # en: a plain Union flag, crosses on navy
    if abs(u - 0.5) < 0.08 or abs(v - 0.5) < 0.1:
        return UK_RED
    if abs(u - 0.5) < 0.16 or abs(v - 0.5) < 0.2:
        return WHITE
    if abs(u - v) < 0.07 or abs(u + v - 1) < 0.07:
        return WHITE
    return NAVY


def drawer(first, second, inset):
    """The first flag over the whole icon; the second either in the lower-right half of a
    diagonal split (inset False) or as a small flag in the lower-right corner (inset True)."""
    def pixel(x, y, n):
        u, v = (x + 0.5) / n, (y + 0.5) / n
        if v < 0.15 or v > 0.85:
            return (0, 0, 0), False                  # flags are wider than tall
        fv = (v - 0.15) / 0.7
        if inset:
            if u >= 0.5 and fv >= 0.5:
                return flag(second, (u - 0.5) * 2, (fv - 0.5) * 2), True
            return flag(first, u, fv), True
        return flag(first if u + fv < 1 else second, u, fv), True
    return pixel


def main():
    lang1, lang2, prefix = sys.argv[1:4]
    write_icon(prefix + ".ico", drawer(lang1, lang2, False), (16, 32))
    write_icon(prefix + "1.ico", drawer(lang1, lang2, True), (16, 32))
    write_icon(prefix + "2.ico", drawer(lang2, lang1, True), (16, 32))


if __name__ == "__main__":
    main()
