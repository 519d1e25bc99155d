#include "dictionary/sections.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "dictionary/byte_files.h"
#include "dictionary/dic_members.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_file.h"
#include "dictionary/package_files.h"
#include "foundation/ini_file.h"
#include "foundation/wildcard.h"
#include "platform/code_page.h"

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

}  // namespace

bool SectionsSound(const PackageFile& file, const clsDic& dic) {
  const SectionView words(file, dic.bsWords, dic.beWords);
  const SectionView transcript(file, dic.bsTranscr, dic.beTranscr);
  const SectionView hash(file, dic.bsWordsHash, dic.beWordsHash);
  const SectionView sort(file, dic.bsWordsSort, dic.beWordsSort);
  const SectionView w1(file, dic.bsTransW1, dic.beTransW1);
  const SectionView w2(file, dic.bsTransW2, dic.beTransW2);
  // "WordsSort" counts the words that every other section refers to.
  const std::int64_t count = sort.Length() / 4;
  if (!SortSound(sort, count) || hash.Length() % 12 != 0) return false;
  if ((words.Present() || count > 0) && !TextsSound(words, count)) return false;
  if (transcript.Present() && !TextsSound(transcript, count)) return false;
  std::int64_t table = 0;
  if (w1.Present() && !LinksSound(w1, dic.SupportRech ? 16 : 14, table)) return false;
  return !w2.Present() || LinkIndexSound(w2, table);
}

bool PackageWhole(PackageFiles& files, const clsDic& dic) {
  const PackageFile& file = files.OpenFiles().Reader(dic.FileN);
  return file.Whole() && LengthAgrees(file, dic.Unicode) && SectionsSound(file, dic);
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
