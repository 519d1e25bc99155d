#include "app/win32/about_form.h"

#include "app/application.h"
#include "app/win32/owned_window.h"
#include "foundation/interface_helpers.h"
#include "foundation/lang_entries.h"
#include "foundation/api_system.h"
#include "foundation/settings_object.h"
#include "platform/win32/win32_services.h"
#include "resource_ids.h"

namespace parlavent {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 340;
constexpr int kPictureWidth = 64;
constexpr int kLogoOffset = 8;  // 120 twips
enum : int { kIdText = 101, kIdHelp, kIdSite, kIdOK, kIdPicture };

HWND Label(HWND parent, int id, const std::u16string& text, int x, int y, int w, DWORD extra = 0) {
  return CreateWindowExW(0, L"STATIC", Wide(text), WS_CHILD | WS_VISIBLE | SS_NOTIFY | extra, x, y, w, 18, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// The About window last loaded, while it lives: the message loop gives it its keys first.
frmAbout* gLoaded = nullptr;

}  // namespace

frmAbout::~frmAbout() {
  if (gLoaded == this) gLoaded = nullptr;
  links_.Reset();
  if (hwnd()) DestroyWindow(hwnd());
}

bool frmAbout::Load() {
  Appl& app = gAppl();
  CreateArgs args;
  args.className = L"ParlaventAbout";
  args.title = u" " + app.LZ(lang::kMenuAbout);
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  args.width = kWidth;
  args.height = kHeight;
  args.x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  args.y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  args.icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_PARLAVENT));
  if (!Create(args)) return false;
  gLoaded = this;
  RECT client{};
  GetClientRect(hwnd(), &client);
  // The frame draws itself, logo and all: a logo drawn by the window under it would be painted over.
  picture1_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_OWNERDRAW, 0, 0, kPictureWidth,
                              client.bottom, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPicture)),
                              nullptr, nullptr);
  // Both logos are the program's icon until the installation ships pictures of its own.
  logos_[0] = logos_[1] = args.icon;
  logo_ = app.Sett && app.Sett->CurLang == 1 ? 1 : 0;

  const int left = kPictureWidth + 10;
  const int width = client.right - left - 10;
  RichEditBox::CreateArgs box;
  box.parent = hwnd();
  box.id = kIdText;
  box.x = left;
  box.y = 10;
  box.width = width;
  box.height = client.bottom - 60;
  box.visible = false;
  txtDic_ = RichEditBox::Create(box);
  lblHelp_ = Label(hwnd(), kIdHelp, app.LZ(lang::kMenuHelp), left, client.bottom - 42, 120);
  lblSite_ = Label(hwnd(), kIdSite, app.LZ(lang::kSite), left, client.bottom - 22, width - 100);
  cmdOK_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                           client.right - 90, client.bottom - 34, 80, 26, hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdOK)), nullptr, nullptr);
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (HWND control : {lblHelp_, lblSite_, cmdOK_}) SendMessageW(control, WM_SETFONT, WPARAM(font), TRUE);
  if (txtDic_) {
    links_.Reset();
    links_.SetLink(txtDic_, app.AboutText(), false, u"\r\n", true);
    txtDic_->SetVisible(true);
    txtDic_->SetSelStart(0);
    txtDic_->SetSelLength(0);
  }
  return true;
}

void frmAbout::Show() {
  if (!hwnd()) return;
  // It takes the keys, over a main window kept above the others too, so that Esc reaches it and
  // not the main window, which hides on Esc.
  ShowOwned(hwnd(), true);
  SetFocus(cmdOK_);
}

void frmAbout::Unload() {
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

bool frmAbout::PreTranslate(MSG& msg) {
  if (!hwnd() || !IsWindowVisible(hwnd()) || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  // Esc closes the window, as in a dialog, whichever of its controls has the focus.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    Unload();
    return true;
  }
  return false;
}

LRESULT frmAbout::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (!item || item->hwndItem != picture1_) break;
      HBRUSH grey = CreateSolidBrush(RGB(124, 124, 124));
      FillRect(item->hDC, &item->rcItem, grey);
      DeleteObject(grey);
      DrawIconEx(item->hDC, kLogoOffset, kLogoOffset, logos_[logo_], 48, 48, 0, nullptr, DI_NORMAL);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == lblHelp_ || reinterpret_cast<HWND>(lp) == lblSite_) {
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 255));
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == lblHelp_ || reinterpret_cast<HWND>(wp) == lblSite_) {
        mdlPublic::SetHandCursor();
        return TRUE;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kIdOK:
        case IDCANCEL: Unload(); return 0;
        case kIdHelp: gAppl().ShowHelp(); return 0;
        case kIdSite: API::ShellOpen(gAppl().LZ(lang::kSite)); return 0;
        case kIdText:
          // No caret in the text: the focus moves on to the frame.
          if (HIWORD(wp) == EN_SETFOCUS) SetFocus(picture1_);
          return 0;
        default: break;
      }
      break;
    case WM_CLOSE: Unload(); return 0;
    default: break;
  }
  return WindowBase::OnMessage(msg, wp, lp);
}

std::function<std::shared_ptr<AboutWindow>()> MakeWin32AboutLoader(HINSTANCE instance) {
  auto held = std::make_shared<std::shared_ptr<frmAbout>>();
  return [instance, held]() -> std::shared_ptr<AboutWindow> {
    // A closed window is only hidden; showing it again reads the template afresh.
    *held = std::make_shared<frmAbout>(instance);
    if (!(*held)->Load()) held->reset();
    return *held;
  };
}

bool AboutPreTranslate(MSG& msg) { return gLoaded && gLoaded->PreTranslate(msg); }

}  // namespace parlavent
