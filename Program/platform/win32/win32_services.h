#pragma once
// Installs the Win32 implementations of the platform services. The program and the Win32 tests
// call this once, before anything else runs.
#include <windows.h>

#include <string>
#include <string_view>

namespace parlavent {

void InstallWin32Services();
/// The system facts, registry, shell, message boxes, message pump and settings store.
void InstallWin32SystemServices();
/// The window, desktop, tray and process-snapshot services.
void InstallWin32DesktopServices();
/// Window sizes, transparency, regions and the cursor.
void InstallWin32WindowEffects();

/// Runs the messages waiting for this thread from inside the program's own work (the runtime's
/// DoEvents): a look-up, a list fill, a replay or a save lets the windows answer. A WM_QUIT found is
/// left for the main loop.
void RunWaitingMessages();
/// Whether the thread is inside RunWaitingMessages: what the program was doing is half done.
bool InsideOwnWork();
/// Whether the program runs under Wine, whose controls and services differ from Windows' in
/// places the program works around.
bool UnderWine();

/// What the process service's EndNow runs before the process ends at once (in start-up, or at an
/// exit): what the end of the main loop would have withdrawn from the system.
void RunBeforeEndNow(void (*before)());

inline HWND ToHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }
inline std::uintptr_t FromHwnd(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

/// The core's UTF-16 text as wide-character data for the W APIs (both are 16-bit on Windows).
inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace parlavent
