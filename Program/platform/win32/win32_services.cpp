#include "platform/win32/win32_services.h"

#include <commdlg.h>
#include <algorithm>
#include <olectl.h>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/help_viewer.h"
#include "platform/win32/file_mapping_win32.h"
#include "platform/win32/input_hooks.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/win32/picture_win32.h"

namespace parlavent {
namespace {

void (*gBeforeEndNow)() = nullptr;

class Win32CodePage final : public CodePage {
 public:
  explicit Win32CodePage(unsigned id) : id_(id) {}
  unsigned Id() const override { return id_; }

  std::u16string Decode(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(id_, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(id_, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return FromWide(out);
  }

  std::string Encode(std::u16string_view text, bool* lossless) const override {
    if (lossless) *lossless = true;
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    BOOL usedDefault = FALSE;
    BOOL* usedPtr = (id_ == CP_UTF8 || id_ == CP_UTF7) ? nullptr : &usedDefault;
    const int n = WideCharToMultiByte(id_, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, usedPtr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0) WideCharToMultiByte(id_, 0, wide, static_cast<int>(text.size()), out.data(), n, "?", usedPtr);
    if (lossless) *lossless = !usedDefault;
    return out;
  }

 private:
  unsigned id_;
};

class Win32Input final : public InputDevice {
 public:
  bool IsAsyncKeyDown(int vk) override { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
  std::uint32_t PressCount(int vk) override {
    StartInputHooks();
    return HookedPressCount(vk);
  }
  std::vector<KeyChange> ChangesSince(int vk, std::uint32_t after) override {
    StartInputHooks();
    return HookedChanges(vk, after);
  }
  bool IsKeyDown(int vk) override { return (GetKeyState(vk) & 0x8000) != 0; }
  Point CursorPos() override {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
  }
  Point TwipsPerPixel() override {
    HDC dc = GetDC(nullptr);
    const int dpiX = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    const int dpiY = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return {1440 / (dpiX > 0 ? dpiX : 96), 1440 / (dpiY > 0 ? dpiY : 96)};
  }
  bool IsMouseSwapped() override { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }
  void SendMouseLeftUp() override { mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0); }
  std::int32_t KeyboardLayoutOf(WindowHandle window) override {
    const DWORD thread = window ? GetWindowThreadProcessId(ToHwnd(window), nullptr) : 0;
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(GetKeyboardLayout(thread)));
  }
  bool WindowRect(WindowHandle window, Rect& rect) override {
    RECT r{};
    if (!window || !GetWindowRect(ToHwnd(window), &r)) return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
  }
};

class Win32Sampler final : public ScreenSampler {
 public:
  bool Open(Point screen) override {
    Close();
    window_ = WindowFromPoint(POINT{screen.x, screen.y});
    if (!window_) return false;
    RECT r{};
    GetWindowRect(window_, &r);
    origin_ = {r.left, r.top};
    dc_ = GetWindowDC(window_);
    return dc_ != nullptr;
  }
  Colour PixelAt(Point screen) override {
    return dc_ ? GetPixel(dc_, screen.x - origin_.x, screen.y - origin_.y) : CLR_INVALID;
  }
  void Close() override {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
    window_ = nullptr;
  }
  ~Win32Sampler() override { Close(); }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  Point origin_;
};

class Win32Colours final : public ColourService {
 public:
  bool TranslateColour(Colour colour, Colour& translated) override {
    COLORREF out = 0;
    if (OleTranslateColor(colour, nullptr, &out) != S_OK) return false;
    translated = out;
    return true;
  }
  bool ChooseColour(WindowHandle owner, Colour initial, Colour& chosen) override {
    COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = ToHwnd(owner);
    cc.rgbResult = initial;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) return false;
    chosen = cc.rgbResult;
    return true;
  }
};

// The runtime timer reads local time.
class LocalClock final : public Clock {
 public:
  double Timer() override {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
  }
};

class Win32Process final : public ProcessServices {
 public:
  // The arguments only: the first token (the program, quoted or not) and the blanks after it go.
  std::u16string CommandLine() override {
    const std::wstring_view all = GetCommandLineW();
    std::size_t i = 0;
    if (!all.empty() && all[0] == L'"') {
      const std::size_t close = all.find(L'"', 1);
      i = close == std::wstring_view::npos ? all.size() : close + 1;
    } else {
      while (i < all.size() && all[i] != L' ' && all[i] != L'\t') ++i;
    }
    while (i < all.size() && (all[i] == L' ' || all[i] == L'\t')) ++i;
    return FromWide(all.substr(i));
  }
  void EndNow() override {
    if (gBeforeEndNow) gBeforeEndNow();
    StopInputHooks();
    ExitProcess(0);
  }
  std::u16string DecimalSeparator() override {
    wchar_t buffer[8] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8);
    return n > 1 ? FromWide(std::wstring_view(buffer, static_cast<std::size_t>(n - 1))) : u".";
  }
};

}  // namespace

void RunBeforeEndNow(void (*before)()) { gBeforeEndNow = before; }

std::unique_ptr<CodePage> MakeCodePage(unsigned id) {
  CPINFO info{};
  if (GetCPInfo(id, &info)) return std::make_unique<Win32CodePage>(id);
  return MakeBuiltinCodePage(id);
}

bool UnderWine() {
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
  }();
  return wine;
}

void InstallWin32Services() {
  SetAnsiCodePage(std::make_shared<Win32CodePage>(GetACP()));
  SetInput(std::make_shared<Win32Input>());
  SetSampler(std::make_shared<Win32Sampler>());
  SetColours(std::make_shared<Win32Colours>());
  SetClock(std::make_shared<LocalClock>());
  SetPictureLoader(MakeWin32PictureLoader());
  InstallWin32FileMapper();
  InstallWin32SystemServices();
  InstallWin32DesktopServices();
  SetProcess(std::make_shared<Win32Process>());
  InstallWin32WindowEffects();
  SetHelpViewer(MakeWin32HelpViewer());
}

}  // namespace parlavent
