#pragma once
// The program's other windows (statistics, About, keyboard, learning card, progress) belong to the
// main window: an owned window always lies above its owner, so a main window kept above other
// windows, which raises itself several times a second, never covers them.
#include <windows.h>

namespace parlavent {

/// The main window, or null while it is not loaded.
HWND MainOwner();

/// Makes window owned by the main window (while that is loaded), so it lies above it.
void OwnByMain(HWND window);

/// Makes window owned by the main window and shows it above it, activated when activate.
void ShowOwned(HWND window, bool activate);

/// Whether window lies above other in the order of the desktop's windows.
bool LiesAbove(HWND window, HWND other);

/// Puts the visible windows owned by owner back above it. Wine lifts an activated topmost window
/// over the topmost windows it owns (a key of the keyboard gives the input box the focus, and with
/// it the main window); the main window calls this when it rises or is activated.
void RaiseOwnedWindows(HWND owner);

}  // namespace parlavent
