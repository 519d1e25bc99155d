// The orderly end of the program, and the switch of the main window's polling timers.
#include "app/application.h"
#include "app/hooks.h"
#include "app/main_form.h"
#include "app/neighbour_services.h"
#include "app/statistics.h"
#include "foundation/api_windows.h"
#include "foundation/wildcard.h"
#include "platform/desktop.h"
#include "platform/process.h"

namespace parlavent {

void Appl::CloseMe(bool terminate) {
  if (frmMain) API::SaveFormPosition(u"frmMain", frmMain->hWnd());
  CallHook([this] { SaveUserSwitch(); });
  CallHook([this] { Stat().SaveStat(); });
  DeleteTrayIcon();
  CloseByteFile();
  // In the order the windows were loaded. The objects stay: the exit command that got us here
  // may still be running inside one of them.
  if (frmCopy) frmCopy->Unload();
  if (frmBusy) frmBusy->Unload();
  if (frmMain) frmMain->Unload();
  if (frmProgress) frmProgress->Unload();
  if (frmAbout) frmAbout->Unload();
  CallHook(Hooks.PlugInUnload);
  CallHook(Hooks.StopAutomation);
  G().gSetting.reset();
  if (!terminate) return;
  // In test mode ("/t") the program ends the normal way, so that leak checkers see its objects
  // released; otherwise it ends at once.
  if (!Like(Process().CommandLine(), u"*/t*", MatchCase::Blind)) Process().EndNow();
  TheDesktop().EndMessageLoop(0);
}

void Appl::StartEvents() {
  if (!frmMain) return;
  frmMain->tmrUserEvents().SetEnabled(true);
  frmMain->tmrEnabled().SetEnabled(true);
}

void Appl::StopEvents() {
  if (!frmMain) return;
  frmMain->tmrUserEvents().SetEnabled(false);
  frmMain->tmrEnabled().SetEnabled(false);
}

}  // namespace parlavent
