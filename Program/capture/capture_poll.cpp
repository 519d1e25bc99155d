// The capture poll (frmMain.CheckEvent), text runs from other programs, and which side the
// automatic mode follows.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/application.h"
#include "app/main_form.h"
#include "capture/capture.h"
#include "dictionary/dictionary.h"
#include "foundation/api_input.h"
#include "foundation/hot_keys.h"
#include "foundation/settings_object.h"
#include "platform/clock.h"
#include "platform/settings_store.h"
#include "text/text.h"

namespace parlavent {
namespace {

// The gesture key counts once it is held this long: a tap of the hot key never reaches it.
constexpr double kGestureHold = 0.3;

bool OwnWindow(Appl& app, CaptureServices& capture, WindowHandle window) {
  if (window == 0) return true;
  if (app.frmMain && window == app.frmMain->hWnd()) return true;
  WindowFacts facts;
  return !capture.DescribeWindow(window, facts) || facts.ownProcess;
}

bool HotKeyPressed(const Setting& s) {
  long code = 0, modifier = 0;
  bool isDouble = false;
  mdlPublic::GetPressedHotKey(code, modifier, isDouble);
  return code != 0 && code == s.HotKeyCode && modifier == s.HotKeyShift && isDouble == s.HotKeyDouble;
}

// The key automatic mode's gestures are made with (TransByCtrl, ...); 0 for none.
int GestureKey(const Setting& s) {
  return s.TransByCtrl ? API::kVkControl : s.TransByShift ? API::kVkShift : s.TransByAlt ? API::kVkMenu : 0;
}

// True once per press when the gesture key has been held alone long enough.
bool GestureKeyHeld(const Setting& s, double now) {
  CaptureMemory& m = TheCaptureMemory();
  const int key = GestureKey(s);
  // Both readings every poll, so that neither keeps a stale press for later.
  const bool keyDown = key != 0 && m.keys.Down(key);
  const bool othersDown = m.keys.AnyDown(API::kVkMenu, API::kVkShift, API::kVkControl) != 0;
  const bool alone = keyDown && !othersDown;
  if (!alone) {
    m.gestureKeyDown = m.gestureFired = false;
    return false;
  }
  // The clock starts again at midnight.
  if (!m.gestureKeyDown || now < m.gestureKeySince) {
    m.gestureKeyDown = true;
    m.gestureKeySince = now;
    return false;
  }
  if (m.gestureFired || now - m.gestureKeySince < kGestureHold) return false;
  m.gestureFired = true;
  return true;
}

// The primary button's gesture that ended at this poll.
enum class Gesture { None, Click, DoubleClick, Selection };

// A button released this far from where it went down has selected, not clicked.
constexpr long kDragDistance = 4;
// After a tap of the gesture key (key action 2) a gesture counts this long.
constexpr double kArmedSeconds = 3.0;

// The button went down or up at time now: the gesture that this change ended.
Gesture ButtonChange(Appl& app, bool down, Point pointer, double now) {
  CaptureMemory& m = TheCaptureMemory();
  const bool wasDown = m.buttonDown;
  m.buttonDown = down;
  if (down && !wasDown) m.pressedAt = pointer;
  if (down || !wasDown) return Gesture::None;
  const auto near = [](Point a, Point b) {
    return std::abs(a.x - b.x) <= kDragDistance && std::abs(a.y - b.y) <= kDragDistance;
  };
  if (!near(m.pressedAt, pointer)) {
    m.lastClick.reset();
    return Gesture::Selection;
  }
  // The clock starts again at midnight.
  if (m.lastClick && now >= *m.lastClick && now - *m.lastClick <= app.State.gDoubleClickTime &&
      near(m.lastClickAt, pointer)) {
    m.lastClick.reset();
    return Gesture::DoubleClick;
  }
  m.lastClick = now;
  m.lastClickAt = pointer;
  return Gesture::Click;
}

Gesture MouseGesture(Appl& app, Point pointer, double now) {
  const int button = app.State.gPrimaryButton == 2 ? API::kVkRButton : API::kVkLButton;
  // Every press and release since the last poll, at its time: two clicks between two polls are a
  // double-click, which is what they ended in.
  Gesture last = Gesture::None;
  for (const API::KeyPoll::Step& step : TheCaptureMemory().keys.Steps(button, now)) {
    if (const Gesture g = ButtonChange(app, step.down, pointer, step.at); g != Gesture::None) last = g;
  }
  return last;
}

// What a mouse gesture asks for under the settings' TransBy* options: the selection (true), the
// word under the pointer (false), or nothing.
std::optional<bool> GestureWants(const Setting& s, Gesture g) {
  switch (g) {
    case Gesture::Click: return s.TransByClick ? std::optional<bool>(false) : std::nullopt;
    case Gesture::DoubleClick: return s.TransByDblClick ? std::optional<bool>(true) : std::nullopt;
    case Gesture::Selection: return s.TransBySelect ? std::optional<bool>(true) : std::nullopt;
    case Gesture::None: break;
  }
  return std::nullopt;
}

// The top-level window of window by its parents: the window that keyboard input reaches it through.
WindowHandle TopLevel(CaptureServices& capture, WindowHandle window) {
  for (int depth = 0; window != 0 && depth < 64; ++depth) {
    WindowFacts facts;
    if (!capture.DescribeWindow(window, facts)) return 0;
    if (facts.parent == 0) return window;
    window = facts.parent;
  }
  return 0;
}

// Whether window, or a window it lies in, is of a class the settings' InjExclude names (classes
// separated by ";"): the capture leaves such windows alone.
bool LeftAlone(const Setting& s, CaptureServices& capture, WindowHandle window) {
  if (Trim(s.InjExclude).empty()) return false;
  std::vector<std::u16string> classes = SplitText(s.InjExclude, u";");
  for (auto& c : classes) c = Trim(c);
  for (int depth = 0; window != 0 && depth < 64; ++depth) {
    WindowFacts facts;
    if (!capture.DescribeWindow(window, facts)) return false;
    for (const std::u16string& c : classes) {
      if (!c.empty() && EqualsNoCase(c, facts.className)) return true;
    }
    window = facts.parent;
  }
  return false;
}

// The word under the pointer, or with TraceControls the caption of the control there.
std::u16string TextAtPointer(const Setting& s, CaptureServices& capture, const PollSnapshot& at) {
  std::u16string text = Trim(capture.TakeText(at.pointed, CaptureSource::WordAtPointer, at.pointer));
  if (text.empty() && s.TraceControls) text = Trim(capture.TakeText(at.pointed, CaptureSource::CaptionAtPointer, at.pointer));
  return text;
}

// The selected text of target (when selection counts), else the word under the pointer (when
// pointing counts), shown in the popup. False when nothing was shown.
bool TranslateFrom(Appl& app, CaptureServices& capture, WindowHandle target, const PollSnapshot& at,
                   bool selection = true, bool pointing = true) {
  const Setting& s = *app.Sett;
  if (LeftAlone(s, capture, target)) return false;
  // The user has switched the capture off for this program in the per-application list: it
  // gets no keystroke and no message from us.
  const std::optional<std::int32_t> state = ListedState(capture, target);
  if (state && *state == 0) return false;
  std::u16string text;
  if (selection) {
    // Keys reach the window in front only: a window behind it is read through its messages.
    const bool inFront = at.foreground != 0 && TopLevel(capture, target) == at.foreground;
    text = Trim(capture.TakeText(target, inFront ? CaptureSource::Selection : CaptureSource::SelectionByMessages,
                                 at.pointer));
  }
  bool wordRead = false;
  if (text.empty() && pointing && at.pointed != 0 && !OwnWindow(app, capture, at.pointed) &&
      (at.pointed == target || ListedState(capture, at.pointed).value_or(1) != 0) &&
      !LeftAlone(s, capture, at.pointed)) {
    wordRead = true;
    text = TextAtPointer(s, capture, at);
  }
  // A program met for the first time joins the per-application list once text is found in it:
  // the program whose window was read, which need not be the one in front.
  const WindowHandle read = wordRead ? at.pointed : target;
  if (!ListedState(capture, read) && app.CheckWindow(read, false)) {
    WatchTargetWindow(app, capture, read, wordRead ? 0 : at.pointed, at.pointer, text);
  }
  text = Trim(LookupSpan(text));
  if (text.empty()) return false;
  app.State.gReturnWindow = target;
  ShowTransArgs args;
  args.AddStat = true;
  app.ShowTrans(text, args);
  return true;
}

}  // namespace

void FollowTextDirection(Appl& app) {
  if (!app.Sett || !app.Sett->AutoOn || !app.Dic) return;
  const std::int32_t side = app.State.gTextDir;
  if (side > 0 && side != app.Dic->Direction()) app.Dic->Direction(side);
}

namespace {

// Whether the foreground window is one of the program's; asked of the window once while it stays
// in front, as the poll runs 50 times a second.
bool ForegroundIsOwn(Appl& app, CaptureServices& capture, WindowHandle window) {
  CaptureMemory& m = TheCaptureMemory();
  if (window != m.polledForeground || window == 0) {
    m.polledForeground = window;
    m.polledForegroundOwn = OwnWindow(app, capture, window);
  }
  return m.polledForegroundOwn;
}

// Automatic mode's gestures, as TransKeyAction says: 1 the key held while pointing, clicking or
// selecting; 2 the key tapped, then the gesture; 3 (and any other value) the gesture, then the key
// held. True when a capture was started.
bool AutomaticGesture(Appl& app, CaptureServices& capture, const PollSnapshot& at) {
  const Setting& s = *app.Sett;
  CaptureMemory& m = TheCaptureMemory();
  const double now = SystemClock().Timer();
  const Gesture gesture = MouseGesture(app, at.pointer, now);
  const std::int32_t action = s.TransKeyAction == 1 || s.TransKeyAction == 2 ? s.TransKeyAction : 3;
  const bool wasAlone = m.keyWasAlone;
  const bool held = GestureKeyHeld(s, now);
  const bool alone = m.gestureKeyDown;
  m.keyWasAlone = alone;
  const bool clickedWithKey = m.buttonsWithKey;
  if (!alone) m.buttonsWithKey = false;
  if (alone && m.buttonDown) m.buttonsWithKey = true;
  const auto fire = [&](bool selection) {
    m.armedSince.reset();
    if (OwnWindow(app, capture, at.pointed)) return false;
    TranslateFrom(app, capture, at.pointed, at, selection, !selection);
    return true;
  };
  if (action == 3) {
    if (!held) return false;
    // What the pointer is over, as the gestures of the settings allow.
    if (OwnWindow(app, capture, at.pointed)) return false;
    TranslateFrom(app, capture, at.pointed, at, s.TransBySelect || s.TransByDblClick, s.TransByPoint || s.TransByClick);
    return true;
  }
  if (action == 1) {
    if (alone && gesture != Gesture::None) {
      if (const auto wants = GestureWants(s, gesture)) return fire(*wants);
    }
    // Held without touching the buttons: the word it points at.
    return held && s.TransByPoint && !m.buttonsWithKey && fire(false);
  }
  // Action 2: a tap of the key alone arms the next gesture for a while.
  // A key used with the mouse (Ctrl+click) is no tap.
  if (wasAlone && !alone && !clickedWithKey) {
    m.armedSince = now;
    m.restAt = at.pointer;
    m.restSince = now;
    m.movedSinceArmed = false;
    return false;
  }
  if (!m.armedSince) return false;
  if (now < *m.armedSince || now - *m.armedSince > kArmedSeconds || alone) {
    m.armedSince.reset();
    return false;
  }
  if (gesture != Gesture::None) {
    const auto wants = GestureWants(s, gesture);
    return wants && fire(*wants);
  }
  if (!s.TransByPoint || m.buttonDown) return false;
  if (at.pointer.x != m.restAt.x || at.pointer.y != m.restAt.y) {
    m.movedSinceArmed = true;
    m.restAt = at.pointer;
    m.restSince = now;
    return false;
  }
  // The pointer has come to rest on a word after the tap.
  return m.movedSinceArmed && now - m.restSince >= kGestureHold && fire(false);
}

}  // namespace

void CheckEvent(Appl& app, CaptureServices& capture) {
  CaptureMemory& memory = TheCaptureMemory();
  // A capture waits for other programs; a poll that comes inside that wait is no new poll.
  if (!app.Sett || memory.polling) return;
  memory.polling = true;
  struct Done {
    CaptureMemory& m;
    ~Done() { m.polling = false; }
  } done{memory};
  FollowTextDirection(app);
  const PollSnapshot now = capture.Snapshot();
  const bool ownForeground = ForegroundIsOwn(app, capture, now.foreground);
  if (!ownForeground) app.State.gLastForeground = now.foreground;
  const Setting& s = *app.Sett;
  // Keys pressed while the automatic mode was off are no gestures.
  if (!s.AutoOn) memory.keys.Reset();
  if (s.AutoOn && AutomaticGesture(app, capture, now)) return;
  if (!HotKeyPressed(s)) return;
  // The hot key's taps are no tap of the gesture key.
  memory.armedSince.reset();
  // In its own windows the program has its own keys. With nothing to capture the hot key shows
  // the main window, as the tray menu's "Show" item says.
  if (ownForeground) return;
  if (!TranslateFrom(app, capture, now.foreground, now)) app.ShowMe(true);
}

bool TranslateTextRun(Appl& app, CaptureServices& capture, WindowHandle sender, std::u16string_view text) {
  if (!app.Sett || OwnWindow(app, capture, sender) || ListedState(capture, sender).value_or(1) == 0) return false;
  // Blanks and line breaks round the run are no part of it.
  constexpr std::u16string_view kBlanks = u" \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::u16string_view::npos) return false;
  const std::u16string run = Trim(LookupSpan(text.substr(first, text.find_last_not_of(kBlanks) - first + 1)));
  if (run.empty()) return false;
  app.State.gReturnWindow = sender;
  ShowTransArgs args;
  args.AddStat = true;
  app.ShowTrans(run, args);
  return true;
}

namespace {

class AppCaptureEvents final : public CaptureEvents {
 public:
  explicit AppCaptureEvents(Appl& app) : app_(app) {}
  void Poll(CaptureServices& capture) override { CheckEvent(app_, capture); }
  bool TextRun(WindowHandle sender, std::u16string_view text) override {
    return TranslateTextRun(app_, app_.CaptureSide(), sender, text);
  }
  void Drop(std::u16string_view text) override { app_.TransDrop(text); }

 private:
  Appl& app_;
};

}  // namespace

std::shared_ptr<CaptureEvents> MakeCaptureEvents(Appl& app) { return std::make_shared<AppCaptureEvents>(app); }

namespace ApiPath {

std::u16string BrowseForFolder(std::u16string_view title) {
  if (!HasAppl()) return {};
  const std::u16string start = GetSetting(u"Temp", u"LastFolder");
  std::u16string chosen;
  try {
    chosen = gAppl().CaptureSide().ChooseFolder(title, start);
  } catch (...) {
    return {};
  }
  if (!chosen.empty()) SaveSetting(u"Temp", u"LastFolder", chosen);
  return chosen;
}

}  // namespace ApiPath

}  // namespace parlavent
