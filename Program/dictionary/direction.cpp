// Direction choice: on which side of a dictionary a text lies, and whether the current
// dictionary's chosen direction accepts it.
#include "dictionary/dictionary.h"
#include "dictionary/lookup.h"
#include "dictionary/lookup_deps.h"
#include "dictionary/phrases.h"
#include "text/text.h"

namespace parlavent {
namespace {

// The side of t, else of its first cleaned word.
std::int32_t SideOfTextOrFirstWord(Searches& search, std::u16string_view t, std::u16string_view firstWord,
                                   const clsDic& dic) {
  std::int32_t r = lookup::SideOf(search, t, dic);
  if (r == 0 && !EqualsNoCase(firstWord, t)) r = lookup::SideOf(search, firstWord, dic);
  return r;
}

}  // namespace

std::int32_t Lookup::GetDir(std::u16string_view t, const std::shared_ptr<clsDic>& Dic) {
  if (!Dic) return 0;
  std::u16string w = Trim(SplitWords(t));
  if (const auto blank = w.find(u' '); blank != std::u16string::npos) w.erase(blank);
  std::int32_t r = SideOfTextOrFirstWord(search_, t, w, *Dic);
  if (r != 0) return r;
  // Only one of the pair is asked, the companion first.
  if (Dic->Dicx) return SideOfTextOrFirstWord(search_, t, w, *Dic->Dicx);
  if (const auto full = Dic->FullDic.lock()) return SideOfTextOrFirstWord(search_, t, w, *full);
  return 0;
}

bool Lookup::CheckDirection(std::u16string_view t) {
  const std::shared_ptr<clsDic>& Dic = slots_.Dic;
  const std::int32_t d = Dic ? Dic->Direction() : 0;
  if (d == 0) return true;
  const std::int32_t g = GetDir(t, Dic);
  return g == 3 || g == d;
}

}  // namespace parlavent
