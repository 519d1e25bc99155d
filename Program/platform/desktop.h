#pragma once
// What start-up and shut-down ask of the desktop: another running copy of the program, keyboard
// layouts, double-click time, cursors, drawing freezes, fonts, and the end of the message loop.
// The shell installs the Win32 implementation; natively a quiet default stands in (no other
// copy, one layout, 500 ms, nothing drawn) and tests install fakes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace parlavent {

class Desktop {
 public:
  virtual ~Desktop() = default;
  /// Whether another copy of this program file is running for this user. The first call claims
  /// the program for this process, so a later copy sees this one.
  virtual bool OtherInstanceRunning() = 0;
  /// The handles of the keyboard layouts loaded in the system.
  virtual std::vector<std::intptr_t> KeyboardLayouts() = 0;
  /// The system double-click time in milliseconds.
  virtual int DoubleClickTime() = 0;
  /// A cursor resource of the program; 0 when it has none by that number.
  virtual std::uintptr_t LoadCursorResource(int id) = 0;
  /// Freezes drawing of the window (LockWindowUpdate); 0 releases the freeze.
  virtual void LockWindowUpdate(WindowHandle window) = 0;
  /// The Windows folder without a trailing separator; "" when unknown.
  virtual std::u16string WindowsFolder() = 0;
  /// Makes the font file usable until the system restarts; false when it cannot be loaded.
  virtual bool AddFontFile(std::u16string_view path) = 0;
  /// Tells every top-level window that the font table changed.
  virtual void BroadcastFontChange() = 0;
  /// Ends the message loop of the program (its normal end) with the exit code.
  virtual void EndMessageLoop(int exitCode) = 0;
};

Desktop& TheDesktop();
/// Installs the service (nullptr restores the quiet default).
void SetDesktop(std::shared_ptr<Desktop> desktop);

}  // namespace parlavent
