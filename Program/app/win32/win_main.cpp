// Parlavent.exe: the program's entry point.
#include <windows.h>

#include "app/win32/main_window.h"
#include "platform/win32/win32_services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  parlavent::InstallWin32Services();
  parlavent::frmMain main;
  if (!main.Load(instance)) return 1;
  ShowWindow(main.hwnd(), show);
  UpdateWindow(main.hwnd());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
