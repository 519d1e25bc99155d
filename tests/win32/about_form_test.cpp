// The About window with the installation's template: placeholders filled, logo by language.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/application.h"
#include "app/win32/about_form.h"
#include "dictionary/dictionary.h"
#include "foundation/settings_object.h"
#include "install_folder.h"
#include "platform/win32/win32_services.h"
#include "support/app_fixture.h"
#include "support/fake_system.h"
#include "test_window.h"
#include "text/text.h"

namespace parlavent {
namespace {

class AboutFormTest : public testing::AppTest {
 protected:
  AboutFormTest() {
    system->programFolder = FromWide(testing::InstallFolderW());
    app.Sett = std::make_shared<Setting>();
    app.State.gSetting = app.Sett;
    app.State.gLangTable.assign(400, u"x");
    app.State.gLangTable[65] = u"слов";
    auto dic = std::make_shared<clsDic>();
    dic->Words = 4321;
    dic->Visible = true;
    auto src = std::make_shared<clsDicSrc>();
    src->Name = u"Sample";
    dic->Srcs->Add(u"k0", src);
    app.ColDics.Add(u"k1", dic);
  }
  std::shared_ptr<testing::FakeSystem> system = std::make_shared<testing::FakeSystem>();
  testing::ScopedSystem scopedSystem{system};
};

TEST_F(AboutFormTest, ShowsTheFilledTemplateOfTheInterfaceLanguage) {
  for (int lang : {0, 1}) {
    app.Sett->CurLang = lang;
    frmAbout about(GetModuleHandleW(nullptr));
    ASSERT_TRUE(about.Load());
    about.Show();
    testing::TestWindow::Pump(100);
    ASSERT_NE(about.txtDic(), nullptr);
    const std::u16string text = about.txtDic()->Text();
    EXPECT_EQ(text.find(u"#Ver#"), std::u16string::npos);
    EXPECT_NE(text.find(u"Sample: 4000 слов"), std::u16string::npos) << ToUtf8(text);
    EXPECT_NE(text.find(lang == 1 ? u"Словари:" : u"Dictionaries:"), std::u16string::npos);
    EXPECT_EQ(about.Logo(), lang);
  }
}

TEST_F(AboutFormTest, EscClosesItAndItsTextNeverKeepsTheFocus) {
  frmAbout about(GetModuleHandleW(nullptr));
  ASSERT_TRUE(about.Load());
  about.Show();
  testing::TestWindow::Pump(100);
  HWND text = about.txtDic()->hwnd();
  SetFocus(text);
  testing::TestWindow::Pump(100);
  EXPECT_NE(GetFocus(), text) << "no caret in the About text";
  EXPECT_TRUE(GetFocus() == about.hwnd() || IsChild(about.hwnd(), GetFocus()));

  // Esc reaches the window through the message loop, whichever control has the focus.
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  MSG msg;
  const DWORD end = GetTickCount() + 300;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (AboutPreTranslate(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
  EXPECT_FALSE(IsWindowVisible(about.hwnd()));
}

}  // namespace
}  // namespace parlavent
