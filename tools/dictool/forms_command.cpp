#include "forms_command.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <fstream>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "app/application.h"
#include "app/ending_scanner.h"
#include "app/main_form.h"
#include "app/view_host.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "dictionary/result_tree.h"
#include "dictionary_source.h"
#include "foundation/api_strings.h"
#include "foundation/settings_object.h"
#include "load_command.h"
#include "text/text.h"

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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      err = "cannot read " + path.string();
      return false;
    }
    auto& index = forms[side - 1];
    const auto& exact = heads.exact[side - 1];
    const auto& words = heads.words[side - 1];
    std::unordered_map<std::u16string, std::size_t> seen;
    for (std::size_t k = 0; k < index.size(); ++k) seen.emplace(LCase(index[k].text), k);
    std::string line;
    while (std::getline(file, line)) {
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

bool MakeForms(const FormsInput& in, const std::filesystem::path& rulesOut, const std::filesystem::path& out,
               FormsReport& report, std::string& err) {
  DictionarySource src;
  if (!ReadSource(in.source, src, err)) return false;
  const Headwords heads(src);
  const WordIndex* words = heads.words;
  std::vector<std::vector<std::uint32_t>> linksOf(src.WordCount());
  for (std::uint32_t k = 0; k < src.LinkCount(); ++k) {
    const LinkEntry& l = src.Links()[k];
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
  std::ofstream r(rulesOut, std::ios::binary | std::ios::trunc), f(out, std::ios::binary | std::ios::trunc);
  r << rulesText << commonWords;
  if (source.peek() != std::char_traits<char>::eof()) f << source.rdbuf();
  f << '\n' << rulesText << formsText;
  if (!r.flush() || !f.flush()) {
    err = "cannot write " + rulesOut.string() + " or " + out.string();
    return false;
  }
  return true;
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

int CheckForms(const FormsCheckInput& in, std::ostream& out) {
  DictionarySource src;
  std::string err;
  std::vector<Form> forms[2];
  if (!ReadSource(in.source, src, err) || !ReadForms(src, Headwords(src), in.pairs, forms, err)) {
    std::cerr << "dictool: " << err << "\n";
    return 1;
  }
  return WithLoadedFolder(in.folder, [&](Appl& app) {
    for (const auto& dic : app.ColDics) {
      if (dic->Name == in.dictionary && dic->Dicx) app.Dic = dic;  // the full package, paired with its common one
    }
    if (!app.Dic || app.Dic->Name != in.dictionary) {
      std::cerr << "dictool: no dictionary " << ToUtf8(in.dictionary) << " in " << in.folder.string() << "\n";
      return 1;
    }
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
    return out ? 0 : 1;
  });
}

}  // namespace parlavent::dictool
