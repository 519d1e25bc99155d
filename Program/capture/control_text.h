#pragma once
// Positions in another program's edit or rich-edit control and its text as WM_GETTEXT gives it:
// a rich-edit control counts a paragraph break as one character where its text has CR LF.
#include <cstddef>
#include <string>
#include <string_view>

namespace parlavent {

/// How many characters of the text to read so that it reaches the control's position end.
std::size_t ControlTextReach(std::size_t end, bool richEdit);

/// The text as the control counts it.
std::u16string AsControlCounts(std::u16string_view text, bool richEdit);

/// The selection from start to end (the control's positions) of the text read from it; "" when
/// the text does not reach it.
std::u16string SelectionIn(std::u16string_view text, std::size_t start, std::size_t end, bool richEdit);

}  // namespace parlavent
