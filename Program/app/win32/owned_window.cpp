#include "app/win32/owned_window.h"

#include "app/application.h"
#include "app/main_form.h"
#include "platform/win32/win32_services.h"

namespace parlavent {

HWND MainOwner() { return HasAppl() && gAppl().frmMain ? ToHwnd(gAppl().frmMain->hWnd()) : nullptr; }

void ShowOwned(HWND window, bool activate) {
  if (!window) return;
  const HWND owner = MainOwner();
  if (owner && owner != window && GetWindow(window, GW_OWNER) != owner) {
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  }
  // Showing alone keeps the window's place in the order, which may be below the owner (it was
  // hidden while the owner rose); a move to the top puts it back above the owner.
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
  if (activate) SetForegroundWindow(window);
}

}  // namespace parlavent
