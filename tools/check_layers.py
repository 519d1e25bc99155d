#!/usr/bin/env python3
"""Fails when an #include of Program/ runs upward.

The layers, bottom to top: platform, foundation, dictionary, app, and the neighbours capture,
companions and settings_dialog. A folder includes only itself and the layers below it; a win32/
folder belongs to its parent's layer, and only win32/ folders include a win32/ header. The
neighbours do not include each other. Headers outside these folders (resource_ids.h, generated
headers) are not layered. Prints each upward include as file:line and exits 1 when there is one.
"""
import pathlib
import re
import sys

RANK = {"platform": 0, "foundation": 1, "dictionary": 2, "app": 3,
        "capture": 4, "companions": 4, "settings_dialog": 4}

# Upward includes that stand for now, each as (file, header).
KNOWN = {
    # The platform's services take and give the core's text, converted by foundation/text.
    ("platform/code_page.cpp", "foundation/text_tables.h"),
    ("platform/settings_store.cpp", "foundation/text.h"),
    ("platform/system_info.cpp", "foundation/text.h"),
    ("platform/win32/desktop_win32.cpp", "foundation/api_windows.h"),
    ("platform/win32/toolbar_control.cpp", "foundation/text.h"),
    # The application holds its neighbours' interfaces (Appl.Capture, Appl.frmSetting) and calls
    # the few operations of theirs that start-up, shut-down and the main window's commands need;
    # wWinMain installs the Windows side of each.
    ("app/main_window_core.cpp", "capture/capture.h"),
    ("app/main_window_core.cpp", "capture/process_list.h"),
    ("app/main_window_core.cpp", "companions/companion_services.h"),
    ("app/main_window_core.cpp", "companions/layout_switch.h"),
    ("app/neighbour_services.h", "capture/capture_services.h"),
    ("app/neighbour_services.h", "settings_dialog/settings_dialog.h"),
    ("app/shutdown.cpp", "companions/statistics.h"),
    ("app/startup.cpp", "capture/process_list.h"),
    ("app/startup.cpp", "companions/statistics.h"),
    ("app/win32/automation_server.cpp", "companions/statistics.h"),
    ("app/win32/win_main.cpp", "capture/capture.h"),
    ("app/win32/win_main.cpp", "capture/win32/win32_capture.h"),
    ("app/win32/win_main.cpp", "companions/win32/win32_companions.h"),
    ("app/win32/win_main.cpp", "settings_dialog/win32/settings_form.h"),
    # The settings dialog shows and changes the companions' settings.
    ("settings_dialog/settings_model.cpp", "companions/companion_state.h"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def layer_of(path):
    """The layer folder of a path under Program/ or of an include, and whether it is win32 code."""
    parts = pathlib.PurePosixPath(path).parts
    if not parts or parts[0] not in RANK:
        return None, False
    return parts[0], "win32" in parts[1:-1]


def upward(source, header):
    own, own_win32 = layer_of(source)
    other, other_win32 = layer_of(header)
    if own is None or other is None:
        return False
    if other_win32 and not own_win32:
        return True
    if other == own:
        return False
    return RANK[other] >= RANK[own]


def main():
    root = pathlib.Path(__file__).resolve().parent.parent / "Program"
    found = []
    used = set()
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        source = path.relative_to(root).as_posix()
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match or not upward(source, match.group(1)):
                continue
            if (source, match.group(1)) in KNOWN:
                used.add((source, match.group(1)))
                continue
            found.append(f"Program/{source}:{number}: includes {match.group(1)}")
    for source, header in sorted(KNOWN - used):
        print(f"note: Program/{source} no longer includes {header}; drop it from the known list")
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} upward include(s)")
        return 1
    print(f"no upward include ({len(used)} known exceptions)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
