#pragma once
// Parlavent.exe started as its own process and driven from outside: the process, its main window,
// requests through the settings store, the text of its controls, and the test plug-ins.
#include <windows.h>

#include <functional>
#include <string>

#include "app/win32/main_window.h"
#include "install_folder.h"

namespace parlavent::testing {

inline constexpr DWORD kStartTimeoutMs = 60000;
inline constexpr DWORD kReactTimeoutMs = 30000;  // the running copy polls once a second
inline const wchar_t* const kProgramKey = L"Software\\VB and VBA Program Settings\\Parlavent";

inline std::wstring ProgramPath() { return testing::InstallFolderW() + L"\\Parlavent.exe"; }

/// A started process, ended at the latest when the test is over.
class Process {
 public:
  explicit Process(std::wstring command) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  }
  ~Process() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
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

/// A started copy of the program.
class Program : public Process {
 public:
  explicit Program(const std::wstring& arguments = L"") : Process(L"\"" + ProgramPath() + L"\" " + arguments) {}
};

/// The process's top-level window of a class (a visible one when visible); nullptr when none.
inline HWND WindowOf(DWORD processId, const wchar_t* className, bool visible) {
  for (HWND w = FindWindowW(className, nullptr); w; w = FindWindowExW(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && (!visible || IsWindowVisible(w))) return w;
  }
  return nullptr;
}

inline HWND MainWindowOf(DWORD processId) { return WindowOf(processId, frmMain::kClassName, false); }

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

/// Waits until the condition holds, at most the time; whether it held. Tests of the real program
/// wait for what they check, so a busy machine makes them slower, never red.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kReactTimeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
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

/// Waits until done() holds, at most ms; whether it came.
template <typename Done>
bool WaitUntil(Done done, DWORD ms = kReactTimeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return false;
    Sleep(50);
  }
  return true;
}

/// A mouse event at a point of the screen, as the mouse gives it: each event carries the place, so
/// no event goes where the pointer was before.
inline void MouseAt(POINT screen, DWORD flags = 0) {
  INPUT i{};
  i.type = INPUT_MOUSE;
  i.mi.dx = static_cast<LONG>((screen.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
  i.mi.dy = static_cast<LONG>((screen.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
  i.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &i, sizeof(INPUT));
}

/// A left click at a point of the screen.
inline void ClickScreen(POINT screen) {
  MouseAt(screen);
  MouseAt(screen, MOUSEEVENTF_LEFTDOWN);
  MouseAt(screen, MOUSEEVENTF_LEFTUP);
}

/// Moves the pointer to a point of the screen and waits until it rests there; whether it came.
/// Under Wine a move reaches the X server late: until it has, a program can be handed the old X
/// position as a move of its own, and for up to 100 ms after each change the pointer is read from
/// Wine, later from the X server. So the pointer rests once every reading for longer than that
/// gives the point; a click made before may be read where the pointer was, or seen to move away.
/// The windows of the calling thread go on answering meanwhile.
inline bool RestPointerAt(POINT screen, DWORD timeoutMs = kReactTimeoutMs) {
  SetCursorPos(screen.x, screen.y);
  const DWORD start = GetTickCount();
  DWORD since = start;
  for (;;) {
    POINT p{};
    const DWORD now = GetTickCount();
    if (!GetCursorPos(&p) || p.x != screen.x || p.y != screen.y) since = now;
    if (now - since > 200) return true;
    if (now - start >= timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
}

/// The middle of a window's client area on the screen.
inline POINT CenterOf(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  POINT p{r.right / 2, r.bottom / 2};
  ClientToScreen(w, &p);
  return p;
}

/// The process's top-level window of a class, once it is visible; nullptr after the time.
inline HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs = kReactTimeoutMs) {
  const DWORD start = GetTickCount();
  do {
    if (HWND w = WindowOf(processId, className, true)) return w;
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

// Registers test_plugin.dll (beside this test program) for the machine as both plug-ins.
inline void RegisterTestPlugIns() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dll = self;
  dll.resize(dll.find_last_of(L"\\/") + 1);
  dll += L"test_plugin.dll";
  const struct {
    const wchar_t* progId;
    const wchar_t* clsid;
  } kPlugIns[] = {{L"ParlaventPlugIn.Skin", L"{5C3E3B52-1A7B-4E36-9C55-2D6A43C1F001}"},
                  {L"ParlaventPlugIn.Hint", L"{5C3E3B52-1A7B-4E36-9C55-2D6A43C1F002}"}};
  auto set = [](const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  };
  for (const auto& p : kPlugIns) {
    const std::wstring progKey = std::wstring(L"Software\\Classes\\") + p.progId;
    const std::wstring classKey = std::wstring(L"Software\\Classes\\CLSID\\") + p.clsid;
    set(progKey + L"\\CLSID", nullptr, p.clsid);
    set(classKey + L"\\InprocServer32", nullptr, dll);
    set(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  }
}

inline void UnregisterTestPlugIns() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const wchar_t* key :
         {L"Software\\Classes\\ParlaventPlugIn.Skin", L"Software\\Classes\\ParlaventPlugIn.Hint",
          L"Software\\Classes\\CLSID\\{5C3E3B52-1A7B-4E36-9C55-2D6A43C1F001}",
          L"Software\\Classes\\CLSID\\{5C3E3B52-1A7B-4E36-9C55-2D6A43C1F002}"})
      RegDeleteTreeW(root, key);
}

/// What the test plug-ins recorded (tests/plugin/test_plugin.cpp).
inline std::wstring PlugInCalls() {
  wchar_t calls[8192] = {};
  DWORD size = sizeof(calls);
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\ParlaventTestPlugIn", L"Calls", RRF_RT_REG_SZ, nullptr, calls, &size);
  return calls;
}

}  // namespace parlavent::testing
