#pragma once
// Imports a dictd database (an ".index" file and a ".dict" or ".dict.dz" file, as Debian's
// FreeDict packages install them) into the builder's source format: headwords and the forms in
// brackets behind them become side-1 words with their transcription, each translation a side-2
// word with a link that carries the part of speech and gender, and its labels, notes and
// explanation as comment.
#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace parlavent::dictool {

struct ImportOptions {
  /// Each translation line of an entry is followed by one explanation line (the WikDict layout
  /// of the newer FreeDict databases); without it every body line is a translation line.
  bool explanations = false;
  /// Only the headwords that have a transcription, as "W" lines without links: the words of the
  /// common package that carries the transcriptions beside the full one.
  bool transcriptionsOnly = false;
  /// Subject areas by name and theme number (the "Themes" member of the head): the labels in
  /// front of an explanation ("Chemie, Physik: ...") that name one become the link's themes.
  std::vector<std::pair<std::u16string, int>> themes;
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
  std::size_t untranslatedSenses = 0;     // explanation or note lines whose sense has no translation
  std::size_t extraTranscriptions = 0;    // transcriptions beyond the first of an entry
  std::size_t duplicateLinks = 0;         // the same translation twice for one headword
  std::size_t unknownTags = 0;            // grammar tags without a part-of-speech or gender code
  std::size_t stressMarks = 0;            // combining acute accents removed from words
  std::size_t themedLinks = 0;            // links that carry a theme
  std::size_t labelsBeyondThree = 0;      // theme labels beyond the three a link holds, left in the comment
  std::size_t forms = 0;                  // bracketed forms behind a headword, written as words of their own
  std::size_t extraForms = 0;             // forms beyond the sixteenth of one entry, left out
  std::size_t cutComments = 0;            // comments cut to 4,000 bytes
  std::size_t notes = 0;                  // "Note:" lines and bracketed labels kept in comments
  std::size_t examples = 0;               // example sentences with their translation ("\"...\"  - ...")
  std::size_t crossReferences = 0;        // "see:" and "Synonym:" lines
  std::size_t entities = 0;               // character references and entities decoded
};

/// Writes the entries as source lines ("W" and "L") to out; false with the reason in err when
/// the files cannot be read.
bool ImportDictd(const std::filesystem::path& index, const std::filesystem::path& dict, const ImportOptions& options,
                 std::ostream& out, ImportReport& report, std::string& err);

/// The same on an index and data already in memory.
void ImportEntries(std::string_view index, std::string_view data, const ImportOptions& options, std::ostream& out,
                   ImportReport& report);

/// The themes of a "Themes" member in source text (number TAB name TAB short name per line),
/// for ImportOptions::themes.
std::vector<std::pair<std::u16string, int>> ThemesOfSource(std::u16string_view source);

/// The report as readable lines.
std::string DescribeImport(const ImportReport& report);

}  // namespace parlavent::dictool
