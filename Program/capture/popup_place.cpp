#include "capture/popup_place.h"

#include <algorithm>

#include "app/application.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"

namespace parlavent {
namespace {

constexpr long kPointerGap = 14;  // the popup keeps this far from the pointer's tip

long Clamp(long value, long low, long high) { return std::max(low, std::min(value, high)); }

bool Inside(const Rect& r, Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// How far p lies outside r (0 inside), along the farther axis.
long DistanceOutside(const Rect& r, Point p) {
  const long dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
  const long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
  return std::max(dx, dy);
}

}  // namespace

Rect PlacePopup(Point pointer, std::optional<Point> at, long width, long height, const Rect& workArea) {
  const long workW = std::max(workArea.right - workArea.left, 1L);
  const long workH = std::max(workArea.bottom - workArea.top, 1L);
  const long w = Clamp(width, 1, workW);
  const long h = Clamp(height, 1, workH);
  long left = at ? at->x : pointer.x + kPointerGap;
  long top = at ? at->y : pointer.y + kPointerGap;
  // No room to the right or below: the popup goes to the other side of the pointer.
  if (!at && left + w > workArea.right) left = pointer.x - kPointerGap - w;
  if (!at && top + h > workArea.bottom) top = pointer.y - kPointerGap - h;
  left = Clamp(left, workArea.left, workArea.left + workW - w);
  top = Clamp(top, workArea.top, workArea.top + workH - h);
  return {left, top, left + w, top + h};
}

bool PopupCloseRule::ShouldClose(const Input& in) {
  if (in.escDown) return true;
  const bool inside = Inside(in.popup, in.pointer);
  if (in.buttonDown && !inside) return true;
  if (inside || DistanceOutside(in.popup, in.pointer) <= kLeaveDistance) {
    entered_ = entered_ || inside;
    awaySince_.reset();
    return false;
  }
  // Until the user has been in the popup, only Esc or a click elsewhere closes it.
  // Until the user has been in the popup, only Esc or a click elsewhere closes it, unless the
  // user asked for it to go as soon as the pointer leaves.
  if (!entered_ && !in.hideOnLeave) return false;
  // The clock starts again at midnight.
  if (!awaySince_ || in.now < *awaySince_) awaySince_ = in.now;
  return in.now - *awaySince_ >= kLeaveSeconds;
}

Point PopupAnchor(const ShowTransArgs& args, Point pointer) {
  return args.X && args.Y ? Point{*args.X, *args.Y} : pointer;
}

std::u16string PopupMarkup(Appl& app, std::u16string_view text, std::u16string result, bool directionOk) {
  if (!result.empty()) return result;
  const bool blank = text.find_first_not_of(u" \t\r\n\u00A0") == std::u16string_view::npos;
  if (!app.Sett || !app.Sett->ShowNoTrans || app.TransAbort || !directionOk || blank) return {};
  return app.LZ(lang::kNoTranslation);
}

}  // namespace parlavent
