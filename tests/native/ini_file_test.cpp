#include "foundation/ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "foundation/wildcard.h"
#include "support/fake_process.h"
#include "support/fake_system.h"
#include "text/text.h"

namespace parlavent {
namespace {

using testing::TempDir;
using testing::WriteBytes;

std::u16string U(std::string_view utf8) { return FromUtf8(utf8); }

clsINI Parsed(std::u16string_view text) {
  clsINI ini;
  ini.SetSettingText(text);
  return ini;
}

// A scratch folder that also serves as the temporary (cache) folder.
class IniFileTest : public ::testing::Test {
 protected:
  IniFileTest() : system_(std::make_shared<testing::FakeSystem>()) {
    system_->tempFolder = dir.Text(u"temp");
    system_->programFolder = dir.Text(u"program");
    std::filesystem::create_directories(dir.path() / "temp");
  }
  std::u16string Path(std::u16string_view name) const { return dir.Text(name); }
  std::string FileBytes(std::u16string_view name) const { return testing::ReadBytes(dir.path() / ToUtf8(name)); }

  TempDir dir;
  std::shared_ptr<testing::FakeSystem> system_;
  testing::ScopedSystem scoped_{system_};
};

TEST(IniParse, LinesAreTrimmedAndCommentsCutAnywhere) {
  struct Case {
    const char16_t* line;
    const char16_t* name;
    const char16_t* value;
  };
  const Case cases[] = {
      {u"  key = v // note", u"key ", u" v "},
      {u"a=x//y", u"a", u"x"},
      {u"bare", u"bare", u""},
      {u"bare=", u"bare", u""},
      {u"u=http://host/", u"u", u"http:"},
      {u"k==v", u"k", u"=v"},
  };
  for (const Case& c : cases) {
    clsINI ini = Parsed(std::u16string(u"[S]\r\n") + c.line);
    SCOPED_TRACE(ToUtf8(c.line));
    ASSERT_EQ(ini.ValuesCount(u"S"), 1);
    EXPECT_EQ(ini.ValueName(u"S", 1), c.name);
    EXPECT_EQ(ini.GetValue(c.name, u"S", 99), IniValue(c.value));
  }
  EXPECT_EQ(Parsed(u"[S]\r    // note\r//x=1").ValuesCount(u"S"), 0);
}

TEST(IniParse, HeadersNeedANameAndKeysBeforeTheFirstHeaderAreDropped) {
  clsINI ini = Parsed(u"early=1\r[one]\ra=1\r[]\rb=2\r[x\rc=3\r[ab]junk\rd=4\r[ spaced ]\re=5");
  ASSERT_EQ(ini.SectionsCount(), 3);
  EXPECT_EQ(ini.SectionName(1), u"one");
  EXPECT_EQ(ini.SectionName(2), u"ab");
  EXPECT_EQ(ini.SectionName(3), u" spaced ");
  EXPECT_EQ(ini.GetSectionValuesNames(u"one"), (std::vector<std::u16string>{u"a", u"b", u"c"}));
  EXPECT_EQ(ini.GetValue(u"d", u"AB"), IniValue(u"4"));
  EXPECT_EQ(ini.GetSectionText(u"one"), u"a=1\rb=2\rc=3");
  const std::u16string nul(1, u'\0');
  EXPECT_EQ(ini.SectionName(0), nul);
  EXPECT_EQ(ini.SectionName(4), nul);
  EXPECT_EQ(ini.ValueName(u"one", 4), nul);
  EXPECT_EQ(ini.ValueName(u"none", 1), nul);
  EXPECT_EQ(ini.ValuesCount(u"none"), -1);
}

TEST(IniValues, DuplicateSectionsAreSearchedInOrderButWritesGoToTheFirst) {
  clsINI ini = Parsed(u"[Main]\ra=1\r[Other]\rx=0\r[main]\ra=2\rb=3");
  EXPECT_EQ(ini.GetValue(u"a", u"Main"), IniValue(u"1"));
  EXPECT_EQ(ini.GetValue(u"b", u"Main"), IniValue(u"3"));
  ini.SetValue(u"b", u"Main", u"new");
  EXPECT_EQ(ini.GetSettingText(), u"\r[Main]\ra=1\rb=new\r\r[Other]\rx=0\r\r[main]\ra=2\rb=3\r");
  EXPECT_EQ(ini.GetSectionText(u"MAIN"), u"a=2\rb=3");
}

TEST(IniValues, DefaultsAndBareKeys) {
  clsINI ini = Parsed(u"[Main]\rbare\rempty=");
  EXPECT_EQ(ini.GetValue(u"missing", u"Main", 17), IniValue(17));
  EXPECT_TRUE(ini.GetValue(u"missing").IsEmpty());
  EXPECT_EQ(ini.GetValue(u"bare"), IniValue(u""));
  EXPECT_EQ(ini.GetValue(u"empty", u"", true), IniValue(u""));
  // The default is held for one read only.
  EXPECT_TRUE(ini.Value(u"missing").IsEmpty());
  // Keys without a value are written back bare.
  EXPECT_EQ(ini.GetSettingText(), u"\r[Main]\rbare\rempty\r");
}

TEST(IniValues, ListsCollectionsAndLineBreaksRoundTripThroughTheText) {
  clsINI ini;
  ini.Section(u"");
  EXPECT_EQ(ini.Section(), u"Main");
  ini.Value(u"three", IniValue::List({u"a", u"b", u"c"}));
  ini.Value(u"one", IniValue::List({u"only"}));
  ini.Value(u"col", IniValue::Collection({u"x", u"y"}));
  ini.Value(u"lines", u"first\rsecond");
  ini.Value(u"flag", true);
  ini.Value(u"size", 8.5);
  EXPECT_EQ(ini.GetSettingText(),
            u"\r[Main]\rthree=a\x01" u"b\x01" u"c\rone=only\rcol=x\x03y\rlines=first\x02second\rflag=True\rsize=8.5\r");

  clsINI back = Parsed(ini.GetSettingText());
  EXPECT_EQ(back.GetValue(u"three", u"Main"), IniValue::List({u"a", u"b", u"c"}));
  EXPECT_EQ(back.GetValue(u"one"), IniValue(u"only"));
  EXPECT_EQ(back.GetValue(u"col"), IniValue::Collection({u"x", u"y"}));
  EXPECT_EQ(back.GetValue(u"lines"), IniValue(u"first\rsecond"));
}

TEST(IniValues, SectionAndKeyOperations) {
  clsINI ini = Parsed(u"[A]\rk1=v1\r=nameless\rk2=v2");
  EXPECT_FALSE(ini.AddSection(u"a"));
  EXPECT_TRUE(ini.AddSection(u"B"));
  EXPECT_TRUE(ini.AddValue(u"C", u"k", u"x\x01y"));
  EXPECT_FALSE(ini.AddValue(u"C", u"K", u"other"));
  EXPECT_EQ(ini.GetValue(u"k", u"C"), IniValue::List({u"x", u"y"}));
  EXPECT_EQ(ini.GetSections(), (std::vector<std::u16string>{u"", u"A", u"B", u"C"}));
  EXPECT_EQ(ini.GetSection(u"A"), u"k1=v1\rk2=v2\r");
  EXPECT_EQ(ini.GetSectionValues(u"A"), (std::vector<std::u16string>{u"k1=v1", u"k2=v2"}));
  EXPECT_EQ(ini.Section(), u"A");
  EXPECT_TRUE(ini.GetSectionValues(u"New").empty());
  EXPECT_TRUE(ini.SectionExists(u"new"));
  EXPECT_TRUE(ini.RemoveValue(u"a", u"K1"));
  EXPECT_FALSE(ini.RemoveValue(u"a", u"K1"));
  EXPECT_EQ(ini.ValuesCount(u"A"), 2);
  EXPECT_TRUE(ini.RemoveSection(u"b"));
  EXPECT_FALSE(ini.RemoveSection(u"b"));
  EXPECT_EQ(ini.SectionsCount(), 3);
  EXPECT_EQ(clsINI::GetValueFromParameter(u"a=b=c"), u"b=c");
  EXPECT_EQ(clsINI::GetValueFromParameter(u"=b"), u"");
  EXPECT_EQ(clsINI::GetValueFromParameter(u"ab"), u"");
}

TEST(IniValues, ConversionsFollowTheRuntime) {
  bool b = false;
  std::int32_t n = 0;
  EXPECT_TRUE(IniValue(u"true").ToBool(b) && b);
  EXPECT_TRUE(IniValue(u"0").ToBool(b) && !b);
  EXPECT_FALSE(IniValue(u"yes").ToBool(b));
  EXPECT_TRUE(IniValue(u" 2.5 ").ToLong(n) && n == 2);
  EXPECT_TRUE(IniValue(u"3.5").ToLong(n) && n == 4);  // half to even
  EXPECT_TRUE(IniValue(u"-0.6").ToLong(n) && n == -1);
  EXPECT_TRUE(IniValue(u"&H80000008").ToLong(n) && n == static_cast<std::int32_t>(0x80000008u));
  EXPECT_TRUE(IniValue(u"-7").ToLong(n) && n == -7);
  EXPECT_FALSE(IniValue(u"12abc").ToLong(n));
  EXPECT_FALSE(IniValue(u"99999999999").ToLong(n));
  EXPECT_FALSE(IniValue(u"&H100000000").ToLong(n));
  EXPECT_FALSE(IniValue(std::nan("")).ToLong(n));
  EXPECT_EQ(IniValue(true).ToText(), u"True");
  EXPECT_EQ(IniValue(0.1).ToText(), u"0.1");
}

TEST(IniValues, NumbersTakeThePointOrTheUsersDecimalSeparator) {
  auto process = std::make_shared<testing::FakeProcess>();
  testing::ScopedProcess scoped(process);
  double d = 0;
  std::int32_t n = 0;
  EXPECT_FALSE(IniValue(u"8,25").ToDouble(d));  // "," is no decimal separator here
  EXPECT_TRUE(IniValue(u"8.25").ToDouble(d) && d == 8.25);
  for (const char16_t* separator : {u",", u"<>"}) {
    process->decimalSeparator = separator;
    EXPECT_TRUE(IniValue(u"8" + std::u16string(separator) + u"25").ToDouble(d) && d == 8.25) << ToUtf8(separator);
    EXPECT_TRUE(IniValue(u"8.25").ToDouble(d) && d == 8.25);  // what the program itself writes
    EXPECT_TRUE(IniValue(u"-" + std::u16string(separator) + u"5e1").ToDouble(d) && d == -5);
    EXPECT_TRUE(IniValue(u"1" + std::u16string(separator) + u"5").ToLong(n) && n == 2);
    EXPECT_FALSE(IniValue(separator).ToDouble(d));
    EXPECT_FALSE(IniValue(u"1" + std::u16string(separator) + u"2" + std::u16string(separator) + u"3").ToDouble(d));
  }
}

TEST_F(IniFileTest, ASaveKeepsTheFilesLayoutAndWritesOnlyWhatChanged) {
  WriteBytes(dir.path() / "a.ini", "[Main]\r\nA=1\r\n[Other]\r\nB=2");
  clsINI ini;
  ini.FileName(Path(u"a.ini"));
  EXPECT_EQ(ini.Section(), u"Main");
  WriteBytes(dir.path() / "o.ini", "[Other]\r\nB=2");
  clsINI other;
  other.Section(u"Main");
  other.FileName(Path(u"o.ini"));
  EXPECT_EQ(other.Section(), u"Other");  // reading makes the first section current
  std::u16string error = u"untouched";
  ASSERT_TRUE(ini.UpdateFile(&error));
  EXPECT_EQ(error, u"untouched");
  EXPECT_EQ(FileBytes(u"a.ini"), "[Main]\r\nA=1\r\n[Other]\r\nB=2");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.ini.~new"));

  // Unchanged, the file is not written at all.
  const auto written = std::filesystem::last_write_time(dir.path() / "a.ini");
  std::filesystem::last_write_time(dir.path() / "a.ini", written - std::chrono::hours(1));
  ini.SetValue(u"A", u"Main", u"1");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(std::filesystem::last_write_time(dir.path() / "a.ini"), written - std::chrono::hours(1));

  // Comments, blank lines, stray keys before the first section and the spelling of lines stay;
  // a changed key is rewritten in its place, a new key follows its section's last key, a removed
  // key or section goes with its lines, a new section comes last.
  WriteBytes(dir.path() / "l.ini",
             "; written by hand\r\nstray=1\r\n\r\n  [Main]  // the main one\r\n A = 1 \r\n"
             "// keep me\r\nB=2\r\n\r\n\r\n[Gone]\r\nx=1\r\n\r\n[Last]\r\nC=3\r\nD=4");
  clsINI layout;
  layout.FileName(Path(u"l.ini"));
  layout.SetValue(u"B", u"Main", u"two");
  layout.SetValue(u"New", u"Main", u"n");
  layout.RemoveSection(u"Gone");
  layout.RemoveValue(u"Last", u"C");
  layout.SetValue(u"E", u"Last", u"5");
  layout.SetValue(u"k", u"Added", u"v");
  ASSERT_TRUE(layout.UpdateFile());
  EXPECT_EQ(FileBytes(u"l.ini"),
            "; written by hand\r\nstray=1\r\n\r\n  [Main]  // the main one\r\n A = 1 \r\n"
            "// keep me\r\nB=two\r\nNew=n\r\n\r\n\r\n[Last]\r\nD=4\r\nE=5\r\n\r\n[Added]\r\nk=v\r\n");
  // A file there but unreadable is not replaced by the few keys this object holds.
  testing::PutUnreadableFile(dir.path() / "held.ini");
  clsINI held;
  held.FileName(Path(u"held.ini"));
  held.SetValue(u"k", u"Main", u"v");
  std::u16string reason;
  EXPECT_FALSE(held.UpdateFile(&reason));
  EXPECT_EQ(reason, u"held.ini could not be read");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "held.ini"));

  // The next save starts from what the file now holds.
  layout.SetValue(u"D", u"Last", u"four");
  ASSERT_TRUE(layout.UpdateFile());
  EXPECT_NE(FileBytes(u"l.ini").find("[Last]\r\nD=four\r\nE=5\r\n\r\n[Added]"), std::string::npos);
}

TEST_F(IniFileTest, ValuesWithLineBreaksAndCyrillicSurviveTheFile) {
  clsINI ini;
  ini.FileName(Path(u"v.ini"));
  ini.SetValue(u"Text", u"Main", u"строка\rвторая");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileBytes(u"v.ini"), "[Main]\r\nText=\xF1\xF2\xF0\xEE\xEA\xE0\x02\xE2\xF2\xEE\xF0\xE0\xFF\r\n");
  clsINI back;
  back.FileName(Path(u"v.ini"));
  EXPECT_EQ(back.GetValue(u"Text"), IniValue(u"строка\rвторая"));

  // Saved by an editor as UTF-8 without a mark: read as written, and kept before a save writes
  // it in the code page.
  const std::string utf8 = "[Main]\r\nFontName=\xD0\xA8\xD1\x80\xD0\xB8\xD1\x84\xD1\x82\r\n";
  WriteBytes(dir.path() / "u.ini", utf8);
  clsINI edited;
  edited.FileName(Path(u"u.ini"));
  EXPECT_EQ(edited.GetValue(u"FontName", u"Main"), IniValue(u"Шрифт"));
  edited.SetValue(u"Size", u"Main", 9);
  ASSERT_TRUE(edited.UpdateFile());
  EXPECT_EQ(FileBytes(u"u.ini"), "[Main]\r\nFontName=\xD8\xF0\xE8\xF4\xF2\r\nSize=9\r\n");
  EXPECT_EQ(FileBytes(u"u.ini.bak"), utf8);
}

TEST_F(IniFileTest, ValuesTheCodePageCannotHoldSurviveTheFile) {
  clsINI ini;
  ini.FileName(Path(u"w.ini"));
  ini.SetValue(u"FontName", u"Main", u"MS 明朝");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileBytes(u"w.ini").substr(0, 6), std::string("\xFF\xFE[\0M\0", 6));
  clsINI back;
  back.FileName(Path(u"w.ini"));
  EXPECT_EQ(back.GetValue(u"FontName", u"Main"), IniValue(u"MS 明朝"));
}

TEST_F(IniFileTest, AFileOnlyReadIsNeverCreated) {
  clsINI ini;
  ini.Unicode = true;
  ini.OpenForReading(Path(u"preset.ini"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "preset.ini"));
  EXPECT_EQ(ini.GetValue(u"x", u"ABC", 5), IniValue(5));
  ini.Unicode = false;
  ini.FileName(Path(u"user.ini"));  // the object goes on to a file it writes
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "user.ini"));
}

TEST_F(IniFileTest, AnsiReadingEndsLinesAtCrButKeepsALoneLf) {
  WriteBytes(dir.path() / "l.ini", "[S]\ra=1\nb=2\r\nc=3");
  clsINI ini;
  ini.FileName(Path(u"l.ini"));
  EXPECT_EQ(ini.GetValue(u"a", u"S"), IniValue(u"1\nb=2"));
  EXPECT_EQ(ini.GetValue(u"c", u"S"), IniValue(u"3"));
}

TEST_F(IniFileTest, UnicodeFilesAreReadWithOrWithoutTheMark) {
  for (const std::string& mark : {std::string("\xFF\xFE"), std::string()}) {
    std::string bytes = mark;
    for (const char16_t c : std::u16string(u"[ABC]\r\nа=бв\r\n")) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
    WriteBytes(dir.path() / "u.ini", bytes);
    clsINI ini;
    ini.Unicode = true;
    ini.FileName(Path(u"u.ini"));
    EXPECT_EQ(ini.GetValue(u"А", u"abc"), IniValue(u"бв"));
  }
}

TEST_F(IniFileTest, AMissingFileIsCreatedOneFolderDeepOrLeavesNoName) {
  clsINI ini;
  ini.FileName(Path(u"new/created.ini"));
  EXPECT_EQ(ini.FileName(), Path(u"new/created.ini"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "new" / "created.ini"));

  ini.FileName(Path(u"deep/er/x.ini"));
  EXPECT_EQ(ini.FileName(), u"");
  ini.SetValue(u"a", u"S", u"1");
  std::u16string error;
  EXPECT_FALSE(ini.UpdateFile(&error));
  EXPECT_EQ(error, u"Не указано имя файла!");
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWhole) {
  WriteBytes(dir.path() / "keep.ini", "[Main]\r\nA=1\r\n");
  clsINI ini;
  ini.FileName(Path(u"keep.ini"));
  ini.SetValue(u"A", u"Main", u"2");
  // A folder in the way of the temporary file makes the write fail before the rename.
  std::filesystem::create_directory(dir.path() / "keep.ini.~new");
  std::filesystem::create_directory(dir.path() / "keep.ini.~new" / "x");
  std::u16string error;
  EXPECT_FALSE(ini.UpdateFile(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(FileBytes(u"keep.ini"), "[Main]\r\nA=1\r\n");
}

TEST_F(IniFileTest, AutoUpdateFileWritesOnEveryAssignment) {
  clsINI ini;
  ini.FileName(Path(u"auto.ini"));
  ini.AutoUpdateFile = true;
  ini.SetValue(u"k", u"S", 5);
  EXPECT_EQ(FileBytes(u"auto.ini"), "[S]\r\nk=5\r\n");
}

TEST_F(IniFileTest, FileValuesAreReadRelativeToTheIniFolder) {
  WriteBytes(dir.path() / "sub" / "note.txt", "\xEF\xF0\xE8\xE2\xE5\xF2\r\nline 2");
  WriteBytes(dir.path() / "sub" / "f.ini", "[Main]\r\ntext=@File note.txt\r\nmissing=@File none.txt\r\n");
  clsINI ini;
  ini.FileName(Path(u"sub/f.ini"));
  EXPECT_EQ(ini.GetValue(u"text"), IniValue(u"привет\r\nline 2"));
  EXPECT_EQ(ini.GetValue(u"missing"), IniValue(u""));
}

TEST_F(IniFileTest, LinkValuesReadAKeyOfAnotherIniOrStayAsTheyAre) {
  WriteBytes(dir.path() / "other.ini", "[Data]\r\nkey=linked\r\nnote=@File note.txt\r\n");
  WriteBytes(dir.path() / "note.txt", "from file");
  const std::string other = ToUtf8(Path(u"other.ini"));
  WriteBytes(dir.path() / "l.ini", "[Main]\r\nok=@Link " + other + ";Data/key\r\nnosec=@Link " + other +
                                       ";None/key\r\nnofile=@Link missing.ini;Data/key\r\nchain=@Link " + other +
                                       ";Data/note\r\nself=@Link " + ToUtf8(Path(u"l.ini")) + ";Main/self\r\n");
  clsINI ini;
  ini.FileName(Path(u"l.ini"));
  EXPECT_EQ(ini.GetValue(u"ok"), IniValue(u"linked"));
  EXPECT_EQ(ini.GetValue(u"nosec"), IniValue(U("@Link " + other + ";None/key")));
  EXPECT_EQ(ini.GetValue(u"nofile"), IniValue(u"@Link missing.ini;Data/key"));
  EXPECT_EQ(ini.GetValue(u"chain"), IniValue(u"from file"));
  // A file that links to itself ends in the unresolved text, not in endless recursion.
  EXPECT_TRUE(Like(ini.GetValue(u"self").ToText(), u"@Link *"));
}

TEST_F(IniFileTest, TheCacheCopyStandsInForAMissingFile) {
  WriteBytes(dir.path() / "note.txt", "cached text");
  WriteBytes(dir.path() / "c.ini", "[Main]\r\nA=1\r\nF=@File " + ToUtf8(Path(u"note.txt")) + "\r\n");
  clsINI ini;
  ini.UseCash = true;
  ini.CashDir(Path(u"cache"));
  ini.FileName(Path(u"c.ini"));
  EXPECT_FALSE(ini.IsCashed);
  std::u16string cash;
  ini.GetSettingText(&cash);
  EXPECT_TRUE(Like(cash, u"\r\n[[]Main]\r\nA=1\r\nF=@File *~IniCashFile*.tmp\r\n")) << ToUtf8(cash);

  std::filesystem::remove(dir.path() / "c.ini");
  std::filesystem::remove(dir.path() / "note.txt");
  clsINI again;
  again.UseCash = true;
  again.CashDir(Path(u"cache"));
  again.FileName(Path(u"c.ini"));
  EXPECT_TRUE(again.IsCashed);
  EXPECT_TRUE(StartsWithNoCase(again.FileName(), Path(u"cache")));
  EXPECT_EQ(again.GetValue(u"A", u"Main"), IniValue(u"1"));
  EXPECT_EQ(again.GetValue(u"F"), IniValue(u"cached text"));
}

TEST_F(IniFileTest, CashDirKeepsOnlyAFolderItCanMake) {
  clsINI ini;
  EXPECT_EQ(ini.CashDir(), system_->tempFolder);
  ini.CashDir(Path(u"made/deep"));
  EXPECT_EQ(ini.CashDir(), Path(u"made/deep"));
  WriteBytes(dir.path() / "file", "x");
  ini.CashDir(Path(u"file/sub"));
  EXPECT_EQ(ini.CashDir(), system_->tempFolder);
}

TEST_F(IniFileTest, UserSettingsLiveInAppDataAndFallBackToTheProgramFolder) {
  system_->environment[u"AppData"] = Path(u"appdata");
  std::filesystem::create_directories(dir.path() / "appdata");
  WriteBytes(dir.path() / "program" / "Parlavent.ini", "[Main]\r\nFrom=program\r\n");
  clsINI ini;
  ini.LoadAppSetting();
  EXPECT_EQ(ini.FileName(), Path(u"program/Parlavent.ini"));
  EXPECT_EQ(ini.GetValue(u"From"), IniValue(u"program"));
  ini.SetValue(u"From", u"Main", u"user");
  ASSERT_TRUE(ini.SaveAppSetting());
  clsINI user;
  user.LoadAppSetting();
  EXPECT_EQ(user.FileName(), Path(u"appdata/Parlavent/Parlavent.ini"));
  EXPECT_EQ(user.GetValue(u"From"), IniValue(u"user"));
  clsINI program;
  program.OpenApplIni();
  EXPECT_EQ(program.GetValue(u"From"), IniValue(u"program"));
}

TEST_F(IniFileTest, BinaryGarbageReadsAsAnEmptyIni) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  WriteBytes(dir.path() / "junk.ini", junk);
  for (const bool unicode : {false, true}) {
    clsINI ini;
    ini.Unicode = unicode;
    ini.FileName(Path(u"junk.ini"));
    ini.GetValue(u"anything", u"Main");
    ini.GetSettingText();
  }
}

}  // namespace
}  // namespace parlavent
