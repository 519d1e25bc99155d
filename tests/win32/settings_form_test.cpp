// frmSetting in this process, with voices: the speech page binds the voice choice to its speed
// and volume boxes, and OK takes what the boxes hold.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "foundation/settings_object.h"
#include "foundation/settings_voices.h"
#include "foundation/voice.h"
#include "foundation/white_list.h"
#include "platform/help_viewer.h"
#include "settings_dialog/win32/settings_form.h"
#include "support/voice_test_dic.h"
#include "test_window.h"
#include "user_files.h"

namespace parlavent {
namespace {

class SettingsForm : public ::testing::Test {
 protected:
  SettingsForm() {
    SetAppl(&appl);
    CreateSettings(appl);
    for (const wchar_t* name : {L"Anna", L"Boris"}) {
      auto voice = std::make_shared<clsVoice>();
      voice->Name = FromWideText(name);
      voice->Spd = voice->Name == u"Anna" ? 2 : 12;
      voice->Vol = 10;
      appl.Voices.Add(voice->Name, voice);
    }
    appl.DefVoice = *appl.Voices.ItemAt(1);
    dics.Add(u"k1", enRu);
    G().gDicVoices = MakeDicVoiceSource(dics);
  }
  ~SettingsForm() override { SetAppl(nullptr); }
  static std::u16string FromWideText(const wchar_t* text) {
    return std::u16string(text, text + wcslen(text));
  }
  HWND Control(std::u16string_view name) {
    return GetDlgItem(form.hwnd(), frmSetting::kFirstControlId + form.Model().Find(name));
  }
  std::wstring Text(HWND w) {
    wchar_t text[64] = {};
    GetWindowTextW(w, text, 64);
    return text;
  }

  testing::KeptUserFiles kept;  // OK writes the Wine user's files
  Appl appl;
  std::shared_ptr<testing::TestDic> enRu = std::make_shared<testing::TestDic>(true, u"en", u"ru");
  KeyedCollection<std::shared_ptr<testing::TestDic>> dics;
  frmSetting form{GetModuleHandleW(nullptr), appl};
};

TEST_F(SettingsForm, TheSpeechPageShowsTheChosenVoicesSpeedAndVolume) {
  form.ReadSetting();
  ASSERT_NE(form.hwnd(), nullptr);
  form.ShowPage(SettingPage::Speech);
  ShowWindow(form.hwnd(), SW_SHOW);
  testing::TestWindow::Pump(1500);  // on the screen long enough to be looked at
  HWND voice = Control(u"cmbVoice");
  HWND speed = Control(u"numVoiceSpeed");
  ASSERT_NE(voice, nullptr);
  EXPECT_TRUE(IsWindowVisible(voice));
  EXPECT_EQ(SendMessageW(voice, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Text(speed), L"2");

  SetWindowTextW(speed, L"5");
  SendMessageW(voice, CB_SETCURSEL, 1, 0);
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(voice), CBN_SELCHANGE), reinterpret_cast<LPARAM>(voice));
  EXPECT_EQ(Text(speed), L"12") << "the other voice's speed";
  SendMessageW(voice, CB_SETCURSEL, 0, 0);
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(voice), CBN_SELCHANGE), reinterpret_cast<LPARAM>(voice));
  EXPECT_EQ(Text(speed), L"5") << "what was typed for the first voice is kept";

  // Each language of the shown dictionaries has its voice; OK gives the sides their voices.
  HWND russian = Control(u"cmbVoiceLang2");
  ASSERT_NE(russian, nullptr);
  SendMessageW(russian, CB_SETCURSEL, 1, 0);
  SendMessageW(form.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(enRu->Voice2, *appl.Voices.ItemAt(2));
  EXPECT_EQ(enRu->Voice1, *appl.Voices.ItemAt(1));
  EXPECT_EQ((*appl.Voices.ItemAt(1))->Spd, 5);
}

void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
  testing::TestWindow::Pump(120);  // a key held as a hand holds it, across several polls
}

TEST_F(SettingsForm, TheHotKeyBoxTakesTheKeysPressedInIt) {
  form.ReadSetting();
  form.ShowPage(SettingPage::Translation);
  ShowWindow(form.hwnd(), SW_SHOW);
  SetForegroundWindow(form.hwnd());
  HWND box = Control(u"txtHotKey");
  SetFocus(box);
  testing::TestWindow::Pump(200);
  ASSERT_EQ(GetFocus(), box);
  Key(VK_MENU, false);
  Key('A', false);
  Key('A', true);
  Key(VK_MENU, true);
  EXPECT_EQ(Text(box), L"Alt + A");
  EXPECT_EQ(form.Model().Get(u"txtHotKey").hotKey, (HotKeyValue{65, 18, false}));
}

TEST_F(SettingsForm, HelpOpensThePagesTopic) {
  struct RecordingHelp : HelpViewer {
    std::u16string topic;
    void DisplayTopic(WindowHandle, std::u16string_view, std::u16string_view t) override { topic = t; }
  };
  auto help = std::make_shared<RecordingHelp>();
  SetHelpViewer(help);
  form.ReadSetting();
  form.ShowPage(SettingPage::Learning);
  SendMessageW(form.hwnd(), WM_COMMAND, frmSetting::kIdHelp, 0);
  SetHelpViewer(MakeWin32HelpViewer());
  EXPECT_EQ(help->topic, u"settings_learning.htm");
}

TEST_F(SettingsForm, OpenedAndClosedTwiceTheProgramIconsLiveOnWithTheDialog) {
  G().WhiteCol = ParseWhiteList(u"C:\\windows\\notepad.exe\tNotepad\t\tNotepad\t1\r\n"
                                u"C:\\gone\\gone.exe\tGone\t\tGoneClass\t0");
  for (int round = 0; round < 2; ++round) {
    form.ReadSetting();
    HWND list = GetDlgItem(form.hwnd(), frmSetting::kIdWhiteList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), form.Icons());
    form.ShowPage(SettingPage::Programs);
    // The rows' icons are read as the list draws them.
    ShowWindow(form.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(list);
    LVITEMW selected{};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    wchar_t details[300] = {};
    GetWindowTextW(GetDlgItem(form.hwnd(), frmSetting::kIdDetails), details, 300);
    EXPECT_EQ(std::wstring(details).rfind(L"C:\\windows\\notepad.exe", 0), 0u) << "the chosen program's file details";
    PostMessageW(form.hwnd(), WM_COMMAND, IDCANCEL, 0);
    form.ShowModal(false);
    EXPECT_EQ(form.hwnd(), nullptr);
    // The list view is gone; the icons it showed are still the dialog's, whole, and the second
    // opening reads no program's icon again.
    EXPECT_EQ(ImageList_GetImageCount(form.Icons()), 2) << "round " << round;
  }
}

}  // namespace
}  // namespace parlavent
