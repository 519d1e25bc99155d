// Source syntax (UTF-8; the full description is docs/dictionary-source.md):
//
//   # a comment                       blank lines and comments are skipped
//   @member Info                      a text member: every line up to "@end", stored with CR LF
//   [Main]                            between lines; a line starting "@@" stands for itself
//   ShortName=De-Ru                   without its first "@"
//   @end
//   @file Icon flags/de-ru.ico        a member holding a file's bytes (path relative to the source)
//   W<TAB>1<TAB>Haus<TAB>haʊs         a word: side, text, optional transcription
//   L<TAB>Haus<TAB>дом<TAB>N<TAB>F<TAB>1,2<TAB>comment
//                                     a link: side-1 word, side-2 word, then optional part of
//                                     speech, gender, up to three theme numbers and a comment
#include "dictionary_source.h"

#include <fstream>
#include <utility>
#include <limits>

#include "dictionary/record_codes.h"
#include "hash_set.h"
#include "text/text.h"
#include "utf8.h"

namespace parlavent::dictool {
namespace {

// The fields of a line. A word or link line has at most seven; more are only counted, so that
// the line is refused without keeping them. Millions of lines pass here: no allocation.
struct Fields {
  static constexpr std::size_t kKept = 8;
  std::string_view kept[kKept];
  std::size_t count = 0;
  std::size_t size() const { return count; }
  std::string_view operator[](std::size_t i) const { return kept[i]; }
};

Fields SplitTabs(std::string_view line) {
  Fields fields;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', from);
    if (fields.count < Fields::kKept) {
      fields.kept[fields.count] = line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
    }
    ++fields.count;
    if (tab == std::string_view::npos) return fields;
    from = tab + 1;
  }
}

std::filesystem::path PathFromUtf8(std::string_view s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A code field: a tag of the table, a decimal code, or empty for none.
bool ParseCode(std::string_view field, int (*byTag)(std::u16string_view), std::u16string_view (*tagOf)(std::int64_t),
               std::uint8_t& out) {
  const std::u16string text = FromUtf8(TrimBlanks(field));
  if (text.empty()) return out = 0, true;
  std::int64_t n = 0;
  if (ParseInt64(text, n)) {
    if (n < 0 || n > 255 || (n != 0 && tagOf(n).empty())) return false;
    return out = static_cast<std::uint8_t>(n), true;
  }
  const int code = byTag(text);
  out = static_cast<std::uint8_t>(code);
  return code != 0;
}

bool ParseThemes(std::string_view field, std::uint16_t (&themes)[3]) {
  field = TrimBlanks(field);
  if (field.empty()) return true;
  const auto parts = SplitText(FromUtf8(field), u",");
  if (parts.size() > 3) return false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::int64_t n = 0;
    if (!ParseInt64(parts[i], n) || n < 0 || n > 65535) return false;
    themes[i] = static_cast<std::uint16_t>(n);
  }
  return true;
}

// Text as the builder stores it: UTF-8 as it stands when it is well-formed, else what reading it
// as UTF-16 makes of it (every malformed sequence one U+FFFD), so that two spellings of one word
// are one word.
std::string_view WellFormed(std::string_view text, std::string& repaired) {
  if (IsWellFormedUtf8(text)) return text;
  repaired = ToUtf8(FromUtf8(text));
  return repaired;
}

class Parser {
 public:
  Parser(const std::string& name, const std::filesystem::path& base, DictionarySource& out, std::string& err)
      : name_(name), base_(base), out_(out), err_(err) {}

  /// One line without its line end.
  bool Feed(std::string_view line) {
    if (lineNo_ == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNo_;
    return Line(line);
  }

  bool End() {
    if (inMember_) return Fail(memberLine_, "\"@member\" without \"@end\"");
    return true;
  }

 private:
  bool Fail(int line, const std::string& message) {
    err_ = name_ + ":" + std::to_string(line) + ": " + message;
    return false;
  }
  bool Fail(const std::string& message) { return Fail(lineNo_, message); }

  bool Line(std::string_view line) {
    if (inMember_) return TextLine(line);
    if (TrimBlanks(line).empty() || line.front() == '#') return true;
    if (line.substr(0, 8) == "@member ") return BeginMember(TrimBlanks(line.substr(8)));
    if (line.substr(0, 6) == "@file ") return FileMember(TrimBlanks(line.substr(6)));
    const auto fields = SplitTabs(line);
    if (fields[0] == "W") return Word(fields);
    if (fields[0] == "L" || fields[0] == "F" || fields[0] == "F2") return Link(fields);
    return Fail("unknown line (expected \"@member\", \"@file\", \"W\", \"L\", \"F\" or \"F2\")");
  }

  bool AddMember(SourceMember member) {
    if (member.name.empty()) return Fail("member without a name");
    if (out_.FindMember(member.name)) return Fail("second member \"" + ToUtf8(member.name) + "\"");
    out_.members.push_back(std::move(member));
    return true;
  }

  bool BeginMember(std::string_view name) {
    SourceMember member;
    member.name = FromUtf8(name);
    member.isText = true;
    if (!AddMember(std::move(member))) return false;
    inMember_ = true;
    memberLine_ = lineNo_;
    lines_.clear();
    return true;
  }

  bool TextLine(std::string_view line) {
    if (line == "@end") {
      out_.members.back().text = JoinText(lines_, u"\r\n");
      inMember_ = false;
      return true;
    }
    if (line.substr(0, 2) == "@@") line.remove_prefix(1);
    lines_.push_back(FromUtf8(line));
    return true;
  }

  bool FileMember(std::string_view rest) {
    const std::size_t blank = rest.find_first_of(" \t");
    if (blank == std::string_view::npos) return Fail("\"@file\" needs a member name and a path");
    SourceMember member;
    member.name = FromUtf8(rest.substr(0, blank));
    const std::filesystem::path path = base_ / PathFromUtf8(TrimBlanks(rest.substr(blank)));
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail("cannot read \"" + path.string() + "\"");
    member.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return AddMember(std::move(member));
  }

  bool Side(std::string_view field, int& side) {
    if (field == "1" || field == "2") return side = field[0] - '0', true;
    return Fail("side must be 1 or 2");
  }

  bool TooLarge() { return Fail("the source is too large for the builder (4 GiB of text)"); }

  bool AddWord(int side, std::string_view text, std::uint32_t& index) {
    return out_.AddWord(side, WellFormed(text, repaired_), index) || TooLarge();
  }

  bool Word(const Fields& f) {
    int side = 0;
    if (f.size() < 3 || f.size() > 4) return Fail("a word line is W, side, text and an optional transcription");
    if (!Side(f[1], side)) return false;
    if (f[2].empty()) return Fail("empty word");
    std::uint32_t index = 0;
    if (!AddWord(side, f[2], index)) return false;
    if (f.size() == 4 && !out_.SetTranscription(index, WellFormed(f[3], repaired_))) return TooLarge();
    return true;
  }

  bool Link(const Fields& f) {
    if (f.size() < 3 || f.size() > 7) return Fail("a link line is L, two words and up to four optional fields");
    if (f[1].empty() || f[2].empty()) return Fail("empty word");
    LinkEntry link;
    link.sideOneOnly = f[0] != "L";
    if (!AddWord(1, f[1], link.word1) || !AddWord(2, f[2], link.word2)) return false;
    // A side-2 form's link is filed under the form: the side-1 word, which finds its links in
    // "TransW1" by its own ID, never meets it, and the form finds it there before "TransW2".
    if (f[0] == "F2") std::swap(link.word1, link.word2);
    if (f.size() > 3 && !ParseCode(f[3], RechCode, RechTag, link.rech)) return Fail("unknown part of speech");
    if (f.size() > 4 && !ParseCode(f[4], RodCode, RodTag, link.rod)) return Fail("unknown gender");
    if (f.size() > 5 && !ParseThemes(f[5], link.themes)) return Fail("themes are up to three numbers 0..65535");
    const std::string_view comment = f.size() > 6 ? WellFormed(f[6], repaired_) : std::string_view();
    return out_.AddLink(link, comment) || TooLarge();
  }

  const std::string& name_;
  const std::filesystem::path& base_;
  DictionarySource& out_;
  std::string& err_;
  int lineNo_ = 0;
  bool inMember_ = false;
  int memberLine_ = 0;
  std::vector<std::u16string> lines_;
  std::string repaired_;
};

}  // namespace

std::uint64_t WordFingerprint(int side, std::string_view text) { return Fingerprint(text, side == 2 ? 2 : 1); }

SourceWord DictionarySource::Word(std::size_t k) const {
  const WordEntry& w = words_[k];
  return {w.side, FromUtf8(Text(w.text)), FromUtf8(Text(w.transcription))};
}

bool DictionarySource::Store(std::string_view text, TextRef& ref) {
  if (text.empty()) return ref = {}, true;
  if (store_.size() + text.size() > std::numeric_limits<std::uint32_t>::max()) return false;
  ref = {static_cast<std::uint32_t>(store_.size()), static_cast<std::uint32_t>(text.size())};
  store_.append(text);
  return true;
}

// A slot holds the word's index + 1 in its low half and the high half of its fingerprint in the
// high half, so that a probe rarely has to look at the word itself.
std::uint32_t DictionarySource::Find(int side, std::string_view text, std::uint64_t fingerprint) const {
  if (slots_.empty()) return 0;
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t tag = fingerprint >> 32;
  for (std::size_t i = fingerprint & mask; slots_[i] != 0; i = (i + 1) & mask) {
    if ((slots_[i] >> 32) != tag) continue;
    const auto k = static_cast<std::uint32_t>(slots_[i]) - 1;
    if (words_[k].side == side && Text(words_[k].text) == text) return k + 1;
  }
  return 0;
}

void DictionarySource::Place(std::uint32_t k) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = fingerprints_[k] & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = (fingerprints_[k] >> 32 << 32) | (k + 1);
}

void DictionarySource::Grow() {
  slots_.assign(slots_.empty() ? 1024 : 2 * slots_.size(), 0);
  for (std::size_t k = 0; k < words_.size(); ++k) Place(static_cast<std::uint32_t>(k));
}

void DictionarySource::Compact() {
  std::vector<std::uint64_t>().swap(slots_);
  std::vector<std::uint64_t>().swap(fingerprints_);
  store_.shrink_to_fit();
  words_.shrink_to_fit();
  links_.shrink_to_fit();
}

bool DictionarySource::AddWord(int side, std::string_view text, std::uint32_t& index) {
  if (fingerprints_.size() != words_.size()) {
    fingerprints_.clear();
    for (const WordEntry& w : words_) fingerprints_.push_back(WordFingerprint(w.side, Text(w.text)));
    slots_.assign(1024, 0);
    while (2 * words_.size() >= slots_.size()) slots_.resize(2 * slots_.size());
    std::fill(slots_.begin(), slots_.end(), 0);
    for (std::size_t k = 0; k < words_.size(); ++k) Place(static_cast<std::uint32_t>(k));
  }
  // Links of one headword follow each other: its text comes many times in a row.
  Recent& recent = recent_[side == 2 ? 1 : 0];
  if (recent.index != 0 && Text(words_[recent.index - 1].text) == text) return index = recent.index - 1, true;
  const std::uint64_t f = WordFingerprint(side, text);
  if (const std::uint32_t found = Find(side, text, f)) {
    recent.index = found;
    return index = found - 1, true;
  }
  if (words_.size() >= std::numeric_limits<std::int32_t>::max() - 1) return false;
  WordEntry w;
  w.side = static_cast<std::uint8_t>(side);
  if (!Store(text, w.text)) return false;
  index = static_cast<std::uint32_t>(words_.size());
  words_.push_back(w);
  fingerprints_.push_back(f);
  if (2 * words_.size() > slots_.size()) {
    Grow();
  } else {
    Place(index);
  }
  recent.index = index + 1;
  return true;
}

bool DictionarySource::SetTranscription(std::uint32_t index, std::string_view transcription) {
  WordEntry& w = words_[index];
  return w.transcription.length != 0 || Store(transcription, w.transcription);
}

bool DictionarySource::AddLink(LinkEntry link, std::string_view comment) {
  if (links_.size() >= std::numeric_limits<std::int32_t>::max() / 4) return false;
  if (!comment.empty() && Text(lastComment_) == comment) {
    link.comment = lastComment_;
  } else if (!Store(comment, link.comment)) {
    return false;
  }
  if (!comment.empty()) lastComment_ = link.comment;
  links_.push_back(link);
  return true;
}

const SourceMember* DictionarySource::FindMember(std::u16string_view name) const {
  for (const SourceMember& m : members) {
    if (EqualsNoCase(m.name, name)) return &m;
  }
  return nullptr;
}

bool ParseSource(std::string_view text, const std::string& name, const std::filesystem::path& base,
                 DictionarySource& out, std::string& err) {
  Parser parser(name, base, out, err);
  for (std::size_t from = 0; from <= text.size();) {
    std::size_t nl = text.find('\n', from);
    if (nl == std::string_view::npos) nl = text.size();
    if (!parser.Feed(text.substr(from, nl - from))) return false;
    from = nl + 1;
  }
  return parser.End();
}

// Read in blocks: the source of a large dictionary is never held whole.
bool ReadSource(const std::filesystem::path& path, DictionarySource& out, std::string& err) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    err = path.string() + ": cannot read";
    return false;
  }
  const std::string name = path.string();
  const std::filesystem::path base = path.parent_path();
  Parser parser(name, base, out, err);
  std::string block;
  std::vector<char> chunk(1 << 20);
  for (;;) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto n = static_cast<std::size_t>(in.gcount());
    if (n == 0) break;
    block.append(chunk.data(), n);
    std::size_t from = 0;
    for (std::size_t nl; (nl = block.find('\n', from)) != std::string::npos; from = nl + 1) {
      if (!parser.Feed(std::string_view(block).substr(from, nl - from))) return false;
    }
    block.erase(0, from);
  }
  if (in.bad()) {
    err = name + ": cannot read";
    return false;
  }
  // The last line, ended by the end of the file rather than a line end, or the empty line after it.
  if (!parser.Feed(block) || !parser.End()) return false;
  out.Compact();
  return true;
}

}  // namespace parlavent::dictool
