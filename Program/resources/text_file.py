#!/usr/bin/env python3
"""Writes an installation text file from its UTF-8 source with Windows line ends.

usage: text_file.py utf16|ansi SOURCE OUT

utf16: UTF-16LE with the FF FE mark, every line ended by CR LF.
utf16-all: the same, keeping lines that start with "#" (texts whose placeholders begin with it).
ansi:  windows-1252 text, lines joined by CR LF, no line end after the last line.
Otherwise lines starting with "#" in the source are notes and are left out.
"""
import sys


def main() -> int:
    mode, source, out = sys.argv[1:4]
    with open(source, encoding="utf-8") as f:
        lines = [line.rstrip("\r\n") for line in f if mode == "utf16-all" or not line.startswith("#")]
    while lines and not lines[-1]:
        lines.pop()
    if mode in ("utf16", "utf16-all"):
        data = b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le")
    elif mode == "ansi":
        data = "\r\n".join(lines).encode("cp1252")
    else:
        print(f"text_file.py: unknown mode {mode}", file=sys.stderr)
        return 2
    with open(out, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
