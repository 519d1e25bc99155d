#include "dictd_import.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "dictionary/record_codes.h"
#include "hash_set.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

// The entries are read as UTF-8 bytes: every mark of their structure is ASCII, so no text needs
// converting until the builder reads it.
using View = std::string_view;

constexpr View kCombiningAcute = "\xCC\x81";  // U+0301, the stress mark of the Russian data

// dictd numbers: base 64 with its own alphabet, most significant digit first.
bool DecodeNumber(View text, std::uint64_t& out) {
  static constexpr View kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out = 0;
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    const std::size_t d = kDigits.find(c);
    if (d == View::npos) return false;
    out = out * 64 + d;
  }
  return true;
}

bool ReadDict(const std::filesystem::path& path, std::string& data) {
  // gzread reads dictzip (gzip with a chunk table) and plain text alike.
  gzFile f = gzopen(path.string().c_str(), "rb");
  if (!f) return false;
  gzbuffer(f, 1 << 17);
  char buffer[1 << 16];
  int n = 0;
  while ((n = gzread(f, buffer, sizeof buffer)) > 0) data.append(buffer, static_cast<std::size_t>(n));
  const bool ok = n == 0;
  gzclose(f);
  return ok;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

View Trim(View s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWith(View s, View prefix) { return s.substr(0, prefix.size()) == prefix; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Grammar tags are ASCII: compared case-blind without converting them.
bool EqualsAscii(View a, View b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Where the bracket group that ends at close (")", "]" or ">") opens, counting nested groups of
// the same kind; npos when it does not open.
std::size_t OpeningOf(View s, std::size_t close) {
  const char closing = s[close];
  const char opening = closing == ')' ? '(' : closing == ']' ? '[' : '<';
  int depth = 0;
  for (std::size_t i = close + 1; i-- > 0;) {
    if (s[i] == closing) ++depth;
    if (s[i] == opening && --depth == 0) return i;
  }
  return View::npos;
}

// The end (";") of a character reference or entity written at i ("&#124;", "&amp;"), whether or not
// it names a character; npos when none starts there.
std::size_t ReferenceEnd(View s, std::size_t i) {
  if (s[i] != '&') return View::npos;
  for (std::size_t j = i + 1; j < s.size() && j <= i + 10; ++j) {
    const char c = s[j];
    if (c == ';') return j > i + 1 ? j : View::npos;
    const bool name = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || (c == '#' && j == i + 1);
    if (!name) return View::npos;
  }
  return View::npos;
}

// Splits at the separators (one or two characters) where no (), [], <> or {} group is open; the
// ";" that ends a reference separates nothing.
std::vector<View> SplitOutside(View s, View seps) {
  std::vector<View> parts;
  int depth = 0;
  std::size_t from = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (const std::size_t end = ReferenceEnd(s, i); end != View::npos) {
      i = end;
      continue;
    }
    const char c = s[i];
    if (c == '(' || c == '[' || c == '<' || c == '{') ++depth;
    if ((c == ')' || c == ']' || c == '>' || c == '}') && depth > 0) --depth;
    if (depth == 0 && (c == seps[0] || (seps.size() > 1 && c == seps[1]))) {
      parts.push_back(s.substr(from, i - from));
      from = i + 1;
    }
  }
  parts.push_back(s.substr(from));
  return parts;
}

void AppendUtf8(std::string& out, char32_t cp) {
  std::u16string unit;
  if (cp < 0x10000) {
    unit += static_cast<char16_t>(cp);
  } else {
    unit += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    unit += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  }
  out += ToUtf8(unit);
}

// The character a reference "&#124;", "&#x7c;" or an entity "&amp;" stands for (the reference
// without "&" and ";"); 0 when it names none.
char32_t Referenced(View name) {
  static const std::pair<View, char32_t> kEntities[] = {
      {"amp", U'&'},     {"lt", U'<'},       {"gt", U'>'},      {"quot", U'"'},    {"apos", U'\''},
      {"nbsp", 0xA0},    {"ndash", 0x2013},  {"mdash", 0x2014}, {"hellip", 0x2026}, {"laquo", 0xAB},
      {"raquo", 0xBB},   {"lsquo", 0x2018},  {"rsquo", 0x2019}, {"ldquo", 0x201C}, {"rdquo", 0x201D},
      {"bdquo", 0x201E}, {"shy", 0xAD},      {"middot", 0xB7},  {"deg", 0xB0},     {"sect", 0xA7},
      {"copy", 0xA9},    {"reg", 0xAE},      {"times", 0xD7},   {"euro", 0x20AC},  {"acute", 0xB4}};
  if (name.size() >= 2 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const View digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7) return 0;
    char32_t cp = 0;
    for (char c : digits) {
      int d = IsDigit(c) ? c - '0' : -1;
      if (hex && d < 0 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      if (hex && d < 0 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0) return 0;
      cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(d);
    }
    const bool valid = cp > 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    return valid ? cp : 0;
  }
  for (const auto& [entity, cp] : kEntities) {
    if (entity == name) return cp;
  }
  return 0;
}

// The text of a source field: character references and entities decoded, no tab or line break
// (they separate fields and lines), no blanks around.
std::string Field(View text, std::size_t& entities) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      const std::size_t semi = text.find(';', i + 1);
      const char32_t cp = semi != View::npos && semi - i <= 10 ? Referenced(text.substr(i + 1, semi - i - 1)) : 0;
      if (cp != 0) {
        AppendUtf8(out, cp == U'\t' || cp == U'\r' || cp == U'\n' ? U' ' : cp);
        ++entities;
        i = semi;
        continue;
      }
    }
    out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
  }
  return std::string(Trim(out));
}

std::string RemoveStress(View text, std::size_t& marks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) == kCombiningAcute) {
      ++marks;
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

struct Grammar {
  int rech = 0;
  int rod = 0;
};

// One tag of "<n, masc>": a part of speech, a gender, a kind of verb or noun that tells the part of
// speech, or nothing the codes hold.
bool ReadTag(View tag, Grammar& g) {
  static const std::pair<View, View> kTags[] = {
      {"n", "N"},           {"noun", "N"},        {"pl", "N"},          {"sg", "N"},
      {"pl only", "N"},     {"sg only", "N"},     {"v", "V"},           {"verb", "V"},
      {"trans", "V"},       {"intr", "V"},        {"refl", "V"},        {"adj", "A"},
      {"adv", "ADV"},       {"adverb", "ADV"},    {"pronominalAdverb", "ADV"},
      {"pn", "NPR"},        {"abbreviation", "ABBR"}, {"abbr", "ABBR"}, {"preposition", "PREP"},
      {"prep", "PREP"},     {"postposition", "PREP"}, {"interjection", "INTRJ"}, {"int", "INTRJ"},
      {"numeral", "NUM"},   {"num", "NUM"},       {"suffix", "SUFF"},   {"prefix", "PREF"},
      {"particle", "PART"}, {"ptcl", "PART"},     {"conjunction", "CONJ"}, {"conj", "CONJ"},
      {"article", "ART"},   {"art", "ART"},       {"pron", "PRON"},     {"aux", "AUX"},
      {"phrase", "PHR"},    {"idiom", "ID"}};
  static const std::pair<View, View> kGenders[] = {{"masc", "M"}, {"fem", "F"}, {"neut", "N"}};
  for (const auto& [name, code] : kGenders) {
    if (EqualsAscii(tag, name)) return g.rod = RodCode(FromUtf8(code)), true;
  }
  for (const auto& [name, code] : kTags) {
    if (!EqualsAscii(tag, name)) continue;
    // A kind of verb or noun does not override the part of speech the tags name outright.
    const bool kind = name == "trans" || name == "intr" || name == "refl" || name[0] == 'p' || name[0] == 's';
    if (g.rech == 0 || !kind) g.rech = RechCode(FromUtf8(code));
    return true;
  }
  if (tag.size() >= 7 && EqualsAscii(tag.substr(tag.size() - 7), "pronoun")) return g.rech = RechCode(u"PRON"), true;
  return false;
}

// The pieces of a text in which "<tags>" and "[labels]" stand anywhere: the text without them.
struct Marked {
  std::string text;
  std::vector<View> tags;
  std::vector<View> labels;
};

Marked TakeMarks(View s) {
  Marked m;
  std::size_t from = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '<' && s[i] != '[') continue;
    const std::size_t close = s.find(s[i] == '<' ? '>' : ']', i + 1);
    if (close == View::npos) break;
    m.text.append(s.substr(from, i - from));
    const View inside = Trim(s.substr(i + 1, close - i - 1));
    if (s[i] == '<') {
      for (View tag : SplitOutside(inside, ",")) {
        if (!Trim(tag).empty()) m.tags.push_back(Trim(tag));
      }
    } else if (!inside.empty()) {
      m.labels.push_back(s.substr(i, close - i + 1));
    }
    from = close + 1;
    i = close;
  }
  m.text.append(s.substr(from));
  // Blanks left twice where a mark stood between words.
  std::string text;
  for (char c : Trim(m.text)) {
    if (c == ' ' && !text.empty() && text.back() == ' ') continue;
    text += c;
  }
  m.text = text;
  return m;
}

// A word on the headline: the headword, or a form in brackets behind it.
struct HeadWord {
  std::string text;
  std::string transcription;
  std::vector<View> labels;  // "[Br.]" in front of a form
};

// The headline "speak /spˈiːk/ (spoke /spˈəʊk/ <>, spoken /spˈəʊkən/ <>) <v>": headword,
// transcriptions, bracketed forms (inflected forms, "<>" behind each, or short forms without),
// grammar tags; a bracket holding only labels ("([+ sg])") is a note on the entry.
struct Headline {
  HeadWord word;
  std::size_t transcriptions = 0;
  std::vector<HeadWord> forms;
  std::vector<View> tags;
  std::vector<View> notes;
};

// Strips the transcriptions "/.../" that end rest; their number. first is the leftmost of them.
std::size_t TakeTranscriptions(View& rest, View& first) {
  std::size_t n = 0;
  while (rest.size() >= 2 && rest.back() == '/') {
    const std::size_t open = rest.rfind('/', rest.size() - 2);
    if (open == View::npos || open == 0 || rest[open - 1] != ' ') break;
    first = rest.substr(open + 1, rest.size() - open - 2);
    rest = Trim(rest.substr(0, open));
    ++n;
  }
  return n;
}

void ReadForms(View group, Headline& h) {
  for (View item : SplitOutside(group, ",")) {
    Marked m = TakeMarks(Trim(item));
    View rest = m.text;
    View transcription;
    HeadWord form;
    TakeTranscriptions(rest, transcription);
    form.text = std::string(rest);
    form.transcription = std::string(transcription);
    form.labels = m.labels;
    if (!form.text.empty()) h.forms.push_back(std::move(form));
    else h.notes.insert(h.notes.end(), m.labels.begin(), m.labels.end());
  }
}

Headline ParseHeadline(View line) {
  Headline h;
  View rest = Trim(line);
  if (!rest.empty() && rest.back() == '>') {
    const std::size_t open = OpeningOf(rest, rest.size() - 1);
    if (open != View::npos) {
      for (View tag : SplitOutside(rest.substr(open + 1, rest.size() - open - 2), ",")) {
        if (!Trim(tag).empty()) h.tags.push_back(Trim(tag));
      }
      rest = Trim(rest.substr(0, open));
    }
  }
  // Bracket groups count as forms only behind a transcription: "be on (the) alert" and a headword
  // that merely ends in a bracket keep theirs.
  std::vector<View> groups;
  View beforeGroups = rest;
  while (!beforeGroups.empty() && beforeGroups.back() == ')') {
    const std::size_t open = OpeningOf(beforeGroups, beforeGroups.size() - 1);
    if (open == View::npos || open == 0) break;
    groups.push_back(beforeGroups.substr(open + 1, beforeGroups.size() - open - 2));
    beforeGroups = Trim(beforeGroups.substr(0, open));
  }
  std::reverse(groups.begin(), groups.end());
  View transcription;
  if (!groups.empty()) {
    View b = beforeGroups;
    h.transcriptions = TakeTranscriptions(b, transcription);
    if (h.transcriptions > 0) {
      rest = b;
      for (View g : groups) ReadForms(g, h);
    }
  }
  // Taken from the right, the last one found is the first one written.
  if (h.transcriptions == 0) h.transcriptions = TakeTranscriptions(rest, transcription);
  h.word.text = std::string(rest);
  h.word.transcription = std::string(transcription);
  return h;
}

// Sense numbers of the dictfmt layout: "1. угорь", "дом 2.", " 3.".
View StripSenseNumbers(View line) {
  View s = Trim(line);
  std::size_t digits = 0;
  while (digits < s.size() && IsDigit(s[digits])) ++digits;
  if (digits > 0 && digits < s.size() && s[digits] == '.' && (digits + 1 == s.size() || s[digits + 1] == ' ')) {
    s = Trim(s.substr(digits + 1));
  }
  if (!s.empty() && s.back() == '.') {
    std::size_t start = s.size() - 1;
    while (start > 0 && IsDigit(s[start - 1])) --start;
    if (start < s.size() - 1 && (start == 0 || s[start - 1] == ' ')) s = Trim(s.substr(0, start));
  }
  return s;
}

// The explanation "Zoologie, im Singular: ein Vogel" labels its sense: the labels before the first
// ":" that name subject areas become themes, the others stay in front of the text. An explanation
// whose labels name no subject area is left as it is.
struct Themed {
  std::string themes;  // "3" or "3,17": the source's themes field
  std::string explanation;
};

Themed TakeThemes(View explanation, const std::vector<std::pair<std::u16string, int>>& known, ImportReport& report) {
  Themed out{{}, std::string(explanation)};
  const std::size_t colon = explanation.find(':');
  if (known.empty() || colon == View::npos) return out;
  std::vector<int> ids;
  std::string rest;
  for (View raw : SplitOutside(explanation.substr(0, colon), ",")) {
    const View label = Trim(raw);
    const std::u16string wide = FromUtf8(label);
    const auto theme =
        std::find_if(known.begin(), known.end(), [&](const auto& t) { return EqualsNoCase(t.first, wide); });
    if (theme != known.end() && ids.size() < 3) {
      if (std::find(ids.begin(), ids.end(), theme->second) == ids.end()) ids.push_back(theme->second);
      continue;
    }
    if (theme != known.end()) ++report.labelsBeyondThree;
    if (!rest.empty()) rest += ", ";
    rest += label;
  }
  if (ids.empty()) return out;
  for (const int id : ids) {
    if (!out.themes.empty()) out.themes += ',';
    out.themes += std::to_string(id);
  }
  out.explanation = rest;
  if (!rest.empty()) out.explanation += ": ";
  out.explanation += Trim(explanation.substr(colon + 1));
  out.explanation = std::string(Trim(out.explanation));
  return out;
}

// One translation line with what qualifies it: the explanation line behind it (the WikDict
// layout) or the "Note:" lines that follow it.
struct Sense {
  View line;
  std::string explanation;
};

constexpr std::size_t kMaxForms = 16;
constexpr std::size_t kMaxComment = 4000;  // bytes

// A bracketed form links to its headword's translations; its comment names the headword (and the
// form's own labels: "smell [Br.]" for "smelt").
struct Form {
  std::string text;
  std::string comment;
};

void AppendComment(std::string& comment, View part, View separator = " ") {
  part = Trim(part);
  if (part.empty()) return;
  if (!comment.empty()) comment += separator;
  comment += part;
}

class Importer {
 public:
  Importer(const ImportOptions& options, std::ostream& out, ImportReport& report)
      : options_(options), out_(out), report_(report) {
    buffer_.reserve(1 << 20);
  }

  void Entry(View text) {
    std::vector<View> lines;
    for (std::size_t from = 0; from <= text.size();) {
      std::size_t nl = text.find('\n', from);
      if (nl == View::npos) nl = text.size();
      lines.push_back(text.substr(from, nl - from));
      from = nl + 1;
    }
    while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
    if (lines.empty()) return void(++report_.badEntries);
    const Headline head = ParseHeadline(lines[0]);
    const std::string word = Field(head.word.text, report_.entities);
    if (word.empty()) return void(++report_.badEntries);
    if (head.transcriptions > 1) report_.extraTranscriptions += head.transcriptions - 1;

    std::vector<Form> forms;  // each once and not the headword
    WriteWord(word, head.word.transcription);
    FingerprintSet named;
    if (!head.forms.empty()) named.Insert(Fingerprint(word));
    for (const HeadWord& f : head.forms) {
      Form form{Field(f.text, report_.entities), word};
      if (form.text.empty() || !named.Insert(Fingerprint(form.text))) continue;
      // Every form gets every translation of the entry: a bound keeps that product in proportion.
      if (forms.size() == kMaxForms) {
        ++report_.extraForms;
        continue;
      }
      for (View label : f.labels) AppendComment(form.comment, label);
      WriteWord(form.text, f.transcription);
      forms.push_back(std::move(form));
      ++report_.forms;
    }
    if (options_.transcriptionsOnly) return;

    Grammar grammar;
    for (View tag : head.tags) {
      if (!ReadTag(tag, grammar)) ++report_.unknownTags;
    }
    std::string entryNote;
    for (View note : head.notes) AppendComment(entryNote, note);
    std::vector<Sense> senses = Senses(lines);
    bool translated = false;
    for (const Sense& sense : senses) {
      const Themed themed = TakeThemes(sense.explanation, options_.themes, report_);
      std::string comment = entryNote;
      AppendComment(comment, themed.explanation);
      const bool any = Translations(word, forms, StripSenseNumbers(sense.line), themed.themes, comment, grammar);
      if (!any && !sense.explanation.empty()) ++report_.untranslatedSenses;
      translated = translated || any;
    }
    if (!translated) return;
    translated_.Insert(Fingerprint(word));
    for (const Form& form : forms) translated_.Insert(Fingerprint(form.text));
  }

  void Finish() {
    Flush();
    report_.headwords = words_.Size();
    report_.noTranslation = 0;
    for (std::uint64_t f : headwordList_) report_.noTranslation += translated_.Contains(f) ? 0 : 1;
  }

 private:
  // A side-1 word: written when first met, and again when it first gets a transcription (the
  // builder keeps the first transcription a word is given).
  void WriteWord(const std::string& word, View rawTranscription) {
    const std::string transcription = Field(rawTranscription, report_.entities);
    if (options_.transcriptionsOnly && transcription.empty()) return;
    const std::uint64_t f = Fingerprint(word);
    const bool isNew = words_.Insert(f);
    const bool firstTranscription = !transcription.empty() && transcribed_.Insert(f);
    if (!isNew && !firstTranscription) return;
    if (isNew && !options_.transcriptionsOnly) headwordList_.push_back(f);
    buffer_ += "W\t1\t";
    buffer_ += word;
    if (!transcription.empty()) buffer_ += '\t' + transcription;
    buffer_ += '\n';
  }

  // The entry's body as senses. In the WikDict layout every translation line is followed by one
  // explanation line. Otherwise a line is a translation line unless it is a note ("Note: ..."),
  // belonging to the translation line above it, an example ("\"...\"  - ...", indented) or a
  // cross-reference ("see: {...}", "Synonym: {...}").
  std::vector<Sense> Senses(const std::vector<View>& lines) {
    std::vector<Sense> senses;
    if (options_.explanations) {
      for (std::size_t i = 1; i < lines.size(); i += 2) {
        senses.push_back({lines[i], i + 1 < lines.size() ? std::string(Trim(lines[i + 1])) : std::string()});
      }
      return senses;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const View line = lines[i];
      const View t = Trim(line);
      if (t.empty()) continue;
      if (StartsWith(t, "see:") || StartsWith(t, "Synonym:") || StartsWith(t, "Synonyms:")) {
        ++report_.crossReferences;
      } else if (StartsWith(t, "Note:")) {
        if (senses.empty()) {
          ++report_.untranslatedSenses;
          continue;
        }
        // Grammar tags inside a note would read as link markup where the comment is shown.
        const Marked note = TakeMarks(t.substr(5));
        AppendComment(senses.back().explanation, note.text, "; ");
        for (View label : note.labels) AppendComment(senses.back().explanation, label);
        ++report_.notes;
      } else if (t.front() == '"' && line.size() - t.size() >= 2) {
        ++report_.examples;
      } else {
        senses.push_back({line, {}});
      }
    }
    return senses;
  }

  // The translations of one line, separated by "," or ";" outside brackets, each with its own
  // tags and labels; labels in front of the line's first translation qualify the whole line.
  bool Translations(const std::string& word, const std::vector<Form>& forms, View line,
                    const std::string& themes, const std::string& senseComment, Grammar entry) {
    std::string lineLabels;
    line = Trim(line);
    while (!line.empty() && line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close == View::npos) break;
      AppendComment(lineLabels, line.substr(0, close + 1));
      line = Trim(line.substr(close + 1));
      ++report_.notes;
    }
    bool any = false;
    for (View part : SplitOutside(line, ",;")) {
      Marked m = TakeMarks(Trim(part));
      std::string translation = RemoveStress(m.text, report_.stressMarks);
      std::string note;
      // A closing "(о погоде)" is a usage note, not part of the word.
      if (!translation.empty() && translation.back() == ')') {
        const std::size_t open = OpeningOf(translation, translation.size() - 1);
        if (open != std::string::npos && open > 0) {
          note = translation.substr(open);
          translation = std::string(Trim(View(translation).substr(0, open)));
        }
      }
      const std::string target = Field(translation, report_.entities);
      if (target.empty()) continue;
      Grammar g = entry;
      Grammar own;
      for (View tag : m.tags) {
        if (!ReadTag(tag, own)) ++report_.unknownTags;
      }
      if (g.rech == 0) g.rech = own.rech;
      if (own.rod != 0) g.rod = own.rod;
      // Only nouns have a gender: "Akut <masc>" is one.
      if (g.rech == 0 && g.rod != 0) g.rech = RechCode(u"N");
      std::string comment = lineLabels;
      for (View label : m.labels) AppendComment(comment, label);
      report_.notes += m.labels.size();
      AppendComment(comment, note);
      AppendComment(comment, senseComment);
      if (Link(word, target, g, themes, Field(comment, report_.entities))) any = true;
      for (const Form& form : forms) {
        std::string formComment = form.comment;
        AppendComment(formComment, comment, "; ");
        Link(form.text, target, g, themes, Field(formComment, report_.entities));
      }
    }
    return any;
  }

  bool Link(const std::string& word, const std::string& target, Grammar g, const std::string& themes,
            std::string_view comment) {
    // Every translation of a line carries the line's notes: a bound keeps that product in
    // proportion (the longest comment of the three Debian databases is about 1,000 bytes).
    if (comment.size() > kMaxComment) {
      std::size_t cut = kMaxComment;
      while (cut > 0 && (static_cast<unsigned char>(comment[cut]) & 0xC0) == 0x80) --cut;
      comment = comment.substr(0, cut);
      ++report_.cutComments;
    }
    const std::size_t start = buffer_.size();
    buffer_ += "L\t";
    buffer_ += word;
    buffer_ += '\t';
    buffer_ += target;
    buffer_ += '\t';
    buffer_ += ToUtf8(RechTag(g.rech));
    buffer_ += '\t';
    buffer_ += ToUtf8(RodTag(g.rod));
    buffer_ += '\t';
    buffer_ += themes;
    buffer_ += '\t';
    buffer_ += comment;
    if (!links_.Insert(Fingerprint(View(buffer_).substr(start)))) {
      buffer_.resize(start);
      ++report_.duplicateLinks;
      return false;
    }
    buffer_ += '\n';
    ++report_.links;
    if (!themes.empty()) ++report_.themedLinks;
    if (targets_.Insert(Fingerprint(target))) ++report_.translations;
    if (buffer_.size() >= (1 << 20)) Flush();
    return true;
  }

  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

  const ImportOptions& options_;
  std::ostream& out_;
  ImportReport& report_;
  std::string buffer_;
  // Texts are remembered by fingerprint: millions of links fit in a few tens of megabytes.
  FingerprintSet words_, transcribed_, translated_, targets_, links_;
  std::vector<std::uint64_t> headwordList_;
};

}  // namespace

void ImportEntries(std::string_view index, std::string_view data, const ImportOptions& options, std::ostream& out,
                   ImportReport& report) {
  report = {};
  Importer importer(options, out, report);
  FingerprintSet seen;
  for (std::size_t from = 0; from < index.size();) {
    std::size_t nl = index.find('\n', from);
    if (nl == View::npos) nl = index.size();
    View line = index.substr(from, nl - from);
    from = nl + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == View::npos ? tab1 : line.find('\t', tab1 + 1);
    if (StartsWith(line, "00database") || StartsWith(line, "00-database")) {
      ++report.metadata;
      continue;
    }
    std::uint64_t offset = 0, length = 0;
    if (tab2 == View::npos || !DecodeNumber(line.substr(tab1 + 1, tab2 - tab1 - 1), offset) ||
        !DecodeNumber(line.substr(tab2 + 1), length) || offset > data.size() || length > data.size() - offset) {
      ++report.badEntries;
      continue;
    }
    const std::uint64_t entry[2] = {offset, length};
    if (!seen.Insert(Fingerprint(View(reinterpret_cast<const char*>(entry), sizeof entry)))) {
      ++report.sharedEntries;
      continue;
    }
    ++report.entries;
    importer.Entry(data.substr(offset, length));
  }
  importer.Finish();
}

bool ImportDictd(const std::filesystem::path& index, const std::filesystem::path& dict, const ImportOptions& options,
                 std::ostream& out, ImportReport& report, std::string& err) {
  report = {};
  std::ifstream in(index, std::ios::binary);
  if (!in) return err = index.string() + ": cannot read", false;
  const std::string indexText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string data;
  if (!ReadDict(dict, data)) return err = dict.string() + ": cannot read", false;
  ImportEntries(indexText, data, options, out, report);
  return true;
}

std::vector<std::pair<std::u16string, int>> ThemesOfSource(std::u16string_view source) {
  std::vector<std::pair<std::u16string, int>> themes;
  bool inside = false;
  for (std::u16string line : SplitText(source, u"\n")) {
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (!inside) {
      inside = EqualsNoCase(parlavent::Trim(line), u"@member Themes");
      continue;
    }
    if (line == u"@end") break;
    const std::vector<std::u16string> fields = SplitText(parlavent::Trim(line), u"\t");
    std::int64_t id = 0;
    if (fields.size() >= 2 && ParseInt64(fields[0], id) && id > 0 && id <= 65535) {
      themes.emplace_back(fields[1], static_cast<int>(id));
    }
  }
  return themes;
}

std::string DescribeImport(const ImportReport& r) {
  std::ostringstream s;
  s << r.entries << " entries, " << r.headwords << " headwords, " << r.forms << " bracketed forms, "
    << r.translations << " translations, " << r.links << " links\n"
    << (r.extraForms ? std::to_string(r.extraForms) + " forms beyond sixteen of an entry left out\n" : std::string())
    << (r.cutComments ? std::to_string(r.cutComments) + " comments cut to 4,000 bytes\n" : std::string())
    << "left out: " << r.metadata << " database information lines, " << r.sharedEntries
    << " index lines naming an entry already read, " << r.badEntries << " unreadable entries\n"
    << "kept in comments: " << r.notes << " notes and labels; decoded: " << r.entities
    << " character references and entities\n"
    << "dropped: " << r.examples << " examples, " << r.crossReferences << " cross-references, "
    << r.untranslatedSenses << " explanations and notes of senses without a translation, " << r.extraTranscriptions
    << " further transcriptions, " << r.duplicateLinks << " repeated translations, " << r.unknownTags
    << " grammar tags without a code, " << r.stressMarks << " stress marks\n"
    << r.noTranslation << " headwords have no translation\n";
  if (r.themedLinks || r.labelsBeyondThree) {
    s << r.themedLinks << " links with themes, " << r.labelsBeyondThree
      << " theme labels beyond three left in comments\n";
  }
  return s.str();
}

}  // namespace parlavent::dictool
