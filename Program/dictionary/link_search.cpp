// Translation links: a side-1 word's links lie together in "TransW1", sorted by WordID1; a side-2
// word's are reached through "TransW2", which lists "TransW1" record numbers sorted by WordID2.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "foundation/api_strings.h"
#include "platform/shell.h"

namespace parlavent {
namespace {

enum LinkMode { kWholeRecord = 0, kWordID1 = 1, kWordID2 = 2 };

// A read without its dictionary: any word ID is taken as it stands, and any record as long as its
// offsets make it.
constexpr std::int64_t kAnyWord = INT32_MAX;

// Reads record n of "TransW1"; false when the record is not whole inside the section or a word
// it names is none of the package's (words: how many it has).
bool ReadLink(const SectionView& w1, std::int64_t n, LinkMode mode, std::int32_t headerLen, std::int64_t words,
              bool unicode, TransLink& out) {
  out = {};
  std::int64_t off = 0, end = 0;
  if (!LinkSpan(w1, n, words == kAnyWord ? 0 : headerLen, off, end)) return false;
  const auto isWord = [words](std::int32_t id) { return id >= 1 && id <= words; };
  if (mode == kWordID1) return w1.I32(off, out.WordID1) && isWord(out.WordID1);
  if (mode == kWordID2) return w1.I32(off + 4, out.WordID2) && isWord(out.WordID2);
  std::span<const std::uint8_t> record;
  if (!w1.Bytes(off, end - off, record)) return false;
  const SectionView r = w1.Part(off, end);
  std::uint16_t t1 = 0, t2 = 0, t3 = 0;
  r.I32(0, out.WordID1);
  r.I32(4, out.WordID2);
  r.U16(8, t1);
  r.U16(10, t2);
  r.U16(12, t3);
  out.Theme1 = t1;
  out.Theme2 = t2;
  out.Theme3 = t3;
  if (headerLen > 14) {
    r.U8(14, out.Rech);
    r.U8(15, out.Rod);
  }
  if (r.Length() > headerLen) out.Comment = SectionText(unicode, record.subspan(static_cast<std::size_t>(headerLen)));
  return isWord(out.WordID1) && isWord(out.WordID2);
}

// Interpolation search for id over positions [0, ub] whose values ascend from Min to Max; value(p,
// v) reads the value at p. The position of a hit, or -1. A value that cannot be read, or that does
// not lie between the values around it, sets damaged.
template <typename Value>
std::int64_t InterpolationSearch(std::int32_t id, std::int64_t ub, double Min, double Max, const Value& value,
                                 bool& damaged) {
  std::int64_t lo = 0, hi = ub;
  const auto read = [&](std::int64_t p, std::int32_t& v) {
    if (value(p, v) && v >= Min && v <= Max) return true;
    damaged = true;
    return false;
  };
  while (lo <= hi) {
    if (Max == Min) return id == Max ? lo : -1;
    const double at =
        std::nearbyint((id - Min) / (Max - Min) * static_cast<double>(hi - lo) + static_cast<double>(lo));
    if (!(at >= static_cast<double>(lo) && at <= static_cast<double>(hi))) return -1;
    const auto pos = static_cast<std::int64_t>(at);
    std::int32_t v = 0;
    if (!read(pos, v)) return -1;
    if (id == v) return pos;
    std::int32_t bound = 0;
    if (id < v) {
      hi = pos - 1;
      Max = v;
      if (hi >= lo && !read(hi, bound)) return -1;
      Max = bound;
    } else {
      lo = pos + 1;
      Min = v;
      if (hi >= lo && !read(lo, bound)) return -1;
      Min = bound;
    }
  }
  return -1;
}

}  // namespace

TransLink Searches::ReadLinkRec(std::int32_t N, std::int32_t FileN, std::int32_t Start, std::int32_t End,
                            std::int32_t Mode, std::int32_t HeaderLen) {
  TransLink link;
  if (Mode < kWholeRecord || Mode > kWordID2) return link;
  // Asked without its dictionary: any word ID is taken as it stands.
  ReadLink(SectionView(files_.OpenFiles().Reader(FileN), Start, End), N, static_cast<LinkMode>(Mode), HeaderLen,
           kAnyWord, state_.gUnicode, link);
  return link;
}

void Searches::GetTransLinks(const WordRec& W, const clsDic& Dic, std::vector<TransLink>& Links) {
  state_.gUnicode = Dic.Unicode;
  if (Dic.Damaged()) return;
  const std::int32_t id = W.ID;
  const std::int32_t headerLen = Dic.SupportRech ? 16 : 14;
  const std::int64_t words = Dic.Words;
  const PackageFile& file = files_.OpenFiles().Reader(Dic.FileN);
  const SectionView w1(file, Dic.bsTransW1, Dic.beTransW1);
  const SectionView w2(file, Dic.bsTransW2, Dic.beTransW2);
  const bool unicode = state_.gUnicode;
  // Every record and entry read lies inside its section, names what exists and stands in order;
  // the first that does not finds the package damaged, and nothing is answered from it.
  bool damaged = false;
  std::vector<TransLink> found;
  found.reserve(32);  // a common word has a few dozen links; growing by doubling moves every comment
  const auto append = [&](std::int64_t n, std::int64_t recNo) {
    TransLink l;
    if (!ReadLink(w1, n, kWholeRecord, headerLen, words, unicode, l)) {
      damaged = true;
      return;
    }
    l.RecNo = static_cast<std::int32_t>(recNo);
    found.push_back(std::move(l));
  };
  // Whether the value that value(p, v) reads at a neighbour of the hit continues the run of id:
  // false at the run's end, where it must lie beyond id in the direction of the walk.
  const auto continues = [&](const auto& value, std::int64_t p, bool before) {
    std::int32_t v = 0;
    if (!value(p, v) || (before ? v > id : v < id)) damaged = true;
    return !damaged && v == id;
  };

  // Side 1: the links of a side-1 word stand together around the hit.
  const auto wordID1 = [&](std::int64_t p, std::int32_t& v) {
    TransLink l;
    if (!ReadLink(w1, p, kWordID1, headerLen, words, unicode, l)) return false;
    v = l.WordID1;
    return true;
  };
  std::int64_t f = InterpolationSearch(id, Dic.UBTW1, Dic.MinTW1, Dic.MaxTW1, wordID1, damaged);
  if (f >= 0) {
    append(f, f);
    for (std::int64_t p = f - 1; p >= 0 && continues(wordID1, p, true); --p) append(p, p);
    for (std::int64_t p = f + 1; p <= Dic.UBTW1 && continues(wordID1, p, false); ++p) append(p, p);
  }

  // Side 2, only for a word that has no side-1 links: through the "TransW2" index, whose entries
  // name "TransW1" records, those of one word in record order.
  if (found.empty() && !damaged) {
    const auto record = [&](std::int64_t p, std::int32_t& n) { return w2.I32(4 * p, n); };
    const auto wordID2 = [&](std::int64_t p, std::int32_t& v) {
      std::int32_t n = 0;
      TransLink l;
      if (!record(p, n) || !ReadLink(w1, n, kWordID2, headerLen, words, unicode, l)) return false;
      v = l.WordID2;
      return true;
    };
    f = InterpolationSearch(id, Dic.UBTW2, Dic.MinTW2, Dic.MaxTW2, wordID2, damaged);
    if (f >= 0) {
      std::int32_t hit = 0;
      record(f, hit);
      std::int32_t nearest = hit;  // the record named next to the hit on the side walked
      const auto appendEntry = [&](std::int64_t p, bool before) {
        std::int32_t n = 0;
        if (!record(p, n) || (p != f && (before ? n >= nearest : n <= nearest))) {
          damaged = true;
          return;
        }
        nearest = n;
        append(n, p + kTransW2RecNo);
      };
      appendEntry(f, false);
      for (std::int64_t p = f - 1; p >= 0 && continues(wordID2, p, true); --p) appendEntry(p, true);
      nearest = hit;
      for (std::int64_t p = f + 1; p <= Dic.UBTW2 && continues(wordID2, p, false); ++p) appendEntry(p, false);
    }
  }

  if (damaged) Dic.FoundDamaged();
  if (found.empty() || damaged) return;
  SortRecs(found, 0, SafeUBoundTransLinks(found));
  Links = std::move(found);
}

ThemeRec Searches::GetThemeRec(const clsDic& Dic, std::int32_t ID) {
  const auto theme = Dic.GetTheme(ID);
  if (!theme) return {};
  return {ID, theme->Name, theme->Short};
}

void Searches::AddTransRec(std::vector<TransRec>& Ret, const WordRec& W, const TransLink& L, const clsDic& Dic) {
  TransRec& r = Ret.emplace_back();
  r.Index = Dic.Index;
  r.Word = W;
  r.Trans = ReadWordRec(L.WordID1 != W.ID ? L.WordID1 : L.WordID2, Dic);
  r.Comment = L.Comment;
  if (L.Theme1 >= 1) r.Theme1 = GetThemeRec(Dic, L.Theme1);
  if (L.Theme2 > 0) r.Theme2 = GetThemeRec(Dic, L.Theme2);
  if (L.Theme3 > 0) r.Theme3 = GetThemeRec(Dic, L.Theme3);
  r.Rod = L.Rod;
  r.Rech = L.Rech;
}

void Searches::GetTransRecs(std::u16string_view Word, std::vector<TransRec>& Ret, const clsDic& Dic, bool DoEvent,
                        bool UseDir, bool Clear, std::int32_t WordID) {
  if (Clear) Ret.clear();
  if (Dic.Damaged()) return;
  const std::size_t before = Ret.size();
  const std::int32_t dir = UseDir ? Dic.Direction() : 0;
  std::vector<WordRec> words;
  if (WordID != 0) {
    words.emplace_back().ID = WordID;
  } else {
    FindWord(Word, words, Dic);
  }
  for (const WordRec& w : words) {
    if (dir != 0 && w.Dir != dir) continue;
    std::vector<TransLink> links;
    GetTransLinks(w, Dic, links);
    // Room for the links, growing by doubling: the common-translation list appends the records
    // of every item, and room made to measure would move them all again for each item.
    if (const std::size_t need = Ret.size() + links.size(); need > Ret.capacity()) {
      Ret.reserve(std::max(need, 2 * Ret.capacity()));
    }
    for (const TransLink& l : links) {
      if (DoEvent) Pump().DoEvents();
      AddTransRec(Ret, w, l, Dic);
    }
  }
  // A damaged record read on the way leaves nothing of this package's.
  if (Dic.Damaged()) Ret.erase(Ret.begin() + static_cast<std::ptrdiff_t>(before), Ret.end());
}

long Searches::SafeUBoundTransRecs(const std::vector<TransRec>& A) { return API::SafeUBound(A); }
long Searches::SafeUBoundWordRecs(const std::vector<WordRec>& A) { return API::SafeUBound(A); }
long Searches::SafeUBoundTransLinks(const std::vector<TransLink>& A) { return API::SafeUBound(A); }

}  // namespace parlavent
