#pragma once
// UTF-8 read without building strings: the builder turns millions of texts into UTF-16 bytes and
// only needs their code units one by one. Well-formed means what FromUtf8 reads without U+FFFD:
// no stray or missing continuation byte, no overlong form, no surrogate, nothing above U+10FFFF.
#include <cstdint>
#include <string_view>

namespace parlavent::dictool {

/// Calls unit(c) for every UTF-16 code unit of text; false (and stops) at the first malformed
/// sequence.
template <typename Unit>
bool ForEachUtf16(std::string_view text, Unit unit) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      unit(static_cast<char16_t>(b0));
      ++i;
      continue;
    }
    const int extra = (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) return false;
    char32_t cp = b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp < 0x10000) {
      unit(static_cast<char16_t>(cp));
    } else {
      unit(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      unit(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

inline bool IsWellFormedUtf8(std::string_view text) {
  return ForEachUtf16(text, [](char16_t) {});
}

}  // namespace parlavent::dictool
