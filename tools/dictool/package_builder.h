#pragma once
// Writes a complete dictionary package from a source: the source's members in order, then the
// record sections "Words", "Transcript", "WordsHash", "WordsSort", "TransW1" and "TransW2", and last
// the record of the whole file's length ("FileLength") by which the loader tells a copy cut short.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "dictionary_source.h"

namespace parlavent {
class CodePage;
}

namespace parlavent::dictool {

struct BuildOptions {
  /// nullptr: a Unicode package; else an ANSI package in this code page.
  const CodePage* ansi = nullptr;
  /// Leave out the "Transcript" section: the program reads transcriptions only from a common
  /// package, so in a full package that has one beside it the section is never read.
  bool withoutTranscriptions = false;
};

/// The size of each member as written, in directory order.
struct MemberSize {
  std::u16string name;
  std::int64_t bytes = 0;
};

struct BuildReport {
  bool supportRech = false;      // 16-byte link headers (the "Info" member sets SupportRech)
  std::size_t lossyTexts = 0;    // texts the ANSI code page could not hold (stored with "?")
  std::size_t droppedCodes = 0;  // links whose part of speech or gender had no room
  std::vector<MemberSize> members;
  std::int64_t packageBytes = 0;
};

/// The package's bytes; false with the reason in err (too many members, too large, ...).
bool BuildPackage(const DictionarySource& source, const BuildOptions& options, std::vector<std::uint8_t>& out,
                  BuildReport& report, std::string& err);
/// The same package written to a file as it is made, without holding it in memory.
bool WritePackage(const DictionarySource& source, const BuildOptions& options, const std::filesystem::path& path,
                  BuildReport& report, std::string& err);

/// What keeps the package at path from serving, by the whole check of every section and record
/// (PackageProblem, dictionary/sections.h); "" when it is sound.
std::string CheckPackage(const std::filesystem::path& path);

/// The keys under which the word index announces the beginnings of a multi-word entry: the text
/// cut at blanks and hyphens into parts, and for every k below the number of parts the first k
/// parts joined and followed by single blanks ("a b-c" gives "a " and "a b ").
std::vector<std::u16string> PhraseBeginnings(std::u16string_view text);

/// Value of key in section of INI text (both case-blind), trimmed; "" when absent.
std::u16string IniValue(std::u16string_view ini, std::u16string_view section, std::u16string_view key);

}  // namespace parlavent::dictool
