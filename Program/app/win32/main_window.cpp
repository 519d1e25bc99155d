#include "app/win32/main_window.h"

#include "app/application.h"
#include "app/link_layer.h"
#include "app/main_tray_icon.h"
#include "foundation/api_files.h"
#include "foundation/api_system.h"
#include "foundation/api_windows.h"
#include "foundation/lang_entries.h"
#include "foundation/text.h"
#include "parlavent_version.h"
#include "platform/system_info.h"
#include "platform/win32/rich_edit_box.h"
#include "platform/win32/win32_services.h"
#include "platform/window_manager.h"
#include "resource_ids.h"

namespace parlavent {
namespace {

constexpr UINT_PTR kTmrUserEvents = 1;
constexpr UINT_PTR kTmrEnabled = 2;
constexpr UINT_PTR kTmrMsg = 3;
constexpr int kInputId = 201;
constexpr int kOutputId = 202;
constexpr int kDefaultWidth = 381;
constexpr int kDefaultHeight = 420;
constexpr int kBorder = 4;
constexpr int kInputHeight = 24;
constexpr UINT kBalloonClicked = WM_USER + 5;  // NIN_BALLOONUSERCLICK

// Every handler of the form ends here: the window procedure must not see an exception.
template <typename Action>
void Guarded(Action action) {
  try {
    action();
  } catch (...) {
  }
}

}  // namespace

std::u16string MainCaption() {
  return u"Parlavent " + NumberText(PARLAVENT_VERSION_MAJOR) + u"." + NumberText(PARLAVENT_VERSION_MINOR);
}

frmMain::frmMain()
    : tmrUserEvents_(kTmrUserEvents, 20, false), tmrEnabled_(kTmrEnabled, 200, false), tmrMsg_(kTmrMsg, 1000, true) {}

frmMain::~frmMain() {
  if (trayIcon_) DestroyIcon(trayIcon_);
}

bool frmMain::Load(HINSTANCE instance) {
  CreateArgs args;
  args.className = kClassName;
  args.title = MainCaption();
  args.width = kDefaultWidth;
  args.height = kDefaultHeight;
  args.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PARLAVENT));
  if (!Create(args)) return false;
  trayIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PARLAVENT), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  API::LoadFormPosition(u"frmMain", hWnd(), false);
  G().gFirstShowFocus = true;

  RichEditBox::CreateArgs box;
  box.parent = hwnd();
  box.id = kInputId;
  box.readOnly = false;
  box.verticalScroll = false;
  txtInput = RichEditBox::Create(box);
  box.id = kOutputId;
  box.readOnly = true;
  box.verticalScroll = true;
  txtOutPut = RichEditBox::Create(box);
  clsLinkText = std::make_shared<clsLink>();
  Form_Resize();

  tmrUserEvents_.Attach(hwnd());
  tmrEnabled_.Attach(hwnd());
  tmrMsg_.Attach(hwnd());
  return true;
}

WindowHandle frmMain::hWnd() { return FromHwnd(hwnd()); }

void frmMain::Form_Resize() {
  RECT client{};
  if (!hwnd() || !GetClientRect(hwnd(), &client)) return;
  const int w = client.right - client.left;
  const int h = client.bottom - client.top;
  if (auto* input = dynamic_cast<RichEditBox*>(txtInput.get())) {
    MoveWindow(input->hwnd(), kBorder, kBorder, std::max(w - 2 * kBorder, 0), kInputHeight, TRUE);
  }
  if (auto* output = dynamic_cast<RichEditBox*>(txtOutPut.get())) {
    const int top = kInputHeight + 2 * kBorder;
    MoveWindow(output->hwnd(), 0, top, w, std::max(h - top, 0), TRUE);
  }
}

void frmMain::RefreshMode(bool) { RefreshIcon(ModeTrayTip()); }

void frmMain::RefreshIcon(const std::optional<std::u16string>& tip) {
  RefreshTrayIcon(*this, kTrayMessage, reinterpret_cast<std::uintptr_t>(trayIcon_), tip);
}

void frmMain::DeleteIcon() { DeleteMainTrayIcon(*this); }

void frmMain::mnuPam_Click() { API::ShellOpen(System().ProgramFolder() + u"\\help\\todo.html"); }

void frmMain::mnuExit_Click() {
  // An error in a step ends the shut-down there; the exit command ignores it.
  Guarded([] { gAppl().CloseMe(true); });
}

void frmMain::Unload() {
  if (hwnd()) DestroyWindow(hwnd());
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Form_Resize(); return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp)); return 0;
    case kTrayMessage: OnTrayNotify(static_cast<UINT>(lp)); return 0;
    // The user's close only hides the window to the tray.
    case WM_CLOSE: Guarded([] { gAppl().HideMe(); }); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wp) mnuExit_Click();
      return 0;
    default:
      // Explorer started anew has an empty tray: the icon goes back in.
      if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        Guarded([] { gAppl().CreateApplIcon(); });
        return 0;
      }
      return WindowBase::OnMessage(msg, wp, lp);
  }
}

void frmMain::OnTimer(UINT_PTR id) {
  switch (id) {
    case kTmrMsg: Guarded([] { gAppl().OnRemoteControlTick(); }); break;
    case kTmrEnabled: Guarded([this] { RefreshEnabled(); }); break;
    case kTmrUserEvents:
      if (CheckEvent) Guarded(CheckEvent);
      break;
    default: break;
  }
}

void frmMain::OnTrayNotify(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      Guarded([this] {
        if (IsWindowVisible(hwnd())) {
          gAppl().HideMe();
        } else {
          gAppl().ShowMe(true);
        }
      });
      break;
    case WM_RBUTTONUP: ShowTrayMenu(); break;
    case kBalloonClicked: Guarded([] { gAppl().ClickLastNotify(); }); break;
    default: break;
  }
}

void frmMain::ShowTrayMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  const auto add = [&](UINT id, std::int32_t text) {
    AppendMenuW(menu, MF_STRING, id, Wide(gAppl().LZ(text)));
  };
  add(kCmdShow, lang::kMenuShow);
  add(kCmdHide, lang::kMenuHide);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kCmdExit, lang::kMenuExit);
  POINT p{};
  GetCursorPos(&p);
  // The menu closes when the user clicks elsewhere only if its owner is the foreground window.
  SetForegroundWindow(hwnd());
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void frmMain::OnCommand(UINT id) {
  switch (id) {
    case kCmdShow: Guarded([] { gAppl().ShowMe(true); }); break;
    case kCmdHide: Guarded([] { gAppl().HideMe(); }); break;
    case kCmdExit: mnuExit_Click(); break;
    default: break;
  }
}

}  // namespace parlavent
