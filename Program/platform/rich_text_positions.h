#pragma once
// Maps positions between the plain text a program writes into a rich-edit control and the text the
// control keeps. RichEdit 2.0 and later keep a paragraph break as one CR where the plain text
// holds CR LF (and turn a lone LF into CR), so every break shifts later positions by one.
#include <cstdint>
#include <string_view>
#include <vector>

namespace parlavent {

class RichTextPositions {
 public:
  RichTextPositions() = default;
  /// Aligns the written text with what the control holds.
  RichTextPositions(std::u16string_view plain, std::u16string_view control);

  /// A plain-text position (0-based, a boundary between characters) in the control. A position
  /// between the CR and the LF of one break lies after that break. Clamped to the text.
  std::int32_t ToControl(std::int32_t plain) const;
  /// A control position as a plain-text position; the boundary before a break is the one before
  /// its CR. Clamped to the text.
  std::int32_t ToPlain(std::int32_t control) const;

 private:
  std::vector<std::int32_t> toControl_;  // one per plain boundary, 0..plain length
  std::vector<std::int32_t> toPlain_;    // one per control boundary, 0..control length
};

/// The control's text with every lone CR written as CR LF, as the plain text holds its breaks.
std::u16string ExpandBreaks(std::u16string_view control);

}  // namespace parlavent
