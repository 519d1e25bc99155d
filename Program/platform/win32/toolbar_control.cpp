#include "platform/win32/toolbar_control.h"

#include <algorithm>

#include "platform/win32/picture_win32.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kSize = ToolbarControl::kImageSize;

std::wstring WideOf(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// A bitmap of kSize x kSize filled with the mask colour, selected into a memory DC while drawn.
class Canvas {
 public:
  Canvas() {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, kSize, kSize);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, kSize, kSize};
    HBRUSH mask = CreateSolidBrush(kMaskColour);
    FillRect(dc_, &all, mask);
    DeleteObject(mask);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  void AddTo(HIMAGELIST list) {
    SelectObject(dc_, old_);
    ImageList_AddMasked(list, bitmap_, kMaskColour);
    old_ = SelectObject(dc_, bitmap_);
  }
  void Polygon(std::initializer_list<POINT> points, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = SelectObject(dc_, brush);
    HGDIOBJ oldPen = SelectObject(dc_, pen);
    std::vector<POINT> p(points);
    ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
    SelectObject(dc_, oldBrush);
    SelectObject(dc_, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  void Box(int l, int t, int r, int b, COLORREF fill, COLORREF frame) {
    Polygon({{l, t}, {r, t}, {r, b}, {l, b}}, frame);
    if (r - l > 2 && b - t > 2) Polygon({{l + 1, t + 1}, {r - 1, t + 1}, {r - 1, b - 1}, {l + 1, b - 1}}, fill);
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

constexpr COLORREF kBlue = RGB(30, 90, 180);
constexpr COLORREF kGreen = RGB(40, 140, 60);
constexpr COLORREF kDark = RGB(60, 60, 60);
constexpr COLORREF kPaper = RGB(250, 250, 240);

// The command glyphs: simple shapes, so that nothing binary ships with the program.
void DrawGlyph(Canvas& c, std::u16string_view key) {
  if (key == u"Trans") {
    c.Polygon({{2, 6}, {9, 6}, {9, 2}, {15, 8}, {9, 14}, {9, 10}, {2, 10}}, kGreen);
  } else if (key == u"Back") {
    c.Polygon({{14, 6}, {7, 6}, {7, 2}, {1, 8}, {7, 14}, {7, 10}, {14, 10}}, kBlue);
  } else if (key == u"Redo") {
    c.Polygon({{2, 6}, {9, 6}, {9, 2}, {15, 8}, {9, 14}, {9, 10}, {2, 10}}, kBlue);
  } else if (key == u"Paste") {
    c.Box(2, 3, 13, 15, RGB(200, 160, 90), kDark);
    c.Box(5, 1, 10, 5, kPaper, kDark);
    c.Box(6, 7, 15, 15, kPaper, kDark);
  } else if (key == u"Copy") {
    c.Box(1, 1, 10, 11, kPaper, kDark);
    c.Box(5, 5, 14, 15, kPaper, kDark);
  } else if (key == u"Speak") {
    c.Box(2, 6, 5, 10, kDark, kDark);
    c.Polygon({{5, 6}, {10, 2}, {10, 14}, {5, 10}}, kDark);
    c.Polygon({{12, 5}, {13, 5}, {13, 11}, {12, 11}}, kBlue);
  } else if (key == u"Mode" || key == u"Mode1") {
    const COLORREF fill = key == u"Mode1" ? RGB(230, 170, 20) : kPaper;
    c.Polygon({{8, 1}, {13, 3}, {15, 8}, {13, 13}, {8, 15}, {3, 13}, {1, 8}, {3, 3}}, kDark);
    c.Polygon({{8, 3}, {12, 4}, {13, 8}, {12, 12}, {8, 13}, {4, 12}, {3, 8}, {4, 4}}, fill);
  } else if (key == u"Menu") {
    for (int y : {3, 7, 11}) c.Box(2, y, 14, y + 2, kDark, kDark);
  }
}

// A dictionary's flag drawn from its picture; a picture the shell cannot draw leaves a grey tile.
void DrawPicture(Canvas& c, const std::shared_ptr<Picture>& picture) {
  auto* win = dynamic_cast<Win32Picture*>(picture.get());
  if (win && win->Type() == PICTYPE_ICON) {
    DrawIconEx(c.dc(), 0, 0, reinterpret_cast<HICON>(static_cast<UINT_PTR>(win->Handle())), kSize, kSize, 0, nullptr,
               DI_NORMAL);
    return;
  }
  if (win && win->Type() == PICTYPE_BITMAP) {
    auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(win->Handle()));
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info)) {
      HDC source = CreateCompatibleDC(c.dc());
      HGDIOBJ old = SelectObject(source, bitmap);
      SetStretchBltMode(c.dc(), HALFTONE);
      StretchBlt(c.dc(), 0, 0, kSize, kSize, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
      return;
    }
  }
  c.Box(1, 3, 15, 13, RGB(200, 200, 200), kDark);
}

}  // namespace

HIMAGELIST MakeMainImageList(std::map<std::u16string, int>& keys) {
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 9, 1);
  int n = 0;
  for (std::u16string_view key : {u"Trans", u"Speak", u"Back", u"Redo", u"Paste", u"Copy", u"Mode", u"Mode1", u"Menu"}) {
    Canvas canvas;
    DrawGlyph(canvas, key);
    canvas.AddTo(list);
    keys[LCase(key)] = n++;
  }
  return list;
}

ToolbarControl::ToolbarControl(HWND parent, int firstId) : firstId_(firstId) {
  hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                          WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER |
                              CCS_NOPARENTALIGN,
                          0, 0, 100, kSize + 8, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kSize, kSize));
}

ToolbarControl::~ToolbarControl() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (images_) ImageList_Destroy(images_);
}

void ToolbarControl::ReplaceImages(HIMAGELIST images, std::map<std::u16string, int> keys) {
  if (hwnd_) SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  if (images_) ImageList_Destroy(images_);
  images_ = images;
  imageKeys_ = std::move(keys);
}

void ToolbarControl::UseMainImageList() {
  std::map<std::u16string, int> keys;
  HIMAGELIST list = MakeMainImageList(keys);
  ReplaceImages(list, std::move(keys));
}

void ToolbarControl::SetImages(const std::vector<std::pair<std::u16string, std::shared_ptr<Picture>>>& images) {
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, static_cast<int>(images.size()) + 1, 1);
  std::map<std::u16string, int> keys;
  int n = 0;
  for (const auto& [key, picture] : images) {
    if (!picture) continue;
    Canvas canvas;
    DrawPicture(canvas, picture);
    canvas.AddTo(list);
    keys[LCase(key)] = n++;
  }
  ReplaceImages(list, std::move(keys));
}

int ToolbarControl::ImageOf(std::u16string_view key) const {
  const auto it = imageKeys_.find(LCase(key));
  return it == imageKeys_.end() ? I_IMAGENONE : it->second;
}

std::int32_t ToolbarControl::AddButton(std::u16string_view key, std::u16string_view toolTip, ToolbarStyle style) {
  if (!hwnd_) return 0;
  buttons_.push_back({std::u16string(key), WideOf(toolTip)});
  const auto index = static_cast<std::int32_t>(buttons_.size());
  TBBUTTON button{};
  button.iBitmap = ImageOf(key);
  button.idCommand = CommandOf(index);
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (style == ToolbarStyle::Check ? BTNS_CHECK : 0));
  button.iString = -1;
  SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  return index;
}

std::u16string ToolbarControl::KeyOfCommand(int id) const {
  return OwnsCommand(id) ? buttons_[static_cast<std::size_t>(id - firstId_)].key : std::u16string();
}

const wchar_t* ToolbarControl::ToolTipOf(int id) const {
  return OwnsCommand(id) ? buttons_[static_cast<std::size_t>(id - firstId_)].toolTip.c_str() : nullptr;
}

bool ToolbarControl::ButtonVisible(std::int32_t index) {
  if (!Valid(index)) return false;
  const LRESULT state = SendMessageW(hwnd_, TB_GETSTATE, CommandOf(index), 0);
  return state != -1 && !(state & TBSTATE_HIDDEN);
}

void ToolbarControl::SetButtonVisible(std::int32_t index, bool visible) {
  if (Valid(index)) SendMessageW(hwnd_, TB_HIDEBUTTON, CommandOf(index), MAKELPARAM(!visible, 0));
}

std::int32_t ToolbarControl::ButtonWidth(std::int32_t index) {
  if (!Valid(index)) return 0;
  RECT r{};
  SendMessageW(hwnd_, TB_GETRECT, CommandOf(index), reinterpret_cast<LPARAM>(&r));
  const std::int32_t width = r.right - r.left;
  // A hidden button reports no rectangle; its width is the toolbar's standard one.
  return width > 0 ? width : LOWORD(SendMessageW(hwnd_, TB_GETBUTTONSIZE, 0, 0));
}

void ToolbarControl::SetWidth(std::int32_t width) {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, 0, 0, std::max(width, 0), r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int32_t ToolbarControl::Width() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}

std::int32_t ToolbarControl::Height() { return HIWORD(SendMessageW(hwnd_, TB_GETBUTTONSIZE, 0, 0)); }

std::int32_t ToolbarControl::IndexOf(std::u16string_view key) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (EqualsNoCase(buttons_[i].key, key)) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

std::u16string ToolbarControl::ButtonKey(std::int32_t index) {
  return Valid(index) ? buttons_[static_cast<std::size_t>(index - 1)].key : std::u16string();
}

void ToolbarControl::Clear() {
  for (auto n = buttons_.size(); n > 0; --n) SendMessageW(hwnd_, TB_DELETEBUTTON, n - 1, 0);
  buttons_.clear();
}

bool ToolbarControl::ButtonPressed(std::int32_t index) {
  return Valid(index) && SendMessageW(hwnd_, TB_ISBUTTONCHECKED, CommandOf(index), 0) != 0;
}

void ToolbarControl::SetButtonPressed(std::int32_t index, bool pressed) {
  if (Valid(index)) SendMessageW(hwnd_, TB_CHECKBUTTON, CommandOf(index), MAKELPARAM(pressed, 0));
}

void ToolbarControl::SetButtonEnabled(std::int32_t index, bool enabled) {
  if (!Valid(index)) return;
  // Unchanged states are left alone: the timer asks five times a second.
  const bool now = SendMessageW(hwnd_, TB_ISBUTTONENABLED, CommandOf(index), 0) != 0;
  if (now != enabled) SendMessageW(hwnd_, TB_ENABLEBUTTON, CommandOf(index), MAKELPARAM(enabled, 0));
}

void ToolbarControl::SetButtonToolTip(std::int32_t index, std::u16string_view toolTip) {
  if (Valid(index)) buttons_[static_cast<std::size_t>(index - 1)].toolTip = WideOf(toolTip);
}

void ToolbarControl::SetButtonImage(std::int32_t index, std::u16string_view imageKey) {
  if (Valid(index)) SendMessageW(hwnd_, TB_CHANGEBITMAP, CommandOf(index), MAKELPARAM(ImageOf(imageKey), 0));
}

}  // namespace parlavent
