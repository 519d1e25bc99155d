// Word lists: the words that begin with a typed text, from "WordsSort" (word IDs in dictionary
// order), by binary search and a walk along the run; and the quicksorts of record arrays.
#include <algorithm>

#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "foundation/settings_object.h"
#include "foundation/text.h"
#include "foundation/wildcard.h"
#include "platform/shell.h"

namespace parlavent {
namespace {

// Hoare partition around the middle element, recursing on both parts.
template <typename T, typename Less>
void QuickSort(std::vector<T>& A, long First, long Last, const Less& less) {
  // An empty or single range, or one outside the array, has nothing to sort.
  if (Last <= First || First < 0 || Last >= static_cast<long>(A.size())) return;
  const T pivot = A[static_cast<std::size_t>((First + Last) / 2)];
  long i = First, j = Last;
  while (i <= j) {
    while (less(A[static_cast<std::size_t>(i)], pivot) && i < Last) ++i;
    while (less(pivot, A[static_cast<std::size_t>(j)]) && j > First) --j;
    if (i <= j) {
      std::swap(A[static_cast<std::size_t>(i)], A[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  }
  if (First < j) QuickSort(A, First, j, less);
  if (i < Last) QuickSort(A, i, Last, less);
}

}  // namespace

bool Searches::FindSorted(std::u16string_view Text, std::vector<WordRec>& Ret, std::int32_t Limit, bool Clear,
                          std::shared_ptr<clsDic> Dic, bool AsIndex, std::int32_t DL, bool DoEvent,
                          std::int32_t& Count) {
  // Held, not referred to: a handler run while the search pumps messages may replace Appl.Dic.
  Count = 0;
  if (!Dic) return false;
  const clsDic& dic = *Dic;
  const auto L = static_cast<std::int64_t>(Text.size());
  // NoDirForType lists the words of both sides whatever the dictionary's direction.
  const bool noDir = settings_ && settings_->NoDirForType;
  const std::int32_t dir = !noDir && dic.SupportDirection ? dic.Direction() : 0;
  if (Clear) Ret.clear();
  const std::size_t base = Ret.size();
  long n = -1;
  state_.gUnicode = dic.Unicode;
  if (dic.Words < 1) return false;

  const SectionView sorted(files_.OpenFiles().Reader(dic.FileN), dic.bsWordsSort, dic.beWordsSort);
  const auto W = [&](long p) {
    std::int32_t id = 0;
    return sorted.I32(4 * std::int64_t{p}, id) ? ReadWordRec(id, dic) : WordRec{};
  };
  // The run: words from Text up to Text followed by the dictionary's last first letter.
  std::u16string U(Text);
  const std::u16string lastWord = W(dic.Words - 1).Text;
  if (!lastWord.empty()) U += lastWord[0];
  const auto inRun = [&](const WordRec& w) {
    return CompareDictOrder(Text, w.Text) <= 0 && CompareDictOrder(w.Text, U) <= 0;
  };
  long probes = 0;
  // Every 100th probe lets messages run; a new input sets gListAbort meanwhile.
  const auto aborted = [&](long counter) {
    if (!DoEvent || counter % 100 != 0) return false;
    Pump().DoEvents();
    return state_.gListAbort;
  };

  long lo = 0, hi = dic.Words - 1, mid = 0;
  for (;;) {
    if (aborted(++probes)) return false;
    mid = (lo + hi) / 2;
    const WordRec w = W(mid);
    if (inRun(w)) {
      if (Limit != 0) break;
      if (w.Text.size() >= Text.size() && EqualsNoCase(std::u16string_view(w.Text).substr(0, Text.size()), Text)) {
        return true;
      }
    }
    if (lo >= hi) return false;
    if (CompareDictOrder(Text, w.Text) < 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }

  // The first word of the run (or the one before it).
  hi = mid;
  while (lo < hi) {
    if (aborted(++probes)) return false;
    mid = (lo + hi) / 2;
    if (CompareDictOrder(W(mid).Text, Text) < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  const long start = lo;
  long last = dic.Words - 1, step = 1;
  if (AsIndex) {
    hi = dic.Words - 1;
    while (lo < hi) {
      if (aborted(++probes)) return false;
      mid = (lo + hi) / 2;
      if (CompareDictOrder(W(mid).Text, U) > 0) {
        hi = mid - 1;
      } else {
        lo = mid + 1;
      }
    }
    last = hi;
    step = std::max<long>(1, (last - start) / Limit + 1);
  }

  const std::int64_t cut = L + DL;
  bool seenRun = false;
  for (long i = start; i <= last; i += step) {
    WordRec w;
    bool outside = false;
    for (;;) {
      if (DoEvent && i % 100 == 0) {
        Pump().DoEvents();
        if (state_.gListAbort) return false;
      }
      w = W(i);
      if (!inRun(w)) {
        if (seenRun) return false;
        outside = true;
        break;
      }
      seenRun = true;
      w.Index = dic.Index;
      if (!AsIndex) break;
      if (cut >= 0 && static_cast<std::int64_t>(w.Text.size()) > cut) w.Text.resize(static_cast<std::size_t>(cut));
      // A stem must be whole and one word; past the run's end the word in hand stays.
      if (static_cast<std::int64_t>(w.Text.size()) >= cut && !Like(w.Text, u"*[ !.-]*", MatchCase::Sensitive)) break;
      if (i + 1 > last) break;
      ++i;
    }
    if (outside) continue;
    w.Text = LCase(w.Text);
    // The cut of the stems repeats a stem over neighbouring words.
    if (n >= 0 && w.Text == Ret[base + static_cast<std::size_t>(n)].Text) continue;
    if (dir == 0 || w.Dir == dir) {
      ++n;
      if (n >= Limit) return false;
      Ret.push_back(std::move(w));
      ++Count;
    }
  }
  return false;
}

void Searches::SortRecs(std::vector<TransLink>& A, long First, long Last) {
  QuickSort(A, First, Last, [](const TransLink& a, const TransLink& b) { return a.RecNo < b.RecNo; });
}

void Searches::SortByKey(std::vector<WordRec>& A, long First, long Last) {
  QuickSort(A, First, Last, [](const WordRec& a, const WordRec& b) { return a.Key < b.Key; });
}

void Searches::SortRecsByText(std::vector<WordRec>& A, long First, long Last) {
  QuickSort(A, First, Last, [](const WordRec& a, const WordRec& b) { return CompareDictOrder(a.Text, b.Text) < 0; });
}

}  // namespace parlavent
