// frmLearn: the learning card, a small borderless window in the corner of the screen with the word,
// its transcription and its translation, in the learning colours, font and transparency. The
// pointer resting on it pauses the cards; its cross closes it.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/win32/owned_window.h"
#include "companions/win32/companion_forms.h"
#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

constexpr int kPadding = 10;
constexpr int kCross = 14;
constexpr int kMinWidth = 160;
constexpr int kMaxWidth = 420;
constexpr int kSlack = 4;  // measured and drawn widths may round apart: no wrap at the last word

RECT CrossRect(const RECT& client) {
  return {client.right - kCross - 4, 4, client.right - 4, 4 + kCross};
}

// The transcription has a font of its own: few text fonts carry the phonetic letters.
constexpr wchar_t kTranscriptionFont[] = L"Vovedorirada";

HFONT MakeFont(const wchar_t* name, int size, bool bold, bool italic) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(size, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name);
}

// Draws (or with DT_CALCRECT measures) text below top; returns the bottom of what it took.
int DrawPart(HDC dc, HFONT font, const std::u16string& text, int left, int top, int right, UINT flags) {
  if (text.empty()) return top;
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{left, top, right, top};
  DrawTextW(dc, Wide(text), -1, &r, flags | DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (!(flags & DT_CALCRECT)) DrawTextW(dc, Wide(text), -1, &r, DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  return r.bottom;
}

// Takes a bar along one edge of the screen (the taskbar) off area, where it lies on it.
void TakeOff(RECT& area, const RECT& bar) {
  RECT common{};
  if (IsRectEmpty(&bar) || !IntersectRect(&common, &area, &bar)) return;
  if (bar.right - bar.left >= bar.bottom - bar.top) {
    if (bar.top + bar.bottom > area.top + area.bottom) {
      area.bottom = std::min(area.bottom, bar.top);
    } else {
      area.top = std::max(area.top, bar.bottom);
    }
  } else if (bar.left + bar.right > area.left + area.right) {
    area.right = std::min(area.right, bar.left);
  } else {
    area.left = std::max(area.left, bar.right);
  }
}

// Where the card may stand, clear of the taskbar, so that it neither covers the tray icon nor
// takes its clicks. Each source alone can be wrong under Wine: the work area a process reads is
// the one of its start (before the taskbar showed), and the shell's taskbar place is a line at
// the screen's edge; the taskbar window itself is where it is drawn.
RECT CardArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  APPBARDATA data{};
  data.cbSize = sizeof(data);
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &data)) TakeOff(area, data.rc);
  RECT bar{};
  const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (tray && IsWindowVisible(tray) && GetWindowRect(tray, &bar)) TakeOff(area, bar);
  return area;
}

// The card's place in the corner above the tray: moved up over every tip and balloon shown there
// (the tray's notices, the tip of its icon), which come and go while cards follow each other.
RECT CardPlace(const RECT& work, int width, int height) {
  RECT card{work.right - width - 8, work.bottom - height - 8, work.right - 8, work.bottom - 8};
  std::vector<RECT> tips;
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        RECT r{};
        if (IsWindowVisible(w) && lstrcmpiW(cls, L"tooltips_class32") == 0 && GetWindowRect(w, &r)) {
          reinterpret_cast<std::vector<RECT>*>(lp)->push_back(r);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tips));
  // Each pass moves the card above one more tip at most.
  for (std::size_t pass = 0; pass < tips.size(); ++pass) {
    RECT overlap{};
    const auto covered =
        std::find_if(tips.begin(), tips.end(), [&](const RECT& t) { return IntersectRect(&overlap, &t, &card); });
    if (covered == tips.end() || covered->top - 8 - height < work.top) break;
    OffsetRect(&card, 0, covered->top - 8 - card.bottom);
  }
  return card;
}

}  // namespace

frmLearn::~frmLearn() {
  if (hwnd()) DestroyWindow(hwnd());
  for (HFONT f : {word_, trans_, text_}) {
    if (f) DeleteObject(f);
  }
}

bool frmLearn::Load() {
  CreateArgs args;
  args.className = kClassName;
  args.style = WS_POPUP | WS_BORDER;
  args.exStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE;
  args.width = kMinWidth;
  args.height = 60;
  args.x = 0;
  args.y = 0;
  args.background = nullptr;
  return Create(args);
}

void frmLearn::ShowCard(const LearnCard& card) {
  if (!hwnd()) return;
  card_ = card;
  // The word as the window's text, for screen readers and for tests.
  SetWindowTextW(hwnd(), Wide(card.Word));
  for (HFONT f : {word_, trans_, text_}) {
    if (f) DeleteObject(f);
  }
  const std::u16string family = card.FontName.empty() ? u"Arial" : card.FontName;
  word_ = MakeFont(Wide(family), card.FontSize + 2, true, card.Italic);
  trans_ = MakeFont(kTranscriptionFont, card.FontSize, false, false);
  text_ = MakeFont(Wide(family), card.FontSize, card.Bold, card.Italic);

  // The card is as large as its text needs, within bounds.
  HDC dc = GetDC(hwnd());
  int width = kMinWidth;
  for (const auto& [font, text] : Parts()) {
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, kMaxWidth - 2 * kPadding - kCross, 0};
    DrawTextW(dc, Wide(text), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    width = std::max<int>(width, r.right + 2 * kPadding + kCross + kSlack);
  }
  const int height = Layout(dc, width, DT_CALCRECT) + kPadding;
  ReleaseDC(hwnd(), dc);

  const RECT place = CardPlace(CardArea(), width, height);
  // Owned by the main window, the card stays out of the taskbar.
  OwnByMain(hwnd());
  const HWND after = card.TopMost ? HWND_TOPMOST : HWND_NOTOPMOST;
  SetWindowPos(hwnd(), after, place.left, place.top, width, height, SWP_NOACTIVATE);
  const int alpha = 255 * (100 - std::clamp(card.Transparency, 0, 90)) / 100;
  SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  InvalidateRect(hwnd(), nullptr, TRUE);
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  // A notice or tip that comes up in the corner while the card shows (the balloon at start, the
  // tray icon's tip) is not covered: the owner raises its windows, the card with them, over it.
  SetTimer(hwnd(), kMakeRoomTimer, kMakeRoomMs, nullptr);
}

void frmLearn::MakeRoom() {
  if (!IsWindowVisible(hwnd())) {
    KillTimer(hwnd(), kMakeRoomTimer);
    return;
  }
  RECT now{};
  GetWindowRect(hwnd(), &now);
  const RECT place = CardPlace(CardArea(), now.right - now.left, now.bottom - now.top);
  if (place.left != now.left || place.top != now.top) {
    SetWindowPos(hwnd(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void frmLearn::Close() {
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
  if (OnClosed) OnClosed();
}

bool frmLearn::Visible() { return hwnd() && IsWindowVisible(hwnd()); }

void frmLearn::Paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  HBRUSH back = CreateSolidBrush(static_cast<COLORREF>(card_.BackColor) & 0xFFFFFF);
  FillRect(dc, &client, back);
  DeleteObject(back);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(card_.ForeColor) & 0xFFFFFF);
  RECT cross = CrossRect(client);
  DrawTextW(dc, L"\x00D7", 1, &cross, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  Layout(dc, client.right, 0);
}

std::vector<std::pair<HFONT, std::u16string>> frmLearn::Parts() const {
  std::vector<std::pair<HFONT, std::u16string>> parts{{word_, card_.Word}};
  if (!card_.Transcription.empty()) parts.emplace_back(trans_, u"[" + card_.Transcription + u"]");
  parts.emplace_back(text_, card_.Translation);
  return parts;
}

int frmLearn::Layout(HDC dc, int width, UINT flags) {
  int top = kPadding;
  for (const auto& [font, text] : Parts()) {
    top = DrawPart(dc, font, text, kPadding, top, width - kPadding - kCross, flags) + kPadding / 2;
  }
  return top;
}

LRESULT frmLearn::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: return PaintWindow(hwnd(), [this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER:
      if (wp == kMakeRoomTimer) MakeRoom();
      return 0;
    case WM_MOUSEMOVE:
      if (!hover_) {
        hover_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
        if (OnHover) OnHover(true);
      }
      return 0;
    case WM_MOUSELEAVE:
      hover_ = false;
      if (OnHover) OnHover(false);
      return 0;
    case WM_LBUTTONUP: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      const RECT cross = CrossRect(client);
      const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (PtInRect(&cross, at)) Close();
      return 0;
    }
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

}  // namespace parlavent
