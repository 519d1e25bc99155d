#include "settings_dialog/settings_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/application.h"
#include "foundation/api_files.h"
#include "foundation/lang_table.h"
#include "foundation/settings_voices.h"
#include "foundation/white_list.h"
#include "settings_dialog/file_info.h"
#include "settings_dialog/settings_texts.h"
#include "settings_dialog/startup_entry.h"
#include "support/fake_companions.h"
#include "support/fake_settings_dialog.h"
#include "support/settings_fixture.h"
#include "support/voice_test_dic.h"
#include "text/text.h"

namespace parlavent {
namespace {

using testing::TestDic;

ControlValue N(std::int32_t n) {
  ControlValue v;
  v.number = n;
  return v;
}

class SettingsModelTest : public testing::SettingsTest {
 protected:
  SettingsModelTest() {
    const auto shipped = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "lang.dat";
    std::filesystem::copy_file(shipped, program.path() / "lang.dat");
    Sett().LoadSett();
    mdlPublic::LoadLang(Sett().CurLang, Sett().site, Sett().Email);
    model.ReadSetting();
  }
  std::u16string Ok() {
    std::u16string message;
    result = model.cmdOK_Click(message);
    return message;
  }
  void AddVoices() {
    for (const char16_t* name : {u"Anna", u"Boris"}) {
      auto voice = std::make_shared<clsVoice>();
      voice->Name = name;
      voice->Spd = -1;
      voice->Vol = 10;
      app.Voices.Add(name, voice);
    }
    app.DefVoice = *app.Voices.Find(u"Anna");
    enRu->Dicx = enRuCommon;
    dics.Add(u"k1", enRu);
    dics.Add(u"k2", hidden);
    G().gDicVoices = MakeDicVoiceSource(dics);
  }
  std::shared_ptr<clsVoice> Voice(std::u16string_view name) { return *app.Voices.Find(name); }
  std::string WhiteListText() const { return testing::ReadBytes(UserFolder() / "WhiteList.inf"); }

  std::shared_ptr<testing::FakeRegistry> registry = std::make_shared<testing::FakeRegistry>();
  testing::ScopedRegistry registryScope{registry};
  SettingsModel model{app};
  SettingsModel::OkResult result = SettingsModel::OkResult::Refused;
  std::shared_ptr<TestDic> enRu = std::make_shared<TestDic>(TestDic{true, u"en", u"ru"});
  std::shared_ptr<TestDic> enRuCommon = std::make_shared<TestDic>(TestDic{false, u"en", u"ru"});
  std::shared_ptr<TestDic> hidden = std::make_shared<TestDic>(TestDic{false, u"de", u"fr"});
  KeyedCollection<std::shared_ptr<TestDic>> dics;
};

TEST_F(SettingsModelTest, EveryControlShowsItsFieldAndOkWithoutChangesKeepsTheSettings) {
  // Values away from the defaults, so a control bound to the wrong field shows.
  Setting& s = Sett();
  s.CurLang = 1;
  s.TopMost = false;
  s.TrlMode = 2;
  s.HotKeyCode = 116;
  s.HotKeyShift = 17;
  s.HotKeyDouble = false;
  s.TransKeyAction = 2;
  s.TransByCtrl = false;
  s.TransByAlt = true;
  s.GFont = {u"Tahoma", 12.5};
  s.HintBG = 0x123456;
  s.Buttons = 1 + 4 + 512;  // bit 0 and bit 9 lie outside the dialog's buttons and stay
  s.LrnInt = 10;
  s.LrnNL = 250;
  s.LrnFont = u"Georgia";
  s.LrnFontSize = 14;
  s.LrnItalic = true;
  s.LrnSource = 3;
  SetStartupEntry(true);
  model.ReadSetting();

  EXPECT_EQ(model.Get(u"cmbLanguage").number, 1);
  EXPECT_EQ(model.Controls()[model.Find(u"cmbLanguage")].options, (std::vector<std::u16string>{u"English", u"Русский"}));
  EXPECT_EQ(model.Get(u"chkTopMost").number, 0);
  EXPECT_EQ(model.Get(u"cmbTrlMode").number, 2);
  EXPECT_EQ(model.Get(u"txtHotKey").hotKey, (HotKeyValue{116, 17, false}));
  EXPECT_EQ(SettingsModel::HotKeyText(model.Get(u"txtHotKey").hotKey), u"Ctrl + F5");
  EXPECT_EQ(model.Get(u"cmbKeyAction").number, 1);
  EXPECT_EQ(model.Get(u"cmbGestureKey").number, 2);  // Alt
  EXPECT_EQ(SettingsModel::FontText(model.Get(u"cmdFont")), u"Tahoma, 12.5");
  EXPECT_EQ(model.Get(u"cmdHintBG").number, 0x123456);
  EXPECT_EQ(model.Get(u"chkButton1").number, 0);
  EXPECT_EQ(model.Get(u"chkButton2").number, 1);
  EXPECT_EQ(model.Get(u"chkButton3").number, 0);
  EXPECT_EQ(model.Get(u"numLrnInt").number, 21);  // shown as 31 minus the interval
  EXPECT_EQ(model.Get(u"numLrnNL").number, 250);
  EXPECT_EQ(model.Get(u"cmdLrnFont").text, u"Georgia");
  EXPECT_TRUE(model.Get(u"cmdLrnFont").italic);
  EXPECT_EQ(model.Get(u"cmbLrnSource").number, 3);
  // Every control has its text in the interface language.
  for (const SettingControl& c : model.Controls()) {
    if (c.kind != ControlKind::Note) {
      EXPECT_FALSE(c.caption.empty()) << ToUtf8(c.name);
    }
  }

  const Setting before = s;
  EXPECT_EQ(Ok(), u"");
  EXPECT_EQ(result, SettingsModel::OkResult::Saved);
  EXPECT_EQ(s.CurLang, 1);
  EXPECT_EQ(s.TrlMode, 2);
  EXPECT_EQ(s.HotKeyCode, 116);
  EXPECT_EQ(s.HotKeyShift, 17);
  EXPECT_FALSE(s.HotKeyDouble);
  EXPECT_EQ(s.TransKeyAction, 2);
  EXPECT_TRUE(s.TransByAlt && !s.TransByCtrl && !s.TransByShift);
  EXPECT_EQ(s.GFont.Name, u"Tahoma");
  EXPECT_EQ(s.GFont.Size, 12.5);
  EXPECT_EQ(s.Buttons, before.Buttons);
  EXPECT_EQ(s.LrnInt, 10);
  EXPECT_EQ(s.LrnFontSize, 14);
  EXPECT_TRUE(s.LrnItalic);
  EXPECT_EQ(s.LrnBold, before.LrnBold);
  EXPECT_EQ(s.LrnSource, 3);
  EXPECT_EQ(s.AutoStart, before.AutoStart);
  EXPECT_EQ(s.LrnBC, before.LrnBC);
  EXPECT_EQ(s.SpkSel, before.SpkSel);
}

TEST_F(SettingsModelTest, ChangedControlsReachTheirFieldsAndTheSettingsFile) {
  const std::pair<const char16_t*, bool Setting::*> checks[] = {
      {u"chkAutoStart", &Setting::AutoStart},     {u"chkRestore", &Setting::Restore},
      {u"chkTopMost", &Setting::TopMost},         {u"chkSysTray", &Setting::SysTray},
      {u"chkSysTrayKeyb", &Setting::SysTrayKeyb}, {u"chkShowTooltips", &Setting::ShowTooltips},
      {u"chkClickSnd", &Setting::ClickSnd},       {u"chkTrlSound", &Setting::TrlSound},
      {u"chkByPoint", &Setting::TransByPoint},    {u"chkByClick", &Setting::TransByClick},
      {u"chkByDblClick", &Setting::TransByDblClick}, {u"chkBySelect", &Setting::TransBySelect},
      {u"chkTTHide", &Setting::TTHide},           {u"chkShowNoTrans", &Setting::ShowNoTrans},
      {u"chkAero", &Setting::Aero},
      {u"chkAllowShort", &Setting::GlbAllowShort}, {u"chkShowTranscript", &Setting::ShowTranscript},
      {u"chkNoDirForType", &Setting::NoDirForType}, {u"chkSpkClip", &Setting::SpkClip},
      {u"chkSpkSel", &Setting::SpkSel},           {u"chkSpkTrans", &Setting::SpkTrans},
      {u"chkSpkTransWord", &Setting::SpkTransWord}, {u"chkSpkLearner", &Setting::SpkLearner},
      {u"chkLrnRandom", &Setting::LrnRandom},     {u"chkLrnDir1", &Setting::LrnDir1},
      {u"chkLrnDir2", &Setting::LrnDir2},         {u"chkLrnFirst", &Setting::LrnFirst},
      {u"chkLrnTop", &Setting::LrnTop},           {u"chkLrnTR", &Setting::LrnTR},
      {u"chkLrnSimpleWord", &Setting::LrnSimpleWord}};
  Setting& s = Sett();
  for (const auto& [name, field] : checks) {
    ASSERT_GE(model.Find(name), 0) << ToUtf8(name);
    model.Set(name, N(s.*field ? 0 : 1));
  }
  const Setting before = s;
  model.Set(u"cmbTrlMode", N(0));
  model.Set(u"cmbKeyAction", N(0));
  model.Set(u"cmbGestureKey", N(1));
  model.Set(u"numLrnNL", N(1000));
  model.Set(u"numLrnNM", N(7));
  model.Set(u"numLrnInt", N(30));
  model.Set(u"numLrnTransp", N(55));
  model.Set(u"cmdLrnBC", N(0xABCDEF));
  model.Set(u"cmdHintBrd", N(0x010203));
  model.Set(u"chkButton6", N(0));
  ControlValue font;
  font.text = u"Verdana";
  font.size = 9;
  font.bold = true;
  model.Set(u"cmdLrnFont", font);
  ControlValue hot;
  hot.hotKey = {65, 18, false};
  model.Set(u"txtHotKey", hot);
  EXPECT_EQ(Ok(), u"");

  for (const auto& [name, field] : checks) EXPECT_NE(s.*field, before.*field) << ToUtf8(name);
  EXPECT_EQ(s.TrlMode, 0);
  EXPECT_EQ(s.TransKeyAction, 1);
  EXPECT_TRUE(s.TransByShift && !s.TransByCtrl && !s.TransByAlt);
  EXPECT_EQ(s.LrnNL, 1000);
  EXPECT_EQ(s.LrnNM, 7);
  EXPECT_EQ(s.LrnInt, 1);
  EXPECT_EQ(s.LrnTransp, 55);
  EXPECT_EQ(s.LrnBC, 0xABCDEF);
  EXPECT_EQ(s.HintBrd, 0x010203);
  EXPECT_EQ(s.Buttons & (1 << 6), 0);
  EXPECT_NE(s.Buttons & (1 << 5), 0);
  EXPECT_EQ(s.LrnFont, u"Verdana");
  EXPECT_TRUE(s.LrnBold);
  EXPECT_EQ(s.HotKeyCode, 65);
  EXPECT_EQ(s.HotKeyShift, 18);

  const std::string file = UserText();
  EXPECT_NE(file.find("HotKeyCode=65"), std::string::npos);
  EXPECT_NE(file.find("TransByShift=True"), std::string::npos);
  EXPECT_NE(file.find("NLast=1000"), std::string::npos);
  EXPECT_NE(file.find("Interval=1\r\n"), std::string::npos);
  EXPECT_NE(file.find("FontName=Verdana"), std::string::npos);
}

TEST_F(SettingsModelTest, ChoicesOutsideTheirOptionsShowTheNearestAndSaveIt) {
  Sett().TransKeyAction = 7;
  Sett().TrlMode = -2;
  Sett().LrnSource = 9;
  Sett().CurLang = 5;  // a column lang.dat does not have
  model.ReadSetting();
  EXPECT_EQ(model.Get(u"cmbKeyAction").number, 2);
  EXPECT_EQ(model.Get(u"cmbTrlMode").number, 0);
  EXPECT_EQ(model.Get(u"cmbLrnSource").number, 3);
  EXPECT_EQ(model.Get(u"cmbLanguage").number, 0);
  EXPECT_EQ(Ok(), u"");
  EXPECT_EQ(Sett().TransKeyAction, 3);
  EXPECT_EQ(Sett().TrlMode, 0);
  EXPECT_EQ(Sett().LrnSource, 3);
  EXPECT_EQ(Sett().CurLang, 0);
}

TEST_F(SettingsModelTest, ValuesOutOfRangeAreRefusedByNameAndNothingIsSaved) {
  ASSERT_EQ(Ok(), u"");
  const std::string saved = UserText();
  const Setting before = Sett();
  const auto refused = [&](std::u16string_view name, const ControlValue& bad, std::u16string_view expected) {
    SCOPED_TRACE(ToUtf8(name));
    const ControlValue good = model.Get(name);
    model.Set(name, bad);
    const std::u16string message = Ok();
    EXPECT_EQ(result, SettingsModel::OkResult::Refused);
    EXPECT_EQ(message, expected);
    EXPECT_EQ(model.RefusedControl(), model.Find(name));
    EXPECT_EQ(UserText(), saved);
    model.Set(name, good);
  };
  Sett().GFont.Size = std::nan("");  // read from a broken file
  model.ReadSetting();
  EXPECT_EQ(SettingsModel::FontText(model.Get(u"cmdFont")), u"Arial, 0");
  refused(u"cmdFont", model.Get(u"cmdFont"), u"Program font\r\nChoose a font size from 6 to 72.");
  Sett().GFont.Size = before.GFont.Size;
  model.ReadSetting();
  ControlValue font = model.Get(u"cmdFont");
  font.size = 0;
  refused(u"cmdFont", font, u"Program font\r\nChoose a font size from 6 to 72.");
  refused(u"numLrnInt", N(500), u"Card speed (1 slow to 30 fast)\r\nEnter a whole number from 1 to 30.");
  refused(u"numLrnNL", N(1001), u"Number of last words\r\nEnter a whole number from 1 to 1000.");
  ControlValue text;
  text.isNumber = false;
  refused(u"numLrnNM", text, u"Number of most frequent words\r\nEnter a whole number from 1 to 1000.");
  ControlValue hot;
  hot.hotKey = {0, 17, false};
  const std::u16string hotMessage =
      u"Hot key (click here, then press the keys)\r\nPress a key together with Ctrl, Alt or Shift, or press a key twice.";
  refused(u"txtHotKey", hot, hotMessage);
  hot.hotKey = {65, 0, false};  // a letter alone would take every key press
  refused(u"txtHotKey", hot, hotMessage);
  EXPECT_EQ(Sett().LrnInt, before.LrnInt);
  EXPECT_EQ(Sett().GFont.Size, before.GFont.Size);

  // In Russian the message names the field in Russian.
  Sett().CurLang = 1;
  mdlPublic::LoadLang(Sett().CurLang, Sett().site, Sett().Email);
  model.ReadSetting();
  model.Set(u"numLrnInt", N(0));
  EXPECT_EQ(Ok(), u"Скорость карточек (1 медленно, 30 быстро)\r\nВведите целое число от 1 до 30.");
}

TEST_F(SettingsModelTest, TheProgramListShowsNamesAndSavesTheChecks) {
  G().WhiteCol.Clear();
  for (const auto& [path, name, type, state] :
       {std::tuple{u"C:\\a\\notepad.exe", u"Notepad", u"Notepad", 1}, std::tuple{u"C:\\b.exe", u"", u"Bee", 0}}) {
    auto w = std::make_shared<clsWindow>();
    w->ExePath = path;
    w->AppName = name;
    w->SetWndType(type);
    w->State = state;
    AddWindow(G().WhiteCol, w);
  }
  model.ReadSetting();
  ASSERT_EQ(model.WhiteList().size(), 2u);
  EXPECT_EQ(model.WhiteList()[0].text, u"Notepad");
  EXPECT_TRUE(model.WhiteList()[0].checked);
  EXPECT_EQ(model.WhiteList()[1].text, u"b.exe");  // no name: its file's, not its window class
  EXPECT_EQ(model.WhiteList()[1].exePath, u"C:\\b.exe");
  EXPECT_FALSE(model.WhiteList()[1].checked);
  model.WhiteList()[0].checked = false;
  model.WhiteList()[1].checked = true;
  EXPECT_EQ(Ok(), u"");
  EXPECT_EQ(WhiteListText(), "C:\\a\\notepad.exe\tNotepad\t\tNotepad\t0\r\nC:\\b.exe\tb.exe\t\tBee\t1");
}

TEST_F(SettingsModelTest, AFailedSaveSaysSoAndLeavesFilesAndSettingsAsTheyWere) {
  ASSERT_EQ(Ok(), u"");
  const std::string ini = UserText();
  const std::string list = WhiteListText();
  model.Set(u"chkTopMost", N(0));
  ASSERT_FALSE(G().WhiteCol.Empty());
  model.WhiteList()[0].checked = !model.WhiteList()[0].checked;
  const std::int32_t state = (*G().WhiteCol.ItemAt(1))->State;

  // Parlavent.ini cannot be replaced (something else holds the name its new copy is written
  // under), after WhiteList.inf was written.
  std::filesystem::create_directories(UserFolder() / "Parlavent.ini.~new" / "x");
  const std::u16string message = Ok();
  EXPECT_EQ(result, SettingsModel::OkResult::SaveFailed);
  EXPECT_EQ(message.rfind(u"The settings could not be saved in " + API::GetAppDataFolder() + u":", 0), 0u);
  EXPECT_NE(message.find(u"were left as they were"), std::u16string::npos);
  EXPECT_EQ(UserText(), ini);
  EXPECT_EQ(WhiteListText(), list);
  EXPECT_TRUE(Sett().TopMost);
  EXPECT_EQ((*G().WhiteCol.ItemAt(1))->State, state);

  // A folder that takes no file at all: nothing is written, not even the list.
  std::filesystem::create_directories(UserFolder() / "Parlavent.ini.~probe.~new" / "x");
  EXPECT_NE(Ok(), u"");
  EXPECT_EQ(result, SettingsModel::OkResult::SaveFailed);
  EXPECT_EQ(UserText(), ini);
  EXPECT_EQ(WhiteListText(), list);
  std::filesystem::remove_all(UserFolder() / "Parlavent.ini.~probe.~new");

  // Once the way is clear the same values are saved.
  std::filesystem::remove_all(UserFolder() / "Parlavent.ini.~new");
  EXPECT_EQ(Ok(), u"");
  EXPECT_FALSE(Sett().TopMost);
  EXPECT_NE(UserText(), ini);

  // The list is there but gives a read error as its copy is taken: the save goes on.
  testing::PutUnreadableFile(UserFolder() / "WhiteList.inf");
  EXPECT_EQ(Ok(), u"");

  // The list could not be read at start: it is not written, and OK says so.
  std::filesystem::remove(UserFolder() / "WhiteList.inf");
  testing::PutUnreadableFile(UserFolder() / "WhiteList.inf");
  Sett().LoadWhiteCol();
  model.ReadSetting();
  model.Set(u"chkTopMost", N(1));
  const std::u16string notSaved = Ok();
  EXPECT_EQ(result, SettingsModel::OkResult::SaveFailed);
  EXPECT_NE(notSaved.find(u"WhiteList.inf"), std::u16string::npos);
  EXPECT_FALSE(Sett().TopMost) << "nothing of the failed save is kept";
  EXPECT_TRUE(std::filesystem::is_symlink(UserFolder() / "WhiteList.inf"));
}

TEST_F(SettingsModelTest, VoicesKeepTheirOwnSpeedAndVolumeAndEachLanguageItsVoice) {
  AddVoices();
  enRu->Voice1 = enRu->Voice2 = Voice(u"Anna");
  model.ReadSetting();
  EXPECT_LT(model.Find(u"lblNoVoices"), 0);
  EXPECT_EQ(model.Controls()[model.Find(u"cmbVoiceLang1")].caption, u"Voice for the language en:");
  EXPECT_EQ(model.Controls()[model.Find(u"cmbVoiceLang2")].caption, u"Voice for the language ru:");
  EXPECT_LT(model.Find(u"cmbVoiceLang3"), 0);  // the hidden dictionary's languages are not offered
  EXPECT_EQ(model.Get(u"numVoiceSpeed").number, -1);

  model.Set(u"numVoiceSpeed", N(4));
  model.Set(u"cmbVoice", N(1));  // Boris
  EXPECT_EQ(model.Get(u"numVoiceSpeed").number, -1);
  model.Set(u"numVoiceVolume", N(3));
  model.Set(u"cmbVoice", N(0));
  EXPECT_EQ(model.Get(u"numVoiceSpeed").number, 4);
  EXPECT_EQ(model.Get(u"numVoiceVolume").number, 10);
  model.Set(u"cmbDefVoice", N(1));
  model.Set(u"cmbVoiceLang2", N(1));
  model.Set(u"numVoiceSpeed", N(21));
  EXPECT_EQ(Ok(), u"Speed (-1 the voice's own, 0 slow to 20 fast)\r\nEnter a whole number from -1 to 20.");
  model.Set(u"numVoiceSpeed", N(4));
  model.Set(u"numVoiceVolume", N(11));
  EXPECT_EQ(Ok(), u"Volume (-1 full, 0 silent to 10 full)\r\nEnter a whole number from -1 to 10.");
  EXPECT_EQ(Voice(u"Anna")->Vol, 10);
  model.Set(u"numVoiceVolume", N(10));
  EXPECT_EQ(Ok(), u"");

  EXPECT_EQ(Voice(u"Anna")->Spd, 4);
  EXPECT_EQ(Voice(u"Boris")->Vol, 3);
  EXPECT_EQ(app.DefVoice, Voice(u"Boris"));
  EXPECT_EQ(enRu->Voice1, Voice(u"Anna"));
  EXPECT_EQ(enRu->Voice2, Voice(u"Boris"));
  EXPECT_EQ(enRuCommon->Voice2, Voice(u"Boris"));  // the paired dictionary follows
  const std::string file = UserText();
  EXPECT_NE(file.find("DefaultVoice=Boris"), std::string::npos);
  EXPECT_NE(file.find("ru=Boris"), std::string::npos);
  EXPECT_NE(file.find("[VoicesSpeed]\r\nAnna=4"), std::string::npos);
}

TEST_F(SettingsModelTest, OkChecksTheVoicesNotOnScreenAndTakesAStoredFullVolume) {
  AddVoices();
  app.DefVoice = Voice(u"Boris");
  Voice(u"Boris")->Vol = -1;
  model.ReadSetting();
  EXPECT_EQ(model.Get(u"cmbDefVoice").number, 1);
  EXPECT_EQ(model.Get(u"cmbVoice").number, 1) << "the default voice is shown first";
  EXPECT_EQ(model.Get(u"numVoiceVolume").number, -1);
  EXPECT_EQ(Ok(), u"");

  model.Set(u"numVoiceSpeed", N(99));
  model.Set(u"cmbVoice", N(0));
  EXPECT_EQ(Ok(), u"Speed (-1 the voice's own, 0 slow to 20 fast) (Boris)\r\nEnter a whole number from -1 to 20.");
  EXPECT_EQ(model.Get(u"cmbVoice").number, 1) << "the voice that holds the value comes up";
  EXPECT_EQ(model.Get(u"numVoiceSpeed").number, 99);
  model.Set(u"numVoiceSpeed", N(5));
  ControlValue text;
  text.isNumber = false;
  text.text = u"loud";
  model.Set(u"cmbVoice", N(0));
  model.Set(u"numVoiceVolume", text);
  model.Set(u"cmbVoice", N(1));
  EXPECT_NE(Ok(), u"") << "text is no volume";
  EXPECT_FALSE(model.Get(u"numVoiceVolume").isNumber);
  EXPECT_EQ(Voice(u"Anna")->Vol, 10);
  EXPECT_EQ(Voice(u"Boris")->Spd, -1);
}

TEST_F(SettingsModelTest, OkAppliesTheLearningSettingsAndTheStartUpEntryAtOnce) {
  auto companions = std::make_shared<testing::FakeCompanions>();
  app.Companion = companions;
  testing::WriteBytes(UserFolder() / "learner.txt", "cat\r\n");
  Sett().AppFolder = UserFolder().u16string();
  Sett().LrnSource = 0;
  app.StartLearn();
  ASSERT_TRUE(companions->learn.cards.empty()) << "no dictionary, no random word";
  model.ReadSetting();
  EXPECT_EQ(model.Get(u"chkAutoStart").number, 0) << "no start-up entry: Windows would not start it";
  model.Set(u"cmbLrnSource", N(1));
  model.Set(u"chkAutoStart", N(1));
  EXPECT_EQ(Ok(), u"");
  ASSERT_EQ(companions->learn.cards.size(), 1u);
  EXPECT_EQ(companions->learn.cards[0].Word, u"cat");
  std::u16string command;
  EXPECT_TRUE(registry->ReadString(kHkeyCurrentUser, kRunKey, u"Parlavent", command));
  EXPECT_EQ(command, u"\"" + API::JoinPath(program.Text(), u"Parlavent.exe") + u"\" /h");

  model.ReadSetting();
  EXPECT_EQ(model.Get(u"chkAutoStart").number, 1);
  model.Set(u"chkAutoStart", N(0));
  EXPECT_EQ(Ok(), u"");
  EXPECT_FALSE(StartupEntryExists());
  EXPECT_FALSE(Sett().AutoStart);
}

TEST_F(SettingsModelTest, TheProgramsListShowsEachProgramFilesDetails) {
  const std::filesystem::path tool = program.path() / "tool.exe";
  testing::WriteBytes(tool, "MZ");
  const std::u16string path = tool.u16string();
  system->versions[path] = {u"Acme", u"Acme Tool", u"1.2", {}, {}, {}, u"Tool", {}};
  const aviDictFile file(path);
  EXPECT_TRUE(file.Exists);
  EXPECT_EQ(file.DisplayName(), u"Acme Tool");
  EXPECT_EQ(file.Details(), path + u" \u2014 Acme Tool, 1.2, Acme");
  const aviDictFile gone(u"C:\\gone\\gone.exe");
  EXPECT_FALSE(gone.Exists);
  EXPECT_EQ(gone.Details(), u"C:\\gone\\gone.exe");
  EXPECT_EQ(gone.DisplayName(), u"gone.exe");

  G().WhiteCol = ParseWhiteList(path + u"\tTool\t\tToolClass\t1");
  model.RefreshWhiteList();
  ASSERT_EQ(model.WhiteList().size(), 1u);
  EXPECT_EQ(model.Details(0), file.Details());
}

TEST_F(SettingsModelTest, WithoutVoicesTheSpeechPageSaysSoAndStillSavesItsOptions) {
  ASSERT_GE(model.Find(u"lblNoVoices"), 0);
  EXPECT_FALSE(model.Get(u"lblNoVoices").text.empty());
  EXPECT_LT(model.Find(u"cmbVoice"), 0);
  model.Set(u"chkSpkClip", N(1));
  EXPECT_EQ(Ok(), u"");
  EXPECT_TRUE(Sett().SpkClip);
}

TEST_F(SettingsModelTest, TheHotKeyHelpFollowsTheGestureControls) {
  model.Set(u"cmbGestureKey", N(2));
  model.Set(u"cmbKeyAction", N(0));
  model.Set(u"chkByPoint", N(1));
  model.Set(u"chkByDblClick", N(0));
  model.Set(u"chkBySelect", N(0));
  EXPECT_EQ(model.Get(u"lblHotKeysHelp").text, u"To translate a word:\r\nhold down Alt, then point at it with the mouse");
}

TEST_F(SettingsModelTest, TheSettingsEntryOpensTheDialogTopmostAsTheSettingsSay) {
  auto dialog = std::make_shared<testing::FakeSettingsDialog>();
  app.frmSetting = dialog;
  Sett().TopMost = true;
  dialog->onShow = [&] {
    EXPECT_TRUE(app.State.gNoLrnSpeak);
    if (dialog->shows == 1) app.ShowSetting();  // the tray menu's entry while the dialog is open
    EXPECT_TRUE(app.State.gNoLrnSpeak) << "the open dialog still keeps the cards quiet";
  };
  app.ShowSetting();
  EXPECT_EQ(dialog->reads, 1);
  EXPECT_EQ(dialog->shows, 2) << "asked again, the open dialog only comes forward";
  EXPECT_TRUE(dialog->shownTopMost);
  Sett().TopMost = false;
  app.ShowSetting();
  EXPECT_FALSE(dialog->shownTopMost);
  EXPECT_FALSE(app.State.gNoLrnSpeak);
}

TEST_F(SettingsModelTest, ChoosingAnotherInterfaceLanguageReloadsTheTexts) {
  EXPECT_EQ(app.LZ(lang::kSetCaption), u"Settings");
  model.Set(u"cmbLanguage", N(1));
  EXPECT_EQ(Ok(), u"");
  EXPECT_EQ(Sett().CurLang, 1);
  EXPECT_EQ(app.LZ(lang::kSetCaption), u"Настройки");
  EXPECT_NE(UserText().find("Language=1"), std::string::npos);
}

}  // namespace
}  // namespace parlavent
