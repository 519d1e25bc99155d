#include "platform/win32/rich_edit_box.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>
#include <optional>
#include <vector>

#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

constexpr wchar_t kSelfProperty[] = L"ParlaventRichEditBox";
constexpr UINT kUnicodeCodePage = 1200;  // UTF-16LE: text goes in and out without ANSI conversion

// MSFTEDIT (RichEdit 4.1) where there is one; RichEdit 2.0/3.0 otherwise. Loaded once for the
// process and never unloaded, as every box of the program uses it.
const wchar_t* RichEditClass() {
  static const wchar_t* const name = []() -> const wchar_t* {
    if (LoadLibraryW(L"msftedit.dll")) return MSFTEDIT_CLASS;
    if (LoadLibraryW(L"riched20.dll")) return RICHEDIT_CLASSW;
    return nullptr;
  }();
  return name;
}

// Wine's rich-edit control (8.0) lays out a paragraph by shaping the rest of its run again for
// each line it breaks off, so one run of one format costs time that grows with the square of its
// length: a paragraph of 10,000 characters took 4 s. Its runs stay short when every other stretch
// differs in a format that shows nothing: the size above which pairs of letters are kerned (0, or
// beyond any size). Windows' control needs none of this.
//
// Characters of one paragraph that Wine's layout takes at once.
constexpr std::size_t kLongParagraph = 1000;

bool HasLongParagraph(std::u16string_view text) {
  std::size_t run = 0;
  for (const char16_t c : text) {
    run = c == u'\r' || c == u'\n' ? 0 : run + 1;
    if (run > kLongParagraph) return true;
  }
  return false;
}

COLORREF ToColorRef(Colour colour) {
  if (colour & kSystemColourFlag) return GetSysColor(static_cast<int>(colour & 0xFF));
  return colour & 0xFFFFFF;
}

// The window's SelChange handler follows the user's caret. The selections the program makes while
// it writes and formats text are not the user's: in list mode the handler would widen each of them
// to its whole line, and the format meant for one link would land on the line's first link.
class QuietSelection {
 public:
  explicit QuietSelection(HWND hwnd) : hwnd_(hwnd), mask_(SendMessageW(hwnd, EM_GETEVENTMASK, 0, 0)) {
    if (mask_ & ENM_SELCHANGE) SendMessageW(hwnd_, EM_SETEVENTMASK, 0, mask_ & ~ENM_SELCHANGE);
  }
  ~QuietSelection() {
    if (mask_ & ENM_SELCHANGE) SendMessageW(hwnd_, EM_SETEVENTMASK, 0, mask_);
  }
  QuietSelection(const QuietSelection&) = delete;
  QuietSelection& operator=(const QuietSelection&) = delete;

 private:
  HWND hwnd_;
  LRESULT mask_;
};

CHARFORMAT2W Format(DWORD mask) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = mask;
  return format;
}

void SetFace(CHARFORMAT2W& format, std::u16string_view name) {
  const std::size_t n = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
  std::copy_n(name.data(), n, format.szFaceName);
  format.szFaceName[n] = 0;
}

LONG Twips(double points) { return static_cast<LONG>(std::lround(points * 20)); }

// The box's own font, black, no effects: what plain text looks like.
CHARFORMAT2W PlainFormat(const std::u16string& fontName, double fontSize) {
  CHARFORMAT2W format = Format(CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE);
  format.dwEffects = CFE_AUTOCOLOR;
  SetFace(format, fontName);
  format.yHeight = Twips(fontSize);
  return format;
}

int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int ButtonsHeld(WPARAM wp) {
  return (wp & MK_LBUTTON ? 1 : 0) | (wp & MK_RBUTTON ? 2 : 0) | (wp & MK_MBUTTON ? 4 : 0);
}

}  // namespace

std::shared_ptr<RichEditBox> RichEditBox::Create(const CreateArgs& args) {
  const wchar_t* className = RichEditClass();
  if (!className || !args.parent) return nullptr;
  DWORD style = WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
  if (args.readOnly) style |= ES_READONLY;
  if (args.verticalScroll) style |= WS_VSCROLL;
  if (!args.wrap) style |= ES_AUTOHSCROLL;
  if (args.visible) style |= WS_VISIBLE;
  std::shared_ptr<RichEditBox> box(new RichEditBox());
  box->hwnd_ = CreateWindowExW(args.border ? WS_EX_CLIENTEDGE : 0, className, L"", style, args.x, args.y, args.width,
                               args.height, args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (!box->hwnd_) return nullptr;
  box->wrap_ = args.wrap;
  if (!args.wrap) SendMessageW(box->hwnd_, EM_SETTARGETDEVICE, 0, 1);
  CHARFORMAT2W plain = PlainFormat(args.fontName, args.fontSize);
  SendMessageW(box->hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&plain));
  box->fontName_ = args.fontName;
  box->fontSize_ = args.fontSize;
  SetPropW(box->hwnd_, kSelfProperty, box.get());
  box->controlProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(box->hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RichEditBox::ControlProc)));
  return box;
}

RichEditBox::~RichEditBox() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
  RemovePropW(hwnd_, kSelfProperty);
  DestroyWindow(hwnd_);
}

// The control handles every message first (the caret has moved when a key-up is reported); the
// box's events follow. No exception reaches Windows.
LRESULT CALLBACK RichEditBox::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<RichEditBox*>(GetPropW(hwnd, kSelfProperty));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (self->BeforeMessage) {
    try {
      if (self->BeforeMessage(msg, wp, lp)) return 0;
    } catch (...) {
    }
  }
  const LRESULT result = CallWindowProcW(self->controlProc_, hwnd, msg, wp, lp);
  try {
    self->RaiseEventOf(msg, wp, lp);
  } catch (...) {
  }
  return result;
}

void RichEditBox::RaiseEventOf(UINT msg, WPARAM wp, LPARAM lp) {
  const long x = static_cast<short>(LOWORD(lp));
  const long y = static_cast<short>(HIWORD(lp));
  switch (msg) {
    case WM_KEYUP: RaiseKeyUp(static_cast<int>(wp), ShiftState()); break;
    case WM_LBUTTONDOWN: RaiseMouseDown(1, ShiftState(), x, y); break;
    case WM_RBUTTONDOWN: RaiseMouseDown(2, ShiftState(), x, y); break;
    case WM_MBUTTONDOWN: RaiseMouseDown(4, ShiftState(), x, y); break;
    case WM_MOUSEMOVE: RaiseMouseMove(ButtonsHeld(wp), ShiftState(), x, y); break;
    case WM_LBUTTONUP: RaiseMouseUp(1, ShiftState(), x, y); break;
    case WM_RBUTTONUP: RaiseMouseUp(2, ShiftState(), x, y); break;
    case WM_MBUTTONUP: RaiseMouseUp(4, ShiftState(), x, y); break;
    default: break;
  }
}

std::u16string RichEditBox::ControlText() const {
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_NUMCHARS, kUnicodeCodePage};
  const LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (n <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(n) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  get.flags = GT_DEFAULT;
  get.codepage = kUnicodeCodePage;
  const LRESULT got = SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(buffer.data()));
  const std::size_t count = std::min<std::size_t>(got > 0 ? static_cast<std::size_t>(got) : 0, buffer.size() - 1);
  return FromWide(std::wstring_view(buffer.data(), count));
}

// Positions are remade whenever the control's text is not the one they were made for (the user
// may type into a box that is not read-only); then its breaks are taken as CR LF.
const RichTextPositions& RichEditBox::Positions() {
  std::u16string now = ControlText();
  if (now != control_) {
    plain_ = ExpandBreaks(now);
    control_ = std::move(now);
    positions_ = RichTextPositions(plain_, control_);
  }
  return positions_;
}

std::u16string RichEditBox::Text() {
  Positions();
  return plain_;
}

void RichEditBox::SetText(std::u16string_view text) {
  const QuietSelection quiet(hwnd_);
  // Laid out once, when the runs are short: no line breaks and no drawing until then.
  const bool cut = wrap_ && UnderWine() && HasLongParagraph(text);
  // Turning drawing on again shows the window as well: a hidden box draws nothing anyway.
  const bool undrawn = cut && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE);
  if (undrawn) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  if (cut) SendMessageW(hwnd_, EM_SETTARGETDEVICE, 0, 1);
  SETTEXTEX set{ST_DEFAULT, kUnicodeCodePage};
  SendMessageW(hwnd_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(L""));
  const std::u16string terminated(text);
  SendMessageW(hwnd_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(Wide(terminated)));
  // Plain text: nothing of an earlier content's runs or bullets survives.
  CHARFORMAT2W plain = PlainFormat(fontName_, fontSize_);
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&plain));
  CHARRANGE all{0, -1};
  SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  SetSelBullet(false);
  if (cut) {
    CutLongRuns();
    SendMessageW(hwnd_, EM_SETTARGETDEVICE, 0, 0);
  }
  if (undrawn) {
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  plain_ = terminated.substr(0, terminated.find(u'\0'));
  control_ = ControlText();
  positions_ = RichTextPositions(plain_, control_);
  SetSelStart(static_cast<std::int32_t>(std::min<std::size_t>(plain_.size(), std::numeric_limits<std::int32_t>::max())));
}

// At most 32 stretches, each of at least 256 characters, every other one kerned beyond any size.
void RichEditBox::CutLongRuns() {
  GETTEXTLENGTHEX length{GTL_NUMCHARS, kUnicodeCodePage};
  const LONG n = static_cast<LONG>(SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  const LONG stretch = std::max<LONG>(256, n / 32);
  CHARFORMAT2W format = Format(CFM_KERNING);
  format.wKerning = 0xFFFF;
  for (LONG start = stretch; start < n; start += 2 * stretch) {
    CHARRANGE range{start, std::min(start + stretch, n)};
    SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    ApplyToSelection(format);
  }
}

void RichEditBox::Select(std::int64_t plainStart, std::int64_t plainEnd) {
  const auto clamp = [](std::int64_t p) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(p, 0, std::numeric_limits<std::int32_t>::max()));
  };
  const RichTextPositions& map = Positions();
  CHARRANGE range{map.ToControl(clamp(plainStart)), map.ToControl(clamp(plainEnd))};
  const QuietSelection quiet(hwnd_);
  SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::int32_t RichEditBox::SelStart() {
  CHARRANGE range{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return Positions().ToPlain(range.cpMin);
}

void RichEditBox::SetSelStart(std::int32_t position) {
  if (position >= 0) Select(position, position);
}

std::int32_t RichEditBox::SelLength() {
  CHARRANGE range{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  const RichTextPositions& map = Positions();
  return map.ToPlain(range.cpMax) - map.ToPlain(range.cpMin);
}

void RichEditBox::SetSelLength(std::int32_t length) {
  if (length < 0) return;
  const std::int64_t start = SelStart();
  Select(start, start + length);
}

void RichEditBox::ApplyToSelection(CHARFORMAT2W& format) {
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void RichEditBox::SetEffect(DWORD mask, bool on) {
  CHARFORMAT2W format = Format(mask);
  format.dwEffects = on ? mask : 0;  // each of these effects has the same bit as its mask
  ApplyToSelection(format);
}

void RichEditBox::SetSelColor(Colour colour) {
  CHARFORMAT2W format = Format(CFM_COLOR);
  format.crTextColor = ToColorRef(colour);
  ApplyToSelection(format);
}
void RichEditBox::SetSelBold(bool on) { SetEffect(CFM_BOLD, on); }
void RichEditBox::SetSelItalic(bool on) { SetEffect(CFM_ITALIC, on); }
void RichEditBox::SetSelUnderline(bool on) { SetEffect(CFM_UNDERLINE, on); }

void RichEditBox::SetSelFontName(std::u16string_view name) {
  CHARFORMAT2W format = Format(CFM_FACE);
  SetFace(format, name);
  ApplyToSelection(format);
}

void RichEditBox::SetSelFontSize(double points) {
  if (!(points > 0) || points > 1638) return;  // RichEdit's largest size
  CHARFORMAT2W format = Format(CFM_SIZE);
  format.yHeight = Twips(points);
  ApplyToSelection(format);
}

void RichEditBox::SetSelBullet(bool on) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof(format);
  format.dwMask = PFM_NUMBERING;
  format.wNumbering = on ? PFN_BULLET : 0;
  SendMessageW(hwnd_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void RichEditBox::SetSelAlignment(Alignment alignment) {
  PARAFORMAT2 format{};
  format.cbSize = sizeof(format);
  format.dwMask = PFM_ALIGNMENT;
  format.wAlignment = alignment == Alignment::Center ? PFA_CENTER : alignment == Alignment::Right ? PFA_RIGHT : PFA_LEFT;
  SendMessageW(hwnd_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

bool RichEditBox::Visible() { return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void RichEditBox::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool RichEditBox::Enabled() { return IsWindowEnabled(hwnd_) != FALSE; }
void RichEditBox::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
bool RichEditBox::HasFocus() { return GetFocus() == hwnd_; }
void RichEditBox::SetFocus() { ::SetFocus(hwnd_); }

std::int32_t RichEditBox::CharIndexAtCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  // A window over the box (another of the program's, opened over the main window) hides its
  // characters from the pointer.
  if (WindowFromPoint(cursor) != hwnd_) return -1;
  ScreenToClient(hwnd_, &cursor);
  POINTL point{cursor.x, cursor.y};
  const LRESULT index = SendMessageW(hwnd_, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point));
  if (index < 0 || cursor.y >= LineBottom(index)) return -1;
  return Positions().ToPlain(static_cast<std::int32_t>(index));
}

long RichEditBox::LineBottom(LRESULT index) {
  // EM_CHARFROMPOS answers the nearest character, also for a point below the last line: the
  // line's bottom tells whether the pointer is on it.
  const auto top = [this](LRESULT line) -> std::optional<long> {
    // (-1 would name the caret's line.)
    const LRESULT first = line < 0 ? -1 : SendMessageW(hwnd_, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (first < 0) return std::nullopt;
    POINTL at{};
    SendMessageW(hwnd_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), first);
    return at.y;
  };
  const LRESULT line = SendMessageW(hwnd_, EM_EXLINEFROMCHAR, 0, index);
  const std::optional<long> own = top(line);
  if (!own) return std::numeric_limits<long>::max();
  if (const auto next = top(line + 1); next && *next > *own) return *next;
  // The last line: as high as the one before it, or as the box's default font when it is alone.
  if (const auto previous = top(line - 1); previous && *previous < *own) return *own + (*own - *previous);
  CHARFORMAT2W format = Format(CFM_SIZE);
  SendMessageW(hwnd_, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  HDC dc = GetDC(hwnd_);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(hwnd_, dc);
  // A line is about a fifth higher than its characters' size.
  const long height = MulDiv(std::max<LONG>(format.yHeight, 200), dpi * 6, 1440 * 5);
  return *own + height;
}

}  // namespace parlavent
