#pragma once
// What the word lists, the alphabet, the view history, the interface helpers and the ending
// scanner ask of the main window and of the neighbouring subsystems. The main window installs its
// own in Appl::Views; without one the quiet default stands in (no boxes, nothing shown, nothing
// chosen), and tests install a recording fake (tests/support/fake_view_host.h).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/main_form.h"

namespace parlavent {

class RichTextBox;
class clsLink;
class TimerControl;
class Toolbar;
struct MainMenuState;

/// The arguments of Appl.ShowTrans besides the text, with the values the callers leave out.
struct ShowTransArgs {
  bool OnForm = false;
  bool Typed = false;
  bool OneWord = false;
  bool RepeatTrans = false;
  bool SamePos = false;
  std::int32_t ExcludedKey = 0;
  bool NoDirection = false;
  bool ClrBuffer = false;
  bool AddStat = false;
  bool FullText = false;
  bool CheckShift = false;
  bool Tochno = false;
  // Where the popup stands (screen pixels) in place of beside the pointer, when both are given.
  std::optional<long> X, Y;
};

/// The look-up options that ShowTrans passes on (dictionary/lookup.h), for the output box or the
/// popup.
struct TranslateArgs LookupArgsOf(const ShowTransArgs& args, bool onForm);

class ViewHost {
 public:
  virtual ~ViewHost() = default;

  // The main window's boxes (txtInput, txtOutPut) and the output box's link layer (clsLinkText);
  // null while the window is not loaded.
  virtual std::shared_ptr<RichTextBox> InputBox() { return nullptr; }
  virtual std::shared_ptr<RichTextBox> OutputBox() { return nullptr; }
  virtual clsLink* OutputLinks() { return nullptr; }
  /// The output box's width and height in pixels.
  virtual void OutputBoxPixels(std::int32_t& width, std::int32_t& height) { width = height = 0; }
  /// HideCaret on the output box's window.
  virtual void HideOutputCaret() {}

  // Appl.Info, Appl.InfoClear, Appl.Wait (hourglass on or off), Appl.ShowBackTrans.
  virtual void Info(std::u16string_view text, bool autoHide) {}
  virtual void InfoClear() {}
  virtual void Wait(bool on) {}
  virtual void ShowBackTrans(std::u16string_view text, bool caption) {}
  /// Enables a button of the main toolbar TB1 by its key ("Back", "Redo").
  virtual void EnableToolbarButton(std::u16string_view key, bool enabled) {}
  /// tmrBackTrans: Tag = text, interval 300 ms, stopped and started again.
  virtual void StartBackTransTimer(std::u16string_view text) {}
  /// tmrEscUsedClear (one shot, 1000 ms) started again: it clears gEscUsed.
  virtual void StartEscUsedClearTimer() {}

  // Operations of the neighbours: Appl.ShowTrans, Appl.StopSpeak, Appl.CopyText.
  virtual void ShowTrans(std::u16string_view text, const ShowTransArgs& args) {}
  virtual void StopSpeak() {}
  virtual void CopyText(std::u16string_view text, bool show) {}

  // The ending scanner's windows: ApiPath.BrowseForFolder ("" when cancelled) and frmProgress.
  virtual std::u16string BrowseForFolder(std::u16string_view title) { return {}; }
  virtual ProgressForm& Progress();

  // The main window's parts that Appl's own services drive (app/main_window_services.cpp, link
  // dispatch, popup menu, help). The real window forwards its Info, InfoClear, ShowBackTrans and
  // ShowTrans above to Appl::Info, Appl::InfoClear, Appl::ShowBackTrans and Appl::ShowTrans.
  /// The info line lblInfo and its clearing timer tmrInfoClear.
  virtual std::shared_ptr<RichTextBox> InfoLine() { return nullptr; }
  virtual TimerControl* InfoTimer() { return nullptr; }
  /// The back-translation pane txtBackTrans and its link layer clsLinkBackTrans.
  virtual std::shared_ptr<RichTextBox> BackTransBox() { return nullptr; }
  virtual clsLink* BackTransLinks() { return nullptr; }
  /// frmMain.RefreshBTB: the pane's button follows Setting.BackTransOpen.
  virtual void RefreshBTB() {}
  /// The main toolbar TB1.
  virtual Toolbar* MainToolbar() { return nullptr; }
  /// Applies state to mnuMain and pops it up: below TB1's "Menu" button, right-aligned, when
  /// state.OnForm; else at the pointer with mnuShow as the default item. Returns when it closes.
  virtual void PopupMainMenu(const MainMenuState& state) {}
  /// Pops the edit menu mnuEdit up at the pointer.
  virtual void PopupEditMenu() {}
  /// tmrToolTip: stopped and started again.
  virtual void RestartToolTipTimer() {}
  /// tmrToolTip stopped and the link hint closed.
  virtual void CloseLinkHint() {}
  /// The screen pointer and that of txtInput and txtOutPut: hourglass with on, else default/arrow.
  virtual void SetBusyPointer(bool on) {}
};

}  // namespace parlavent
