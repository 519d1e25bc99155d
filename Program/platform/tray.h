#pragma once
// Icons in the notification area and their balloons (Shell_NotifyIcon). An icon is named by its
// owner window and a number; its mouse events come to the owner as callbackMessage with the mouse
// message in lParam. The shell installs the Win32 implementation; natively a quiet default stands
// in (every call fails) and tests install fakes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace parlavent {

/// The balloon's icon, with the values of dwInfoFlags.
enum class BalloonIcon { None = 0, Info = 1, Warning = 2, Error = 3 };

class TrayService {
 public:
  virtual ~TrayService() = default;
  virtual bool Add(WindowHandle owner, std::uint32_t id, std::uint32_t callbackMessage, std::uintptr_t icon) = 0;
  /// Changes the icon, and the tip when one is given.
  virtual bool Modify(WindowHandle owner, std::uint32_t id, std::uintptr_t icon,
                      const std::optional<std::u16string>& tip) = 0;
  virtual bool Delete(WindowHandle owner, std::uint32_t id) = 0;
  /// Shows a balloon at an icon already added; false when there is no such icon.
  virtual bool ShowBalloon(WindowHandle owner, std::uint32_t id, std::u16string_view title, std::u16string_view body,
                           BalloonIcon icon) = 0;
};

TrayService& Tray();
/// Installs the service (nullptr restores the quiet default).
void SetTray(std::shared_ptr<TrayService> tray);

}  // namespace parlavent
