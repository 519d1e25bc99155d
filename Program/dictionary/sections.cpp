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

bool PackageWhole(PackageFiles& files, const clsDic& dic) {
  const PackageFile& file = files.OpenFiles().Reader(dic.FileN);
  if (!file.Whole()) return false;
  // "TransW2" is usually the last member, which the directory alone cannot show cut short: it
  // holds whole 4-byte entries, at most one per record of "TransW1" (a form's link has none).
  const SectionView w1(file, dic.bsTransW1, dic.beTransW1);
  const SectionView w2(file, dic.bsTransW2, dic.beTransW2);
  std::int32_t table = 0;
  if (!w2.Present() || !w1.I32(0, table)) return true;
  return w2.Length() % 4 == 0 && w2.Length() <= table;
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
    const std::uint8_t* p = table.data() + 4 * scan_.next;
    const auto next = static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                                std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
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
