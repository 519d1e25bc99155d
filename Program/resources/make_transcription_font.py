#!/usr/bin/env python3
"""Makes the transcription font "Vovedorirada" from a phonetic TrueType font.

usage: make_transcription_font.py SOURCE.ttf OUT.ttf

The program shows transcriptions in a font family named "Vovedorirada". Any font with the
International Phonetic Alphabet serves; this renames its family (the name records of family,
full name, PostScript name and typographic family) and writes the file under the new name.
The source's licence permits renamed derivatives.
"""
import sys

from fontTools.ttLib import TTFont

FAMILY = "Vovedorirada"


def main():
    source, out = sys.argv[1], sys.argv[2]
    font = TTFont(source)
    names = font["name"]
    for record in names.names:
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID in (4,):
            record.string = FAMILY
        elif record.nameID in (6,):
            record.string = FAMILY + "-Regular"
        elif record.nameID in (2, 17):
            record.string = "Regular"
        elif record.nameID == 3:
            record.string = FAMILY + ": Parlavent transcription font"
    font.save(out)


if __name__ == "__main__":
    main()
