// Loads the installation's sample dictionaries with the real Win32 services: the system's code
// page, file mapping and OLE picture loader.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "foundation/settings_object.h"
#include "platform/settings_store.h"
#include "platform/win32/picture_win32.h"
#include "platform/win32/win32_services.h"
#include "install_folder.h"
#include "support/app_fixture.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

std::u16string InstallFolder() { return FromWide(testing::InstallFolderW()); }

class SampleLoadTest : public testing::AppTest {
 protected:
  SampleLoadTest() {
    system->programFolder = InstallFolder();
    app.Sett = std::make_shared<Setting>();
    app.Sett->DicPath = InstallFolder() + u"\\Dictionaries";
    app.Sett->AppFolder = user.Text();
    app.State.gSetting = app.Sett;
  }
  ~SampleLoadTest() override { app.CloseByteFile(); }

  testing::TempDir user;
  std::shared_ptr<testing::FakeSystem> system = std::make_shared<testing::FakeSystem>();
  testing::ScopedSystem scopedSystem{system};
  testing::ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
};

TEST_F(SampleLoadTest, BothSamplesLoadWithTheirFlagIcons) {
  app.InitDics();
  ASSERT_EQ(app.ColDics.Count(), 4u) << "two full packages, each with its common package";
  for (const auto& dic : app.ColDics) {
    SCOPED_TRACE(ToUtf8(dic->FileTitle));
    EXPECT_NE(dic->Visible, dic->Demo) << "a common package hides behind its full package";
    const auto partner = dic->Demo ? dic->FullDic.lock() : dic->Dicx;
    ASSERT_NE(partner, nullptr);
    EXPECT_EQ(dic->Demo ? partner->Dicx : partner->FullDic.lock(), dic);
    EXPECT_GT(dic->Words, 1000);
    EXPECT_GT(dic->FileN, 0);
    EXPECT_GT(dic->SfxCol->Count(), 0u);
    EXPECT_FALSE(dic->GetDirStr().empty());
    for (const auto& picture : {dic->Icon, dic->Icon1, dic->Icon2}) {
      const auto* real = dynamic_cast<const Win32Picture*>(picture.get());
      ASSERT_NE(real, nullptr);
      EXPECT_EQ(real->Type(), PICTYPE_ICON);
      EXPECT_NE(real->Handle(), 0u);
    }
  }
  EXPECT_EQ(app.Dic, *app.ColDics.ItemAt(1));
  for (const auto& dic : app.ColDics) {
    if (dic->FileTitle == u"de-ru_full") dic->SetEnabled(false);
  }
  EXPECT_EQ(app.GetTranscript(u"Haus"), u"haʊ̯s") << "read from the common package";
  ASSERT_TRUE(app.DicLanguages.Exists(u"ru"));
  EXPECT_EQ((*app.DicLanguages.Find(u"ru"))->Dics.Count(), 2u);
  EXPECT_TRUE(app.DicLanguages.Exists(u"en"));
  EXPECT_TRUE(app.DicLanguages.Exists(u"de"));
  EXPECT_TRUE(std::filesystem::is_empty(user.path())) << "the temporary picture files are gone";
}

// A full package that another program holds open without sharing, and a 0-byte package that
// sorts first: the sound common package is current and answers, alone.
TEST_F(SampleLoadTest, LockedFullPackageLeavesItsCommonTwinToServe) {
  testing::TempDir folder;
  const std::filesystem::path from = testing::InstallFolderW() + L"\\Dictionaries";
  for (const char* name : {"de-ru_full.dic", "de-ru_common.dic"}) {
    std::filesystem::copy_file(from / name, folder.path() / name);
  }
  std::ofstream(folder.path() / "aa-ru_full.dic").close();
  const std::wstring locked = (folder.path() / "de-ru_full.dic").wstring();
  HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  app.Sett->DicPath = folder.Text();
  app.InitDics();
  CloseHandle(lock);
  ASSERT_EQ(app.ColDics.Count(), 3u);
  ASSERT_NE(app.Dic, nullptr);
  EXPECT_EQ(app.Dic->FileTitle, u"de-ru_common");
  EXPECT_TRUE(app.Dic->Visible);
  EXPECT_EQ(app.Dic->FullDic.lock(), nullptr);
  EXPECT_TRUE(app.WordExist(u"Haus", *app.Dic));
  for (const auto& dic : app.ColDics) {
    if (dic != app.Dic) EXPECT_FALSE(dic->Visible) << ToUtf8(dic->FileTitle);
  }
  app.CloseByteFile();
}

}  // namespace
}  // namespace parlavent
