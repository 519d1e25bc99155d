#include "app/win32/owned_window.h"

#include "app/application.h"
#include "app/main_form.h"
#include "platform/win32/win32_services.h"

namespace parlavent {

HWND MainOwner() { return HasAppl() && gAppl().frmMain ? ToHwnd(gAppl().frmMain->hWnd()) : nullptr; }

void OwnByMain(HWND window) {
  const HWND owner = MainOwner();
  if (window && owner && owner != window && GetWindow(window, GW_OWNER) != owner) {
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  }
}

void ShowOwned(HWND window, bool activate) {
  if (!window) return;
  OwnByMain(window);
  // Showing alone keeps the window's place in the order, which may be below the owner (it was
  // hidden while the owner rose); a move to the top puts it back above the owner.
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
  if (activate) SetForegroundWindow(window);
}

bool LiesAbove(HWND window, HWND other) {
  for (HWND above = GetWindow(other, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (above == window) return true;
  }
  return false;
}

void RaiseOwnedWindows(HWND owner) {
  if (!owner) return;
  EnumThreadWindows(
      GetWindowThreadProcessId(owner, nullptr),
      [](HWND w, LPARAM owner) -> BOOL {
        const HWND o = reinterpret_cast<HWND>(owner);
        if (GetWindow(w, GW_OWNER) != o || !IsWindowVisible(w) || (GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) return TRUE;
        // Only one that lies below: Wine would put one already above just below its neighbour.
        if (LiesAbove(w, o)) return TRUE;
        SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(owner));
}

}  // namespace parlavent
