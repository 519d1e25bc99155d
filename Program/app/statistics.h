#pragma once
// clsStat: the look-up statistics, the words the user looked up with how often, most recent
// first. Kept in the per-user file "statistics.dat" (docs/companions.md).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/stat_item.h"

namespace parlavent {

class clsStat {
 public:
  static constexpr std::size_t kMaxWords = 1000;

  /// Reads "statistics.dat" of the per-user folder; a missing or unreadable file gives none.
  void LoadStat();
  /// Writes "statistics.dat" whole, when a look-up changed the statistics since they were read
  /// and the file may be replaced (one that could not be read, or whose copy could not be kept,
  /// stays as it is). False when changes were not written.
  bool SaveStat();

  /// Reads the file's text (UTF-16, a mark allowed): sound lines only, at most kMaxWords words.
  void Parse(std::u16string_view text);
  /// The file's text: one "word TAB count" line per word, most recent first, each ended by CR LF.
  std::u16string Serialize() const;

  /// Counts one look-up of word (blank words are not counted): it moves to the front.
  void AddItem(std::u16string_view word);

  /// Most recent first.
  const std::vector<std::shared_ptr<clsStatItem>>& Items() const { return items_; }
  /// The words, most frequent first (ties: the more recent first); at most n, all for n <= 0.
  std::vector<std::shared_ptr<clsStatItem>> MostFrequent(std::int32_t n = 0) const;
  /// The n most recent words (all for n <= 0).
  std::vector<std::shared_ptr<clsStatItem>> Last(std::int32_t n = 0) const;

  /// The per-user folder the file lives in (Setting.AppFolder when empty).
  std::u16string Folder;
  bool Changed() const { return changed_; }

 private:
  std::u16string FilePath() const;
  std::vector<std::shared_ptr<clsStatItem>> items_;
  bool changed_ = false;
  bool leaveFile_ = false;  // the file is there and may not be replaced: unreadable, or no copy kept
};

}  // namespace parlavent
