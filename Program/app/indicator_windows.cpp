#include "app/indicator_windows.h"

#include <cmath>
#include <cstdlib>

#include "foundation/api_input.h"
#include "text/text.h"

namespace parlavent {

Point CopyIndicatorLogic::ShowAt(Point pointer) {
  shownAt_ = pointer;
  return {pointer.x + 16, pointer.y + 8};
}

bool CopyIndicatorLogic::ShouldHide(Point pointer, bool anyKeyDown) const {
  return anyKeyDown || API::GetPointDistance(pointer, shownAt_) > 5;
}

bool BusyIndicatorLogic::Follows(Point pointer) const {
  return std::labs(pointer.x - start_.x) + std::labs(pointer.y - start_.y) < 21;
}

bool ProgressLogic::SetVal(double a, double b, double c) {
  if (c == 0) return false;
  const double percent = (a - b) / c * 100;
  if (!std::isfinite(percent)) return false;
  percent_ = percent > 100 ? 100 : percent;
  return true;
}

std::u16string ProgressLogic::Caption() const {
  return title_ + u" - " + NumberText(static_cast<std::int64_t>(std::floor(percent_))) + u"%";
}

}  // namespace parlavent
