#include "app/win32/main_window.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "app/application.h"
#include "app/link_layer.h"
#include "app/main_tray_icon.h"
#include "app/popup_menu.h"
#include "app/win32/owned_window.h"
#include "foundation/api_files.h"
#include "foundation/api_system.h"
#include "foundation/api_windows.h"
#include "foundation/settings_object.h"
#include "parlavent_version.h"
#include "platform/system_info.h"
#include "platform/win32/rich_edit_box.h"
#include "platform/win32/toolbar_control.h"
#include "platform/win32/win32_services.h"
#include "platform/window_manager.h"
#include "resource_ids.h"
#include "text/text.h"

namespace parlavent {
namespace {

enum TimerId : UINT_PTR {
  kTmrUserEvents = 1, kTmrEnabled, kTmrMsg, kTmrChangeInput, kTmrInfoClear, kTmrEscUsedClear, kTmrModeMsg,
  kTmrBackTrans, kTmrPasteSpkSrc, kTmrProcess, kTmrToolTip, kTmrSpkHide, kTmrLearner, kTmrDockKeyb, kTmrPunto
};
enum ControlId : int { kInputId = 201, kOutputId, kBackTransId, kInfoId, kAbcId, kKeybId, kExp0Id, kExp1Id };
constexpr int kDefaultWidth = 381;
constexpr int kDefaultHeight = 420;
constexpr int kBorder = 4;
constexpr int kInputFrameHeight = 22;
constexpr int kAbcWidth = 28;
constexpr int kKeybSize = 16 + 8;  // the keyboard picture and 8 pixels
constexpr double kInfoPoints = 8;   // the info line's type

// Every handler of the form ends here: the window procedure must not see an exception.
template <typename Action>
void Guarded(Action action) {
  try {
    action();
  } catch (...) {
  }
}

int ShiftNow() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

void MoveTo(HWND control, const parlavent::Place& p, int dx = 0, int dy = 0) {
  if (control) MoveWindow(control, p.x + dx, p.y + dy, std::max(p.width, 0), std::max(p.height, 0), TRUE);
}

}  // namespace

std::u16string MainCaption() {
  return u"Parlavent " + NumberText(PARLAVENT_VERSION_MAJOR) + u"." + NumberText(PARLAVENT_VERSION_MINOR);
}

frmMain::frmMain()
    : tmrUserEvents_(kTmrUserEvents, 20, false),
      tmrEnabled_(kTmrEnabled, 200, false),
      tmrMsg_(kTmrMsg, 1000, true),
      tmrChangeInput_(kTmrChangeInput, 500, false),
      tmrInfoClear_(kTmrInfoClear, 2000, false),
      tmrEscUsedClear_(kTmrEscUsedClear, 1000, false),
      tmrModeMsg_(kTmrModeMsg, 0, true),
      tmrBackTrans_(kTmrBackTrans, 0, true),
      tmrPasteSpkSrc_(kTmrPasteSpkSrc, 100, false),
      tmrProcess_(kTmrProcess, 3000, true),
      tmrToolTip_(kTmrToolTip, 300, false),
      tmrSpkHide_(kTmrSpkHide, 3000, false),
      tmrLearner_(kTmrLearner, 0, false),
      tmrDockKeyb_(kTmrDockKeyb, 10, true),
      tmrPunto_(kTmrPunto, 1, true) {
  for (const MainMenuLine& line : MainMenuLines()) {
    if (line.kind != MainMenuLine::Kind::Item) continue;
    MenuEntry entry;
    entry.id = kMenuBase + static_cast<UINT>(line.item);
    // The developer's items have no interface texts; they show only with "/t".
    if (line.item == MenuItem::ScanSFX) entry.caption = u"ScanSFX";
    if (line.item == MenuItem::Test) entry.caption = u"Test";
    if (line.item == MenuItem::ScanSFX || line.item == MenuItem::Test) entry.visible = false;
    menu_.push_back(entry);
  }
}

frmMain::~frmMain() {
  if (trayIcon_) DestroyIcon(trayIcon_);
  if (trayIconAuto_) DestroyIcon(trayIconAuto_);
  if (font_) DeleteObject(font_);
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
  trayIconAuto_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PARLAVENT_AUTO), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  currentTrayIcon_ = trayIcon_;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  if (!API::LoadFormPosition(u"frmMain", hWnd(), false)) {
    // The first start: in the middle of the work area, not wherever the system cascades windows.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - kDefaultWidth) / 2,
                 work.top + (work.bottom - work.top - kDefaultHeight) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateControls(instance);

  MainControls controls;
  controls.txtInput = input_;
  controls.txtOutPut = output_;
  controls.txtBackTrans = backTrans_;
  controls.lblInfo = info_;
  controls.clsLinkText = clsLinkText = std::make_shared<clsLink>();
  controls.clsLinkBackTrans = std::make_shared<clsLink>();
  controls.TB1 = tb1_.get();
  controls.tbDic = tbDic_.get();
  controls.menus = this;
  controls.shell = this;
  controls.timers = {&tmrChangeInput_, &tmrInfoClear_, &tmrEscUsedClear_, &tmrModeMsg_, &tmrBackTrans_,
                     &tmrPasteSpkSrc_, &tmrToolTip_, &tmrSpkHide_, &tmrLearner_};
  txtInput = input_;
  txtOutPut = output_;
  core_ = std::make_shared<MainWindowCore>(std::move(controls));
  MainWindowCore::Install(core_);
  RouteBoxes();
  core_->Form_Load();
  if (gAppl().Sett) {
    Setting& s = *gAppl().Sett;
    s.Border = kBorder;
    s.BottomH = kKeybSize + 2 * kBorder;
    s.MinW = (tb1_ ? tb1_->Width() : 0) + 2 * kBorder;
    s.MinH = s.MinW;
  }
  SetWindowTextW(hwnd(), Wide(MainCaption()));
  Form_Resize();

  for (WindowTimer* t : {&tmrUserEvents_, &tmrEnabled_, &tmrMsg_, &tmrChangeInput_, &tmrInfoClear_, &tmrEscUsedClear_,
                         &tmrModeMsg_, &tmrBackTrans_, &tmrPasteSpkSrc_, &tmrProcess_, &tmrToolTip_, &tmrSpkHide_,
                         &tmrLearner_, &tmrDockKeyb_, &tmrPunto_}) {
    t->Attach(hwnd());
  }
  return true;
}

void frmMain::CreateControls(HINSTANCE instance) {
  const std::u16string fontName = gAppl().Sett ? gAppl().Sett->GFont.Name : u"Arial";
  const double fontSize = gAppl().Sett && gAppl().Sett->GFont.Size > 0 ? gAppl().Sett->GFont.Size : 10;
  RichEditBox::CreateArgs box;
  box.parent = hwnd();
  box.fontName = fontName.empty() ? u"Arial" : fontName;
  box.fontSize = fontSize;
  const auto make = [&](int id, bool readOnly, bool scroll, bool border) {
    box.id = id;
    box.readOnly = readOnly;
    box.verticalScroll = scroll;
    box.border = border;
    return RichEditBox::Create(box);
  };
  // The input is one line: a long text scrolls with the caret instead of wrapping out of sight.
  box.wrap = false;
  input_ = make(kInputId, false, false, true);
  box.wrap = true;
  output_ = make(kOutputId, true, true, false);
  backTrans_ = make(kBackTransId, true, true, false);
  // A notice longer than the line takes a second one, in a smaller type that lets two fit.
  box.fontSize = kInfoPoints;
  info_ = make(kInfoId, true, false, false);
  if (info_) SendMessageW(info_->hwnd(), EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  for (const auto& b : {input_, output_}) {
    if (b) SendMessageW(b->hwnd(), EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  }
  if (input_) {
    SendMessageW(input_->hwnd(), EM_SETMARGINS, EC_LEFTMARGIN, 4);
    // The alphabet button lies over the input box's right end: the box must not paint over it.
    SetWindowLongPtrW(input_->hwnd(), GWL_STYLE, GetWindowLongPtrW(input_->hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  for (const auto& b : {output_, backTrans_}) {
    if (b) SetWindowLongPtrW(b->hwnd(), GWL_STYLE, GetWindowLongPtrW(b->hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  if (output_) SendMessageW(output_->hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(12, 12));
  if (info_) SendMessageW(info_->hwnd(), EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));

  tb1_ = std::make_unique<ToolbarControl>(hwnd(), kTB1Base);
  tbDic_ = std::make_unique<ToolbarControl>(hwnd(), kTbDicBase);
  const auto button = [&](int id, const wchar_t* text, DWORD style) {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | style, 0, 0, 10, 10, hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  cmdAbc_ = button(kAbcId, L"abc", BS_PUSHBUTTON);
  cmdKeyb_ = button(kKeybId, L"kb", BS_PUSHBUTTON | WS_VISIBLE);
  const auto arrow = [&](int id, const wchar_t* text) {
    return CreateWindowExW(0, L"STATIC", text, WS_CHILD | SS_CENTER | SS_NOTIFY, 0, 0, 16, 8, hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  pctExp0_ = arrow(kExp0Id, L"\u25BC");
  pctExp1_ = arrow(kExp1Id, L"\u25B2");
  font_ = CreateFontW(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  for (HWND w : {pctExp0_, pctExp1_}) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, instance, nullptr);
}

namespace {

// Closes the tips shown now, so that none stands over a menu that opens: this program's own (the
// toolbars', the abc button's) and the tray's tip of its icon. Balloons are notices and stay.
void CloseTips() {
  DWORD trayProcess = 0;
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) GetWindowThreadProcessId(tray, &trayProcess);
  struct Processes {
    DWORD own, tray;
  } processes{GetCurrentProcessId(), trayProcess};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        const auto& p = *reinterpret_cast<const Processes*>(lp);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        const bool tip = lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && !(GetWindowLongW(w, GWL_STYLE) & TTS_BALLOON);
        if (!tip || !IsWindowVisible(w)) return TRUE;
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        // Only a message without pointers goes to the tray's process, and it is not waited for.
        if (process == p.own || (p.tray && process == p.tray)) PostMessageW(w, TTM_POP, 0, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&processes));
}

// The clipboard's text for a paste that arrives as a message (the edit menu, another program),
// read here so that it does not depend on the capture side being installed.
std::u16string ClipboardText(HWND owner) {
  std::u16string text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const SIZE_T capacity = GlobalSize(data) / sizeof(wchar_t);
      SIZE_T n = 0;
      while (n < capacity && chars[n]) ++n;
      text.assign(reinterpret_cast<const char16_t*>(chars), n);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

// The boxes' keys, characters and focus reach the behaviour before the control acts on them.
void frmMain::RouteBoxes() {
  auto* core = core_.get();
  if (input_) {
    input_->BeforeMessage = [this, core](UINT msg, WPARAM wp, LPARAM) {
      switch (msg) {
        case WM_SETCURSOR: return KeepBusyCursor();
        case WM_SETFOCUS: core->txtInput_GotFocus(); return false;
        case WM_LBUTTONUP: PostMessageW(hwnd(), WM_APP + 2, 0, 0); return false;
        case WM_KEYDOWN:
          if (wp == VK_ESCAPE) core->cmdHide_Click();
          // The input is one line: Enter translates (on key-up) and never breaks the line.
          if (wp == VK_RETURN) return true;
          return core->txtInput_KeyDown(static_cast<int>(wp), ShiftNow());
        case WM_KEYUP: core->Form_KeyUp(static_cast<int>(wp), ShiftNow()); return false;
        case WM_CHAR: return wp == 13 || wp == 27 || wp == 22;  // Enter, Esc and Ctrl+V are the window's
        case WM_PASTE: core->txtInput_Paste(ClipboardText(hwnd())); return true;
        default: return false;
      }
    };
  }
  if (output_) {
    output_->BeforeMessage = [this, core](UINT msg, WPARAM wp, LPARAM) {
      switch (msg) {
        case WM_SETCURSOR: return KeepBusyCursor();
        // The control makes its caret while it takes the focus: the behaviour hides it afterwards.
        case WM_SETFOCUS: PostMessageW(hwnd(), kOutputFocused, 0, 0); return false;
        case WM_MOUSEMOVE: core->HideOutputCaret(); return false;
        case WM_KEYDOWN:
          if (wp == VK_ESCAPE) core->cmdHide_Click();
          return core->txtOutPut_KeyDown(static_cast<int>(wp), ShiftNow());
        case WM_CHAR: return core->txtOutPut_KeyPress(static_cast<char16_t>(wp), ShiftNow());
        case WM_KEYUP:
          core->txtOutPut_KeyUp(static_cast<int>(wp), ShiftNow());
          core->Form_KeyUp(static_cast<int>(wp), ShiftNow());
          return false;
        default: return false;
      }
    };
  }
  if (backTrans_) {
    backTrans_->BeforeMessage = [this, core](UINT msg, WPARAM, LPARAM) {
      if (msg == WM_SETCURSOR) return KeepBusyCursor();
      if (msg == WM_SETFOCUS) core->txtBackTrans_GotFocus();
      return false;
    };
  }
}

WindowHandle frmMain::hWnd() { return FromHwnd(hwnd()); }

void frmMain::Form_Resize() {
  RECT client{};
  if (!hwnd() || !GetClientRect(hwnd(), &client) || !core_) return;
  const Setting* s = gAppl().Sett.get();
  MainLayoutInput in;
  in.W = client.right;
  in.H = client.bottom;
  in.border = kBorder;
  in.bottomH = kKeybSize + 2 * kBorder;
  in.tb1Width = tb1_ ? tb1_->Width() : 0;
  in.tb1Height = tb1_ ? tb1_->Height() : 0;
  in.tbDicWidth = tbDic_ ? tbDic_->Width() : 0;
  in.keybWidth = in.keybHeight = kKeybSize;
  in.abcWidth = kAbcWidth;
  in.inputFrameHeight = kInputFrameHeight;
  in.backTransOpen = s && s->BackTransOpen;
  in.fontPoints = s && s->GFont.Size > 0 ? s->GFont.Size : 10;
  const MainLayout l = ComputeMainLayout(in);
  // Children are placed in the window's client coordinates: frames add their own offsets.
  if (input_) MoveTo(input_->hwnd(), l.txtInput, l.inputFrame.x, l.inputFrame.y);
  if (tb1_) MoveTo(tb1_->hwnd(), l.tb1);
  MoveTo(cmdAbc_, l.cmdAbc, l.inputFrame.x, l.inputFrame.y);
  const int stripTop = l.toolbar1.y;
  MoveTo(cmdKeyb_, l.cmdKeyb, 0, stripTop);
  if (tbDic_) MoveTo(tbDic_->hwnd(), l.tbDic, 0, stripTop);
  infoPlace_ = l.lblInfo;
  infoPlace_.y = stripTop;
  infoPlace_.height = l.toolbar1.height;
  PlaceInfo();
  if (info_) SendMessageW(info_->hwnd(), EM_REQUESTRESIZE, 0, 0);
  const int top = l.outputFrame.y;
  if (output_) MoveTo(output_->hwnd(), l.txtOutPut, 0, top);
  if (backTrans_) {
    backTrans_->SetVisible(l.backTransVisible);
    if (l.backTransVisible) MoveTo(backTrans_->hwnd(), l.txtBackTrans, 0, top);
  }
  // The arrows lie over the edge of the output box or of the pane: above them, so that a click on
  // an arrow is the arrow's and the boxes, which clip their siblings, never paint over it.
  for (HWND arrow : {pctExp0_, pctExp1_}) {
    if (arrow) SetWindowPos(arrow, HWND_TOP, l.exp.x, l.exp.y + top, l.exp.width, l.exp.height, SWP_NOACTIVATE);
  }
  core_->RefreshBTB();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void frmMain::PlaceInfo() {
  if (!info_) return;
  // As high as its text needs, up to the strip's height, and in the middle of the strip.
  const int height = std::clamp(infoNeeded_, 1, std::max(infoPlace_.height - 2, 1));
  MoveWindow(info_->hwnd(), infoPlace_.x, infoPlace_.y + (infoPlace_.height - height) / 2, std::max(infoPlace_.width, 0),
             height, TRUE);
}

void frmMain::RefreshEnabled() {
  if (core_) core_->RefreshEnabled();
}

void frmMain::RefreshMode(bool) {
  if (core_) core_->RefreshMode();
  RefreshIcon(ModeTrayTip());
}

void frmMain::RefreshIcon(const std::optional<std::u16string>& tip) {
  RefreshTrayIcon(*this, kTrayMessage, reinterpret_cast<std::uintptr_t>(currentTrayIcon_), tip);
}

void frmMain::DeleteIcon() { DeleteMainTrayIcon(*this); }

void frmMain::ShowTestMenus(bool visible) {
  SetVisible(MenuItem::ScanSFX, visible);
  SetVisible(MenuItem::Test, visible);
}

void frmMain::mnuPam_Click() { API::ShellOpen(System().ProgramFolder() + u"\\help\\todo.html"); }

void frmMain::mnuExit_Click() {
  // An error in a step ends the shut-down there; the exit command ignores it.
  Guarded([] { gAppl().CloseMe(true); });
}

void frmMain::Unload() {
  if (gAppl().MainCore == core_) {
    gAppl().MainCore.reset();
    gAppl().Views.reset();
    gAppl().MainServices.reset();
  }
  if (hwnd()) DestroyWindow(hwnd());
}

// ---- MainWindowShell ---------------------------------------------------------------------------

bool frmMain::Visible() { return hwnd() && IsWindowVisible(hwnd()); }

void frmMain::SetCaption(std::u16string_view caption) { SetWindowTextW(hwnd(), Wide(std::u16string(caption))); }

bool frmMain::CursorOverInput() {
  POINT p{};
  if (!input_ || !GetCursorPos(&p)) return false;
  RECT r{}, abc{};
  GetWindowRect(input_->hwnd(), &r);
  // The alphabet button beside the box belongs to it: the pointer on its way there keeps it.
  if (cmdAbc_ && GetWindowRect(cmdAbc_, &abc)) UnionRect(&r, &r, &abc);
  return PtInRect(&r, p) != FALSE;
}

void frmMain::SetAbcVisible(bool visible) {
  if (cmdAbc_ && (IsWindowVisible(cmdAbc_) != FALSE) != visible) {
    ShowWindow(cmdAbc_, visible ? SW_SHOWNA : SW_HIDE);
    if (visible) SetWindowPos(cmdAbc_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void frmMain::SetAbcEnabled(bool enabled) {
  if (cmdAbc_) EnableWindow(cmdAbc_, enabled);
}

void frmMain::SetKeybEnabled(bool enabled) {
  if (cmdKeyb_) EnableWindow(cmdKeyb_, enabled);
}

void frmMain::SetAbcToolTip(std::u16string_view tip) {
  if (!tooltip_ || !cmdAbc_) return;
  abcTip_.assign(tip.begin(), tip.end());
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(cmdAbc_);
  // Asked for each time it would show (OnNotify), as the toolbars' tips are.
  info.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void frmMain::ShowExpArrows(bool open) {
  if (pctExp0_) ShowWindow(pctExp0_, open ? SW_SHOWNA : SW_HIDE);
  if (pctExp1_) ShowWindow(pctExp1_, open ? SW_HIDE : SW_SHOWNA);
}

void frmMain::SetTrayPicture(bool autoOn) {
  currentTrayIcon_ = autoOn && trayIconAuto_ ? trayIconAuto_ : trayIcon_;
}

void frmMain::SetTopMost() {
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A window of another program that comes to the foreground (started, or clicked) keeps below
  // this one in the order, but Wine draws it on top until this window is raised to the first
  // place again, which its owned windows hold.
  const HWND foreground = GetForegroundWindow();
  if (foreground != lastForeground_) {
    lastForeground_ = foreground;
    RaiseOwnerGroup(hwnd());
  } else {
    RaiseOwnedWindows(hwnd());
  }
}

void frmMain::SendDownToOutput() {
  if (output_) PostMessageW(output_->hwnd(), WM_KEYDOWN, VK_DOWN, 0);
}

void frmMain::HideOutputCaret() {
  if (output_) HideCaret(output_->hwnd());
}

void frmMain::DoEvents() { RunWaitingMessages(); }

void frmMain::OutputPixels(std::int32_t& width, std::int32_t& height) {
  RECT r{};
  if (output_ && GetClientRect(output_->hwnd(), &r)) {
    width = r.right;
    height = r.bottom;
  }
}

void frmMain::Wait(bool on) {
  // The hourglass stays until Wait(false): WM_SETCURSOR of the window and its boxes keeps it.
  busy_ = on;
  SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool frmMain::KeepBusyCursor() {
  if (!busy_) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

bool frmMain::CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }

HMENU frmMain::BuildMenu(const std::vector<MenuItem>* only) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  const auto add = [menu](const MenuEntry& e) {
    if (e.visible) {
      AppendMenuW(menu, MF_STRING | (e.checked ? MF_CHECKED : 0) | (e.enabled ? 0 : MF_GRAYED), e.id, Wide(e.caption));
    }
  };
  if (only) {
    for (MenuItem item : *only) {
      if (MenuEntry* e = Entry(item)) add(*e);
    }
    return menu;
  }
  std::vector<const MenuEntry*> dics;
  for (const MenuEntry& d : dicItems_) {
    if (dicSeparator_ && d.visible) dics.push_back(&d);
  }
  std::size_t dic = 0;
  const auto shown = [this](MenuItem item) {
    const MenuEntry* e = Entry(item);
    return e && e->visible;
  };
  for (const MainMenuLine& line : ShownMenuLines(MainMenuLines(), shown, dics.size())) {
    switch (line.kind) {
      case MainMenuLine::Kind::Separator: AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); break;
      case MainMenuLine::Kind::Dictionaries: add(*dics[dic++]); break;
      case MainMenuLine::Kind::Item:
        if (const MenuEntry* e = Entry(line.item)) add(*e);
        break;
    }
  }
  return menu;
}

void frmMain::TrackMenu(HMENU menu, const POINT& at, UINT flags, const RECT* keepClear) {
  if (!menu) return;
  // The menu closes when the user clicks elsewhere only if its owner is the foreground window,
  // and the task switch that makes it so completes only with a message after the menu.
  SetForegroundWindow(hwnd());
  TPMPARAMS params{};
  params.cbSize = sizeof params;
  if (keepClear) params.rcExclude = *keepClear;
  TrackPopupMenuEx(menu, flags | TPM_RIGHTBUTTON, at.x, at.y, hwnd(), keepClear ? &params : nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void frmMain::PopupMainMenu(const MainMenuState& state) {
  const auto set = [this](MenuItem item, bool visible, bool enabled) {
    if (MenuEntry* e = Entry(item)) {
      e->visible = visible;
      e->enabled = enabled;
    }
  };
  if (MenuEntry* show = Entry(MenuItem::Show); show && !state.ShowCaption.empty()) show->caption = state.ShowCaption;
  set(MenuItem::Show, state.ShowVisible, true);
  set(MenuItem::Hide, state.HideVisible, true);
  set(MenuItem::TL, true, state.TLEnabled);
  if (MenuEntry* tl = Entry(MenuItem::TL)) tl->checked = state.TLChecked;
  set(MenuItem::TransClip, true, state.TransClipEnabled);
  set(MenuItem::Keyb, true, state.KeybEnabled);
  set(MenuItem::Learn, true, state.LearnEnabled);
  set(MenuItem::SpeakClip, true, state.SpeakClipEnabled);
  if (MenuEntry* sc = Entry(MenuItem::SpeakClip); sc && !state.SpeakClipCaption.empty()) {
    sc->caption = state.SpeakClipCaption;
  }
  if (state.DicItemsVisible) {
    for (MenuEntry& d : dicItems_) d.visible = *state.DicItemsVisible && dicItems_.size() > 1;
    dicSeparator_ = *state.DicItemsVisible && dicItems_.size() > 1;
  }
  // The link items belong to the edit menu.
  std::vector<MenuItem> linkItems{MenuItem::Speak, MenuItem::Copy, MenuItem::BackTrans};
  for (MenuItem item : linkItems) set(item, false, true);
  HMENU menu = BuildMenu();
  for (MenuItem item : linkItems) set(item, true, true);
  POINT at{};
  UINT flags = 0;
  if (state.OnForm && tb1_) {
    // Below the toolbar's menu button, right-aligned with it.
    RECT r{};
    SendMessageW(tb1_->hwnd(), TB_GETRECT, kTB1Base + tb1_->IndexOf(u"Menu") - 1, reinterpret_cast<LPARAM>(&r));
    at = {r.right, r.bottom};
    ClientToScreen(tb1_->hwnd(), &at);
    flags = TPM_RIGHTALIGN;
  } else {
    GetCursorPos(&at);
    if (state.ShowVisible) SetMenuDefaultItem(menu, kMenuBase + static_cast<UINT>(MenuItem::Show), FALSE);
    // Beside the tray icon, never over it: the pointer must not rest on an item ("Exit") when
    // the menu opens.
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    const RECT icon{at.x - cx / 2, at.y - cy / 2, at.x + cx / 2 + 1, at.y + cy / 2 + 1};
    // Above the icon where there is room (the usual tray at the bottom); the system keeps it off
    // the icon's rectangle where it has to flip.
    const bool roomAbove = icon.top > GetSystemMetrics(SM_CYSCREEN) / 2;
    TrackMenu(menu, POINT{at.x, roomAbove ? icon.top : icon.bottom},
              TPM_VERTICAL | (roomAbove ? TPM_BOTTOMALIGN : TPM_TOPALIGN), &icon);
    return;
  }
  TrackMenu(menu, at, flags);
}

void frmMain::PopupEditMenu() {
  const std::vector<MenuItem> items{MenuItem::Copy, MenuItem::BackTrans, MenuItem::Speak};
  POINT at{};
  GetCursorPos(&at);
  TrackMenu(BuildMenu(&items), at, 0);
}

// ---- MainMenus ---------------------------------------------------------------------------------

frmMain::MenuEntry* frmMain::Entry(MenuItem item) {
  const UINT id = kMenuBase + static_cast<UINT>(item);
  for (MenuEntry& e : menu_) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

void frmMain::SetCaption(MenuItem item, std::u16string_view caption) {
  if (MenuEntry* e = Entry(item)) e->caption = std::u16string(caption);
}

void frmMain::SetVisible(MenuItem item, bool visible) {
  if (MenuEntry* e = Entry(item)) e->visible = visible;
}

void frmMain::ClearDics() {
  dicItems_.clear();
  dicSeparator_ = false;
}

void frmMain::AddDic(std::int32_t tag, std::u16string_view caption) {
  MenuEntry e;
  e.id = kDicBase + static_cast<UINT>(dicItems_.size()) + 1;
  e.caption = std::u16string(caption);
  e.tag = tag;
  dicItems_.push_back(e);
}

std::int32_t frmMain::DicTag(std::int32_t n) {
  return n >= 1 && n <= DicCount() ? dicItems_[static_cast<std::size_t>(n - 1)].tag : 0;
}

void frmMain::SetDic(std::int32_t n, std::u16string_view caption, bool checked, bool visible) {
  if (n < 1 || n > DicCount()) return;
  MenuEntry& e = dicItems_[static_cast<std::size_t>(n - 1)];
  if (!caption.empty()) e.caption = std::u16string(caption);
  e.checked = checked;
  e.visible = visible;
}

// ---- Messages ----------------------------------------------------------------------------------

LRESULT frmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Guarded([this] { Form_Resize(); }); return 0;
    case WM_GETMINMAXINFO: OnMinMax(*reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_APP + 2: Guarded([this] { core_->txtInput_Click(); }); return 0;
    case WM_ACTIVATE:
      // Once the activation is through, whatever it lifted the window over goes back up.
      if (LOWORD(wp) != WA_INACTIVE) PostMessageW(hwnd(), kRaiseOwned, 0, 0);
      return WindowBase::OnMessage(msg, wp, lp);
    case kRaiseOwned: RaiseOwnerGroup(hwnd()); return 0;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      menuOpen_ = msg == WM_ENTERMENULOOP;
      if (menuOpen_) CloseTips();
      return WindowBase::OnMessage(msg, wp, lp);
    case WM_ENTERIDLE:
      // The tray's tip of the icon may come up after the menu opened from it.
      if (wp == MSGF_MENU) CloseTips();
      return WindowBase::OnMessage(msg, wp, lp);
    case WM_WINDOWPOSCHANGED: {
      const UINT flags = reinterpret_cast<const WINDOWPOS*>(lp)->flags;
      if (flags & SWP_SHOWWINDOW) PostMessageW(hwnd(), kShown, 0, 0);
      // Raised over a window it owns (as Wine lets an activation do): that one goes back above it.
      if (!(flags & SWP_NOZORDER) && CoversOwnedWindow(hwnd())) PostMessageW(hwnd(), kRaiseOwned, 0, 0);
      return WindowBase::OnMessage(msg, wp, lp);
    }
    case kShown:
      // Made active while it was still hidden (the input box takes the focus at load), the window
      // would show with the caption of an inactive one.
      if (GetActiveWindow() == hwnd()) DefWindowProcW(hwnd(), WM_NCACTIVATE, TRUE, 0);
      return 0;
    case kOutputFocused:
      if (output_ && GetFocus() == output_->hwnd()) Guarded([this] { core_->txtOutPut_GotFocus(); });
      return 0;
    case WM_SETCURSOR:
      if (KeepBusyCursor()) return TRUE;
      return WindowBase::OnMessage(msg, wp, lp);
    case WM_LBUTTONDOWN:
      // The window is dragged by its background.
      ReleaseCapture();
      SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    case kTrayMessage: {
      // Each icon names itself in wParam; the mouse message comes in lParam.
      const bool running = tmrUserEvents_.Enabled();
      const auto message = static_cast<std::int32_t>(lp);
      Guarded([this, wp, message, running] {
        if (wp == kSpkTrayIcon) {
          core_->picSpkNotifier_MouseMove(message);
        } else if (wp == kKeybTrayIcon) {
          core_->picKeybNotifier_MouseMove(message);
        } else {
          core_->picNotifier_MouseMove(message, running);
        }
      });
      return 0;
    }
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

void frmMain::OnMinMax(MINMAXINFO& info) {
  const Setting* s = HasAppl() ? gAppl().Sett.get() : nullptr;
  if (!s || s->MinW <= 0 || !hwnd()) return;
  RECT window{}, client{};
  GetWindowRect(hwnd(), &window);
  GetClientRect(hwnd(), &client);
  const int borderW = (window.right - window.left) - client.right;
  const int borderH = (window.bottom - window.top) - client.bottom;
  info.ptMinTrackSize.x = s->MinW + borderW;
  info.ptMinTrackSize.y = s->MinH + borderH;
}

void frmMain::OnTimer(UINT_PTR id) {
  if (!core_) return;
  MainWindowCore& c = *core_;
  Guarded([&] {
    switch (id) {
      case kTmrMsg: gAppl().OnRemoteControlTick(); break;
      case kTmrEnabled:
        c.tmrEnabled_Timer();
        // Under Wine a window it owns can end below it after a translation asked for in that
        // window (a double-click in Statistics), with no message to either; it goes back up.
        if (IsWindowVisible(hwnd()) && CoversOwnedWindow(hwnd())) RaiseOwnerGroup(hwnd());
        break;
      case kTmrUserEvents:
        if (CheckEvent) CheckEvent();
        break;
      case kTmrChangeInput: c.tmrChangeInput_Timer(); break;
      case kTmrInfoClear: c.tmrInfoClear_Timer(); break;
      case kTmrEscUsedClear: c.tmrEscUsedClear_Timer(); break;
      case kTmrModeMsg: c.tmrModeMsg_Timer(); break;
      case kTmrBackTrans: c.tmrBackTrans_Timer(); break;
      case kTmrPasteSpkSrc: c.tmrPasteSpkSrc_Timer(); break;
      case kTmrProcess: c.tmrProcess_Timer(); break;
      case kTmrToolTip: c.tmrToolTip_Timer(); break;
      case kTmrSpkHide: c.tmrSpkHide_Timer(); break;
      case kTmrLearner: c.tmrLearner_Timer(); break;
      case kTmrPunto: c.tmrPunto_Timer(); break;
      case kTmrDockKeyb: {
        RECT r{};
        GetWindowRect(hwnd(), &r);
        c.tmrDockKeyb_Timer(Rect{r.left, r.top, r.right, r.bottom});
        break;
      }
      default: break;
    }
  });
}

void frmMain::OnCommand(UINT id, UINT code, HWND) {
  if (!core_) return;
  MainWindowCore& c = *core_;
  Guarded([&] {
    if (id == kInputId && code == EN_CHANGE) {
      c.txtInput_Change();
    } else if (id == kOutputId && code == EN_CHANGE) {
      c.txtOutPut_Change();
    } else if (tb1_ && tb1_->OwnsCommand(static_cast<int>(id))) {
      c.TB1_ButtonClick(tb1_->KeyOfCommand(static_cast<int>(id)));
    } else if (tbDic_ && tbDic_->OwnsCommand(static_cast<int>(id))) {
      c.tbDic_ButtonClick(tbDic_->KeyOfCommand(static_cast<int>(id)));
    } else if (id == kAbcId) {
      c.cmdAbc_Click();
    } else if (id == kKeybId) {
      c.cmdKeyb_Click();
    } else if ((id == kExp0Id || id == kExp1Id) && code == STN_CLICKED) {
      c.pctExp_Click();
    } else if (id == IDCANCEL) {
      c.cmdHide_Click();
    } else if (id > kDicBase && id <= kDicBase + static_cast<UINT>(DicCount())) {
      c.mnuDics_Click(static_cast<std::int32_t>(id - kDicBase));
    } else if (id >= kMenuBase && id <= kMenuBase + static_cast<UINT>(MenuItem::Test)) {
      c.MenuClick(static_cast<MenuItem>(id - kMenuBase));
    }
  });
}

LRESULT frmMain::OnNotify(const NMHDR& header) {
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    const int id = static_cast<int>(header.idFrom);
    // Every tip of the window is asked for here as it is about to show, so "Show tool tips"
    // governs them all at once; an empty text shows none.
    info.szText[0] = L'\0';
    info.lpszText = info.szText;
    // A tip whose showing was under way when a menu opened would come up over the menu.
    if (!G().gSetting || !G().gSetting->ShowTooltips || menuOpen_) return 0;
    const wchar_t* tip = nullptr;
    if (cmdAbc_ && header.idFrom == reinterpret_cast<UINT_PTR>(cmdAbc_)) tip = abcTip_.c_str();
    if (!tip && tb1_) tip = tb1_->ToolTipOf(id);
    if (!tip && tbDic_) tip = tbDic_->ToolTipOf(id);
    if (tip) info.lpszText = const_cast<wchar_t*>(tip);
    return 0;
  }
  if (header.code == EN_REQUESTRESIZE && info_ && header.hwndFrom == info_->hwnd()) {
    const RECT& need = reinterpret_cast<const REQRESIZE&>(header).rc;
    if (need.bottom - need.top != infoNeeded_) {
      infoNeeded_ = need.bottom - need.top;
      PlaceInfo();
    }
    return 0;
  }
  if (header.code == EN_SELCHANGE && output_ && header.hwndFrom == output_->hwnd()) {
    Guarded([this] { core_->txtOutPut_SelChange(); });
  }
  return 0;
}

}  // namespace parlavent
