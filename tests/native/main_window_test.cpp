// The main window's behaviour against fakes: the typing road to the word list, the dictionary
// buttons, the tray clicks, the keys of the boxes and the layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/companion_state.h"
#include "app/main_window_core.h"
#include "app/neighbour_services.h"
#include "app/view_history.h"
#include "dictionary/dic_members.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "foundation/lang_entries.h"
#include "foundation/voice.h"
#include "platform/help_viewer.h"
#include "platform/settings_store.h"
#include "platform/toolbar.h"
#include "support/fake_capture.h"
#include "support/fake_clock.h"
#include "support/fake_companions.h"
#include "support/fake_desktop.h"
#include "support/fake_input.h"
#include "support/fake_rich_text_box.h"
#include "support/list_fixture.h"

namespace parlavent::testing {
namespace {

class FakeBar : public Toolbar {
 public:
  struct Button {
    std::u16string key, tip, image;
    bool pressed = false, enabled = true, visible = true;
  };
  std::vector<Button> buttons;
  std::vector<std::u16string> images;
  void UseMainImageList() override {}
  std::int32_t AddButton(std::u16string_view key, std::u16string_view tip, ToolbarStyle) override {
    buttons.push_back({std::u16string(key), std::u16string(tip), std::u16string(key)});
    return ButtonCount();
  }
  std::int32_t ButtonCount() override { return static_cast<std::int32_t>(buttons.size()); }
  bool ButtonVisible(std::int32_t i) override { return At(i).visible; }
  void SetButtonVisible(std::int32_t i, bool v) override { At(i).visible = v; }
  std::int32_t ButtonWidth(std::int32_t) override { return 23; }
  void SetWidth(std::int32_t) override {}
  std::int32_t IndexOf(std::u16string_view key) override {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      if (EqualsNoCase(buttons[i].key, key)) return static_cast<std::int32_t>(i + 1);
    }
    return 0;
  }
  std::u16string ButtonKey(std::int32_t i) override { return At(i).key; }
  void Clear() override { buttons.clear(); }
  bool ButtonPressed(std::int32_t i) override { return At(i).pressed; }
  void SetButtonPressed(std::int32_t i, bool p) override { At(i).pressed = p; }
  void SetButtonEnabled(std::int32_t i, bool e) override { At(i).enabled = e; }
  void SetButtonToolTip(std::int32_t i, std::u16string_view t) override { At(i).tip = std::u16string(t); }
  void SetButtonImage(std::int32_t i, std::u16string_view k) override { At(i).image = std::u16string(k); }
  void SetImages(const std::vector<std::pair<std::u16string, std::shared_ptr<Picture>>>& list) override {
    images.clear();
    for (const auto& [key, picture] : list) images.push_back(key);
  }
  Button& At(std::int32_t i) { return buttons.at(static_cast<std::size_t>(i - 1)); }
};

class FakeMenus : public MainMenus {
 public:
  struct Dic {
    std::int32_t tag;
    std::u16string caption;
    bool checked = false, visible = true;
  };
  std::map<MenuItem, std::u16string> captions;
  std::map<MenuItem, bool> visible;
  std::vector<Dic> dics;
  bool separator = false;
  void SetCaption(MenuItem item, std::u16string_view c) override { captions[item] = std::u16string(c); }
  void SetVisible(MenuItem item, bool v) override { visible[item] = v; }
  void ClearDics() override {
    dics.clear();
    separator = false;
  }
  void AddDic(std::int32_t tag, std::u16string_view c) override { dics.push_back({tag, std::u16string(c)}); }
  std::int32_t DicCount() override { return static_cast<std::int32_t>(dics.size()); }
  std::int32_t DicTag(std::int32_t n) override { return dics.at(static_cast<std::size_t>(n - 1)).tag; }
  void SetDic(std::int32_t n, std::u16string_view c, bool checked, bool v) override {
    auto& d = dics.at(static_cast<std::size_t>(n - 1));
    if (!c.empty()) d.caption = std::u16string(c);
    d.checked = checked;
    d.visible = v;
  }
  void SetDicSeparatorVisible(bool v) override { separator = v; }
};

class FakeShell : public MainWindowShell {
 public:
  bool visible = true;
  std::u16string caption;
  std::vector<std::string> log;
  bool Visible() override { return visible; }
  void SetCaption(std::u16string_view c) override { caption = std::u16string(c); }
  bool CursorOverInput() override { return false; }
  void SetAbcVisible(bool) override {}
  void SetAbcEnabled(bool) override {}
  void SetKeybEnabled(bool) override {}
  void SetAbcToolTip(std::u16string_view) override {}
  void ShowExpArrows(bool) override {}
  void SetTrayPicture(bool) override {}
  void SetTopMost() override {}
  void SendDownToOutput() override { log.push_back("Down"); }
  void HideOutputCaret() override { log.push_back("HideCaret"); }
  void DoEvents() override {}
  bool CtrlHeld() override { return ctrl; }
  void PopupMainMenu(const MainMenuState&) override { log.push_back("Menu"); }
  void PopupEditMenu() override {}
  void OutputPixels(std::int32_t& w, std::int32_t& h) override { w = h = 0; }
  void Wait(bool on) override { log.push_back(on ? "Wait 1" : "Wait 0"); }
  bool ctrl = false;
};

class MainWindowTest : public ListTest {
 protected:
  MainWindowTest() {
    MainControls c;
    c.txtInput = input;
    c.txtOutPut = output;
    c.lblInfo = info;
    c.txtBackTrans = backBox;
    c.clsLinkBackTrans = std::make_shared<clsLink>();
    c.clsLinkText = std::make_shared<clsLink>();
    c.TB1 = &tb1;
    c.tbDic = &tbDic;
    c.menus = &menus;
    c.shell = &shell;
    c.timers = {&changeInput, &infoClear, &escUsed, &modeMsg, &backTrans, &pasteSpk, &toolTip};
    core = std::make_shared<MainWindowCore>(c);
    MainWindowCore::Install(core);
    app.Capture = capture;
  }
  std::shared_ptr<clsDic> AddDic(std::int32_t index, bool visible, bool directions) {
    auto dic = std::make_shared<clsDic>();
    dic->Index = index;
    dic->Visible = visible;
    dic->SupportDirection = directions;
    app.ColDics.Add(u"k" + NumberText(index), dic);
    return dic;
  }

  std::shared_ptr<FakeRichTextBox> input = std::make_shared<FakeRichTextBox>();
  std::shared_ptr<FakeRichTextBox> output = std::make_shared<FakeRichTextBox>();
  std::shared_ptr<FakeRichTextBox> info = std::make_shared<FakeRichTextBox>();
  std::shared_ptr<FakeRichTextBox> backBox = std::make_shared<FakeRichTextBox>();
  FakeBar tb1, tbDic;
  FakeMenus menus;
  FakeShell shell;
  FakeTimer changeInput{500, false}, infoClear{2000, false}, escUsed{1000, false}, modeMsg{0, true},
      backTrans{0, true}, pasteSpk{100, false}, toolTip{300, false};
  std::shared_ptr<MainWindowCore> core;
  std::shared_ptr<FakeCapture> capture = std::make_shared<FakeCapture>();
  ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
};

TEST_F(MainWindowTest, TypingArmsTheListTimerWhoseTickFillsTheWordList) {
  Load(Words({"apple", "apricot", "banana", "zz"}));
  app.Sett->TrlMode = 1;
  G().gUserTyped = false;  // the program writes the box: no list
  input->SetText(u"ap");
  core->txtInput_Change();
  EXPECT_FALSE(changeInput.Enabled());
  EXPECT_TRUE(G().gListAbort);
  EXPECT_EQ(app.CompanionData().lastInput, u"ap") << "the layout-switch recorder sees every change";

  G().gUserTyped = true;
  core->txtInput_Change();
  ASSERT_TRUE(changeInput.Enabled());
  core->tmrChangeInput_Timer();
  EXPECT_FALSE(changeInput.Enabled());
  const std::string out = ToUtf8(output->text);
  EXPECT_NE(out.find("apple"), std::string::npos);
  EXPECT_NE(out.find("apricot"), std::string::npos);
  EXPECT_EQ(out.find("banana"), std::string::npos);

  // A list still pending when the program writes the box is not shown for the program's text.
  core->txtInput_Change();
  ASSERT_TRUE(changeInput.Enabled());
  G().gUserTyped = false;
  input->SetText(u"banana");
  core->txtInput_Change();
  EXPECT_FALSE(changeInput.Enabled());
}

TEST_F(MainWindowTest, DictionaryButtonsFollowVisibleDictionariesAndCycleDirection) {
  auto first = AddDic(1, true, false);
  AddDic(2, false, true);  // hidden: no images, button or menu entry, but it keeps its number
  auto third = AddDic(3, true, true);
  third->Direction(2);
  first->SetEnabled(false);
  core->LoadDicButtons();

  ASSERT_EQ(tbDic.ButtonCount(), 2);
  EXPECT_EQ(tbDic.ButtonKey(2), u"k3");
  EXPECT_EQ(tbDic.images, (std::vector<std::u16string>{u"k10", u"k11", u"k12", u"k30", u"k31", u"k32"}));
  EXPECT_EQ(tbDic.At(2).image, u"k32");
  EXPECT_TRUE(tbDic.At(1).pressed);
  EXPECT_EQ(G().gDicButtonCount, 2);
  ASSERT_EQ(menus.dics.size(), 2u);
  EXPECT_TRUE(menus.separator);
  EXPECT_TRUE(menus.dics[0].checked);
  EXPECT_EQ(shell.caption.substr(0, 12), u"  Parlavent ");

  core->tbDic_ButtonClick(u"k3");  // another dictionary: it becomes current
  EXPECT_EQ(G().gCurDic, third);
  EXPECT_FALSE(tbDic.At(1).pressed);
  EXPECT_TRUE(tbDic.At(2).pressed);
  EXPECT_TRUE(menus.dics[1].checked);
  for (const char* expected : {"0", "1", "2"}) {  // the current one's button cycles its direction
    core->tbDic_ButtonClick(u"k3");
    EXPECT_EQ(ToUtf8(GetSetting(u"Main", u"DicDir3", u"")), expected);
    EXPECT_EQ(tbDic.At(2).image, u"k3" + FromUtf8(expected));
  }
  core->tbDic_ButtonClick(u"k1");
  core->tbDic_ButtonClick(u"k1");  // no direction support: only selected again
  EXPECT_EQ(first->Direction(), 0);
  EXPECT_EQ(GetSetting(u"Main", u"DicDir1", u"none"), u"none");

  // Chosen in the tray menu, a dictionary replaces the view of the one before, as its button does.
  app.History().UndoCol.clear();
  core->mnuDics_Click(2);
  EXPECT_EQ(G().gCurDic, third);
  ASSERT_FALSE(app.History().UndoCol.empty());
  EXPECT_EQ(app.History().UndoCol.front()->Mode, u"ABC");

  // The back-translation came from the dictionary left, also when the new one lists nothing.
  backBox->SetText(u"Hund; Hund");
  input->SetText(u"Tisch");
  core->mnuDics_Click(1);
  EXPECT_EQ(input->text, u"Tisch");
  EXPECT_TRUE(backBox->text.empty());
}

// A link hint shows for the link the pointer rests on; not where a window opened over the box (or
// the pointer went below the last line) hides it, and not after a click on it.
TEST_F(MainWindowTest, ALinkHintIsOnlyForTheLinkUnderThePointerAndNeverAfterItsClick) {
  auto pointer = std::make_shared<FakeInput>();
  ScopedInput scopedInput{pointer};
  pointer->cursor = {100, 100};
  G().gLastCursorX = G().gLastCursorY = 0;
  app.Sett->ShowTooltips = true;
  clsLink links;
  links.SetLink(output, u"<a=Link-http://a> <b=Link-http://b>");
  output->charAtCursor = 0;
  output->RaiseMouseMove(0, 0, 0, 0);
  ASSERT_TRUE(toolTip.Enabled());
  core->tmrToolTip_Timer();
  EXPECT_EQ(capture->log, (std::vector<std::string>{"ToolTip http://a"}));

  capture->log.clear();
  output->RaiseMouseMove(0, 0, 0, 0);
  output->charAtCursor = -1;  // what the box answers for a pointer over a window above it
  core->tmrToolTip_Timer();
  EXPECT_TRUE(capture->log.empty());

  output->charAtCursor = 0;
  output->RaiseMouseDown(1, 0, 0, 0);  // the press is a hover too
  output->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_FALSE(toolTip.Enabled()) << "no hint 0.3 s after the click";
}

TEST_F(MainWindowTest, ASingleDictionaryHasNoMenuEntry) {
  AddDic(1, true, true)->SetEnabled(false);
  core->LoadDicButtons();
  EXPECT_EQ(G().gDicButtonCount, 1);
  ASSERT_EQ(menus.dics.size(), 1u);
  EXPECT_FALSE(menus.dics[0].visible);
  EXPECT_FALSE(menus.separator);
}

TEST_F(MainWindowTest, TrayClicksFlipAutoModeOnceAndDoubleClickUndoesIt) {
  FakeClock clock;
  ScopedClock scoped{std::shared_ptr<Clock>(&clock, [](Clock*) {})};
  app.Sett->AutoOn = false;
  core->picNotifier_MouseMove(513, false);  // events stopped: ignored
  EXPECT_FALSE(app.Sett->AutoOn);

  core->picNotifier_MouseMove(513, true);
  EXPECT_TRUE(app.Sett->AutoOn);
  EXPECT_EQ(modeMsg.Interval(), 500);
  clock.now += 0.1;
  core->picNotifier_MouseMove(513, true);  // too soon: the same click
  EXPECT_TRUE(app.Sett->AutoOn);
  core->picNotifier_MouseMove(515, true);  // the double-click takes the flip back
  EXPECT_FALSE(app.Sett->AutoOn);
  EXPECT_FALSE(modeMsg.Enabled());

  core->picNotifier_MouseMove(517, true);  // the tray menu opens through the popup-menu service
  EXPECT_EQ(shell.log, (std::vector<std::string>{"Menu"}));
  EXPECT_EQ(capture->log, (std::vector<std::string>{"CloseToolTip"})) << "no link hint over the menu";
}

// A paste, a drop or typing that brings control characters or more than the box holds: the box
// keeps the text without them, cut to its length, and the info line says that it was cut.
TEST_F(MainWindowTest, InputBoxDropsControlCharactersAndCutsLongText) {
  auto info = std::make_shared<FakeRichTextBox>();
  MainControls c;
  c.txtInput = input;
  c.txtOutPut = output;
  c.lblInfo = info;
  c.timers = {&changeInput, &infoClear, &escUsed, &modeMsg, &backTrans, &pasteSpk};
  auto withInfo = std::make_shared<MainWindowCore>(c);
  MainWindowCore::Install(withInfo);

  input->SetText(u"Ha\x01us\x7F\tTür\r\n\x1B");
  input->selStart = 3;
  withInfo->txtInput_Change();
  EXPECT_EQ(input->text, u"Haus\x7F\tTür\r\n");
  EXPECT_EQ(info->text, u"") << "nothing was cut";

  input->SetText(std::u16string(100000, u'x'));
  withInfo->txtInput_Change();
  EXPECT_EQ(input->text.size(), kInputBoxMax);
  EXPECT_EQ(info->text, app.LZ(lang::kInfoInputCut));

  capture->clipboard = std::u16string(100000, u'y') + u"\x02";
  input->SetText(u"");
  EXPECT_TRUE(withInfo->txtInput_KeyDown(86, 2));
  EXPECT_EQ(input->text, std::u16string(kInputBoxMax, u'y'));
  MainWindowCore::Install(core);
}

TEST_F(MainWindowTest, KeysOfTheBoxes) {
  // Pasting brings only text and replaces only the selection.
  input->SetText(u"one two");
  input->selStart = 4;
  input->selLength = 3;
  capture->clipboard = u"three";
  EXPECT_TRUE(core->txtInput_KeyDown(86, 2));
  EXPECT_EQ(input->text, u"one three");
  EXPECT_EQ(input->selStart, 9);
  // Megabytes on the clipboard: the box takes what a look-up takes.
  capture->clipboard.clear();
  while (capture->clipboard.size() < 3000000) capture->clipboard += u"Hund ";
  input->SetText(u"");
  EXPECT_TRUE(core->txtInput_KeyDown(45, 1));
  EXPECT_LE(input->text.size(), 1024u);
  EXPECT_EQ(input->text.substr(0, 5), u"Hund ");
  capture->clipboard = u"three";
  input->SetText(u"one two");
  input->selStart = 4;
  input->selLength = 3;

  // A letter typed in the output box starts a new input; "A" and below stay with the box.
  output->SetText(u"first\r\nsecond");
  EXPECT_FALSE(core->txtOutPut_KeyPress(u'A', 0));
  EXPECT_FALSE(core->txtOutPut_KeyPress(u'b', 2));
  EXPECT_TRUE(core->txtOutPut_KeyPress(u'b', 0));
  EXPECT_EQ(input->text, u"b");

  // Up on the first output line goes back to the input with its text selected.
  app.OutPutMode = 1;
  output->selStart = 3;
  EXPECT_TRUE(core->txtOutPut_KeyDown(38, 0));
  EXPECT_TRUE(input->focused);
  EXPECT_EQ(input->selLength, 1);
  output->selStart = 9;
  EXPECT_FALSE(core->txtOutPut_KeyDown(38, 0));

  // Down from the input moves into a list.
  app.OutPutMode = 0;
  EXPECT_TRUE(core->txtInput_KeyDown(40, 0));
  EXPECT_EQ(shell.log, (std::vector<std::string>{"Down"}));

}

TEST_F(MainWindowTest, EscBlocksTheHideButtonForASecond) {
  G().gEscUsed = true;
  escUsed.SetEnabled(true);
  core->cmdHide_Click();  // nothing to hide natively, but it must not get that far either
  core->tmrEscUsedClear_Timer();
  EXPECT_FALSE(G().gEscUsed);
  EXPECT_FALSE(escUsed.Enabled());
}

TEST_F(MainWindowTest, ADockedKeyboardFollowsTheWindowAndAnUndockedOneStays) {
  auto windows = std::make_shared<FakeWindows>();
  ScopedWindows scoped{windows};
  auto companions = std::make_shared<FakeCompanions>();
  app.Companion = companions;
  const WindowHandle kKeyb = companions->keyb.handle;
  windows->windows[kKeyb].rect = {0, 0, 200, 80};
  struct Case {
    std::int32_t mode;
    Rect main;
    Rect expected;
  } cases[] = {
      {0, {100, 100, 500, 400}, {0, 0, 200, 80}},       // not docked: never moved
      {1, {100, 100, 500, 400}, {0, 0, 200, 80}},       // same place as at the last tick: nothing
      {1, {110, 100, 500, 400}, {110, 400, 500, 480}},  // below, as wide as the window
      {2, {110, 100, 520, 400}, {110, 400, 520, 480}},
  };
  for (const Case& c : cases) {
    G().gDockMode = c.mode;
    core->tmrDockKeyb_Timer(c.main);
    const Rect& r = windows->windows[kKeyb].rect;
    EXPECT_EQ((std::vector<long>{r.left, r.top, r.right, r.bottom}),
              (std::vector<long>{c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
        << "mode " << c.mode;
  }
}

// ---- The main road: what a user does in the window, through the behaviour ----------------------

class MainRoadTest : public MainWindowTest {
 protected:
  MainRoadTest() {
    Load("L\tapple\tяблоко\nL\tapricot\tабрикос\nL\tbanana\tбанан\n");
    app.Sett->ExtTransString = u"\u00BB\u00BB\u00BB";
    G().gUserTyped = true;  // as the window's load leaves it
  }
  // The user puts the focus into a box: only that box has it.
  void Focus(FakeRichTextBox& box) {
    input->focused = output->focused = false;
    box.focused = true;
    if (&box == input.get()) core->txtInput_GotFocus();
    if (&box == output.get()) core->txtOutPut_GotFocus();
  }
  void Type(std::u16string_view text) {
    Focus(*input);
    input->SetText(text);
    input->selStart = static_cast<std::int32_t>(text.size());
    core->txtInput_Change();
  }
  std::string Out() const { return ToUtf8(output->text); }
  // Enter with that part of the output selected; the view it recorded.
  std::string TranslateOutputSelection(std::int32_t start, std::int32_t length) {
    output->selStart = start;
    output->selLength = length;
    core->TranslateInput();
    return LastView();
  }
  std::string Hint() const { return ToUtf8(info->text); }
  // The last view the history recorded: mode and data.
  std::string LastView() {
    const auto& col = app.History().UndoCol;
    return col.empty() ? "" : ToUtf8(col[0]->Mode + u" " + col[0]->Data);
  }
  /// The companions in memory, with a speech server of one voice that reads.
  std::shared_ptr<FakeCompanions> Speaking() {
    auto companions = std::make_shared<FakeCompanions>();
    app.Companion = companions;
    app.CompanionData().engine = companions->engine;
    app.SAPIWork = true;
    auto voice = std::make_shared<clsVoice>();
    voice->Name = u"V";
    app.Voices.Add(u"V", voice);
    return companions;
  }
  static std::shared_ptr<clsLinkItem> Link(std::u16string_view prefix, std::u16string_view link) {
    auto item = std::make_shared<clsLinkItem>();
    item->Prefix = std::u16string(prefix);
    item->Link = std::u16string(link);
    return item;
  }
};

TEST_F(MainRoadTest, EnterTwiceOnOneWordShowsTheTranslationBothTimes) {
  for (int time = 1; time <= 2; ++time) {
    Type(u"apple");
    input->focused = false;  // from here on the fake records where the focus is sent
    core->Form_KeyUp(13, 0);
    EXPECT_NE(Out().find("яблоко"), std::string::npos) << "Enter number " << time;
    EXPECT_TRUE(output->focused) << "a translation takes the focus to the output, Enter number " << time;
    EXPECT_FALSE(input->focused);
    EXPECT_EQ(Hint(), "") << "no 'nothing was translated' for a result that was reused, Enter number " << time;
    EXPECT_EQ(ToUtf8(input->text), "apple");
    EXPECT_EQ(app.OutPutMode, 1);
  }
  // Clicking one list entry twice goes the same way.
  for (int time = 1; time <= 2; ++time) {
    app.LinkHandler(Link(u"List", u"banana"), 1, output.get(), 0, 0);
    EXPECT_NE(Out().find("банан"), std::string::npos);
    EXPECT_EQ(Hint(), "");
  }
}

TEST_F(MainRoadTest, ATranslationWithAnExtendedOneSaysSo) {
  Type(u"apple");
  core->Form_KeyUp(13, 0);
  EXPECT_EQ(Hint(), "");
  // The result offers its extended translation (the common dictionary answered first): asked
  // again, the reused result says so.
  app.WordSet->UseExtTrans = true;
  Type(u"apple");
  core->Form_KeyUp(13, 0);
  EXPECT_EQ(Hint(), "t222");
  EXPECT_TRUE(output->focused);
}

TEST_F(MainRoadTest, TheInputShowsThePartOfTheTextTheResultCovers) {
  for (const char16_t* text : {u"apple,", u"(apple)", u"  apple.  "}) {
    capture->clipboard = text;
    input->SetText(u"typed");
    core->TranslateClipboard();
    EXPECT_EQ(ToUtf8(input->text), "apple") << ToUtf8(text);
    EXPECT_NE(Out().find("яблоко"), std::string::npos);
  }
  // An unknown word is covered too: it stays for correcting, with the hint and the caret after it.
  capture->clipboard = u"grape";
  core->TranslateClipboard();
  EXPECT_EQ(ToUtf8(input->text), "grape");
  EXPECT_EQ(Hint(), "t35");
  EXPECT_TRUE(input->focused);
  EXPECT_EQ(input->selStart, 5);
}

TEST_F(MainRoadTest, AnEmptyLookUpWritesNeitherBox) {
  Type(u"apple");
  core->Form_KeyUp(13, 0);
  const std::u16string shown = output->text;
  const auto links = core->Controls().clsLinkText->Links.size();
  auto keys = std::make_shared<FakeInput>();
  ScopedInput scopedInput{keys};
  for (const char16_t* text : {u"...", u". apple", u"banana"}) {
    capture->clipboard = text;
    if (std::u16string_view(text) == u"banana") keys->down.insert(27);  // Esc abandons the look-up
    core->TranslateClipboard();
    EXPECT_EQ(ToUtf8(input->text), "apple") << "nothing covered, nothing written";
    EXPECT_EQ(output->text, shown);
    EXPECT_EQ(core->Controls().clsLinkText->Links.size(), links) << "the output's links stay";
    EXPECT_TRUE(input->focused);
    EXPECT_EQ(input->selLength, 5) << "the whole input is selected";
    EXPECT_EQ(Hint(), "");
  }
}

TEST_F(MainRoadTest, TranslateInputByFocusAndSelection) {
  // Typed text with "," asks for the translations the words have in common.
  Type(u"apple, apricot");
  core->TranslateInput();
  EXPECT_EQ(LastView(), "Trans apple, apricot\tFalse\tFalse\tFalse\tTrue");
  EXPECT_EQ(ToUtf8(input->text), "apple, apricot") << "the list stays as typed";

  // Ctrl held asks again, for the extended translation.
  shell.ctrl = true;
  Type(u"banana");
  core->TranslateInput();
  EXPECT_EQ(LastView(), "Trans banana\tTrue\tFalse\tFalse\tFalse");
  shell.ctrl = false;

  // A word list with a line selected while the input has the focus: the selection, as a whole.
  Type(u"ap");
  core->tmrChangeInput_Timer();
  ASSERT_EQ(app.OutPutMode, 0);
  Focus(*input);
  EXPECT_EQ(TranslateOutputSelection(0, 5), "Trans apple\tFalse\tTrue\tFalse\tFalse");

  // In the output: the selected text, unless the selection is a link (Enter on a link is the link
  // layer's) or the extended-translation line, which lists the words of the input instead.
  output->SetText(u"a banana here");
  Focus(*output);
  EXPECT_EQ(TranslateOutputSelection(2, 6), "Trans banana\tFalse\tFalse\tFalse\tFalse");
  const std::size_t views = app.History().UndoCol.size();
  core->Controls().clsLinkText->SetLink(output, u"<more=ExtTransOnForm-apple>", false, u"\r\n");
  TranslateOutputSelection(0, 4);
  EXPECT_EQ(app.History().UndoCol.size(), views) << "a link under the caret is not translated here";
  core->Controls().clsLinkText->Reset();
  Type(u"ap");
  output->SetText(u"\u00BB\u00BB\u00BB");
  Focus(*output);
  EXPECT_EQ(TranslateOutputSelection(0, 3), "AllList ap");
  // Nothing selected in the output: the input's text, trimmed.
  input->SetText(u"  banana ");
  EXPECT_EQ(TranslateOutputSelection(0, 0), "Trans banana\tFalse\tFalse\tFalse\tFalse");
}

// Enter after the word list appeared: the list selects its own first line, which is taken only
// when the user moved there or the typed text finds nothing.
TEST_F(MainRoadTest, EnterAfterTheWordListTranslatesWhatWasTyped) {
  app.Dic = Build("L\tKind\tребёнок\nL\tkinderarzt\tпедиатр\nL\tkindergarten\tдетский сад\n", "forms_full.dic");
  ReadReplaceRules(u"er\t,", *app.Dic->SfxCol);
  const auto listed = [&](std::u16string_view text) {
    Type(text);
    core->tmrChangeInput_Timer();
    ASSERT_EQ(app.OutPutMode, 0);
    ASSERT_EQ(Out().substr(0, 10), "kinderarzt");
    ASSERT_GT(output->selLength, 0);
  };
  listed(u"Kinder");  // a form of Kind
  core->Form_KeyUp(13, 0);
  EXPECT_EQ(LastView().substr(0, 13), "Trans Kinder\t");
  EXPECT_NE(Out().find("ребёнок"), std::string::npos);
  EXPECT_EQ(Out().find("педиатр"), std::string::npos);

  listed(u"Kinder");  // the user went down the list and back to the input box
  Focus(*output);
  Focus(*input);
  const auto line = static_cast<std::int32_t>(output->text.find(u"kindergarten"));
  EXPECT_EQ(TranslateOutputSelection(line, 12), "Trans kindergarten\tFalse\tTrue\tFalse\tFalse");

  listed(u"kinderar");  // nothing of its own: the list's line
  core->Form_KeyUp(13, 0);
  EXPECT_EQ(LastView().substr(0, 17), "Trans kinderarzt\t");
}

TEST_F(MainRoadTest, ToolbarKeysAndHistory) {
  Type(u"apple");
  core->TB1_ButtonClick(u"Trans");
  Type(u"banana");
  core->TB1_ButtonClick(u"Trans");
  EXPECT_NE(Out().find("банан"), std::string::npos);
  core->TB1_ButtonClick(u"Back");
  EXPECT_NE(Out().find("яблоко"), std::string::npos);
  core->TB1_ButtonClick(u"Redo");
  EXPECT_NE(Out().find("банан"), std::string::npos);
  // Backspace in the output box goes back as well.
  Focus(*output);
  EXPECT_TRUE(core->txtOutPut_KeyDown(8, 0));
  EXPECT_NE(Out().find("яблоко"), std::string::npos);

  capture->clipboard = u"banana";
  core->TB1_ButtonClick(u"Paste");
  EXPECT_NE(Out().find("банан"), std::string::npos);

  Focus(*input);
  input->SetText(u"pear tree");
  input->selStart = 5;
  input->selLength = 4;
  core->TB1_ButtonClick(u"Copy");
  EXPECT_EQ(capture->clipboard, u"tree");
  input->selLength = 0;
  core->Form_KeyUp(67, 2);  // Ctrl+C without a selection: the whole input
  EXPECT_EQ(capture->clipboard, u"pear tree");

  app.Sett->AutoOn = false;
  core->TB1_ButtonClick(u"Mode");
  EXPECT_TRUE(app.Sett->AutoOn);
  EXPECT_EQ(GetSetting(u"Main", u"Auto", u""), u"True");
  EXPECT_TRUE(input->focused);

  auto companions = Speaking();
  core->TB1_ButtonClick(u"Speak");
  EXPECT_EQ(companions->engine->spoken.size(), 1u);
  core->Form_KeyUp(80, 2);  // Ctrl+P: the speaker again stops the reading
  EXPECT_FALSE(companions->engine->speaking);
  core->TB1_ButtonClick(u"Menu");
  EXPECT_EQ(shell.log.back(), "Menu");
}

TEST_F(MainRoadTest, MenuItems) {
  auto companions = Speaking();
  output->SetText(u"apple");
  core->MenuClick(MenuItem::Keyb);
  core->MenuClick(MenuItem::Stat);
  core->MenuClick(MenuItem::Learn);
  core->MenuClick(MenuItem::SpeakClip);
  app.State.gCurLink = Link(u"TransWord", u"яблоко");
  core->MenuClick(MenuItem::Copy);
  EXPECT_TRUE(companions->keyb.visible);
  EXPECT_EQ(G().gDockMode, 0) << "from the menu the keyboard is free";
  EXPECT_EQ(companions->stat.shows, 1);
  EXPECT_TRUE(app.CompanionData().learning);
  EXPECT_EQ(G().gSpeakTarget, 1);
  ASSERT_EQ(companions->engine->spoken.size(), 1u) << "the clipboard item reads the output box";
  EXPECT_EQ(companions->engine->spoken[0].text, u"apple");
  EXPECT_EQ(ToUtf8(capture->clipboard), "яблоко");

  app.Sett->TrlMode = 1;
  core->MenuClick(MenuItem::TL);
  EXPECT_EQ(app.Sett->TrlMode, 2);
  core->MenuClick(MenuItem::TL);
  EXPECT_EQ(app.Sett->TrlMode, 1);

  // Back-translation of a word of the lower pane shows it on the form and says so.
  app.State.gCurLink = Link(u"BackTrans", u"apple");
  core->MenuClick(MenuItem::BackTrans);
  EXPECT_NE(Out().find("яблоко"), std::string::npos);
  EXPECT_EQ(Hint(), "t17 \"apple\"");

  capture->clipboard = u"banana";
  core->MenuClick(MenuItem::TransClip);
  EXPECT_NE(Out().find("банан"), std::string::npos);

  // The menu's help item and F1 open the help file at its default page.
  struct Viewer : HelpViewer {
    std::vector<std::u16string> opened;
    void DisplayTopic(WindowHandle, std::u16string_view file, std::u16string_view topic) override {
      opened.push_back(std::u16string(file) + u"|" + std::u16string(topic));
    }
  };
  auto viewer = std::make_shared<Viewer>();
  SetHelpViewer(viewer);
  core->MenuClick(MenuItem::Help);
  core->Form_KeyUp(112, 0);
  SetHelpViewer(nullptr);
  ASSERT_EQ(viewer->opened.size(), 2u);
  EXPECT_EQ(viewer->opened[0], viewer->opened[1]);
  EXPECT_NE(viewer->opened[0].find(u"Help"), std::u16string::npos);
  EXPECT_EQ(viewer->opened[0].back(), u'|') << "no topic";
}

TEST_F(MainRoadTest, RefreshEnabledModeAndLocalisation) {
  Focus(*input);
  input->SetText(u"");
  app.IsTextInClip = false;
  core->Form_Load();
  core->RefreshEnabled();
  const auto enabled = [this](std::u16string_view key) { return tb1.At(tb1.IndexOf(key)).enabled; };
  EXPECT_FALSE(enabled(u"Trans")) << "nothing to translate";
  EXPECT_FALSE(enabled(u"Copy"));
  EXPECT_FALSE(enabled(u"Paste"));
  input->SetText(u"ap");
  input->selLength = 1;
  app.IsTextInClip = true;
  core->RefreshEnabled();
  EXPECT_TRUE(enabled(u"Trans"));
  EXPECT_TRUE(enabled(u"Copy"));
  EXPECT_TRUE(enabled(u"Paste"));

  app.Sett->AutoOn = true;
  core->RefreshMode();
  EXPECT_TRUE(tb1.At(tb1.IndexOf(u"Mode")).pressed);
  EXPECT_EQ(tb1.At(tb1.IndexOf(u"Mode")).image, u"Mode1");

  // The quick-reference item belongs to interface language 1 only.
  for (int lang : {0, 1}) {
    app.Sett->CurLang = lang;
    core->LocalizeMe();
    EXPECT_EQ(menus.visible[MenuItem::Pam], lang == 1);
    EXPECT_EQ(menus.captions[MenuItem::Help], u"t13");
  }
}

TEST_F(MainRoadTest, LinksOfTheOutputBox) {
  // A list entry: recorded as a click of the list, then translated.
  Type(u"ap");
  core->tmrChangeInput_Timer();
  output->selStart = 0;
  output->selLength = 5;
  app.LinkHandler(Link(u"List", u"apple"), 1, output.get(), 0, 0);
  const auto& col = app.History().UndoCol;
  ASSERT_GE(col.size(), 3u);
  EXPECT_EQ(ToUtf8(col[1]->Mode + u" " + col[1]->Data), "ListClick ap\tList\t0\t5");
  EXPECT_NE(Out().find("яблоко"), std::string::npos);
  // GoBack returns to the list.
  app.LinkHandler(Link(u"GoBack", u"0"), 13, output.get(), 0, 0);
  EXPECT_NE(Out().find("apricot"), std::string::npos);

  // The caret walking onto a list entry shows its translation in the lower pane.
  app.Sett->BackTransOpen = true;
  app.LinkHandler(Link(u"List", u"apricot"), 10, output.get(), 0, 0);
  EXPECT_NE(ToUtf8(backBox->text).find("абрикос"), std::string::npos);
  app.LinkHandler(Link(u"List", u"banana"), 10, input.get(), 0, 0);  // only in the output box
  EXPECT_EQ(ToUtf8(backBox->text).find("банан"), std::string::npos);

  // The alphabet: a letter lists its first words, a right click all of them; "upl" opens About.
  app.LinkHandler(Link(u"abc", u"b"), 1, output.get(), 0, 0);
  EXPECT_NE(Out().find("banana"), std::string::npos) << Out();
  app.LinkHandler(Link(u"abc", u"b"), 2, output.get(), 0, 0);
  EXPECT_NE(Out().find("B b"), std::string::npos) << Out();
  struct About : AboutWindow {
    int shown = 0;
    void Show() override { ++shown; }
  };
  auto about = std::make_shared<About>();
  app.LoadAbout = [about] { return about; };
  app.LinkHandler(Link(u"upl", u""), 1, output.get(), 0, 0);
  EXPECT_EQ(about->shown, 1);
}

// With the application's main form, whose window the visibility services show and hide.
class MainFormRoadTest : public MainRoadTest {
 protected:
  MainFormRoadTest() { app.frmMain = form; }
  ~MainFormRoadTest() override { app.frmMain.reset(); }
  bool& Shown() { return windows->windows[FakeMainForm::kHandle].visible; }
  CallLog log;
  std::shared_ptr<FakeMainForm> form = std::make_shared<FakeMainForm>(log);
  std::shared_ptr<FakeWindows> windows = std::make_shared<FakeWindows>();
  ScopedWindows scoped{windows};
};

TEST_F(MainFormRoadTest, TrayDoubleClickShowsOrHidesAndForgetsTheOutsideWindow) {
  Shown() = true;
  app.Sett->AutoOn = false;
  shell.visible = true;
  app.State.gReturnWindow = 0x55;  // the capture poll remembers a window: show, even though visible
  core->picNotifier_MouseMove(515, true);
  EXPECT_EQ(app.State.gReturnWindow, 0u);
  EXPECT_EQ(GetSetting(u"Main", u"IsShowed", u""), u"1");
  core->picNotifier_MouseMove(515, true);  // visible, nothing remembered: hide
  EXPECT_EQ(GetSetting(u"Main", u"IsShowed", u""), u"0");
  EXPECT_FALSE(app.Sett->AutoOn) << "the two flips of a double-click cancel out";
}

TEST_F(MainFormRoadTest, ATranslationForAHiddenWindowShowsIt) {
  Shown() = false;
  Type(u"apple");
  core->TranslateInput();
  EXPECT_TRUE(Shown());
  EXPECT_EQ(GetSetting(u"Main", u"IsShowed", u""), u"1");
}

TEST_F(MainFormRoadTest, MenuItemsOfTheWindow) {
  Shown() = false;
  core->MenuClick(MenuItem::Show);
  EXPECT_TRUE(Shown());
  EXPECT_TRUE(form->txtInput->HasFocus());
  core->MenuClick(MenuItem::Hide);
  EXPECT_FALSE(Shown());
  core->MenuClick(MenuItem::Pam);
  core->MenuClick(MenuItem::Exit);
  EXPECT_EQ(log, (CallLog{"mnuPam_Click", "mnuExit_Click"}));

  // The settings dialog stops the polling while it is open and gives the input the focus after.
  struct Dialog : SettingsDialog {
    FakeMainForm* form = nullptr;
    bool pollingWhileOpen = true;
    void ReadSetting() override {}
    void ShowModal(bool) override { pollingWhileOpen = form->userEvents.Enabled(); }
  };
  auto dialog = std::make_shared<Dialog>();
  dialog->form = form.get();
  app.frmSetting = dialog;
  form->userEvents.SetEnabled(true);
  input->focused = false;
  core->MenuClick(MenuItem::Setting);
  EXPECT_FALSE(dialog->pollingWhileOpen);
  EXPECT_TRUE(form->userEvents.Enabled());
  EXPECT_TRUE(input->focused);

  struct About : AboutWindow {
    int shown = 0;
    void Show() override { ++shown; }
  };
  auto about = std::make_shared<About>();
  app.LoadAbout = [about] { return about; };
  core->MenuClick(MenuItem::About);
  EXPECT_EQ(about->shown, 1);
}

TEST_F(MainRoadTest, WindowKeys) {
  G().gListAbort = false;
  core->Form_KeyUp(27, 0);  // Esc stops a list search
  EXPECT_TRUE(G().gListAbort);
  // Ctrl+V outside the input box puts the clipboard's text into it.
  Focus(*output);
  capture->clipboard = u"banana";
  core->Form_KeyUp(86, 2);
  EXPECT_EQ(ToUtf8(input->text), "banana");
  // Ctrl+Backspace in a translation asks for the back-translation of the current link.
  app.OutPutMode = 1;
  app.State.gCurLink = Link(u"BackTrans", u"apple");
  EXPECT_TRUE(core->txtOutPut_KeyDown(8, 2));
  EXPECT_NE(Out().find("яблоко"), std::string::npos);
}

TEST(MainMenu, SeparatorsAreNoItemsAndStandOnlyBetweenShownGroups) {
  using K = MainMenuLine::Kind;
  const auto kinds = [](const std::vector<MainMenuLine>& lines) {
    std::string s;
    for (const auto& l : lines) s += l.kind == K::Separator ? '-' : l.kind == K::Dictionaries ? 'd' : 'i';
    return s;
  };
  const auto tray = [](MenuItem item) { return item != MenuItem::Hide && item != MenuItem::ScanSFX && item != MenuItem::Test; };
  const auto lines = ShownMenuLines(MainMenuLines(), tray, 2);
  EXPECT_EQ(kinds(lines), "i-iiiii-iiii-dd-iiii-i");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), MainMenuLine{K::Item, MenuItem::Show}), 1);
  // Groups with nothing shown leave no separator behind, at an end or twice in a row.
  const auto few = [](MenuItem item) { return item == MenuItem::Hide || item == MenuItem::Exit; };
  EXPECT_EQ(kinds(ShownMenuLines(MainMenuLines(), few, 0)), "i-i");
  EXPECT_EQ(kinds(ShownMenuLines(MainMenuLines(), [](MenuItem) { return false; }, 1)), "d");
}

TEST(MainLayout, InputAndToolbarShareARowOnlyWhenThereIsRoom) {
  MainLayoutInput in;
  in.W = 400, in.H = 300, in.bottomH = 32, in.tb1Width = 190, in.tb1Height = 22, in.tbDicWidth = 46;
  in.keybWidth = in.keybHeight = 24, in.abcWidth = 28;
  MainLayout l = ComputeMainLayout(in);
  EXPECT_EQ(l.tb1.x, 400 - 190 - 4);
  EXPECT_EQ(l.tb1.y, 4);
  EXPECT_EQ(l.inputFrame.width, 206 - 8);
  EXPECT_EQ(l.txtInput.x + l.txtInput.width, l.cmdAbc.x) << "the text never runs under the alphabet button";
  EXPECT_EQ(l.toolbar1.y, 268);
  EXPECT_EQ(l.outputFrame.y, 4 + 22 + 4);
  EXPECT_EQ(l.txtOutPut.height, 268 - 30 - 10);
  EXPECT_FALSE(l.backTransVisible);

  in.W = 250;  // too narrow: the toolbar goes below the input
  in.backTransOpen = true;
  l = ComputeMainLayout(in);
  EXPECT_EQ(l.tb1.x, 4);
  EXPECT_EQ(l.tb1.y, 22 + 8);
  EXPECT_EQ(l.inputFrame.width, 190);
  ASSERT_TRUE(l.backTransVisible);
  const std::int32_t area = l.outputFrame.height;
  EXPECT_EQ(l.txtBackTrans.height, 70);
  EXPECT_EQ(l.txtBackTrans.y, area - 70 - 3);
  EXPECT_EQ(l.txtOutPut.height, area - 16 - 70);
  EXPECT_EQ(l.exp.x, (250 - 16) / 2);
}

}  // namespace
}  // namespace parlavent::testing
