#include "app/win32/indicator_forms.h"

#include <commctrl.h>

#include "app/application.h"
#include "app/win32/owned_window.h"
#include "foundation/api_input.h"
#include "foundation/api_windows.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

Point Pointer() { return Input().CursorPos(); }

}  // namespace

bool IndicatorPicture::LoadPicture(const wchar_t* className, int width, int height) {
  CreateArgs args;
  args.className = className;
  args.style = WS_POPUP;
  args.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  args.x = 0;
  args.y = 0;
  args.width = width;
  args.height = height;
  args.background = nullptr;
  if (!Create(args)) return false;
  // Only the non-red pixels of the picture remain visible.
  API::SetWindowTransparency(FromHwnd(hwnd()), 255, kTransparentKey);
  return true;
}

LRESULT IndicatorPicture::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT r{};
      GetClientRect(hwnd(), &r);
      HBRUSH key = CreateSolidBrush(kTransparentKey);
      FillRect(dc, &r, key);
      DeleteObject(key);
      Paint(dc, r);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_TIMER:
      if (wp == kTimer1) OnTimer1();
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

// A small page with two lines of text: "copied".
void frmCopy::Paint(HDC dc, const RECT&) {
  HBRUSH paper = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ oldBrush = SelectObject(dc, paper);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, 0, 0, 12, 13);
  MoveToEx(dc, 3, 4, nullptr);
  LineTo(dc, 9, 4);
  MoveToEx(dc, 3, 7, nullptr);
  LineTo(dc, 9, 7);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(paper);
}

void frmCopy::ShowCursor() {
  // A main window kept above the others raises itself several times a second and would cover
  // the indicator beside the pointer over it: an owned window stays above its owner. The owner is
  // the window clicked in (the main window or the popup), and the indicator's raise leaves the
  // owner where it is: a click in the popup over another program must not bring the main window.
  const Point pointer = Pointer();
  OwnByWindowAt(hwnd(), POINT{pointer.x, pointer.y});
  const Point at = logic_.ShowAt(pointer);
  SetWindowPos(hwnd(), HWND_TOPMOST, at.x, at.y, CopyIndicatorLogic::kWidth, CopyIndicatorLogic::kHeight,
               SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  StartTimer1();
}

void frmCopy::OnTimer1() {
  if (!logic_.ShouldHide(Pointer(), API::GetPressedKey(0, true) != 0)) return;
  Pump().DoEvents();
  ShowWindow(hwnd(), SW_HIDE);
  StopTimer1();
}

// An hourglass.
void frmBusy::Paint(HDC dc, const RECT& r) {
  HBRUSH sand = CreateSolidBrush(RGB(0, 0, 128));
  HGDIOBJ oldBrush = SelectObject(dc, sand);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  const POINT top[] = {{0, 0}, {r.right - 1, 0}, {r.right / 2, r.bottom / 2}};
  const POINT bottom[] = {{r.right / 2, r.bottom / 2}, {r.right - 1, r.bottom - 1}, {0, r.bottom - 1}};
  Polygon(dc, top, 3);
  Polygon(dc, bottom, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(sand);
}

void frmBusy::Start() {
  StartTimer1();
  logic_.Start(Pointer());
  makeshow();
  Pump().DoEvents();
}

void frmBusy::makeshow() {
  const Point at = BusyIndicatorLogic::PlaceBeside(Pointer());
  if (!IsWindowVisible(hwnd())) {
    const Point pointer = Pointer();
    OwnByWindowAt(hwnd(), POINT{pointer.x, pointer.y});
    SetWindowPos(hwnd(), HWND_TOPMOST, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  } else {
    SetWindowPos(hwnd(), HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void frmBusy::stopme() {
  StopTimer1();
  ShowWindow(hwnd(), SW_HIDE);
}

void frmBusy::OnTimer1() {
  if (logic_.Follows(Pointer())) {
    makeshow();
  } else {
    stopme();
  }
}

bool frmProgress::Form_Load() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  CreateArgs args;
  args.className = L"ParlaventProgress";
  args.title = u"Progress";
  args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  args.width = 360;
  args.height = 140;
  if (!Create(args)) return false;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  label_ = CreateWindowExW(0, L"STATIC", L"Progress Text", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 10, 10, 330,
                           18, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  bar_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 10, 34, 330, 18, hwnd(), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  cancel_ = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 260, 62, 80, 24,
                            hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                            GetModuleHandleW(nullptr), nullptr);
  for (HWND control : {label_, cancel_}) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
  return true;
}

void frmProgress::Show() { ShowOwned(hwnd(), true); }

void frmProgress::SetCaption(std::u16string_view text) {
  logic_.SetCaption(text);
  SetWindowTextW(hwnd(), Wide(logic_.Title()));
}

void frmProgress::SetText(std::u16string_view text) {
  SetWindowTextW(label_, Wide(std::u16string(text)));
  UpdateWindow(label_);
}

void frmProgress::SetVal(double a, double b, double c) {
  if (!logic_.SetVal(a, b, c)) return;
  SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(logic_.Percent()), 0);
  SetWindowTextW(hwnd(), Wide(logic_.Caption()));
}

LRESULT frmProgress::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kCancelId && HasAppl()) G().gProgressCancel = true;
      return 0;
    case WM_CLOSE: ShowWindow(hwnd(), SW_HIDE); return 0;
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

}  // namespace parlavent
