// The application object's own services: info line, result output, link dispatch, popup menu,
// help and About, settings entry and the plug-in host.
#include <gtest/gtest.h>

#include "app/help_about.h"
#include "app/link_layer.h"
#include "app/neighbour_services.h"
#include "app/plugin_host.h"
#include "app/popup_menu.h"
#include "app/view_history.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "platform/code_page.h"
#include "platform/help_viewer.h"
#include "support/fake_capture.h"
#include "support/fake_desktop.h"
#include "support/list_fixture.h"

#include <fstream>
#include <sstream>

namespace parlavent::testing {
namespace {

class ServicesHost : public FakeViewHost {
 public:
  std::shared_ptr<FakeRichTextBox> infoLine = std::make_shared<FakeRichTextBox>();
  std::shared_ptr<FakeRichTextBox> backTrans = std::make_shared<FakeRichTextBox>();
  clsLink backLinks;
  FakeTimer infoTimer{0, false};
  std::vector<MainMenuState> menus;

  std::shared_ptr<RichTextBox> InfoLine() override { return infoLine; }
  TimerControl* InfoTimer() override { return &infoTimer; }
  std::shared_ptr<RichTextBox> BackTransBox() override { return backTrans; }
  clsLink* BackTransLinks() override { return &backLinks; }
  void PopupMainMenu(const MainMenuState& m) override { menus.push_back(m); }
  void PopupEditMenu() override { calls.push_back("EditMenu"); }
  void RestartToolTipTimer() override { calls.push_back("ToolTipTimer"); }
  void SetBusyPointer(bool on) override { calls.push_back(on ? "Busy 1" : "Busy 0"); }
};

class FakeSpeech : public SpeechServices {
 public:
  std::vector<std::string> log;
  bool speaking = false;
  void SpeakText(std::u16string_view t) override { log.push_back("Speak " + ToUtf8(t)); }
  bool IsSpeaking() override { return speaking; }
  void ArmAutoSpeak(std::int32_t side) override { log.push_back("Arm " + std::to_string(side)); }
};

class RecordingHelp : public HelpViewer {
 public:
  explicit RecordingHelp(std::vector<std::u16string>& out) : out_(out) {}
  void DisplayTopic(WindowHandle, std::u16string_view f, std::u16string_view t) override {
    out_.push_back(std::u16string(f) + u"|" + std::u16string(t));
  }
  std::vector<std::u16string>& out_;
};

class ServicesTest : public ListTest {
 protected:
  ServicesTest() {
    app.Views = view;
    app.Capture = capture;
    app.Speech = speech;
    app.Forms = forms;
    app.frmMain = forms->LoadMain();
    windows->windows[FakeMainForm::kHandle].visible = true;
  }

  LinkItemPtr Item(const std::u16string& prefix, const std::u16string& link) {
    auto item = std::make_shared<clsLinkItem>();
    item->Prefix = prefix;
    item->Link = link;
    return item;
  }

  std::shared_ptr<ServicesHost> view = std::make_shared<ServicesHost>();
  std::shared_ptr<FakeCapture> capture = std::make_shared<FakeCapture>();
  std::shared_ptr<FakeSpeech> speech = std::make_shared<FakeSpeech>();
  CallLog log;
  std::shared_ptr<FakeForms> forms = std::make_shared<FakeForms>(log);
  std::shared_ptr<FakeWindows> windows = std::make_shared<FakeWindows>();
  ScopedWindows scopedWindows{windows};
  std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
  ScopedShell scopedShell{shell};
};

TEST_F(ServicesTest, InfoRestartsItsTimerOnlyWithAutoHide) {
  view->infoTimer.SetEnabled(true);
  app.Info(u"first", true);
  EXPECT_EQ(view->infoLine->text, u"first");
  EXPECT_EQ(view->infoLine->formats[0].color, 808080u);
  EXPECT_EQ(view->infoLine->SelLength(), 0);
  EXPECT_TRUE(view->infoTimer.Enabled());
  EXPECT_EQ(view->infoTimer.Interval(), 2000);
  app.Info(u"stays", false);
  EXPECT_FALSE(view->infoTimer.Enabled());
  app.Info(u"again", true);
  app.InfoClear();
  EXPECT_EQ(view->infoLine->text, u"");
  EXPECT_FALSE(view->infoTimer.Enabled());
}

TEST_F(ServicesTest, SetInputWithNoListWritesADisabledBox) {
  app.SetInput(u"cat", true);
  EXPECT_EQ(view->input->log, (std::vector<std::string>{"Enabled 0", "SetText cat", "Enabled 1"}));
  view->input->log.clear();
  app.SetInput(u"dog");
  EXPECT_EQ(view->input->log, (std::vector<std::string>{"Enabled 1", "SetText dog", "Enabled 1"}));
  EXPECT_TRUE(app.State.gUserTyped);
  EXPECT_EQ(app.GetInput(), u"dog");
}

TEST_F(ServicesTest, BackTransPaneFollowsItsSettingAndStoresIt) {
  app.ShowBackTrans(u"anything");
  EXPECT_TRUE(view->backTrans->log.empty());  // closed: untouched
  app.OpenBackTrans();
  EXPECT_EQ(GetSetting(u"Interface", u"BackTransOpen"), u"True");
  view->backTrans->SetText(u"old");
  app.ShowBackTrans(u" unknownword ");
  EXPECT_EQ(view->backTrans->text, u"");  // no translations: emptied
  app.CloseBackTrans();
  EXPECT_EQ(GetSetting(u"Interface", u"BackTransOpen"), u"False");
}

constexpr const char* kTranslated =
    "W\t1\tHaus\n"
    "W\t1\tauf ab\n"
    "W\t1\tab-c\n"
    "L\tHaus\tдом\n"
    "L\tHaus\tздание\n"
    "L\tauf ab\tвверх\n"
    "L\tab-c\tабв\n";

TEST_F(ServicesTest, BackTranslationsBecomeTrimmedLinks) {
  Load(kTranslated);
  app.Sett->BackTransOpen = true;
  app.ShowBackTrans(u" Haus ", true);
  const std::u16string text = view->backTrans->text;
  EXPECT_EQ(text.substr(0, 6), u"Haus: ");
  const auto second = text.find(u"здание");
  ASSERT_NE(second, std::u16string::npos);
  const auto link = view->backLinks.GetLinkByPos(static_cast<std::int32_t>(second) + 1);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Prefix, u"BackTrans");
  EXPECT_EQ(link->Link, u"здание");
}

TEST_F(ServicesTest, ExportSkipsPhrasesAndJoinsTranslations) {
  Load(kTranslated);
  const auto file = PackagePath().parent_path() / "retdic.txt";
  ASSERT_TRUE(ExportRetDic(app, file));
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::u16string text = AnsiCodePage().Decode(bytes.str());
  EXPECT_NE(text.find(u"Haus\tдом; здание\r\n"), std::u16string::npos) << ToUtf8(text);
  // Phrases stay out as headwords; they may still be another word's translation.
  for (const auto& line : SplitText(text, u"\r\n")) {
    EXPECT_NE(line.rfind(u"auf ab", 0), 0u) << ToUtf8(text);
    EXPECT_NE(line.rfind(u"ab-c", 0), 0u) << ToUtf8(text);
  }
  EXPECT_NE(text.find(u"вверх\tauf ab\r\n"), std::u16string::npos) << ToUtf8(text);
}

TEST_F(ServicesTest, TransOnFormWritesBoxesFocusAndHint) {
  struct Case {
    std::u16string in;
    bool isTrans;
    std::u16string inputAfter;
    std::string hint;
    bool inputFocused;
  } cases[] = {
      {u" word ", false, u"word", "t35", true},
      {u"word", true, u"word", "", false},
      {u"", false, u"kept", "", true},
  };
  for (const auto& c : cases) {
    view->input->SetText(u"kept");
    view->input->focused = view->output->focused = false;
    view->info.clear();
    view->infoLine->SetText(u"");
    app.TransOnForm(c.in, u"<w=TransWord-w> and <back=GoBack-0||U 1>", c.isTrans);
    EXPECT_EQ(view->input->text, c.inputAfter);
    EXPECT_EQ(ToUtf8(view->infoLine->text), c.hint);
    EXPECT_EQ(view->input->focused, c.inputFocused);
    EXPECT_EQ(view->output->focused, !c.inputFocused);
    EXPECT_EQ(app.OutPutMode, 1);
    EXPECT_TRUE(app.State.gUserTyped);
  }
  // The word list's notice that nothing begins with the typed text goes when its translation
  // shows, and so does its count; the direction filter's notice stays true and stays.
  view->infoLine->SetText(u"t127");
  app.TransOnForm(u"hauses", u"x", true);
  EXPECT_EQ(view->infoLine->text, u"");
  app.ListInfo = u"20 t130";
  view->infoLine->SetText(app.ListInfo);
  app.TransOnForm(u"hauses", u"x", true);
  EXPECT_EQ(view->infoLine->text, u"");
  view->infoLine->SetText(u"t133 German. t135");
  app.TransOnForm(u"hauses", u"x", true);
  EXPECT_EQ(view->infoLine->text, u"t133 German. t135");
  // A result whose text was not translated leaves the caret after the input.
  app.TransOnForm(u"abc", u"x", false);
  EXPECT_EQ(view->input->SelStart(), 3);
  // Translation links look plain; GoBack keeps the underline its options ask for.
  app.TransOnForm(u"w", u"<w=TransWord-w> <back=GoBack-0||U 1>", true);
  EXPECT_FALSE(view->output->formats[0].underline);
  EXPECT_TRUE(view->output->formats[2].underline);
}

TEST_F(ServicesTest, ShowTransRecordsTheViewAndAbortsLists) {
  Load(Words({"apple"}));
  ShowTransArgs args;
  args.OnForm = args.RepeatTrans = args.Tochno = true;
  app.ShowTrans(u"apple", args);
  EXPECT_TRUE(app.State.gListAbort && app.State.gFillAbort);
  ASSERT_FALSE(app.History().UndoCol.empty());
  EXPECT_EQ(app.History().UndoCol[0]->Data, u"apple\tTrue\tFalse\tFalse\tTrue");
  EXPECT_EQ(view->input->text, u"apple");
  args.OnForm = false;
  app.ShowTrans(u"pear", args);
  EXPECT_EQ(capture->log.back(), "Popup pear");
  EXPECT_EQ(app.History().UndoCol[0]->Data, u"pear\tTrue\tFalse\tFalse\tTrue");  // the popup is a view too
}

TEST_F(ServicesTest, LinkActionsByPrefixAndButton) {
  struct Case {
    std::u16string prefix;
    std::int16_t button;
    std::string expect;  // last capture, speech or view call, or the opened address
  } cases[] = {
      {u"LINK", 1, "open http://x"},
      {u"lit", 13, "Speak http://x"},
      {u"TransWord", 1, "pending http://x"},
      {u"TransWord", 2, "EditMenu"},
      {u"BackTTTrans", 2, "EditMenu"},
      {u"ExtTransTT", 1, "Popup http://x"},
      {u"Help", 1, "help"},
      {u"BackTTTrans", 1, "pending http://x"},
      {u"abc", 0, "ToolTipTimer"},
      {u"nosuch", 1, ""},
  };
  std::vector<std::u16string> helped;
  SetHelpViewer(std::make_shared<RecordingHelp>(helped));
  for (const auto& c : cases) {
    capture->log.clear();
    speech->log.clear();
    view->calls.clear();
    shell->opened.clear();
    helped.clear();
    app.State.gPendingCopy.clear();
    app.LinkHandler(Item(c.prefix, u"http://x"), c.button, view->output.get(), 0, 0);
    std::string got;
    if (!shell->opened.empty()) got = "open " + ToUtf8(shell->opened.back());
    if (!speech->log.empty()) got = speech->log.back();
    if (!view->calls.empty()) got = view->calls.back();
    if (!capture->log.empty() && capture->log.back() != "CloseToolTip") got = capture->log.back();
    if (!app.State.gPendingCopy.empty()) got = "pending " + ToUtf8(app.State.gPendingCopy);
    if (!helped.empty()) got = "help";
    EXPECT_EQ(got, c.expect) << ToUtf8(c.prefix) << " " << c.button;
    // Pointing leaves the hint window alone; every other action closes it.
    EXPECT_EQ(!capture->log.empty() && capture->log.front() == "CloseToolTip", c.button != 0);
  }
  SetHelpViewer(nullptr);
  // The popup road gets the popup argument set.
  app.LinkHandler(Item(u"ExtTransTT", u"w"), 1, nullptr, 0, 0);
  EXPECT_TRUE(capture->popups.back().SamePos && capture->popups.back().RepeatTrans);
}

TEST_F(ServicesTest, LinksUseTheProgramFontAndClickSoundByDefault) {
  app.Sett->GFont = {u"Verdana", 14};
  app.Sett->ClickSnd = true;
  auto box = std::make_shared<FakeRichTextBox>();
  clsLink links;
  links.SetLink(box, u"<go=nosuch-go> x");
  EXPECT_TRUE(box->All(0, 4, [](const FakeCharFormat& f) { return f.font == u"Verdana" && f.size == 14; }));
  box->charAtCursor = 0;
  box->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_EQ(shell->sounds, (std::vector<std::u16string>{u"Navigating"}));
  app.Sett->ClickSnd = false;
  box->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_EQ(shell->sounds.size(), 1u);
}

TEST_F(ServicesTest, LinkStateChangesAndSwappedButtons) {
  auto empty = Item(u"", u"x");
  app.LinkHandler(empty, 1, nullptr, 0, 0);
  EXPECT_EQ(app.State.gCurLink, empty);
  EXPECT_TRUE(capture->log.empty());

  app.State.gCurABC = 1;
  app.LinkHandler(Item(u"abcredir", u""), 1, nullptr, 0, 0);
  EXPECT_EQ(app.State.gCurABC, 2);
  app.LinkHandler(Item(u"abcredir", u""), 1, nullptr, 0, 0);
  EXPECT_EQ(app.State.gCurABC, 1);

  windows->windows[FakeMainForm::kHandle].visible = false;
  app.LinkHandler(Item(u"ExtTransOnForm", u"hidden"), 13, nullptr, 0, 0);
  EXPECT_TRUE(app.History().UndoCol.empty());

  // With the buttons swapped the right button is the click.
  app.State.gPrimaryButton = 2;
  capture->log.clear();
  app.LinkHandler(Item(u"TransWord", u"w"), 2, nullptr, 0, 0);
  EXPECT_EQ(app.State.gPendingCopy, u"w");
}

TEST_F(ServicesTest, EnterTwiceOnABackTranslationCopiesThenPastes) {
  app.State.gLastForeground = 0x777;
  auto word = Item(u"BackTrans", u"Haus");
  app.LinkHandler(word, 13, view->output.get(), 0, 0);
  EXPECT_EQ(app.State.gPendingCopy, u"Haus");
  EXPECT_EQ(view->Calls("CopyText"), (std::vector<std::string>{"CopyText Haus 1"}));
  EXPECT_EQ(view->infoLine->text, u"t223");
  app.LinkHandler(word, 13, view->output.get(), 0, 0);
  EXPECT_EQ(app.State.gPendingCopy, u"");
  EXPECT_EQ(capture->log.back(), "Paste " + std::to_string(0x777));
  // Walking onto the word forgets the pending copy, so Enter copies again.
  app.LinkHandler(word, 13, view->output.get(), 0, 0);
  app.LinkHandler(word, 10, view->output.get(), 0, 0);
  EXPECT_EQ(app.State.gPendingCopy, u"");
  EXPECT_EQ(view->infoLine->text, u"t221");
}

TEST_F(ServicesTest, ListLinkRecordsTheListViewThenTranslates) {
  Load(Words({"apple"}));
  app.State.gListArg = u"ap";
  app.State.gListKind = u"List";
  view->output->SetText(u"apple");
  view->output->SetSelStart(1);
  view->output->SetSelLength(2);
  app.LinkHandler(Item(u"List", u"apple"), 1, view->output.get(), 0, 0);
  const auto& undo = app.History().UndoCol;
  ASSERT_EQ(undo.size(), 2u);
  EXPECT_EQ(undo[1]->Data, u"ap\tList\t1\t2");
  EXPECT_EQ(undo[0]->Data, u"apple\tFalse\tTrue\tFalse\tFalse");
}

TEST_F(ServicesTest, MenuFollowsPlaceAndState) {
  app.Sett->HotKeyCode = 0;
  app.State.gDicButtonCount = 2;
  app.ShowMenu(false);
  app.ShowMenu(true);
  ASSERT_EQ(view->menus.size(), 2u);
  const MainMenuState& tray = view->menus[0];
  EXPECT_TRUE(tray.ShowVisible && !tray.HideVisible && tray.DicItemsVisible == true);
  EXPECT_EQ(tray.ShowCaption, u"t9 ()");
  EXPECT_FALSE(tray.TLEnabled || tray.TransClipEnabled || tray.LearnEnabled || tray.KeybEnabled);
  EXPECT_TRUE(!view->menus[1].ShowVisible && view->menus[1].HideVisible && view->menus[1].DicItemsVisible == false);

  Load(Words({"a"}));
  app.State.gDicButtonCount = 1;
  app.Sett->TrlMode = 2;
  speech->speaking = true;
  app.ShowMenu(true);
  const MainMenuState& m = view->menus.back();
  EXPECT_FALSE(m.DicItemsVisible.has_value());
  EXPECT_TRUE(m.TLChecked && m.TLEnabled && m.LearnEnabled && m.KeybEnabled && !m.TransClipEnabled);
  EXPECT_TRUE(m.SpeakClipEnabled);
  EXPECT_EQ(m.SpeakClipCaption, u"t296");
}

TEST_F(ServicesTest, AboutListsVisibleDictionariesInThousands) {
  auto make = [](std::int32_t words, bool visible, const std::u16string& name) {
    auto dic = std::make_shared<clsDic>();
    dic->Words = words;
    dic->Visible = visible;
    auto src = std::make_shared<clsDicSrc>();
    src->Name = name;
    dic->Srcs->Add(u"k0", src);
    return dic;
  };
  EXPECT_EQ(FillAboutTemplate(app, u"v#Ver#[#Dictionaries#]", u"1.2.3", u"words"), u"v1.2.3[]");
  app.ColDics.Add(u"k1", make(12345, true, u"One"));
  app.ColDics.Add(u"k2", make(50000, false, u"Hidden"));
  app.ColDics.Add(u"k3", make(999, true, u"Two"));
  EXPECT_EQ(FillAboutTemplate(app, u"#Dictionaries#|#Dictionaries#", u"", u"w"),
            u"One: 12000 w\r\nTwo: 0 w|One: 12000 w\r\nTwo: 0 w");
}

TEST_F(ServicesTest, HelpFileAndWindowName) {
  std::vector<std::u16string> shown;
  SetHelpViewer(std::make_shared<RecordingHelp>(shown));
  app.Languages = {u"English", u"Russian"};
  app.Sett->CurLang = 1;
  app.ShowHelp(u"intro.htm");
  app.ShowHelp();
  SetHelpViewer(nullptr);
  const std::u16string file = app.GetHelpFile();
  EXPECT_NE(file.find(u"Help"), std::u16string::npos);
  EXPECT_EQ(file.substr(file.size() - 11), u"Russian.chm");
  EXPECT_EQ(shown, (std::vector<std::u16string>{file + u">small|intro.htm", file + u"|"}));
}

TEST_F(ServicesTest, SettingsDialogAlwaysRestartsThePolling) {
  class ThrowingDialog : public SettingsDialog {
   public:
    bool read = false;
    bool sawPollingOff = false;
    void ReadSetting() override { read = true; }
    void ShowModal(bool) override {
      sawPollingOff = !gAppl().frmMain->tmrUserEvents().Enabled() && gAppl().State.gNoLrnSpeak;
      throw 1;
    }
  };
  auto dialog = std::make_shared<ThrowingDialog>();
  app.frmSetting = dialog;
  app.ClearBuffer();
  app.WordSet->InString = u"old";
  app.ShowSetting();
  EXPECT_TRUE(dialog->read && dialog->sawPollingOff);
  EXPECT_TRUE(app.frmMain->tmrUserEvents().Enabled());
  EXPECT_FALSE(app.State.gNoLrnSpeak);
  EXPECT_EQ(app.WordSet->InString, u"");
  EXPECT_TRUE(view->input->focused);
  EXPECT_EQ(view->Calls("StopSpeak").size(), 1u);
}

class FakePlugIn : public PlugInObject {
 public:
  FakePlugIn(std::vector<std::string>& log, std::string name, bool loaded)
      : log_(log), name_(std::move(name)), loaded_(loaded) {}
  std::optional<bool> Loaded() override { return loaded_; }
  void SetParlavent(Appl*) override { log_.push_back(name_ + " Parlavent"); }
  void Init() override { log_.push_back(name_ + " Init"); }
  std::optional<bool> EventHandler(std::u16string_view n, const std::vector<EventArg>&) override {
    log_.push_back(name_ + " " + ToUtf8(n));
    return true;
  }
  void setplugin(PlugInObject*) override { log_.push_back(name_ + " setplugin"); }
  void Unload() override { log_.push_back(name_ + " Unload"); }

 private:
  std::vector<std::string>& log_;
  std::string name_;
  bool loaded_;
};

TEST_F(ServicesTest, PlugInHost) {
  EXPECT_FALSE(mdlPublic::IsPlugInLoaded());
  app.PlugInInit();  // nothing registered
  EXPECT_FALSE(app.SendEvent(u"ShowToolTipWindow"));

  for (bool loaded : {false, true}) {
    std::vector<std::string> log;
    app.CreatePlugIn = [&](std::u16string_view id) -> std::shared_ptr<PlugInObject> {
      return std::make_shared<FakePlugIn>(log, id == u"ParlaventPlugIn.Skin" ? "skin" : "hint", loaded);
    };
    app.PlugInInit();
    EXPECT_EQ(app.SendEvent(u"GetTextSize"), loaded);
    app.PlugInUnload();
    const std::vector<std::string> expected =
        loaded ? std::vector<std::string>{"skin Parlavent", "hint setplugin", "hint Parlavent", "skin Init",
                                          "skin GetTextSize", "skin Unload", "hint Unload"}
               : std::vector<std::string>{"skin Unload"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(app.PlugIn || app.State.gPlugIn || app.State.gHint);
  }
}

TEST_F(ServicesTest, ClipboardChangeArmsSpeechOnlyForText) {
  app.IsTextInClip = true;
  app.ClipboardEventsChanged();
  EXPECT_FALSE(app.IsTextInClip);
  EXPECT_TRUE(speech->log.empty());
  capture->clipText = true;
  app.ClipboardEventsChanged();
  EXPECT_TRUE(app.IsTextInClip);
  EXPECT_EQ(speech->log, (std::vector<std::string>{"Arm 1"}));
}

}  // namespace
}  // namespace parlavent::testing

namespace parlavent::testing {
namespace {

TEST_F(ServicesTest, AnOpenAboutWindowIsUnloadedAtShutDown) {
  struct About : AboutWindow {
    std::vector<std::string> log;
    void Show() override { log.push_back("Show"); }
    void Unload() override { log.push_back("Unload"); }
  };
  auto about = std::make_shared<About>();
  app.LoadAbout = [about] { return about; };
  app.ShowAbout();
  app.CloseMe(false);
  EXPECT_EQ(about->log, (std::vector<std::string>{"Show", "Unload"}));
}

}  // namespace
}  // namespace parlavent::testing
