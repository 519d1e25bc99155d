#pragma once
// Text helpers of the core. Text is UTF-16 (std::u16string), like the system's own strings.
// One case-mapping table (simple BMP mappings) serves every case-blind comparison.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

/// UTF-8 <-> UTF-16. Malformed input becomes U+FFFD; unpaired surrogates become U+FFFD in UTF-8.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

/// Simple case mappings of one UTF-16 code unit (identity where there is none).
char16_t LowerChar(char16_t c);
char16_t UpperChar(char16_t c);
std::u16string LCase(std::u16string_view text);
std::u16string UCase(std::u16string_view text);

/// Case-blind equality through the case-mapping table.
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

/// Dictionary order: both texts lower-cased, then compared code unit by code unit; a proper
/// prefix sorts first. Returns <0, 0 or >0.
int CompareDictOrder(std::u16string_view a, std::u16string_view b);

/// Binary (code unit) order, <0, 0 or >0.
int CompareBinary(std::u16string_view a, std::u16string_view b);

/// Case-blind search; npos when absent or when needle is empty.
std::size_t FindNoCase(std::u16string_view haystack, std::u16string_view needle, std::size_t from = 0);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);

/// Removes leading and trailing blanks (U+0020 only, as the system's Trim does).
std::u16string Trim(std::u16string_view text);
/// Trim's result as a part of text, without a copy (valid as long as text is).
std::u16string_view TrimView(std::u16string_view text);
std::u16string TrimLeft(std::u16string_view text);
std::u16string TrimRight(std::u16string_view text);

/// Replaces every occurrence of find (binary match); an empty find leaves text unchanged.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find, std::u16string_view with);

/// Splits at every delimiter (binary match). An empty text gives one empty part, as the system's
/// Split does not: callers that need "no parts" test for empty first.
std::vector<std::u16string> SplitText(std::u16string_view text, std::u16string_view delim);
std::u16string JoinText(const std::vector<std::u16string>& parts, std::u16string_view delim);

/// Decimal text of a number.
std::u16string NumberText(std::int64_t value);

/// Whole number at the start of text after blanks (optional sign, then digits), as Val() reads it;
/// 0 when there is none. Saturates instead of overflowing.
std::int64_t LeadingNumber(std::u16string_view text);

/// Strict whole-number parse of the whole text (blanks around allowed): false when not a number
/// or when it does not fit.
bool ParseInt64(std::u16string_view text, std::int64_t& out);

/// True for the ASCII digits 0..9.
inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace parlavent
