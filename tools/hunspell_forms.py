#!/usr/bin/env python3
"""Expands a Hunspell dictionary into (form, base) pairs with Hunspell's own `unmunch`.

    hunspell_forms.py UNMUNCH LANG.dic LANG.aff OUT.tsv [DERIVATION_FLAGS]

unmunch prints every stem followed by the forms its affix flags make, with nothing between one
stem's forms and the next stem. A line of its own without flags after every stem keeps them
apart: the first word after each separator is the base of the words behind it.

Only inflection counts: the prefix flags of the affix file and the DERIVATION_FLAGS given (single
characters: German "-in", "-ung", "-lich", "-chen", "-bar"; English "-ion", "-ly", "-ness", ...)
are taken off every stem before the expansion, as a derived word is a word of its own
("Wohnung" is no form of "wohnen").

Written: one line "form TAB base" per pair, each once, in the order of the expansion. Left out: forms that begin with
a different letter than their base (a prefix made another word: "verspielt" is no form of
"spielen"), hyphenated compound parts ("-hunde") and anything but letters, and forms equal to
their base. For German,
the past participle of a weak verb ("gemacht", a stem of its own in the Hunspell data) is
linked to its verb when the verb's forms hold the past tense it is made from ("machte"). For
English, a comparative and superlative that double the last consonant ("bigger", "biggest",
stems of their own in the Hunspell data) are linked to the adjective they double when both are
stems and no other stem makes them ("runner" alone is a word of its own). Doubled "-ing" and
"-ed" stems are not linked: nothing in the data tells a verb form ("running", "stopped") from a
word of its own ("earring", "bedding", "wedding", "pudding"), and the adjective's or verb's own
flags never make the doubled form. The project's table lists the verb forms. Likewise a German comparative or superlative that takes an
umlaut ("kürzer", "kürzest", "größer", stems of their own) is linked with its forms to the
adjective it is made of.

Counts go to standard error.
"""
import os
import subprocess
import sys
import tempfile

SEPARATOR = "QQQSEPARATORQQQ"


def read_stems(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    # The first line is the stem count; indented and "#" lines are comments of some dictionaries.
    return [x for x in lines[1:] if x.strip() and x[0] not in "\t #"]


def prefix_flags(aff):
    flags = set()
    with open(aff, encoding="utf-8", errors="replace") as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 4 and parts[0] == "PFX" and len(parts[1]) == 1:
                flags.add(parts[1])
    return flags


def drop_flags(stem, flags):
    word, slash, rest = stem.partition("/")
    if not slash:
        return stem
    kept = "".join(c for c in rest if c not in flags)
    return f"{word}/{kept}" if kept else word


def expand(unmunch, dic, aff, dropped):
    stems = [drop_flags(s, dropped) for s in read_stems(dic)]
    with tempfile.TemporaryDirectory() as tmp:
        sep_dic = os.path.join(tmp, "separated.dic")
        with open(sep_dic, "w", encoding="utf-8") as f:
            f.write(f"{2 * len(stems)}\n")
            for s in stems:
                f.write(f"{s}\n{SEPARATOR}\n")
        run = subprocess.run([unmunch, sep_dic, aff], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True)
    groups, base = [], None
    for w in run.stdout.decode("utf-8", errors="replace").split("\n"):
        w = w.strip()
        if not w:
            continue
        if w == SEPARATOR:
            base = None
        elif base is None:
            base = w
            groups.append((w, []))
        else:
            groups[-1][1].append(w)
    return groups


def is_word(w):
    # Letters, and an apostrophe or hyphen inside: the data's morphological marks ("-/cz|") are none.
    return w[:1].isalpha() and w[-1:].isalpha() and w.replace("'", "").replace("-", "").isalpha()


VOWELS = set("aeiouy")


def doubled_forms(groups):
    """(form, stem) for the comparatives and superlatives that double the last consonant of
    another stem: big -> bigger, biggest."""
    stems = {base for base, _ in groups}
    made = {f for base, forms in groups for f in forms if f != base}
    pairs = []
    for w in (base for base, _ in groups):
        if w in made or not w.isalpha() or not w.islower():
            continue
        for ending, other in (("er", "est"), ("est", "er")):
            if not w.endswith(ending) or len(w) < len(ending) + 3:
                continue
            stem = w[: -len(ending) - 1]
            c = w[-len(ending) - 1]
            if len(stem) < 2 or stem[-1] != c or c in VOWELS or stem not in stems:
                continue
            if stem + c + other not in stems:
                continue
            pairs.append((w, stem))
    return pairs


UMLAUTS = {"ä": "a", "ö": "o", "ü": "u"}


def umlaut_degrees(groups, adjectives):
    """(form, adjective) for the German comparative and superlative stems that take an umlaut,
    and their forms: kürzer, kürzere, kürzest, kürzeste -> kurz. adjectives: the stems that
    carry the adjective flag."""
    stems = adjectives
    pairs = []
    for w, forms in groups:
        if w not in adjectives or not w.isalpha() or not w.islower():
            continue
        for ending in ("er", "est", "st"):
            if not w.endswith(ending) or len(w) < len(ending) + 3:
                continue
            stem = w[: -len(ending)]
            at = max(stem.rfind(u) for u in UMLAUTS)
            if at < 0:
                continue
            plain = stem[:at] + UMLAUTS[stem[at]] + stem[at + 1:]
            if plain in stems:
                pairs.extend((f, plain) for f in [w] + forms if f != plain and is_word(f))
                break
    return pairs


def main():
    unmunch, dic, aff, out = sys.argv[1:5]
    derivations = set(sys.argv[5]) if len(sys.argv) > 5 else set()
    groups = expand(unmunch, dic, aff, prefix_flags(aff) | derivations)
    german = os.path.basename(dic).lower().startswith("de")
    # In the order unmunch gives them, each once: the same input gives the same file.
    pairs, seen = [], set()

    def add(form, base):
        if (form, base) not in seen:
            seen.add((form, base))
            pairs.append((form, base))

    words = set()
    if german:
        for base, forms in groups:
            words.add(base)
            words.update(forms)
    for base, forms in groups:
        for f in forms:
            if f == base or not is_word(f) or f[:1].lower() != base[:1].lower():
                continue
            add(f, base)
        if german and base.endswith("en"):
            for f in forms:
                # machte -> gemacht, arbeitete -> gearbeitet
                if f.endswith("te") and f[0] == base[0] and len(f) > 3:
                    participle = "ge" + f[:-1]
                    if participle in words:
                        add(participle, base)
    if os.path.basename(dic).lower().startswith("en"):
        for form, base in doubled_forms(groups):
            add(form, base)
    if german:
        # de_DE's adjectives carry the flag "A" (their endings -e, -en, -er, -es, -em).
        adjectives = {x.partition("/")[0] for x in read_stems(dic) if "A" in x.partition("/")[2]}
        for form, base in umlaut_degrees(groups, adjectives):
            add(form, base)
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(f"{form}\t{base}\n" for form, base in pairs))
    print(f"{os.path.basename(dic)}: {len(groups)} stems, {len(pairs)} (form, base) pairs", file=sys.stderr)


if __name__ == "__main__":
    main()
