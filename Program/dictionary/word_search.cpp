// Exact word look-up through the hash index "WordsHash", and word records by ID from "Words".
#include <cmath>
#include <cstdlib>

#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_file.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "platform/code_page.h"
#include "platform/shell.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int64_t kHashRecord = 12;

// One "WordsHash" record's key as stored: its magnitude is the word's hash, its sign the side.
struct HashReader {
  SectionView section;
  bool Key(std::int64_t record, double& stored) const { return section.F64(record * kHashRecord, stored); }
  bool WordID(std::int64_t record, std::int32_t& id) const { return section.I32(record * kHashRecord + 8, id); }
};

// A look-up of one hash key in "WordsHash": the bounds still open, the keys at them, and the sign
// of the last record compared (the side of a match found by its key alone). Every key read must
// lie between the keys read at the records around it (floor and ceiling, from the section's first
// and last keys on): one that does not, or no key at all, finds the package damaged.
struct HashSearch {
  HashReader hash;
  double key = 0;
  bool doEvent = false;
  std::int64_t lo = 0, hi = 0;
  double Min = 0, Max = 0;
  double floor = 0, ceiling = 0;
  bool found = false;
  bool negative = false;
  bool damaged = false;

  void LetMessagesRun() const {
    if (doEvent) Pump().DoEvents();
  }

  // The magnitude of record r's key; false when the record lies outside the section or its key is
  // out of order.
  bool Probe(std::int64_t r, double& v) {
    double stored = 0;
    if (!hash.Key(r, stored)) return damaged = true, false;
    negative = std::signbit(stored);
    v = std::fabs(stored);
    if (!IsPackageKey(v) || v < floor || v > ceiling) return damaged = true, false;
    return true;
  }
  // Record r's key; the records before it have none larger, those behind it none smaller.
  bool ProbeAbove(std::int64_t r, double& v) { return Probe(r, v) && (ceiling = v, true); }
  bool ProbeBelow(std::int64_t r, double& v) { return Probe(r, v) && (floor = v, true); }

  // Interpolation: the keys are checksums, spread evenly, so a few probes land close. False when
  // a probe fell outside the section.
  bool Interpolate() {
    for (int n = 0; n < 6 && hi >= lo; ++n) {
      LetMessagesRun();
      if (Min == Max) {
        if (key == Max) {
          double v = 0;
          found = Probe(lo, v);
          hi = lo;
        }
        return true;
      }
      if (key < Min || key > Max) return true;
      const double at =
          std::nearbyint((key - Min) / (Max - Min) * static_cast<double>(hi - lo) + static_cast<double>(lo));
      // Only a package whose keys are out of order puts the estimate outside the range.
      if (!(at >= static_cast<double>(lo) && at <= static_cast<double>(hi))) return true;
      const auto pos = static_cast<std::int64_t>(at);
      double v = 0;
      if (!Probe(pos, v)) return false;
      if (key == v) {
        found = true;
        lo = hi = pos;
        return true;
      }
      if (key < v) {
        hi = pos - 1;
        ceiling = v;
        if (hi >= lo && !ProbeAbove(hi, Max)) return false;
      } else {
        lo = pos + 1;
        floor = v;
        if (hi >= lo && !ProbeBelow(lo, Min)) return false;
      }
    }
    return true;
  }

  // Bisection, down to a single record, which is compared too (also one the interpolation left).
  // False when a probe fell outside the section.
  bool Bisect() {
    while (!found && hi > lo) {
      LetMessagesRun();
      const std::int64_t mid = (lo + hi) / 2;
      double v = 0;
      if (!Probe(mid, v)) return false;
      if (key == v) {
        found = true;
        lo = hi = mid;
      } else if (key < v) {
        hi = mid - 1;
        ceiling = v;
      } else {
        lo = mid + 1;
        floor = v;
      }
    }
    if (!found && lo == hi) {
      double v = 0;
      found = Probe(lo, v) && v == key;
    }
    return true;
  }

  // The run of equal hashes around the match: collisions, and the same text on both sides. The
  // keys beside it must be smaller in front and larger behind.
  void WidenToRun(std::int64_t last) {
    const auto sameKey = [&](std::int64_t r, bool before) {
      LetMessagesRun();
      double stored = 0;
      if (!hash.Key(r, stored)) return damaged = true, false;
      const double v = std::fabs(stored);
      if (!IsPackageKey(v) || (before ? v > key : v < key)) return damaged = true, false;
      return v == key;
    };
    while (lo > 0 && sameKey(lo - 1, true)) --lo;
    while (hi < last && sameKey(hi + 1, false)) ++hi;
  }
};

// The records of the run whose text is Word: FirstOnly -1 at the first; else their side (1, 2, or 3
// for both) with the records in Ret from index 0, and 0 with Ret untouched when none is.
// A record naming no word finds the package damaged, and then nothing is answered.
std::int32_t MatchText(Searches& searches, std::u16string_view Word, const HashSearch& run, const clsDic& Dic,
                       bool FirstOnly, std::vector<WordRec>& Ret) {
  std::int32_t side = 0;
  std::vector<WordRec> matches;
  for (std::int64_t i = run.lo; i <= run.hi; ++i) {
    std::int32_t id = 0;
    if (!run.hash.WordID(i, id) || id < 1 || id > Dic.Words) {
      Dic.FoundDamaged();
      return 0;
    }
    WordRec r = searches.ReadWordRec(id, Dic);
    if (Dic.Damaged()) return 0;
    if (!EqualsNoCase(r.Text, Word)) continue;
    if (FirstOnly) return -1;
    if (side == 0) {
      side = r.Dir;
    } else if (r.Dir != side) {
      side = 3;
    }
    matches.push_back(std::move(r));
  }
  if (side != 0) Ret = std::move(matches);  // rebuilt from index 0, only once something matches
  return side;
}

}  // namespace

Searches::Searches(EngineState& state, PackageFiles& files, const std::shared_ptr<Setting>& settings)
    : state_(state), files_(files), settings_(settings) {}

std::u16string Searches::GetByteStr(const std::vector<std::uint8_t>& b) { return SectionText(false, b); }

std::u16string Searches::GetCurCharSetString(std::u16string_view S) {
  if (S.empty()) return {};
  const CodePage& ansi = AnsiCodePage();
  std::vector<std::uint8_t> bytes;
  bytes.reserve(2 * S.size());
  for (char16_t c : S) {
    for (const std::uint8_t b : {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)}) {
      const std::string code = ansi.Encode(ansi.Decode(std::string(1, static_cast<char>(b))));
      bytes.push_back(code.size() == 1 ? static_cast<std::uint8_t>(code[0]) : b);
    }
  }
  return DecodeUtf16Le(bytes);
}

WordRec Searches::ReadWordRec(std::int32_t ID, const clsDic& Dic) {
  // A read of Dic sets the flag from it, as every search does: a word asked by its ID alone (the
  // learning cards, the retranslation export) would otherwise be decoded in the mode of whatever
  // package was read before.
  state_.gUnicode = Dic.Unicode;
  if (ID < 1 || ID > Dic.Words || Dic.Damaged()) return {};
  const SectionView words(files_.OpenFiles().Reader(Dic.FileN), Dic.bsWords, Dic.beWords);
  std::int64_t start = 0, end = 0;
  bool side2 = false;
  std::span<const std::uint8_t> bytes;
  if (!TextSpan(words, Dic.Words, ID, start, end, side2) || !words.Bytes(start, end - start, bytes)) {
    Dic.FoundDamaged();
    return {};
  }
  WordRec r;
  r.ID = ID;
  r.Dir = side2 ? 2 : 1;
  r.Text = SectionText(state_.gUnicode, bytes);
  r.Index = Dic.Index;
  return r;
}

std::int32_t Searches::FindWord(std::u16string_view Word, std::vector<WordRec>& Ret, const clsDic& Dic, bool SideOnly,
                            bool FirstOnly, bool DoEvent) {
  state_.gUnicode = Dic.Unicode;
  if (Dic.Damaged()) return 0;
  // Nothing longer than the package's longest text is in it; a phrase beginning's key is one
  // blank longer. Hashing a pasted text of 100,000 characters would find nothing either. The
  // bound is read only as far as this word needs.
  const std::int64_t reach = static_cast<std::int64_t>(Word.size()) - (SideOnly ? 1 : 0);
  if (LongestText(files_, Dic, reach) < reach) return 0;
  const double key = files_.GetHash(Word);
  HashSearch search{.hash = {SectionView(files_.OpenFiles().Reader(Dic.FileN), Dic.bsWordsHash, Dic.beWordsHash)},
                    .key = key,
                    .doEvent = DoEvent,
                    .lo = 0,
                    .hi = Dic.WordsHashUB,
                    .Min = Dic.MinWordsHash,
                    .Max = Dic.MaxWordsHash,
                    .floor = std::fabs(Dic.MinWordsHash),
                    .ceiling = std::fabs(Dic.MaxWordsHash)};
  const bool searched = search.Interpolate() && search.Bisect();
  if (search.damaged) Dic.FoundDamaged();
  if (!searched || !search.found || search.damaged) return 0;
  if (SideOnly && !FirstOnly) return search.negative ? 2 : 1;
  search.WidenToRun(Dic.WordsHashUB);
  if (search.damaged) {
    Dic.FoundDamaged();
    return 0;
  }
  return MatchText(*this, Word, search, Dic, FirstOnly, Ret);
}

bool Searches::WordExist(std::u16string_view Word, const clsDic& Dic) {
  std::vector<WordRec> unused;
  return FindWord(Word, unused, Dic, true) != 0;
}

std::u16string Searches::GetWordStrByID(std::int32_t ID, const std::shared_ptr<clsDic>& dc, std::int32_t* RetDir) {
  if (!dc) return {};
  const WordRec r = ReadWordRec(ID, *dc);
  if (RetDir) *RetDir = r.Dir;
  return r.Text;
}

}  // namespace parlavent
