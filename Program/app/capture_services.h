#pragma once
// What the program asks of the text-capture side: the clipboard, the popup translation window,
// the link hint window, keystrokes into other programs, facts about other programs' windows and
// the text under the pointer. The Win32 implementation (capture/win32/) is installed on Appl by
// wWinMain; tests install the fake of tests/support/fake_capture.h. The few operations of the
// capture logic that the main window calls are declared here too; capture/ defines them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/view_host.h"
#include "platform/geometry.h"

namespace parlavent {

/// What the capture knows of a window of another program.
struct WindowFacts {
  std::u16string exePath;    // the program file of the window's process ("" when unknown)
  std::u16string title;      // the window's own title
  std::u16string className;  // its window class
  WindowHandle parent = 0;   // its parent window, 0 for a top-level window
  bool ownProcess = false;   // the window is one of this program's
  WindowHandle owner = 0;    // the window that owns a top-level window (a dialog's), 0 for none
};

/// Where the poll found text to translate.
enum class CaptureSource {
  Selection,            // the selected text of the focused control, by a simulated copy if need be
  SelectionByMessages,  // the same read through the control's messages only: no keystroke is sent
  WordAtPointer,        // the word under the pointer
  CaptionAtPointer      // the caption of the button, combo box or static control under the pointer
};

/// The state of the pointer and of the windows, read once a poll.
struct PollSnapshot {
  WindowHandle foreground = 0;  // the foreground window
  WindowHandle pointed = 0;     // the top-level window under the pointer
  Point pointer;
};

class CaptureServices {
 public:
  virtual ~CaptureServices() = default;

  // ---- The clipboard (gClipBoard) ----
  /// The clipboard's Unicode text; "" when it holds none or stays locked by another program.
  virtual std::u16string ClipboardText() = 0;
  /// Replaces the clipboard's content by text; false when the clipboard could not be opened.
  virtual bool SetClipboardText(std::u16string_view text) = 0;
  /// gClipBoard.GetCurrentFormats(owner, format) = 1.
  virtual bool ClipboardHasFormat(WindowHandle owner, std::uint32_t format) = 0;
  /// The bytes of a memory format of the clipboard; empty when it holds none.
  virtual std::vector<std::uint8_t> ClipboardBytes(std::uint32_t format) = 0;
  /// Replaces the clipboard's content by bytes in format; false when the clipboard could not be opened.
  virtual bool SetClipboardBytes(std::uint32_t format, const std::vector<std::uint8_t>& bytes) = 0;
  /// The files of the clipboard's file list (CF_HDROP); empty when it holds none.
  virtual std::vector<std::u16string> ClipboardFiles() = 0;
  /// Replaces the clipboard's content by a file list; false when it could not be written.
  virtual bool SetClipboardFiles(const std::vector<std::u16string>& files) = 0;

  // ---- The popup window frmTT and the link hint frmToolTip ----
  /// ShowTrans with OnForm False: the look-up shown in the popup window.
  virtual void ShowPopupTrans(std::u16string_view text, const ShowTransArgs& args) = 0;
  /// The pointer of the popup's text box frmTT.rText (11 hourglass, 1 arrow).
  virtual void SetPopupPointer(int pointer) = 0;
  /// Shows the hint text of a link beside the pointer.
  virtual void ShowToolTip(std::u16string_view text) = 0;
  /// frmToolTip.CloseMe.
  virtual void CloseToolTip() = 0;

  // ---- Other programs ----
  /// Brings window to the foreground, lets pending events run and sends it Shift+Insert.
  virtual void PasteInto(WindowHandle window) = 0;
  /// Facts of window; false for a window that is gone.
  virtual bool DescribeWindow(WindowHandle window, WindowFacts& facts) = 0;
  /// The file description from the version information of a program file ("" without one).
  virtual std::u16string FileDescription(std::u16string_view exePath) = 0;
  /// The foreground window, the window under the pointer and the pointer.
  virtual PollSnapshot Snapshot() = 0;
  /// The text of window that source names; "" when there is none or the window does not answer
  /// within a short time. The user's clipboard is never left changed by it.
  virtual std::u16string TakeText(WindowHandle window, CaptureSource source, Point pointer) = 0;
  /// The system folder chooser with title, starting in start; "" when cancelled.
  virtual std::u16string ChooseFolder(std::u16string_view title, std::u16string_view start) = 0;
};

/// The start of a long text that a look-up can use: a look-up reads a few words up to the first
/// full stop, so a clipboard or selection of megabytes is cut (at a blank where there is one)
/// before it reaches the look-up and the input box.
std::u16string LookupSpan(std::u16string_view text);

namespace ApiPath {
/// The system folder chooser, starting in and remembering "Temp"/"LastFolder"; "" when cancelled.
std::u16string BrowseForFolder(std::u16string_view title);
}  // namespace ApiPath

}  // namespace parlavent
