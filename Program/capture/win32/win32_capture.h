#pragma once
// The capture side on Windows: the clipboard through user32, the hidden clipboard window
// frmClipHook ("parlavent_hook_window", which also takes text runs other programs send it), the
// popup and link hint windows, text taken from other programs' windows (edit and rich-edit
// controls through their messages, elsewhere a simulated copy that gives the user's clipboard
// back), keystrokes into other programs, the folder chooser and the drop target of the main window.
#include <windows.h>
#include <ole2.h>

#include <memory>

#include "app/capture_services.h"
#include "capture/capture.h"

namespace parlavent {

class Appl;

class Win32Capture final : public CaptureServices {
 public:
  Win32Capture();
  ~Win32Capture() override;

  /// Where what the capture side hears goes (the poll, text runs, drops); nowhere without it.
  void SetEvents(std::shared_ptr<CaptureEvents> events);
  /// frmClipHook and the main window's drop target and capture poll; the last step of start-up.
  void Load(Appl& app);
  /// The clipboard window (the owner of what the program puts on the clipboard).
  HWND ClipHookWindow() const;
  class frmTT& Popup();
  class frmToolTip& Hint();

  std::u16string ClipboardText() override;
  bool SetClipboardText(std::u16string_view text) override;
  bool ClipboardHasFormat(WindowHandle owner, std::uint32_t format) override;
  std::vector<std::uint8_t> ClipboardBytes(std::uint32_t format) override;
  bool SetClipboardBytes(std::uint32_t format, const std::vector<std::uint8_t>& bytes) override;
  std::vector<std::u16string> ClipboardFiles() override;
  bool SetClipboardFiles(const std::vector<std::u16string>& files) override;
  void ShowPopupTrans(std::u16string_view text, const ShowTransArgs& args) override;
  void SetPopupPointer(int pointer) override;
  void ShowToolTip(std::u16string_view text) override;
  void CloseToolTip() override;
  void PasteInto(WindowHandle window) override;
  bool DescribeWindow(WindowHandle window, WindowFacts& facts) override;
  std::u16string FileDescription(std::u16string_view exePath) override;
  PollSnapshot Snapshot() override;
  std::u16string TakeText(WindowHandle window, CaptureSource source, Point pointer) override;
  std::u16string ChooseFolder(std::u16string_view title, std::u16string_view start) override;

 private:
  /// The selection of window through a simulated copy that gives the user's clipboard back.
  std::u16string CopySelection(HWND window);
  /// Whether the user's clipboard is back yet, after a change of the clipboard or a while.
  void WatchCopy();
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

/// The main window's drop target: Unicode text dropped on it goes to events' Drop. The caller
/// owns the one reference it returns.
IDropTarget* MakeTextDropTarget(std::shared_ptr<CaptureEvents> events);

/// Installs the capture side on app (Capture, and the hook that loads frmClipHook), handing what
/// it hears to events.
void InstallWin32Capture(Appl& app, std::shared_ptr<CaptureEvents> events);

}  // namespace parlavent
