#include "foundation/settings_object.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "foundation/white_list.h"
#include "support/fake_input.h"
#include "support/settings_fixture.h"
#include "text/text.h"

namespace parlavent {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class SettingTest : public testing::SettingsTest {};

TEST_F(SettingTest, ApplSettAndGlobalAreOneObject) {
  EXPECT_EQ(app.Sett.get(), G().gSetting.get());
  app.Sett->LrnNL = 7;
  EXPECT_EQ(G().gSetting->LrnNL, 7);
}

TEST_F(SettingTest, FirstStartCreatesTheFileAndTakesEveryDefault) {
  Store(u"Main", u"Installer Language", u"1049");
  Sett().LoadSett();
  ASSERT_TRUE(std::filesystem::exists(UserFile()));
  EXPECT_EQ(UserText(), "");
  const Setting& s = Sett();
  EXPECT_EQ(s.CurLang, 1);
  EXPECT_TRUE(s.AutoStart);
  EXPECT_TRUE(s.ShowComment);
  EXPECT_EQ(s.HotKeyCode, 17);
  EXPECT_TRUE(s.HotKeyDouble);
  EXPECT_EQ(s.HotKeyShift, 0);
  EXPECT_EQ(s.TrlMode, 1);
  EXPECT_TRUE(s.GlbAllowShort);
  EXPECT_EQ(s.GFont.Name, u"Arial");
  EXPECT_EQ(s.GFont.Size, 10);
  EXPECT_EQ(G().gCurABC, 1);
  EXPECT_TRUE(s.TraceControls);
  EXPECT_EQ(s.TransKeyAction, 3);
  EXPECT_TRUE(s.SpkSel);
  EXPECT_FALSE(s.SpkClip);
  EXPECT_TRUE(s.Aero);
  EXPECT_EQ(s.HintBrd, 11579568);
  EXPECT_EQ(s.HintBG, 0xE1FFFF);  // the classic tool-tip background
  EXPECT_EQ(s.Buttons, -1);
  EXPECT_EQ(s.LrnInt, 15);
  EXPECT_EQ(s.LrnTransp, 20);
  EXPECT_EQ(s.LrnFont, u"Arial");
  EXPECT_EQ(s.LrnBC, 9849630);
  EXPECT_EQ(s.LrnFC, 16777215);
  EXPECT_EQ(s.LrnNL, 100);
  EXPECT_TRUE(s.LrnSimpleWord);
  EXPECT_FALSE(s.AutoOn);
  EXPECT_FALSE(s.BackTransOpen);
  EXPECT_EQ(s.ShowPctShow, 1);
  EXPECT_FALSE(s.LrnShow);
  EXPECT_FALSE(s.SilentStart);
  EXPECT_EQ(s.Gray, 0x7F7F7F);  // black text on white
  EXPECT_EQ(s.TextLink, u"||Crsr 1||U 1||Snd 1||C 8355711||S 8.5");
  EXPECT_EQ(process->ends, 0);
}

TEST_F(SettingTest, InstallerLanguageOtherThanRussianGivesTheFirstColumn) {
  for (const char16_t* stored : {u"1033", u"", u"abc"}) {
    Store(u"Main", u"Installer Language", stored);
    Sett().CurLang = 5;
    Sett().LoadSett();
    EXPECT_EQ(Sett().CurLang, 0) << ToUtf8(stored);
  }
  WriteUserFile("[Main]\r\nLanguage=2\r\n");
  Store(u"Main", u"Installer Language", u"1049");
  Sett().LoadSett();
  EXPECT_EQ(Sett().CurLang, 2);  // the file's choice wins
}

TEST_F(SettingTest, HiddenStartWithAutoStartOffEndsBeforeAnythingElse) {
  WriteUserFile("[Main]\r\nAutoStart=False\r\nHotKeyCode=65\r\n");
  process->commandLine = u"-x /h";
  Sett().LoadSett();
  EXPECT_EQ(process->ends, 1);
  EXPECT_FALSE(Sett().ShowComment);
  EXPECT_EQ(Sett().HotKeyCode, 0);
  EXPECT_FALSE(std::filesystem::exists(UserFolder() / "WhiteList.inf"));

  // The switch is matched case-sensitively, and AutoStart on lets the start go on.
  process->commandLine = u"/H";
  Sett().LoadSett();
  EXPECT_EQ(process->ends, 1);
  EXPECT_EQ(Sett().HotKeyCode, 65);
  WriteUserFile("[Main]\r\nAutoStart=True\r\n");
  process->commandLine = u"/h";
  Sett().LoadSett();
  EXPECT_EQ(process->ends, 1);
  EXPECT_TRUE(Sett().SilentStart);
}

TEST_F(SettingTest, SilentStartFollowsTheSwitchOrTheLastVisibility) {
  struct Case {
    const char* file;
    const char16_t* commandLine;
    const char16_t* isShowed;  // nullptr: absent
    bool silent;
  };
  const Case cases[] = {
      {"", u"", nullptr, false},
      {"", u"/h", nullptr, true},
      {"", u"/H", nullptr, false},
      {"", u"/h", u"0", true},
      {"[Main]\r\nRestore=True\r\n", u"/h", nullptr, false},
      {"[Main]\r\nRestore=True\r\n", u"", u"0", true},
      {"[Main]\r\nRestore=True\r\n", u"/h", u"1", false},
  };
  for (const Case& c : cases) {
    auto fresh = std::make_shared<MemorySettingsStore>();
    SetUserSettings(fresh);
    if (c.isShowed) Store(u"Main", u"IsShowed", c.isShowed);
    WriteUserFile(c.file);
    process->commandLine = c.commandLine;
    Sett().SilentStart = !c.silent;
    Sett().LoadSett();
    EXPECT_EQ(Sett().SilentStart, c.silent) << c.file << ToUtf8(c.commandLine);
  }
}

TEST_F(SettingTest, LowerCaseAllowShortIsReadAndWrittenUnderItsOwnName) {
  WriteUserFile("[Main]\r\nallowshort=False\r\n");
  Sett().LoadSett();
  EXPECT_FALSE(Sett().GlbAllowShort);
  Sett().GlbAllowShort = true;
  Sett().SaveSett();
  const std::string text = UserText();
  EXPECT_NE(text.find("allowshort=True\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("AllowShort"), std::string::npos) << text;
}

TEST_F(SettingTest, SaveKeepsForeignKeysAndTheirPlaces) {
  WriteUserFile(
      "[Main]\r\nMyKey=42\r\nTraceControls=False\r\nTopMost=False\r\n"
      "[Other]\r\nx=1\r\n");
  Sett().LoadSett();
  EXPECT_FALSE(Sett().TraceControls);
  Sett().TopMost = true;
  Sett().SaveSett();
  const std::string text = UserText();
  const std::string expectedStart = "[Main]\r\nMyKey=42\r\nTraceControls=False\r\nTopMost=True\r\nAutoStart=True\r\n";
  EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart) << text;
  EXPECT_NE(text.find("[Other]\r\nx=1\r\n"), std::string::npos);
  EXPECT_EQ(text.find("InjExclude"), std::string::npos);
}

TEST_F(SettingTest, SaveOnAnEmptyFileWritesMainThenLearnerInOrder) {
  Sett().LoadSett();
  Sett().GFont.Size = 8.1234;
  Sett().SaveSett();
  const std::string text = UserText();
  EXPECT_EQ(text.rfind("[Main]\r\nAutoStart=True\r\nHotKeyCode=17\r\nHotKeyDouble=True\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("TTHide=False\r\nAllowShort=True\r\nLanguage=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("FontSize=8.1234\r\nFontName=Arial\r\n"), std::string::npos);
  EXPECT_NE(text.find("HintBG=14811135\r\nAero=True\r\nButtons=-1\r\n\r\n[Learner]\r\nTransp=20\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("SimpleWords=True\r\n"), std::string::npos);
}

TEST_F(SettingTest, UnconvertibleValuesLeaveTheFieldAsItWas) {
  WriteUserFile(
      "[Main]\r\nHotKeyCode=\r\nTopMost=maybe\r\nFontSize=big\r\nTrlMode=70000\r\nButtons=12\r\n"
      "SysTray=0\r\nSmartClick=-1\r\n[Learner]\r\nNLast=1e99\r\n");
  Sett().LoadSett();
  EXPECT_EQ(Sett().HotKeyCode, 0);
  EXPECT_FALSE(Sett().TopMost);
  EXPECT_EQ(Sett().GFont.Size, 10);  // never a font of no size: the default stands in
  EXPECT_EQ(Sett().TrlMode, 0);  // does not fit 16 bits
  EXPECT_EQ(Sett().LrnNL, 0);
  EXPECT_EQ(Sett().Buttons, 12);
  EXPECT_FALSE(Sett().SysTray);    // numbers are Booleans too
  EXPECT_TRUE(Sett().SmartClick);
}

TEST_F(SettingTest, StoreValuesAndTheDecimalSeparator) {
  Store(u"Main", u"Auto", u"1");
  Store(u"Interface", u"BackTransOpen", u"True");
  Store(u"Main", u"spsh", u"0");
  Store(u"Main", u"ShowLearner", u"1");
  WriteUserFile("[Main]\r\nFontSize=9\r\n");
  process->decimalSeparator = u",";
  Sett().LoadSett();
  EXPECT_TRUE(Sett().AutoOn);
  EXPECT_TRUE(Sett().BackTransOpen);
  EXPECT_EQ(Sett().ShowPctShow, 0);
  EXPECT_TRUE(Sett().LrnShow);
  EXPECT_EQ(Sett().TextLink, u"||Crsr 1||U 1||Snd 1||C 8355711||S 7,65");
}

TEST_F(SettingTest, FontSizesInTheUsersNumberFormatAndNeverZero) {
  process->decimalSeparator = u",";
  WriteUserFile("[Main]\r\nFontSize=8,25\r\n");
  Sett().LoadSett();
  EXPECT_EQ(Sett().GFont.Size, 8.25);
  EXPECT_EQ(Sett().TextLink, u"||Crsr 1||U 1||Snd 1||C 8355711||S 7,0125");
  Sett().SaveSett();
  EXPECT_NE(UserText().find("FontSize=8.25\r\n"), std::string::npos);  // written with "." as ever

  process->decimalSeparator = u".";
  for (const char* size : {"8,25", "0", "-3", "", "1e999"}) {
    Sett().GFont.Size = 0;
    WriteUserFile(std::string("[Main]\r\nFontSize=") + size + "\r\n");
    Sett().LoadSett();
    EXPECT_EQ(Sett().GFont.Size, 10) << size;
    EXPECT_EQ(Sett().TextLink, u"||Crsr 1||U 1||Snd 1||C 8355711||S 8.5") << size;
  }
  // A size already set stays when the file's cannot be read.
  Sett().GFont.Size = 12;
  WriteUserFile("[Main]\r\nFontSize=big\r\n");
  Sett().LoadSett();
  EXPECT_EQ(Sett().GFont.Size, 12);
}

TEST_F(SettingTest, AMissingPresetIsNotCreated) {
  Sett().LoadSett();
  EXPECT_FALSE(std::filesystem::exists(program.path() / "preset.ini"));
  EXPECT_EQ(G().colABC.Count(), 0u);
  EXPECT_EQ(Sett().InjExclude, u"");
  EXPECT_TRUE(std::filesystem::exists(UserFile()));  // the user's file is
}

TEST_F(SettingTest, AProgramPathOutsideTheCodePageSurvivesTheUserList) {
  WriteBytes(program.path() / "DefaultWhiteList.inf", "C:\\n.exe\tNotepad\t\tNotepad\t1");
  Sett().LoadSett();
  auto entry = std::make_shared<clsWindow>();
  entry->ExePath = u"C:\\日本語\\a.exe";
  entry->AppName = u"Ä 日";
  entry->SetWndType(u"JapaneseApp");
  entry->State = 1;
  AddWindow(G().WhiteCol, entry);
  Sett().SaveWhiteCol();
  G().WhiteCol.Clear();
  Sett().LoadWhiteCol();
  ASSERT_EQ(G().WhiteCol.Count(), 3u);
  EXPECT_EQ((*G().WhiteCol.Find(u"JapaneseApp"))->ExePath, u"C:\\日本語\\a.exe");
  EXPECT_EQ((*G().WhiteCol.Find(u"JapaneseApp"))->AppName, u"Ä 日");
  EXPECT_EQ((*G().WhiteCol.Find(u"Notepad"))->State, 1);
}

TEST_F(SettingTest, AnUntranslatableToolTipColourIsKeptAsTheSystemColour) {
  struct NoColours final : ColourService {
    bool TranslateColour(Colour, Colour&) override { return false; }
    bool ChooseColour(WindowHandle, Colour, Colour&) override { return false; }
  };
  testing::ScopedColours colours{std::make_shared<NoColours>()};
  Sett().LoadSett();
  EXPECT_EQ(Sett().HintBG, static_cast<std::int32_t>(0x80000018u));
}

TEST_F(SettingTest, PresetAlphabetsAndExclusionsComeFromTheInstalledPreset) {
  std::filesystem::copy_file(PARLAVENT_BINARY_DIR "/Parlavent/preset.ini", program.path() / "preset.ini");
  Sett().LoadSett();
  ASSERT_TRUE(G().colABC.Exists(u"ru"));
  EXPECT_EQ(G().colABC.Find(u"EN")->substr(0, 5), u"A B C");
  EXPECT_EQ(G().colABC.Find(u"de")->find(u"Ä"), 2u);
  EXPECT_EQ(G().colABC.Find(u"ru")->substr(0, 3), u"А Б");
  EXPECT_NE(Sett().InjExclude.find(u"ConsoleWindowClass"), std::u16string::npos);

  // A key repeated in [ABC]: the first wins; the letters are taken untrimmed.
  WriteBytes(program.path() / "preset.ini", std::string("\xFF\xFE[\0A\0B\0C\0]\0\r\0\n\0x\0=\0 \0a\0\r\0\n\0x\0=\0b\0", 34));
  Sett().LoadSett();
  ASSERT_EQ(G().colABC.Count(), 1u);
  EXPECT_EQ(*G().colABC.Find(u"x"), u" a");
  EXPECT_EQ(Sett().InjExclude, u"");
}

TEST_F(SettingTest, SavedSettingsLoadBackIntoAFreshObject) {
  Sett().LoadSett();
  Setting& s = Sett();
  s.HotKeyCode = 116;
  s.HotKeyShift = 17;
  s.HotKeyDouble = false;
  s.CurLang = 1;
  s.GFont = {u"Tahoma", 11.5};
  G().gCurABC = 2;
  s.TransByAlt = true;
  s.LrnFont = u"Courier New";
  s.LrnNM = 250;
  s.Buttons = 5;
  s.SaveSett();

  Appl second;
  SetAppl(&second);
  CreateSettings(second);
  second.Sett->LoadSett();
  const Setting& t = *second.Sett;
  EXPECT_EQ(t.HotKeyCode, 116);
  EXPECT_EQ(t.HotKeyShift, 17);
  EXPECT_FALSE(t.HotKeyDouble);
  EXPECT_EQ(t.CurLang, 1);
  EXPECT_EQ(t.GFont.Name, u"Tahoma");
  EXPECT_EQ(t.GFont.Size, 11.5);
  EXPECT_EQ(second.State.gCurABC, 2);
  EXPECT_TRUE(t.TransByAlt);
  EXPECT_EQ(t.LrnFont, u"Courier New");
  EXPECT_EQ(t.LrnNM, 250);
  EXPECT_EQ(t.Buttons, 5);
  SetAppl(&app);
}

TEST_F(SettingTest, FirstStartWritesTheUserListOnceFromTheDefaultList) {
  WriteBytes(program.path() / "DefaultWhiteList.inf", "C:\\n.exe\tNotepad\t\tNotepad\t1");
  Sett().LoadSett();
  ASSERT_EQ(G().WhiteCol.Count(), 2u);
  EXPECT_EQ(ReadBytes(UserFolder() / "WhiteList.inf"),
            "C:\\n.exe\tNotepad\t\tNotepad\t1\r\n"
            "C:\\Program Files\\Opera\\Opera.exe\tOpera\t\tOperaWindowClass\t1");
  EXPECT_EQ(GetSetting(u"Main", u"CorrectOpera"), u"1");

  // Later starts read the user's list and do not add again.
  WriteBytes(UserFolder() / "WhiteList.inf", "C:\\a.exe\tA\t\tTypeA\t0");
  Sett().LoadWhiteCol();
  ASSERT_EQ(G().WhiteCol.Count(), 1u);
  EXPECT_EQ(ReadBytes(UserFolder() / "WhiteList.inf"), "C:\\a.exe\tA\t\tTypeA\t0");

  G().WhiteCol.Clear();
  Sett().SaveWhiteCol();
  EXPECT_EQ(ReadBytes(UserFolder() / "WhiteList.inf"), "");
}

// At the first start the one-time addition rewrites the user's list: a list in UTF-16 is read
// whole, and anything the rewrite could not hold is copied beside it first.
TEST_F(SettingTest, FirstStartKeepsAUtf16OrUnreadableUserList) {
  const std::u16string lines = u"C:\\a.exe\tA\t\tTypeA\t0\r\nC:\\b.exe\tB\t*Ы*\tTypeB\t1\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char16_t c : lines) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  const auto list = UserFolder() / "WhiteList.inf";
  const auto backup = UserFolder() / "WhiteList.inf.bak";
  std::filesystem::create_directories(UserFolder());
  WriteBytes(list, utf16);
  Sett().LoadSett();
  ASSERT_EQ(G().WhiteCol.Count(), 3u);
  EXPECT_EQ((*G().WhiteCol.Find(u"TypeB"))->TitleMask, u"*Ы*");
  EXPECT_EQ(ReadBytes(list), "C:\\a.exe\tA\t\tTypeA\t0\r\nC:\\b.exe\tB\t*\xDB*\tTypeB\t1\r\n"
                             "C:\\Program Files\\Opera\\Opera.exe\tOpera\t\tOperaWindowClass\t1");
  EXPECT_FALSE(std::filesystem::exists(backup)) << "every line was read: nothing to keep";

  // A window type twice: the save would drop the second line, so the file is kept first.
  Store(u"Main", u"CorrectOpera", u"0");
  const std::string twice = "C:\\a.exe\tA\t\tTypeA\t0\r\nC:\\c.exe\tC\t\tTypeA\t1";
  WriteBytes(list, twice);
  Sett().LoadWhiteCol();
  EXPECT_EQ(ReadBytes(backup), twice);

  // A list of something else entirely: whatever is read of it, the file itself is kept.
  Store(u"Main", u"CorrectOpera", u"0");
  std::string binary(1924, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 31 % 256);
  WriteBytes(list, binary);
  Sett().LoadWhiteCol();
  EXPECT_EQ(ReadBytes(backup), twice) << "an older copy of other bytes stays";
  EXPECT_EQ(ReadBytes(UserFolder() / "WhiteList.inf.bak2"), binary);
  EXPECT_TRUE(G().WhiteCol.Exists(u"OperaWindowClass"));

  // A list the program wrote itself is no reason for a copy.
  std::filesystem::remove(backup);
  Sett().LoadWhiteCol();
  EXPECT_FALSE(std::filesystem::exists(backup));

  // Held by another program at start: neither the one-time addition nor a later save (a program
  // met for the first time) puts what little this session knows in place of it.
  Store(u"Main", u"CorrectOpera", u"0");
  testing::PutUnreadableFile(list);
  Sett().LoadWhiteCol();
  EXPECT_EQ(GetSetting(u"Main", u"CorrectOpera"), u"0") << "the addition waits for a start that reads it";
  G().WhiteCol.Clear();
  EXPECT_FALSE(Sett().SaveWhiteCol()) << "the caller learns that the list was not written";
  EXPECT_TRUE(std::filesystem::is_symlink(list)) << "replaced by this session's list";

  // Damaged where no copy can be written: the list stays as it is, and start-up says so.
  std::filesystem::remove(list);
  std::filesystem::remove(backup);
  std::filesystem::create_directory(backup);
  WriteBytes(list, twice);
  G().gLeftFiles.clear();
  Sett().LoadWhiteCol();
  EXPECT_EQ(G().gLeftFiles, std::vector<std::u16string>{u"WhiteList.inf"});
  EXPECT_FALSE(Sett().SaveWhiteCol());
  EXPECT_EQ(ReadBytes(list), twice);
}

// Settings files as a crash, a disk error or another program may leave them: the start takes the
// defaults for what cannot be read and leaves the file as it is (only a saved change rewrites it).
TEST_F(SettingTest, DamagedSettingsFilesStartWithDefaultsAndStayUntouched) {
  std::string noise(65536, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("[Main]\r\nFontName=Courier New\r\nFontSize=12\r\n")) utf16 += {c, '\0'};
  utf16 += 'x';  // odd length
  std::string huge = "[Main]\r\nFontName=Courier New\r\n";
  huge += std::string(50u << 20, 'x');  // 50 MB in one line
  std::string manyLines = "[Main]\r\n";
  while (manyLines.size() < (5u << 20)) manyLines += "Key=";  // one key of 5 MB, no line end
  const std::string files[] = {
      noise, utf16, huge, manyLines, std::string("[Main]\r\nFontName=Cour\0ier\r\nFontSize=\xFF\xFE\r\n", 40),
      "[Main]\r\nFontSize=1e999\r\nHotKeyCode=-99999999999999999999\r\nLanguage=7\r\n[Learner]\r\nInterval=",
      "[Main", "\r\n\r\n=\r\n[]\r\n==\r\n"};
  for (const std::string& file : files) {
    WriteUserFile(file);
    Sett().LoadSett();
    EXPECT_EQ(Sett().HotKeyCode, 17);
    EXPECT_GT(Sett().GFont.Size, 0);
    EXPECT_EQ(UserText(), file) << "the file stays as it was";
  }
  EXPECT_EQ(process->ends, 0);
}

TEST_F(SettingTest, NoWritableUserFolderStartsWithDefaultsAndSaysSo) {
  Sett().LoadSett();
  EXPECT_FALSE(Sett().CannotSave);
  EXPECT_FALSE(std::filesystem::exists(UserFolder() / "Parlavent.ini.~probe"));
  // The per-user folder cannot be made (its parent is a file) and the program folder it falls
  // back to does not exist.
  const auto blocker = appData.path() / "file";
  WriteBytes(blocker, "");
  system->environment[u"AppData"] = blocker.u16string();
  system->programFolder = (program.path() / "missing" / "deeper").u16string();
  Sett().LoadSett();
  EXPECT_TRUE(Sett().CannotSave);
  EXPECT_EQ(Sett().HotKeyCode, 17);
  EXPECT_EQ(process->ends, 0);
}

}  // namespace
}  // namespace parlavent
