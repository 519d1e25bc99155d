#!/usr/bin/env python3
"""Tests of check_layers.py: an upward include is found however it is spelled, and an include that
stays in its layer passes however it is spelled."""
import pathlib
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).resolve().parent / "check_layers.py"

# (including file, include line, upward)
CASES = [
    ("dictionary/d.cpp", '#include "app/application.h"', True),
    ("dictionary/d.cpp", '#include "../app/application.h"', True),
    ("dictionary/d.cpp", '#include "./../app/application.h"', True),
    ("dictionary/d.cpp", '#include <app/application.h>', True),
    ("dictionary/d.cpp", '#  include   <app/../app/application.h>', True),
    ("dictionary/d.cpp", '#include "..\\app\\application.h"', True),
    ("dictionary/win32/w.cpp", '#include "../../app/application.h"', True),
    ("foundation/f.cpp", '#include "win32/f_win.h"', True),
    ("dictionary/d.cpp", '#include "../foundation/host.h"', False),
    ("dictionary/d.cpp", '#include <foundation/host.h>', False),
    ("dictionary/d.cpp", '#include "d.h"', False),
    ("dictionary/d.cpp", '#include <vector>', False),
    ("app/a.cpp", '#include "../dictionary/d.h"', False),
    ("foundation/win32/f_win.cpp", '#include "f_win.h"', False),
]

FILES = ["app/application.h", "foundation/host.h", "foundation/win32/f_win.h", "dictionary/d.h"]


def run(source, line):
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder) / "Program"
        for name in FILES + [source]:
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text("")
        (root / source).write_text(line + "\n")
        result = subprocess.run([sys.executable, str(CHECK), str(root)], capture_output=True, text=True)
        return result.returncode, result.stdout


def main():
    failures = 0
    for source, line, up in CASES:
        code, out = run(source, line)
        if (code == 1) != up or (up and f"Program/{source}:1:" not in out):
            print(f"FAIL {source}: {line}: exit {code}, expected {'upward' if up else 'none'}\n{out}")
            failures += 1
    print(f"{len(CASES) - failures} of {len(CASES)} include cases pass")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
