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
#include "foundation/text.h"
#include "platform/code_page.h"
#include "platform/shell.h"

namespace parlavent {
namespace {

constexpr std::int64_t kHashRecord = 12;

// One "WordsHash" record's key as stored: its magnitude is the word's hash, its sign the side.
struct HashReader {
  SectionView section;
  bool Key(std::int64_t record, double& stored) const { return section.F64(record * kHashRecord, stored); }
  bool WordID(std::int64_t record, std::int32_t& id) const { return section.I32(record * kHashRecord + 8, id); }
};

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
  if (ID < 1 || ID > Dic.Words) return {};
  const SectionView words(files_.OpenFiles().Reader(Dic.FileN), Dic.bsWords, Dic.beWords);
  std::int32_t entry = 0, next = 0;
  if (!words.I32(4 * (std::int64_t{ID} - 1), entry) || !words.I32(4 * std::int64_t{ID}, next)) return {};
  const std::int64_t start = std::llabs(entry), end = std::llabs(next);
  std::span<const std::uint8_t> bytes;
  if (end < start || !words.Bytes(start, end - start, bytes)) return {};
  WordRec r;
  r.ID = ID;
  r.Dir = entry < 0 ? 2 : 1;
  r.Text = SectionText(state_.gUnicode, bytes);
  r.Index = Dic.Index;
  return r;
}

std::int32_t Searches::FindWord(std::u16string_view Word, std::vector<WordRec>& Ret, const clsDic& Dic, bool SideOnly,
                            bool FirstOnly, bool DoEvent) {
  state_.gUnicode = Dic.Unicode;
  // Nothing longer than the package's longest text is in it; a phrase beginning's key is one
  // blank longer. Hashing a pasted text of 100,000 characters would find nothing either. The
  // bound is read only as far as this word needs.
  const std::int64_t reach = static_cast<std::int64_t>(Word.size()) - (SideOnly ? 1 : 0);
  if (LongestText(files_, Dic, reach) < reach) return 0;
  const double key = files_.GetHash(Word);
  const HashReader hash{SectionView(files_.OpenFiles().Reader(Dic.FileN), Dic.bsWordsHash, Dic.beWordsHash)};
  std::int64_t lo = 0, hi = Dic.WordsHashUB;
  double Min = Dic.MinWordsHash, Max = Dic.MaxWordsHash;
  bool found = false;
  bool negative = false;  // sign of the last record compared
  const auto pump = [&] {
    if (DoEvent) Pump().DoEvents();
  };
  // The magnitude of record r's key; false when the record lies outside the section.
  const auto probe = [&](std::int64_t r, double& v) {
    double stored = 0;
    if (!hash.Key(r, stored)) return false;
    negative = std::signbit(stored);
    v = std::fabs(stored);
    return true;
  };

  // Interpolation: the keys are checksums, spread evenly, so a few probes land close.
  for (int n = 0; n < 6 && hi >= lo; ++n) {
    pump();
    if (Min == Max) {
      if (key == Max) {
        double v = 0;
        found = probe(lo, v);
        hi = lo;
      }
      break;
    }
    if (key < Min || key > Max) break;
    const double at = std::nearbyint((key - Min) / (Max - Min) * static_cast<double>(hi - lo) + static_cast<double>(lo));
    // Only a package whose keys are out of order puts the estimate outside the range.
    if (!(at >= static_cast<double>(lo) && at <= static_cast<double>(hi))) break;
    const auto pos = static_cast<std::int64_t>(at);
    double v = 0;
    if (!probe(pos, v)) return 0;
    if (key == v) {
      found = true;
      lo = hi = pos;
      break;
    }
    if (key < v) {
      hi = pos - 1;
      if (hi >= lo && !probe(hi, Max)) return 0;
    } else {
      lo = pos + 1;
      if (hi >= lo && !probe(lo, Min)) return 0;
    }
  }

  // Bisection, down to a single record, which is compared too (also one the interpolation left).
  while (!found && hi > lo) {
    pump();
    const std::int64_t mid = (lo + hi) / 2;
    double v = 0;
    if (!probe(mid, v)) return 0;
    if (key == v) {
      found = true;
      lo = hi = mid;
    } else if (key < v) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  if (!found && lo == hi) {
    double v = 0;
    found = probe(lo, v) && v == key;
  }
  if (!found) return 0;
  if (SideOnly && !FirstOnly) return negative ? 2 : 1;

  // The run of equal hashes: collisions, and the same text on both sides.
  const auto sameKey = [&](std::int64_t r) {
    pump();
    double stored = 0;
    return hash.Key(r, stored) && std::fabs(stored) == key;
  };
  while (lo > 0 && sameKey(lo - 1)) --lo;
  while (hi < Dic.WordsHashUB && sameKey(hi + 1)) ++hi;

  std::int32_t side = 0;
  for (std::int64_t i = lo; i <= hi; ++i) {
    std::int32_t id = 0;
    if (!hash.WordID(i, id)) continue;
    WordRec r = ReadWordRec(id, Dic);
    if (r.ID <= 0 || !EqualsNoCase(r.Text, Word)) continue;
    if (FirstOnly) return -1;
    if (side == 0) {
      side = r.Dir;
      Ret.clear();  // rebuilt from index 0, only once something matches
    } else if (r.Dir != side) {
      side = 3;
    }
    Ret.push_back(std::move(r));
  }
  return side;
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
