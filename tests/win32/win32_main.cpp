// Entry point of the Win32 tests: the real platform services, then GoogleTest.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_services.h"

int wmain(int argc, wchar_t** argv) {
  parlavent::InstallWin32Services();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
