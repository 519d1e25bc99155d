#pragma once
// The system's pattern match ("Like"):
//   *        any run of characters, also none      ?        exactly one character
//   #        one digit 0-9                          [abc]    one of the listed characters
//   [a-z]    one character of a range               [!a-z]   one character not in the list
//   []       the empty string
// Any other character matches itself; "[*]" matches a literal "*". A pattern with an unclosed
// "[" matches nothing.
#include <string_view>

namespace parlavent {

enum class MatchCase { Sensitive, Blind };

/// True when the whole text matches the pattern.
bool Like(std::u16string_view text, std::u16string_view pattern, MatchCase mode = MatchCase::Blind);

}  // namespace parlavent
