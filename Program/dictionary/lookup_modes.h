#pragma once
// The look-up's two special modes, run from inside GetTranslate (lookup.cpp).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dictionary/lookup.h"

namespace parlavent {

class Lookup;
class WordSet;

/// Adds score to total unless the sum leaves the 32-bit range (the system skips an overflowing
/// addition).
void AddScore(std::int32_t& total, std::int64_t score);

/// The best cut of a compound: its score, its covered text (the two parts), rendering and tree.
struct CompoundSplit {
  std::int32_t score = 0;
  std::u16string inText;
  std::u16string rendering;
  std::shared_ptr<WordSet> words;
};

/// Tries the first word of the cleaned text cut in two, each cut as a nested look-up. False when
/// a cut was refused for its direction (the whole look-up ends then); otherwise best holds the
/// winning cut, score 0 when none scored.
bool SplitCompound(Lookup& lookup, std::u16string_view cleaned, const TranslateArgs& outer, bool& outerRetCheckDir,
                   CompoundSplit& best);

/// Common-translation list mode: one entry for the whole Text, holding the translations that
/// every item of the list has (Text split at "," when it has one, else at blanks).
void FillCommonList(Lookup& lookup, std::u16string_view Text, WordSet& words);

}  // namespace parlavent
