#pragma once
// dictool forms: word forms for a dictionary source. From (form, base) pairs of each side it
// learns the package's ending rules with the ending scanner's counting (each form counted
// against its own base), then checks every form against those rules as the look-up applies them;
// a form the rules do not lead to its base becomes a word of its own, linked to its base's
// translations with the base named in the comment.
#include <filesystem>
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
  std::size_t pairs[2] = {0, 0};        // pairs whose base is a word of the side and whose form is not
  std::size_t rules[2] = {0, 0};        // ending rules learnt
  std::size_t byRules[2] = {0, 0};      // forms the rules lead to their base
  std::size_t asWords[2] = {0, 0};      // forms written as words of their own
  std::size_t links = 0;                // links written for them
};

/// Writes the "Replace" member (source lines) to rulesOut, and to out the source followed by that
/// member and the form words' links.
bool MakeForms(const FormsInput& in, const std::filesystem::path& rulesOut, const std::filesystem::path& out,
               FormsReport& report, std::string& err);

}  // namespace parlavent::dictool
