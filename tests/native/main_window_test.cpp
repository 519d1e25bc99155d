// The main window's behaviour against fakes: the typing road to the word list, the dictionary
// buttons, the tray clicks, the keys of the boxes and the layout.
#include <gtest/gtest.h>

#include <map>

#include "app/main_window_core.h"
#include "dictionary/dictionary.h"
#include "foundation/lang_entries.h"
#include "platform/settings_store.h"
#include "platform/toolbar.h"
#include "support/fake_clock.h"
#include "support/fake_desktop.h"
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
  void HideOutputCaret() override {}
  void DoEvents() override {}
  bool CtrlHeld() override { return false; }
  void PopupMainMenu(const MainMenuState&) override { log.push_back("Menu"); }
  void PopupEditMenu() override {}
  void OutputPixels(std::int32_t& w, std::int32_t& h) override { w = h = 0; }
  void Wait(bool) override {}
};

class MainWindowTest : public ListTest {
 protected:
  MainWindowTest() {
    MainControls c;
    c.txtInput = input;
    c.txtOutPut = output;
    c.clsLinkText = std::make_shared<clsLink>();
    c.TB1 = &tb1;
    c.tbDic = &tbDic;
    c.menus = &menus;
    c.shell = &shell;
    c.timers = {&changeInput, &infoClear, &escUsed, &modeMsg, &backTrans, &pasteSpk};
    core = std::make_shared<MainWindowCore>(c);
    MainWindowCore::Install(core);
    app.MainCalls.GetClipboard = [this] { return clipboard; };
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
  FakeBar tb1, tbDic;
  FakeMenus menus;
  FakeShell shell;
  FakeTimer changeInput{500, false}, infoClear{2000, false}, escUsed{1000, false}, modeMsg{0, true},
      backTrans{0, true}, pasteSpk{100, false};
  std::shared_ptr<MainWindowCore> core;
  std::u16string clipboard;
  ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
};

TEST_F(MainWindowTest, TypingArmsTheListTimerWhoseTickFillsTheWordList) {
  Load(Words({"apple", "apricot", "banana", "zz"}));
  int recorded = 0;
  app.MainCalls.CheckLayoutSwitch = [&recorded] { ++recorded; };
  G().gUserTyped = false;  // the program writes the box: no list
  input->SetText(u"ap");
  core->txtInput_Change();
  EXPECT_FALSE(changeInput.Enabled());
  EXPECT_TRUE(G().gListAbort);
  EXPECT_EQ(recorded, 1) << "the layout-switch recorder sees every change";

  G().gUserTyped = true;
  core->txtInput_Change();
  ASSERT_TRUE(changeInput.Enabled());
  core->tmrChangeInput_Timer();
  EXPECT_FALSE(changeInput.Enabled());
  const std::string out = ToUtf8(output->text);
  EXPECT_NE(out.find("apple"), std::string::npos);
  EXPECT_NE(out.find("apricot"), std::string::npos);
  EXPECT_EQ(out.find("banana"), std::string::npos);
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

  clipboard = std::u16string(100000, u'y') + u"\x02";
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
  clipboard = u"three";
  EXPECT_TRUE(core->txtInput_KeyDown(86, 2));
  EXPECT_EQ(input->text, u"one three");
  EXPECT_EQ(input->selStart, 9);

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
  constexpr WindowHandle kKeyb = 0x77;
  windows->windows[kKeyb].rect = {0, 0, 200, 80};
  app.MainCalls.KeybWindow = [] { return kKeyb; };
  struct Case {
    std::int32_t mode;
    Rect main;
    Rect expected;
  } cases[] = {
      {0, {100, 100, 500, 400}, {0, 0, 200, 80}},       // not docked: never moved
      {1, {100, 100, 500, 400}, {0, 0, 200, 80}},       // same place as at the last tick: nothing
      {1, {110, 100, 500, 400}, {110, 400, 310, 480}},  // below, aligned left
      {2, {110, 100, 520, 400}, {320, 400, 520, 480}},  // below, aligned right
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

TEST(MainLayout, InputAndToolbarShareARowOnlyWhenThereIsRoom) {
  MainLayoutInput in;
  in.W = 400, in.H = 300, in.bottomH = 32, in.tb1Width = 190, in.tb1Height = 22, in.tbDicWidth = 46;
  in.keybWidth = in.keybHeight = 24, in.abcWidth = 28;
  MainLayout l = ComputeMainLayout(in);
  EXPECT_EQ(l.tb1.x, 400 - 190 - 4);
  EXPECT_EQ(l.tb1.y, 4);
  EXPECT_EQ(l.inputFrame.width, 206 - 8);
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
