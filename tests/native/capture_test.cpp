// The capture side's own logic against the fake capture: copies and the pending copy, paste and
// dropped text, link hints, the per-application list (CheckWindow, WatchTargetWindow), where the
// popup stands and when it closes, the capture poll and its direction rule, and the folder chooser.
#include <algorithm>
#include <gtest/gtest.h>

#include "app/link_layer.h"
#include "app/main_form.h"
#include "capture/capture.h"
#include "capture/control_text.h"
#include "capture/simulated_copy.h"
#include "app/view_history.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "foundation/lang_entries.h"
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
  // A clipboard held by another program: the copy is given up without a fault, and not told of.
  capture->clipboardLocked = true;
  app.CopyText(u"lost", true);
  EXPECT_EQ(capture->clipboard, u"quiet");
  EXPECT_EQ(app.GetClipboard(), u"");
  EXPECT_EQ(view->infoLine->text, u"") << "nothing was copied";
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
  Load(Words({"hund"}) + "L\thund\tсобака\n");
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
  link->Link = u"hund";
  EXPECT_EQ(LinkHintText(app, *link), u"собака") << "a word link's hint holds its translations";
  link->Link = u"nosuchword";
  EXPECT_EQ(LinkHintText(app, *link), u"") << "a word without translations has no hint";
}

TEST_F(CaptureTest, CheckWindowMatchesProgramsAndTitlesAndCachesOneWindow) {
  EXPECT_FALSE(app.CheckWindow(kPadEdit)) << "listed by its program's file name, case-blind";
  AddWindow(0x500, {u"C:\\x.exe", u"Inbox - Mail", u"MailClass", 0});
  AddWindow(0x501, {u"C:\\x.exe", u"", u"Body", 0x500});
  EXPECT_FALSE(app.CheckWindow(0x501)) << "the title of an ancestor matches the mask";
  AddWindow(0x502, {u"C:\\y.exe", u"INBOX - mail", u"Y", 0});
  EXPECT_FALSE(app.CheckWindow(0x502)) << "the mask is matched case-blind";
  // A dialog box is a top-level window owned by its program's window: it belongs to that program.
  WindowFacts dialog{u"C:\\windows\\system32\\NOTEPAD.EXE", u"Find", u"#32770", 0};
  dialog.owner = kPad;
  AddWindow(0x503, dialog);
  AddWindow(0x504, {u"C:\\x.exe", u"Save as", u"#32770", 0});
  capture->windows[0x504].owner = 0x500;
  EXPECT_FALSE(app.CheckWindow(0x504)) << "the owner's title matches the mask";
  (*app.State.WhiteCol.Find(u"Notepad"))->State = 0;
  EXPECT_EQ(ListedState(*capture, 0x503), 0) << "notepad's dialog is notepad's";
  EXPECT_EQ(ListedState(*capture, 0x504), 1) << "the mail program's dialog is the mail program's";
  (*app.State.WhiteCol.Find(u"Notepad"))->State = 1;
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

TEST_F(CaptureTest, WatchTargetWindowListsNewProgramsOnceTextIsFound) {
  AddWindow(0x700, {u"C:\\Tools\\Writer.exe", u"Letter - Writer", u"WriterMain", 0});
  AddWindow(0x701, {u"C:\\Tools\\Writer.exe", u"", u"WriterEdit", 0x700});
  capture->descriptions[u"C:\\Tools\\Writer.exe"] = u"The Writer";
  // Nothing under the pointer (a toolbar, blank space): nothing is decided.
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x700, 0x701, {10, 10}), -1);
  EXPECT_FALSE(app.State.WhiteCol.Find(u"WriterMain"));
  // The test read is of the window pointed at, not of the top-level window.
  capture->words[0x701] = u"Brief";
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x700, 0x701, {10, 10}), 1);
  EXPECT_EQ(capture->taken.back(), "Word " + std::to_string(0x701));
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
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x701, 0x701, {10, 10}), 0);
  EXPECT_EQ(capture->taken.size(), takes);

  // A word of up to 255 characters is usable; more is a whole text the capture cannot split.
  AddWindow(0x800, {u"C:\\Tools\\Paint.exe", u"Paint", u"PaintMain", 0});
  capture->words[0x800] = std::u16string(255, u'a');
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x800, 0x800, {}), 1);
  AddWindow(0x900, {u"C:\\Tools\\Draw.exe", u"Draw", u"DrawMain", 0});
  capture->words[0x900] = std::u16string(256, u'a');
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x900, 0x900, {}), 0);
  // Text the capture took decides at once; the pointer over another program's window reads nothing.
  AddWindow(0xA00, {u"C:\\Tools\\Mail.exe", u"Mail", u"MailMain", 0});
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0xA00, 0x701, {}), -1);
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0xA00, 0, {}, std::u16string(300, u'b')), 1);
  EXPECT_EQ(WatchTargetWindow(app, *capture, 0x999, 0x999, {}), -1) << "a window that is gone";
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

  // With "Hide the popup when the pointer leaves it" the popup need not have been entered.
  PopupCloseRule leaving;
  EXPECT_FALSE(leaving.ShouldClose(In{popup, {90, 90}, false, false, 1.0, true})) << "beside it";
  EXPECT_FALSE(leaving.ShouldClose(In{popup, {400, 150}, false, false, 2.0, true}));
  EXPECT_TRUE(leaving.ShouldClose(In{popup, {400, 150}, false, false, 2.7, true})) << "left without entering";
}

TEST_F(CaptureTest, ThePopupTellsThatNothingWasFoundOnlyWhenAskedAndNotForAnAbandonedLookUp) {
  EXPECT_EQ(PopupMarkup(app, u"Hund", u"<Hund=t-Hund>", true), u"<Hund=t-Hund>");
  app.Sett->ShowNoTrans = false;
  EXPECT_EQ(PopupMarkup(app, u"xyzzy", u"", true), u"");
  app.Sett->ShowNoTrans = true;
  const std::u16string notice = PopupMarkup(app, u"xyzzy", u"", true);
  EXPECT_EQ(notice, app.LZ(lang::kNoTranslation));
  EXPECT_FALSE(notice.empty());
  EXPECT_EQ(PopupMarkup(app, u"xyzzy", u"", false), u"") << "refused for its direction";
  EXPECT_EQ(PopupMarkup(app, u" \t", u"", true), u"") << "nothing to look up";
  app.TransAbort = true;
  EXPECT_EQ(PopupMarkup(app, u"xyzzy", u"", true), u"") << "abandoned with Esc";
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

TEST_F(PollTest, AnEmptyFirstCaptureSwitchesNothingOffAndTheHotKeyThenShowsTheMainWindow) {
  ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
  AddWindow(0x700, {u"C:\\Tools\\Writer.exe", u"Letter - Writer", u"WriterMain", 0});
  AddWindow(0x701, {u"C:\\Tools\\Writer.exe", u"", u"WriterBar", 0x700});
  capture->snapshot = {0x700, 0x701, {500, 300}};
  HotKey();
  EXPECT_FALSE(app.State.WhiteCol.Find(u"WriterMain")) << "nothing found decides nothing";
  EXPECT_EQ(GetSetting(u"Main", u"IsShowed", u""), u"1") << "the hot key with nothing to capture shows the main window";
  capture->selections[0x700] = u"Brief";
  HotKey();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Brief"}));
  ASSERT_TRUE(app.State.WhiteCol.Find(u"WriterMain"));
  EXPECT_EQ((*app.State.WhiteCol.Find(u"WriterMain"))->State, 1);
}

TEST_F(PollTest, CaptionsAreReadWithTraceControlsCreditTheirProgramAndExcludedClassesAreLeftAlone) {
  ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
  AddWindow(0x700, {u"C:\\Tools\\Writer.exe", u"Letter - Writer", u"WriterMain", 0});
  AddWindow(0x701, {u"C:\\Tools\\Writer.exe", u"", u"Static", 0x700});
  AddWindow(0x800, {u"C:\\Tools\\Viewer.exe", u"Viewer", u"ViewerMain", 0});
  capture->captions[0x701] = u" Hund ";
  // The hot key in a program met for the first time, the pointer over a label of another one.
  capture->snapshot = {0x800, 0x701, {500, 300}};
  app.Sett->TraceControls = false;
  HotKey();
  EXPECT_TRUE(capture->log.empty());
  EXPECT_EQ(std::count(capture->taken.begin(), capture->taken.end(), "Caption " + std::to_string(0x701)), 0);
  app.Sett->TraceControls = true;
  HotKey();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"}));
  ASSERT_TRUE(app.State.WhiteCol.Find(u"WriterMain")) << "the program whose window was read";
  EXPECT_EQ((*app.State.WhiteCol.Find(u"WriterMain"))->State, 1);
  EXPECT_FALSE(app.State.WhiteCol.Find(u"ViewerMain")) << "not the program in front";

  // Windows of the classes InjExclude names, and the controls in them, get no message.
  app.Sett->InjExclude = u"Shell_TrayWnd; writermain";
  capture->taken.clear();
  HotKey();
  capture->snapshot.foreground = 0x700;
  HotKey();
  EXPECT_EQ(capture->taken, (std::vector<std::string>{"Selection " + std::to_string(0x800)}));
  EXPECT_EQ(capture->log.size(), 1u);
}

TEST_F(PollTest, KeysGoOnlyToTheWindowInFrontAndAPollInsideACaptureIsNone) {
  app.Sett->AutoOn = true;
  app.Sett->TransByCtrl = true;
  app.Sett->TransBySelect = true;
  AddWindow(0x700, {u"C:\\Tools\\Console.exe", u"Console", u"ConsoleMain", 0});
  // The pointer over notepad behind a console in front: notepad's selection by its messages only.
  capture->snapshot = {0x700, kPadEdit, {500, 300}};
  const auto hold = [this] {
    for (double t = 0; t < 0.6; t += 0.02) {
      input->down = {17};
      clock->now = start_ + t;
      CheckEvent(app, *capture);
    }
    input->down.clear();
    CheckEvent(app, *capture);
    start_ += 10;
  };
  hold();
  ASSERT_FALSE(capture->taken.empty());
  EXPECT_EQ(capture->taken.front(), "Quiet " + std::to_string(kPadEdit));
  capture->snapshot.foreground = kPad;
  capture->taken.clear();
  hold();
  ASSERT_FALSE(capture->taken.empty());
  EXPECT_EQ(capture->taken.front(), "Selection " + std::to_string(kPadEdit)) << "notepad in front may get Ctrl+C";

  // A capture may wait with messages running, and the 20 ms poll comes inside it: a hot key then
  // must not start a capture inside the capture.
  capture->taken.clear();
  bool nested = false;
  capture->whileTaking = [&] {
    if (nested) return;
    nested = true;
    HotKey();
  };
  capture->selections[kPadEdit] = u"Hund";
  hold();
  EXPECT_EQ(capture->taken.size(), 1u);
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"}));
}

TEST_F(PollTest, ATextRunSentToTheHiddenWindowIsShownInThePopup) {
  EXPECT_TRUE(TranslateTextRun(app, *capture, kPadEdit, u"  Hund \r\n"));
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"}));
  EXPECT_EQ(app.State.gReturnWindow, kPadEdit);
  EXPECT_FALSE(TranslateTextRun(app, *capture, kOwn, u"Hund")) << "the program's own windows";
  EXPECT_FALSE(TranslateTextRun(app, *capture, kPad, u" ")) << "blanks";
  (*app.State.WhiteCol.Find(u"Notepad"))->State = 0;
  EXPECT_FALSE(TranslateTextRun(app, *capture, kPadEdit, u"Hund")) << "a program switched off";
  EXPECT_EQ(capture->log.size(), 1u);
  ShowTransArgs args;
  EXPECT_EQ(PopupAnchor(args, {5, 6}), (Point{5, 6}));
  args.X = 100;
  EXPECT_EQ(PopupAnchor(args, {5, 6}), (Point{5, 6})) << "both or neither";
  args.Y = 200;
  EXPECT_EQ(PopupAnchor(args, {5, 6}), (Point{100, 200}));
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
  // Both clicks between two polls, one poll held up as long as a capture holds it.
  Poll({17}, {500, 300}, 0.02);
  for (auto [down, ageMs] : {std::pair{true, 300}, {false, 250}, {true, 150}, {false, 100}}) input->Change(1, down, ageMs);
  now_ += 0.5;
  Poll({17}, {500, 300}, 0.02);
  Idle();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund", "Popup Hund"})) << "a double-click within one poll";
  Select({17});
  Idle();
  EXPECT_EQ(capture->log.size(), 3u) << "a selection made with the key held";
  Select({17, 67});
  Idle();
  EXPECT_EQ(capture->log.size(), 3u) << "Ctrl with another key is no gesture";

  // A click counts only with TransByClick, and gives the word under the pointer.
  Poll({17, 1}, {500, 300}, 0.06);
  Poll({17}, {500, 300}, 0.06);
  Idle();
  EXPECT_EQ(capture->log.size(), 3u);
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

TEST_F(GestureTest, PointThenHoldTakesTheSelectionForEitherSelectionGesture) {
  app.Sett->TransKeyAction = 3;
  app.Sett->TransBySelect = false;
  Poll({17}, {500, 300}, 0.6);
  Idle();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"Popup Hund"})) << "a double-click selects as well";
  ASSERT_FALSE(capture->taken.empty());
  EXPECT_EQ(capture->taken.front(), "Selection " + std::to_string(kPadEdit));

  // A button released 10 pixels from where it went down has selected, not clicked.
  app.Sett->TransKeyAction = 1;
  app.Sett->TransBySelect = true;
  app.Sett->TransByClick = true;
  capture->taken.clear();
  Poll({17, 1}, {500, 300}, 0.1);
  Poll({17, 1}, {510, 300}, 0.1);
  Poll({17}, {510, 300}, 0.06);
  Idle();
  ASSERT_FALSE(capture->taken.empty());
  EXPECT_EQ(capture->taken.front(), "Selection " + std::to_string(kPadEdit));
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
  // Every poll applies the rule, whatever set the side.
  app.State.gTextDir = 1;
  CheckEvent(app, *capture);
  EXPECT_EQ(dic->Direction(), 1);
}

// The system's clipboard and keys as the simulated copy sees them.
struct FakeCopyPort : CopyPort {
  std::vector<std::string> calls;
  std::u16string clipboard = u"user text", kept;
  std::uint32_t sequence = 7;
  bool inFront = true, canOpen = true, keepable = true, copies = true, byOther = false;
  bool TargetInFront() override { return inFront; }
  bool SaveClipboard() override {
    if (!canOpen || !keepable) return false;
    kept = clipboard;
    return true;
  }
  std::uint32_t ClipboardSequence() override { return sequence; }
  void SendCopyKeys() override {
    calls.push_back("keys");
    if (copies) Change(u"selected");
  }
  bool WaitForClipboardChange(std::uint32_t since) override { return sequence != since; }
  std::u16string ReadClipboardText() override { return clipboard; }
  bool RestoreClipboard() override {
    if (!canOpen) return false;
    Change(kept);
    calls.push_back("restore");
    return true;
  }
  void DiscardSavedClipboard() override { calls.push_back("discard"); }
  bool ChangedByAnotherProgram() override { return byOther; }
  void Change(std::u16string text) {
    clipboard = std::move(text);
    ++sequence;
  }
};

TEST(SimulatedCopyTest, TheUsersClipboardComesBackAndKeysReachOnlyTheCapturedWindow) {
  SimulatedCopy copy;
  FakeCopyPort port;
  EXPECT_EQ(copy.Take(port, 10), u"selected");
  EXPECT_EQ(port.clipboard, u"user text");
  EXPECT_EQ(port.calls, (std::vector<std::string>{"keys", "restore"}));
  EXPECT_TRUE(copy.Quiet(8) && copy.Quiet(9)) << "the copy and its restore are no news";
  EXPECT_FALSE(copy.Quiet(7) || copy.Quiet(10));

  // Held open elsewhere, or not to be kept whole: no copy. Another window in front: no keys.
  for (auto block : {&FakeCopyPort::canOpen, &FakeCopyPort::keepable, &FakeCopyPort::inFront}) {
    FakeCopyPort p;
    p.*block = false;
    EXPECT_EQ(copy.Take(p, 20), u"");
    EXPECT_TRUE(p.calls.empty());
    EXPECT_EQ(p.clipboard, u"user text");
  }
  // Another window came forward while the clipboard was being kept: still no keys.
  struct LeavesFront : FakeCopyPort {
    int checks = 0;
    bool TargetInFront() override { return ++checks == 1; }
  } leaves;
  EXPECT_EQ(copy.Take(leaves, 30), u"");
  EXPECT_EQ(leaves.calls, (std::vector<std::string>{"discard"}));

  // A restore that fails is tried again until it succeeds, unless the user copies meanwhile.
  SimulatedCopy retry;
  struct FailOnce : FakeCopyPort {
    int failures = 1;
    bool RestoreClipboard() override { return failures-- > 0 ? false : FakeCopyPort::RestoreClipboard(); }
  } once;
  EXPECT_EQ(retry.Take(once, 40), u"selected");
  EXPECT_EQ(once.clipboard, u"selected");
  EXPECT_TRUE(retry.Pending());
  // Until the user's clipboard is back, no capture copies over it again.
  once.failures = 1;
  EXPECT_EQ(retry.Take(once, 40.05), u"");
  EXPECT_EQ(std::count(once.calls.begin(), once.calls.end(), "keys"), 1);
  retry.Poll(once, 40.1);
  EXPECT_EQ(once.clipboard, u"user text");
  EXPECT_FALSE(retry.Pending());
  once.failures = 1;
  EXPECT_EQ(retry.Take(once, 50), u"selected");
  once.byOther = true;
  once.Change(u"the user's newer copy");
  retry.Poll(once, 50.2);
  EXPECT_EQ(once.clipboard, u"the user's newer copy");
  EXPECT_FALSE(retry.Pending());
}

TEST(SimulatedCopyTest, ALateCopyIsUndone) {
  SimulatedCopy copy;
  FakeCopyPort port;
  port.copies = false;
  EXPECT_EQ(copy.Take(port, 10), u"");
  port.Change(u"selected");  // the program copies after the wait
  copy.Poll(port, 11);
  EXPECT_EQ(port.clipboard, u"user text");
  EXPECT_FALSE(copy.Pending());
  // Once the time is over, a change is the user's own.
  EXPECT_EQ(copy.Take(port, 20), u"");
  copy.Poll(port, 20 + SimulatedCopy::kLateCopySeconds + 0.1);
  port.Change(u"copied later by the user");
  copy.Poll(port, 24);
  EXPECT_EQ(port.clipboard, u"copied later by the user");
  // A capture soon after one that copied nothing copies again.
  EXPECT_EQ(copy.Take(port, 30), u"");
  port.copies = true;
  EXPECT_EQ(copy.Take(port, 30.5), u"selected");
  EXPECT_EQ(port.clipboard, u"copied later by the user");
  // A late copy that comes just before the next capture is undone first, not kept as the user's.
  port.copies = false;
  EXPECT_EQ(copy.Take(port, 40), u"");
  port.Change(u"late");
  port.copies = true;
  EXPECT_EQ(copy.Take(port, 40.6), u"selected");
  EXPECT_EQ(port.clipboard, u"copied later by the user");

  // The user's clipboard owned by a third program is no change while the late copy is awaited.
  SimulatedCopy owned;
  FakeCopyPort third;
  third.copies = false;
  third.byOther = true;
  EXPECT_EQ(owned.Take(third, 10), u"");
  owned.Poll(third, 10.5);
  EXPECT_TRUE(owned.Pending());
  third.byOther = false;
  third.Change(u"selected");
  owned.Poll(third, 11);
  EXPECT_EQ(third.clipboard, u"user text");
}

TEST(SimulatedCopyTest, ShiftAndAltGoUpInsideTheCtrlPress) {
  const std::vector<CopyKey> plain{{17, true}, {'C', true}, {'C', false}, {17, false}};
  EXPECT_EQ(CopyKeystrokes(false, false), plain);
  // A lone Alt press and release would open the menu of the window in front.
  const std::vector<CopyKey> withAlt{{17, true}, {16, false}, {18, false}, {'C', true}, {'C', false}, {17, false}};
  EXPECT_EQ(CopyKeystrokes(true, true), withAlt);
}

TEST(ControlTextTest, RichEditSelectionsAfterManyParagraphs) {
  std::u16string text;
  for (int i = 0; i < 200; ++i) text += u"Katze\r\n";
  text += u"Hund";
  // The control counts each break as one character.
  const std::size_t start = 200 * 6, end = start + 4;
  const std::u16string read = text.substr(0, ControlTextReach(end, true));
  EXPECT_EQ(SelectionIn(read, start, end, true), u"Hund");
  EXPECT_EQ(SelectionIn(text, 8, 12, false), u"atze");
  EXPECT_EQ(SelectionIn(u"abc", 2, 9, false), u"") << "past the text";
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
