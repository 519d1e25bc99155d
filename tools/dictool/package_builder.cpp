#include "package_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <set>

#include "dictionary/package_file.h"
#include "foundation/text.h"
#include "platform/code_page.h"

namespace parlavent::dictool {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutI32(Bytes& b, std::int64_t v) {
  const auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void PutU16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutF64(Bytes& b, double v) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof v);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}
void PutI32At(Bytes& b, std::size_t at, std::int64_t v) {
  Bytes tmp;
  PutI32(tmp, v);
  std::copy(tmp.begin(), tmp.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Text in the package's mode, and the text a reader gets back from those bytes.
class TextCoder {
 public:
  TextCoder(const CodePage* ansi, const CodePage& fallback, BuildReport& report)
      : ansi_(ansi), page_(ansi ? *ansi : fallback), report_(report) {}

  bool Unicode() const { return ansi_ == nullptr; }
  const CodePage& Page() const { return page_; }

  void Append(Bytes& b, std::u16string_view text) const {
    if (Unicode()) {
      for (char16_t c : text) PutU16(b, c);
      return;
    }
    bool lossless = true;
    const std::string s = page_.Encode(text, &lossless);
    if (!lossless) ++report_.lossyTexts;
    b.insert(b.end(), s.begin(), s.end());
  }

  std::u16string AsRead(std::u16string_view text) const {
    return Unicode() ? std::u16string(text) : page_.Decode(page_.Encode(text));
  }

 private:
  const CodePage* ansi_;
  const CodePage& page_;
  BuildReport& report_;
};

// "Words" and "Transcript": an offset table signed by side, closed by one more entry, then texts.
Bytes TextSection(const DictionarySource& src, const TextCoder& coder, bool transcriptions) {
  const std::size_t n = src.words.size();
  Bytes b(4 * (n + 1), 0);
  for (std::size_t k = 0; k < n; ++k) {
    const SourceWord& w = src.words[k];
    const auto offset = static_cast<std::int64_t>(b.size());
    PutI32At(b, 4 * k, w.side == 2 ? -offset : offset);
    coder.Append(b, transcriptions ? w.transcription : w.text);
  }
  PutI32At(b, 4 * n, static_cast<std::int64_t>(b.size()));
  return b;
}

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

// Word records, then one record per phrase beginning and side, under the first entry that has it.
// A beginning's text never equals the entry's text (it ends in a blank), so only the searches
// that stop at the key see it.
Bytes WordsHash(const DictionarySource& src, const TextCoder& coder) {
  struct Rec {
    double key;
    std::int32_t id;
  };
  std::vector<Rec> recs;
  recs.reserve(src.words.size());
  std::set<std::pair<int, std::u16string>> beginnings;
  std::vector<Rec> phraseRecs;
  for (std::size_t k = 0; k < src.words.size(); ++k) {
    const SourceWord& w = src.words[k];
    const std::u16string text = coder.AsRead(w.text);
    const double key = PackageKey(text, coder.Unicode(), coder.Page());
    const auto id = static_cast<std::int32_t>(k + 1);
    recs.push_back({w.side == 2 ? -key : key, id});
    for (const std::u16string& beginning : PhraseBeginnings(text)) {
      if (!beginnings.insert({w.side, LCase(beginning)}).second) continue;
      const double bkey = PackageKey(beginning, coder.Unicode(), coder.Page());
      phraseRecs.push_back({w.side == 2 ? -bkey : bkey, id});
    }
  }
  recs.insert(recs.end(), phraseRecs.begin(), phraseRecs.end());
  std::stable_sort(recs.begin(), recs.end(),
                   [](const Rec& a, const Rec& b) { return std::abs(a.key) < std::abs(b.key); });
  Bytes b;
  for (const Rec& r : recs) {
    PutF64(b, r.key);
    PutI32(b, r.id);
  }
  return b;
}

Bytes WordsSort(const DictionarySource& src, const TextCoder& coder) {
  std::vector<std::u16string> texts;
  texts.reserve(src.words.size());
  for (const SourceWord& w : src.words) texts.push_back(coder.AsRead(w.text));
  std::vector<std::int32_t> ids(src.words.size());
  std::iota(ids.begin(), ids.end(), 1);
  std::stable_sort(ids.begin(), ids.end(), [&](std::int32_t a, std::int32_t b) {
    return CompareDictOrder(texts[static_cast<std::size_t>(a - 1)], texts[static_cast<std::size_t>(b - 1)]) < 0;
  });
  Bytes b;
  for (std::int32_t id : ids) PutI32(b, id);
  return b;
}

// "TransW1" (records by side-1 word, behind their offset table) and "TransW2" (record numbers by
// side-2 word).
void LinkSections(const DictionarySource& src, const TextCoder& coder, BuildReport& report, Bytes& w1, Bytes& w2) {
  std::vector<std::size_t> order(src.links.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return src.links[a].word1 < src.links[b].word1; });
  const std::size_t r = order.size();
  w1.assign(4 * r, 0);
  for (std::size_t n = 0; n < r; ++n) {
    const SourceLink& l = src.links[order[n]];
    PutI32At(w1, 4 * n, static_cast<std::int64_t>(w1.size()));
    PutI32(w1, static_cast<std::int64_t>(l.word1 + 1));
    PutI32(w1, static_cast<std::int64_t>(l.word2 + 1));
    for (std::uint16_t t : l.themes) PutU16(w1, t);
    if (report.supportRech) {
      w1.push_back(l.rech);
      w1.push_back(l.rod);
    } else if (l.rech || l.rod) {
      ++report.droppedCodes;
    }
    coder.Append(w1, l.comment);
  }
  std::vector<std::int32_t> byWord2(r);
  std::iota(byWord2.begin(), byWord2.end(), 0);
  std::stable_sort(byWord2.begin(), byWord2.end(), [&](std::int32_t a, std::int32_t b) {
    return src.links[order[static_cast<std::size_t>(a)]].word2 < src.links[order[static_cast<std::size_t>(b)]].word2;
  });
  w2.clear();
  for (std::int32_t n : byWord2) PutI32(w2, n);
}

bool IniTrue(std::u16string_view value) {
  std::int64_t n = 0;
  if (ParseInt64(value, n)) return n != 0;
  return EqualsNoCase(value, u"True");
}

bool IsSectionName(std::u16string_view name) {
  for (std::u16string_view s : {u"Words", u"Transcript", u"WordsHash", u"WordsSort", u"TransW1", u"TransW2"}) {
    if (EqualsNoCase(s, name)) return true;
  }
  return false;
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
  report = {};
  const auto fallback = MakeBuiltinCodePage(1252);  // only turns the Unicode keys' digits into bytes
  const TextCoder coder(options.ansi, *fallback, report);
  if (const SourceMember* info = source.FindMember(u"Info"); info && info->isText) {
    report.supportRech = IniTrue(IniValue(info->text, u"Main", u"SupportRech"));
  }

  std::vector<std::pair<std::u16string, Bytes>> members;
  for (const SourceMember& m : source.members) {
    if (IsSectionName(m.name)) {
      err = "member \"" + ToUtf8(m.name) + "\" would hide a record section of the same name";
      return false;
    }
    Bytes b = m.bytes;
    if (m.isText) {
      if (coder.Unicode()) b = {0xFF, 0xFE};
      coder.Append(b, m.text);
    }
    members.emplace_back(m.name, std::move(b));
  }
  if (!source.words.empty()) {
    members.emplace_back(u"Words", TextSection(source, coder, false));
    const bool anyTranscription = std::any_of(source.words.begin(), source.words.end(),
                                              [](const SourceWord& w) { return !w.transcription.empty(); });
    if (anyTranscription) members.emplace_back(u"Transcript", TextSection(source, coder, true));
    members.emplace_back(u"WordsHash", WordsHash(source, coder));
    members.emplace_back(u"WordsSort", WordsSort(source, coder));
  }
  if (!source.links.empty()) {
    Bytes w1, w2;
    LinkSections(source, coder, report, w1, w2);
    members.emplace_back(u"TransW1", std::move(w1));
    members.emplace_back(u"TransW2", std::move(w2));
  }
  if (members.size() > 255) {
    err = "a package holds at most 255 members, this one would have " + std::to_string(members.size());
    return false;
  }

  // Count, directory, the members one after another, and one final byte that no member owns.
  std::size_t total = 1 + 12 * members.size() + 1;
  for (const auto& m : members) total += m.second.size();
  if (total > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    err = "the package would exceed 2 GiB, beyond the reach of its 32-bit offsets";
    return false;
  }
  out.clear();
  out.reserve(total);
  out.push_back(static_cast<std::uint8_t>(members.size()));
  std::size_t offset = 1 + 12 * members.size();
  for (const auto& m : members) {
    PutI32(out, static_cast<std::int64_t>(offset));
    PutF64(out, PackageKey(m.first, coder.Unicode(), coder.Page()));
    offset += m.second.size();
  }
  for (const auto& m : members) out.insert(out.end(), m.second.begin(), m.second.end());
  out.push_back(0);
  return true;
}

}  // namespace parlavent::dictool
