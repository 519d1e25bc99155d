#pragma once
// The companions' Win32 side: SAPI 5, the windows frmStat, frmKeyb and frmLearn, the speech and
// keyboard tray icons and the keyboard layouts. wWinMain installs it with InstallWin32Companions.
#include <windows.h>

#include <memory>

#include "app/companion_services.h"

namespace parlavent {

class Appl;

/// Makes the Win32 side and installs it on app: Companion, and the keyboard form as Keyb (the
/// dictionary loader gives it its language labels).
void InstallWin32Companions(Appl& app, HINSTANCE instance);

}  // namespace parlavent
