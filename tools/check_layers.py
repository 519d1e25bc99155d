#!/usr/bin/env python3
"""Fails when an #include of Program/ runs upward.

The layers, bottom to top: text, platform, foundation, dictionary, app, and the neighbours capture,
companions and settings_dialog. A folder includes only itself and the layers below it; a win32/
folder belongs to its parent's layer, and only win32/ folders include a win32/ header. The
neighbours do not include each other. The composition root, app/win32/win_main.cpp, may include
every layer. Headers outside these folders (resource_ids.h, generated headers) are not layered.

An include is ranked by the file it names, however it is spelled: "../", "./", a path from
Program/ and <angle> brackets all lead to the same header, as the compiler finds it (a quoted name
beside the including file first, then from Program/, the one include folder of the sources).
Prints each upward include as file:line and exits 1 when there is one. An argument names another
Program/ folder to check (the tests of this script use one).
"""
import os
import pathlib
import re
import sys

RANK = {"text": 0, "platform": 1, "foundation": 2, "dictionary": 3, "app": 4,
        "capture": 5, "companions": 5, "settings_dialog": 5}

# The composition root: wWinMain installs the Windows side of every subsystem, so it alone may
# include any layer.
ROOT = "app/win32/win_main.cpp"

INCLUDE = re.compile(r'^\s*#\s*include\s*(?:"([^"]+)"|<([^>]+)>)')


def layer_of(path):
    """The layer folder of a path under Program/ or of an include, and whether it is win32 code."""
    parts = pathlib.PurePosixPath(path).parts
    if not parts or parts[0] not in RANK:
        return None, False
    return parts[0], "win32" in parts[1:-1]


def resolve(root, source, name, quoted):
    """The path under root of the file an include names, or None when it names none there (a
    system or generated header)."""
    folders = [os.path.dirname(source)] if quoted else []
    folders.append("")
    for folder in folders:
        path = os.path.normpath(os.path.join(folder, name.replace("\\", "/")))
        if path == ".." or path.startswith("../") or os.path.isabs(path):
            continue
        if (root / path).is_file():
            return pathlib.PurePosixPath(path).as_posix()
    return None


def upward(source, header):
    if source == ROOT:
        return False
    own, own_win32 = layer_of(source)
    other, other_win32 = layer_of(header)
    if own is None or other is None:
        return False
    if other_win32 and not own_win32:
        return True
    if other == own:
        return False
    return RANK[other] >= RANK[own]


def main(argv):
    root = pathlib.Path(argv[1]) if len(argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "Program"
    found = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        source = path.relative_to(root).as_posix()
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            name = match.group(1) or match.group(2)
            header = resolve(root, source, name, match.group(1) is not None)
            if header is None or not upward(source, header):
                continue
            found.append(f"Program/{source}:{number}: includes {name}")
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} upward include(s)")
        return 1
    print("no upward include")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
