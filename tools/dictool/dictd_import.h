#pragma once
// Imports a dictd database (an ".index" file and a ".dict" or ".dict.dz" file, as Debian's
// FreeDict packages install them) into the builder's source format: headwords become side-1
// words with their transcription, each translation a side-2 word with a link that carries the
// entry's part of speech and gender, and its explanation as comment.
#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>

namespace parlavent::dictool {

struct ImportOptions {
  /// Each translation line of an entry is followed by one explanation line (the WikDict layout
  /// of the newer FreeDict databases); without it every body line is a translation line.
  bool explanations = false;
};

struct ImportReport {
  std::size_t entries = 0;                // entries read (index lines naming a new entry)
  std::size_t headwords = 0;              // distinct side-1 words written
  std::size_t translations = 0;           // distinct side-2 words written
  std::size_t links = 0;
  std::size_t metadata = 0;               // "00database..." index lines: database information, not words
  std::size_t sharedEntries = 0;          // index lines naming an entry already read
  std::size_t badEntries = 0;             // index lines pointing outside the data, or entries without a headword
  std::size_t noTranslation = 0;          // headwords whose entries give no translation at all
  std::size_t untranslatedSenses = 0;     // explanation lines whose sense has no translation
  std::size_t extraTranscriptions = 0;    // transcriptions beyond the first of an entry
  std::size_t duplicateLinks = 0;         // the same translation twice for one headword
  std::size_t unknownTags = 0;            // grammar tags without a part-of-speech or gender code
  std::size_t stressMarks = 0;            // combining acute accents removed from words
};

/// Writes the entries as source lines ("W" and "L") to out; false with the reason in err when
/// the files cannot be read.
bool ImportDictd(const std::filesystem::path& index, const std::filesystem::path& dict, const ImportOptions& options,
                 std::ostream& out, ImportReport& report, std::string& err);

/// The report as readable lines.
std::string DescribeImport(const ImportReport& report);

}  // namespace parlavent::dictool
