// The settings dialog in the running program: the menu opens it; OK writes the changed check box,
// number and list check to Parlavent.ini and WhiteList.inf and the program applies them at once;
// Cancel and a failed save leave both files byte for byte as they were.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/application.h"
#include "app/main_window_core.h"
#include "app/win32/main_window.h"
#include "foundation/settings_object.h"
#include "program_driver.h"
#include "user_files.h"
#include "settings_dialog/settings_model.h"
#include "settings_dialog/win32/settings_form.h"

namespace parlavent {
namespace {

using testing::kReactTimeoutMs;
using testing::kStartTimeoutMs;
using testing::Program;
using testing::WaitForWindow;
using testing::UserFolder;

std::string FileBytes(const std::wstring& name) { return testing::UserFileBytes(name); }

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(100);
  }
  return true;
}

/// The dialog's control for a setting. Its id follows the control's place in the model: the
/// pages before the speech page are the same in this process; the later ones are counted from the
/// last control, the program list, whose label the dialog has.
HWND Control(HWND dialog, std::u16string_view name) {
  Appl appl;
  SetAppl(&appl);
  CreateSettings(appl);
  SettingsModel model(appl);
  model.ReadSetting();
  std::int32_t index = model.Find(name);
  const std::int32_t last = model.Find(u"lstWhiteList");
  SetAppl(nullptr);
  if (index < 0) return nullptr;
  if (model.Controls()[static_cast<std::size_t>(index)].page > SettingPage::Speech) {
    std::int32_t shownLast = -1;
    for (std::int32_t i = 0; i < 1000; ++i) {
      if (GetDlgItem(dialog, frmSetting::kFirstLabelId + i)) shownLast = i;
    }
    index += shownLast - last;
  }
  return GetDlgItem(dialog, frmSetting::kFirstControlId + index);
}

/// Whether button index (1-based) of the main toolbar is hidden.
bool ToolbarButtonHidden(HWND main, int index) {
  for (HWND tb = FindWindowExW(main, nullptr, TOOLBARCLASSNAMEW, nullptr); tb;
       tb = FindWindowExW(main, tb, TOOLBARCLASSNAMEW, nullptr)) {
    const LRESULT state = SendMessageW(tb, TB_GETSTATE, frmMain::kTB1Base + index - 1, 0);
    if (state != -1) return (state & TBSTATE_HIDDEN) != 0;
  }
  ADD_FAILURE() << "no main toolbar";
  return false;
}

class SettingsDialogProgram : public ::testing::Test {
 protected:
  // A first start: no settings, no list, no hidden state.
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, testing::kProgramKey);
    for (const wchar_t* name : {L"\\Parlavent.ini", L"\\WhiteList.inf"}) DeleteFileW((UserFolder() + name).c_str());
    RemoveDirectoryW((UserFolder() + L"\\Parlavent.ini.~new").c_str());
  }
  void TearDown() override { RemoveDirectoryW((UserFolder() + L"\\Parlavent.ini.~new").c_str()); }

  testing::KeptUserFiles kept;  // later tests start from the files as they were

  /// Starts the program and opens the dialog from its menu.
  HWND OpenDialog() {
    program.emplace();
    if (!program->Started()) return nullptr;
    main = testing::WaitForMainWindow(program->Id(), true, kStartTimeoutMs);
    if (!main) return nullptr;
    PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Setting), 0);
    return WaitForWindow(program->Id(), frmSetting::kClassName, kReactTimeoutMs);
  }

  /// Changes a check box, a number on a hidden page, a toolbar button and the list's first check.
  static void ChangeSomeSettings(HWND dialog) {
    SendMessageW(Control(dialog, u"chkTopMost"), BM_CLICK, 0, 0);
    SetWindowTextW(Control(dialog, u"numLrnNL"), L"321");
    SendMessageW(Control(dialog, u"chkButton6"), BM_SETCHECK, BST_UNCHECKED, 0);
    HWND list = GetDlgItem(dialog, frmSetting::kIdWhiteList);
    SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
  }

  std::optional<Program> program;  // started by OpenDialog, after SetUp; ended before the files go back
  HWND main = nullptr;
};

TEST_F(SettingsDialogProgram, OkSavesTheChangesAndTheProgramAppliesThem) {
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr) << "the menu opens the settings dialog";
  EXPECT_FALSE(IsWindowEnabled(main)) << "the dialog is modal";
  EXPECT_FALSE(ToolbarButtonHidden(main, 6));
  const std::string listBefore = FileBytes(L"WhiteList.inf");
  ASSERT_NE(listBefore.find("\t1\r\n"), std::string::npos);

  ChangeSomeSettings(dialog);
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilGone(dialog, kReactTimeoutMs)) << "OK closes the dialog";

  const std::string ini = FileBytes(L"Parlavent.ini");
  EXPECT_NE(ini.find("TopMost=False"), std::string::npos) << ini;
  EXPECT_NE(ini.find("NLast=321"), std::string::npos);
  EXPECT_NE(ini.find("Buttons=-65"), std::string::npos) << "all buttons but the sixth";
  const std::string list = FileBytes(L"WhiteList.inf");
  const std::string firstLine = list.substr(0, list.find("\r\n"));
  EXPECT_EQ(firstLine.substr(firstLine.size() - 2), "\t0") << "the first program's capture is off";
  EXPECT_EQ(list.substr(list.find("\r\n")), listBefore.substr(listBefore.find("\r\n")));

  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_TRUE(ToolbarButtonHidden(main, 6)) << "the toolbar follows the new mask";
  EXPECT_FALSE(ToolbarButtonHidden(main, 5));
  EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the main window is no longer topmost";
}

TEST_F(SettingsDialogProgram, CancelAndAFailedSaveLeaveBothFilesAsTheyWere) {
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  const std::string ini = FileBytes(L"Parlavent.ini");
  const std::string list = FileBytes(L"WhiteList.inf");

  ChangeSomeSettings(dialog);
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilGone(dialog, kReactTimeoutMs));
  EXPECT_EQ(FileBytes(L"Parlavent.ini"), ini);
  EXPECT_EQ(FileBytes(L"WhiteList.inf"), list);
  EXPECT_FALSE(ToolbarButtonHidden(main, 6));

  // Parlavent.ini cannot be replaced: the name its new copy is written under is taken.
  ASSERT_TRUE(CreateDirectoryW((UserFolder() + L"\\Parlavent.ini.~new").c_str(), nullptr));
  PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Setting), 0);
  dialog = WaitForWindow(program->Id(), frmSetting::kClassName, kReactTimeoutMs);
  ASSERT_NE(dialog, nullptr);
  ChangeSomeSettings(dialog);
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  HWND message = WaitForWindow(program->Id(), L"#32770", kReactTimeoutMs);
  ASSERT_NE(message, nullptr) << "a failed save says so";
  wchar_t text[1024] = {};
  for (HWND child = FindWindowExW(message, nullptr, L"Static", nullptr); child;
       child = FindWindowExW(message, child, L"Static", nullptr)) {
    GetWindowTextW(child, text, 1024);
    if (wcsstr(text, L"could not be saved")) break;
  }
  EXPECT_NE(wcsstr(text, L"The settings could not be saved in"), nullptr);
  PostMessageW(message, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntilGone(message, kReactTimeoutMs));
  EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
  EXPECT_EQ(FileBytes(L"Parlavent.ini"), ini);
  EXPECT_EQ(FileBytes(L"WhiteList.inf"), list);
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilGone(dialog, kReactTimeoutMs));
  EXPECT_FALSE(ToolbarButtonHidden(main, 6)) << "nothing was applied";
}

// A list of thousands of programs (the capture adds every program it meets): the dialog comes up
// with all of them, and the main window answers all the while.
TEST_F(SettingsDialogProgram, ALongProgramListOpensWhileTheMainWindowAnswers) {
  std::string list;
  for (int i = 0; i < 10000; ++i) {
    const std::string n = std::to_string(i);
    list += "C:\\Programs\\app" + n + "\\app" + n + ".exe\tApp " + n + "\t\tAppClass" + n + "\t" +
            std::to_string(i % 2) + "\r\n";
  }
  HANDLE file = CreateFileW((UserFolder() + L"\\WhiteList.inf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, list.size());

  program.emplace();
  ASSERT_TRUE(program->Started());
  main = testing::WaitForMainWindow(program->Id(), true, kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Setting), 0);
  // Before the list was filled in one pass, each entry cost 9 ms: 90 s of a window that answered
  // nothing. Now a question waits no longer than a busy machine makes it.
  constexpr UINT kAnswerMs = 5000;
  const auto answers = [this] {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result) != 0;
  };
  HWND dialog = nullptr;
  const DWORD start = GetTickCount();
  while (!dialog && GetTickCount() - start < kReactTimeoutMs) {
    ASSERT_TRUE(answers()) << "the main window stalls while the dialog opens";
    dialog = testing::WindowOf(program->Id(), frmSetting::kClassName, true);
    if (!dialog) Sleep(50);
  }
  ASSERT_NE(dialog, nullptr) << "the settings dialog comes up";
  HWND shown = GetDlgItem(dialog, frmSetting::kIdWhiteList);
  EXPECT_EQ(SendMessageW(shown, LVM_GETITEMCOUNT, 0, 0), 10001) << "every program, and Opera's entry";
  EXPECT_TRUE(answers());
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntilGone(dialog, kReactTimeoutMs));
  EXPECT_TRUE(answers());
}

}  // namespace
}  // namespace parlavent
