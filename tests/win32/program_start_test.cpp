// Starts Parlavent.exe as its own process and drives its main window from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/win32/main_window.h"
#include "platform/win32/win32_services.h"
#include "install_folder.h"
#include "resource_ids.h"

namespace parlavent {
namespace {

std::wstring ProgramPath() { return testing::InstallFolderW() + L"\\Parlavent.exe"; }

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs) {
  const DWORD end = GetTickCount() + timeoutMs;
  while (GetTickCount() < end) {
    for (HWND w = FindWindowW(frmMain::kClassName, nullptr); w; w = FindWindowExW(nullptr, w, frmMain::kClassName, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      // The window exists before the program shows it: wait for both.
      if (owner == processId && IsWindowVisible(w)) return w;
    }
    Sleep(100);
  }
  return nullptr;
}

TEST(ProgramStart, MainWindowShowsTheCaptionAndClosingEndsTheProgram) {
  std::wstring command = L"\"" + ProgramPath() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << "cannot start " << std::string(command.begin(), command.end());
  HWND main = WaitForMainWindow(pi.dwProcessId, 60000);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));

  wchar_t caption[128] = {};
  GetWindowTextW(main, caption, 128);
  EXPECT_EQ(FromWide(caption), MainCaption());
  EXPECT_EQ(FromWide(caption), u"Parlavent 1.0");

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

TEST(ProgramStart, ProgramCarriesItsIconAndVersionResources) {
  HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(IDI_PARLAVENT), MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
  EXPECT_NE(LoadImageW(exe, MAKEINTRESOURCEW(IDI_PARLAVENT), IMAGE_ICON, 32, 32, 0), nullptr);
  EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);  // RT_VERSION
  FreeLibrary(exe);
}

}  // namespace
}  // namespace parlavent
