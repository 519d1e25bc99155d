// The Win32 window, desktop, tray and process-snapshot services.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "platform/desktop.h"
#include "platform/geometry.h"
#include "platform/process_snapshot.h"
#include "platform/tray.h"
#include "platform/win32/win32_services.h"
#include "platform/window_manager.h"

namespace parlavent {
namespace {

class Win32Windows final : public WindowManager {
 public:
  bool GetRect(WindowHandle window, Rect& rect) override {
    RECT r{};
    if (!window || !GetWindowRect(ToHwnd(window), &r)) return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
  }
  bool IsVisible(WindowHandle window) override { return window && IsWindowVisible(ToHwnd(window)); }
  int State(WindowHandle window) override {
    if (IsIconic(ToHwnd(window))) return kStateMinimized;
    return IsZoomed(ToHwnd(window)) ? kStateMaximized : kStateNormal;
  }
  bool SetPos(WindowHandle window, WindowHandle insertAfter, long x, long y, long cx, long cy,
              unsigned flags) override {
    return SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
  }
  void Show(WindowHandle window, bool show) override { ShowWindow(ToHwnd(window), show ? SW_SHOWNA : SW_HIDE); }
  long ExStyle(WindowHandle window) override { return GetWindowLongW(ToHwnd(window), GWL_EXSTYLE); }
  void SetExStyle(WindowHandle window, long style) override { SetWindowLongW(ToHwnd(window), GWL_EXSTYLE, style); }
  bool SetLayeredAttributes(WindowHandle window, Colour key, int alpha, unsigned flags) override {
    return SetLayeredWindowAttributes(ToHwnd(window), key, static_cast<BYTE>(alpha), flags) != FALSE;
  }
  void SetRegionFromPicture(WindowHandle window, Colour key, std::uintptr_t deviceContext) override {
    RECT r{};
    GetWindowRect(ToHwnd(window), &r);
    HDC dc = reinterpret_cast<HDC>(deviceContext);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const auto runs = PictureRegionRuns(r.right - r.left, r.bottom - r.top, key,
                                        [dc](long x, long y) { return GetPixel(dc, x, y); });
    for (const Rect& run : runs) {
      HRGN line = CreateRectRgn(run.left, run.top, run.right, run.bottom);
      CombineRgn(region, region, line, RGN_OR);
      DeleteObject(line);
    }
    // The window owns the region from here on.
    if (!SetWindowRgn(ToHwnd(window), region, TRUE)) DeleteObject(region);
  }
  WindowHandle Parent(WindowHandle window) override { return FromHwnd(GetParent(ToHwnd(window))); }
  WindowHandle Desktop() override { return FromHwnd(GetDesktopWindow()); }
  void StartDrag(WindowHandle window) override {
    ReleaseCapture();
    SendMessageW(ToHwnd(window), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
  std::u16string ClassName(WindowHandle window) override {
    wchar_t name[256] = {};
    const int n = GetClassNameW(ToHwnd(window), name, 255);
    return n > 0 ? FromWide(std::wstring_view(name, static_cast<std::size_t>(n))) : std::u16string();
  }
  std::u16string Text(WindowHandle window) override {
    const int n = GetWindowTextLengthW(ToHwnd(window));
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(ToHwnd(window), text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return FromWide(text);
  }
  std::u16string ControlText(WindowHandle window) override {
    const LRESULT n = SendMessageW(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0 || n > (1 << 24)) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got = SendMessageW(ToHwnd(window), WM_GETTEXT, static_cast<WPARAM>(n + 1),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, n)));
    return FromWide(text);
  }
};

class Win32Desktop final : public Desktop {
 public:
  ~Win32Desktop() override {
    if (instanceMutex_) CloseHandle(instanceMutex_);
  }
  // The previous-instance check keys a named mutex by the program file's path, so two copies
  // installed in different folders do not see each other.
  bool OtherInstanceRunning() override {
    if (instanceMutex_) return otherRunning_;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = L"Local\\Parlavent.";
    for (const wchar_t* p = path; *p; ++p) name += (*p == L'\\' || *p == L':') ? L'_' : static_cast<wchar_t>(towlower(*p));
    instanceMutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    otherRunning_ = instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
    return otherRunning_;
  }
  std::vector<std::intptr_t> KeyboardLayouts() override {
    const int n = GetKeyboardLayoutList(0, nullptr);
    std::vector<HKL> layouts(static_cast<std::size_t>(std::max(n, 0)));
    const int got = n > 0 ? GetKeyboardLayoutList(n, layouts.data()) : 0;
    std::vector<std::intptr_t> handles;
    for (int i = 0; i < got; ++i) handles.push_back(reinterpret_cast<std::intptr_t>(layouts[static_cast<std::size_t>(i)]));
    return handles;
  }
  int DoubleClickTime() override { return static_cast<int>(GetDoubleClickTime()); }
  std::uintptr_t LoadCursorResource(int id) override {
    HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    // A program without the resource (a test program) gets the system's hand.
    if (!cursor) cursor = LoadCursorW(nullptr, IDC_HAND);
    return reinterpret_cast<std::uintptr_t>(cursor);
  }
  void LockWindowUpdate(WindowHandle window) override { ::LockWindowUpdate(ToHwnd(window)); }
  std::u16string WindowsFolder() override {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? FromWide(std::wstring_view(folder, n)) : std::u16string();
  }
  bool AddFontFile(std::u16string_view path) override {
    return AddFontResourceW(Wide(std::u16string(path))) > 0;
  }
  void BroadcastFontChange() override { PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0); }
  void EndMessageLoop(int exitCode) override { PostQuitMessage(exitCode); }

 private:
  HANDLE instanceMutex_ = nullptr;
  bool otherRunning_ = false;
};

class Win32Tray final : public TrayService {
 public:
  bool Add(WindowHandle owner, std::uint32_t id, std::uint32_t callbackMessage, std::uintptr_t icon) override {
    NOTIFYICONDATAW data = Record(owner, id);
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(icon);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  }
  bool Modify(WindowHandle owner, std::uint32_t id, std::uintptr_t icon,
              const std::optional<std::u16string>& tip) override {
    NOTIFYICONDATAW data = Record(owner, id);
    data.uFlags = NIF_ICON;
    data.hIcon = reinterpret_cast<HICON>(icon);
    if (tip) {
      data.uFlags |= NIF_TIP;
      CopyText(*tip, data.szTip);
    }
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }
  bool Delete(WindowHandle owner, std::uint32_t id) override {
    NOTIFYICONDATAW data = Record(owner, id);
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
  }
  bool ShowBalloon(WindowHandle owner, std::uint32_t id, std::u16string_view title, std::u16string_view body,
                   BalloonIcon icon) override {
    NOTIFYICONDATAW data = Record(owner, id);
    data.uFlags = NIF_INFO;
    CopyText(title, data.szInfoTitle);
    CopyText(body, data.szInfo);
    data.dwInfoFlags = static_cast<DWORD>(icon);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }

 private:
  static NOTIFYICONDATAW Record(WindowHandle owner, std::uint32_t id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = ToHwnd(owner);
    data.uID = id;
    return data;
  }
  template <std::size_t N>
  static void CopyText(std::u16string_view text, wchar_t (&field)[N]) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), n, field);
    field[n] = L'\0';
  }
};

class Win32Processes final : public ProcessSnapshots {
 public:
  std::vector<RunningProcess> Take() override {
    std::vector<RunningProcess> list;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
      list.push_back({FromWide(entry.szExeFile), FullPath(entry.th32ProcessID)});
    }
    CloseHandle(snapshot);
    return list;
  }

 private:
  static std::u16string FullPath(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return {};
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return ok ? FromWide(std::wstring_view(path, size)) : std::u16string();
  }
};

}  // namespace

void InstallWin32DesktopServices() {
  SetWindows(std::make_shared<Win32Windows>());
  SetDesktop(std::make_shared<Win32Desktop>());
  SetTray(std::make_shared<Win32Tray>());
  SetProcesses(std::make_shared<Win32Processes>());
}

}  // namespace parlavent
