// Word lists: the words that begin with a typed text, from "WordsSort" (word IDs in dictionary
// order), by binary search and a walk along the run; and the quicksorts of record arrays.
#include <algorithm>
#include <optional>

#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "foundation/settings_object.h"
#include "foundation/wildcard.h"
#include "platform/shell.h"
#include "text/text.h"

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

// One prefix search over "WordsSort": the word at a position, the run of words from the text up to
// its upper bound, and the count of the probes that find the run.
struct SortedRun {
  Searches& searches;
  EngineState& state;
  const clsDic& dic;
  std::u16string_view text;
  SectionView sorted;
  bool doEvent = false;
  std::u16string upper{};  // the text followed by the dictionary's last first letter
  long probes = 0;

  // The word at position p; an entry naming no word finds the package damaged.
  WordRec At(long p) const {
    std::int32_t id = 0;
    if (!sorted.I32(4 * std::int64_t{p}, id) || id < 1 || id > dic.Words) {
      dic.FoundDamaged();
      return {};
    }
    return searches.ReadWordRec(id, dic);
  }

  void SetUpperBound() {
    upper = text;
    const std::u16string lastWord = At(dic.Words - 1).Text;
    if (!lastWord.empty()) upper += lastWord[0];
  }

  bool InRun(const WordRec& w) const {
    return CompareDictOrder(text, w.Text) <= 0 && CompareDictOrder(w.Text, upper) <= 0;
  }

  // Every 100th probe lets messages run; a new input sets gListAbort meanwhile.
  bool Aborted() {
    ++probes;
    if (!doEvent || probes % 100 != 0) return false;
    Pump().DoEvents();
    return state.gListAbort;
  }
};

// Miss: no word of the run, or the search was abandoned.
enum class Landing { Miss, Exists, InRun };

// Bisection until a probe lands in the run (mid holds it). With existence, a word that begins
// with the text is all that is asked, and one in the run that does not is passed over.
Landing LandInRun(SortedRun& run, bool existence, long& lo, long& hi, long& mid) {
  for (;;) {
    if (run.Aborted()) return Landing::Miss;
    mid = (lo + hi) / 2;
    const WordRec w = run.At(mid);
    if (run.InRun(w)) {
      if (!existence) return Landing::InRun;
      if (w.Text.size() >= run.text.size() &&
          EqualsNoCase(std::u16string_view(w.Text).substr(0, run.text.size()), run.text)) {
        return Landing::Exists;
      }
    }
    if (lo >= hi) return Landing::Miss;
    if (CompareDictOrder(run.text, w.Text) < 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
}

// The first word of the run (or the one before it), from a hit at mid; none when abandoned.
std::optional<long> RunStart(SortedRun& run, long lo, long mid) {
  long hi = mid;
  while (lo < hi) {
    if (run.Aborted()) return std::nullopt;
    mid = (lo + hi) / 2;
    if (CompareDictOrder(run.At(mid).Text, run.text) < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

// The last word of the run, searched from its start; none when abandoned.
std::optional<long> RunEnd(SortedRun& run, long lo) {
  long hi = run.dic.Words - 1;
  while (lo < hi) {
    if (run.Aborted()) return std::nullopt;
    const long mid = (lo + hi) / 2;
    if (CompareDictOrder(run.At(mid).Text, run.upper) > 0) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return hi;
}

// What the walk along the run collects, and where.
struct RunWalk {
  std::vector<WordRec>& ret;
  std::size_t base = 0;
  std::int32_t limit = 0;
  bool asIndex = false;
  std::int64_t cut = 0;  // AsIndex: the length a stem is cut to
  std::int32_t dir = 0;  // 0: both sides
  std::int32_t& count;
  long n = -1;           // the last word appended, relative to base
  bool seenRun = false;
};

enum class Take { Word, Skip, Stop };

// The word at i: Skip before the run, Stop past it or when abandoned. AsIndex moves i along to
// the first word whose stem is whole and one word; past the run's end the word in hand stays.
Take TakeWord(SortedRun& run, RunWalk& walk, long& i, long last, WordRec& w) {
  for (;;) {
    if (run.doEvent && i % 100 == 0) {
      Pump().DoEvents();
      if (run.state.gListAbort) return Take::Stop;
    }
    w = run.At(i);
    if (!run.InRun(w)) return walk.seenRun ? Take::Stop : Take::Skip;
    walk.seenRun = true;
    w.Index = run.dic.Index;
    if (!walk.asIndex) return Take::Word;
    const std::int64_t cut = walk.cut;
    if (cut >= 0 && static_cast<std::int64_t>(w.Text.size()) > cut) w.Text.resize(static_cast<std::size_t>(cut));
    if (static_cast<std::int64_t>(w.Text.size()) >= cut && !Like(w.Text, u"*[ !.-]*", MatchCase::Sensitive)) {
      return Take::Word;
    }
    if (i + 1 > last) return Take::Word;
    ++i;
  }
}

// Appends the words of the run from start to last by step, lower case, each once. Words out of
// dictionary order find the package damaged.
void WalkRun(SortedRun& run, RunWalk& walk, long start, long last, long step) {
  std::u16string previous;
  for (long i = start; i <= last; i += step) {
    WordRec w;
    const Take take = TakeWord(run, walk, i, last, w);
    if (take == Take::Stop || run.dic.Damaged()) return;
    if (!walk.asIndex) {
      if (i > start && CompareDictOrder(previous, w.Text) > 0) {
        run.dic.FoundDamaged();
        return;
      }
      previous = w.Text;
    }
    if (take == Take::Skip) continue;
    w.Text = LCase(w.Text);
    // The cut of the stems repeats a stem over neighbouring words.
    if (walk.n >= 0 && w.Text == walk.ret[walk.base + static_cast<std::size_t>(walk.n)].Text) continue;
    if (walk.dir == 0 || w.Dir == walk.dir) {
      ++walk.n;
      if (walk.n >= walk.limit) return;
      walk.ret.push_back(std::move(w));
      ++walk.count;
    }
  }
}

}  // namespace

bool Searches::FindSorted(std::u16string_view Text, std::vector<WordRec>& Ret, std::int32_t Limit, bool Clear,
                          std::shared_ptr<clsDic> Dic, bool AsIndex, std::int32_t DL, bool DoEvent,
                          std::int32_t& Count) {
  // Held, not referred to: a handler run while the search pumps messages may replace Appl.Dic.
  Count = 0;
  if (!Dic) return false;
  const clsDic& dic = *Dic;
  // NoDirForType lists the words of both sides whatever the dictionary's direction.
  const bool noDir = settings_ && settings_->NoDirForType;
  const std::int32_t dir = !noDir && dic.SupportDirection ? dic.Direction() : 0;
  if (Clear) Ret.clear();
  RunWalk walk{.ret = Ret,
               .base = Ret.size(),
               .limit = Limit,
               .asIndex = AsIndex,
               .cut = static_cast<std::int64_t>(Text.size()) + DL,
               .dir = dir,
               .count = Count};
  state_.gUnicode = dic.Unicode;
  if (dic.Words < 1 || dic.Damaged()) return false;
  // Whatever was found before a damaged record turned up is not answered.
  const auto answer = [&](bool result) {
    if (!dic.Damaged()) return result;
    Ret.resize(walk.base);
    Count = 0;
    return false;
  };

  SortedRun run{.searches = *this,
                .state = state_,
                .dic = dic,
                .text = Text,
                .sorted = SectionView(files_.OpenFiles().Reader(dic.FileN), dic.bsWordsSort, dic.beWordsSort),
                .doEvent = DoEvent};
  run.SetUpperBound();
  long lo = 0, hi = dic.Words - 1, mid = 0;
  const Landing landing = LandInRun(run, Limit == 0, lo, hi, mid);
  if (landing != Landing::InRun) return answer(landing == Landing::Exists);
  const std::optional<long> start = RunStart(run, lo, mid);
  if (!start) return answer(false);
  long last = dic.Words - 1, step = 1;
  if (AsIndex) {
    const std::optional<long> end = RunEnd(run, *start);
    if (!end) return answer(false);
    last = *end;
    step = std::max<long>(1, (last - *start) / Limit + 1);
  }
  WalkRun(run, walk, *start, last, step);
  return answer(false);
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
