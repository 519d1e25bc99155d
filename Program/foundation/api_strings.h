#pragma once
// The API module's small string functions and the program's array and collection conventions.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent::API {

/// "k" & value: the key under which items go into keyed collections.
std::u16string MakeKey(std::u16string_view value);
std::u16string MakeKey(std::int64_t value);

/// s without its first character.
std::u16string DropFirstChar(std::u16string_view s);

/// The first character equals its upper-case form; true for the empty string.
bool IsFirstCharUpper(std::u16string_view s);

/// Text after the first delim (case-blind), skipping one character for it; all of s without delim.
std::u16string GetTextAfter(std::u16string_view s, std::u16string_view delim);

/// Text before the first delim (case-blind), trimmed of blanks; "" without delim.
std::u16string GetTextBefore(std::u16string_view s, std::u16string_view delim);

/// left = text before the first delim, right = text after it (one character skipped). Without
/// delim, left is left as it was and right = s.
void SplitAt(std::u16string_view s, std::u16string& left, std::u16string& right, std::u16string_view delim);

/// Strips sub1 (and sub2) from both ends, case-blind, until nothing changes.
std::u16string TrimString(std::u16string_view s, std::u16string_view sub1, std::u16string_view sub2 = {});

/// XOR fingerprint of text folded into width bytes (ANSI codes), as upper-case hex without
/// leading zeros per byte: "abc", 10 -> "6162630000000".
std::u16string XorHashHex(std::u16string_view text, int width);

/// Upper bound of an array that grows one element at a time: -1 when it was never filled.
template <typename T>
long SafeUBound(const std::vector<T>& array) {
  return static_cast<long>(array.size()) - 1;
}

/// Appends value (growing the array, keeping its contents) and returns its index.
template <typename T, typename V>
long ArrayAppend(std::vector<T>& array, V&& value) {
  array.push_back(std::forward<V>(value));
  return SafeUBound(array);
}

}  // namespace parlavent::API
