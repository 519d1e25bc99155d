#include "dictionary/lookup_deps.h"

#include "dictionary/searches.h"

namespace parlavent::lookup {

bool HasEntry(Searches& search, std::u16string_view text, const clsDic& dic, bool doEvent) {
  std::vector<WordRec> unused;
  return search.FindWord(text, unused, dic, false, true, doEvent) != 0;
}

bool HasKey(Searches& search, std::u16string_view text, const clsDic& dic, bool doEvent) {
  std::vector<WordRec> unused;
  return search.FindWord(text, unused, dic, true, false, doEvent) != 0;
}

std::int32_t SideOf(Searches& search, std::u16string_view text, const clsDic& dic) {
  std::vector<WordRec> unused;
  return search.FindWord(text, unused, dic);
}

void GatherRecords(Searches& search, std::u16string_view phrase, std::vector<TransRec>& recs, const clsDic& dic,
                   bool useDir, bool clear) {
  search.GetTransRecs(phrase, recs, dic, false, useDir, clear, 0);
}

}  // namespace parlavent::lookup
