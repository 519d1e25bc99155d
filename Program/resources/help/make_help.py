#!/usr/bin/env python3
"""Compiles one language's help pages into a .chm file with chmcmd (Debian package fp-utils).

Usage: make_help.py SOURCE_DIR OUT.chm LANGUAGE_ID [HTML_DIR]

SOURCE_DIR holds the pages (*.htm); the style sheet style.css beside the language folders serves
every language. With HTML_DIR the pages and the style sheet are also written there as plain files,
for readers without a working help viewer (Wine has none that shows pages). The table of contents follows TOPICS; every page
of the folder must be in it, so that no page is left out of the contents by mistake. Two windows
are defined: "main" (the file's default, with the contents) and "small" (what a help link of the
program opens, with the topic alone).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

# The order of the contents; the program opens these file names as topics (docs/help.md).
TOPICS = [
    "index.htm",
    "lookup.htm",
    "wordlists.htm",
    "alphabet.htm",
    "links.htm",
    "dictionaries.htm",
    "tray.htm",
    "hotkeys.htm",
    "settings.htm",
    "settings_general.htm",
    "settings_translation.htm",
    "settings_appearance.htm",
    "settings_speech.htm",
    "settings_learning.htm",
    "settings_programs.htm",
    "files.htm",
]


def title_of(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"<title>(.*?)</title>", text, re.S | re.I)
    if not m:
        sys.exit(f"{path}: no <title>")
    return m.group(1).strip()


def esc(text):
    return text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")


def main():
    src, out, lang_id = sys.argv[1], sys.argv[2], sys.argv[3]
    html_dir = sys.argv[4] if len(sys.argv) > 4 else None
    pages = sorted(p for p in os.listdir(src) if p.endswith(".htm"))
    missing = [t for t in TOPICS if t not in pages]
    extra = [p for p in pages if p not in TOPICS]
    if missing or extra:
        sys.exit(f"{src}: topics missing {missing}, pages not in the contents {extra}")
    with tempfile.TemporaryDirectory() as work:
        for p in pages:
            shutil.copy(os.path.join(src, p), work)
        shutil.copy(os.path.join(os.path.dirname(os.path.abspath(src)), "style.css"), work)
        # chmcmd reads its project files in the ANSI sense: titles go in as character references.
        def ref(text):
            return "".join(c if ord(c) < 128 else f"&#{ord(c)};" for c in text)

        items = "".join(
            '<li><object type="text/sitemap"><param name="Name" value="%s">'
            '<param name="Local" value="%s"></object>\n' % (ref(esc(title_of(os.path.join(src, t)))), t)
            for t in TOPICS)
        with open(os.path.join(work, "help.hhc"), "w", encoding="ascii") as f:
            f.write("<html><body><ul>\n" + items + "</ul></body></html>\n")
        title = "Parlavent"
        with open(os.path.join(work, "help.hhp"), "w", encoding="ascii") as f:
            f.write(
                "[OPTIONS]\n"
                "Compatibility=1.1 or later\n"
                "Compiled file=help.chm\n"
                "Contents file=help.hhc\n"
                "Default topic=index.htm\n"
                "Default Window=main\n"
                "Display compile progress=No\n"
                f"Language={lang_id}\n"
                f"Title={title}\n\n"
                "[WINDOWS]\n"
                f'main="{title}","help.hhc",,"index.htm","index.htm",,,,,0x2520,,0x3006,[80,60,780,600],,,,,,,0\n'
                f'small="{title}",,,"index.htm","index.htm",,,,,0x2520,,0x3006,[120,120,620,520],,,,,,,0\n\n'
                "[FILES]\n" + "".join(p + "\n" for p in pages + ["style.css"]))
        run = subprocess.run(["chmcmd", "--no-html-scan", "help.hhp"], cwd=work, capture_output=True, text=True)
        chm = os.path.join(work, "help.chm")
        if run.returncode != 0 or not os.path.exists(chm):
            sys.exit(f"chmcmd failed:\n{run.stdout}\n{run.stderr}")
        os.makedirs(os.path.dirname(out), exist_ok=True)
        shutil.copy(chm, out)
        if html_dir:
            # A folder left from an earlier build may hold pages since removed.
            shutil.rmtree(html_dir, ignore_errors=True)
            os.makedirs(html_dir)
            for p in pages + ["style.css"]:
                shutil.copy(os.path.join(work, p), html_dir)


if __name__ == "__main__":
    main()
