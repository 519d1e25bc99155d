// Translation links: a side-1 word's links lie together in "TransW1", sorted by WordID1; a side-2
// word's are reached through "TransW2", which lists "TransW1" record numbers sorted by WordID2.
#include <algorithm>
#include <cmath>

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

// Reads record n of "TransW1"; false when the record or the field lies outside the section.
bool ReadLink(const SectionView& w1, std::int64_t n, LinkMode mode, std::int32_t headerLen, bool unicode,
              TransLink& out) {
  out = {};
  std::int32_t off = 0;
  if (n < 0 || !w1.I32(4 * n, off)) return false;
  if (mode == kWordID1) return w1.I32(off, out.WordID1);
  if (mode == kWordID2) return w1.I32(std::int64_t{off} + 4, out.WordID2);
  // The record ends where the next begins; the last one (by the table's own length) at the
  // section end.
  std::int32_t table = 0;
  w1.I32(0, table);
  std::int64_t end = w1.Length();
  if (n != std::int64_t{table} / 4 - 1) {
    std::int32_t next = 0;
    if (!w1.I32(4 * (n + 1), next)) return false;
    end = next;
  }
  std::span<const std::uint8_t> record;
  if (end < off || !w1.Bytes(off, end - off, record)) return false;
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
  return true;
}

// Interpolation search for id over positions [0, ub] whose values ascend; value(p, v) reads the
// value at p. The position of a hit, or -1.
template <typename Value>
std::int64_t InterpolationSearch(std::int32_t id, std::int64_t ub, double Min, double Max, const Value& value) {
  std::int64_t lo = 0, hi = ub;
  while (lo <= hi) {
    if (Max == Min) return id == Max ? lo : -1;
    const double at =
        std::nearbyint((id - Min) / (Max - Min) * static_cast<double>(hi - lo) + static_cast<double>(lo));
    if (!(at >= static_cast<double>(lo) && at <= static_cast<double>(hi))) return -1;
    const auto pos = static_cast<std::int64_t>(at);
    std::int32_t v = 0;
    if (!value(pos, v)) return -1;
    if (id == v) return pos;
    std::int32_t bound = 0;
    if (id < v) {
      hi = pos - 1;
      if (hi >= lo && !value(hi, bound)) return -1;
      Max = bound;
    } else {
      lo = pos + 1;
      if (hi >= lo && !value(lo, bound)) return -1;
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
  ReadLink(SectionView(files_.OpenFiles().Reader(FileN), Start, End), N, static_cast<LinkMode>(Mode), HeaderLen,
           state_.gUnicode, link);
  return link;
}

void Searches::GetTransLinks(const WordRec& W, const clsDic& Dic, std::vector<TransLink>& Links) {
  state_.gUnicode = Dic.Unicode;
  const std::int32_t id = W.ID;
  const std::int32_t headerLen = Dic.SupportRech ? 16 : 14;
  const PackageFile& file = files_.OpenFiles().Reader(Dic.FileN);
  const SectionView w1(file, Dic.bsTransW1, Dic.beTransW1);
  const SectionView w2(file, Dic.bsTransW2, Dic.beTransW2);
  const bool unicode = state_.gUnicode;
  std::vector<TransLink> found;
  found.reserve(32);  // a common word has a few dozen links; growing by doubling moves every comment
  // Appends record n (numbered recNo) when it reads; false when it does not.
  const auto append = [&](std::int64_t n, std::int64_t recNo) {
    TransLink l;
    if (!ReadLink(w1, n, kWholeRecord, headerLen, unicode, l)) return;
    l.RecNo = static_cast<std::int32_t>(recNo);
    found.push_back(std::move(l));
  };

  // Side 1: the links of a side-1 word stand together around the hit.
  const auto wordID1 = [&](std::int64_t p, std::int32_t& v) {
    TransLink l;
    if (!ReadLink(w1, p, kWordID1, headerLen, unicode, l)) return false;
    v = l.WordID1;
    return true;
  };
  std::int64_t f = InterpolationSearch(id, Dic.UBTW1, Dic.MinTW1, Dic.MaxTW1, wordID1);
  if (f >= 0) {
    append(f, f);
    std::int32_t v = 0;
    for (std::int64_t p = f - 1; p >= 0 && wordID1(p, v) && v == id; --p) append(p, p);
    for (std::int64_t p = f + 1; p <= Dic.UBTW1 && wordID1(p, v) && v == id; ++p) append(p, p);
  }

  // Side 2, only for a word that has no side-1 links: through the "TransW2" index.
  if (found.empty()) {
    const auto record = [&](std::int64_t p, std::int32_t& n) { return w2.I32(4 * p, n); };
    const auto wordID2 = [&](std::int64_t p, std::int32_t& v) {
      std::int32_t n = 0;
      TransLink l;
      if (!record(p, n) || !ReadLink(w1, n, kWordID2, headerLen, unicode, l)) return false;
      v = l.WordID2;
      return true;
    };
    f = InterpolationSearch(id, Dic.UBTW2, Dic.MinTW2, Dic.MaxTW2, wordID2);
    if (f >= 0) {
      const auto appendEntry = [&](std::int64_t p) {
        std::int32_t n = 0;
        if (record(p, n)) append(n, p + kTransW2RecNo);
      };
      appendEntry(f);
      std::int32_t v = 0;
      for (std::int64_t p = f - 1; p >= 0 && wordID2(p, v) && v == id; --p) appendEntry(p);
      for (std::int64_t p = f + 1; p <= Dic.UBTW2 && wordID2(p, v) && v == id; ++p) appendEntry(p);
    }
  }

  if (found.empty()) return;
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
}

long Searches::SafeUBoundTransRecs(const std::vector<TransRec>& A) { return API::SafeUBound(A); }
long Searches::SafeUBoundWordRecs(const std::vector<WordRec>& A) { return API::SafeUBound(A); }
long Searches::SafeUBoundTransLinks(const std::vector<TransLink>& A) { return API::SafeUBound(A); }

}  // namespace parlavent
