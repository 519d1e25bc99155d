#pragma once
// frmMain: the program's main window. It owns the controls (input, output and back-translation
// boxes, info line, command and dictionary toolbars, alphabet and keyboard buttons, the popup
// menu), the tray icon and the timers, and routes their events to its behaviour
// (app/main_window_core.h). Closing it hides it to the tray.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/main_window_core.h"
#include "platform/win32/window_base.h"
#include "platform/win32/window_timer.h"

namespace parlavent {

class RichEditBox;
class ToolbarControl;

class frmMain : public WindowBase, public MainForm, public MainWindowShell, public MainMenus {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventMainWindow";
  /// The tray icons' callback message; lParam carries the mouse message.
  static constexpr UINT kTrayMessage = WM_APP + 1;
  // Command ids: menu items are kMenuBase + MenuItem, dictionary items kDicBase + n.
  static constexpr UINT kMenuBase = 1000;
  static constexpr UINT kDicBase = 1100;
  static constexpr int kTB1Base = 300;
  static constexpr int kTbDicBase = 400;

  frmMain();
  ~frmMain() override;

  /// Creates the window hidden, with its controls and timers, where it stood last time.
  bool Load(HINSTANCE instance);

  /// The capture poll of tmrUserEvents (installed by the capture subsystem).
  std::function<void()> CheckEvent;
  MainWindowCore& Core() { return *core_; }
  ToolbarControl* TB1() { return tb1_.get(); }
  ToolbarControl* tbDic() { return tbDic_.get(); }

  // MainForm
  WindowHandle hWnd() override;
  WindowHandle TrayOwner() override { return hWnd(); }
  TimerControl& tmrUserEvents() override { return tmrUserEvents_; }
  TimerControl& tmrEnabled() override { return tmrEnabled_; }
  TimerControl& tmrMsg() override { return tmrMsg_; }
  void Form_Resize() override;
  void RefreshEnabled() override;
  void RefreshMode(bool showTT) override;
  void RefreshIcon(const std::optional<std::u16string>& tip = std::nullopt) override;
  void DeleteIcon() override;
  void HideMenuBar() override {}
  void ShowTestMenus(bool visible) override;
  void mnuPam_Click() override;
  void mnuExit_Click() override;
  void Unload() override;

  // MainWindowShell
  bool Visible() override;
  void SetCaption(std::u16string_view caption) override;
  bool CursorOverInput() override;
  void SetAbcVisible(bool visible) override;
  void SetAbcEnabled(bool enabled) override;
  void SetKeybEnabled(bool enabled) override;
  void SetAbcToolTip(std::u16string_view tip) override;
  void ShowExpArrows(bool open) override;
  void SetTrayPicture(bool autoOn) override;
  void SetTopMost() override;
  void SendDownToOutput() override;
  void HideOutputCaret() override;
  void DoEvents() override;
  bool CtrlHeld() override;
  void PopupMainMenu(const MainMenuState& state) override;
  void PopupEditMenu() override;
  void OutputPixels(std::int32_t& width, std::int32_t& height) override;
  void Wait(bool on) override;

  // MainMenus
  void SetCaption(MenuItem item, std::u16string_view caption) override;
  void SetVisible(MenuItem item, bool visible) override;
  void ClearDics() override;
  void AddDic(std::int32_t tag, std::u16string_view caption) override;
  std::int32_t DicCount() override { return static_cast<std::int32_t>(dicItems_.size()); }
  std::int32_t DicTag(std::int32_t n) override;
  void SetDic(std::int32_t n, std::u16string_view caption, bool checked, bool visible) override;
  void SetDicSeparatorVisible(bool visible) override { dicSeparator_ = visible; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct MenuEntry {
    UINT id = 0;
    std::u16string caption;
    bool visible = true;
    bool checked = false;
    bool enabled = true;
    std::int32_t tag = 0;
  };
  static constexpr UINT kOutputFocused = WM_APP + 3;  // the output box has handled its focus
  static constexpr UINT kShown = WM_APP + 4;          // the window has been shown
  static constexpr UINT kRaiseOwned = WM_APP + 5;     // it and its owned windows are drawn on top again
  void CreateControls(HINSTANCE instance);
  /// While Wait is on: the hourglass for a WM_SETCURSOR, true.
  bool KeepBusyCursor();
  void RouteBoxes();
  void OnTimer(UINT_PTR id);
  void OnCommand(UINT id, UINT code, HWND control);
  LRESULT OnNotify(const NMHDR& header);
  void OnMinMax(MINMAXINFO& info);
  /// Places the info line in its room of the bottom strip, as high as its text needs.
  void PlaceInfo();
  HMENU BuildMenu(const std::vector<MenuItem>* only = nullptr);
  /// Pops menu up at `at`; with keepClear it does not cover that rectangle.
  void TrackMenu(HMENU menu, const POINT& at, UINT flags, const RECT* keepClear = nullptr);
  MenuEntry* Entry(MenuItem item);

  std::shared_ptr<MainWindowCore> core_;
  std::shared_ptr<RichEditBox> input_, output_, backTrans_, info_;
  std::unique_ptr<ToolbarControl> tb1_, tbDic_;
  HWND cmdAbc_ = nullptr, cmdKeyb_ = nullptr, pctExp0_ = nullptr, pctExp1_ = nullptr, tooltip_ = nullptr;
  std::wstring abcTip_;  // the abc button's tip, handed out while tips are wanted
  WindowTimer tmrUserEvents_, tmrEnabled_, tmrMsg_, tmrChangeInput_, tmrInfoClear_, tmrEscUsedClear_, tmrModeMsg_,
      tmrBackTrans_, tmrPasteSpkSrc_, tmrProcess_, tmrToolTip_, tmrSpkHide_, tmrLearner_, tmrDockKeyb_, tmrPunto_;
  HICON trayIcon_ = nullptr;
  HICON trayIconAuto_ = nullptr;
  HICON currentTrayIcon_ = nullptr;
  HFONT font_ = nullptr;
  UINT taskbarCreated_ = 0;
  std::vector<MenuEntry> menu_;
  std::vector<MenuEntry> dicItems_;
  bool dicSeparator_ = false;
  bool inputFocused_ = false;
  bool busy_ = false;  // Wait is on
  HWND lastForeground_ = nullptr;  // the foreground window SetTopMost saw last
  bool menuOpen_ = false;          // one of its menus is open: no tips
  Place infoPlace_;     // the info line's room in the bottom strip
  int infoNeeded_ = 16;  // the height its text asks for
};

/// "Parlavent " & major & "." & minor, from the program's version.
std::u16string MainCaption();

}  // namespace parlavent
