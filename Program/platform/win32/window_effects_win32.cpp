// Window shapes, transparency and the cursor over user32 and gdi32.
#include <windows.h>

#include "platform/win32/win32_services.h"
#include "platform/window_effects.h"

namespace parlavent {
namespace {

class Win32Effects final : public WindowEffects {
 public:
  bool WindowSize(WindowHandle window, long& width, long& height) override {
    RECT r{};
    width = height = 0;
    if (!GetWindowRect(ToHwnd(window), &r)) return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    return true;
  }
  void SetTransparency(WindowHandle window, std::int32_t level) override {
    const HWND hwnd = ToHwnd(window);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(level), LWA_ALPHA);
  }
  void SetRegion(WindowHandle window, const std::vector<Rect>& rects) override {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const Rect& r : rects) {
      HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
      CombineRgn(region, region, part, RGN_OR);
      DeleteObject(part);
    }
    // From here on the region belongs to the window; it is freed only when Windows refuses it.
    if (!SetWindowRgn(ToHwnd(window), region, TRUE)) DeleteObject(region);
  }
  void Repaint(WindowHandle window) override { RedrawWindow(ToHwnd(window), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
  void SetCursor(std::uintptr_t cursor) override { ::SetCursor(reinterpret_cast<HCURSOR>(cursor)); }
};

}  // namespace

void InstallWin32WindowEffects() { SetEffects(std::make_shared<Win32Effects>()); }

}  // namespace parlavent
