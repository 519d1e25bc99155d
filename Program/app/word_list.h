#pragma once
// The page a word list shows in the output box, apart from the box itself (Appl::FillWordList
// shows it; dictool prints it).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

class Appl;

struct WordListPage {
  std::u16string Text;      // one entry per line; link markup when AllListLink
  std::u16string Info;      // the info line: how many words are shown
  bool AllListLink = false;  // the last line links to the all list
  std::int32_t Caret = 0;   // where the caret goes before its line is selected
  std::size_t Entries = 0;  // lines, the link line included
};

/// The page for the entries found for text; limit is the list's length (3000 in allList mode).
/// Entries beyond limit become one link to the all list, unless allList shows them all.
WordListPage MakeWordListPage(Appl& app, std::u16string_view text, std::vector<std::u16string> entries,
                              std::int32_t limit, bool allList);

}  // namespace parlavent
