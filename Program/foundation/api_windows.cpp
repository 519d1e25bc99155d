#include "foundation/api_windows.h"

#include <algorithm>
#include <cstdint>

#include "foundation/api_system.h"
#include "foundation/host.h"
#include "platform/rich_text_box.h"
#include "platform/settings_store.h"
#include "platform/window_manager.h"
#include "text/text.h"

namespace parlavent::API {
namespace {

constexpr std::u16string_view kSection = u"Windows";

std::u16string ValueName(std::u16string_view form, std::u16string_view key) {
  return std::u16string(form) + u"." + std::u16string(key);
}

long ReadLong(std::u16string_view form, std::u16string_view key, long fallback) {
  const std::u16string text = GetSetting(kSection, ValueName(form, key), NumberText(fallback));
  std::int64_t value = fallback;
  return ParseInt64(text, value) ? static_cast<long>(value) : fallback;
}

}  // namespace

bool LoadFormPosition(std::u16string_view formName, WindowHandle window, bool applyVisible) {
  if (ReadLong(formName, u"Set", 0) == 0) return false;
  Rect r;
  Windows().GetRect(window, r);
  const std::u16string visibleText =
      GetSetting(kSection, ValueName(formName, u"Visible"), Windows().IsVisible(window) ? u"True" : u"False");
  const bool visible = EqualsNoCase(visibleText, u"True") || visibleText == u"1" || visibleText == u"-1";
  r.bottom = ReadLong(formName, u"Bottom", r.bottom);
  r.left = ReadLong(formName, u"Left", r.left);
  r.top = ReadLong(formName, u"Top", r.top);
  r.right = ReadLong(formName, u"Right", r.right);
  Windows().SetPos(window, kHwndTop, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   applyVisible && visible ? kSwpShowWindow : 0);
  return true;
}

void SaveFormPosition(std::u16string_view formName, WindowHandle window) {
  Rect r;
  if (!Windows().GetRect(window, r)) return;  // no window: keep the placement saved before
  SaveSetting(kSection, ValueName(formName, u"State"), NumberText(Windows().State(window)));
  SaveSetting(kSection, ValueName(formName, u"Visible"), Windows().IsVisible(window) ? u"True" : u"False");
  SaveSetting(kSection, ValueName(formName, u"Bottom"), NumberText(r.bottom));
  SaveSetting(kSection, ValueName(formName, u"Left"), NumberText(r.left));
  SaveSetting(kSection, ValueName(formName, u"Top"), NumberText(r.top));
  SaveSetting(kSection, ValueName(formName, u"Right"), NumberText(r.right));
  SaveSetting(kSection, ValueName(formName, u"Set"), u"1");
}

void SetWindowTopMost(WindowHandle window, bool topMost, bool show) {
  Rect r;
  Windows().GetRect(window, r);
  Windows().SetPos(window, topMost ? kHwndTopMost : kHwndNoTopMost, r.left, r.top, r.right - r.left,
                   r.bottom - r.top, kSwpNoActivate | (show ? kSwpShowWindow : 0));
}

bool IsWindowTopMost(WindowHandle window) { return (Windows().ExStyle(window) & kWsExTopMost) != 0; }

void EnsureTopMost(WindowHandle window) {
  if (!IsWindowTopMost(window)) SetWindowTopMost(window, true, true);
}

WindowHandle GetTopLevelWindow(WindowHandle window) {
  const WindowHandle desktop = Windows().Desktop();
  if (window == 0 || window == desktop) return 0;
  // A parent chain longer than any real one means a cycle in a fake or a dying window.
  for (int depth = 0; depth < 256; ++depth) {
    const WindowHandle parent = Windows().Parent(window);
    if (parent == 0 || parent == desktop) return window;
    window = parent;
  }
  return window;
}

void StartWindowDrag(WindowHandle window) { Windows().StartDrag(window); }
std::u16string GetWindowClassName(WindowHandle window) { return Windows().ClassName(window); }
std::u16string GetWindowTextStr(WindowHandle window) { return Windows().Text(window); }
std::u16string GetControlText(WindowHandle window) { return Windows().ControlText(window); }

void SetWindowTransparency(WindowHandle window, int level, std::optional<Colour> colorKey, std::uintptr_t hDC) {
  if (HasFoundationHost() && ProcessValues().gWinVer < 500) {
    if (colorKey) Windows().SetRegionFromPicture(window, *colorKey, hDC);
    return;
  }
  const int alpha = 255 - level;
  long style = Windows().ExStyle(window);
  style = alpha < 255 ? (style | kWsExLayered) : (style & ~kWsExLayered);
  Windows().SetExStyle(window, style);
  if (alpha >= 255) return;
  if (colorKey) {
    Windows().SetLayeredAttributes(window, *colorKey, alpha, kLwaColorKey);
  } else {
    Windows().SetLayeredAttributes(window, 0, alpha, kLwaAlpha);
  }
}

std::u16string GetRichTextW(RichTextBox& box, bool selOnly) {
  std::u16string text = box.Text();
  if (!selOnly) return text;
  const auto start = static_cast<std::size_t>(std::max(box.SelStart(), 0));
  const auto length = static_cast<std::size_t>(std::max(box.SelLength(), 0));
  return start >= text.size() ? std::u16string() : text.substr(start, length);
}

void SetRichTextW(RichTextBox& box, std::u16string_view text, bool replaceSel) {
  if (replaceSel) {
    const std::u16string all = box.Text();
    const std::size_t start = std::min(static_cast<std::size_t>(std::max(box.SelStart(), 0)), all.size());
    const std::size_t end = std::min(start + static_cast<std::size_t>(std::max(box.SelLength(), 0)), all.size());
    box.SetText(all.substr(0, start) + std::u16string(text) + all.substr(end));
  } else {
    box.SetText(text);
  }
  box.SetSelStart(static_cast<std::int32_t>(text.size()));
}

void SelectAllText(RichTextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<std::int32_t>(box.Text().size()));
}

}  // namespace parlavent::API
