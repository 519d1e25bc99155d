#pragma once
// Layout switching: the recorder of the keyboard layouts prefixes are typed in, and the retyping
// of an input typed in the wrong layout (docs/companions.md).
#include <cstdint>
#include <string>
#include <string_view>

namespace parlavent {

/// Counts one typing of prefix in layout (gPrefixes: its pair, Mass and ByUser).
void RecordPrefix(std::u16string_view prefix, std::int64_t layout);
/// Merges the lines of the user's layout-switch table into gPrefixes (see docs/dictionary-loading.md);
/// false when a line that is not blank could not be taken (or lay past the limit of lines).
bool MergeUserSwitch(std::u16string_view text);
/// The lines of "trl.dat": every prefix the user's typing has touched, "prefix TAB layouts TAB mass".
std::u16string UserSwitchText();

}  // namespace parlavent
