#pragma once
// The ending scanner, a developer's tool: it reads a folder of texts in the current dictionary's
// language and learns which endings of unknown word forms can be replaced by which endings of
// known words of the same stem. The rules go to "replace.txt" in that folder, in the layout of
// a package's "Replace" member: ending TAB replacement endings joined by ",", lines joined by
// CR LF, UTF-16LE without a mark.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/keyed_collection.h"

namespace parlavent {

class Appl;
class ProgressForm;

/// One counter node: an ending, how often it was seen, and its replacement endings.
class clsMass {
 public:
  std::u16string Key;
  std::int32_t Mass = 0;
  std::shared_ptr<KeyedCollection<std::shared_ptr<clsMass>>> Tag;
  std::int32_t TagN = 0;
};

/// Endings by API::MakeKey(ending), in order of first appearance.
using EndingTable = KeyedCollection<std::shared_ptr<clsMass>>;

/// Counts the endings of word (longer than 4 characters, unknown to the dictionary) against the
/// candidates (dictionary words that share its first 4 characters): for every split point from
/// the fifth character on, the candidates with the same stem give their own endings.
void CountEndings(std::u16string_view word, const std::vector<std::u16string>& candidates, EndingTable& table);

/// The rules of the table for a scan of words words: the endings seen more than words / 1000
/// times, each with the replacements that made up more than a tenth of its observations, most
/// frequent first.
std::u16string EndingRules(const EndingTable& table, std::int64_t words, ProgressForm& progress);

/// Scans the texts of folder (not its subfolders, not "replace.txt") and writes folder's
/// "replace.txt"; false when it could not be saved.
bool ScanFolder(Appl& app, std::u16string_view folder);

}  // namespace parlavent
