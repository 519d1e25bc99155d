// The settings object over the real registry and the real per-user folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/application.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "foundation/white_list.h"
#include "platform/process.h"
#include "platform/settings_store.h"

namespace parlavent {
namespace {

class Win32Settings : public ::testing::Test {
 protected:
  Win32Settings() {
    SetAppl(&first);
    folder = API::GetAppDataFolder();
    // A first start: no user files, the one-time addition not yet made.
    DeleteFileW(reinterpret_cast<const wchar_t*>(API::JoinPath(folder, u"Parlavent.ini").c_str()));
    DeleteFileW(reinterpret_cast<const wchar_t*>(API::JoinPath(folder, u"WhiteList.inf").c_str()));
    SaveSetting(u"Main", u"CorrectOpera", u"0");
    SaveSetting(u"Main", u"Installer Language", u"1049");
    SaveSetting(u"Main", u"Auto", u"1");
  }
  ~Win32Settings() override { SetAppl(nullptr); }

  Appl first;
  std::u16string folder;
};

TEST_F(Win32Settings, SecondLoadReadsBackWhatTheFirstSaved) {
  Setting& s = *CreateSettings(first);
  s.LoadSett();
  EXPECT_TRUE(API::FileExists(API::JoinPath(folder, u"Parlavent.ini")));
  EXPECT_EQ(s.CurLang, 1);
  EXPECT_TRUE(s.AutoOn);
  EXPECT_EQ(s.HotKeyCode, 17);
  const std::u16string size = u"||S 8" + Process().DecimalSeparator() + u"5";
  EXPECT_EQ(s.TextLink.substr(s.TextLink.size() - size.size()), size);
  EXPECT_EQ(GetSetting(u"Main", u"CorrectOpera"), u"1");
  EXPECT_NE(API::ReadTextFile(API::JoinPath(folder, u"WhiteList.inf")).find(u"OperaWindowClass\t1"),
            std::u16string::npos);

  s.HotKeyCode = 116;
  s.HotKeyShift = 17;
  s.CurLang = 0;
  s.GFont = {u"Tahoma", 9};
  s.LrnNL = 321;
  auto entry = std::make_shared<clsWindow>();
  entry->ExePath = u"C:\\Windows\\notepad.exe";
  entry->SetWndType(u"Notepad");
  entry->State = 1;
  AddWindow(first.State.WhiteCol, entry);
  s.SaveSett();

  Appl second;
  SetAppl(&second);
  Setting& t = *CreateSettings(second);
  t.LoadSett();
  EXPECT_EQ(t.HotKeyCode, 116);
  EXPECT_EQ(t.HotKeyShift, 17);
  EXPECT_EQ(t.CurLang, 0);  // the file's language now, not the installer's
  EXPECT_EQ(t.GFont.Name, u"Tahoma");
  EXPECT_EQ(t.GFont.Size, 9);
  EXPECT_EQ(t.LrnNL, 321);
  EXPECT_EQ(second.State.WhiteCol.Count(), 2u);
  ASSERT_TRUE(second.State.WhiteCol.Exists(u"notepad"));
  EXPECT_EQ((*second.State.WhiteCol.Find(u"Notepad"))->State, 1);
}

}  // namespace
}  // namespace parlavent
