#!/usr/bin/env python3
"""Makes lang.dat from lang.tsv.

lang.tsv (UTF-8): comment lines start with "#"; every other line is
    <entry number> TAB <English> TAB <Russian> [TAB <where it is used>]
lang.dat (UTF-16LE with the FF FE mark): line n holds entry n, its columns (English, Russian)
joined by TAB; lines end in CR LF; numbers without a row give empty lines.
"""
import sys

LANGUAGES = 2


def read_rows(path):
    rows = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            where = f"{path}:{number}"
            if len(fields) < 1 + LANGUAGES or not fields[0].isdigit():
                sys.exit(f"{where}: expected a number and {LANGUAGES} texts separated by TAB")
            entry = int(fields[0])
            if entry in rows:
                sys.exit(f"{where}: entry {entry} is given twice")
            texts = fields[1:1 + LANGUAGES]
            if any(not t or "\r" in t or "\n" in t for t in texts):
                sys.exit(f"{where}: entry {entry} needs a text in every language")
            rows[entry] = texts
    return rows


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_lang_dat.py lang.tsv lang.dat")
    rows = read_rows(sys.argv[1])
    lines = ["\t".join(rows[n]) if n in rows else "" for n in range(max(rows) + 1)]
    with open(sys.argv[2], "wb") as f:
        f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))


if __name__ == "__main__":
    main()
