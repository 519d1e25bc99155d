#pragma once
// The package builder's source: members, the words of both sides and the translation links, as
// read from the human-readable source format (docs/dictionary-source.md).
//
// A large dictionary has millions of words and links, so they are held compactly: every text once
// as UTF-8 in one store, words and links as fixed-size records that point into it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parlavent::dictool {

struct SourceMember {
  std::u16string name;
  bool isText = false;
  std::u16string text;              // a text member: lines joined with CR LF
  std::vector<std::uint8_t> bytes;  // a file member: stored as it is
};

/// A word as the reader of a source sees it.
struct SourceWord {
  int side = 1;  // 1 or 2
  std::u16string text;
  std::u16string transcription;
};

/// A span of the text store.
struct TextRef {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

struct WordEntry {
  TextRef text;
  TextRef transcription;
  std::uint8_t side = 1;
};

struct LinkEntry {
  // Indexes into the words: the side-1 word and the side-2 word, but for the link of a side-2
  // form, which the form lists first (word1) and its side-1 word does not list at all.
  std::uint32_t word1 = 0;
  std::uint32_t word2 = 0;
  std::uint16_t themes[3] = {0, 0, 0};
  std::uint8_t rech = 0;  // part-of-speech code
  std::uint8_t rod = 0;   // gender code
  bool sideOneOnly = false;  // a form's link: only word1 lists it ("TransW2" leaves it out)
  TextRef comment;
};

class DictionarySource {
 public:
  std::vector<SourceMember> members;

  std::size_t WordCount() const { return words_.size(); }
  std::size_t LinkCount() const { return links_.size(); }
  const std::vector<WordEntry>& Words() const { return words_; }
  const std::vector<LinkEntry>& Links() const { return links_; }
  std::string_view Text(TextRef ref) const { return std::string_view(store_).substr(ref.offset, ref.length); }
  /// Word k (0-based, word ID k + 1) with its texts in UTF-16.
  SourceWord Word(std::size_t k) const;

  /// The word of that side and exact text (UTF-8), added when it is new; its index. False when the
  /// source outgrows what the store can address.
  bool AddWord(int side, std::string_view text, std::uint32_t& index);
  /// Gives the word its transcription unless it has one already.
  bool SetTranscription(std::uint32_t index, std::string_view transcription);
  bool AddLink(LinkEntry link, std::string_view comment);
  const SourceMember* FindMember(std::u16string_view name) const;
  /// Gives back what only adding needs (the word index, spare capacity) once the source is
  /// complete; adding more afterwards builds the index anew.
  void Compact();

 private:
  bool Store(std::string_view text, TextRef& ref);
  std::uint32_t Find(int side, std::string_view text, std::uint64_t fingerprint) const;
  void Place(std::uint32_t index);
  void Grow();
  struct Recent {
    std::uint32_t index = 0;  // word index + 1 of the word last added or found on a side
  };

  std::string store_;
  std::vector<WordEntry> words_;
  std::vector<LinkEntry> links_;
  std::vector<std::uint64_t> fingerprints_;  // of each word's side and text
  std::vector<std::uint64_t> slots_;         // word index + 1 and fingerprint tag; 0 is free
  Recent recent_[2];
  TextRef lastComment_;                      // links of one sense share their comment
};

/// Reads a source file; false with "file:line: message" in err on the first fault.
bool ReadSource(const std::filesystem::path& path, DictionarySource& out, std::string& err);
/// Reads source text; relative "@file" paths are taken from base.
bool ParseSource(std::string_view text, const std::string& name, const std::filesystem::path& base,
                 DictionarySource& out, std::string& err);

}  // namespace parlavent::dictool
