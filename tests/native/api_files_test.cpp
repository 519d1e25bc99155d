#include "foundation/api_files.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "support/fake_system.h"
#include "text/text.h"

namespace parlavent {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ApiPaths, TakePathsApartAtEitherSeparator) {
  struct Case {
    const char16_t* path;
    const char16_t* parent;
    const char16_t* name;
    const char16_t* base;
  };
  const Case cases[] = {
      {u"C:\\a\\b.c.txt", u"C:\\a", u"b.c.txt", u"b.c"},
      {u"C:\\a\\readme", u"C:\\a", u"readme", u"readme"},
      {u"/tmp/x/y.ini", u"/tmp/x", u"y.ini", u"y"},
      {u"C:\\mixed/dir\\f.dat", u"C:\\mixed/dir", u"f.dat", u"f"},
      {u"plain.txt", u"", u"plain.txt", u"plain"},
      {u"", u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    EXPECT_EQ(API::GetParentFolder(c.path), c.parent);
    EXPECT_EQ(API::GetFileName(c.path), c.name);
    EXPECT_EQ(API::GetFileBaseName(c.path), c.base);
  }
  EXPECT_EQ(API::JoinPath(u"C:\\a", u"b"), u"C:\\a\\b");
  EXPECT_EQ(API::JoinPath(u"/tmp/a", u"b"), u"/tmp/a/b");
  EXPECT_EQ(API::JoinPath(u"C:\\", u"b"), u"C:\\b");
  EXPECT_EQ(API::JoinPath(u"", u"b"), u"\\b");
}

class ApiFilesTest : public ::testing::Test {
 protected:
  std::u16string Path(std::u16string_view name) const { return dir.Text(name); }
  TempDir dir;
};

TEST_F(ApiFilesTest, ReadUnicodeFileDropsTheMarkOnly) {
  WriteBytes(dir.path() / "bom.txt", std::string("\xFF\xFE" "a\0b\0c\0", 8));
  WriteBytes(dir.path() / "plain.txt", std::string("a\0b\0c\0", 6));
  WriteBytes(dir.path() / "odd.txt", std::string("a\0b", 3));
  EXPECT_EQ(API::ReadUnicodeFile(Path(u"bom.txt")), u"abc");
  EXPECT_EQ(API::ReadUnicodeFile(Path(u"plain.txt")), u"abc");
  EXPECT_EQ(API::ReadUnicodeFile(Path(u"odd.txt")), u"a");
  EXPECT_EQ(API::ReadUnicodeFile(Path(u"missing.txt")), u"");
  EXPECT_EQ(API::ReadUnicodeFile(Path(u"")), u"");
  EXPECT_EQ(API::ReadUnicodeFile(u""), u"");

  // A file that is there but gives a read error: nothing, and no exception out of the read.
  testing::PutUnreadableFile(dir.path() / "held.txt");
  ASSERT_TRUE(API::FileExists(Path(u"held.txt")));
  std::string bytes;
  EXPECT_FALSE(API::ReadFileBytes(Path(u"held.txt"), bytes));
  EXPECT_EQ(API::ReadUnicodeFile(Path(u"held.txt")), u"");
}

TEST_F(ApiFilesTest, TextFilesGoThroughTheAnsiCodePage) {
  ASSERT_TRUE(API::SaveTextFile(Path(u"t.txt"), u"один\r\nдва\r\nтри", 2));
  EXPECT_EQ(ReadBytes(dir.path() / "t.txt"), "\xEE\xE4\xE8\xED\r\n\xE4\xE2\xE0\r\n");
  ASSERT_TRUE(API::SaveTextFile(Path(u"t.txt"), u"a\r\nb", 5));
  EXPECT_EQ(ReadBytes(dir.path() / "t.txt"), "a\r\nb\r\n");
  ASSERT_TRUE(API::SaveTextFile(Path(u"t.txt"), u"a\r\nb", -1));
  EXPECT_EQ(ReadBytes(dir.path() / "t.txt"), "");
  ASSERT_TRUE(API::SaveTextFile(Path(u"t.txt"), u"whole\r\ntext"));
  EXPECT_EQ(API::ReadTextFile(Path(u"t.txt")), u"whole\r\ntext");

  WriteBytes(dir.path() / "lines.txt", "one\ntwo\r\nthree\rfour");
  EXPECT_EQ(API::ReadTextFile(Path(u"lines.txt"), 3), u"one\r\ntwo\r\nthree");
  EXPECT_EQ(API::ReadTextFile(Path(u"lines.txt"), 9), u"one\r\ntwo\r\nthree\r\nfour");
  EXPECT_EQ(API::ReadTextFile(Path(u"missing.txt")), u"");
}

TEST_F(ApiFilesTest, TextTheCodePageCannotHoldIsWrittenAsUtf16AndReadBack) {
  const std::u16string path = u"C:\\日本\\a.exe\tA\r\nдва";
  ASSERT_TRUE(API::SaveTextFile(Path(u"u.txt"), path));
  const std::string bytes = ReadBytes(dir.path() / "u.txt");
  ASSERT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE" "C\0", 4));
  EXPECT_EQ(bytes.size(), 2 + path.size() * 2);
  EXPECT_EQ(API::ReadTextFile(Path(u"u.txt")), path);
  EXPECT_EQ(API::ReadTextFile(Path(u"u.txt"), 1), u"C:\\日本\\a.exe\tA");
  ASSERT_TRUE(API::SaveTextFile(Path(u"u.txt"), u"€ one\r\n日 two\r\nthree", 2));
  EXPECT_EQ(API::ReadTextFile(Path(u"u.txt")), u"€ one\r\n日 two\r\n");
  // Text the code page holds stays ANSI, without a mark.
  ASSERT_TRUE(API::SaveTextFile(Path(u"u.txt"), u"€ два"));
  EXPECT_EQ(ReadBytes(dir.path() / "u.txt"), "\x88 \xE4\xE2\xE0");
  EXPECT_EQ(API::TextFromFileBytes(std::string("\xFF\xFE", 2)), u"");
  EXPECT_EQ(API::TextFromFileBytes("\xFF"), u"я");
}

TEST(ApiUserText, ReadInTheEncodingsEditorsWrite) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"UTF-16LE", std::string("\xFF\xFE" "a\0\t\0\x34\x04", 8)},
      {"UTF-16BE", std::string("\xFE\xFF" "\0a\0\t\x04\x34", 8)},
      {"UTF-8", "\xEF\xBB\xBF" "a\t\xD0\xB4"},
      {"UTF-16LE without a mark", std::string("a\0\t\0\x34\x04", 6)},
      {"UTF-16BE without a mark", std::string("\0a\0\t\x04\x34", 6)},
      {"ANSI", "a\t\xE4"},
  };
  for (const auto& c : cases) EXPECT_EQ(API::DecodeUserText(c.bytes), u"a\tд") << c.name;

  // Without a mark the bytes decide, and only a steady pattern of zeros makes UTF-16.
  const struct {
    const char* name;
    std::string bytes;
    std::u16string text;
    API::TextForm form;
  } guessed[] = {
      {"UTF-8", "Stra\xC3\x9F" "e\t4", u"Straße\t4", API::TextForm::Utf8},
      {"UTF-8, four bytes", "\xF0\x9F\x98\x80", u"\U0001F600", API::TextForm::Utf8},
      {"ASCII", "abc", u"abc", API::TextForm::Ansi},
      {"an overlong form is no UTF-8", "\xC0\xAF", u"\x0410\x0407", API::TextForm::Ansi},
      {"a surrogate is no UTF-8", "\xED\xA0\x80", u"\x043D\x00A0\x0402", API::TextForm::Ansi},
      {"cp1251 with a stray zero", std::string("\xE4\xEE\xEC\t1\r\n\0", 7), std::u16string(u"дом\t1\r\n\0", 7),
       API::TextForm::Ansi},
      {"cp1251 ending in a run of zeros", std::string("\xE4\xEE\xEC\0\0\0\0", 7), std::u16string(u"дом\0\0\0\0", 7),
       API::TextForm::Ansi},
      {"UTF-16LE of Cyrillic and line ends", std::string("\x34\x04\x3E\x04\r\0\n\0", 8), u"до\r\n",
       API::TextForm::Utf16Le},
      {"UTF-16LE with a character whose low byte is zero, and a run of zeros after it",
       std::string("\0\x4E" "\t\0w\0o\0r\0d\0\r\0\n\0\0\0\0\0", 20), std::u16string(u"\u4E00\tword\r\n\0\0", 10),
       API::TextForm::Utf16Le},
  };
  for (const auto& c : guessed) {
    const API::UserText read = API::ReadUserText(c.bytes);
    EXPECT_EQ(read.text, c.text) << c.name;
    EXPECT_EQ(read.form, c.form) << c.name;
    EXPECT_FALSE(read.marked) << c.name;
  }
}

TEST_F(ApiFilesTest, AFailedSaveIsShownWhenAsked) {
  auto boxes = std::make_shared<testing::FakeBoxes>();
  testing::ScopedBoxes scoped(boxes);
  const std::u16string path = Path(u"no/such/folder/x.txt");
  EXPECT_FALSE(API::SaveTextFile(path, u"x"));
  EXPECT_TRUE(boxes->shown.empty());
  EXPECT_FALSE(API::SaveTextFile(path, u"x", 0, true));
  ASSERT_EQ(boxes->shown.size(), 1u);
  EXPECT_TRUE(StartsWithNoCase(boxes->shown[0].text, u"Не удается сохранить файл " + path + u"\r\r"));
  EXPECT_EQ(boxes->shown[0].title, u"Parlavent - Error");
}

TEST_F(ApiFilesTest, SaveBytesReplacesTheFileAndWritesTextAsRawUtf16) {
  WriteBytes(dir.path() / "b.dat", "a much longer old content");
  ASSERT_TRUE(API::SaveBytesToFile(Path(u"b.dat"), std::string_view("\x00\x01\xFF", 3)));
  EXPECT_EQ(ReadBytes(dir.path() / "b.dat"), std::string("\x00\x01\xFF", 3));
  ASSERT_TRUE(API::SaveBytesToFile(Path(u"b.dat"), std::u16string_view(u"Ая")));
  EXPECT_EQ(ReadBytes(dir.path() / "b.dat"), "\x10\x04\x4F\x04");
}

TEST_F(ApiFilesTest, PathsExistAsFilesOrFoldersAndFoldersAreMadeWhole) {
  WriteBytes(dir.path() / "f.txt", "x");
  EXPECT_TRUE(API::IsPathExists(Path(u"f.txt")));
  EXPECT_TRUE(API::IsPathExists(Path(u"")));
  EXPECT_FALSE(API::IsPathExists(Path(u"none")));
  EXPECT_FALSE(API::IsPathExists(u""));
  EXPECT_TRUE(API::CreateFolderPath(Path(u"a\\b\\c")));
  EXPECT_TRUE(API::FolderExists(Path(u"a/b/c")));
  EXPECT_FALSE(API::CreateFolderPath(Path(u"f.txt/sub")));
}

TEST_F(ApiFilesTest, FindFilesMatchesCaseBlindAndRecursesFoldersFirst) {
  for (const char* name : {"b.TXT", "a.txt", "c.dat", "sub/d.txt", "sub/deeper/e.txt", "Sub2.txt/f.txt"}) {
    WriteBytes(dir.path() / name, "x");
  }
  const std::u16string root = dir.Text();
  const auto at = [&root](std::u16string_view name) { return API::JoinPath(root, name); };
  EXPECT_EQ(API::FindFiles(root, u"*.txt", true, false, false, false),
            (std::vector<std::u16string>{at(u"a.txt"), at(u"b.TXT")}));
  EXPECT_EQ(API::FindFiles(root, u"*.txt", true, false, true, false),
            (std::vector<std::u16string>{at(u"sub/deeper/e.txt"), at(u"sub/d.txt"), at(u"Sub2.txt/f.txt"), at(u"a.txt"),
                                         at(u"b.TXT")}));
  EXPECT_EQ(API::FindFiles(root, u"sub*", false, true, false, false), (std::vector<std::u16string>{u"sub", u"Sub2.txt"}));
  EXPECT_EQ(API::FindFiles(root, u"", true, true, false, false).size(), 5u);
  EXPECT_TRUE(API::FindFiles(Path(u"missing"), u"", true, true, true, false).empty());

  auto pump = std::make_shared<testing::FakePump>();
  testing::ScopedPump scoped(pump);
  API::FindFiles(root, u"*", true, true, true, true);
  EXPECT_GE(pump->doEvents, 4);
}

TEST_F(ApiFilesTest, AppDataFolderIsMadeOnceOrFallsBackToTheDefault) {
  auto system = std::make_shared<testing::FakeSystem>();
  system->programFolder = Path(u"program");
  testing::ScopedSystem scoped(system);
  std::u16string fallback;
  EXPECT_EQ(API::GetAppDataFolder(fallback), Path(u"program"));
  EXPECT_EQ(fallback, Path(u"program"));

  system->environment[u"APPDATA"] = Path(u"roaming");
  EXPECT_EQ(API::GetAppDataFolder(), Path(u"program"));  // the AppData folder itself is missing
  std::filesystem::create_directory(dir.path() / "roaming");
  EXPECT_EQ(API::GetAppDataFolder(), Path(u"roaming/Parlavent"));
  EXPECT_TRUE(API::FolderExists(Path(u"roaming/Parlavent")));

  EXPECT_EQ(API::GetTempFolder(u"x.tmp"), u"c:\\temp\\x.tmp");
  system->tempFolder = Path(u"tmp");
  EXPECT_EQ(API::GetTempFolder(u"x.tmp"), Path(u"tmp/x.tmp"));
}

}  // namespace
}  // namespace parlavent
