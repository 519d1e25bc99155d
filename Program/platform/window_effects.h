#pragma once
// Window shapes, transparency and the cursor, as the shared interface helpers use them. The
// shell installs the Win32 implementation; natively a quiet default stands in (windows have no
// size, nothing changes) and tests install fakes.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/geometry.h"

namespace parlavent {

class WindowEffects {
 public:
  virtual ~WindowEffects() = default;
  /// The window's width and height in pixels; false when there is no such window.
  virtual bool WindowSize(WindowHandle window, long& width, long& height) = 0;
  /// The whole window at level 0 (invisible) .. 255 (opaque), without a colour key.
  virtual void SetTransparency(WindowHandle window, std::int32_t level) = 0;
  /// The window's region becomes the union of rects (window coordinates) and is redrawn.
  virtual void SetRegion(WindowHandle window, const std::vector<Rect>& rects) = 0;
  /// Repaints the window at once.
  virtual void Repaint(WindowHandle window) = 0;
  /// Makes the cursor of that handle the current one (SetCursor).
  virtual void SetCursor(std::uintptr_t cursor) = 0;
};

WindowEffects& Effects();
/// Installs a service (nullptr restores the quiet default).
void SetEffects(std::shared_ptr<WindowEffects> effects);

}  // namespace parlavent
