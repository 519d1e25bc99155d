#include "foundation/api_strings.h"

#include "platform/code_page.h"
#include "text/text.h"

namespace parlavent::API {

std::u16string MakeKey(std::u16string_view value) {
  // Every filed translation makes a key or two: one allocation each.
  std::u16string key;
  key.reserve(value.size() + 1);
  key += u'k';
  key += value;
  return key;
}
std::u16string MakeKey(std::int64_t value) { return u"k" + NumberText(value); }

std::u16string DropFirstChar(std::u16string_view s) {
  return s.empty() ? std::u16string() : std::u16string(s.substr(1));
}

bool IsFirstCharUpper(std::u16string_view s) { return s.empty() || UpperChar(s[0]) == s[0]; }

std::u16string GetTextAfter(std::u16string_view s, std::u16string_view delim) {
  const std::size_t pos = FindNoCase(s, delim);
  if (pos == std::u16string_view::npos) return std::u16string(s);
  return std::u16string(s.substr(pos + 1));
}

std::u16string GetTextBefore(std::u16string_view s, std::u16string_view delim) {
  const std::size_t pos = FindNoCase(s, delim);
  if (pos == std::u16string_view::npos) return std::u16string();
  return Trim(s.substr(0, pos));
}

void SplitAt(std::u16string_view s, std::u16string& left, std::u16string& right, std::u16string_view delim) {
  const std::size_t pos = FindNoCase(s, delim);
  if (pos == std::u16string_view::npos) {
    right = std::u16string(s);
    return;
  }
  left = std::u16string(s.substr(0, pos));
  right = std::u16string(s.substr(pos + 1));
}

std::u16string TrimString(std::u16string_view s, std::u16string_view sub1, std::u16string_view sub2) {
  // Stripped as a view and copied once: a text of many repeats costs its length, not its square.
  std::u16string_view out(s);
  const auto strip = [&out](std::u16string_view sub) {
    bool changed = false;
    if (sub.empty()) return changed;
    while (StartsWithNoCase(out, sub)) {
      out.remove_prefix(sub.size());
      changed = true;
    }
    while (EndsWithNoCase(out, sub)) {
      out.remove_suffix(sub.size());
      changed = true;
    }
    return changed;
  };
  for (;;) {
    const bool first = strip(sub1);
    const bool second = strip(sub2);
    if (!first && !second) return std::u16string(out);
  }
}

std::u16string XorHashHex(std::u16string_view text, int width) {
  if (width <= 0) return std::u16string();
  std::vector<unsigned> bytes(static_cast<std::size_t>(width), 0);
  const CodePage& ansi = AnsiCodePage();
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool fits = true;
    const std::string code = ansi.Encode(text.substr(i, 1), &fits);
    if (!fits || code.size() != 1) continue;
    bytes[i % static_cast<std::size_t>(width)] ^= static_cast<unsigned char>(code[0]);
  }
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out;
  for (const unsigned b : bytes) {
    if (b >= 16) out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

}  // namespace parlavent::API
