#include "dictionary/keyboard_layers.h"

#include "text/text.h"

namespace parlavent {

std::int64_t clsPrefix::PairLayout(std::u16string_view pair) {
  const std::size_t colon = pair.find(u':');
  std::int64_t layout = 0;
  if (!ParseInt64(pair.substr(0, colon), layout)) return -1;
  return layout;
}

bool clsPrefix::HasLayout(std::int64_t layout) const {
  for (const auto& pair : SplitText(Layouts, u",")) {
    if (PairLayout(pair) == layout) return true;
  }
  return false;
}

}  // namespace parlavent
