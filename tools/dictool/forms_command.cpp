#include "forms_command.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "app/application.h"
#include "app/ending_scanner.h"
#include "app/main_form.h"
#include "app/view_host.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/lookup.h"
#include "dictionary/result_tree.h"
#include "dictionary_source.h"
#include "foundation/api_strings.h"
#include "foundation/settings_object.h"
#include "load_command.h"
#include "text/text.h"
#include "utf8.h"

namespace parlavent::dictool {
namespace {

struct Rule {
  std::u16string ending;
  std::vector<std::u16string> replaces;
  std::vector<bool> dropped;  // replacements taken out because they led forms to other words
};

struct Form {
  std::u16string text;
  std::vector<std::uint32_t> bases;  // the words of its readings, in the order the pairs name them
  std::vector<std::u16string> lowered;  // their texts in lower case, as the look-up compares
  bool mayBeWord = false;
};

// The words of one side by their lower-case text (the look-up compares case-blind).
using WordIndex = std::unordered_map<std::u16string, std::vector<std::uint32_t>>;

// Where the look-up's endings take a form: the candidate found and the rule and replacement
// that made it (rule -1 when none is found).
struct Hit {
  std::u16string candidate;
  int rule = -1;
  std::size_t replacement = 0;
};

// The look-up through the endings: the shortest ending first, the replacements in rule order,
// the first candidate that is a word. Words shorter than an ending and three letters are left
// alone, as the loader's MinWordLen says.
Hit Reach(const std::u16string& form, const std::vector<Rule>& rules, const std::unordered_map<std::u16string, int>& byEnding,
          const std::unordered_set<std::u16string>& words) {
  // Case is mapped letter by letter: the form is lowered once, its endings and stems with it.
  const std::u16string lowered = LCase(form);
  const std::size_t len = lowered.size();
  for (std::size_t j = 1; j <= 10 && len >= 3 + j; ++j) {
    const auto at = byEnding.find(lowered.substr(len - j));
    if (at == byEnding.end()) continue;
    const Rule& rule = rules[at->second];
    const std::u16string_view stem = std::u16string_view(lowered).substr(0, len - j);
    for (std::size_t k = 0; k < rule.replaces.size(); ++k) {
      if (rule.dropped[k]) continue;
      std::u16string candidate = LCase(rule.replaces[k]);
      candidate.insert(0, stem);
      if (words.count(candidate)) return {std::move(candidate), at->second, k};
    }
  }
  return {};
}

// What the look-up shows for a form. The common package paired with the full one (its words are
// those with a transcription, and the forms added to it below) is searched first; the full one's
// find stands only when the common package does not know the text as written and the full one's
// find is longer.
Hit Answer(const std::u16string& form, const std::vector<Rule>& rules, const std::unordered_map<std::u16string, int>& byEnding,
           const std::unordered_set<std::u16string>& full, const std::unordered_set<std::u16string>& common) {
  std::u16string lowered = LCase(form);
  Hit first = common.count(lowered) ? Hit{lowered} : Reach(form, rules, byEnding, common);
  if (first.candidate == lowered) return first;
  Hit second = full.count(lowered) ? Hit{std::move(lowered)} : Reach(form, rules, byEnding, full);
  return second.candidate.size() > first.candidate.size() ? second : first;
}

bool IsBase(const Form& f, const std::u16string& candidate) {
  return std::find(f.lowered.begin(), f.lowered.end(), candidate) != f.lowered.end();
}

// Whether reaching candidate shows every reading of the form: a form of two words of different
// spellings ("gärten" of "gären", "Gärten" of "Garten") needs a word of its own that names both.
bool Covers(const Form& f, const std::u16string& candidate) {
  return !f.lowered.empty() && std::all_of(f.lowered.begin(), f.lowered.end(), [&](const auto& b) { return b == candidate; });
}

// The words of a source, by side: in lower case (the look-up compares case-blind) and as written.
struct Headwords {
  explicit Headwords(const DictionarySource& src) {
    for (std::uint32_t k = 0; k < src.WordCount(); ++k) {
      const WordEntry& w = src.Words()[k];
      if (w.side != 1 && w.side != 2) continue;
      words[w.side - 1][LCase(FromUtf8(src.Text(w.text)))].push_back(k);
      exact[w.side - 1].emplace(src.Text(w.text), k);
    }
  }
  WordIndex words[2];
  std::unordered_map<std::string_view, std::uint32_t> exact[2];
};

// The forms of each side whose base the source has. A form the source has as a word of its own
// ("дома", at home, a form of "дом") keeps its entry and gets its base's translations beside
// it, as a form in another case does ("trank" of "trinken" beside "Trank"). A form belongs to its base
// as spelt: "gegessen" to the verb "essen", not to the noun "Essen"; a base the source spells
// otherwise counts when one word alone has its letters ("ebay" for "eBay").
bool ReadForms(const DictionarySource& src, const Headwords& heads, const std::vector<FormsInput::Pairs>& pairs,
               std::vector<Form> (&forms)[2], std::string& err) {
  for (const auto& [side, path, asWords] : pairs) {
    if (side != 1 && side != 2) continue;
    // A folder opens as a stream that reads nothing: it would pass for a file without pairs.
    std::error_code ec;
    std::ifstream file(path, std::ios::binary);
    if (!file || std::filesystem::is_directory(path, ec)) {
      err = "cannot read " + path.string() + " (a file of \"form TAB base\" lines)";
      return false;
    }
    auto& index = forms[side - 1];
    const auto& exact = heads.exact[side - 1];
    const auto& words = heads.words[side - 1];
    std::unordered_map<std::u16string, std::size_t> seen;
    for (std::size_t k = 0; k < index.size(); ++k) seen.emplace(LCase(index[k].text), k);
    std::string line;
    for (std::size_t lineNo = 1; std::getline(file, line); ++lineNo) {
      // Words are UTF-8 text: a NUL or a malformed byte would come out as a word of its own.
      if (line.find('\0') != std::string::npos || !IsWellFormedUtf8(line)) {
        err = path.string() + ":" + std::to_string(lineNo) + ": not UTF-8 text (a NUL or a malformed byte)";
        return false;
      }
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const auto tab = line.find('\t');
      if (tab == std::string::npos || line.empty() || line[0] == '#') continue;
      const std::string_view formText = std::string_view(line).substr(0, tab);
      const std::u16string form = FromUtf8(formText);
      const std::u16string baseText = Trim(FromUtf8(std::string_view(line).substr(tab + 1)));
      if (form.empty()) continue;
      std::uint32_t base = 0;
      if (const auto e = exact.find(ToUtf8(baseText)); e != exact.end()) {
        base = e->second;
      } else if (const auto w = words.find(LCase(baseText)); w != words.end() && w->second.size() == 1) {
        base = w->second[0];
      } else {
        continue;
      }
      // A spelling of the base itself ("Spielen", the noun, beside "spielen") is no form of it.
      if (LCase(form) == LCase(FromUtf8(src.Text(src.Words()[base].text)))) continue;
      auto [at, fresh] = seen.emplace(LCase(form), index.size());
      if (fresh) index.push_back({form, {}, {}});
      Form& f = index[at->second];
      f.mayBeWord |= asWords;
      if (std::find(f.bases.begin(), f.bases.end(), base) == f.bases.end()) {
        f.bases.push_back(base);
        f.lowered.push_back(LCase(FromUtf8(src.Text(src.Words()[base].text))));
      }
    }
    if (file.bad()) {
      err = "cannot read " + path.string();
      return false;
    }
  }
  return true;
}

std::vector<Rule> ParseRules(std::u16string_view text) {
  std::vector<Rule> rules;
  for (const auto& line : SplitText(text, u"\r\n")) {
    const auto fields = SplitText(line, u"\t");
    if (fields[0].empty() || fields.size() < 2) continue;  // the whole word as its own ending
    Rule rule{fields[0], SplitText(fields[1], u","), {}};
    rule.dropped.assign(rule.replaces.size(), false);
    rules.push_back(std::move(rule));
  }
  return rules;
}

std::string LinkLine(std::string_view kind, std::string_view side1, std::string_view side2, const LinkEntry& link, std::string_view comment) {
  std::string line = std::string(kind) + "\t" + std::string(side1) + "\t" + std::string(side2) + "\t";
  if (link.rech) line += std::to_string(link.rech);
  line += "\t";
  if (link.rod) line += std::to_string(link.rod);
  line += "\t";
  if (link.themes[0] || link.themes[1] || link.themes[2]) {
    line += std::to_string(link.themes[0]) + "," + std::to_string(link.themes[1]) + "," + std::to_string(link.themes[2]);
  }
  line += "\t" + std::string(comment) + "\n";
  return line;
}

}  // namespace

std::string ShareText(std::size_t part, std::size_t whole) {
  if (whole == 0) return "-";
  char share[32];
  std::snprintf(share, sizeof share, "%.2f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return share;
}

namespace {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code e1, e2;
  if (std::filesystem::equivalent(a, b, e1)) return true;
  const auto ca = std::filesystem::weakly_canonical(a, e1), cb = std::filesystem::weakly_canonical(b, e2);
  return !e1 && !e2 && ca == cb;
}

// Two files written together or not at all: each is opened beside its place before any work is
// done (so that a place nothing can be written to is known at once), and only when both are
// whole do they take their places; what is left over goes.
class Outputs {
 public:
  Outputs(const std::filesystem::path& a, const std::filesystem::path& b) : paths_{a, b} {
    for (int i = 0; i < 2; ++i) {
      temp_[i] = paths_[i];
      temp_[i] += ".part";
      files_[i].open(temp_[i], std::ios::binary | std::ios::trunc);
    }
  }
  Outputs(const Outputs&) = delete;
  Outputs& operator=(const Outputs&) = delete;
  ~Outputs() {
    std::error_code ec;
    for (int i = 0; i < 2; ++i) {
      files_[i].close();
      std::filesystem::remove(temp_[i], ec);
    }
  }
  bool Open(std::string& err) const {
    for (int i = 0; i < 2; ++i) {
      if (!files_[i]) return err = "cannot write " + paths_[i].string(), false;
    }
    return true;
  }
  bool Commit(const std::string& a, const std::string& b, std::string& err) {
    const std::string* texts[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
      files_[i].write(texts[i]->data(), static_cast<std::streamsize>(texts[i]->size()));
      files_[i].close();
      if (!files_[i]) return err = "cannot write " + paths_[i].string(), false;
    }
    for (int i = 0; i < 2; ++i) {
      std::error_code ec;
      std::filesystem::rename(temp_[i], paths_[i], ec);
      if (ec) return err = "cannot write " + paths_[i].string() + ": " + ec.message(), false;
    }
    return true;
  }

 private:
  std::filesystem::path paths_[2], temp_[2];
  std::ofstream files_[2];
};

}  // namespace

bool MakeForms(const FormsInput& in, const std::filesystem::path& rulesOut, const std::filesystem::path& out,
               FormsReport& report, std::string& err) {
  // Each output is a file of its own, and neither may overwrite what is still to be read.
  if (SameFile(rulesOut, out)) {
    err = "RULES.txt and OUT.txt are the same file (" + out.string() + ")";
    return false;
  }
  for (const auto& p : {rulesOut, out}) {
    std::error_code ec;
    if (std::filesystem::is_directory(p, ec)) {
      err = p.string() + " is a folder, not a file to write";
      return false;
    }
    if (SameFile(p, in.source)) {
      err = p.string() + " is the source itself";
      return false;
    }
    for (const auto& pairs : in.pairs) {
      if (SameFile(p, pairs.file)) {
        err = p.string() + " is a file of pairs (" + pairs.file.string() + ")";
        return false;
      }
    }
  }
  Outputs outputs(rulesOut, out);
  if (!outputs.Open(err)) return false;
  DictionarySource src;
  if (!ReadSource(in.source, src, err)) return false;
  const Headwords heads(src);
  const WordIndex* words = heads.words;
  // A base's own links: the links of forms the source has already ("F ging идти") are no
  // translations of the base, and a form of it must not list them ("шёл" would list ging).
  std::vector<std::vector<std::uint32_t>> linksOf(src.WordCount());
  for (std::uint32_t k = 0; k < src.LinkCount(); ++k) {
    const LinkEntry& l = src.Links()[k];
    if (l.sideOneOnly) continue;
    if (l.word1 < linksOf.size()) linksOf[l.word1].push_back(k);
    if (l.word2 < linksOf.size()) linksOf[l.word2].push_back(k);
  }
  std::vector<Form> forms[2];
  if (!ReadForms(src, heads, in.pairs, forms, err)) return false;

  // The scanner's counting, each form against its bases; then its rules.
  // The scanner reports its progress; a build without an application object shows it nowhere.
  ViewHost host;
  ProgressForm& progress = host.Progress();
  std::vector<Rule> rules;
  std::vector<int> sideOf;
  std::unordered_map<std::u16string, int> byEnding;
  for (int s = 0; s < 2; ++s) {
    report.pairs[s] = forms[s].size();
    EndingTable table;
    std::int64_t scanned = 0;
    for (const Form& f : forms[s]) {
      if (f.text.size() <= 4 || heads.exact[s].count(ToUtf8(f.text))) continue;
      ++scanned;
      std::vector<std::u16string> candidates;
      for (std::uint32_t k : f.bases) candidates.push_back(FromUtf8(src.Text(src.Words()[k].text)));
      CountEndings(f.text, candidates, table);
    }
    for (Rule& r : ParseRules(EndingRules(table, scanned, progress))) {
      // A rule for an ending the other language has as well stays the first side's.
      if (byEnding.count(LCase(r.ending))) continue;
      byEnding[LCase(r.ending)] = static_cast<int>(rules.size());
      rules.push_back(std::move(r));
      sideOf.push_back(s);
    }
  }

  // A replacement that leads more forms to another word than to their base goes; the forms it
  // led right then look further, so the check repeats until no replacement goes. The forms a
  // kept replacement leads astray become words of their own below.
  std::unordered_set<std::u16string> all[2], common;
  for (int s = 0; s < 2; ++s) {
    for (const auto& [text, ids] : words[s]) all[s].insert(text);
  }
  for (const WordEntry& w : src.Words()) {
    if (w.transcription.length) common.insert(LCase(FromUtf8(src.Text(w.text))));
  }
  const auto dropMisleading = [&] {
    for (bool dropped = true; dropped;) {
      dropped = false;
      std::vector<std::vector<std::int64_t>> balance(rules.size());  // right minus wrong, per replacement
      for (std::size_t r = 0; r < rules.size(); ++r) balance[r].assign(rules[r].replaces.size(), 0);
      for (int s = 0; s < 2; ++s) {
        for (const Form& f : forms[s]) {
          // A form found as written (in another case) never reaches the endings.
          if (words[s].count(LCase(f.text))) continue;
          const Hit hit = Answer(f.text, rules, byEnding, all[s], common);
          if (hit.rule >= 0) balance[hit.rule][hit.replacement] += IsBase(f, hit.candidate) ? 1 : -1;
        }
      }
      for (std::size_t r = 0; r < rules.size(); ++r) {
        for (std::size_t k = 0; k < balance[r].size(); ++k) {
          if (balance[r][k] >= 0) continue;
          rules[r].dropped[k] = dropped = true;
          ++report.dropped[sideOf[r]];
        }
      }
    }
  };
  dropMisleading();

  // The scanner keeps the replacements frequent among all forms of an ending; rarer ones can
  // still lead many forms home that nothing else reaches ("окна" through "а" → "о"). The
  // endings such forms share with their bases (the shortest, and one letter more) become
  // replacements where enough forms need them, behind the scanner's, and go through the check
  // above; a few rounds take what is to be had.
  constexpr std::size_t kFormsForAReplacement = 4;
  for (int round = 0; round < 4; ++round) {
    std::map<std::pair<std::u16string, std::u16string>, std::size_t> wanted[2];
    for (int s = 0; s < 2; ++s) {
      for (const Form& f : forms[s]) {
        const std::u16string form = LCase(f.text);
        if (words[s].count(form) || IsBase(f, Answer(f.text, rules, byEnding, all[s], common).candidate)) continue;
        for (const std::u16string& base : f.lowered) {
          std::size_t shared = 0;  // letters the form shares with the base in front
          while (shared < form.size() && shared < base.size() && form[shared] == base[shared]) ++shared;
          for (std::size_t j = form.size() - shared, more = 0; more < 2 && j <= 10; ++j, ++more) {
            if (j == 0 || form.size() < 3 + j) continue;
            const std::size_t stem = form.size() - j;
            ++wanted[s][{form.substr(stem), base.substr(stem)}];
          }
        }
      }
    }
    bool added = false;
    for (int s = 0; s < 2; ++s) {
      for (const auto& [pair, count] : wanted[s]) {
        if (count < kFormsForAReplacement) continue;
        const auto& [ending, replacement] = pair;
        auto at = byEnding.find(ending);
        if (at == byEnding.end()) {
          at = byEnding.emplace(ending, static_cast<int>(rules.size())).first;
          rules.push_back({ending, {}, {}});
          sideOf.push_back(s);
        }
        Rule& rule = rules[at->second];
        if (std::find(rule.replaces.begin(), rule.replaces.end(), replacement) != rule.replaces.end()) continue;
        rule.replaces.push_back(replacement);
        rule.dropped.push_back(false);
        ++report.added[s];
        added = true;
      }
    }
    if (!added) break;
    dropMisleading();
  }

  // A rule whose one replacement is the empty ending is written "," (twice the empty ending):
  // an empty list would read as a rule without replacements.
  std::string rulesText = "@member Replace\n";
  for (std::size_t r = 0; r < rules.size(); ++r) {
    std::vector<std::u16string> kept;
    for (std::size_t k = 0; k < rules[r].replaces.size(); ++k) {
      if (!rules[r].dropped[k]) kept.push_back(rules[r].replaces[k]);
    }
    if (kept.empty()) continue;
    ++report.rules[sideOf[r]];
    const std::u16string list = JoinText(kept, u",");
    rulesText += ToUtf8(rules[r].ending + u"\t" + (list.empty() ? u"," : list)) + "\n";
  }
  rulesText += "@end\n";

  // The forms the rules lead elsewhere or nowhere become words of their own. A word added can
  // catch another form on its way to its base ("Kinder" would reach the added "Kindern" before
  // "Kind"), so the check repeats over the grown words until no form is added.
  std::string formsText, commonWords;
  std::unordered_set<std::string> written;
  for (int s = 0; s < 2; ++s) {
    std::vector<bool> asWord(forms[s].size(), false);
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t i = 0; i < forms[s].size(); ++i) {
        const Form& f = forms[s][i];
        if (asWord[i] || !f.mayBeWord) continue;
        // A word of another case is found as it stands: the look-up never tries its endings.
        if (!words[s].count(LCase(f.text)) && Covers(f, Answer(f.text, rules, byEnding, all[s], common).candidate)) continue;
        asWord[i] = grew = true;
        all[s].insert(LCase(f.text));
        // The common package's endings can still lead it elsewhere, to a word as long as itself
        // ("kamst" to "kamen"): the common package then knows it as a word without links, and
        // the look-up takes its links from the full one.
        if (Answer(f.text, rules, byEnding, all[s], common).candidate != LCase(f.text)) {
          common.insert(LCase(f.text));
          commonWords += "W\t" + std::to_string(s + 1) + "\t" + ToUtf8(f.text) + "\n";
          ++report.inCommon[s];
        }
      }
    }
    for (std::size_t i = 0; i < forms[s].size(); ++i) {
      const Form& f = forms[s][i];
      if (!asWord[i]) {
        const Hit hit = Answer(f.text, rules, byEnding, all[s], common);
        if (words[s].count(LCase(f.text))) ++report.elsewhere[s];
        else if (Covers(f, hit.candidate)) ++report.byRules[s];
        else if (!hit.candidate.empty()) ++report.elsewhere[s];
        else ++report.nowhere[s];
        continue;
      }
      ++report.asWords[s];
      const std::string form = ToUtf8(f.text);
      for (std::uint32_t k : f.bases) {
        const std::string_view baseText = src.Text(src.Words()[k].text);
        for (std::uint32_t li : linksOf[k]) {
          const LinkEntry& l = src.Links()[li];
          const std::string_view other = src.Text(src.Words()[s == 0 ? l.word2 : l.word1].text);
          // The base's own comment stays with the base: a form names only its base. The word of
          // the other side does not list the form's links.
          std::string line = s == 0 ? LinkLine("F", form, other, l, baseText) : LinkLine("F2", other, form, l, baseText);
          if (written.insert(line).second) {
            formsText += line;
            ++report.links;
          }
        }
      }
    }
  }

  std::ifstream source(in.source, std::ios::binary);
  std::ostringstream full;
  if (source.peek() != std::char_traits<char>::eof()) full << source.rdbuf();
  if (source.bad()) {
    err = "cannot read " + in.source.string();
    return false;
  }
  full << '\n' << rulesText << formsText;
  return outputs.Commit(rulesText + commonWords, std::move(full).str(), err);
}

namespace {

bool HasComment(const TranslationSet& entry, std::u16string_view comment) {
  for (std::size_t r = 1; r <= entry.RechSet.Count(); ++r) {
    const auto& themes = (*entry.RechSet.ItemAt(r))->ThemeSet;
    for (std::size_t t = 1; t <= themes.Count(); ++t) {
      const auto& comments = (*themes.ItemAt(t))->CommSet;
      for (std::size_t c = 1; c <= comments.Count(); ++c) {
        if (EqualsNoCase((*comments.ItemAt(c))->Comment, comment)) return true;
      }
    }
  }
  return false;
}

}  // namespace

FormAnswer AnswerOf(Appl& app, std::u16string_view form, const std::vector<std::u16string>& bases, std::u16string& shown) {
  std::u16string rendered;
  shown.clear();
  const std::int32_t score = app.GetTranslate(form, rendered, {}, {});
  const auto entry = score > 0 && app.WordSet && app.WordSet->Words.Count() ? *app.WordSet->Words.ItemAt(1) : nullptr;
  if (!entry) return FormAnswer::kNothing;
  shown = entry->Word;
  for (const auto& b : bases) {
    if (EqualsNoCase(entry->Word, b) || (EqualsNoCase(entry->Word, form) && HasComment(*entry, b))) return FormAnswer::kBase;
  }
  return FormAnswer::kOther;
}

std::vector<std::u16string> ShownTranslations(const TranslationSet& entry) {
  std::vector<std::u16string> out;
  for (std::size_t r = 1; r <= entry.RechSet.Count(); ++r) {
    const auto& themes = (*entry.RechSet.ItemAt(r))->ThemeSet;
    for (std::size_t t = 1; t <= themes.Count(); ++t) {
      const auto& comments = (*themes.ItemAt(t))->CommSet;
      for (std::size_t c = 1; c <= comments.Count(); ++c) {
        const auto& items = (*comments.ItemAt(c))->TransSet;
        for (std::size_t i = 1; i <= items.Count(); ++i) out.push_back((*items.ItemAt(i))->Text);
      }
    }
  }
  return out;
}

namespace {

// Whether every word of the source keeps its own translations when looked up: the whole word
// asked as the one-call Translate asks it, its entry shows all of them, and first one of the
// translations its text has of its own (the words of that spelling in any case, on either side,
// are one entry), not one of a word it is a form of. Prints per side the share; false when a word
// misses.
bool CheckWords(Appl& app, const DictionarySource& src, const FormsCheckInput& in, std::ostream& out) {
  const auto& words = src.Words();
  std::vector<std::vector<std::u16string>> own(words.size());
  for (const LinkEntry& l : src.Links()) {
    if (l.sideOneOnly) continue;
    own[l.word1].push_back(FromUtf8(src.Text(words[l.word2].text)));
    own[l.word2].push_back(FromUtf8(src.Text(words[l.word1].text)));
  }
  std::unordered_map<std::u16string, std::unordered_set<std::u16string>> ownOfText;
  for (std::size_t k = 0; k < words.size(); ++k) {
    for (const auto& t : own[k]) ownOfText[LCase(FromUtf8(src.Text(words[k].text)))].insert(LCase(t));
  }
  TranslateArgs args;
  args.FullText = true;
  args.ClrBuffer = true;
  bool whole = true;
  for (int s = 1; s <= 2; ++s) {
    std::size_t checked = 0, kept = 0, unasked = 0;
    for (std::size_t k = 0; k < words.size(); ++k) {
      if (words[k].side != s || own[k].empty()) continue;
      const std::u16string text = FromUtf8(src.Text(words[k].text));
      // The look-up trims a phrase of blanks and hyphens at its ends, so a prefix ("un-") is
      // never asked for as written, whatever the package holds.
      if (Trim(API::TrimString(Trim(text), u"-")) != text) {
        ++unasked;
        continue;
      }
      ++checked;
      std::u16string rendered;
      const bool found = app.GetTranslate(text, rendered, args, {}) > 0 && app.WordSet && app.WordSet->Words.Count();
      const std::vector<std::u16string> shown = found ? ShownTranslations(**app.WordSet->Words.ItemAt(1)) : std::vector<std::u16string>{};
      // The entry shows a translation once whatever its case ("God" and "god" give Бог).
      std::unordered_set<std::u16string> lowered;
      for (const auto& t : shown) lowered.insert(LCase(t));
      const bool all = std::all_of(own[k].begin(), own[k].end(), [&](const auto& t) { return lowered.count(LCase(t)); });
      if (all && !shown.empty() && ownOfText[LCase(text)].count(LCase(shown.front()))) {
        ++kept;
      } else if (in.list) {
        out << "  " << ToUtf8(text) << " (" << ToUtf8(JoinText(own[k], u"; ")) << ") -> "
            << (shown.empty() ? std::string("nothing") : ToUtf8(JoinText(shown, u"; "))) << "\n";
      }
    }
    out << ToUtf8(in.dictionary) << " side " << s << ": " << checked << " words with translations, "
        << ShareText(kept, checked) << " show all their own, first (" << unasked
        << " more with a hyphen or blank at an end left out: no look-up asks for them as written)\n";
    whole = whole && kept == checked;
  }
  return whole;
}

}  // namespace

int CheckForms(const FormsCheckInput& in, std::ostream& out) {
  DictionarySource src;
  std::string err;
  std::vector<Form> forms[2];
  if (!ReadSource(in.source, src, err) || !ReadForms(src, Headwords(src), in.pairs, forms, err)) {
    std::cerr << "dictool: " << err << "\n";
    return 1;
  }
  return WithLoadedFolder(in.folder, [&](Appl& app) {
    std::shared_ptr<clsDic> full;
    bool named = false;
    for (const auto& dic : app.ColDics) {
      if (dic->Name != in.dictionary) continue;
      named = true;
      if (dic->Dicx) full = dic;  // the full package, paired with its common one
    }
    // The common package alone answers otherwise than the program does with both: a check of it
    // would say nothing about the packages built.
    if (!full) {
      std::cerr << "dictool: " << (named ? "the full package of " : "no dictionary ") << ToUtf8(in.dictionary) << " in "
                << in.folder.string()
                << (named ? " cannot be used (missing, damaged or without its common package): nothing checked\n" : "\n");
      return 1;
    }
    app.Dic = full;
    SetLookupDefaults(*app.Sett);
    app.State.gNotRepeatTrans = true;
    for (int s = 0; s < 2; ++s) {
      std::size_t count[3] = {0, 0, 0};
      for (const Form& f : forms[s]) {
        std::vector<std::u16string> bases;
        for (std::uint32_t k : f.bases) bases.push_back(FromUtf8(src.Text(src.Words()[k].text)));
        std::u16string shown;
        const FormAnswer a = AnswerOf(app, f.text, bases, shown);
        ++count[static_cast<int>(a)];
        if (in.list && a != FormAnswer::kBase) {
          out << "  " << ToUtf8(f.text) << " (" << ToUtf8(JoinText(bases, u", ")) << ") -> "
              << (shown.empty() ? std::string("nothing") : ToUtf8(shown)) << "\n";
        }
      }
      out << ToUtf8(in.dictionary) << " side " << s + 1 << ": " << forms[s].size() << " forms of headwords, "
          << ShareText(count[0], forms[s].size())
          << " answered with their base's entry, " << count[1] << " with another word's, " << count[2] << " with nothing\n";
    }
    const bool whole = CheckWords(app, src, in, out);
    return out && whole ? 0 : 1;
  });
}

}  // namespace parlavent::dictool
