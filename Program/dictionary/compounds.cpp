// Compound splitting: when no phrase of a text was found, its first word may be two words
// written together ("Haustür", "getValue"). Each cut is looked up as a two-word text by a nested
// GetTranslate; the best score wins, the longer left part among equals. A cut counts only when
// each of its parts is found: "gemacht" is no "gem" and "acht", and an answer of one fragment
// would show a word the text does not contain.
#include <algorithm>

#include "dictionary/dictionary.h"
#include "dictionary/lookup_modes.h"
#include "dictionary/result_tree.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "text/text.h"

namespace parlavent {
namespace {

bool EveryPartFound(const WordSet& words) {
  if (words.Words.Count() == 0) return false;
  for (std::size_t i = 1; i <= words.Words.Count(); ++i) {
    const auto* entry = words.Words.ItemAt(i);
    if (!entry || !*entry || (*entry)->RechSet.Count() == 0) return false;
  }
  return true;
}

}  // namespace

bool SplitCompound(Lookup& lookup, std::u16string_view cleaned, const TranslateArgs& outer, bool& outerRetCheckDir,
                   CompoundSplit& best) {
  best = {};
  const std::u16string w = SplitText(cleaned, u" ")[0];
  const auto len = static_cast<std::int32_t>(w.size());
  std::int32_t lo = 3, hi = len - 2;
  // A lower-case letter followed by an upper-case one (or by no letter) marks the only cut.
  for (std::int32_t i = 3; i <= len - 2; ++i) {
    const char16_t left = w[static_cast<std::size_t>(i - 1)], right = w[static_cast<std::size_t>(i)];
    if (UpperChar(right) == right && UpperChar(left) != left) {
      lo = hi = i;
      break;
    }
  }
  // A part longer than the longest text of the packages, with an ending of ten characters and
  // a final mark cut off, can never be found: cuts that leave one are not tried. A word longer
  // than two such parts is no compound, and a pasted block of 100,000 letters costs nothing.
  // A text of len - 13 characters lets every cut be tried: the bound is read no further.
  std::int64_t longest = 0;
  if (const auto& dic = lookup.Owner().Dic) {
    PackageFiles& files = lookup.Search().Files();
    const std::int64_t enough = std::int64_t{len} - 13;
    longest = LongestText(files, *dic, enough);
    if (dic->Dicx) longest = std::max(longest, LongestText(files, *dic->Dicx, enough));
  }
  const std::int64_t reach = longest + 11;
  lo = static_cast<std::int32_t>(std::max<std::int64_t>(lo, len - reach));
  hi = static_cast<std::int32_t>(std::min<std::int64_t>(hi, reach));
  TranslateArgs nested;
  nested.SplitMode = true;
  nested.BusyShowed = outer.BusyShowed;
  nested.CheckDir = outer.CheckDir;
  nested.DirSilent = true;
  nested.OnForm = outer.OnForm;
  for (std::int32_t i = hi; i >= lo; --i) {
    const std::u16string cut = w.substr(0, static_cast<std::size_t>(i)) + u" " + w.substr(static_cast<std::size_t>(i));
    std::u16string rendering;
    std::shared_ptr<WordSet> words = std::make_shared<WordSet>();
    words->Environment = lookup.Trees();
    const std::int32_t score = lookup.GetTranslate(cut, rendering, nested, {nullptr, &outerRetCheckDir, &words});
    if (!outerRetCheckDir) return false;
    if (score > best.score && EveryPartFound(*words)) best = {score, cut, rendering, words};
  }
  return true;
}

}  // namespace parlavent
