#pragma once
// The program's other windows (statistics, About, keyboard, learning card, progress) belong to the
// main window: an owned window always lies above its owner, so a main window kept above other
// windows, which raises itself several times a second, never covers them.
#include <windows.h>

namespace parlavent {

/// The main window, or null while it is not loaded.
HWND MainOwner();

/// Makes window owned by the main window and shows it above it, activated when activate.
void ShowOwned(HWND window, bool activate);

}  // namespace parlavent
