#include "dictd_import.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dictionary/record_codes.h"
#include "foundation/text.h"

namespace parlavent::dictool {
namespace {

constexpr char16_t kCombiningAcute = 0x0301;

// dictd numbers: base 64 with its own alphabet, most significant digit first.
bool DecodeNumber(std::string_view text, std::uint64_t& out) {
  static constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out = 0;
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    const std::size_t d = kDigits.find(c);
    if (d == std::string_view::npos) return false;
    out = out * 64 + d;
  }
  return true;
}

bool ReadDict(const std::filesystem::path& path, std::string& data) {
  // gzread reads dictzip (gzip with a chunk table) and plain text alike.
  gzFile f = gzopen(path.string().c_str(), "rb");
  if (!f) return false;
  char buffer[1 << 16];
  int n = 0;
  while ((n = gzread(f, buffer, sizeof buffer)) > 0) data.append(buffer, static_cast<std::size_t>(n));
  const bool ok = n == 0;
  gzclose(f);
  return ok;
}

std::vector<std::u16string> Lines(std::u16string_view text) {
  std::vector<std::u16string> lines = SplitText(text, u"\n");
  while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
  return lines;
}

// The headline "Haus /haʊ̯s/ /haʊs/ <n, neut>": headword, transcriptions, grammar tags.
struct Headline {
  std::u16string word;
  std::vector<std::u16string> transcriptions;
  std::vector<std::u16string> tags;
};

Headline ParseHeadline(std::u16string_view line) {
  Headline h;
  std::u16string rest = Trim(line);
  if (!rest.empty() && rest.back() == u'>') {
    const std::size_t open = rest.rfind(u'<');
    if (open != std::u16string::npos) {
      for (const auto& tag : SplitText(std::u16string_view(rest).substr(open + 1, rest.size() - open - 2), u",")) {
        if (!Trim(tag).empty()) h.tags.push_back(Trim(tag));
      }
      rest = Trim(std::u16string_view(rest).substr(0, open));
    }
  }
  while (rest.size() >= 2 && rest.back() == u'/') {
    const std::size_t open = rest.rfind(u'/', rest.size() - 2);
    if (open == std::u16string::npos || open == 0 || rest[open - 1] != u' ') break;
    h.transcriptions.insert(h.transcriptions.begin(), rest.substr(open + 1, rest.size() - open - 2));
    rest = Trim(std::u16string_view(rest).substr(0, open));
  }
  h.word = rest;
  return h;
}

struct Grammar {
  int rech = 0;
  int rod = 0;
};

Grammar ParseTags(const std::vector<std::u16string>& tags, ImportReport& report) {
  static const std::pair<std::u16string_view, std::u16string_view> kTags[] = {
      {u"n", u"N"},          {u"noun", u"N"},        {u"v", u"V"},            {u"verb", u"V"},
      {u"adj", u"A"},        {u"adv", u"ADV"},       {u"adverb", u"ADV"},     {u"pronominalAdverb", u"ADV"},
      {u"pn", u"NPR"},       {u"abbreviation", u"ABBR"}, {u"abbr", u"ABBR"},  {u"preposition", u"PREP"},
      {u"prep", u"PREP"},    {u"postposition", u"PREP"}, {u"interjection", u"INTRJ"}, {u"int", u"INTRJ"},
      {u"numeral", u"NUM"},  {u"num", u"NUM"},       {u"suffix", u"SUFF"},    {u"prefix", u"PREF"},
      {u"particle", u"PART"}, {u"conjunction", u"CONJ"}, {u"conj", u"CONJ"},  {u"article", u"ART"},
      {u"art", u"ART"},      {u"pron", u"PRON"},     {u"aux", u"AUX"},        {u"phrase", u"PHR"},
      {u"idiom", u"ID"}};
  static const std::pair<std::u16string_view, std::u16string_view> kGenders[] = {
      {u"masc", u"M"}, {u"fem", u"F"}, {u"neut", u"N"}};
  Grammar g;
  for (const std::u16string& tag : tags) {
    bool known = false;
    for (const auto& [name, code] : kGenders) {
      if (EqualsNoCase(tag, name)) g.rod = RodCode(code), known = true;
    }
    for (const auto& [name, code] : kTags) {
      if (EqualsNoCase(tag, name)) g.rech = RechCode(code), known = true;
    }
    if (!known && EndsWithNoCase(tag, u"pronoun")) g.rech = RechCode(u"PRON"), known = true;
    if (!known) ++report.unknownTags;
  }
  return g;
}

// Sense numbers of the dictfmt layout: "1. угорь", "дом 2.", " 3.".
std::u16string StripSenseNumbers(std::u16string_view line) {
  std::u16string s = Trim(line);
  std::size_t digits = 0;
  while (digits < s.size() && IsDigit(s[digits])) ++digits;
  if (digits > 0 && digits < s.size() && s[digits] == u'.' && (digits + 1 == s.size() || s[digits + 1] == u' ')) {
    s = Trim(std::u16string_view(s).substr(digits + 1));
  }
  if (!s.empty() && s.back() == u'.') {
    std::size_t start = s.size() - 1;
    while (start > 0 && IsDigit(s[start - 1])) --start;
    if (start < s.size() - 1 && (start == 0 || s[start - 1] == u' ')) s = Trim(std::u16string_view(s).substr(0, start));
  }
  return s;
}

std::u16string RemoveStress(std::u16string_view text, ImportReport& report) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == kCombiningAcute) ++report.stressMarks;
    else out.push_back(c);
  }
  return out;
}

// Translations are separated by "," or ";" outside parentheses.
std::vector<std::u16string> SplitTranslations(std::u16string_view line) {
  std::vector<std::u16string> parts(1);
  int depth = 0;
  for (char16_t c : line) {
    if (c == u'(') ++depth;
    if (c == u')' && depth > 0) --depth;
    if (depth == 0 && (c == u',' || c == u';')) parts.emplace_back();
    else parts.back().push_back(c);
  }
  return parts;
}

// A source field holds no tab and no line break.
std::string Field(std::u16string_view text) {
  std::u16string s(text);
  for (char16_t& c : s) {
    if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
  }
  return ToUtf8(Trim(s));
}

// The explanation "Zoologie, im Singular: ein Vogel" labels its sense: the labels before the first
// ":" that name subject areas become themes, the others stay in front of the text. An explanation
// whose labels name no subject area is left as it is.
struct Themed {
  std::string themes;  // "3" or "3,17": the source's themes field
  std::u16string explanation;
};

Themed TakeThemes(std::u16string_view explanation, const std::vector<std::pair<std::u16string, int>>& known,
                  ImportReport& report) {
  Themed out{{}, std::u16string(explanation)};
  const std::size_t colon = explanation.find(u':');
  if (known.empty() || colon == std::u16string_view::npos) return out;
  std::vector<int> ids;
  std::u16string rest;
  for (const std::u16string& raw : SplitText(explanation.substr(0, colon), u",")) {
    const std::u16string label = Trim(raw);
    const auto theme =
        std::find_if(known.begin(), known.end(), [&](const auto& t) { return EqualsNoCase(t.first, label); });
    if (theme != known.end() && ids.size() < 3) {
      if (std::find(ids.begin(), ids.end(), theme->second) == ids.end()) ids.push_back(theme->second);
      continue;
    }
    if (theme != known.end()) ++report.labelsBeyondThree;
    rest += (rest.empty() ? u"" : u", ") + label;
  }
  if (ids.empty()) return out;
  for (const int id : ids) out.themes += (out.themes.empty() ? "" : ",") + std::to_string(id);
  const std::u16string text = Trim(explanation.substr(colon + 1));
  out.explanation = Trim(rest.empty() ? text : rest + u": " + text);
  return out;
}

class Importer {
 public:
  Importer(const ImportOptions& options, std::ostream& out, ImportReport& report)
      : options_(options), out_(out), report_(report) {}

  void Entry(std::u16string_view text) {
    const std::vector<std::u16string> lines = Lines(text);
    if (lines.empty()) return void(++report_.badEntries);
    const Headline head = ParseHeadline(lines[0]);
    if (head.word.empty()) return void(++report_.badEntries);
    const std::string word = Field(head.word);
    if (head.transcriptions.size() > 1) report_.extraTranscriptions += head.transcriptions.size() - 1;
    if (options_.transcriptionsOnly) {
      if (head.transcriptions.empty() || Field(head.transcriptions[0]).empty()) return;
      // The first transcription of a word is the one the package keeps.
      if (headwords_.emplace(word, true).second) {
        out_ << "W\t1\t" << word << '\t' << Field(head.transcriptions[0]) << '\n';
      }
      return;
    }
    out_ << "W\t1\t" << word;
    if (!head.transcriptions.empty()) out_ << '\t' << Field(head.transcriptions[0]);
    out_ << '\n';
    bool& translated = headwords_[word];

    const Grammar grammar = ParseTags(head.tags, report_);
    const std::size_t step = options_.explanations ? 2 : 1;
    for (std::size_t i = 1; i < lines.size(); i += step) {
      const std::u16string explanation = step == 2 && i + 1 < lines.size() ? Trim(lines[i + 1]) : std::u16string();
      const Themed themed = TakeThemes(explanation, options_.themes, report_);
      const bool sense = Senses(word, StripSenseNumbers(lines[i]), themed, grammar);
      if (!sense && !explanation.empty()) ++report_.untranslatedSenses;
      translated = translated || sense;
    }
  }

  void Finish() {
    report_.headwords = headwords_.size();
    for (const auto& [word, translated] : headwords_) report_.noTranslation += translated ? 0 : 1;
  }

 private:
  bool Senses(const std::string& word, std::u16string_view line, const Themed& themed, Grammar g) {
    const std::u16string& explanation = themed.explanation;
    bool any = false;
    for (const std::u16string& part : SplitTranslations(line)) {
      std::u16string translation = RemoveStress(Trim(part), report_);
      std::u16string note;
      // A closing "(о погоде)" is a usage note, not part of the word.
      if (!translation.empty() && translation.back() == u')') {
        const std::size_t open = translation.rfind(u'(');
        if (open != std::u16string::npos && open > 0) {
          note = translation.substr(open);
          translation = Trim(std::u16string_view(translation).substr(0, open));
        }
      }
      if (translation.empty()) continue;
      std::u16string comment = note;
      if (!explanation.empty()) comment += (comment.empty() ? u"" : u" ") + std::u16string(explanation);
      const std::string target = Field(translation);
      std::ostringstream link;
      link << "L\t" << word << '\t' << target << '\t' << ToUtf8(RechTag(g.rech)) << '\t' << ToUtf8(RodTag(g.rod))
           << '\t' << themed.themes << '\t' << Field(comment);
      if (!links_.insert(link.str()).second) {
        ++report_.duplicateLinks;
        continue;
      }
      out_ << link.str() << '\n';
      ++report_.links;
      if (!themed.themes.empty()) ++report_.themedLinks;
      if (targets_.insert(target).second) ++report_.translations;
      any = true;
    }
    return any;
  }

  const ImportOptions& options_;
  std::ostream& out_;
  ImportReport& report_;
  std::unordered_map<std::string, bool> headwords_;  // whether some entry of it gave a translation
  std::unordered_set<std::string> targets_, links_;
};

}  // namespace

bool ImportDictd(const std::filesystem::path& index, const std::filesystem::path& dict, const ImportOptions& options,
                 std::ostream& out, ImportReport& report, std::string& err) {
  report = {};
  std::ifstream in(index, std::ios::binary);
  if (!in) return err = index.string() + ": cannot read", false;
  std::string data;
  if (!ReadDict(dict, data)) return err = dict.string() + ": cannot read", false;

  Importer importer(options, out, report);
  std::set<std::pair<std::uint64_t, std::uint64_t>> seen;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (line.rfind("00database", 0) == 0 || line.rfind("00-database", 0) == 0) {
      ++report.metadata;
      continue;
    }
    std::uint64_t offset = 0, length = 0;
    if (tab2 == std::string::npos ||
        !DecodeNumber(std::string_view(line).substr(tab1 + 1, tab2 - tab1 - 1), offset) ||
        !DecodeNumber(std::string_view(line).substr(tab2 + 1), length) || offset > data.size() ||
        length > data.size() - offset) {
      ++report.badEntries;
      continue;
    }
    if (!seen.insert({offset, length}).second) {
      ++report.sharedEntries;
      continue;
    }
    ++report.entries;
    importer.Entry(FromUtf8(std::string_view(data).substr(offset, length)));
  }
  importer.Finish();
  return true;
}

std::vector<std::pair<std::u16string, int>> ThemesOfSource(std::u16string_view source) {
  std::vector<std::pair<std::u16string, int>> themes;
  bool inside = false;
  for (std::u16string line : SplitText(source, u"\n")) {
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (!inside) {
      inside = EqualsNoCase(Trim(line), u"@member Themes");
      continue;
    }
    if (line == u"@end") break;
    const std::vector<std::u16string> fields = SplitText(Trim(line), u"\t");
    std::int64_t id = 0;
    if (fields.size() >= 2 && ParseInt64(fields[0], id) && id > 0 && id <= 65535) {
      themes.emplace_back(fields[1], static_cast<int>(id));
    }
  }
  return themes;
}

std::string DescribeImport(const ImportReport& r) {
  std::ostringstream s;
  s << r.entries << " entries, " << r.headwords << " headwords, " << r.translations << " translations, " << r.links
    << " links\n"
    << "left out: " << r.metadata << " database information lines, " << r.sharedEntries
    << " index lines naming an entry already read, " << r.badEntries << " unreadable entries\n"
    << "dropped: " << r.untranslatedSenses << " explanations of senses without a translation, "
    << r.extraTranscriptions << " further transcriptions, " << r.duplicateLinks << " repeated translations, "
    << r.unknownTags << " grammar tags without a code, " << r.stressMarks << " stress marks\n"
    << r.noTranslation << " headwords have no translation\n";
  if (r.themedLinks || r.labelsBeyondThree) {
    s << r.themedLinks << " links with themes, " << r.labelsBeyondThree
      << " theme labels beyond three left in comments\n";
  }
  return s.str();
}

}  // namespace parlavent::dictool
