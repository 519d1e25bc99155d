// Parlavent.exe: the program's entry point (the start-up procedure Main).
#include <windows.h>

#include "app/application.h"
#include "app/win32/about_form.h"
#include "app/win32/automation_server.h"
#include "app/win32/win32_forms.h"
#include "capture/capture.h"
#include "capture/win32/win32_capture.h"
#include "companions/win32/win32_companions.h"
#include "platform/win32/win32_services.h"
#include "settings_dialog/win32/settings_form.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int exitCode = 0;
  const wchar_t* commandLine = GetCommandLineW();
  const std::u16string line(commandLine, commandLine + wcslen(commandLine));
  if (parlavent::HandleAutomationSwitch(line, exitCode)) return exitCode;
  parlavent::InstallWin32Services();
  parlavent::Appl appl;
  parlavent::SetAppl(&appl);
  appl.Forms = parlavent::MakeWin32FormLoader(instance);
  appl.LoadAbout = parlavent::MakeWin32AboutLoader(instance);
  parlavent::InstallWin32Capture(appl, parlavent::MakeCaptureEvents(appl));
  parlavent::InstallWin32Companions(appl, instance);
  appl.Hooks.ShowModeMessage = [&appl] { appl.ShowModeMessage(); };
  appl.Hooks.PlugInUnload = [&appl] { appl.PlugInUnload(); };
  appl.Hooks.StopAutomation = [] { parlavent::StopAutomationServer(); };
  // A start that ends inside start-up (the hidden start at logon with the start-up option off) has
  // offered its class object already.
  parlavent::RunBeforeEndNow(parlavent::StopAutomationServer);
  appl.CreatePlugIn = parlavent::CreateDispatchPlugIn;
  appl.frmSetting = parlavent::MakeWin32SettingsDialog(instance, appl);
  // Offered before start-up, so a client finds it as soon as the copy exists; its calls wait
  // until the program is up.
  parlavent::StartAutomationServer(appl);
  appl.Run();
  MSG msg;
  while (parlavent::NextTopLevelMessage(msg)) {
    if (parlavent::AboutPreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  parlavent::StopAutomationServer();
  return static_cast<int>(msg.wParam);
}
