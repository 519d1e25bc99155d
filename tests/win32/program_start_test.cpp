// Starts Parlavent.exe as its own process and drives it from outside: the window shows, closing
// it hides it to the tray, a second copy hands over and ends, and the program ends through the
// settings-store request or the tray menu's exit command.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/win32/main_window.h"
#include "install_folder.h"
#include "program_driver.h"
#include "platform/win32/win32_services.h"
#include "resource_ids.h"

namespace parlavent {
namespace {

using testing::ControlText;
using testing::kProgramKey;
using testing::kReactTimeoutMs;
using testing::kStartTimeoutMs;
using testing::Program;
using testing::ProgramPath;
using testing::SetRequest;
using testing::WaitForMainWindow;

// Typing in the input box shows the words that begin with the input, half a second after the
// last key (the first look at a package may take longer).
void ExpectTypingListsWords(HWND main) {
  HWND input = GetDlgItem(main, 201);
  HWND output = GetDlgItem(main, 202);
  ASSERT_NE(input, nullptr);
  ASSERT_NE(output, nullptr);
  EXPECT_NE(FindWindowExW(main, nullptr, TOOLBARCLASSNAMEW, nullptr), nullptr);
  for (wchar_t c : std::wstring(L"hau")) PostMessageW(input, WM_CHAR, c, 0);
  std::wstring listed;
  const DWORD start = GetTickCount();
  do {
    Sleep(100);
    listed = ControlText(output);
  } while (listed.find(L"hau") == std::wstring::npos && GetTickCount() - start < kReactTimeoutMs);
  EXPECT_EQ(ControlText(input), L"hau");
  EXPECT_NE(listed.find(L"hau"), std::wstring::npos) << "the word list shows words beginning with the input";
}

class ProgramStart : public ::testing::Test {
 protected:
  // Each test starts as a first start: no placement, no hidden state, no requests left over.
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey); }
};

TEST_F(ProgramStart, WindowHidesToTheTrayAnotherCopyHandsOverAndRequestsOrTheTrayEndIt) {
  Program first;
  ASSERT_TRUE(first.Started()) << "cannot start Parlavent.exe";
  HWND main = WaitForMainWindow(first.Id(), true, kStartTimeoutMs);
  ASSERT_NE(main, nullptr);
  wchar_t caption[128] = {};
  GetWindowTextW(main, caption, 128);
  EXPECT_EQ(FromWide(caption).substr(0, 12), u"  Parlavent ") << "the caption names the current dictionary";
  ExpectTypingListsWords(main);

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_NE(WaitForMainWindow(first.Id(), false, kReactTimeoutMs), nullptr) << "closing hides the window";
  EXPECT_EQ(first.ExitCodeWithin(0), STILL_ACTIVE);

  Program hiddenStart(L"/h");  // from autostart: ends and leaves the window as it is
  ASSERT_TRUE(hiddenStart.Started());
  EXPECT_EQ(hiddenStart.ExitCodeWithin(kReactTimeoutMs), 0u);
  Sleep(1500);
  EXPECT_FALSE(IsWindowVisible(main));

  Program second;
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.ExitCodeWithin(kReactTimeoutMs), 0u) << "a second copy hands over and ends";
  EXPECT_NE(WaitForMainWindow(first.Id(), true, kReactTimeoutMs), nullptr) << "the running copy shows its window";

  SetRequest(L"NeedUnload", L"1");
  EXPECT_EQ(first.ExitCodeWithin(kReactTimeoutMs), 0u) << "an outside request ends the program";

  // The copies share one program file, so the tray exit runs here, after the others ended.
  Program testMode(L"/t");
  ASSERT_TRUE(testMode.Started());
  main = WaitForMainWindow(testMode.Id(), true, kStartTimeoutMs);
  ASSERT_NE(main, nullptr) << "a start after a hidden exit shows the window again";
  PostMessageW(main, WM_COMMAND, frmMain::kMenuBase + static_cast<UINT>(MenuItem::Exit), 0);
  EXPECT_EQ(testMode.ExitCodeWithin(kReactTimeoutMs), 0u) << "the menu's exit ends the program";
}

TEST(ProgramFiles, ProgramCarriesItsIconAndVersionResources) {
  HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(IDI_PARLAVENT), MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
  EXPECT_NE(LoadImageW(exe, MAKEINTRESOURCEW(IDI_PARLAVENT), IMAGE_ICON, 32, 32, 0), nullptr);
  EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);  // RT_VERSION
  FreeLibrary(exe);
}

TEST(ProgramFiles, TranscriptionFontShipsBesideTheProgram) {
  const std::wstring font = testing::InstallFolderW() + L"\\vovedorirada.ttf";
  EXPECT_NE(GetFileAttributesW(font.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace parlavent
