#pragma once
// The capture side's own logic, apart from the platform: the info-line text of a copy, link
// hints, the per-application list as the capture consults and extends it, where the popup stands
// and when it closes, the capture poll, and the folder chooser's remembered folder.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/capture_services.h"
#include "capture/popup_place.h"
#include "foundation/api_input.h"
#include "platform/geometry.h"

namespace parlavent {

class Appl;
class clsLinkItem;

/// What the capture side hears and the program's capture logic answers: the main window's poll
/// tick, a text run another program sent, text dropped on the main window. The logic hands its
/// answers (MakeCaptureEvents, below) to the Windows side, which reaches the logic
/// through them alone.
class CaptureEvents {
 public:
  virtual ~CaptureEvents() = default;
  /// One capture poll, reading the platform through capture.
  virtual void Poll(CaptureServices& capture) = 0;
  /// A text run sender sent; false when nothing was shown.
  virtual bool TextRun(WindowHandle sender, std::u16string_view text) = 0;
  /// Text dropped on the main window.
  virtual void Drop(std::u16string_view text) = 0;
};

/// The capture side's values that outlive one call: the one-entry cache of CheckWindow and the
/// gesture key of automatic mode.
struct CaptureMemory {
  WindowHandle checkedWindow = 0;
  bool checkedByMouse = false;
  bool checkedResult = true;
  WindowHandle polledForeground = 0;  // the foreground window of the last poll
  bool polledForegroundOwn = true;
  API::KeyPoll keys;  // the automatic mode's reading of the gesture key and the buttons
  bool gestureKeyDown = false;
  bool gestureFired = false;
  double gestureKeySince = 0;
  // The primary button's gestures, and the key action "press the key, then point".
  bool buttonDown = false;
  Point pressedAt;
  std::optional<double> lastClick;  // when the last plain click ended
  Point lastClickAt;
  bool keyWasAlone = false;         // the gesture key was down alone at the last poll
  bool buttonsWithKey = false;      // a button was pressed during this hold of the key
  std::optional<double> armedSince; // the key was tapped: the next gesture counts
  Point restAt;
  double restSince = 0;
  bool movedSinceArmed = false;
  bool polling = false;  // CheckEvent is running (a wait inside it may pump messages)
};
CaptureMemory& TheCaptureMemory();

/// The info line after a copy: the text in double quotes (cut to 17 characters and "..." when
/// it has 20 or more), a blank and interface string 25.
std::u16string CopyInfoText(std::u16string_view text, std::u16string_view copied);

/// The hint of a link: the translations of a word link, the address of a web link, "" for the
/// program's own commands.
std::u16string LinkHintText(Appl& app, const clsLinkItem& link);

/// frmMain.WatchTargetWindow for window: a program met for the first time is added to WhiteCol
/// (keyed by its top-level window class) and the list is saved, once a capture has found text in
/// it: State 1 when taken (the text the capture has read from it) is not empty, else as a test
/// read of the word under the pointer in pointed (0: none) decides, 1 for 1 to 255 characters and
/// 0 for more. Returns the State of the program's entry; -1 when it is not listed (a window that
/// is gone, or nothing found).
std::int32_t WatchTargetWindow(Appl& app, CaptureServices& capture, WindowHandle window, WindowHandle pointed,
                               Point pointer, std::u16string_view taken = {});

/// The State of the per-application entry of window's program (1 capture on, 0 off); nothing
/// when the program is not listed or the window is gone.
std::optional<std::int32_t> ListedState(CaptureServices& capture, WindowHandle window);

/// The automatic direction rule: with automatic mode on, the current dictionary takes the side
/// the last look-up found (gTextDir) when that differs from its direction.
void FollowTextDirection(Appl& app);

/// frmMain.CheckEvent, the capture poll (tmrUserEvents, every 20 ms): on the hot key, the
/// selected text of the foreground window (or the word under the pointer) of another program is
/// shown in the popup, and with nothing to capture the main window is shown; in automatic mode,
/// the selection or the word under the pointer is shown when the gesture key of the settings is
/// held alone, and the current dictionary follows the side the look-up found.
void CheckEvent(Appl& app, CaptureServices& capture);

/// A text run another program sends the hidden window "parlavent_hook_window": shown in the popup
/// beside the pointer as a capture from sender's window, unless that program's capture is off.
/// False when nothing was shown.
bool TranslateTextRun(Appl& app, CaptureServices& capture, WindowHandle sender, std::u16string_view text);

/// The capture logic's answers to what the capture side hears: CheckEvent over the side that
/// polls, TranslateTextRun over app's capture side, and app's TransDrop.
std::shared_ptr<CaptureEvents> MakeCaptureEvents(Appl& app);

}  // namespace parlavent
