#include "dictionary/sections.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "dictionary/byte_files.h"
#include "dictionary/dic_members.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_file.h"
#include "dictionary/package_files.h"
#include "foundation/ini_file.h"
#include "foundation/wildcard.h"
#include "platform/code_page.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Whole numbers as the runtime assigns a quotient to a Long: rounded half to even.
std::int32_t RoundToLong(double value) {
  if (!std::isfinite(value) || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return 0;
  }
  return static_cast<std::int32_t>(std::nearbyint(value));
}

void Bounds(PackageFiles& files, const clsDic& dic, std::u16string_view name, std::int32_t& bs, std::int32_t& be) {
  bs = 0;
  be = 0;
  files.GetFileBounds(dic.FileN, name, bs, be);
}

bool ReadBool(clsINI& ini, std::u16string_view key) {
  bool b = false;
  return ini.Value(key).ToBool(b) && b;
}

}  // namespace

SectionView::SectionView(const PackageFile& file, std::int64_t start, std::int64_t end)
    : file_(file), start_(start), end_(end) {
  // Bounds that are no section of this file read nothing at all.
  if (start_ < 0 || end_ > file_.Size() || end_ < start_) start_ = end_ = 0;
}

bool SectionView::Inside(std::int64_t offset, std::int64_t length) const {
  return offset >= 0 && length >= 0 && offset <= Length() && length <= Length() - offset;
}

SectionView SectionView::Part(std::int64_t from, std::int64_t to) const {
  if (!Inside(from, to - from)) return SectionView(file_, 0, 0);
  return SectionView(file_, start_ + from, start_ + to);
}

bool SectionView::I32(std::int64_t offset, std::int32_t& out) const {
  return Inside(offset, 4) && file_.ReadI32(start_ + offset, out);
}
bool SectionView::U16(std::int64_t offset, std::uint16_t& out) const {
  return Inside(offset, 2) && file_.ReadU16(start_ + offset, out);
}
bool SectionView::U8(std::int64_t offset, std::uint8_t& out) const {
  return Inside(offset, 1) && file_.ReadU8(start_ + offset, out);
}
bool SectionView::F64(std::int64_t offset, double& out) const {
  return Inside(offset, 8) && file_.ReadF64(start_ + offset, out);
}
bool SectionView::Bytes(std::int64_t offset, std::int64_t length, std::span<const std::uint8_t>& out) const {
  out = {};
  if (!Inside(offset, length)) return false;
  if (length > 0) out = file_.Bytes(start_ + offset, length);
  return true;
}

std::u16string SectionText(bool unicode, std::span<const std::uint8_t> bytes) {
  if (unicode) return DecodeUtf16Le(bytes);
  const CodePage& ansi = AnsiCodePage();
  const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::u16string text = ansi.Decode(all);
  if (text.size() == bytes.size()) return text;
  // A multi-byte system code page (932, 936, ...) pairs bytes; the packages store one character
  // per byte, so each byte is decoded on its own.
  text.clear();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::u16string one = ansi.Decode(all.substr(i, 1));
    text.push_back(one.size() == 1 ? one[0] : u'?');
  }
  return text;
}

void ReadSectionBounds(PackageFiles& files, clsDic& dic) {
  const PackageFile& file = files.OpenFiles().Reader(dic.FileN);
  Bounds(files, dic, u"Words", dic.bsWords, dic.beWords);
  Bounds(files, dic, u"Transcript", dic.bsTranscr, dic.beTranscr);

  Bounds(files, dic, u"WordsHash", dic.bsWordsHash, dic.beWordsHash);
  const SectionView hash(file, dic.bsWordsHash, dic.beWordsHash);
  dic.WordsHashUB = hash.Present() ? RoundToLong(hash.Length() / 12.0 - 1) : -1;
  dic.MinWordsHash = dic.MaxWordsHash = 0;
  hash.F64(0, dic.MinWordsHash);
  hash.F64(hash.Length() - 12, dic.MaxWordsHash);

  Bounds(files, dic, u"WordsSort", dic.bsWordsSort, dic.beWordsSort);
  dic.Words = RoundToLong(SectionView(file, dic.bsWordsSort, dic.beWordsSort).Length() / 4.0);

  // "TransW1" opens with its offset table, whose first entry is the table's own length.
  Bounds(files, dic, u"TransW1", dic.bsTransW1, dic.beTransW1);
  const SectionView w1(file, dic.bsTransW1, dic.beTransW1);
  dic.UBTW1 = -1;
  dic.MinTW1 = dic.MaxTW1 = 0;
  std::int32_t table = 0;
  if (w1.I32(0, table)) {
    dic.UBTW1 = RoundToLong(table / 4.0 - 1);
    w1.I32(table, dic.MinTW1);
    std::int32_t last = 0;
    if (w1.I32(4 * std::int64_t{dic.UBTW1}, last)) w1.I32(last, dic.MaxTW1);
  }

  // "TransW2" names "TransW1" records; its bounds are the second words of the first and last.
  Bounds(files, dic, u"TransW2", dic.bsTransW2, dic.beTransW2);
  const SectionView w2(file, dic.bsTransW2, dic.beTransW2);
  dic.UBTW2 = w2.Present() ? RoundToLong(w2.Length() / 4.0 - 1) : -1;
  const auto secondWord = [&](std::int64_t entryOffset) {
    std::int32_t n = 0, record = 0, word = 0;
    if (w2.I32(entryOffset, n) && w1.I32(4 * std::int64_t{n}, record)) w1.I32(std::int64_t{record} + 4, word);
    return word;
  };
  dic.MinTW2 = secondWord(0);
  dic.MaxTW2 = secondWord(w2.Length() - 4);
}

namespace {

std::int32_t I32At(std::span<const std::uint8_t> bytes, std::int64_t offset) {
  const std::uint8_t* p = bytes.data() + offset;
  return static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                                   std::uint32_t{p[3]} << 24);
}

// "Words" and "Transcript": words + 1 offsets whose absolute values climb from the table's end to
// the section's end, so that every text lies inside the section.
bool TextsSound(const SectionView& section, std::int64_t words) {
  const std::int64_t table = 4 * (words + 1);
  std::span<const std::uint8_t> entries;
  if (!section.Bytes(0, table, entries)) return false;
  std::int64_t previous = table;
  for (std::int64_t k = 0; k <= words; ++k) {
    const std::int64_t offset = std::llabs(I32At(entries, 4 * k));
    if (offset < previous) return false;
    previous = offset;
  }
  return previous == section.Length();
}

// "WordsSort": whole entries, each naming a word 1 .. words.
bool SortSound(const SectionView& sort, std::int64_t words) {
  std::span<const std::uint8_t> entries;
  if (sort.Length() % 4 != 0 || !sort.Bytes(0, sort.Length(), entries)) return false;
  for (std::int64_t n = 0; n < sort.Length(); n += 4) {
    const std::int32_t id = I32At(entries, n);
    if (id < 1 || id > words) return false;
  }
  return true;
}

// "TransW1": the offset table, its first entry its own length, then records of at least the
// header each, one behind the other up to the section's end.
bool LinksSound(const SectionView& w1, std::int64_t header, std::int64_t& table) {
  std::int32_t first = 0;
  table = 0;
  if (!w1.I32(0, first) || first < 4 || first % 4 != 0 || first > w1.Length()) return false;
  table = first;
  std::span<const std::uint8_t> entries;
  w1.Bytes(0, table, entries);
  for (std::int64_t n = 0; n < table; n += 4) {
    const std::int64_t start = I32At(entries, n);
    const std::int64_t end = n + 4 < table ? I32At(entries, n + 4) : w1.Length();
    if (start < table || end - start < header) return false;
  }
  return true;
}

// "TransW2": whole entries, at most one per "TransW1" record (a form's link has none), each
// naming one of them.
bool LinkIndexSound(const SectionView& w2, std::int64_t table) {
  std::span<const std::uint8_t> entries;
  if (!w2.Bytes(0, w2.Length(), entries)) return false;
  const bool fits = w2.Length() % 4 == 0 && w2.Length() <= table;
  if (!fits) return false;
  for (std::int64_t n = 0; n < w2.Length(); n += 4) {
    const std::int32_t record = I32At(entries, n);
    if (record < 0 || 4 * std::int64_t{record} >= table) return false;
  }
  return true;
}

// The record dictool writes of the whole file's length: absent in older packages; present, it
// must name this file's length.
bool LengthAgrees(const PackageFile& file, bool unicode) {
  const MemberBounds m = file.FindMember(kFileLengthMember, unicode, AnsiCodePage());
  if (m.Start == 0 && m.End == 0) return true;
  std::int32_t length = 0;
  return m.Length() == 4 && file.ReadI32(m.Start, length) && length == file.Size();
}

constexpr std::int64_t kHashRecord = 12;

// The sections of dic as views of file.
struct Views {
  Views(const PackageFile& file, const clsDic& dic)
      : words(file, dic.bsWords, dic.beWords),
        transcript(file, dic.bsTranscr, dic.beTranscr),
        hash(file, dic.bsWordsHash, dic.beWordsHash),
        sort(file, dic.bsWordsSort, dic.beWordsSort),
        w1(file, dic.bsTransW1, dic.beTransW1),
        w2(file, dic.bsTransW2, dic.beTransW2),
        count(sort.Length() / 4),
        header(dic.SupportRech ? 16 : 14) {}
  SectionView words, transcript, hash, sort, w1, w2;
  std::int64_t count;   // "WordsSort" counts the words that every other section refers to
  std::int64_t header;  // of a link record
  bool IsWord(std::int64_t id) const { return id >= 1 && id <= count; }
};

// The two word IDs of link record n; false when the record is not whole or names no word.
bool LinkWords(const Views& v, std::int64_t n, std::int32_t& id1, std::int32_t& id2) {
  std::int64_t start = 0, end = 0;
  return LinkSpan(v.w1, n, v.header, start, end) && v.w1.I32(start, id1) && v.w1.I32(start + 4, id2) &&
         v.IsWord(id1) && v.IsWord(id2);
}

// "Words" or "Transcript" at its ends: the table fits, the first text starts behind it, the last
// one and the closing entry end at the section's end.
bool TextEndsSound(const SectionView& texts, std::int64_t words) {
  std::int64_t start = 0, end = 0;
  bool side2 = false;
  std::int32_t closing = 0;
  return TextSpan(texts, words, 1, start, end, side2) && TextSpan(texts, words, words, start, end, side2) &&
         texts.I32(4 * words, closing) && closing == texts.Length();
}

// One "WordsHash" record: a name's key and a word's ID.
bool HashRecord(const Views& v, std::int64_t r, double& magnitude) {
  double key = 0;
  std::int32_t id = 0;
  if (!v.hash.F64(r * kHashRecord, key) || !v.hash.I32(r * kHashRecord + 8, id)) return false;
  magnitude = std::fabs(key);
  return IsPackageKey(magnitude) && v.IsWord(id);
}

// "WordsHash": every record a key and a word, the keys ascending by magnitude.
bool HashRecordsSound(const Views& v) {
  double previous = 0;
  for (std::int64_t r = 0; r < v.hash.Length() / kHashRecord; ++r) {
    double magnitude = 0;
    if (!HashRecord(v, r, magnitude) || magnitude < previous) return false;
    previous = magnitude;
  }
  return true;
}

// "WordsSort": every word once, the texts in dictionary order.
bool SortOrderSound(const Views& v, bool unicode) {
  std::vector<bool> seen(static_cast<std::size_t>(v.count) + 1);
  std::u16string previous;
  for (std::int64_t n = 0; n < v.count; ++n) {
    std::int32_t id = 0;
    std::int64_t start = 0, end = 0;
    bool side2 = false;
    std::span<const std::uint8_t> bytes;
    if (!v.sort.I32(4 * n, id) || !v.IsWord(id) || seen[static_cast<std::size_t>(id)] ||
        !TextSpan(v.words, v.count, id, start, end, side2) || !v.words.Bytes(start, end - start, bytes)) {
      return false;
    }
    seen[static_cast<std::size_t>(id)] = true;
    std::u16string text = SectionText(unicode, bytes);
    if (n > 0 && CompareDictOrder(previous, text) > 0) return false;
    previous = std::move(text);
  }
  return true;
}

// "TransW1": every record names two words, in order of the first.
bool LinkRecordsSound(const Views& v, std::int64_t records) {
  std::int32_t previous = 0;
  for (std::int64_t n = 0; n < records; ++n) {
    std::int32_t id1 = 0, id2 = 0;
    if (!LinkWords(v, n, id1, id2) || id1 < previous) return false;
    previous = id1;
  }
  return true;
}

// "TransW2": its entries in order of the second word of the record they name, ties in record
// order, no record twice.
bool LinkIndexOrderSound(const Views& v) {
  std::int64_t previousWord = 0, previousRecord = -1;
  for (std::int64_t p = 0; p < v.w2.Length() / 4; ++p) {
    std::int32_t n = 0, id1 = 0, id2 = 0;
    if (!v.w2.I32(4 * p, n) || !LinkWords(v, n, id1, id2)) return false;
    if (id2 < previousWord || (id2 == previousWord && n <= previousRecord)) return false;
    previousWord = id2;
    previousRecord = n;
  }
  return true;
}

// Each directory record holds a name's key: a damaged key hides its member, which then reads as
// missing.
std::string DirectoryProblem(const PackageFile& file, bool unicode) {
  if (!file.Whole()) return "its directory does not fit in the file, or a member starts at or past its last byte";
  for (int i = 0; i < file.MemberCount(); ++i) {
    double key = 0;
    if (!file.ReadF64(1 + 12 * std::int64_t{i} + 4, key) || !IsPackageKey(key)) {
      return "directory record " + std::to_string(i + 1) + " holds no member name's key";
    }
  }
  if (!LengthAgrees(file, unicode)) return "its record of the file's length (\"FileLength\") names another length";
  return {};
}

// The words' sections at their ends.
std::string WordEndsProblem(const Views& v) {
  if (v.sort.Length() % 4 != 0) return "\"WordsSort\" holds no whole entries";
  std::int32_t first = 0, last = 0;
  v.sort.I32(0, first);
  v.sort.I32(v.sort.Length() - 4, last);
  if (!v.IsWord(first) || !v.IsWord(last) || (v.count > 1 && first == last)) {
    return "\"WordsSort\" begins or ends with no word";
  }
  const std::int64_t records = v.hash.Length() / kHashRecord;
  double low = 0, high = 0;
  if (v.hash.Length() % kHashRecord != 0 || records < v.count || !HashRecord(v, 0, low) ||
      !HashRecord(v, records - 1, high) || low > high) {
    return "\"WordsHash\" begins or ends with no word's key";
  }
  if (!TextEndsSound(v.words, v.count)) return "\"Words\" does not hold its words' texts";
  if (v.transcript.Present() && !TextEndsSound(v.transcript, v.count)) {
    return "\"Transcript\" does not hold its words' transcriptions";
  }
  return {};
}

// The links' sections at their ends.
std::string LinkEndsProblem(const Views& v) {
  std::int32_t table = 0, firstID1 = 0, lastID1 = 0, id2 = 0;
  if (!v.w1.I32(0, table) || table < 4 || table % 4 != 0) return "\"TransW1\" has no offset table";
  const std::int64_t records = table / 4;
  if (!LinkWords(v, 0, firstID1, id2) || !LinkWords(v, records - 1, lastID1, id2) || firstID1 > lastID1) {
    return "\"TransW1\" begins or ends with no link";
  }
  const std::int64_t entries = v.w2.Length() / 4;
  if (v.w2.Length() % 4 != 0 || entries > records) return "\"TransW2\" holds more than one entry a link";
  if (entries == 0) return {};
  // Entry p: the record it names and that record's second word.
  const auto entry = [&](std::int64_t p, std::int32_t& n, std::int32_t& id2) {
    std::int32_t id1 = 0;
    return v.w2.I32(4 * p, n) && LinkWords(v, n, id1, id2);
  };
  // Entries stand in order of (second word, record): the last one behind the first and behind the
  // one before it. Record 0 is a link that exists, so a zeroed tail shows only by its order.
  const auto before = [](std::int32_t id2, std::int32_t n, std::int32_t laterID2, std::int32_t later) {
    return id2 < laterID2 || (id2 == laterID2 && n < later);
  };
  std::int32_t first = 0, firstID2 = 0, previous = 0, previousID2 = 0, last = 0, lastID2 = 0;
  if (!entry(0, first, firstID2) || !entry(entries - 1, last, lastID2) ||
      (entries > 1 && (!entry(entries - 2, previous, previousID2) || !before(firstID2, first, lastID2, last) ||
                       !before(previousID2, previous, lastID2, last)))) {
    return "\"TransW2\" begins or ends with no link, or out of order";
  }
  return {};
}

}  // namespace

bool IsPackageKey(double magnitude) {
  return magnitude >= 852'516'352.0 && magnitude <= 5'147'483'647.0 && magnitude == std::nearbyint(magnitude);
}

bool TextSpan(const SectionView& texts, std::int64_t words, std::int64_t id, std::int64_t& start, std::int64_t& end,
              bool& side2) {
  std::int32_t entry = 0, next = 0;
  if (id < 1 || id > words || !texts.I32(4 * (id - 1), entry) || !texts.I32(4 * id, next)) return false;
  start = std::llabs(entry);
  end = std::llabs(next);
  side2 = entry < 0;
  return start >= 4 * (words + 1) && end >= start && end <= texts.Length();
}

bool LinkSpan(const SectionView& w1, std::int64_t n, std::int64_t header, std::int64_t& start, std::int64_t& end) {
  std::int32_t table = 0, entry = 0;
  if (n < 0 || !w1.I32(0, table) || 4 * n >= table || !w1.I32(4 * n, entry)) return false;
  // The record ends where the next begins; the last one at the section end.
  end = w1.Length();
  if (4 * (n + 1) < table) {
    std::int32_t next = 0;
    if (!w1.I32(4 * (n + 1), next)) return false;
    end = next;
  }
  start = entry;
  return start >= table && end - start >= header && end <= w1.Length();
}

std::string OpeningProblem(const PackageFile& file, const clsDic& dic) {
  if (std::string problem = DirectoryProblem(file, dic.Unicode); !problem.empty()) return problem;
  const Views v(file, dic);
  // A section whose name's key was damaged reads as missing; the sections that need it tell.
  // Found in the directory, a section has a start (an empty "TransW2" included).
  const bool words = dic.bsWords != 0 || dic.bsTranscr != 0 || dic.bsWordsHash != 0 || dic.bsWordsSort != 0;
  const bool links = dic.bsTransW1 != 0 || dic.bsTransW2 != 0;
  if ((words || links) && (!v.words.Present() || !v.hash.Present() || !v.sort.Present())) {
    return "its words lack \"Words\", \"WordsHash\" or \"WordsSort\"";
  }
  if (links && (!v.w1.Present() || dic.bsTransW2 == 0)) return "its links lack \"TransW1\" or \"TransW2\"";
  if (!words) return {};
  if (std::string problem = WordEndsProblem(v); !problem.empty()) return problem;
  return links ? LinkEndsProblem(v) : std::string();
}

std::string PackageProblem(const PackageFile& file, const clsDic& dic) {
  if (std::string problem = OpeningProblem(file, dic); !problem.empty()) return problem;
  const Views v(file, dic);
  std::int64_t table = 0;
  if (!SortSound(v.sort, v.count) || !SortOrderSound(v, dic.Unicode)) {
    return "\"WordsSort\" does not list every word once in dictionary order";
  }
  if (!HashRecordsSound(v)) return "\"WordsHash\" holds a record out of order or naming no word";
  if ((v.words.Present() || v.count > 0) && !TextsSound(v.words, v.count)) {
    return "\"Words\" has offsets out of order or outside it";
  }
  if (v.transcript.Present() && !TextsSound(v.transcript, v.count)) {
    return "\"Transcript\" has offsets out of order or outside it";
  }
  if (v.w1.Present() && (!LinksSound(v.w1, v.header, table) || !LinkRecordsSound(v, table / 4))) {
    return "\"TransW1\" holds a record out of order, shorter than its header or naming no word";
  }
  if (v.w2.Present() && (!LinkIndexSound(v.w2, table) || !LinkIndexOrderSound(v))) {
    return "\"TransW2\" holds an entry out of order or naming no link";
  }
  return {};
}

bool SectionsSound(const PackageFile& file, const clsDic& dic) {
  const Views v(file, dic);
  if (!SortSound(v.sort, v.count) || v.hash.Length() % 12 != 0) return false;
  if ((v.words.Present() || v.count > 0) && !TextsSound(v.words, v.count)) return false;
  if (v.transcript.Present() && !TextsSound(v.transcript, v.count)) return false;
  std::int64_t table = 0;
  if (v.w1.Present() && !LinksSound(v.w1, v.header, table)) return false;
  return !v.w2.Present() || LinkIndexSound(v.w2, table);
}

bool PackageWhole(PackageFiles& files, const clsDic& dic) {
  return OpeningProblem(files.OpenFiles().Reader(dic.FileN), dic).empty();
}

bool InfoMainFlag(std::u16string_view info, std::u16string_view key) {
  clsINI ini;
  ini.SetSettingText(info);
  ini.Section(u"Main");
  return ReadBool(ini, key);
}

std::int64_t clsDic::LongestText(const PackageFile& package, std::int64_t upTo) const {
  // A Unicode text has two bytes a character; an ANSI text one.
  const auto chars = [this](std::int64_t bytes) { return Unicode ? (bytes + 1) / 2 : bytes; };
  const SectionView words(package, bsWords, beWords);
  if (scan_.spans < 0) {
    // Word k spans from entry k to entry k + 1: as many spans as there are words and whole
    // entries after the first.
    scan_.spans = Words > 0 && words.I32(0, scan_.entry) ? std::min<std::int64_t>(Words, words.Length() / 4 - 1) : 0;
  }
  std::span<const std::uint8_t> table;
  if (scan_.next <= scan_.spans && chars(scan_.longest) < upTo && !words.Bytes(0, 4 * (scan_.spans + 1), table)) {
    scan_.spans = 0;
  }
  // A damaged offset table can only make the bound larger: every span is cut to the section.
  for (; scan_.next <= scan_.spans && chars(scan_.longest) < upTo; ++scan_.next) {
    const std::int32_t next = I32At(table, 4 * scan_.next);
    const std::int64_t span = std::llabs(next) - std::llabs(scan_.entry);
    scan_.longest = std::max(scan_.longest, std::min(span, words.Length()));
    scan_.entry = next;
  }
  return std::min(chars(scan_.longest), upTo);
}

std::int64_t LongestText(PackageFiles& files, const clsDic& dic, std::int64_t upTo) {
  return dic.LongestText(files.OpenFiles().Reader(dic.FileN), upTo);
}

std::shared_ptr<clsDic> OpenPackageDic(PackageFiles& files, const std::filesystem::path& path) {
  const std::int32_t n = files.OpenFiles().OpenRead(path);
  if (n == 0) return nullptr;
  const PackageFile& file = files.OpenFiles().Reader(n);
  auto dic = std::make_shared<clsDic>();
  dic->path = path.u16string();
  dic->FileTitle = path.stem().u16string();
  dic->FileN = n;
  dic->FileLen = static_cast<std::int32_t>(std::min<std::int64_t>(file.Size(), std::numeric_limits<std::int32_t>::max()));
  dic->Index = 1;
  dic->Visible = true;
  dic->Demo = Like(dic->FileTitle, u"*_common", MatchCase::Blind);
  // A Unicode package has its "Info" under the Unicode key.
  const CodePage& ansi = AnsiCodePage();
  dic->Unicode = !file.Member(u"Info", true, ansi).empty();
  files.State().gUnicode = dic->Unicode;
  clsINI info;
  info.SetSettingText(DecodePackageText(file.Member(u"Info", dic->Unicode, ansi), dic->Unicode, ansi));
  info.Section(u"Main");
  dic->Name = info.Value(u"ShortName").ToText();
  dic->Lang1 = info.Value(u"Lang1").ToText();
  dic->Lang2 = info.Value(u"Lang2").ToText();
  dic->SupportDirection = ReadBool(info, u"SupportDirection");
  dic->SupportRech = ReadBool(info, u"SupportRech");
  ReadThemes(DecodePackageText(file.Member(u"Themes", dic->Unicode, ansi), dic->Unicode, ansi), *dic->Themes);
  ReadSectionBounds(files, *dic);
  return dic;
}

}  // namespace parlavent
