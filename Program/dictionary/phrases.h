#pragma once
// Phrase and ending analysis: raw text into blank-separated words, and the longest dictionary
// entry that starts at a given word (Lookup::GetWordsTree in phrases.cpp).
#include <string>
#include <string_view>

namespace parlavent {

/// Punctuation and control characters become blanks, and a blank goes between a digit and a
/// character that is not one. Hyphens, apostrophes, "!" and "?" stay; runs of blanks stay.
std::u16string SplitWords(std::u16string_view t);

}  // namespace parlavent
