#pragma once
// dictool forms: word forms for a dictionary source. From (form, base) pairs of each side it
// learns the package's ending rules with the ending scanner's counting (each form counted
// against its own base), adds rarer replacements that many forms need, drops those that lead more
// forms to another word than to their base, then checks every form as the look-up finds it; a
// form the rules do not lead to its base becomes a word of its own, linked to its base's
// translations with the base named in the comment, links that the words of the other side do
// not list.
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace parlavent::dictool {

struct FormsInput {
  std::filesystem::path source;  // the imported source
  struct Pairs {
    int side = 1;
    std::filesystem::path file;  // "form TAB base" lines
    bool words = true;           // its forms that the rules do not reach become words
  };
  std::vector<Pairs> pairs;
};

struct FormsReport {
  std::size_t pairs[2] = {0, 0};      // forms whose base is a word of the side and which are none
  std::size_t rules[2] = {0, 0};      // ending rules written
  std::size_t added[2] = {0, 0};      // replacements added beside the scanner's
  std::size_t dropped[2] = {0, 0};    // replacements dropped for leading forms to other words
  std::size_t byRules[2] = {0, 0};    // forms the rules lead to their base
  std::size_t asWords[2] = {0, 0};    // forms written as words of their own
  std::size_t inCommon[2] = {0, 0};   // of them, words of the common package as well
  std::size_t elsewhere[2] = {0, 0};  // forms that reach another word (only --rulesN ones can)
  std::size_t nowhere[2] = {0, 0};    // forms that reach nothing (likewise)
  std::size_t links = 0;              // links written for the form words
};

/// part of whole as a percentage with two decimals ("97.25%"), "-" when whole is 0.
std::string ShareText(std::size_t part, std::size_t whole);

/// Writes to rulesOut what the common package needs (source lines): the "Replace" member and the
/// form words its endings would otherwise lead elsewhere; to out the source followed by that
/// member and the form words' links.
bool MakeForms(const FormsInput& in, const std::filesystem::path& rulesOut, const std::filesystem::path& out,
               FormsReport& report, std::string& err);

}  // namespace parlavent::dictool

namespace parlavent {
class Appl;
class TranslationSet;
}

namespace parlavent::dictool {

/// What the look-up answers for a form: its base's entry (the base itself, or the form as a word
/// of its own naming the base), another word's entry, or nothing.
enum class FormAnswer { kBase, kOther, kNothing };
/// The translations an entry of a look-up's result shows, in the order shown.
std::vector<std::u16string> ShownTranslations(const TranslationSet& entry);
/// Looks form up in app's current dictionary; bases are the texts it may reach (any case).
/// shown: the first entry's word, or empty.
FormAnswer AnswerOf(Appl& app, std::u16string_view form, const std::vector<std::u16string>& bases, std::u16string& shown);

struct FormsCheckInput {
  std::filesystem::path folder;  // the built packages
  std::u16string dictionary;     // ShortName of the full package
  std::filesystem::path source;  // the imported source: its words are the headwords
  std::vector<FormsInput::Pairs> pairs;
  bool list = false;             // name every form that misses its base
};

/// dictool forms-check: looks up every form of the pairs whose base is a headword of its side and
/// which is none itself, and prints per side the share answered with the base's entry and how
/// many with another word's. Returns the exit code.
int CheckForms(const FormsCheckInput& in, std::ostream& out);

}  // namespace parlavent::dictool
