#include "text/text.h"

#include <algorithm>
#include <array>
#include <limits>

#include "text/text_tables.h"

namespace parlavent {
namespace {

using CaseTable = std::array<char16_t, 0x10000>;

CaseTable BuildTable(const tables::CasePair* pairs, std::size_t count) {
  CaseTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<char16_t>(i);
  for (std::size_t i = 0; i < count; ++i) table[pairs[i].from] = pairs[i].to;
  return table;
}

const CaseTable& LowerTable() {
  static const CaseTable table = BuildTable(tables::kToLower, tables::kToLowerCount);
  return table;
}

const CaseTable& UpperTable() {
  static const CaseTable table = BuildTable(tables::kToUpper, tables::kToUpperCount);
  return table;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

bool IsBlank(char16_t c) { return c == u' '; }

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    int extra = b0 < 0x80 ? 0 : (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? b0 : b0 & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= text.size()) { ok = false; break; }
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

char16_t LowerChar(char16_t c) { return LowerTable()[c]; }
char16_t UpperChar(char16_t c) { return UpperTable()[c]; }

std::u16string LCase(std::u16string_view text) {
  const CaseTable& t = LowerTable();
  std::u16string out(text);
  for (char16_t& c : out) c = t[c];
  return out;
}

std::u16string UCase(std::u16string_view text) {
  const CaseTable& t = UpperTable();
  std::u16string out(text);
  for (char16_t& c : out) c = t[c];
  return out;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  const CaseTable& t = LowerTable();
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (t[a[i]] != t[b[i]]) return false;
  }
  return true;
}

int CompareDictOrder(std::u16string_view a, std::u16string_view b) {
  const CaseTable& t = LowerTable();
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = t[a[i]];
    const char16_t y = t[b[i]];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareBinary(std::u16string_view a, std::u16string_view b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

std::size_t FindNoCase(std::u16string_view haystack, std::u16string_view needle, std::size_t from) {
  if (needle.empty() || needle.size() > haystack.size()) return std::u16string_view::npos;
  const CaseTable& t = LowerTable();
  for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && t[haystack[i + k]] == t[needle[k]]) ++k;
    if (k == needle.size()) return i;
  }
  return std::u16string_view::npos;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return prefix.size() <= text.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
  return suffix.size() <= text.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::u16string TrimLeft(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return std::u16string(text.substr(i));
}

std::u16string TrimRight(std::u16string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return std::u16string(text.substr(0, n));
}

std::u16string_view TrimView(std::u16string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  std::size_t begin = 0;
  while (begin < end && IsBlank(text[begin])) ++begin;
  return text.substr(begin, end - begin);
}

std::u16string Trim(std::u16string_view text) { return std::u16string(TrimView(text)); }

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find, std::u16string_view with) {
  if (find.empty()) return std::u16string(text);
  std::u16string out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = text.find(find, pos);
    if (hit == std::u16string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(with);
    pos = hit + find.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::vector<std::u16string> SplitText(std::u16string_view text, std::u16string_view delim) {
  std::vector<std::u16string> parts;
  if (delim.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = text.find(delim, pos);
    if (hit == std::u16string_view::npos) break;
    parts.emplace_back(text.substr(pos, hit - pos));
    pos = hit + delim.size();
  }
  parts.emplace_back(text.substr(pos));
  return parts;
}

std::u16string JoinText(const std::vector<std::u16string>& parts, std::u16string_view delim) {
  std::u16string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.append(delim);
    out.append(parts[i]);
  }
  return out;
}

std::u16string NumberText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::int64_t LeadingNumber(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (IsBlank(text[i]) || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  std::int64_t value = 0;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const int d = text[i] - u'0';
    value = value > (kMax - d) / 10 ? kMax : value * 10 + d;
  }
  return negative ? -value : value;
}

bool ParseInt64(std::u16string_view text, std::int64_t& out) {
  const std::u16string t = Trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  if (i == t.size()) return false;
  std::uint64_t value = 0;
  const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
  for (; i < t.size(); ++i) {
    if (!IsDigit(t[i])) return false;
    const unsigned d = t[i] - u'0';
    if (value > (limit - d) / 10) return false;
    value = value * 10 + d;
  }
  out = negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
  return true;
}

}  // namespace parlavent
