// Start-up order, the single-instance hand-over, shut-down, visibility, the tray icon and the
// notifications, against fake windows and services.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/main_form.h"
#include "app/statistics.h"
#include "app/view_history.h"
#include "companions/layout_switch.h"
#include "dictionary/dictionary.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "support/fake_companions.h"
#include "support/fake_desktop.h"
#include "support/fake_rich_text_box.h"
#include "support/fake_view_host.h"
#include "support/settings_fixture.h"

namespace parlavent::testing {
namespace {

class StartupTest : public SettingsTest {
 protected:
  StartupTest() {
    windows->windows[FakeMainForm::kHandle] = {{10, 20, 310, 420}};
    app.Forms = forms;
    const auto hook = [this](const char* name) { return [this, name] { log.push_back(name); }; };
    app.Companion = companions;
    app.Hooks.LoadClipHook = hook("LoadClipHook");
    app.Hooks.PlugInUnload = hook("PlugInUnload");
    app.Hooks.ShowModeMessage = hook("ShowModeMessage");
  }
  /// Starts the program and forgets what start-up logged.
  FakeMainForm& Started() {
    app.Run();
    log.clear();
    return *forms->main;
  }
  std::u16string Stored(std::u16string_view section, std::u16string_view name) {
    return GetSetting(section, name, u"(none)");
  }

  CallLog log;
  /// The companions' side, logging the speech start-up, the learning window and the keyboard's hiding.
  class LoggedCompanions : public FakeCompanions {
   public:
    explicit LoggedCompanions(CallLog& log) : log_(log) {}
    std::shared_ptr<SpeechEngine> StartSpeech() override {
      log_.push_back("InitSpk");
      return nullptr;
    }
    LearnWindow* Learn() override {
      log_.push_back("StartLearn");
      return FakeCompanions::Learn();
    }
    KeyboardWindow* Keyb() override {
      if (keyb.visible) log_.push_back("Keyb");
      return FakeCompanions::Keyb();
    }

   private:
    CallLog& log_;
  };
  std::shared_ptr<LoggedCompanions> companions = std::make_shared<LoggedCompanions>(log);
  std::shared_ptr<FakeForms> forms = std::make_shared<FakeForms>(log);
  std::shared_ptr<FakeDesktop> desktop = std::make_shared<FakeDesktop>(&log);
  std::shared_ptr<FakeWindows> windows = std::make_shared<FakeWindows>();
  std::shared_ptr<FakeTray> tray = std::make_shared<FakeTray>();
  std::shared_ptr<FakeProcesses> processes = std::make_shared<FakeProcesses>();
  std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
  std::shared_ptr<FakeInput> input = std::make_shared<FakeInput>();
  ScopedDesktop desktopScope{desktop};
  ScopedWindows windowsScope{windows};
  ScopedTray trayScope{tray};
  ScopedProcesses processesScope{processes};
  ScopedRegistry registryScope{registry};
  ScopedInput inputScope{input};
};

TEST_F(StartupTest, RunBringsTheProgramUpInItsFixedOrder) {
  WriteBytes(program.path() / "vovedorirada.ttf", "font");
  WriteBytes(UserFolder() / "statistics.dat", std::string("\xFF\xFEw\0\t\0" "2\0", 8));
  app.Run();
  const CallLog expected = {"LoadCopy",        "LoadBusy", "LoadMain",    "InstallFonts",
                            "InitSpk",  "ShowModeMessage", "LoadClipHook"};
  EXPECT_EQ(log, expected);
  ASSERT_EQ(app.Stat().Items().size(), 1u) << "Init reads the statistics";
  EXPECT_EQ(app.Stat().Items()[0]->Mass, 2);
  EXPECT_FALSE(app.SAPIEnabled) << "no speech server: speech is off";
  EXPECT_EQ(app.Sett, G().gSetting);
  EXPECT_TRUE(forms->main->userEvents.Enabled());
  EXPECT_TRUE(forms->main->enabled.Enabled());
  EXPECT_TRUE(windows->windows[FakeMainForm::kHandle].visible);
  EXPECT_EQ(tray->icons.size(), 1u);
}

TEST_F(StartupTest, InitTakesTheSystemFactsAndFolders) {
  input->swapped = true;
  registry->WriteString(kHkeyCurrentUser, u"AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\.Current", u"",
                        u"%SystemRoot%\\click.wav", true);
  app.Run();
  EXPECT_EQ(G().gPrimaryButton, 2);
  EXPECT_EQ(G().gSecondaryButton, 1);
  EXPECT_FLOAT_EQ(G().gDoubleClickTime, 0.4f);
  EXPECT_EQ(G().gLayouts, desktop->layouts);
  EXPECT_EQ(app.Sett->DicPath, program.Text() + u"/Dictionaries");
  EXPECT_EQ(app.Sett->ExtTransString, u"\u00BB\u00BB\u00BB");
  EXPECT_TRUE(G().gNotRepeatTrans);
  EXPECT_EQ(Stored(u"Main", u"Path"), program.Text());
  EXPECT_EQ(Stored(u"Main", u"AppPath"), app.Sett->AppFolder);
  std::u16string sound;
  const std::u16string own = u"AppEvents\\Schemes\\Apps\\Parlavent\\Navigating";
  ASSERT_TRUE(registry->ReadString(kHkeyCurrentUser, own + u"\\.Default", u"", sound));
  EXPECT_EQ(sound, u"%SystemRoot%\\click.wav");
  ASSERT_TRUE(registry->ReadString(kHkeyCurrentUser, own, u"", sound));
  EXPECT_EQ(sound, u"");
}

// A save cut short (8 of 129 kills while saving) left its temporary beside the file it was to
// replace; the next start removes it and reads the file as the last whole save left it.
TEST_F(StartupTest, AStartRemovesWhatSavesCutShortLeftAndKeepsTheWholeFiles) {
  WriteUserFile("\r\n[Main]\r\nTopMost=False\r\n");
  WriteBytes(UserFolder() / "WhiteList.inf", "C:\\a.exe\tA\t\tAClass\t1");
  const char* leftovers[] = {"Parlavent.ini.~new", "WhiteList.inf.~new", "WhiteList.inf.bak.~new",
                             "statistics.dat.~new", "Parlavent.ini.~probe"};
  for (const char* name : leftovers) WriteBytes(UserFolder() / name, "\r\n[Ma");
  app.Run();
  for (const char* name : leftovers) EXPECT_FALSE(std::filesystem::exists(UserFolder() / name)) << name;
  EXPECT_FALSE(Sett().TopMost);
  EXPECT_TRUE(G().WhiteCol.Exists(u"AClass"));
}

TEST_F(StartupTest, ConflictingProgramsAreDetected) {
  processes->list = {{u"PS.EXE", u"C:\\Program Files\\Punto Switcher\\ps.exe"},
                     {u"outpost.exe", u""},
                     {u"avp.exe", u""}};
  WriteUserFile("[Main]\r\nTrlMode=2\r\n");
  app.Run();
  EXPECT_EQ(app.Sett->TrlMode, 0);
  EXPECT_TRUE(G().gOutpostFound);
  ASSERT_EQ(tray->balloons.size(), 1u);  // notification 12 at Launch
  EXPECT_EQ(tray->balloons[0].icon, BalloonIcon::Warning);

  processes->list = {{u"ps.exe", u"C:\\Tools\\ps.exe"}};
  app.Sett->TrlMode = 2;
  app.Init();
  EXPECT_EQ(app.Sett->TrlMode, 2) << "a ps.exe elsewhere is not Punto Switcher";
}

TEST_F(StartupTest, WithoutDictionariesTheOutputSaysSo) {
  FakeMainForm& main = Started();
  G().gLangTable.assign(300, u"");
  G().gLangTable[295] = u"No dictionary found";
  app.Launch();
  EXPECT_EQ(app.OutPutMode, 1);
  EXPECT_EQ(main.txtOutPut->Text(), u"No dictionary found ");
}

TEST_F(StartupTest, WithoutAWritableUserFolderLaunchSaysSoOnce) {
  Started();
  struct WithInfoLine : FakeViewHost {
    std::shared_ptr<FakeRichTextBox> line = std::make_shared<FakeRichTextBox>();
    std::shared_ptr<RichTextBox> InfoLine() override { return line; }
  };
  auto host = std::make_shared<WithInfoLine>();
  app.Views = host;
  G().gLangTable.assign(400, u"");
  G().gLangTable[332] = u"Cannot save in:";
  app.Launch();
  EXPECT_EQ(host->line->text, u"");
  G().gLangTable[336] = u"Kept:";
  G().gKeptFiles = {u"statistics.dat", u"trl.dat"};
  app.Launch();
  EXPECT_EQ(host->line->text, u"Kept: statistics.dat, trl.dat");
  G().gLangTable[337] = u"Left:";
  G().gLeftFiles = {u"WhiteList.inf"};
  app.Launch();
  EXPECT_EQ(host->line->text, u"Left: WhiteList.inf");
  EXPECT_TRUE(G().gLeftFiles.empty()) << "said once";
  app.Sett->CannotSave = true;
  app.Launch();
  EXPECT_EQ(host->line->text, u"Cannot save in: " + API::GetAppDataFolder());
  app.Views = nullptr;
}

TEST_F(StartupTest, WithADictionaryLaunchOpensItsAlphabet) {
  Started();
  auto dic = std::make_shared<clsDic>();
  app.ColDics.Add(u"k1", dic);
  app.Dic = dic;
  app.State.gCurABC = 2;  // stored from an earlier dictionary
  app.Launch();
  ASSERT_FALSE(app.History().UndoCol.empty());
  EXPECT_EQ(app.History().UndoCol.front()->Mode, u"ABC");
  EXPECT_EQ(app.State.gCurABC, 2) << "a dictionary going both ways keeps the stored alphabet";
  dic->Direction(1);
  app.Launch();
  EXPECT_EQ(app.State.gCurABC, 1) << "a one-way dictionary shows its source's alphabet";
}

TEST_F(StartupTest, SecondCopyLeavesItsRequestAndEnds) {
  struct Case {
    const char16_t* commandLine;
    const char16_t* needShow;
  } cases[] = {{u"", u"1"}, {u"/H", u"(none)"}, {u"x /hidden", u"(none)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.commandLine));
    SetUserSettings(store = std::make_shared<MemorySettingsStore>());
    SaveSetting(u"Main", u"NeedUnload", u"1");
    desktop->otherInstance = true;
    process->commandLine = c.commandLine;
    process->ends = 0;
    log.clear();
    app.Run();
    EXPECT_EQ(Stored(u"Main", u"NeedShow"), c.needShow);
    EXPECT_EQ(Stored(u"Main", u"NeedUnload"), u"0");
    EXPECT_EQ(process->ends, 1);
    EXPECT_TRUE(log.empty()) << "nothing starts in a second copy";
  }
}

TEST_F(StartupTest, TheRunningCopyObeysRequestsEachTick) {
  FakeMainForm& main = Started();
  app.HideMe();
  log.clear();
  SaveSetting(u"Main", u"NeedShow", u"1");
  app.OnRemoteControlTick();
  EXPECT_TRUE(windows->windows[FakeMainForm::kHandle].visible);
  EXPECT_EQ(Stored(u"Main", u"NeedShow"), u"0");
  EXPECT_TRUE(log.empty());

  SaveSetting(u"Main", u"NeedUnload", u"1");
  app.OnRemoteControlTick();
  EXPECT_EQ(log, CallLog{"mnuExit_Click"});
  EXPECT_EQ(Stored(u"Main", u"NeedUnload"), u"0");
  (void)main;
}

TEST_F(StartupTest, CloseMeSavesReleasesAndEnds) {
  FakeMainForm& main = Started();
  app.Sett->SysTrayKeyb = true;
  tray->Add(FakeMainForm::kHandle, kKeybTrayIcon, 0, 0);
  app.Stat().AddItem(u"word");
  RecordPrefix(u"wo", 1033);
  app.CloseMe(true);
  const CallLog expected = {"DeleteIcon", "Unload frmMain", "PlugInUnload"};
  EXPECT_EQ(log, expected);
  EXPECT_TRUE(std::filesystem::exists(UserFolder() / "trl.dat")) << "the layout-switch table is saved";
  EXPECT_TRUE(std::filesystem::exists(UserFolder() / "statistics.dat")) << "the statistics are saved";
  EXPECT_TRUE(tray->icons.empty());
  EXPECT_EQ(G().gSetting, nullptr);
  EXPECT_EQ(Stored(u"Windows", u"frmMain.Set"), u"1");
  EXPECT_EQ(process->ends, 1);

  process->commandLine = u"/T";
  app.CloseMe(true);
  EXPECT_EQ(process->ends, 1) << "with /t the program ends through its message loop";
  EXPECT_EQ(desktop->loopEnded, 0);
  (void)main;
}

TEST_F(StartupTest, StopAndStartEventsSwitchBothPollingTimers) {
  FakeMainForm& main = Started();
  app.StopEvents();
  EXPECT_FALSE(main.userEvents.Enabled() || main.enabled.Enabled());
  app.StartEvents();
  EXPECT_TRUE(main.userEvents.Enabled() && main.enabled.Enabled());
  EXPECT_TRUE(main.msg.Enabled());
}

TEST_F(StartupTest, ShowAndHideRecordTheVisibility) {
  FakeMainForm& main = Started();
  companions->keyb.visible = true;
  G().gDockMode = 1;
  app.HideMe();
  EXPECT_FALSE(windows->windows[FakeMainForm::kHandle].visible);
  EXPECT_EQ(Stored(u"Main", u"IsShowed"), u"0");
  EXPECT_EQ(log, CallLog{"Keyb"});
  EXPECT_FALSE(companions->keyb.visible) << "a docked keyboard goes with the window";

  main.txtInput->SetText(u"word");
  main.txtInput->SetSelStart(4);
  G().gReturnWindow = 77;
  app.Sett->TopMost = true;
  app.ShowMe();
  const auto& window = windows->windows[FakeMainForm::kHandle];
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.insertAfter, kHwndTopMost);
  EXPECT_EQ(window.lastFlags, 0x43u);
  EXPECT_EQ(window.rect.left, 10);
  EXPECT_EQ(main.txtInput->SelLength(), 4);
  EXPECT_EQ(G().gReturnWindow, 0u);
  EXPECT_EQ(Stored(u"Main", u"IsShowed"), u"1");
}

TEST_F(StartupTest, AutoModeIsStoredAndShownInTheTrayTip) {
  Started();
  app.SetAutoMode(true);
  EXPECT_EQ(Stored(u"Main", u"Auto"), u"True");
  app.SetAutoMode(false);
  EXPECT_EQ(Stored(u"Main", u"Auto"), u"False");
  EXPECT_FALSE(app.Sett->AutoOn);
}

TEST_F(StartupTest, TrayIconFollowsTheSetting) {
  WriteUserFile("[Main]\r\nSysTray=False\r\n");
  FakeMainForm& main = Started();
  EXPECT_TRUE(tray->icons.empty());
  app.Sett->SysTray = true;
  app.CreateApplIcon();
  main.RefreshIcon(u"tip");
  EXPECT_EQ(tray->adds, 1) << "added once, then only changed";
  EXPECT_EQ((tray->icons[{FakeMainForm::kHandle, kMainTrayIcon}].tip), u"tip");
  EXPECT_EQ((tray->icons[{FakeMainForm::kHandle, kMainTrayIcon}].callback), FakeMainForm::kCallback);
}

TEST_F(StartupTest, NotificationsShowOnceAndCanBeSilenced) {
  Started();
  struct Case {
    std::int32_t id;
    const char16_t* text;
    bool onePerRun, allowClick, error, exclamation;
    const char16_t* title;
    const char16_t* body;
    BalloonIcon icon;
  } cases[] = {
      {3, u"Mode\r\nManual", true, false, false, false, u"Mode", u"Manual", BalloonIcon::Info},
      {4, u"One line", false, true, true, true, u"", u"One line\r\n\r\nclick", BalloonIcon::Error},
      {9, u"T\r\nB", false, false, false, true, u"T", u"B", BalloonIcon::Warning},
  };
  for (const Case& c : cases) {
    tray->balloons.clear();
    app.ShowNotify(c.id, c.text, c.onePerRun, c.allowClick, c.error, c.exclamation,
                   c.allowClick ? std::optional<std::u16string>(u"click") : std::nullopt);
    ASSERT_EQ(tray->balloons.size(), 1u) << c.id;
    EXPECT_EQ(tray->balloons[0].title, c.title);
    EXPECT_EQ(tray->balloons[0].body, c.body);
    EXPECT_EQ(tray->balloons[0].icon, c.icon);
  }
  tray->balloons.clear();
  app.ShowNotify(3, u"again", false);
  EXPECT_TRUE(tray->balloons.empty()) << "shown once this run";

  app.ShowNotify(9, u"x\r\ny", false, false);
  app.ClickLastNotify();
  EXPECT_EQ(Stored(u"Notify", u"NotifyStr9"), u"(none)") << "not clickable";
  app.ShowNotify(4, u"x\r\ny", false, true);
  app.ClickLastNotify();
  EXPECT_EQ(Stored(u"Notify", u"NotifyStr4"), u"0");
  tray->balloons.clear();
  app.ShowNotify(4, u"x\r\ny", false, true);
  EXPECT_TRUE(tray->balloons.empty()) << "silenced for good";
}

TEST_F(StartupTest, TranscriptionFontIsRegisteredFromTheFontFolder) {
  TempDir windowsFolder;
  desktop->windowsFolder = windowsFolder.Text();
  std::filesystem::create_directory(windowsFolder.path() / "Fonts");
  WriteBytes(program.path() / "vovedorirada.ttf", "font");

  app.InstallFonts();  // only the copy beside the program: usable, not registered
  ASSERT_EQ(desktop->fontsAdded.size(), 1u);
  EXPECT_EQ(desktop->fontsAdded[0], program.Text() + u"/vovedorirada.ttf");
  EXPECT_TRUE(registry->values.empty());

  WriteBytes(windowsFolder.path() / "Fonts" / "vovedorirada.ttf", "font");
  app.InstallFonts();
  app.InstallFonts();  // a second start registers the same value again
  EXPECT_EQ(desktop->fontsAdded.back(), windowsFolder.Text() + u"/Fonts/vovedorirada.ttf");
  std::u16string value;
  ASSERT_TRUE(registry->ReadString(kHkeyLocalMachine, u"software\\microsoft\\windows\\currentversion\\fonts",
                                   u"Parlavent Font vovedorirada.ttf (TrueType)", value));
  EXPECT_EQ(value, u"vovedorirada.ttf");
  EXPECT_EQ(desktop->fontBroadcasts, 3);
}

}  // namespace
}  // namespace parlavent::testing
