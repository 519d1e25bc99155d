#pragma once
// What the application object asks of its windows: the main window frmMain, the copy and busy
// indicators (the busy one as the look-up declares it, dictionary/busy_indicator.h) and the
// progress window. The shell makes them as Win32 windows; tests use fakes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "dictionary/busy_indicator.h"
#include "platform/geometry.h"
#include "platform/timer_control.h"

namespace parlavent {

class RichTextBox;
class clsLink;

/// Tray icons of the main window, by number on the window that owns them.
constexpr std::uint32_t kMainTrayIcon = 1;
constexpr std::uint32_t kSpkTrayIcon = 2;
constexpr std::uint32_t kKeybTrayIcon = 3;

class MainForm {
 public:
  virtual ~MainForm() = default;

  bool ApplIconLoaded = false;                 // the main tray icon has been added
  std::shared_ptr<RichTextBox> txtInput;       // may be null in a form without boxes
  std::shared_ptr<RichTextBox> txtOutPut;
  std::shared_ptr<clsLink> clsLinkText;        // link layer of txtOutPut

  virtual WindowHandle hWnd() = 0;
  /// The window that owns the tray icons and receives their events.
  virtual WindowHandle TrayOwner() = 0;
  virtual TimerControl& tmrUserEvents() = 0;
  virtual TimerControl& tmrEnabled() = 0;
  virtual TimerControl& tmrMsg() = 0;

  /// Lays the window out for its current size.
  virtual void Form_Resize() = 0;
  virtual void RefreshEnabled() = 0;
  /// Mode button, tray picture and tip follow Setting.AutoOn.
  virtual void RefreshMode(bool showTT) = 0;
  /// Adds the main tray icon when Setting.SysTray is on and it is not there yet, then refreshes
  /// its picture and, when given, its tip.
  virtual void RefreshIcon(const std::optional<std::u16string>& tip = std::nullopt) = 0;
  virtual void DeleteIcon() = 0;
  /// Hides the entries of the menu bar that serve only as popup menus.
  virtual void HideMenuBar() = 0;
  /// Shows or hides the test menu items.
  virtual void ShowTestMenus(bool visible) = 0;
  /// Opens the quick-reference page of the program folder.
  virtual void mnuPam_Click() = 0;
  /// The exit command: Appl.CloseMe with terminate.
  virtual void mnuExit_Click() = 0;
  /// Destroys the window; its timers stop.
  virtual void Unload() = 0;
};

/// The copy indicator beside the pointer.
class CopyIndicator {
 public:
  virtual ~CopyIndicator() = default;
  virtual void ShowCursor() = 0;
  virtual void Unload() = 0;
};

/// The progress window of long scans.
class ProgressForm {
 public:
  virtual ~ProgressForm() = default;
  virtual void SetCaption(std::u16string_view text) = 0;
  virtual void SetText(std::u16string_view text) = 0;
  /// Bar at (a - b) / c of the whole; c = 0 leaves bar and caption as they were.
  virtual void SetVal(double a, double b, double c) = 0;
  /// Shows the window without making it modal.
  virtual void Show() = 0;
  /// Repaints at once (long scans do not return to the message loop).
  virtual void Refresh() {}
  virtual void Unload() = 0;
};

/// Makes the program's windows; each is made once, on first use.
class FormLoader {
 public:
  virtual ~FormLoader() = default;
  virtual std::shared_ptr<MainForm> LoadMain() = 0;
  virtual std::shared_ptr<CopyIndicator> LoadCopy() = 0;
  virtual std::shared_ptr<BusyIndicator> LoadBusy() = 0;
  virtual std::shared_ptr<ProgressForm> LoadProgress() = 0;
};

}  // namespace parlavent
