#pragma once
// Parlavent.exe started as its own process and driven from outside: the process, its main window,
// requests through the settings store and the text of its controls.
#include <windows.h>

#include <string>

#include "app/win32/main_window.h"
#include "install_folder.h"

namespace parlavent::testing {

inline constexpr DWORD kStartTimeoutMs = 60000;
inline constexpr DWORD kReactTimeoutMs = 30000;  // the running copy polls once a second
inline const wchar_t* const kProgramKey = L"Software\\VB and VBA Program Settings\\Parlavent";

inline std::wstring ProgramPath() { return testing::InstallFolderW() + L"\\Parlavent.exe"; }

/// A started copy of the program, ended at the latest when the test is over.
class Program {
 public:
  explicit Program(const std::wstring& arguments = L"") {
    std::wstring command = L"\"" + ProgramPath() + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD Id() const { return pi_.dwProcessId; }
  HANDLE Handle() const { return pi_.hProcess; }
  /// The exit code once the process ended within the time, else STILL_ACTIVE.
  DWORD ExitCodeWithin(DWORD ms) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION pi_{};
};

inline HWND MainWindowOf(DWORD processId) {
  for (HWND w = FindWindowW(frmMain::kClassName, nullptr); w; w = FindWindowExW(nullptr, w, frmMain::kClassName, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId) return w;
  }
  return nullptr;
}

/// Waits until the process has its main window in the wanted visibility.
inline HWND WaitForMainWindow(DWORD processId, bool visible, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    HWND w = MainWindowOf(processId);
    if (w && (IsWindowVisible(w) != FALSE) == visible) return w;
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

inline void SetRequest(const wchar_t* name, const wchar_t* value) {
  const std::wstring key = std::wstring(kProgramKey) + L"\\Main";
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value,
                  static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

inline std::wstring ControlText(HWND control) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

/// The process's top-level window of a class, once it is visible; nullptr after the time.
inline HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs = kReactTimeoutMs) {
  const DWORD start = GetTickCount();
  do {
    for (HWND w = FindWindowW(className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == processId && IsWindowVisible(w)) return w;
    }
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

}  // namespace parlavent::testing
