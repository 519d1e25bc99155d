#pragma once
// Where the popup window stands and when it closes, apart from any window: the Windows side's
// popup and link hint ask these, and so do the tests.
#include <optional>
#include <string>
#include <string_view>

#include "app/capture_services.h"
#include "platform/geometry.h"

namespace parlavent {

/// Where the popup is shown for: the X and Y of ShowTrans when both are given, else the pointer.
Point PopupAnchor(const ShowTransArgs& args, Point pointer);

/// The popup's place: beside the pointer (or at `at`), moved to stay within the work area and
/// no larger than it. width and height are the popup's wanted size.
Rect PlacePopup(Point pointer, std::optional<Point> at, long width, long height, const Rect& workArea);

/// When the popup closes: Esc, a button pressed outside it, or the pointer gone from it for good
/// (it was inside and has stayed more than kLeaveDistance pixels away for kLeaveSeconds).
class PopupCloseRule {
 public:
  static constexpr long kLeaveDistance = 24;
  static constexpr double kLeaveSeconds = 0.6;
  struct Input {
    Rect popup;
    Point pointer;
    bool escDown = false;
    bool buttonDown = false;
    double now = 0;            // seconds
    bool hideOnLeave = false;  // TTHide: leaving closes it even before the pointer was in it
  };
  void Reset() { entered_ = false; awaySince_.reset(); }
  bool ShouldClose(const Input& in);

 private:
  bool entered_ = false;
  std::optional<double> awaySince_;
};

class Appl;

/// What the popup shows for a look-up of text: its result, or with ShowNoTrans the notice that no
/// translation was found; empty (no popup) when the look-up was abandoned or refused for its
/// direction, or the text holds nothing to look up.
std::u16string PopupMarkup(Appl& app, std::u16string_view text, std::u16string result, bool directionOk);

}  // namespace parlavent
