// The main window made in this process: what only the real controls show.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/application.h"
#include "app/win32/main_window.h"
#include "foundation/settings_object.h"
#include "platform/win32/rich_edit_box.h"
#include "support/app_fixture.h"
#include "test_window.h"

namespace parlavent {
namespace {

class MainWindowWin32 : public testing::AppTest {
 protected:
  MainWindowWin32() {
    CreateSettings(app);
    app.State.gLangTable.assign(400, u"x");
  }
  ~MainWindowWin32() override { form.Unload(); }
  frmMain form;
};

// What the control under the pointer makes of a pointer move over it.
HCURSOR CursorOver(HWND control) {
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

TEST_F(MainWindowWin32, TheHourglassStaysOverTheWindowAndItsBoxesUntilWaitEnds) {
  ASSERT_TRUE(form.Load(GetModuleHandleW(nullptr)));
  ShowWindow(form.hwnd(), SW_SHOW);
  testing::TestWindow::Pump(100);
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  auto* input = static_cast<RichEditBox*>(form.txtInput.get());
  auto* output = static_cast<RichEditBox*>(form.txtOutPut.get());
  ASSERT_TRUE(input && output);

  form.Wait(true);
  for (HWND w : {form.hwnd(), input->hwnd(), output->hwnd()}) EXPECT_EQ(CursorOver(w), wait);
  form.Wait(false);
  for (HWND w : {input->hwnd(), output->hwnd()}) EXPECT_NE(CursorOver(w), wait) << "the boxes' own pointer again";
}

TEST_F(MainWindowWin32, WhatTheProgramWritesIntoTheInputIsNoTyping) {
  ASSERT_TRUE(form.Load(GetModuleHandleW(nullptr)));
  ShowWindow(form.hwnd(), SW_SHOW);
  testing::TestWindow::Pump(100);
  TimerControl* listTimer = form.Core().Controls().timers.tmrChangeInput;
  ASSERT_NE(listTimer, nullptr);
  listTimer->SetEnabled(false);
  // As the word list and the history write it: the typed flag off around the write.
  app.State.gUserTyped = false;
  form.txtInput->SetText(u"hau");
  app.State.gUserTyped = true;
  testing::TestWindow::Pump(200);
  EXPECT_FALSE(listTimer->Enabled()) << "no word list for a text the program wrote";
}

}  // namespace
}  // namespace parlavent
