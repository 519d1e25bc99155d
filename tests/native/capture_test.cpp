// The capture side's own logic against the fake capture: copies and the pending copy, paste and
// dropped text, link hints, the per-application list (CheckWindow, WatchTargetWindow), where the
// popup stands and when it closes, the capture poll and its direction rule, and the folder chooser.
#include <algorithm>
#include <gtest/gtest.h>

#include "app/link_layer.h"
#include "app/main_form.h"
#include "capture/capture.h"
#include "app/view_history.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "foundation/white_list.h"
#include "support/fake_capture.h"
#include "support/fake_clock.h"
#include "support/fake_desktop.h"
#include "support/list_fixture.h"

namespace parlavent::testing {
namespace {

class InfoHost : public FakeViewHost {
 public:
  std::shared_ptr<FakeRichTextBox> infoLine = std::make_shared<FakeRichTextBox>();
  std::shared_ptr<RichTextBox> InfoLine() override { return infoLine; }
};

class RecordingCopy : public CopyIndicator {
 public:
  int shown = 0;
  void ShowCursor() override { ++shown; }
  void Unload() override {}
};

constexpr WindowHandle kPad = 0x110, kPadEdit = 0x111, kOwn = 0x200, kShell = 0x300;

class CaptureTest : public ListTest {
 protected:
  CaptureTest() {
    app.Views = view;
    app.Capture = capture;
    app.frmCopy = copy;
    app.State.WhiteCol = ParseWhiteList(u"C:\\Windows\\notepad.exe\tNotepad\t\tNotepad\t1\r\n"
                                        u"x.exe\tMail\t*Inbox*\tMailClass\t1");
    capture->windows[kPad] = {u"C:\\windows\\system32\\NOTEPAD.EXE", u"Untitled - Notepad", u"Notepad", 0};
    capture->windows[kPadEdit] = {u"C:\\windows\\system32\\NOTEPAD.EXE", u"", u"Edit", kPad};
    capture->windows[kOwn] = {u"C:\\Parlavent\\Parlavent.exe", u"Parlavent", u"ParlaventPopup", 0, true};
    capture->windows[kShell] = {u"C:\\windows\\explorer.exe", u"Desktop", u"Progman", 0};
  }
  void AddWindow(WindowHandle w, WindowFacts facts) { capture->windows[w] = std::move(facts); }

  // The per-user folder, where the list is saved, is a scratch folder of the test.
  static std::shared_ptr<FakeSystem> SystemIn(const TempDir& dir) {
    auto system = std::make_shared<FakeSystem>();
    system->programFolder = dir.Text();
    system->environment[u"AppData"] = dir.Text();
    return system;
  }

  TempDir scratch;
  ScopedSystem systemScope{SystemIn(scratch)};
  std::shared_ptr<InfoHost> view = std::make_shared<InfoHost>();
  std::shared_ptr<FakeCapture> capture = std::make_shared<FakeCapture>();
  std::shared_ptr<RecordingCopy> copy = std::make_shared<RecordingCopy>();
};

TEST_F(CaptureTest, CopyTextReplacesTheClipboardAndTellsOfItInTheInfoLine) {
  app.CopyText(u"");
  EXPECT_TRUE(view->infoLine->text.empty()) << "an empty text does nothing";
  app.CopyText(u"Hund", true);
  EXPECT_EQ(capture->clipboard, u"Hund");
  EXPECT_EQ(view->infoLine->text, u"\"Hund\" t25");
  app.CopyText(u"nineteen characters", true);
  EXPECT_EQ(view->infoLine->text, u"\"nineteen characters\" t25");
  app.CopyText(u"twenty characters!!!", true);
  EXPECT_EQ(view->infoLine->text, u"\"twenty characters...\" t25");
  EXPECT_EQ(capture->clipboard, u"twenty characters!!!") << "the whole text goes to the clipboard";
  view->infoLine->SetText(u"");
  app.CopyText(u"quiet");
  EXPECT_EQ(view->infoLine->text, u"");
  // A clipboard held by another program: the copy is given up without a fault.
  capture->clipboardLocked = true;
  app.CopyText(u"lost", true);
  EXPECT_EQ(capture->clipboard, u"quiet");
  EXPECT_EQ(app.GetClipboard(), u"");
}

TEST_F(CaptureTest, ShowCopyCursorTwiceCopies) {
  app.ShowCopyCursor(u"Haus");
  EXPECT_EQ(app.State.gPendingCopy, u"Haus");
  EXPECT_EQ(copy->shown, 1);
  EXPECT_EQ(view->infoLine->text, u"t47 \"Haus\"");
  EXPECT_TRUE(capture->clipboard.empty()) << "the first choice only marks the word";
  app.ShowCopyCursor(u"HAUS");  // the same word, case-blind: copied now
  EXPECT_EQ(copy->shown, 1);
  EXPECT_TRUE(app.State.gPendingCopy.empty());
  EXPECT_EQ(view->Calls("CopyText"), (std::vector<std::string>{"CopyText Haus 1"}));
  app.ShowCopyCursor(u"Hund");
  EXPECT_EQ(copy->shown, 2);
}

TEST_F(CaptureTest, CopyTransTakesTheShownTextOfTheLastResult) {
  app.CopyTrans();
  EXPECT_TRUE(capture->clipboard.empty()) << "no result yet";
  app.WordSet = std::make_shared<WordSet>();
  app.WordSet->Translation = u"<Hund=TransWord-Hund||B > [hunt]\r\n  собака; пёс\r\n";
  app.CopyTrans();
  EXPECT_EQ(capture->clipboard, u"Hund [hunt]\r\n  собака; пёс");
}

TEST_F(CaptureTest, LongTextsAreCutToWhatTheLookUpTakes) {
  EXPECT_EQ(LookupSpan(u"Hund Katze"), u"Hund Katze");
  std::u16string big;
  while (big.size() < 3000000) big += u"Hund ";
  const std::u16string span = LookupSpan(big);
  EXPECT_LE(span.size(), 1024u);
  EXPECT_EQ(span.substr(span.size() - 4), u"Hund") << "cut at a blank, never inside a word";
  const std::u16string oneWord(5000, u'x');
  EXPECT_EQ(LookupSpan(oneWord).size(), 1024u) << "a text without blanks is cut where it must";
  Load(Words({"hund"}));
  app.TransDrop(big);
  const auto views = app.History().UndoCol.size();
  ASSERT_GE(views, 1u);
  EXPECT_LE(view->input->text.size(), 1024u) << "the dropped text is shown on the main window";
  EXPECT_EQ(view->input->text.substr(0, 5), u"Hund ");
  app.TransDrop(u"  \r\n ");
  EXPECT_EQ(app.History().UndoCol.size(), views) << "a drop of blanks translates nothing";
}

TEST_F(CaptureTest, LinkHintsTranslateWordsAndShowAddresses) {
  Load(Words({"hund"}));
  auto link = std::make_shared<clsLinkItem>();
  link->Prefix = u"Link";
  link->Link = u"http://example.org";
  app.Sett->ShowTooltips = true;
  app.ToolTipHandler(link);
  app.Sett->ShowTooltips = false;
  app.ToolTipHandler(link);
  app.Sett->ShowTooltips = true;
  link->Prefix = u"GoBack";
  app.ToolTipHandler(link);
  app.ToolTipHandler(nullptr);
  EXPECT_EQ(capture->log, (std::vector<std::string>{"ToolTip http://example.org"}))
      << "the program's own commands have no hint, and no link has one with tips switched off";
  link->Prefix = u"TransWord";
  link->Link = u"nosuchword";
  EXPECT_EQ(LinkHintText(app, *link), u"") << "a word without translations has no hint";
}

TEST_F(CaptureTest, CheckWindowMatchesProgramsAndTitlesAndCachesOneWindow) {
  EXPECT_FALSE(app.CheckWindow(kPadEdit)) << "listed by its program's file name, case-blind";
  AddWindow(0x500, {u"C:\\x.exe", u"Inbox - Mail", u"MailClass", 0});
  AddWindow(0x501, {u"C:\\x.exe", u"", u"Body", 0x500});
  EXPECT_FALSE(app.CheckWindow(0x501)) << "the title of an ancestor matches the mask";
  AddWindow(0x600, {u"C:\\other.exe", u"Outbox - Mail", u"OtherClass", 0});
  EXPECT_TRUE(app.CheckWindow(0x600)) << "no entry matches";
  EXPECT_TRUE(app.CheckWindow(0)) << "no window";

  // By mouse, the shell and the program itself are never captured; without it they are looked up.
  EXPECT_FALSE(app.CheckWindow(kShell, true));
  EXPECT_FALSE(app.CheckWindow(kOwn, true, true));
  EXPECT_TRUE(app.CheckWindow(kOwn, false));

  // The last window is answered from the cache until the cache is cleared.
  const int before = capture->describeCalls;
  EXPECT_TRUE(app.CheckWindow(kOwn, false));
  EXPECT_EQ(capture->describeCalls, before);
  capture->windows[kOwn].exePath = u"C:\\windows\\notepad.exe";
  EXPECT_TRUE(app.CheckWindow(kOwn, false));
  EXPECT_FALSE(app.CheckWindow(kOwn, false, true));
}

TEST_F(CaptureTest, WatchTargetWindowListsNewProgramsOnce) {
  AddWindow(0x700, {u"C:\\Tools\\Writer.exe", u"Letter - Writer", u"WriterMain", 0});
  AddWindow(0x701, {u"C:\\Tools\\Writer.exe", u"", u"WriterEdit", 0x700});
  capture->descriptions[u"C:\\Tools\\Writer.exe"] = u"The Writer";
  capture->words[0x701] = u"Brief";
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x701, {10, 10}), 1);
  const auto* entry = app.State.WhiteCol.Find(u"WriterMain");
  ASSERT_TRUE(entry && *entry);
  EXPECT_EQ((*entry)->ExePath, u"C:\\Tools\\Writer.exe");
  EXPECT_EQ((*entry)->AppName, u"The Writer");
  EXPECT_EQ((*entry)->State, 1);
  EXPECT_TRUE((*entry)->TitleMask.empty());
  const std::string saved = ReadBytes(scratch.path() / "Parlavent" / "WhiteList.inf");
  EXPECT_NE(saved.find("C:\\Tools\\Writer.exe\tThe Writer\t\tWriterMain\t1"), std::string::npos) << saved;

  // Known programs give their state and are not captured again.
  (*entry)->State = 0;
  const auto takes = capture->taken.size();
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x701, {10, 10}), 0);
  EXPECT_EQ(capture->taken.size(), takes);

  // A test capture without usable text (none, or more than 255 characters) lists the program off.
  AddWindow(0x800, {u"C:\\Tools\\Paint.exe", u"Paint", u"PaintMain", 0});
  capture->words[0x800] = std::u16string(256, u'a');
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x800, {}), 0);
  ASSERT_TRUE(app.State.WhiteCol.Find(u"PaintMain"));
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x999, {}), -1) << "a window that is gone";
}

TEST_F(CaptureTest, PopupStandsBesideThePointerWithinTheWorkArea) {
  const Rect work{0, 0, 1000, 700};
  Rect r = PlacePopup({100, 100}, std::nullopt, 300, 200, work);
  EXPECT_EQ(r.left, 114);
  EXPECT_EQ(r.top, 114);
  EXPECT_EQ(r.right - r.left, 300);
  // No room to the right or below: to the other side of the pointer.
  r = PlacePopup({900, 650}, std::nullopt, 300, 200, work);
  EXPECT_EQ(r.right, 886);
  EXPECT_EQ(r.bottom, 636);
  // Larger than the work area: as large as it, and inside it.
  r = PlacePopup({500, 300}, std::nullopt, 5000, 5000, work);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1000);
  EXPECT_EQ(r.bottom, 700);
  // A given place is kept where it fits and moved in where it does not.
  r = PlacePopup({500, 300}, Point{50, 60}, 300, 200, work);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 60);
  r = PlacePopup({500, 300}, Point{900, -20}, 300, 200, Rect{-1280, -10, 1000, 700});
  EXPECT_EQ(r.left, 700);
  EXPECT_EQ(r.top, -10);
}

TEST_F(CaptureTest, PopupClosesOnEscAClickElsewhereOrWhenThePointerLeavesForGood) {
  const Rect popup{100, 100, 300, 200};
  PopupCloseRule rule;
  using In = PopupCloseRule::Input;
  EXPECT_FALSE(rule.ShouldClose(In{popup, {90, 90}, false, false, 1.0}));
  EXPECT_FALSE(rule.ShouldClose(In{popup, {600, 600}, false, false, 5.0})) << "never entered: it stays";
  EXPECT_TRUE(rule.ShouldClose(In{popup, {600, 600}, true, false, 5.0})) << "Esc";
  EXPECT_TRUE(rule.ShouldClose(In{popup, {600, 600}, false, true, 5.0})) << "a click elsewhere";
  EXPECT_FALSE(rule.ShouldClose(In{popup, {150, 150}, false, true, 5.0})) << "a click inside";
  EXPECT_FALSE(rule.ShouldClose(In{popup, {320, 150}, false, false, 6.0})) << "near the edge";
  EXPECT_FALSE(rule.ShouldClose(In{popup, {400, 150}, false, false, 7.0}));
  EXPECT_FALSE(rule.ShouldClose(In{popup, {150, 150}, false, false, 7.3})) << "back in time";
  EXPECT_FALSE(rule.ShouldClose(In{popup, {400, 150}, false, false, 7.4}));
  EXPECT_TRUE(rule.ShouldClose(In{popup, {400, 150}, false, false, 8.1})) << "gone for good";
  rule.Reset();
  EXPECT_FALSE(rule.ShouldClose(In{popup, {400, 150}, false, false, 9.0}));
}

class PollTest : public CaptureTest {
 protected:
  PollTest() {
    app.frmMain = forms->LoadMain();
    capture->snapshot = {kPad, kPadEdit, {500, 300}};
    capture->windows[FakeMainForm::kHandle] = {u"C:\\Parlavent\\Parlavent.exe", u"Parlavent", u"Main", 0, true};
    // The default hot key: Ctrl tapped twice.
    app.Sett->HotKeyCode = 17;
    app.Sett->HotKeyShift = 0;
    app.Sett->HotKeyDouble = true;
  }
  /// Ctrl tapped twice, polled every 20 ms as tmrUserEvents does.
  void HotKey() {
    const double taps[] = {0.0, 0.08, 0.16, 0.24};
    int t = 0;
    for (double now = 0; now < 0.4; now += 0.02, ++t) {
      const bool down = (now >= taps[0] && now < taps[1]) || (now >= taps[2] && now < taps[3]);
      input->down = down ? std::set<int>{17} : std::set<int>{};
      clock->now = start_ + now;
      CheckEvent(app, *capture);
    }
    start_ += 10;
  }
  double start_ = 36000;
  CallLog log;
  std::shared_ptr<FakeForms> forms = std::make_shared<FakeForms>(log);
  std::shared_ptr<FakeInput> input = std::make_shared<FakeInput>();
  std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
  ScopedInput inputScope{input};
  ScopedClock clockScope{clock};
};

TEST_F(PollTest, HotKeyShowsTheSelectionOfAnotherProgramInThePopup) {
  capture->selections[kPad] = u"  Hund ";
  HotKey();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"}));
  EXPECT_FALSE(capture->popups.back().OnForm);
  EXPECT_TRUE(capture->popups.back().AddStat);
  EXPECT_EQ(app.State.gReturnWindow, kPad);
  EXPECT_EQ(app.State.gLastForeground, kPad);
  ASSERT_FALSE(app.History().UndoCol.empty()) << "the popup view is recorded";
}

TEST_F(PollTest, WithoutASelectionTheWordUnderThePointerIsTaken) {
  capture->words[kPadEdit] = u"Katze";
  HotKey();
  EXPECT_EQ(capture->taken, (std::vector<std::string>{"Selection " + std::to_string(kPad), "Word " + std::to_string(kPadEdit)}));
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Katze"}));
}

TEST_F(PollTest, ProgramsSwitchedOffInTheListAreNotCapturedAndNewOnesAreListed) {
  capture->selections[kPad] = u"Hund";
  capture->words[kPadEdit] = u"Katze";
  (*app.State.WhiteCol.Find(u"Notepad"))->State = 0;
  HotKey();
  EXPECT_TRUE(capture->taken.empty()) << "no copy is sent to a program switched off";
  EXPECT_TRUE(capture->log.empty());

  // Pointing into a switched-off program from another one's hot key reads nothing from it.
  AddWindow(0x700, {u"C:\\Tools\\Writer.exe", u"Writer", u"WriterMain", 0});
  capture->snapshot.foreground = 0x700;
  HotKey();
  EXPECT_EQ(std::count(capture->taken.begin(), capture->taken.end(), "Word " + std::to_string(kPadEdit)), 0);
  EXPECT_TRUE(capture->log.empty());

  // A program met for the first time whose selection came through is listed on, although
  // the word under the pointer gave nothing.
  capture->selections[0x700] = u"Brief";
  (*app.State.WhiteCol.Find(u"Notepad"))->State = 1;
  app.State.WhiteCol.Remove(u"WriterMain");
  HotKey();
  EXPECT_EQ(capture->log.back(), "Popup Brief");
  const auto* entry = app.State.WhiteCol.Find(u"WriterMain");
  ASSERT_TRUE(entry && *entry);
  EXPECT_EQ((*entry)->State, 1);
}

TEST_F(PollTest, TheProgramsOwnWindowsAndOtherKeysAreLeftAlone) {
  capture->selections[FakeMainForm::kHandle] = u"Hund";
  capture->snapshot.foreground = FakeMainForm::kHandle;
  HotKey();
  EXPECT_TRUE(capture->taken.empty());
  EXPECT_EQ(app.State.gLastForeground, 0u) << "the main window is not an outside window";
  capture->snapshot.foreground = kOwn;
  HotKey();
  EXPECT_TRUE(capture->taken.empty());

  // Another hot key in the settings: Ctrl twice does nothing.
  capture->snapshot.foreground = kPad;
  capture->selections[kPad] = u"Hund";
  app.Sett->HotKeyCode = 116;
  app.Sett->HotKeyShift = 17;
  app.Sett->HotKeyDouble = false;
  HotKey();
  EXPECT_TRUE(capture->log.empty());
  EXPECT_EQ(app.State.gLastForeground, kPad);
}

TEST_F(PollTest, InAutomaticModeHoldingTheGestureKeyTakesWhatThePointerIsOver) {
  app.Sett->TransByCtrl = true;
  app.Sett->TransByPoint = true;
  app.Sett->TransBySelect = false;
  app.Sett->TransByDblClick = false;
  capture->words[kPadEdit] = u"Katze";
  const auto hold = [this](std::set<int> keys, double seconds) {
    for (double t = 0; t < seconds; t += 0.02) {
      input->down = keys;
      clock->now = start_ + t;
      CheckEvent(app, *capture);
    }
    input->down.clear();
    clock->now = start_ + seconds;
    CheckEvent(app, *capture);
    start_ += 10;
  };
  app.Sett->AutoOn = false;
  hold({17}, 1.0);
  EXPECT_TRUE(capture->log.empty()) << "only in automatic mode";
  app.Sett->AutoOn = true;
  hold({17}, 0.2);
  EXPECT_TRUE(capture->log.empty()) << "a tap is no gesture";
  hold({17, 67}, 1.0);
  EXPECT_TRUE(capture->log.empty()) << "Ctrl+C is no gesture";
  hold({17}, 1.0);
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Katze"})) << "once per press";
  EXPECT_EQ(capture->taken, (std::vector<std::string>{"Word " + std::to_string(kPadEdit)}))
      << "without selection gestures the selection is not read";
  capture->snapshot.pointed = kOwn;
  hold({17}, 1.0);
  EXPECT_EQ(capture->log.size(), 1u) << "the program's own windows are left alone";
}

class GestureTest : public PollTest {
 protected:
  GestureTest() {
    app.Sett->AutoOn = true;
    app.Sett->TransByCtrl = true;
    app.Sett->TransByPoint = false;
    app.Sett->TransByClick = false;
    app.Sett->TransByDblClick = true;
    app.Sett->TransBySelect = true;
    capture->selections[kPadEdit] = u"Hund";
    capture->words[kPadEdit] = u"Katze";
  }
  /// The keys (1 the left button) down for seconds with the pointer at p, polled every 20 ms.
  void Poll(std::set<int> keys, Point p, double seconds) {
    for (double t = 0; t < seconds - 1e-9; t += 0.02) {
      input->down = keys;
      capture->snapshot.pointer = p;
      clock->now = now_;
      CheckEvent(app, *capture);
      now_ += 0.02;
    }
  }
  void DoubleClick(std::set<int> keys, Point p = {500, 300}) {
    std::set<int> pressed = keys;
    pressed.insert(1);
    for (int i = 0; i < 2; ++i) {
      Poll(pressed, p, 0.06);
      Poll(keys, p, 0.06);
    }
  }
  void Select(std::set<int> keys) {
    std::set<int> pressed = keys;
    pressed.insert(1);
    Poll(pressed, {500, 300}, 0.1);
    Poll(pressed, {580, 300}, 0.1);
    Poll(keys, {580, 300}, 0.06);
  }
  void Idle(double seconds = 1.0) { Poll({}, {500, 300}, seconds); }
  double now_ = 36000;
};

TEST_F(GestureTest, KeyHeldDuringTheGesture) {
  app.Sett->TransKeyAction = 1;
  DoubleClick({});
  Idle();
  EXPECT_TRUE(capture->log.empty()) << "a double-click without the key";
  DoubleClick({17});
  Idle();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"}));
  EXPECT_EQ(capture->taken.back(), "Selection " + std::to_string(kPadEdit));
  Select({17});
  Idle();
  EXPECT_EQ(capture->log.size(), 2u) << "a selection made with the key held";
  Select({17, 67});
  Idle();
  EXPECT_EQ(capture->log.size(), 2u) << "Ctrl with another key is no gesture";

  // A click counts only with TransByClick, and gives the word under the pointer.
  Poll({17, 1}, {500, 300}, 0.06);
  Poll({17}, {500, 300}, 0.06);
  Idle();
  EXPECT_EQ(capture->log.size(), 2u);
  app.Sett->TransByClick = true;
  Poll({17, 1}, {500, 300}, 0.06);
  Poll({17}, {500, 300}, 0.06);
  Idle();
  EXPECT_EQ(capture->log.back(), "Popup Katze");

  // Pointing with the key held: the word, once, with TransByPoint only; never with the gesture
  // switched off.
  app.Sett->TransByDblClick = app.Sett->TransBySelect = false;
  const auto shown = capture->log.size();
  Poll({17}, {500, 300}, 1.0);
  Idle();
  EXPECT_EQ(capture->log.size(), shown);
  app.Sett->TransByPoint = true;
  Poll({17}, {500, 300}, 1.0);
  Idle();
  EXPECT_EQ(capture->log.size(), shown + 1);
  EXPECT_EQ(capture->log.back(), "Popup Katze");
}

TEST_F(GestureTest, KeyTappedBeforeTheGesture) {
  app.Sett->TransKeyAction = 2;
  DoubleClick({});
  Idle();
  EXPECT_TRUE(capture->log.empty()) << "no tap before it";
  Poll({17}, {500, 300}, 0.1);
  DoubleClick({});
  Idle();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"}));
  DoubleClick({});
  Idle();
  EXPECT_EQ(capture->log.size(), 1u) << "one tap, one gesture";
  Poll({17}, {500, 300}, 0.1);
  Idle(4.0);
  Select({});
  Idle();
  EXPECT_EQ(capture->log.size(), 1u) << "a tap is forgotten after a while";
  Poll({17}, {500, 300}, 0.1);
  Select({});
  Idle();
  EXPECT_EQ(capture->log.size(), 2u);
  Select({17});
  DoubleClick({});
  Idle();
  EXPECT_EQ(capture->log.size(), 2u) << "Ctrl+drag is no tap";

  // With TransByPoint the pointer coming to rest after the tap points at the word.
  app.Sett->TransByPoint = true;
  Poll({17}, {500, 300}, 0.1);
  Idle(1.0);
  EXPECT_EQ(capture->log.size(), 2u) << "the pointer has to move to a word";
  Poll({17}, {500, 300}, 0.1);
  Poll({}, {530, 310}, 0.1);
  Poll({}, {540, 310}, 0.6);
  EXPECT_EQ(capture->log.back(), "Popup Katze");
}

TEST_F(CaptureTest, AutomaticModeFollowsTheSideTheLookUpFound) {
  auto dic = Load(Words({"hund"}));
  app.Dic = dic;
  dic->SupportDirection = true;
  app.State.gTextDir = 2;
  app.Sett->AutoOn = false;
  FollowTextDirection(app);
  EXPECT_EQ(dic->Direction(), 0) << "only in automatic mode";
  app.Sett->AutoOn = true;
  FollowTextDirection(app);
  EXPECT_EQ(dic->Direction(), 2);
  app.State.gTextDir = 0;
  FollowTextDirection(app);
  EXPECT_EQ(dic->Direction(), 2) << "no side found leaves the direction";
}

TEST_F(CaptureTest, FolderChooserStartsInAndRemembersTheLastFolder) {
  ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
  capture->folder = u"C:\\Texts";
  EXPECT_EQ(ApiPath::BrowseForFolder(u"Выбери папку:"), u"C:\\Texts");
  capture->folder.clear();
  EXPECT_EQ(ApiPath::BrowseForFolder(u"Выбери папку:"), u"") << "cancelled";
  EXPECT_EQ(capture->folderStart, u"C:\\Texts");
  EXPECT_EQ(GetSetting(u"Temp", u"LastFolder"), u"C:\\Texts") << "a cancel keeps the folder";
}

}  // namespace
}  // namespace parlavent::testing
