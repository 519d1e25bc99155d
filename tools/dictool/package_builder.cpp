#include "package_builder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <numeric>

#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/package_file.h"
#include "dictionary/sections.h"
#include "hash_set.h"
#include "platform/code_page.h"
#include "text/text.h"
#include "utf8.h"

namespace parlavent::dictool {
namespace {

using Bytes = std::vector<std::uint8_t>;
using View = std::string_view;

// The package as it is written: into memory, or through a buffer into a file.
class Output {
 public:
  explicit Output(Bytes& memory) : memory_(&memory) {}
  explicit Output(std::ofstream& file) : file_(&file) {}
  ~Output() { Flush(); }

  void U8(std::uint8_t b) {
    if (used_ == buffer_.size()) Flush();
    buffer_[used_++] = b;
  }
  void U16(std::uint16_t v) { Little(v, 2); }
  void I32(std::int64_t v) { Little(static_cast<std::uint32_t>(static_cast<std::int32_t>(v)), 4); }
  void F64(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    Little(bits, 8);
  }
  void Put(const Bytes& b) {
    for (std::uint8_t x : b) U8(x);
  }
  bool Flush() {
    if (memory_) memory_->insert(memory_->end(), buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(used_));
    if (file_) file_->write(reinterpret_cast<const char*>(buffer_.data()), static_cast<std::streamsize>(used_));
    used_ = 0;
    return !file_ || static_cast<bool>(*file_);
  }

 private:
  // Tens of millions of numbers go through here: one test of the room left for each.
  void Little(std::uint64_t v, int bytes) {
    if (used_ + 8 > buffer_.size()) Flush();
    for (int i = 0; i < bytes; ++i) buffer_[used_++] = static_cast<std::uint8_t>(v >> (8 * i));
  }

  Bytes* memory_ = nullptr;
  std::ofstream* file_ = nullptr;
  std::array<std::uint8_t, 1 << 16> buffer_{};
  std::size_t used_ = 0;
};

// Text in the package's mode, and the text a reader gets back from those bytes. Source texts are
// UTF-8; in a Unicode package they go to UTF-16 unit by unit, without a string in between.
class TextCoder {
 public:
  TextCoder(const CodePage* ansi, const CodePage& fallback) : ansi_(ansi), page_(ansi ? *ansi : fallback) {}

  bool Unicode() const { return ansi_ == nullptr; }
  const CodePage& Page() const { return page_; }

  std::size_t Size(View utf8) const {
    if (Unicode()) {
      std::size_t units = 0;
      if (ForEachUtf16(utf8, [&](char16_t) { ++units; })) return 2 * units;
      return 2 * FromUtf8(utf8).size();
    }
    return page_.Encode(FromUtf8(utf8)).size();
  }

  void Append(Output& out, View utf8, std::size_t& lossy) const {
    if (Unicode() && IsWellFormedUtf8(utf8)) {
      ForEachUtf16(utf8, [&](char16_t c) { out.U16(c); });
      return;
    }
    Append(out, FromUtf8(utf8), lossy);
  }
  void Append(Output& out, std::u16string_view text, std::size_t& lossy) const {
    if (Unicode()) {
      for (char16_t c : text) out.U16(c);
      return;
    }
    bool lossless = true;
    const std::string s = page_.Encode(text, &lossless);
    if (!lossless) ++lossy;
    for (char c : s) out.U8(static_cast<std::uint8_t>(c));
  }

  /// The text as a reader gets it back, lower-cased, appended to lowered.
  void AppendLowered(View utf8, std::u16string& lowered) const {
    if (Unicode() && ForEachUtf16(utf8, [&](char16_t c) { lowered += LowerChar(c); })) return;
    const std::u16string text = FromUtf8(utf8);
    lowered += LCase(Unicode() ? text : page_.Decode(page_.Encode(text)));
  }

 private:
  const CodePage* ansi_;
  const CodePage& page_;
};

// CRC-32 as the package keys use it, fed piece by piece, so that the keys of all beginnings of a
// phrase come from one pass over its text.
class KeyCrc {
 public:
  void Decimal(unsigned v) {
    if (v >= 100) Byte('0' + v / 100);
    if (v >= 10) Byte('0' + v / 10 % 10);
    Byte('0' + v % 10);
  }
  std::int64_t Key() const { return static_cast<std::int32_t>(c_ ^ 0xFFFFFFFFu) + 3'000'000'000LL; }

 private:
  void Byte(unsigned b) { c_ = Table()[(c_ ^ b) & 0xFF] ^ (c_ >> 8); }
  static const std::array<std::uint32_t, 256>& Table() {
    // The reader's checksum of the single byte 0xFF ^ n is this table's entry n, final XOR undone.
    static const std::array<std::uint32_t, 256> table = [] {
      std::array<std::uint32_t, 256> t{};
      for (std::uint32_t n = 0; n < 256; ++n) {
        t[n] = Crc32(std::array<std::uint8_t, 1>{static_cast<std::uint8_t>(0xFF ^ n)}) ^ 0xFF000000u;
      }
      return t;
    }();
    return table;
  }
  std::uint32_t c_ = 0xFFFFFFFFu;
};

// The key of a lower-cased text in a Unicode package: the high byte of its first character, then
// the low byte of every character, as decimal digits.
std::int64_t UnicodeKey(std::u16string_view lowered) {
  KeyCrc crc;
  crc.Decimal(lowered[0] >> 8);
  for (char16_t c : lowered) crc.Decimal(c & 0xFF);
  return crc.Key();
}

std::int64_t AbsKey(double key) { return static_cast<std::int64_t>(key < 0 ? -key : key); }

// One record of "WordsHash": sorted by key, words before beginnings, each kind in the order made.
struct HashRecord {
  std::int64_t key;     // absolute value
  std::uint32_t order;  // words by ID, then the beginnings as they were found
  std::int32_t id;      // negative for side 2
};

// Lower-cased texts of all words one behind the other, for the keys and for sorting.
struct LoweredTexts {
  std::u16string units;
  std::vector<std::uint32_t> start;  // W + 1 entries
  std::u16string_view Of(std::size_t k) const { return std::u16string_view(units).substr(start[k], start[k + 1] - start[k]); }
};

}  // namespace

std::vector<std::u16string> PhraseBeginnings(std::u16string_view text) {
  std::vector<std::u16string> parts;
  for (const std::u16string& token : SplitText(text, u" ")) {
    for (std::u16string& part : SplitText(token, u"-")) {
      if (!part.empty()) parts.push_back(std::move(part));
    }
  }
  std::vector<std::u16string> keys;
  std::u16string key;
  for (std::size_t k = 0; k + 1 < parts.size(); ++k) {
    key += parts[k];
    key += u' ';
    keys.push_back(key);
  }
  return keys;
}

namespace {

// The sections of one package, prepared before anything is written so that every size is known
// for the directory.
class Sections {
 public:
  Sections(const DictionarySource& src, const TextCoder& coder, bool transcriptions, BuildReport& report)
      : src_(src), coder_(coder), report_(report) {
    const auto& words = src.Words();
    withTranscript_ = transcriptions && std::any_of(words.begin(), words.end(),
                                                    [](const WordEntry& w) { return w.transcription.length != 0; });
  }

  bool HasWords() const { return src_.WordCount() > 0; }
  bool HasTranscript() const { return withTranscript_; }
  bool HasLinks() const { return src_.LinkCount() > 0; }

  void Prepare() {
    if (HasWords()) {
      LoweredTexts lowered = Lower();
      Hash(lowered);
      Sort(lowered);
    }
    if (HasLinks()) OrderLinks();
  }

  std::int64_t WordsSize() const { return 4 * (static_cast<std::int64_t>(src_.WordCount()) + 1) + textBytes_; }
  std::int64_t TranscriptSize() const {
    return 4 * (static_cast<std::int64_t>(src_.WordCount()) + 1) + transcriptionBytes_;
  }
  std::int64_t HashSize() const { return 12 * static_cast<std::int64_t>(hash_.size()); }
  std::int64_t SortSize() const { return 4 * static_cast<std::int64_t>(sorted_.size()); }
  std::int64_t TransW1Size() const {
    const auto r = static_cast<std::int64_t>(byWord1_.size());
    return 4 * r + r * Header() + commentBytes_;
  }
  std::int64_t TransW2Size() const { return 4 * static_cast<std::int64_t>(byWord2_.size()); }

  // "Words" and "Transcript": an offset table signed by side, closed by one more entry, then texts.
  void WriteTexts(Output& out, bool transcriptions) const {
    const auto& words = src_.Words();
    std::int64_t offset = 4 * (static_cast<std::int64_t>(words.size()) + 1);
    const std::vector<std::uint32_t>& sizes = transcriptions ? transcriptionSize_ : textSize_;
    for (std::size_t k = 0; k < words.size(); ++k) {
      out.I32(words[k].side == 2 ? -offset : offset);
      offset += sizes[k];
    }
    out.I32(offset);
    for (const WordEntry& w : words) {
      coder_.Append(out, src_.Text(transcriptions ? w.transcription : w.text), report_.lossyTexts);
    }
  }

  void WriteHash(Output& out) const {
    for (const HashRecord& r : hash_) {
      out.F64(r.id < 0 ? -static_cast<double>(r.key) : static_cast<double>(r.key));
      out.I32(r.id < 0 ? -static_cast<std::int64_t>(r.id) : r.id);
    }
  }

  void WriteSort(Output& out) const {
    for (std::uint32_t k : sorted_) out.I32(static_cast<std::int64_t>(k) + 1);
  }

  // "TransW1": records by side-1 word behind their offset table.
  void WriteTransW1(Output& out) const {
    const auto& links = src_.Links();
    std::int64_t offset = 4 * static_cast<std::int64_t>(byWord1_.size());
    for (std::uint32_t n : byWord1_) {
      out.I32(offset);
      offset += Header() + commentSize_[LinkOf(n)];
    }
    for (std::uint32_t n : byWord1_) {
      const LinkEntry& l = links[LinkOf(n)];
      const bool copy = n >= links.size();
      out.I32(static_cast<std::int64_t>(copy ? l.word2 : l.word1) + 1);
      out.I32(static_cast<std::int64_t>(copy ? l.word1 : l.word2) + 1);
      for (std::uint16_t t : l.themes) out.U16(t);
      if (report_.supportRech) {
        out.U8(l.rech);
        out.U8(l.rod);
      }
      coder_.Append(out, src_.Text(l.comment), report_.lossyTexts);
    }
  }

  // "TransW2": record numbers by side-2 word.
  void WriteTransW2(Output& out) const {
    for (std::uint32_t n : byWord2_) out.I32(n);
  }

 private:
  std::int64_t Header() const { return report_.supportRech ? 16 : 14; }

  LoweredTexts Lower() {
    const auto& words = src_.Words();
    LoweredTexts lowered;
    lowered.start.reserve(words.size() + 1);
    textSize_.reserve(words.size());
    for (const WordEntry& w : words) {
      const std::size_t start = lowered.units.size();
      lowered.start.push_back(static_cast<std::uint32_t>(start));
      coder_.AppendLowered(src_.Text(w.text), lowered.units);
      // A word's bytes in a Unicode package: its UTF-16 units, which lower-casing keeps.
      const std::size_t size =
          coder_.Unicode() && IsWellFormedUtf8(src_.Text(w.text)) ? 2 * (lowered.units.size() - start)
                                                                  : coder_.Size(src_.Text(w.text));
      textSize_.push_back(static_cast<std::uint32_t>(size));
      textBytes_ += static_cast<std::int64_t>(size);
      if (!withTranscript_) continue;
      transcriptionSize_.push_back(static_cast<std::uint32_t>(coder_.Size(src_.Text(w.transcription))));
      transcriptionBytes_ += transcriptionSize_.back();
    }
    lowered.start.push_back(static_cast<std::uint32_t>(lowered.units.size()));
    return lowered;
  }

  std::int64_t Key(std::u16string_view lowered) const {
    return coder_.Unicode() ? UnicodeKey(lowered) : AbsKey(PackageKey(lowered, false, coder_.Page()));
  }

  // Word records, then one record per phrase beginning and side, under the first entry that has
  // it. A beginning's text never equals the entry's text (it ends in a blank), so only the
  // searches that stop at the key see it.
  void Hash(const LoweredTexts& lowered) {
    const auto& words = src_.Words();
    hash_.reserve(words.size() + words.size() / 2);
    for (std::size_t k = 0; k < words.size(); ++k) {
      const auto id = static_cast<std::int32_t>(k + 1);
      hash_.push_back({Key(lowered.Of(k)), static_cast<std::uint32_t>(k), words[k].side == 2 ? -id : id});
    }
    FingerprintSet seen;
    auto order = static_cast<std::uint32_t>(words.size());
    std::u16string joined;
    std::vector<std::size_t> ends;  // where each beginning ends in joined, its blank included
    for (std::size_t k = 0; k < words.size(); ++k) {
      Beginnings(lowered.Of(k), joined, ends);
      if (ends.empty()) continue;
      const int side = words[k].side;
      std::vector<std::int64_t> keys = BeginningKeys(joined, ends);
      for (std::size_t i = 0; i < ends.size(); ++i) {
        const View bytes(reinterpret_cast<const char*>(joined.data()), 2 * ends[i]);
        if (!seen.Insert(Fingerprint(bytes, static_cast<std::uint64_t>(side)))) continue;
        const auto id = static_cast<std::int32_t>(k + 1);
        hash_.push_back({keys[i], order++, side == 2 ? -id : id});
      }
    }
    std::sort(hash_.begin(), hash_.end(), [](const HashRecord& a, const HashRecord& b) {
      return a.key != b.key ? a.key < b.key : a.order < b.order;
    });
  }

  // The parts of a text cut at blanks and hyphens, joined by single blanks; ends of all but the
  // last part, blank included.
  static void Beginnings(std::u16string_view text, std::u16string& joined, std::vector<std::size_t>& ends) {
    joined.clear();
    ends.clear();
    bool inPart = false;
    for (char16_t c : text) {
      if (c == u' ' || c == u'-') {
        inPart = false;
        continue;
      }
      if (!inPart && !joined.empty()) {
        joined += u' ';
        ends.push_back(joined.size());
      }
      inPart = true;
      joined += c;
    }
  }

  std::vector<std::int64_t> BeginningKeys(std::u16string_view joined, const std::vector<std::size_t>& ends) const {
    std::vector<std::int64_t> keys;
    if (!coder_.Unicode()) {
      for (std::size_t end : ends) keys.push_back(Key(joined.substr(0, end)));
      return keys;
    }
    KeyCrc crc;
    crc.Decimal(joined[0] >> 8);
    std::size_t next = 0;
    for (std::size_t i = 0; i < joined.size() && next < ends.size(); ++i) {
      crc.Decimal(joined[i] & 0xFF);
      if (i + 1 == ends[next]) {
        keys.push_back(crc.Key());
        ++next;
      }
    }
    return keys;
  }

  // Dictionary order of the lower-cased texts, ties in word-ID order. The first four code units,
  // packed into one number, decide most comparisons.
  void Sort(const LoweredTexts& lowered) {
    struct Entry {
      std::uint64_t head;
      std::uint32_t k;
    };
    const std::size_t n = src_.WordCount();
    std::vector<Entry> entries(n);
    for (std::size_t k = 0; k < n; ++k) {
      const std::u16string_view t = lowered.Of(k);
      std::uint64_t h = 0;
      for (std::size_t i = 0; i < 4; ++i) h = (h << 16) | (i < t.size() ? t[i] : 0);
      entries[k] = {h, static_cast<std::uint32_t>(k)};
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
      if (a.head != b.head) return a.head < b.head;
      const int c = lowered.Of(a.k).compare(lowered.Of(b.k));
      return c != 0 ? c < 0 : a.k < b.k;
    });
    sorted_.resize(n);
    for (std::size_t i = 0; i < n; ++i) sorted_[i] = entries[i].k;
  }

  // The "TransW1" records: every link, and a copy filed under its side-2 word of each link of a
  // side-2 word that is the first word of a form's link. The look-up takes a word's links from
  // "TransW1" when it finds any there and reaches "TransW2" only otherwise, so such a word
  // ("дорога", a word and a form of "дорогой") would show its base's links alone. Sorted by
  // their first word; among one word's records its own links (copies included) come before
  // those it has as a form, each in source order. Then the record numbers by side-2 word (ties
  // in record order), without the form's links and the copies, which no side-2 word reaches
  // through "TransW2".
  void OrderLinks() {
    const auto& links = src_.Links();
    std::vector<bool> formFirst(src_.WordCount(), false);
    for (const LinkEntry& l : links) {
      if (l.sideOneOnly && src_.Words()[l.word1].side == 2) formFirst[l.word1] = true;
    }
    std::vector<std::uint32_t> records;  // a link's number, or the links' count plus that of a copied link
    for (std::uint32_t n = 0; n < links.size(); ++n) {
      if (!links[n].sideOneOnly) records.push_back(n);
    }
    for (std::uint32_t n = 0; n < links.size(); ++n) {
      if (!links[n].sideOneOnly && formFirst[links[n].word2]) copied_.push_back(n);
    }
    for (std::uint32_t c = 0; c < copied_.size(); ++c) records.push_back(static_cast<std::uint32_t>(links.size()) + c);
    for (std::uint32_t n = 0; n < links.size(); ++n) {
      if (links[n].sideOneOnly) records.push_back(n);
    }
    const auto firstWord = [&](std::uint32_t n) { return n >= links.size() ? links[LinkOf(n)].word2 : links[n].word1; };
    byWord1_ = CountingOrder(records.size(), [&](std::size_t i) { return firstWord(records[i]); });
    for (std::uint32_t& i : byWord1_) i = records[i];
    byWord2_ = CountingOrder(byWord1_.size(), [&](std::size_t n) { return links[LinkOf(byWord1_[n])].word2; });
    std::erase_if(byWord2_, [&](std::uint32_t n) { return byWord1_[n] >= links.size() || links[byWord1_[n]].sideOneOnly; });
    commentSize_.reserve(links.size());
    for (const LinkEntry& l : links) {
      commentSize_.push_back(static_cast<std::uint32_t>(coder_.Size(src_.Text(l.comment))));
      commentBytes_ += commentSize_.back();
      if (!report_.supportRech && (l.rech || l.rod)) ++report_.droppedCodes;
    }
    for (std::uint32_t n : copied_) commentBytes_ += commentSize_[n];
  }

  // The link a "TransW1" record holds: its own, or the one it copies.
  std::uint32_t LinkOf(std::uint32_t record) const {
    const std::size_t count = src_.LinkCount();
    return record >= count ? copied_[record - count] : record;
  }

  template <typename KeyOf>
  std::vector<std::uint32_t> CountingOrder(std::size_t count, KeyOf keyOf) const {
    std::vector<std::uint32_t> first(src_.WordCount() + 1, 0);
    for (std::size_t n = 0; n < count; ++n) ++first[keyOf(n) + 1];
    for (std::size_t k = 1; k < first.size(); ++k) first[k] += first[k - 1];
    std::vector<std::uint32_t> order(count);
    for (std::size_t n = 0; n < count; ++n) order[first[keyOf(n)]++] = static_cast<std::uint32_t>(n);
    return order;
  }

  const DictionarySource& src_;
  const TextCoder& coder_;
  BuildReport& report_;
  bool withTranscript_ = false;
  std::int64_t textBytes_ = 0, transcriptionBytes_ = 0, commentBytes_ = 0;
  std::vector<HashRecord> hash_;
  std::vector<std::uint32_t> sorted_, byWord1_, byWord2_;
  std::vector<std::uint32_t> copied_;  // the links copied under their side-2 word, in source order
  // Bytes of each word's text and transcription and of each link's comment, as written.
  std::vector<std::uint32_t> textSize_, transcriptionSize_, commentSize_;
};

bool IsSectionName(std::u16string_view name) {
  for (std::u16string_view s : {u"Words", u"Transcript", u"WordsHash", u"WordsSort", u"TransW1", u"TransW2"}) {
    if (EqualsNoCase(s, name)) return true;
  }
  return false;
}

// Count, directory, the members one after another, the record of the file's length last (so that no
// member of a whole package starts at its final byte), and one final byte that no member owns.
bool Build(const DictionarySource& source, const BuildOptions& options, Output& out, BuildReport& report,
           std::string& err) {
  report = {};
  const auto fallback = MakeBuiltinCodePage(1252);  // only turns the Unicode keys' digits into bytes
  const TextCoder coder(options.ansi, *fallback);
  if (const SourceMember* info = source.FindMember(u"Info"); info && info->isText) {
    // Read as the loader reads it: one reader, so that the link headers are the size it expects.
    report.supportRech = InfoMainFlag(info->text, u"SupportRech");
  }

  std::vector<std::pair<std::u16string, Bytes>> members;
  for (const SourceMember& m : source.members) {
    if (IsSectionName(m.name)) {
      err = "member \"" + ToUtf8(m.name) + "\" would hide a record section of the same name";
      return false;
    }
    if (EqualsNoCase(m.name, kFileLengthMember)) {
      err = "member \"" + ToUtf8(m.name) + "\" would hide the record of the package's length";
      return false;
    }
    Bytes b = m.bytes;
    if (m.isText) {
      Bytes text;
      {
        Output o(text);
        coder.Append(o, m.text, report.lossyTexts);
      }
      b = coder.Unicode() ? Bytes{0xFF, 0xFE} : Bytes{};
      b.insert(b.end(), text.begin(), text.end());
    }
    members.emplace_back(m.name, std::move(b));
  }
  Sections sections(source, coder, !options.withoutTranscriptions, report);
  const std::size_t count = members.size() + (sections.HasWords() ? (sections.HasTranscript() ? 4 : 3) : 0) +
                            (sections.HasLinks() ? 2 : 0) + 1;
  if (count > 255) {
    err = "a package holds at most 255 members, this one would have " + std::to_string(count);
    return false;
  }
  sections.Prepare();

  for (const auto& [name, bytes] : members) report.members.push_back({name, static_cast<std::int64_t>(bytes.size())});
  if (sections.HasWords()) {
    report.members.push_back({u"Words", sections.WordsSize()});
    if (sections.HasTranscript()) report.members.push_back({u"Transcript", sections.TranscriptSize()});
    report.members.push_back({u"WordsHash", sections.HashSize()});
    report.members.push_back({u"WordsSort", sections.SortSize()});
  }
  if (sections.HasLinks()) {
    report.members.push_back({u"TransW1", sections.TransW1Size()});
    report.members.push_back({u"TransW2", sections.TransW2Size()});
  }
  report.members.push_back({std::u16string(kFileLengthMember), 4});
  std::int64_t total = 1 + 12 * static_cast<std::int64_t>(count) + 1;
  for (const MemberSize& m : report.members) total += m.bytes;
  if (total > std::numeric_limits<std::int32_t>::max()) {
    err = "the package would exceed 2 GiB, beyond the reach of its 32-bit offsets";
    return false;
  }
  report.packageBytes = total;

  out.U8(static_cast<std::uint8_t>(count));
  std::int64_t offset = 1 + 12 * static_cast<std::int64_t>(count);
  for (const MemberSize& m : report.members) {
    out.I32(offset);
    out.F64(PackageKey(m.name, coder.Unicode(), coder.Page()));
    offset += m.bytes;
  }
  for (const auto& m : members) out.Put(m.second);
  if (sections.HasWords()) {
    sections.WriteTexts(out, false);
    if (sections.HasTranscript()) sections.WriteTexts(out, true);
    sections.WriteHash(out);
    sections.WriteSort(out);
  }
  if (sections.HasLinks()) {
    sections.WriteTransW1(out);
    sections.WriteTransW2(out);
  }
  out.I32(total);
  out.U8(0);
  return true;
}

}  // namespace

std::u16string IniValue(std::u16string_view ini, std::u16string_view section, std::u16string_view key) {
  bool inSection = false;
  for (const std::u16string& raw : SplitText(ini, u"\r\n")) {
    const std::u16string line = Trim(raw);
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      inSection = EqualsNoCase(Trim(std::u16string_view(line).substr(1, line.size() - 2)), section);
      continue;
    }
    const std::size_t eq = line.find(u'=');
    if (inSection && eq != std::u16string::npos && EqualsNoCase(Trim(line.substr(0, eq)), key)) {
      return Trim(line.substr(eq + 1));
    }
  }
  return {};
}

bool BuildPackage(const DictionarySource& source, const BuildOptions& options, std::vector<std::uint8_t>& out,
                  BuildReport& report, std::string& err) {
  out.clear();
  Output output(out);
  if (!Build(source, options, output, report, err)) return false;
  output.Flush();
  return true;
}

bool WritePackage(const DictionarySource& source, const BuildOptions& options, const std::filesystem::path& path,
                  BuildReport& report, std::string& err) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return err = "cannot write " + path.string(), false;
  Output output(file);
  if (!Build(source, options, output, report, err)) return false;
  if (!output.Flush() || !file.flush()) return err = "cannot write " + path.string(), false;
  return true;
}

std::string CheckPackage(const std::filesystem::path& path) {
  DictionaryEngine engine;
  const std::shared_ptr<clsDic> dic = OpenPackageDic(engine.Files, path);
  if (!dic) return "it cannot be opened";
  const PackageFile& file = engine.Files.OpenFiles().Reader(dic->FileN);
  if (file.Member(u"Info", dic->Unicode, AnsiCodePage()).empty() && dic->Words == 0) {
    return "it has neither an \"Info\" member nor words";
  }
  return PackageProblem(file, *dic);
}

}  // namespace parlavent::dictool
