#pragma once
// The package builder's source: members, the words of both sides and the translation links, as
// read from the human-readable source format (docs/dictionary-source.md).
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace parlavent::dictool {

struct SourceMember {
  std::u16string name;
  bool isText = false;
  std::u16string text;              // a text member: lines joined with CR LF
  std::vector<std::uint8_t> bytes;  // a file member: stored as it is
};

struct SourceWord {
  int side = 1;  // 1 or 2
  std::u16string text;
  std::u16string transcription;
};

struct SourceLink {
  std::size_t word1 = 0;  // indexes into words
  std::size_t word2 = 0;
  std::uint16_t themes[3] = {0, 0, 0};
  std::uint8_t rech = 0;  // part-of-speech code
  std::uint8_t rod = 0;   // gender code
  std::u16string comment;
};

struct DictionarySource {
  std::vector<SourceMember> members;
  std::vector<SourceWord> words;  // word ID = index + 1, in order of first mention
  std::vector<SourceLink> links;

  /// The word of that side and exact text, added when it is new; its index.
  std::size_t AddWord(int side, const std::u16string& text);
  const SourceMember* FindMember(std::u16string_view name) const;

 private:
  std::map<std::pair<int, std::u16string>, std::size_t> index_;
};

/// Reads a source file; false with "file:line: message" in err on the first fault.
bool ReadSource(const std::filesystem::path& path, DictionarySource& out, std::string& err);
/// Reads source text; relative "@file" paths are taken from base.
bool ParseSource(std::string_view text, const std::string& name, const std::filesystem::path& base,
                 DictionarySource& out, std::string& err);

}  // namespace parlavent::dictool
