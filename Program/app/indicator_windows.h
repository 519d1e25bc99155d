#pragma once
// What the small indicator windows decide: where the copy and busy indicators stand beside the
// pointer and when they go, and the progress window's bar and caption. The Win32 windows
// (app/win32/indicator_forms.h) draw and place them.
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace parlavent {

/// The copy indicator: shown at the pointer, gone at the first move of more than 5 pixels or the
/// first key or button pressed.
class CopyIndicatorLogic {
 public:
  static constexpr long kWidth = 12;
  static constexpr long kHeight = 13;
  /// Remembers the pointer and returns the indicator's top-left corner.
  Point ShowAt(Point pointer);
  bool ShouldHide(Point pointer, bool anyKeyDown) const;

 private:
  Point shownAt_;
};

/// The busy indicator: follows the pointer until it is 21 pixels (across plus down) or more from
/// where the look-up began.
class BusyIndicatorLogic {
 public:
  void Start(Point pointer) { start_ = pointer; }
  static Point PlaceBeside(Point pointer) { return {pointer.x + 14, pointer.y + 4}; }
  bool Follows(Point pointer) const;

 private:
  Point start_;
};

/// The progress window's title, bar value and caption.
class ProgressLogic {
 public:
  void SetCaption(std::u16string_view text) { title_ = text; }
  const std::u16string& Title() const { return title_; }
  /// percent = (a - b) / c * 100, at most 100; false, nothing changed, when c is 0 or the
  /// values give no number.
  bool SetVal(double a, double b, double c);
  double Percent() const { return percent_; }
  /// Title & " - " & Int(percent) & "%".
  std::u16string Caption() const;

 private:
  std::u16string title_;
  double percent_ = 0;
};

}  // namespace parlavent
