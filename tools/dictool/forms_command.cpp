#include "forms_command.h"

#include <algorithm>
#include <fstream>
#include <unordered_map>
#include <unordered_set>

#include "app/main_form.h"
#include "app/view_host.h"
#include "dictionary/ending_scanner.h"
#include "dictionary_source.h"
#include "foundation/api_strings.h"
#include "foundation/text.h"

namespace parlavent::dictool {
namespace {

struct Rule {
  std::u16string ending;
  std::vector<std::u16string> replaces;
};

struct Form {
  std::u16string text;
  std::vector<std::u16string> bases;  // lower case, in the order the pairs name them
  bool mayBeWord = false;
};

// The words of one side by their lower-case text (the look-up compares case-blind).
using WordIndex = std::unordered_map<std::u16string, std::vector<std::uint32_t>>;

// The entry the look-up reaches for a form through the endings: the shortest ending first, the
// replacements in rule order, the first candidate that is a word. Words shorter than an ending
// and three letters are left alone, as the loader's MinWordLen says.
std::u16string Reach(const std::u16string& form, const std::unordered_map<std::u16string, const Rule*>& rules,
                     const std::unordered_set<std::u16string>& words) {
  const std::size_t len = form.size();
  const std::size_t longest = len > 10 ? 10 : len - 1;
  for (std::size_t j = 1; j <= longest; ++j) {
    const auto rule = rules.find(LCase(form.substr(len - j)));
    if (rule == rules.end() || len < 3 + j) continue;
    const std::u16string stem = form.substr(0, len - j);
    for (const auto& r : rule->second->replaces) {
      const std::u16string candidate = LCase(stem + r);
      if (words.count(candidate)) return candidate;
    }
  }
  return {};
}

std::vector<Rule> ParseRules(std::u16string_view text) {
  std::vector<Rule> rules;
  for (const auto& line : SplitText(text, u"\r\n")) {
    const auto fields = SplitText(line, u"\t");
    if (fields[0].empty() || fields.size() < 2) continue;  // the whole word as its own ending
    rules.push_back({fields[0], SplitText(fields[1], u",")});
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

bool MakeForms(const FormsInput& in, const std::filesystem::path& rulesOut, const std::filesystem::path& out,
               FormsReport& report, std::string& err) {
  DictionarySource src;
  if (!ReadSource(in.source, src, err)) return false;
  WordIndex words[2];
  for (std::uint32_t k = 0; k < src.WordCount(); ++k) {
    const WordEntry& w = src.Words()[k];
    if (w.side == 1 || w.side == 2) words[w.side - 1][LCase(FromUtf8(src.Text(w.text)))].push_back(k);
  }
  std::vector<std::vector<std::uint32_t>> linksOf(src.WordCount());
  for (std::uint32_t k = 0; k < src.LinkCount(); ++k) {
    const LinkEntry& l = src.Links()[k];
    if (l.word1 < linksOf.size()) linksOf[l.word1].push_back(k);
    if (l.word2 < linksOf.size()) linksOf[l.word2].push_back(k);
  }

  // The forms of each side whose base the source has and which it does not have itself (as
  // written: "trank" is a form of "trinken" beside the noun "Trank").
  std::unordered_set<std::string> texts[2];
  for (const WordEntry& w : src.Words()) {
    if (w.side == 1 || w.side == 2) texts[w.side - 1].emplace(src.Text(w.text));
  }
  std::vector<Form> forms[2];
  for (const auto& [side, path, asWords] : in.pairs) {
    if (side != 1 && side != 2) continue;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      err = "cannot read " + path.string();
      return false;
    }
    auto& index = forms[side - 1];
    std::unordered_map<std::u16string, std::size_t> seen;
    for (std::size_t k = 0; k < index.size(); ++k) seen.emplace(LCase(index[k].text), k);
    const WordIndex& known = words[side - 1];
    std::string line;
    while (std::getline(file, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const auto tab = line.find('\t');
      if (tab == std::string::npos || line.empty() || line[0] == '#') continue;
      const std::u16string form = FromUtf8(std::string_view(line).substr(0, tab));
      const std::u16string base = LCase(Trim(FromUtf8(std::string_view(line).substr(tab + 1))));
      const std::u16string key = LCase(form);
      if (form.empty() || texts[side - 1].count(line.substr(0, tab)) || !known.count(base)) continue;
      auto [at, fresh] = seen.emplace(key, index.size());
      if (fresh) index.push_back({form, {}});
      index[at->second].mayBeWord |= asWords;
      auto& bases = index[at->second].bases;
      if (std::find(bases.begin(), bases.end(), base) == bases.end()) bases.push_back(base);
    }
  }

  // The scanner's counting, each form against the words of its bases; then its rules.
  // The scanner reports its progress; a build without an application object shows it nowhere.
  ViewHost host;
  ProgressForm& progress = host.Progress();
  std::vector<Rule> rules;
  std::unordered_map<std::u16string, const Rule*> byEnding;
  for (int s = 0; s < 2; ++s) {
    report.pairs[s] = forms[s].size();
    EndingTable table;
    std::int64_t scanned = 0;
    for (const Form& f : forms[s]) {
      if (f.text.size() <= 4) continue;
      ++scanned;
      std::vector<std::u16string> candidates;
      for (const auto& b : f.bases) {
        for (std::uint32_t k : words[s].at(b)) candidates.push_back(FromUtf8(src.Text(src.Words()[k].text)));
      }
      CountEndings(f.text, candidates, table);
    }
    for (Rule& r : ParseRules(EndingRules(table, scanned, progress))) {
      // A rule for an ending the other language has as well stays the first side's.
      if (byEnding.count(LCase(r.ending))) continue;
      ++report.rules[s];
      rules.push_back(std::move(r));
      byEnding[LCase(rules.back().ending)] = nullptr;
    }
  }
  for (const Rule& r : rules) byEnding[LCase(r.ending)] = &r;

  // A rule whose one replacement is the empty ending is written "," (twice the empty ending):
  // an empty list would read as a rule without replacements.
  std::string rulesText = "@member Replace\n";
  for (const Rule& r : rules) {
    const std::u16string list = JoinText(r.replaces, u",");
    rulesText += ToUtf8(r.ending + u"\t" + (list.empty() ? u"," : list)) + "\n";
  }
  rulesText += "@end\n";

  // The forms the rules lead elsewhere or nowhere become words of their own. A word added can
  // catch another form on its way to its base ("Kinder" would reach the added "Kindern" before
  // "Kind"), so the check repeats over the grown words until no form is added.
  std::string formsText;
  std::unordered_set<std::string> written;
  for (int s = 0; s < 2; ++s) {
    std::unordered_set<std::u16string> all;
    for (const auto& [text, ids] : words[s]) all.insert(text);
    std::vector<bool> asWord(forms[s].size(), false);
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t i = 0; i < forms[s].size(); ++i) {
        const Form& f = forms[s][i];
        if (asWord[i]) continue;
        // A word of another case is found as it stands: the look-up never tries its endings.
        const bool shadowed = words[s].count(LCase(f.text)) != 0;
        const std::u16string reached = Reach(f.text, byEnding, all);
        if (!shadowed && std::find(f.bases.begin(), f.bases.end(), reached) != f.bases.end()) continue;
        if (!f.mayBeWord) continue;
        asWord[i] = grew = true;
        all.insert(LCase(f.text));
      }
    }
    for (std::size_t i = 0; i < forms[s].size(); ++i) {
      const Form& f = forms[s][i];
      if (!asWord[i]) {
        const std::u16string reached = Reach(f.text, byEnding, all);
        if (!words[s].count(LCase(f.text)) && std::find(f.bases.begin(), f.bases.end(), reached) != f.bases.end()) {
          ++report.byRules[s];
        }
        continue;
      }
      ++report.asWords[s];
      const std::string form = ToUtf8(f.text);
      for (const auto& b : f.bases) {
        for (std::uint32_t k : words[s].at(b)) {
          const std::string_view baseText = src.Text(src.Words()[k].text);
          for (std::uint32_t li : linksOf[k]) {
            const LinkEntry& l = src.Links()[li];
            const std::string_view other = src.Text(src.Words()[s == 0 ? l.word2 : l.word1].text);
            // The base's own comment stays with the base: a form names only its base. A side-2
            // word does not list the links of a side-1 form.
            std::string line = s == 0 ? LinkLine("F", form, other, l, baseText) : LinkLine("L", other, form, l, baseText);
            if (written.insert(line).second) {
              formsText += line;
              ++report.links;
            }
          }
        }
      }
    }
  }

  std::ifstream source(in.source, std::ios::binary);
  std::ofstream r(rulesOut, std::ios::binary | std::ios::trunc), f(out, std::ios::binary | std::ios::trunc);
  r << rulesText;
  if (source.peek() != std::char_traits<char>::eof()) f << source.rdbuf();
  f << '\n' << rulesText << formsText;
  if (!r.flush() || !f.flush()) {
    err = "cannot write " + rulesOut.string() + " or " + out.string();
    return false;
  }
  return true;
}

}  // namespace parlavent::dictool
