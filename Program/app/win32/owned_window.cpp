#include "app/win32/owned_window.h"

#include <vector>

#include "app/application.h"
#include "app/main_form.h"
#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

// The insert-after handle that makes a window above owner the first of the order: above every
// topmost window when its owner is kept above the others, else above the other programs' windows.
HWND FirstPlaceAbove(HWND owner) {
  return owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP;
}

void SetOwner(HWND window, HWND owner) {
  SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

// The visible windows owned by owner, highest first: its own windows and the tip of a control.
// An open menu is left to the menu's own loop.
std::vector<HWND> VisibleOwned(HWND owner) {
  std::vector<HWND> owned;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER) != owner || !IsWindowVisible(w)) continue;
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    if (lstrcmpW(cls, L"#32768") != 0) owned.push_back(w);
  }
  return owned;
}

}  // namespace

HWND MainOwner() { return HasAppl() && gAppl().frmMain ? ToHwnd(gAppl().frmMain->hWnd()) : nullptr; }

void OwnByMain(HWND window) {
  const HWND owner = MainOwner();
  if (window && owner && owner != window && GetWindow(window, GW_OWNER) != owner) SetOwner(window, owner);
}

void OwnByWindowAt(HWND window, POINT screen) {
  HWND under = GetAncestor(WindowFromPoint(screen), GA_ROOT);
  DWORD process = 0;
  if (under) GetWindowThreadProcessId(under, &process);
  // Another program's window, or the window itself: the main window stays the owner.
  if (!under || under == window || process != GetCurrentProcessId()) under = MainOwner();
  if (window && under && GetWindow(window, GW_OWNER) != under) SetOwner(window, under);
}

void ShowOwned(HWND window, bool activate) {
  if (!window) return;
  OwnByMain(window);
  // Showing alone keeps the window's place in the order, which may be below the owner (it was
  // hidden while the owner rose); the first place puts it back above the owner, and Wine draws it.
  SetWindowPos(window, FirstPlaceAbove(MainOwner()), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
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
  for (HWND w : VisibleOwned(owner)) {
    // Only one that lies below: Wine would put one already above just below its neighbour.
    if ((GetWindowLongW(w, GWL_STYLE) & WS_CHILD) || LiesAbove(w, owner)) continue;
    SetWindowPos(w, FirstPlaceAbove(owner), 0, 0, 0, 0, kOrderOnly);
  }
}

bool CoversOwnedWindow(HWND owner) {
  for (HWND w : VisibleOwned(owner)) {
    if (!LiesAbove(w, owner)) return true;
  }
  return false;
}

void RaiseOwnerGroup(HWND owner) {
  if (!owner || !IsWindowVisible(owner)) return;
  // While it owns visible windows the owner is placed below them, never first: for the moment of
  // its own raise they are let go, then each is owned again and raised, the lowest first.
  const std::vector<HWND> owned = VisibleOwned(owner);
  for (HWND w : owned) SetOwner(w, nullptr);
  const HWND first = FirstPlaceAbove(owner);
  SetWindowPos(owner, first, 0, 0, 0, 0, kOrderOnly);
  for (auto w = owned.rbegin(); w != owned.rend(); ++w) {
    SetOwner(*w, owner);
    SetWindowPos(*w, first, 0, 0, 0, 0, kOrderOnly | SWP_NOOWNERZORDER);
  }
  for (HWND w : owned) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace parlavent
