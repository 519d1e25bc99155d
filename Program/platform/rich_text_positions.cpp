#include "platform/rich_text_positions.h"

#include <algorithm>
#include <string>

namespace parlavent {
namespace {

char16_t At(std::u16string_view text, std::size_t i) { return i < text.size() ? text[i] : 0; }

}  // namespace

// Walks both texts once. Equal characters pair off; a CR LF of the plain text against a lone CR of
// the control is one break; a plain LF against a control CR is a converted break. A plain
// character the control does not have (it drops some control characters) maps to where the
// control goes on, so the rest of the text still lines up.
RichTextPositions::RichTextPositions(std::u16string_view plain, std::u16string_view control) {
  const std::size_t n = plain.size();
  const std::size_t m = control.size();
  toControl_.assign(n + 1, static_cast<std::int32_t>(m));
  toPlain_.assign(m + 1, -1);
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n && j < m) {
    const char16_t p = plain[i];
    const char16_t c = control[j];
    const bool crlfToCr = p == u'\r' && At(plain, i + 1) == u'\n' && c == u'\r' && At(control, j + 1) != u'\n';
    toControl_[i] = static_cast<std::int32_t>(j);
    if (toPlain_[j] < 0) toPlain_[j] = static_cast<std::int32_t>(i);
    if (crlfToCr) {
      toControl_[i + 1] = static_cast<std::int32_t>(j + 1);
      i += 2;
      ++j;
    } else if (p == c || (p == u'\n' && c == u'\r')) {
      ++i;
      ++j;
    } else {
      ++i;
    }
  }
  for (; i <= n; ++i) toControl_[i] = static_cast<std::int32_t>(j);
  for (std::size_t k = m + 1; k-- > 0;) {
    if (toPlain_[k] < 0) toPlain_[k] = k == m ? static_cast<std::int32_t>(n) : toPlain_[k + 1];
  }
}

std::int32_t RichTextPositions::ToControl(std::int32_t plain) const {
  if (toControl_.empty() || plain <= 0) return 0;
  return toControl_[std::min<std::size_t>(static_cast<std::size_t>(plain), toControl_.size() - 1)];
}

std::int32_t RichTextPositions::ToPlain(std::int32_t control) const {
  if (toPlain_.empty() || control <= 0) return 0;
  return toPlain_[std::min<std::size_t>(static_cast<std::size_t>(control), toPlain_.size() - 1)];
}

std::u16string ExpandBreaks(std::u16string_view control) {
  std::u16string out;
  out.reserve(control.size());
  for (std::size_t i = 0; i < control.size(); ++i) {
    out += control[i];
    if (control[i] == u'\r' && At(control, i + 1) != u'\n') out += u'\n';
  }
  return out;
}

}  // namespace parlavent
