#include "app/win32/main_window.h"

#include "foundation/text.h"
#include "parlavent_version.h"
#include "resource_ids.h"

namespace parlavent {

std::u16string MainCaption() {
  return u"Parlavent " + NumberText(PARLAVENT_VERSION_MAJOR) + u"." + NumberText(PARLAVENT_VERSION_MINOR);
}

bool frmMain::Load(HINSTANCE instance) {
  CreateArgs args;
  args.className = kClassName;
  args.title = MainCaption();
  args.width = 520;
  args.height = 420;
  args.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PARLAVENT));
  return Create(args);
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return WindowBase::OnMessage(msg, wp, lp);
  }
}

}  // namespace parlavent
