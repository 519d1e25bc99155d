#pragma once
// frmMain: the program's main window. For now it holds the input and output boxes, the tray
// icon with its menu, and the timers that start-up, shut-down and the hand-over between copies
// switch; closing it hides it to the tray.
#include <functional>
#include <memory>

#include "app/main_form.h"
#include "platform/win32/window_base.h"
#include "platform/win32/window_timer.h"

namespace parlavent {

class RichEditBox;

class frmMain : public WindowBase, public MainForm {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventMainWindow";
  /// The tray icons' callback message; lParam carries the mouse message.
  static constexpr UINT kTrayMessage = WM_APP + 1;
  // Commands of the tray menu.
  static constexpr UINT kCmdShow = 101;
  static constexpr UINT kCmdHide = 102;
  static constexpr UINT kCmdExit = 103;

  frmMain();
  ~frmMain() override;

  /// Creates the window hidden, with its boxes and timers, where it stood last time.
  bool Load(HINSTANCE instance);

  /// The capture poll of tmrUserEvents (installed by the capture subsystem).
  std::function<void()> CheckEvent;

  WindowHandle hWnd() override;
  WindowHandle TrayOwner() override { return hWnd(); }
  TimerControl& tmrUserEvents() override { return tmrUserEvents_; }
  TimerControl& tmrEnabled() override { return tmrEnabled_; }
  TimerControl& tmrMsg() override { return tmrMsg_; }
  void Form_Resize() override;
  void RefreshEnabled() override {}
  void RefreshMode(bool showTT) override;
  void RefreshIcon(const std::optional<std::u16string>& tip = std::nullopt) override;
  void DeleteIcon() override;
  void HideMenuBar() override {}
  void ShowTestMenus(bool visible) override { testMenus_ = visible; }
  void mnuPam_Click() override;
  void mnuExit_Click() override;
  void Unload() override;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnTimer(UINT_PTR id);
  void OnTrayNotify(UINT mouseMessage);
  void ShowTrayMenu();
  void OnCommand(UINT id);

  WindowTimer tmrUserEvents_;
  WindowTimer tmrEnabled_;
  WindowTimer tmrMsg_;
  HICON trayIcon_ = nullptr;
  UINT taskbarCreated_ = 0;
  bool testMenus_ = false;
};

/// "Parlavent " & major & "." & minor, from the program's version.
std::u16string MainCaption();

}  // namespace parlavent
