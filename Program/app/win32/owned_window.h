#pragma once
// The program's other windows (statistics, About, keyboard, learning card, progress) belong to the
// main window: an owned window always lies above its owner, so a main window kept above other
// windows, which raises itself several times a second, never covers them.
//
// Wine keeps the order of the windows as Windows does, but draws a window over the others only
// when it becomes the first visible window of that order (a window put just below another keeps
// the place it was drawn at, under windows that came later). So a window that must be seen on top
// is raised with the insert-after handle that makes it first, and a group is raised from its
// lowest window to its highest (docs/architecture.md, "Windows drawn in order").
#include <windows.h>

namespace parlavent {

/// The main window, or null while it is not loaded.
HWND MainOwner();

/// Makes window owned by the main window (while that is loaded), so it lies above it.
void OwnByMain(HWND window);

/// Makes window owned by the program's own top-level window at the screen point (the main window
/// or the popup beside a word), so that it lies above that one without lifting another.
void OwnByWindowAt(HWND window, POINT screen);

/// Shows window above its owner, the main window, activated when activate.
void ShowOwned(HWND window, bool activate);

/// Whether window lies above other in the order of the desktop's windows.
bool LiesAbove(HWND window, HWND other);

/// Puts the visible windows owned by owner back above it. Wine lifts an activated topmost window
/// over the topmost windows it owns (a key of the keyboard gives the input box the focus, and with
/// it the main window); the main window calls this when it rises.
void RaiseOwnedWindows(HWND owner);

/// Whether owner lies above one of the visible windows it owns.
bool CoversOwnedWindow(HWND owner);

/// Raises owner and then the visible windows it owns, each drawn over the windows of other
/// programs, in the order they had. Called when the order changed: another program's window came
/// to the foreground, or the owner was activated.
void RaiseOwnerGroup(HWND owner);

}  // namespace parlavent
