// Single questions about one word: its transcription, and its translations as a list or a line.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "platform/random.h"
#include "text/text.h"

namespace parlavent {

std::u16string Searches::GetTranscript(std::u16string_view Word, const std::shared_ptr<clsDic>& current) {
  // Transcriptions come with the common package: the current one itself, or the full package's
  // partner.
  if (!current) return {};
  const std::shared_ptr<clsDic> dc = current->Demo ? current : current->Dicx;
  if (!dc || dc->bsTranscr < 1 || dc->beTranscr < 1) return {};
  std::vector<WordRec> recs;
  FindWord(Word, recs, *dc);
  std::int32_t id = 0;
  for (const WordRec& r : recs) {
    if (EqualsNoCase(r.Text, Word)) {
      id = r.ID;
      break;
    }
  }
  if (id < 1 || id > dc->Words || dc->Damaged()) return {};
  const SectionView transcript(files_.OpenFiles().Reader(dc->FileN), dc->bsTranscr, dc->beTranscr);
  std::int64_t start = 0, end = 0;
  bool side2 = false;
  std::span<const std::uint8_t> bytes;
  if (!TextSpan(transcript, dc->Words, id, start, end, side2) || !transcript.Bytes(start, end - start, bytes)) {
    dc->FoundDamaged();
    return {};
  }
  if (end == start) return {};
  return SectionText(state_.gUnicode, bytes);
}

std::vector<std::u16string> Searches::GetWordTrans(std::u16string_view Word, const std::shared_ptr<clsDic>& dc,
                                                   bool Random) {
  if (!dc) return {};
  std::vector<TransRec> recs;
  GetTransRecs(Word, recs, *dc, false, false, true, 0);
  if (recs.empty()) return {};
  if (Random) {
    const long ub = SafeUBoundTransRecs(recs);
    const auto k = static_cast<std::size_t>(std::nearbyint(static_cast<double>(ub) * parlavent::Random().Next()));
    return {recs[std::min<std::size_t>(k, recs.size() - 1)].Trans.Text};
  }
  std::vector<std::u16string> texts;
  texts.reserve(recs.size());
  for (const TransRec& r : recs) texts.push_back(r.Trans.Text);
  return texts;
}

namespace {

// Two records of a word may carry the same translation (two senses, two parts of speech): a line
// of translations names each once, where it first came.
std::u16string JoinDistinct(std::vector<std::u16string> texts) {
  std::vector<std::u16string> kept;
  kept.reserve(texts.size());
  for (std::u16string& t : texts) {
    if (std::find(kept.begin(), kept.end(), t) == kept.end()) kept.push_back(std::move(t));
  }
  return JoinText(kept, u"; ");
}

}  // namespace

std::u16string Searches::GetSimpleTrans(std::u16string_view Text, const std::shared_ptr<clsDic>& current) {
  if (!current) return {};
  const std::u16string word = Trim(Text);
  std::u16string s = JoinDistinct(GetWordTrans(word, current->GetDemoDic()));
  if (s.empty() && current->Dicx) s = JoinDistinct(GetWordTrans(word, current));
  return s;
}

}  // namespace parlavent
