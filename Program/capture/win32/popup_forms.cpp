#include "capture/win32/popup_forms.h"

#include <richedit.h>

#include <algorithm>

#include "app/application.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/plugin_host.h"
#include "app/win32/owned_window.h"
#include "foundation/settings_object.h"
#include "platform/clock.h"
#include "platform/settings_store.h"
#include "platform/win32/rich_edit_box.h"
#include "platform/win32/win32_services.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kCloseInterval = 30;
constexpr UINT_PTR kFadeTimer = 2;
constexpr UINT kFadeInterval = 15;
constexpr int kFadeStep = 32;        // of 255: about an eighth of a second in or out
constexpr int kBoxId = 1;
constexpr long kMinWidth = 80;
constexpr long kMaxWidth = 520;
constexpr long kMargin = 6;          // the box's own left and right margins, and a little room
constexpr long kHintMaxWidth = 320;
constexpr UINT_PTR kHintTimer = 1;
constexpr DWORD kHintLifeMs = 8000;
constexpr long kHintMoveLimit = 3;   // pixels the pointer may move before the hint goes

Rect WorkAreaAt(POINT p) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info)) {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

bool AnyButtonDown() {
  return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0 || GetAsyncKeyState(VK_MBUTTON) < 0;
}

SettingFont ProgramFont() {
  SettingFont font{u"Arial", 10};
  if (HasAppl() && gAppl().Sett) {
    const SettingFont& f = gAppl().Sett->GFont;
    if (!f.Name.empty()) font.Name = f.Name;
    if (f.Size > 0) font.Size = f.Size;
  }
  return font;
}

// Owned by the main window, the popups get no taskbar button of their own.
HWND Owner() {
  return HasAppl() && gAppl().frmMain ? ToHwnd(gAppl().frmMain->hWnd()) : nullptr;
}

template <typename Action>
void Guarded(Action action) {
  try {
    action();
  } catch (...) {
  }
}

// The popup's look and behaviour from the settings (their defaults without them).
const Setting* PopupSettings() { return HasAppl() && gAppl().Sett ? gAppl().Sett.get() : nullptr; }
bool FadeWanted() { return PopupSettings() && PopupSettings()->Aero; }
bool HideOnLeave() { return PopupSettings() && PopupSettings()->TTHide; }
COLORREF PopupBackground() {
  return PopupSettings() ? static_cast<COLORREF>(PopupSettings()->HintBG) & 0xFFFFFF : GetSysColor(COLOR_INFOBK);
}
COLORREF PopupBorder() {
  return PopupSettings() ? static_cast<COLORREF>(PopupSettings()->HintBrd) & 0xFFFFFF : RGB(0xB0, 0xB0, 0xB0);
}

// Whether the popups cast a shadow: the settings' ShowPctShow.
bool ShadowWanted() { return !HasAppl() || !gAppl().Sett || gAppl().Sett->ShowPctShow != 0; }

}  // namespace

// ---- DropShadow ----------------------------------------------------------------------------------

DropShadow::~DropShadow() {
  if (hwnd()) DestroyWindow(hwnd());
  if (bits_) DeleteObject(bits_);
}

void DropShadow::Cast(HWND popup, const RECT& r) {
  Hide();
  if (!ShadowWanted()) return;
  const int w = static_cast<int>(r.right - r.left), h = static_cast<int>(r.bottom - r.top);
  if (w <= 2 * kDepth || h <= 2 * kDepth) return;
  if (!hwnd()) {
    CreateArgs args;
    args.className = kClassName;
    args.style = WS_POPUP;
    args.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
    args.width = args.height = 1;
    args.background = nullptr;
    args.parent = Owner();
    if (!Create(args)) return;
  }
  // The screen where the shadow falls, as it is before the popup shows there: the popup's own
  // earlier place is hidden first, so that it does not shade itself.
  if (popup && IsWindowVisible(popup)) ShowWindow(popup, SW_HIDE);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bits = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  bool read = false;
  if (bits && memory && pixels) {
    HGDIOBJ old = SelectObject(memory, bits);
    read = BitBlt(memory, 0, 0, w, h, screen, r.left + kDepth, r.top + kDepth, SRCCOPY) != FALSE;
    SelectObject(memory, old);
    GdiFlush();
  }
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!read) {
    if (bits) DeleteObject(bits);
    // The screen cannot be read here (a locked or remote desktop): no shadow from now on.
    if (HasAppl() && gAppl().Sett) gAppl().Sett->ShowPctShow = 0;
    SaveSetting(u"Main", u"spsh", u"0");
    return;
  }
  // Darkest along the popup, fading out over kDepth pixels at the shadow's far edges and ends.
  auto* px = static_cast<std::uint8_t*>(pixels);
  const auto fade = [](int distance) { return std::min(1.0, (distance + 0.5) / kDepth); };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double shade = 0.45 * fade(w - 1 - x) * fade(h - 1 - y) * fade(x) * fade(y);
      std::uint8_t* p = px + (static_cast<std::size_t>(y) * w + x) * 4;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * (1.0 - shade));
    }
  }
  if (bits_) DeleteObject(bits_);
  bits_ = bits;
  size_ = {w, h};
  // Only the strips to the right of and below the popup belong to the shadow.
  HRGN region = CreateRectRgn(0, 0, w, h);
  HRGN covered = CreateRectRgn(0, 0, w - kDepth, h - kDepth);
  CombineRgn(region, region, covered, RGN_DIFF);
  DeleteObject(covered);
  SetWindowRgn(hwnd(), region, FALSE);  // the window owns the region now
  SetWindowPos(hwnd(), HWND_TOPMOST, r.left + kDepth, r.top + kDepth, w, h, SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void DropShadow::Under(HWND popup) {
  if (!hwnd() || !bits_ || !ShadowWanted()) return;
  SetWindowPos(hwnd(), popup, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void DropShadow::Hide() {
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

LRESULT DropShadow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      if (bits_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bits_);
        BitBlt(dc, 0, 0, size_.cx, size_.cy, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      EndPaint(hwnd(), &ps);
      return 0;
    }
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

// ---- frmTT ---------------------------------------------------------------------------------------

frmTT::frmTT() = default;

frmTT::~frmTT() {
  if (hwnd()) DestroyWindow(hwnd());
  if (font_) DeleteObject(font_);
}

namespace {
// A window handle as an event argument.
std::int64_t HandleArg(HWND w) { return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(w)); }
}  // namespace

bool frmTT::Load() {
  // The skin plug-in may make the window itself, owned by ours.
  if (HasAppl() && gAppl().SendEvent(u"CreateToolTipWindow", {HandleArg(Owner())})) {
    pluginWindow_ = true;
    return false;
  }
  CreateArgs args;
  args.className = kClassName;
  args.style = WS_POPUP | WS_BORDER;
  args.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  args.width = 300;
  args.height = 100;
  args.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  args.parent = Owner();
  if (!Create(args)) return false;
  const SettingFont font = ProgramFont();
  RichEditBox::CreateArgs box;
  box.parent = hwnd();
  box.id = kBoxId;
  box.readOnly = true;
  box.border = false;
  box.verticalScroll = true;
  box.fontName = font.Name;
  box.fontSize = font.Size;
  rText_ = RichEditBox::Create(box);
  if (!rText_) return false;
  SendMessageW(rText_->hwnd(), EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  SendMessageW(rText_->hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 4));
  rText_->BeforeMessage = [this](UINT msg, WPARAM, LPARAM) {
    if (msg != WM_SETCURSOR || !waitPointer_) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
  };
  links_ = std::make_shared<clsLink>();
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(static_cast<int>(font.Size + 0.5), GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  // Headings are bold: measuring in bold never leaves a line too narrow.
  font_ = CreateFontW(height, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Wide(font.Name));
  return true;
}

SIZE frmTT::Measure(const std::u16string& plain) {
  long widest = 0;
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  std::size_t start = 0;
  while (start <= plain.size()) {
    std::size_t end = plain.find(u'\n', start);
    if (end == std::u16string::npos) end = plain.size();
    std::u16string line = plain.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    // Lines wider than the popup wrap anyway; only their first part is measured.
    line.resize(std::min<std::size_t>(line.size(), 200));
    SIZE s{};
    if (!line.empty() && GetTextExtentPoint32W(dc, Wide(line), static_cast<int>(line.size()), &s)) {
      widest = std::max(widest, static_cast<long>(s.cx));
    }
    start = end + 1;
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  const long width = std::clamp(widest + 2 * kMargin + GetSystemMetrics(SM_CXVSCROLL), kMinWidth, kMaxWidth);
  // The box tells the height its text needs at this width.
  requestedHeight_ = 0;
  MoveWindow(rText_->hwnd(), 0, 0, width, 4000, FALSE);
  SendMessageW(rText_->hwnd(), EM_REQUESTRESIZE, 0, 0);
  long height = requestedHeight_;
  if (height <= 0) height = 20 * static_cast<long>(std::count(plain.begin(), plain.end(), u'\n') + 1);
  return {width + 2, height + 8};
}

void frmTT::ShowMarkup(std::u16string_view markup, bool samePos, std::optional<POINT> anchor) {
  POINT p{};
  GetCursorPos(&p);
  if (anchor) p = *anchor;
  // A window the plug-in made went with it: the popup makes its own again.
  if (pluginWindow_ && !mdlPublic::IsPlugInLoaded()) pluginWindow_ = false;
  if (!hwnd() && (pluginWindow_ || !Load())) {
    if (HasAppl() && pluginWindow_) {
      gAppl().SendEvent(u"ShowToolTipWindow", {std::u16string(markup), std::int64_t{p.x}, std::int64_t{p.y}, std::int64_t{0}});
    }
    return;
  }
  const std::u16string plain = links_->SetLink(rText_, markup);
  SIZE size{};
  // The skin plug-in may size the window itself; it then keeps the size the plug-in gave it.
  if (gAppl().SendEvent(u"GetTextSize", {plain, HandleArg(hwnd())})) {
    RECT now{};
    GetWindowRect(hwnd(), &now);
    size = {now.right - now.left, now.bottom - now.top};
  } else {
    size = Measure(plain);
  }
  std::optional<Point> at;
  if (samePos && lastTopLeft_) at = Point{lastTopLeft_->x, lastTopLeft_->y};
  const Rect r = PlacePopup({p.x, p.y}, at, size.cx, size.cy, WorkAreaAt(p));
  lastTopLeft_ = POINT{r.left, r.top};
  G().gLastCursorX = p.x;
  G().gLastCursorY = p.y;
  const int w = static_cast<int>(r.right - r.left), h = static_cast<int>(r.bottom - r.top);
  RECT frame{0, 0, w, h};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
  const int borderW = (frame.right - frame.left) - w, borderH = (frame.bottom - frame.top) - h;
  MoveWindow(rText_->hwnd(), 0, 0, std::max(w - borderW, 1), std::max(h - borderH, 1), TRUE);
  SendMessageW(rText_->hwnd(), EM_SETSEL, 0, 0);
  SendMessageW(rText_->hwnd(), EM_SCROLLCARET, 0, 0);
  if (!gAppl().SendEvent(u"ShowToolTipWindow", {std::u16string(markup), std::int64_t{r.left}, std::int64_t{r.top},
                                                 HandleArg(hwnd())})) {
    SendMessageW(rText_->hwnd(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(PopupBackground()));
    const RECT placed{static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right), static_cast<LONG>(r.bottom)};
    shadow_.Cast(hwnd(), placed);
    StartFade(true);
    SetWindowPos(hwnd(), HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    shadow_.Under(hwnd());
  }
  closeRule_.Reset();
  // The key or click that brought the popup up must not close it.
  keys_.Reset();
  SetTimer(hwnd(), kCloseTimer, kCloseInterval, nullptr);
}

void frmTT::Hide() {
  if (hwnd()) KillTimer(hwnd(), kCloseTimer);
  shadow_.Hide();
  if (HasAppl() && gAppl().SendEvent(u"HideToolTipWindow", {HandleArg(hwnd())})) return;
  if (!hwnd()) return;
  if (Visible() && FadeWanted()) {
    StartFade(false);
  } else {
    KillTimer(hwnd(), kFadeTimer);
    ShowWindow(hwnd(), SW_HIDE);
  }
}

void frmTT::StartFade(bool in) {
  KillTimer(hwnd(), kFadeTimer);
  LONG_PTR ex = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  if (!FadeWanted()) {
    // Layered without a fade would only cost drawing time.
    if (ex & WS_EX_LAYERED) SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    return;
  }
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
  fadingIn_ = in;
  if (in) alpha_ = 0;
  SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha_), LWA_ALPHA);
  SetTimer(hwnd(), kFadeTimer, kFadeInterval, nullptr);
}

void frmTT::OnFadeTimer() {
  alpha_ = std::clamp(alpha_ + (fadingIn_ ? kFadeStep : -kFadeStep), 0, 255);
  SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha_), LWA_ALPHA);
  if (fadingIn_ ? alpha_ < 255 : alpha_ > 0) return;
  KillTimer(hwnd(), kFadeTimer);
  if (!fadingIn_) ShowWindow(hwnd(), SW_HIDE);
}

void frmTT::PaintBorder() {
  // The frame the window style draws, in the border colour of the settings.
  HDC dc = GetWindowDC(hwnd());
  if (!dc) return;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  OffsetRect(&r, -r.left, -r.top);
  HBRUSH brush = CreateSolidBrush(PopupBorder());
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(hwnd(), dc);
}

void frmTT::OnCloseTimer() {
  if (!Visible()) {
    KillTimer(hwnd(), kCloseTimer);
    return;
  }
  RECT wr{};
  POINT p{};
  GetWindowRect(hwnd(), &wr);
  GetCursorPos(&p);
  PopupCloseRule::Input in;
  in.popup = {wr.left, wr.top, wr.right, wr.bottom};
  in.pointer = {p.x, p.y};
  in.escDown = keys_.Down(VK_ESCAPE);
  // Every button is read, so that none keeps a press for the next tick.
  const bool left = keys_.Down(VK_LBUTTON), right = keys_.Down(VK_RBUTTON), middle = keys_.Down(VK_MBUTTON);
  in.buttonDown = left || right || middle;
  in.hideOnLeave = HideOnLeave();
  in.now = SystemClock().Timer();
  if (closeRule_.ShouldClose(in)) Hide();
}

LRESULT frmTT::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kCloseTimer) Guarded([this] { OnCloseTimer(); });
      if (wp == kFadeTimer) Guarded([this] { OnFadeTimer(); });
      return 0;
    case WM_NCPAINT: {
      const LRESULT result = WindowBase::OnMessage(msg, wp, lp);
      PaintBorder();
      return result;
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header && header->code == EN_REQUESTRESIZE) {
        const auto* request = reinterpret_cast<const REQRESIZE*>(lp);
        requestedHeight_ = request->rc.bottom - request->rc.top;
      }
      return 0;
    }
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

// ---- frmToolTip ----------------------------------------------------------------------------------

frmToolTip::~frmToolTip() {
  if (hwnd()) DestroyWindow(hwnd());
  if (font_) DeleteObject(font_);
}

void frmToolTip::ShowHint(std::u16string_view text) {
  if (!hwnd()) {
    CreateArgs args;
    args.className = kClassName;
    args.style = WS_POPUP | WS_BORDER;
    args.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    args.width = 10;
    args.height = 10;
    args.background = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    args.parent = Owner();
    if (!Create(args)) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      font_ = CreateFontIndirectW(&metrics.lfStatusFont);
    }
  }
  text_ = std::u16string(text);
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  RECT rc{0, 0, kHintMaxWidth, 0};
  DrawTextW(dc, Wide(text_), -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  GetCursorPos(&shownAt_);
  shownOver_ = WindowFromPoint(shownAt_);
  const Rect r = PlacePopup({shownAt_.x, shownAt_.y + 6}, std::nullopt, rc.right + 10, rc.bottom + 8,
                            WorkAreaAt(shownAt_));
  const RECT place{static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right), static_cast<LONG>(r.bottom)};
  if (Covered(place)) {
    CloseMe();
    return;
  }
  shadow_.Cast(hwnd(), place);
  SetWindowPos(hwnd(), HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  shadow_.Under(hwnd());
  InvalidateRect(hwnd(), nullptr, TRUE);
  shownTick_ = GetTickCount();
  SetTimer(hwnd(), kHintTimer, 50, nullptr);
}

bool frmToolTip::Covered(const RECT& hint) const {
  // A window opened over the link (another program's, or one of this program's) hides it.
  if (WindowFromPoint(shownAt_) != shownOver_) return true;
  // A window of the program opened over the main window (Statistics, Settings, About) without
  // reaching the link: the hint, kept above all, would lie over it. Asked on every tick, so only
  // the program's own few windows are looked at, and the desktop's order only for one under the
  // hint.
  const HWND root = shownOver_ ? GetAncestor(shownOver_, GA_ROOT) : nullptr;
  if (!root) return false;
  struct Look {
    const frmToolTip* self;
    HWND root;
    RECT hint;
    bool covered;
  } look{this, root, hint, false};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        auto& look = *reinterpret_cast<Look*>(data);
        RECT other{}, both{};
        if (w == look.root || w == look.self->hwnd() || w == look.self->shadow_.hwnd() || !IsWindowVisible(w) ||
            !GetWindowRect(w, &other) || !IntersectRect(&both, &look.hint, &other))
          return TRUE;
        look.covered = LiesAbove(w, look.root);
        return !look.covered;
      },
      reinterpret_cast<LPARAM>(&look));
  return look.covered;
}

void frmToolTip::CloseMe() {
  if (!hwnd()) return;
  KillTimer(hwnd(), kHintTimer);
  shadow_.Hide();
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT frmToolTip::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: {
      POINT p{};
      GetCursorPos(&p);
      const bool moved = std::abs(p.x - shownAt_.x) > kHintMoveLimit || std::abs(p.y - shownAt_.y) > kHintMoveLimit;
      RECT shown{};
      GetWindowRect(hwnd(), &shown);
      if (moved || Covered(shown) || AnyButtonDown() || GetTickCount() - shownTick_ > kHintLifeMs) CloseMe();
      return 0;
    }
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    // The hint never takes a click: it goes to the window below (the main window).
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT rc{};
      GetClientRect(hwnd(), &rc);
      FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
      InflateRect(&rc, -4, -3);
      DrawTextW(dc, Wide(text_), -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc, old);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

}  // namespace parlavent
