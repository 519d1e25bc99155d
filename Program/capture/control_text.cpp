#include "capture/control_text.h"

#include "text/text.h"

namespace parlavent {

std::size_t ControlTextReach(std::size_t end, bool richEdit) {
  // Every position before end may be a break that the text spells with two characters.
  return richEdit ? 2 * end + 2 : end + 1;
}

std::u16string AsControlCounts(std::u16string_view text, bool richEdit) {
  return richEdit ? ReplaceAll(std::u16string(text), u"\r\n", u"\r") : std::u16string(text);
}

std::u16string SelectionIn(std::u16string_view text, std::size_t start, std::size_t end, bool richEdit) {
  const std::u16string counted = AsControlCounts(text, richEdit);
  if (end <= start || end > counted.size()) return {};
  return counted.substr(start, end - start);
}

}  // namespace parlavent
