// frmKeyb: the on-screen keyboard. A row of language labels (one per keyboard layer of the
// dictionaries, label 0 the hidden template) above the keys of the chosen layer's layout; a click
// on a key types its character, Shift switches to the shifted characters.
#include <algorithm>

#include "app/application.h"
#include "app/main_form.h"
#include "app/win32/owned_window.h"
#include "companions/key_layouts.h"
#include "companions/win32/companion_forms.h"
#include "dictionary/keyboard_layers.h"
#include "foundation/lang_entries.h"
#include "platform/win32/picture_win32.h"
#include "platform/win32/win32_services.h"
#include "resource_ids.h"

namespace parlavent {
namespace {

constexpr int kMargin = 6;
constexpr int kLabelWidth = 34;
constexpr int kLabelHeight = 20;
constexpr int kLabelBase = 200;   // control id of label k: kLabelBase + k
constexpr int kColumns = 13;
constexpr int kRowsTop = kMargin + kLabelHeight + kMargin;
constexpr int kMinKey = 16;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kChosen = RGB(0, 0, 160);

// The rows are staggered by half a key: the widest, with the margins, is 14.5 keys.
int ClientWidth(int key) { return 2 * kMargin + kColumns * key + key / 2 * 3; }
int ClientHeight(int key) { return kRowsTop + 5 * key + kMargin; }
// The key size whose keyboard is at most client pixels wide.
int KeyFor(int client) { return std::clamp((client - 2 * kMargin) * 2 / (2 * kColumns + 3), kMinKey, 2 * frmKeyb::kKeySize); }

// The bottom row: Shift, space and backspace (Shift and backspace two keys wide).
RECT BottomRect(int which, int key) {
  const int top = kRowsTop + 4 * key;
  const int spaceLeft = kMargin + 2 * key;
  const int backLeft = ClientWidth(key) - kMargin - 2 * key;
  if (which == 0) return {kMargin, top, spaceLeft, top + key};
  if (which == 1) return {spaceLeft, top, backLeft, top + key};
  return {backLeft, top, backLeft + 2 * key, top + key};
}

}  // namespace

frmKeyb::~frmKeyb() {
  if (hwnd()) DestroyWindow(hwnd());
  if (font_) DeleteObject(font_);
}

bool frmKeyb::Load() {
  CreateArgs args;
  args.className = kClassName;
  args.title = gAppl().LZ(lang::kMenuKeyb);
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  args.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  RECT frame{0, 0, ClientWidth(kKeySize), ClientHeight(kKeySize)};
  AdjustWindowRectEx(&frame, args.style, FALSE, args.exStyle);
  args.width = frame.right - frame.left;
  args.height = frame.bottom - frame.top;
  args.x = 100;
  args.y = 100;
  args.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!Create(args)) return false;
  font_ = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
  // The template label: the others are loaded at its place, each one label further left.
  HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER | SS_NOTIFY,
                               ClientWidth(kKeySize) - kMargin - kLabelWidth, kMargin, kLabelWidth, kLabelHeight, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelBase)), instance_, nullptr);
  lblLang_.push_back(label);
  langs_.push_back({});
  return true;
}

void frmKeyb::LoadLangLabel(std::int32_t k, std::u16string_view caption) {
  if (k < 1 || lblLang_.empty() || !hwnd()) return;
  RECT t{};
  GetWindowRect(lblLang_[0], &t);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&t), 2);
  const int width = t.right - t.left;
  while (lblLang_.size() <= static_cast<std::size_t>(k)) {
    const int id = kLabelBase + static_cast<int>(lblLang_.size());
    lblLang_.push_back(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_CENTER | SS_NOTIFY, 0, 0, width,
                                       t.bottom - t.top, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance_, nullptr));
    langs_.push_back({});
  }
  HWND label = lblLang_[static_cast<std::size_t>(k)];
  langs_[static_cast<std::size_t>(k)] = std::u16string(caption);
  const std::u16string text = langs_[static_cast<std::size_t>(k)];
  SetWindowTextW(label, Wide(text));
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  MoveWindow(label, t.left - (k - 1) * width, t.top, width, t.bottom - t.top, TRUE);
  ShowWindow(label, SW_SHOWNA);
}

void frmKeyb::HideTemplateLabel() {
  if (!lblLang_.empty()) ShowWindow(lblLang_[0], SW_HIDE);
}

void frmKeyb::SetLang(std::int32_t n) {
  if (n < 1 || static_cast<std::size_t>(n) > G().gLayers.Count()) return;
  layer_ = n;
  for (HWND label : lblLang_) InvalidateRect(label, nullptr, TRUE);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

const KeyLayout* frmKeyb::Layout() const {
  const auto* layer = G().gLayers.ItemAt(static_cast<std::size_t>(layer_));
  if (!layer || !*layer) return nullptr;
  if (const KeyLayout* l = FindKeyLayout((*layer)->Layout)) return l;
  return KeyLayoutForLang((*layer)->Lang);
}

void frmKeyb::Show() {
  if (!hwnd()) return;
  // Loaded before the interface texts and the main window: both are taken on showing. Owned by
  // the main window, it stays out of the taskbar and above its owner; it never takes the focus
  // from the input box it types into.
  const std::u16string title = gAppl().LZ(lang::kMenuKeyb);
  SetWindowTextW(hwnd(), Wide(title));
  ShowOwned(hwnd(), false);
}
void frmKeyb::Hide() {
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}
bool frmKeyb::Visible() { return hwnd() && IsWindowVisible(hwnd()); }
WindowHandle frmKeyb::Handle() { return FromHwnd(hwnd()); }

RECT frmKeyb::KeyRect(int row, std::size_t column, int key) {
  const int left = kMargin + row * key / 2 + static_cast<int>(column) * key;
  const int top = kRowsTop + row * key;
  return {left, top, left + key - 2, top + key - 2};
}

void frmKeyb::FitHeight(WINDOWPOS& pos) const {
  if (pos.flags & SWP_NOSIZE) return;
  // Docked, the keyboard is as wide as the main window: its keys take the size that fits, and
  // its height follows them.
  RECT frame{};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)));
  const int frameW = frame.right - frame.left, frameH = frame.bottom - frame.top;
  const int key = KeyFor(pos.cx - frameW);
  pos.cx = std::max(pos.cx, ClientWidth(key) + frameW);
  pos.cy = ClientHeight(key) + frameH;
}

void frmKeyb::Resized() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  key_ = KeyFor(client.right);
  // The language labels stand at the right end, the template's place, each one further left.
  const int right = ClientWidth(key_) - kMargin;
  for (std::size_t k = 0; k < lblLang_.size(); ++k) {
    const int left = right - kLabelWidth * static_cast<int>(k == 0 ? 1 : k);
    MoveWindow(lblLang_[k], left, kMargin, kLabelWidth, kLabelHeight, TRUE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

// A layer of a layout without a key table shows the package's picture of it instead: picture 1
// without Shift, picture 2 with Shift (its keys cannot be clicked).
bool frmKeyb::PaintPicture(HDC dc) {
  const auto* layer = G().gLayers.ItemAt(static_cast<std::size_t>(layer_));
  if (!layer || !*layer) return false;
  const std::u16string name = (*layer)->Lang + (shift_ ? u"2" : u"1");
  const auto* picture = (*layer)->Layers.Find(name);
  const auto* bitmap = picture ? dynamic_cast<const Win32Picture*>(picture->get()) : nullptr;
  if (!bitmap || bitmap->Type() != PICTYPE_BITMAP) return false;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(bitmap->Handle())));
  BITMAP info{};
  GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(bitmap->Handle())), sizeof(info), &info);
  const RECT keys{kMargin, kRowsTop, ClientWidth(key_) - kMargin, kRowsTop + 4 * key_};
  StretchBlt(dc, keys.left, keys.top, keys.right - keys.left, keys.bottom - keys.top, memory, 0, 0, info.bmWidth,
             info.bmHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  return true;
}

void frmKeyb::Paint(HDC dc) {
  const KeyLayout* layout = Layout();
  if (!layout) PaintPicture(dc);
  HGDIOBJ old = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  const auto key = [dc](RECT r, const wchar_t* text, int length, bool pressed) {
    FillRect(dc, &r, GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    SetTextColor(dc, GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text, length, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  };
  for (int row = 0; layout && row < 4; ++row) {
    const std::u16string_view keys = shift_ ? layout->ShiftRows[row] : layout->Rows[row];
    for (std::size_t c = 0; c < keys.size(); ++c) {
      const wchar_t ch = static_cast<wchar_t>(keys[c]);
      key(KeyRect(row, c, key_), &ch, 1, false);
    }
  }
  key(BottomRect(0, key_), L"Shift", 5, shift_);
  key(BottomRect(1, key_), L"", 0, false);
  key(BottomRect(2, key_), L"\x2190", 1, false);
  SelectObject(dc, old);
}

void frmKeyb::Click(int x, int y) {
  const POINT at{x, y};
  RECT r = BottomRect(0, key_);
  if (PtInRect(&r, at)) {
    shift_ = !shift_;
    InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  char16_t typed = 0;
  if (r = BottomRect(1, key_); PtInRect(&r, at)) typed = u' ';
  if (r = BottomRect(2, key_); PtInRect(&r, at)) typed = u'\b';
  const KeyLayout* layout = Layout();
  for (int row = 0; !typed && layout && row < 4; ++row) {
    const std::u16string_view keys = shift_ ? layout->ShiftRows[row] : layout->Rows[row];
    for (std::size_t c = 0; c < keys.size(); ++c) {
      if (r = KeyRect(row, c, key_); PtInRect(&r, at)) {
        typed = keys[c];
        break;
      }
    }
  }
  if (!typed || !OnKey) return;
  // Shift holds for one character, as on a real keyboard.
  if (shift_ && typed != u' ' && typed != u'\b') {
    shift_ = false;
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
  OnKey(typed);
}

LRESULT frmKeyb::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: return PaintWindow(hwnd(), [this](HDC dc) { Paint(dc); });
    case WM_LBUTTONDOWN: Click(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
      FitHeight(*reinterpret_cast<WINDOWPOS*>(lp));
      return WindowBase::OnMessage(msg, wp, lp);
    case WM_SIZE: Resized(); return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == STN_CLICKED && LOWORD(wp) > kLabelBase) SetLang(LOWORD(wp) - kLabelBase);
      return 0;
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, id - kLabelBase == layer_ ? kChosen : kGrey);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE: Hide(); return 0;
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

}  // namespace parlavent
