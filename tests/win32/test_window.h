#pragma once
// A plain top-level window for Win32 tests, painted by a callback.
#include <functional>

#include "platform/win32/window_base.h"

namespace parlavent::testing {

class TestWindow : public WindowBase {
 public:
  std::function<void(HDC, const RECT&)> paint;
  std::function<void(const NMHDR&)> notify;

  /// Creates and shows a borderless topmost window at the screen rectangle, then paints it.
  bool Open(int x, int y, int width, int height) {
    CreateArgs args;
    args.className = L"ParlaventTestWindow";
    args.style = WS_POPUP | WS_VISIBLE;
    args.exStyle = WS_EX_TOPMOST;
    args.x = x;
    args.y = y;
    args.width = width;
    args.height = height;
    if (!Create(args)) return false;
    SetWindowPos(hwnd(), HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    Pump();
    return true;
  }

  /// Delivers pending messages for a while, so the window is really on the screen.
  static void Pump(int milliseconds = 300) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG msg;
    while (GetTickCount() < end) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(10);
    }
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT rc;
      GetClientRect(hwnd(), &rc);
      if (paint) paint(dc, rc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_NOTIFY && notify) notify(*reinterpret_cast<const NMHDR*>(lp));
    return WindowBase::OnMessage(msg, wp, lp);
  }
};

}  // namespace parlavent::testing
