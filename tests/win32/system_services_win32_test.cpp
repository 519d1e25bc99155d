// The registry, the settings store, version resources, the shell and whole-file replacement over
// the real Win32 services.
#include <gtest/gtest.h>
#include <windows.h>

#include "foundation/api_files.h"
#include "foundation/api_system.h"
#include "foundation/ini_file.h"
#include "foundation/lang_table.h"
#include "platform/settings_store.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_services.h"
#include "support/app_fixture.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

// Each test has a key of its own, so that tests running side by side never see each other's values.
class Win32Registry : public ::testing::Test {
 protected:
  ~Win32Registry() override { RegDeleteTreeW(HKEY_CURRENT_USER, Wide(TestKey())); }
  static std::u16string TestKey() {
    const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return u"Software\\Parlavent Tests\\" + std::u16string(name, name + std::char_traits<char>::length(name));
  }
  static std::u16string Key(std::u16string_view name) { return TestKey() + u"\\" + std::u16string(name); }
};

TEST_F(Win32Registry, StringsRoundTripWithTheirTypeAndOtherTypesGiveTheDefault) {
  API::RegWriteString(kHkeyCurrentUser, Key(u"a\\b"), u"plain", u"строка");
  API::RegWriteString(kHkeyCurrentUser, Key(u"a\\b"), u"path", u"%SystemRoot%\\x", true);
  API::RegWriteString(kHkeyCurrentUser, Key(u"a\\b"), u"", u"default value");
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"a\\b"), u"plain"), u"строка");
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"A\\B"), u"PATH"), u"%SystemRoot%\\x");
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"a\\b"), u""), u"default value");

  DWORD type = 0;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Wide(Key(u"a\\b")), 0, KEY_READ | KEY_WRITE, &key), ERROR_SUCCESS);
  RegQueryValueExW(key, L"path", nullptr, &type, nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  const DWORD number = 5;
  RegSetValueExW(key, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  const wchar_t unterminated[] = {L'a', L'b'};
  RegSetValueExW(key, L"raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), sizeof unterminated);
  RegCloseKey(key);

  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"a\\b"), u"number", u"dflt"), u"dflt");
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"a\\b"), u"missing", u"dflt"), u"dflt");
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"none"), u"plain", u"dflt"), u"dflt");
  // Data stored without its NUL still reads as its text.
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, Key(u"a\\b"), u"raw", u"dflt"), u"ab");
}

TEST_F(Win32Registry, TheSettingsStoreKeepsValuesUnderTheProgramsNameAndSection) {
  const std::u16string app = u"Parlavent Tests\\App";
  RegistrySettingsStore store;
  std::u16string value = u"untouched";
  EXPECT_FALSE(store.Read(app, u"Main", u"NeedShow", value));
  EXPECT_EQ(value, u"untouched");
  ASSERT_TRUE(store.Write(app, u"Main", u"NeedShow", u"1"));
  ASSERT_TRUE(store.Write(app, u"Windows", u"frmMain.Left", u"120"));
  EXPECT_TRUE(store.Read(app, u"main", u"needshow", value));
  EXPECT_EQ(value, u"1");
  // Where the runtime keeps them, so that outside programs and earlier installations meet them.
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser,
                               u"Software\\VB and VBA Program Settings\\Parlavent Tests\\App\\Windows", u"frmMain.Left"),
            u"120");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Parlavent Tests");

  // The installed store is the registry one, keyed by this program's name.
  ASSERT_TRUE(SaveSetting(u"Parlavent Tests", u"Value", u"x"));
  EXPECT_EQ(GetSetting(u"Parlavent Tests", u"Value", u"dflt"), u"x");
  EXPECT_EQ(GetSetting(u"Parlavent Tests", u"Other", u"dflt"), u"dflt");
  RegDeleteTreeW(HKEY_CURRENT_USER, Wide(u"Software\\VB and VBA Program Settings\\" + System().ExeName()));
}

std::u16string ProgramFile() { return API::JoinPath(API::GetParentFolder(System().ProgramFolder()), u"Parlavent\\Parlavent.exe"); }

TEST(Win32Versions, ParlaventExeCarriesItsVersionStrings) {
  FileVersionRecord record;
  ASSERT_EQ(API::GetFileVersionStrings(ProgramFile(), record), 1);
  EXPECT_EQ(record.CompanyName, u"Parlavent Developers");
  EXPECT_EQ(record.FileVersion, u"1.0.0.0");
  EXPECT_EQ(record.OriginalFileName, u"Parlavent.exe");
  EXPECT_EQ(record.ProductName, u"Parlavent");
  EXPECT_EQ(record.ProductVersion, u"1.0.0.0");

  // The test program has no version resource of its own.
  record.ProductName = u"stale";
  EXPECT_EQ(API::GetFileVersionStrings(API::JoinPath(System().ProgramFolder(), System().ExeName() + u".exe"), record), 2);
  EXPECT_EQ(record.ProductName, u"");
  EXPECT_EQ(API::GetAppVersion(), u"0.0.0");
  EXPECT_EQ(System().ExeName(), u"win32_tests");
}

class Win32System : public testing::AppTest {};

TEST_F(Win32System, WindowsVersionFontsAndFolders) {
  API::InitWindowsVersion();
  EXPECT_GE(G().gWinVer, 501);
  EXPECT_TRUE(API::IsWinNT());
  EXPECT_FALSE(API::GetFontList(0).empty());
  EXPECT_EQ(G().gFontNames.size(), API::GetFontList(0).size());
  EXPECT_TRUE(API::FolderExists(API::GetSystemFolder()));
  EXPECT_TRUE(API::FolderExists(API::GetTempFolder()));
  EXPECT_NE(API::GetTempFolder().back(), u'\\');

  const std::u16string appData = API::GetAppDataFolder();
  EXPECT_EQ(API::GetFileName(appData), u"win32_tests");
  EXPECT_TRUE(API::FolderExists(appData));
  RemoveDirectoryW(Wide(appData));
}

TEST(Win32Shell, OpeningAMissingFileShowsTheNotFoundMessage) {
  auto boxes = std::make_shared<testing::FakeBoxes>();
  testing::ScopedBoxes scoped(boxes);
  const std::u16string message = API::ShellOpen(API::GetTempFolder(u"no such file 7d1f.txt"));
  EXPECT_EQ(message, u"Ошибка: Файл не найден. Путь или имя файла указаны неправильно! ");
  ASSERT_EQ(boxes->shown.size(), 1u);
  EXPECT_EQ(boxes->shown[0].title, u"Ошибка");
  EXPECT_EQ(boxes->shown[0].style, kMbIconExclamation);
}

TEST(Win32Files, UpdateFileReplacesAnExistingFileWhole) {
  testing::TempDir dir;
  const std::u16string path = dir.Text(u"settings.ini");
  ASSERT_TRUE(API::SaveTextFile(path, u"[Main]\r\nA=1\r\n"));
  clsINI ini;
  ini.FileName(path);
  ini.SetValue(u"A", u"Main", u"2");
  std::u16string error;
  ASSERT_TRUE(ini.UpdateFile(&error)) << ToUtf8(error);
  EXPECT_EQ(API::ReadTextFile(path), u"[Main]\r\nA=2\r\n");
  EXPECT_TRUE(API::FindFiles(dir.Text(), u"", true, true, false, false) ==
              std::vector<std::u16string>{path});
}

TEST(Win32Language, RussianIsOfferedOnlyWhereTheAnsiCodePageHoldsIt) {
  const std::u16string text =
      API::ReadUnicodeFile(API::JoinPath(API::GetParentFolder(System().ProgramFolder()), u"Parlavent\\lang.dat"));
  std::int32_t curLang = 1;
  const LangTableLoad load = BuildLangTable(text, curLang);
  ASSERT_EQ(load.languages.size(), 2u);
  EXPECT_EQ(load.languages[0], u"English");
  const bool cyrillic = GetACP() == 1251;
  EXPECT_EQ(load.languages[1], cyrillic ? u"Русский" : u"");
  EXPECT_EQ(curLang, cyrillic ? 1 : 0);
  EXPECT_EQ(load.table[2], cyrillic ? u"Перевести" : u"Translate");
}

}  // namespace
}  // namespace parlavent
