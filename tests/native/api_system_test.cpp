#include "foundation/api_system.h"

#include <gtest/gtest.h>

#include "foundation/api_messages.h"
#include "platform/settings_store.h"
#include "support/app_fixture.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

class ApiSystemTest : public testing::AppTest {
 protected:
  std::shared_ptr<testing::FakeShell> shell = std::make_shared<testing::FakeShell>();
  std::shared_ptr<testing::FakeBoxes> boxes = std::make_shared<testing::FakeBoxes>();
  std::shared_ptr<testing::FakeSystem> system = std::make_shared<testing::FakeSystem>();
  testing::ScopedShell scopedShell{shell};
  testing::ScopedBoxes scopedBoxes{boxes};
  testing::ScopedSystem scopedSystem{system};
};

TEST_F(ApiSystemTest, ShellOpenNamesEachFailure) {
  struct Case {
    int code;
    const char16_t* message;
  };
  const Case cases[] = {
      {0, u"Ошибка: Недостаточно памяти. Выполнение прервано!"},
      {2, u"Ошибка: Файл не найден. Путь или имя файла указаны неправильно! "},
      {3, u"Ошибка: Путь не найден. Указанная папка не существует! \""},
      {11, u"Ошибка:  Неизвестный формат файла!"},
      {31, u"Windows не знает, что это за файл и чем его открывать. Выберите программу из списка или нажмите Отмена."},
      {26, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    shell->openResult = c.code;
    boxes->shown.clear();
    EXPECT_EQ(API::ShellOpen(u"C:\\doc.xyz"), c.message);
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, c.message);
    EXPECT_EQ(boxes->shown[0].title, u"Ошибка");
    EXPECT_EQ(boxes->shown[0].style, 48);
  }
  EXPECT_EQ(shell->openedWith, std::vector<std::u16string>{u"C:\\doc.xyz"});

  shell->openResult = 42;
  boxes->shown.clear();
  EXPECT_EQ(API::ShellOpen(u"C:\\doc.txt"), u"");
  EXPECT_TRUE(boxes->shown.empty());
}

TEST_F(ApiSystemTest, ErrorMessagesCarryTheErrorsDetails) {
  int answer = 0;
  boxes->answer = kIdYes;
  const API::ErrObject err{53, u"File not found", u"clsStat"};
  EXPECT_TRUE(API::ShowErrorMessage(&err, u"Cannot load", true, kMbYesNo, &answer, u"Stat"));
  EXPECT_EQ(answer, kIdYes);
  EXPECT_EQ(boxes->shown.back().text, u"Cannot load\r\rFile not found\r\rModule: clsStat\rError 53");
  EXPECT_EQ(boxes->shown.back().title, u"Stat - Error");
  EXPECT_EQ(boxes->shown.back().style, kMbYesNo + kMbIconCritical);

  const API::ErrObject none{};
  EXPECT_FALSE(API::ShowErrorMessage(&none, u"nothing"));
  EXPECT_TRUE(API::ShowErrorMessage(nullptr, u"just text"));
  EXPECT_EQ(boxes->shown.back().text, u"just text");
  EXPECT_EQ(boxes->shown.back().title, u"Parlavent - Error");
  EXPECT_EQ(boxes->shown.back().style, kMbIconExclamation);
  EXPECT_EQ(boxes->shown.size(), 2u);
}

TEST_F(ApiSystemTest, ConfirmYesNoAsksUnlessShiftSkipsIt) {
  boxes->answer = kIdNo;
  EXPECT_FALSE(API::ConfirmYesNo(u"Sure?"));
  EXPECT_EQ(boxes->shown.back().style, 36);
  EXPECT_EQ(boxes->shown.back().title, u"Parlavent");
  auto input = std::make_shared<testing::FakeInput>();
  input->down.insert(16);
  testing::ScopedInput scopedInput(input);
  EXPECT_TRUE(API::ConfirmYesNo(u"Sure?", u"T", true));
  EXPECT_EQ(boxes->shown.size(), 1u);
}

TEST_F(ApiSystemTest, WaitSecondsPumpsUntilCancelled) {
  auto pump = std::make_shared<testing::FakePump>();
  bool cancel = false;
  pump->onDoEvents = [&] { cancel = pump->doEvents == 3; };
  testing::ScopedPump scoped(pump);
  API::WaitSeconds(3600, &cancel);
  EXPECT_EQ(pump->doEvents, 3);
  EXPECT_EQ(pump->sleeps, 3);
}

TEST_F(ApiSystemTest, VersionsAndFonts) {
  system->windows = {6, 1, 2};
  API::InitWindowsVersion();
  EXPECT_EQ(G().gWinVer, 601);
  EXPECT_TRUE(API::IsWinNT());
  system->windows.platformId = 1;
  EXPECT_FALSE(API::IsWinNT());
  EXPECT_EQ(API::GetAppVersion(), u"1.2.3");
  system->fonts = {u"Arial", u"Tahoma"};
  EXPECT_EQ(API::GetFontList(0), system->fonts);
  EXPECT_EQ(G().gFontNames, system->fonts);
}

TEST_F(ApiSystemTest, RegistryReadsFallBackToTheDefault) {
  auto registry = std::make_shared<testing::FakeRegistry>();
  testing::ScopedRegistry scoped(registry);
  API::RegWriteString(kHkeyCurrentUser, u"Software\\X", u"v", u"%TEMP%", true);
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, u"software\\x", u"V", u"d"), u"%TEMP%");
  EXPECT_TRUE(registry->values.begin()->second.expand);
  registry->values[testing::FakeRegistry::Key(kHkeyCurrentUser, u"Software\\X", u"n")] = {u"", false, false};
  EXPECT_EQ(API::RegReadString(kHkeyCurrentUser, u"Software\\X", u"n", u"d"), u"d");
}

TEST_F(ApiSystemTest, TheSettingsStoreIsKeyedByTheProgramsName) {
  auto store = std::make_shared<MemorySettingsStore>();
  testing::ScopedUserSettings scoped(store);
  EXPECT_EQ(GetSetting(u"Main", u"NeedShow", u"0"), u"0");
  EXPECT_TRUE(SaveSetting(u"Main", u"NeedShow", u"1"));
  EXPECT_EQ(GetSetting(u"main", u"needshow"), u"1");
  std::u16string value;
  EXPECT_TRUE(store->Read(u"PARLAVENT", u"Main", u"NeedShow", value));
  EXPECT_FALSE(store->Read(u"Other", u"Main", u"NeedShow", value));
  EXPECT_FALSE(SaveSetting(u"", u"x", u"y"));
}

}  // namespace
}  // namespace parlavent
