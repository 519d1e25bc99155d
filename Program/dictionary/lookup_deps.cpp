#include "dictionary/lookup_deps.h"

#include "app/application.h"
#include "foundation/lang_table.h"

namespace parlavent::lookup {

bool HasEntry(std::u16string_view text, const clsDic& dic, bool doEvent) {
  std::vector<WordRec> unused;
  return gAppl().FindWord(text, unused, dic, false, true, doEvent) != 0;
}

bool HasKey(std::u16string_view text, const clsDic& dic, bool doEvent) {
  std::vector<WordRec> unused;
  return gAppl().FindWord(text, unused, dic, true, false, doEvent) != 0;
}

std::int32_t SideOf(std::u16string_view text, const clsDic& dic) {
  std::vector<WordRec> unused;
  return gAppl().FindWord(text, unused, dic);
}

void GatherRecords(std::u16string_view phrase, std::vector<TransRec>& recs, const clsDic& dic, bool useDir,
                   bool clear) {
  gAppl().GetTransRecs(phrase, recs, dic, false, useDir, clear, 0);
}

std::u16string Transcript(std::u16string_view word) { return gAppl().GetTranscript(word); }

const Setting* Settings() { return HasAppl() ? G().gSetting.get() : nullptr; }

std::u16string LangStr(std::int32_t n) { return mdlPublic::GetLangStr(n); }

}  // namespace parlavent::lookup
