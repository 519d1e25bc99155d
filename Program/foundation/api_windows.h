#pragma once
// The API module's windows and text controls: window placement remembered between runs (settings
// store section "Windows", values "<form>.Set", ".State", ".Visible", ".Left", ".Top", ".Right",
// ".Bottom"), z-order, layered transparency, the top-level ancestor, dragging, window texts, and
// UTF-16 text in rich-text boxes. Over the platform's window service and the rich-text box.
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace parlavent {
class RichTextBox;
}

namespace parlavent::API {

/// Moves the form where its placement was saved; shows it only when applyVisible and the saved
/// visibility are both true. False, nothing moved, when no placement was saved.
bool LoadFormPosition(std::u16string_view formName, WindowHandle window, bool applyVisible);
/// Saves the form's state, visibility and screen rectangle, then marks the placement as saved.
void SaveFormPosition(std::u16string_view formName, WindowHandle window);

void SetWindowTopMost(WindowHandle window, bool topMost, bool show);
bool IsWindowTopMost(WindowHandle window);
/// Puts the window on top of all others (and shows it) unless it is there already.
void EnsureTopMost(WindowHandle window);
/// The last ancestor below the desktop; 0 for 0 or the desktop itself.
WindowHandle GetTopLevelWindow(WindowHandle window);
void StartWindowDrag(WindowHandle window);
std::u16string GetWindowClassName(WindowHandle window);
std::u16string GetWindowTextStr(WindowHandle window);
std::u16string GetControlText(WindowHandle window);

/// Level 0 opaque to 255 invisible. With colorKey, pixels of that colour become transparent
/// instead (a layered window on Windows 2000 and later, else a region made from the picture on
/// hDC).
void SetWindowTransparency(WindowHandle window, int level, std::optional<Colour> colorKey = std::nullopt,
                           std::uintptr_t hDC = 0);
/// The box's text, or with selOnly its selection (line breaks as CR LF, as the box counts them).
std::u16string GetRichTextW(RichTextBox& box, bool selOnly = false);
/// Replaces the whole text, or with replaceSel the selection; then the caret goes to position
/// Len(text) counted from the start of the box.
void SetRichTextW(RichTextBox& box, std::u16string_view text, bool replaceSel = false);
void SelectAllText(RichTextBox& box);

}  // namespace parlavent::API
