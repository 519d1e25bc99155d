#pragma once
// The main window's behaviour: what its boxes, toolbars, menus, tray icons and timers do. The
// window (app/win32/main_window.h) owns the controls and routes their events here; tests drive it
// with fakes. What it asks of the neighbours goes through the application object's operations.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/popup_menu.h"
#include "app/view_host.h"
#include "platform/geometry.h"

namespace parlavent {

class RichTextBox;
class Toolbar;
class TimerControl;
class clsLink;

/// The popup menus mnuMain, mnuMenu, mnuEdit and mnuDic with the dictionary items mnuDics.
class MainMenus {
 public:
  virtual ~MainMenus() = default;
  virtual void SetCaption(MenuItem item, std::u16string_view caption) = 0;
  virtual void SetVisible(MenuItem item, bool visible) = 0;
  /// Unloads the dictionary items 1 .. n and hides the separator above them.
  virtual void ClearDics() = 0;
  /// Dictionary item n (1-based) with Tag = the dictionary's Index.
  virtual void AddDic(std::int32_t tag, std::u16string_view caption) = 0;
  virtual std::int32_t DicCount() = 0;
  virtual std::int32_t DicTag(std::int32_t n) = 0;
  virtual void SetDic(std::int32_t n, std::u16string_view caption, bool checked, bool visible) = 0;
  virtual void SetDicSeparatorVisible(bool visible) = 0;
};

/// The window itself as its behaviour needs it.
class MainWindowShell {
 public:
  virtual ~MainWindowShell() = default;
  virtual bool Visible() = 0;
  virtual void SetCaption(std::u16string_view caption) = 0;
  virtual bool CursorOverInput() = 0;
  virtual void SetAbcVisible(bool visible) = 0;
  virtual void SetAbcEnabled(bool enabled) = 0;
  virtual void SetKeybEnabled(bool enabled) = 0;
  virtual void SetAbcToolTip(std::u16string_view tip) = 0;
  /// The back-translation arrows: item 0 shown when open, item 1 when closed.
  virtual void ShowExpArrows(bool open) = 0;
  /// The tray picture for auto mode on (imgIcon 1) or off (imgIcon 0).
  virtual void SetTrayPicture(bool autoOn) = 0;
  virtual void SetTopMost() = 0;
  /// Sends a Down key to the output box as if typed.
  virtual void SendDownToOutput() = 0;
  virtual void HideOutputCaret() = 0;
  /// Processes pending window messages.
  virtual void DoEvents() = 0;
  /// Whether the Ctrl key is held now.
  virtual bool CtrlHeld() = 0;
  /// The window's own popup menu at the pointer, while no popup-menu service is installed.
  /// mnuMain as the popup-menu service prepared it, at TB1's "Menu" button or at the pointer.
  virtual void PopupMainMenu(const MainMenuState& state) = 0;
  /// mnuEdit at the pointer.
  virtual void PopupEditMenu() = 0;
  virtual void OutputPixels(std::int32_t& width, std::int32_t& height) = 0;
  /// The hourglass pointer on or off.
  virtual void Wait(bool on) = 0;
};

/// The main window's timers that the behaviour arms and ticks.
struct MainTimers {
  TimerControl* tmrChangeInput = nullptr;
  TimerControl* tmrInfoClear = nullptr;
  TimerControl* tmrEscUsedClear = nullptr;
  TimerControl* tmrModeMsg = nullptr;
  TimerControl* tmrBackTrans = nullptr;
  TimerControl* tmrPasteSpkSrc = nullptr;
  TimerControl* tmrToolTip = nullptr;
  TimerControl* tmrSpkHide = nullptr;
  TimerControl* tmrLearner = nullptr;
};

struct MainControls {
  std::shared_ptr<RichTextBox> txtInput;
  std::shared_ptr<RichTextBox> txtOutPut;
  std::shared_ptr<RichTextBox> txtBackTrans;
  std::shared_ptr<RichTextBox> lblInfo;
  std::shared_ptr<clsLink> clsLinkText;
  std::shared_ptr<clsLink> clsLinkBackTrans;
  Toolbar* TB1 = nullptr;
  Toolbar* tbDic = nullptr;
  MainMenus* menus = nullptr;
  MainWindowShell* shell = nullptr;
  MainTimers timers;
};

/// Where the main window's controls go for a client area of W x H pixels.
struct MainLayoutInput {
  std::int32_t W = 0, H = 0;
  std::int32_t border = 4;          // Setting.Border
  std::int32_t bottomH = 0;         // Setting.BottomH
  std::int32_t tb1Width = 0, tb1Height = 0;
  std::int32_t tbDicWidth = 0;
  std::int32_t keybWidth = 0, keybHeight = 0;
  std::int32_t abcWidth = 0;
  std::int32_t inputFrameHeight = 22;
  bool backTransOpen = false;
  double fontPoints = 10;           // Setting.GFont's size
};

/// A control's place: left, top, width and height in pixels of its container.
struct Place {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
};

struct MainLayout {
  Place tb0, toolbar1, tbDic, cmdKeyb, inputFrame, txtInput, tb1, lblInfo, pctTB, outputFrame, cmdAbc;
  Place txtOutPut, txtBackTrans, exp;  // inside the output frame
  std::int32_t lineTop = 0;           // the separator above the back-translation pane
  bool backTransVisible = false;
};

MainLayout ComputeMainLayout(const MainLayoutInput& in);

/// The most the input box holds (docs/architecture.md, "The input box").
inline constexpr std::size_t kInputBoxMax = 1000;
/// What the input box keeps of text: no control characters but line breaks and tabs, and at most
/// kInputBoxMax characters; cut tells whether the end was dropped.
std::u16string InputBoxText(std::u16string_view text, bool& cut);

class MainWindowCore : public ViewHost {
 public:
  explicit MainWindowCore(MainControls controls);
  ~MainWindowCore() override;

  const MainControls& Controls() const { return c_; }

  // ViewHost
  std::shared_ptr<RichTextBox> InputBox() override { return c_.txtInput; }
  std::shared_ptr<RichTextBox> OutputBox() override { return c_.txtOutPut; }
  clsLink* OutputLinks() override { return c_.clsLinkText.get(); }
  void HideOutputCaret() override;
  void OutputBoxPixels(std::int32_t& width, std::int32_t& height) override;
  void Wait(bool on) override;
  void Info(std::u16string_view text, bool autoHide) override;
  void InfoClear() override;
  void ShowBackTrans(std::u16string_view text, bool caption) override;
  void EnableToolbarButton(std::u16string_view key, bool enabled) override;
  void StartBackTransTimer(std::u16string_view text) override;
  void StartEscUsedClearTimer() override;
  void ShowTrans(std::u16string_view text, const ShowTransArgs& args) override;
  void StopSpeak() override;
  void CopyText(std::u16string_view text, bool show) override;
  std::u16string BrowseForFolder(std::u16string_view title) override;
  std::shared_ptr<RichTextBox> InfoLine() override { return c_.lblInfo; }
  TimerControl* InfoTimer() override { return c_.timers.tmrInfoClear; }
  std::shared_ptr<RichTextBox> BackTransBox() override { return c_.txtBackTrans; }
  clsLink* BackTransLinks() override { return c_.clsLinkBackTrans.get(); }
  Toolbar* MainToolbar() override { return c_.TB1; }
  void PopupMainMenu(const MainMenuState& state) override;
  void PopupEditMenu() override;
  void RestartToolTipTimer() override;
  void CloseLinkHint() override;
  void SetBusyPointer(bool on) override;

  /// Makes this the view host and the dictionary engine's main-window services of Appl.
  static void Install(const std::shared_ptr<MainWindowCore>& core);

  // Load, refresh and localisation.
  void Form_Load();
  void LocalizeMe();
  void RefreshBTB() override;
  void RefreshEnabled();
  void RefreshMode();
  void LoadDicButtons();
  void RefreshDicButtons();

  // Box events; a handler returning true consumed the key.
  void txtInput_Change();
  void txtInput_GotFocus();
  void txtInput_Click();
  bool txtInput_KeyDown(int keyCode, int shift);
  /// A paste of the clipboard's text into the input box, by the keys or the edit menu.
  void txtInput_Paste(std::u16string_view clipboard);
  /// The output box got new content: a link hint of what it showed before goes.
  void txtOutPut_Change();
  void txtOutPut_GotFocus();
  void txtOutPut_SelChange();
  bool txtOutPut_KeyDown(int keyCode, int shift);
  bool txtOutPut_KeyPress(char16_t ch, int shift);
  void txtOutPut_KeyUp(int keyCode, int shift);
  void txtBackTrans_GotFocus();
  void Form_KeyUp(int keyCode, int shift);

  // Toolbars, buttons and menus.
  void TB1_ButtonClick(std::u16string_view key);
  void tbDic_ButtonClick(std::u16string_view key);
  void cmdAbc_Click();
  void cmdKeyb_Click();
  void cmdHide_Click();
  void pctExp_Click();
  void MenuClick(MenuItem item);
  void mnuDics_Click(std::int32_t n);
  /// The current dictionary's list of the input text, or its alphabet when the input is empty.
  void ShowDictionaryView();
  void TranslateInput();
  void TranslateClipboard();
  void ShowMainMenu(bool fromForm);
  void CopySelection();
  void CmdSpeak_click();

  // Tray icons: the mouse message the icon reported.
  void picNotifier_MouseMove(std::int32_t message, bool eventsRunning);
  void picSpkNotifier_MouseMove(std::int32_t message);
  void picKeybNotifier_MouseMove(std::int32_t message);

  // Timer ticks.
  void tmrEnabled_Timer();
  void tmrChangeInput_Timer();
  void tmrInfoClear_Timer();
  void tmrEscUsedClear_Timer();
  void tmrModeMsg_Timer();
  void tmrBackTrans_Timer();
  void tmrPasteSpkSrc_Timer();
  void tmrProcess_Timer();
  void tmrToolTip_Timer();
  void tmrSpkHide_Timer();
  void tmrLearner_Timer();
  void tmrPunto_Timer();
  /// Keeps a docked on-screen keyboard below the window (main: the window's own rectangle).
  void tmrDockKeyb_Timer(const Rect& main);

  /// The box that last had the focus: 0 none, 1 input, 2 output.
  int FocusBox() const { return focusBox_; }
  std::u16string BackTransTag;  // tmrBackTrans's Tag
  std::u16string InputTag;      // txtInput's Tag: "0" keeps the placeholder on focus

 private:
  class OutputKeys;
  bool OutputInLineMode() const;
  void RestartChangeInput();
  std::u16string InputText();
  /// The look-up finds a phrase at the start of the typed text in the current dictionary or
  /// its common package.
  bool TypedTextFound();

  MainControls c_;
  int focusBox_ = 0;
  bool lineSelectOff_ = false;   // the input handler is clearing the output selection
  bool listLineChosen_ = false;  // the output box had the focus since the input last changed
  bool abcHover_ = false;        // the cursor was over the input box at the last tick
  struct TrayFlags {
    bool busy = false;
    std::int32_t last = 0;
  } main_, spk_, keyb_;
  double lastClick_ = 0;
  Rect lastMain_;
};

}  // namespace parlavent
