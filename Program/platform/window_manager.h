#pragma once
// Top-level window operations the core asks of the system, on window handles. The shell installs
// the Win32 implementation; natively a quiet default stands in (no window exists) and tests
// install fakes.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/geometry.h"

namespace parlavent {

// Insert-after handles and flags of SetWindowPos, with the values Windows gives them.
constexpr WindowHandle kHwndTop = 0;
constexpr WindowHandle kHwndTopMost = static_cast<WindowHandle>(-1);
constexpr WindowHandle kHwndNoTopMost = static_cast<WindowHandle>(-2);
constexpr unsigned kSwpNoSize = 0x1;
constexpr unsigned kSwpNoMove = 0x2;
constexpr unsigned kSwpNoActivate = 0x10;
constexpr unsigned kSwpShowWindow = 0x40;

constexpr long kWsExTopMost = 0x8;
constexpr long kWsExLayered = 0x80000;
constexpr unsigned kLwaColorKey = 1;
constexpr unsigned kLwaAlpha = 2;

/// Window states as the runtime numbers them.
constexpr int kStateNormal = 0;
constexpr int kStateMinimized = 1;
constexpr int kStateMaximized = 2;

class WindowManager {
 public:
  virtual ~WindowManager() = default;
  /// The window's screen rectangle (GetWindowRect); false when there is no such window.
  virtual bool GetRect(WindowHandle window, Rect& rect) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  /// kStateNormal, kStateMinimized or kStateMaximized.
  virtual int State(WindowHandle window) = 0;
  virtual bool SetPos(WindowHandle window, WindowHandle insertAfter, long x, long y, long cx, long cy,
                      unsigned flags) = 0;
  /// Shows (true) or hides (false) the window without activating anything else.
  virtual void Show(WindowHandle window, bool show) = 0;
  virtual long ExStyle(WindowHandle window) = 0;
  virtual void SetExStyle(WindowHandle window, long style) = 0;
  virtual bool SetLayeredAttributes(WindowHandle window, Colour key, int alpha, unsigned flags) = 0;
  /// Gives the window the region of the picture on the device context that differs from key.
  virtual void SetRegionFromPicture(WindowHandle window, Colour key, std::uintptr_t deviceContext) = 0;
  virtual WindowHandle Parent(WindowHandle window) = 0;
  virtual WindowHandle Desktop() = 0;
  /// Releases the mouse capture and lets the window be dragged as by its caption.
  virtual void StartDrag(WindowHandle window) = 0;
  /// The class name (GetClassName, at most 255 characters); "" when it fails.
  virtual std::u16string ClassName(WindowHandle window) = 0;
  /// The window's title (GetWindowText).
  virtual std::u16string Text(WindowHandle window) = 0;
  /// The text a control reports through WM_GETTEXT; works on controls of other processes.
  virtual std::u16string ControlText(WindowHandle window) = 0;
};

WindowManager& Windows();
/// Installs the service (nullptr restores the quiet default).
void SetWindows(std::shared_ptr<WindowManager> windows);

}  // namespace parlavent
