#pragma once
// Small procedures of the shared module that several windows use: the main toolbar, the hand
// cursor and the click sound of links, fading and rounding borderless windows, a chunked reader
// of large text files, the line under the caret, and the pending clipboard text.
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/toolbar.h"

namespace parlavent {

class RichTextBox;

/// mdlPublic::ReadFileLine's reader: one file, read a chunk at a time from a 1-based byte
/// position, and cut at a delimiter.
class FileLineReader {
 public:
  /// Opens path; unicode is decided by the file itself (it starts with FF FE), whose mark is
  /// skipped. False when the file cannot be opened.
  bool Open(std::u16string_view path, std::u16string_view delimiter, std::int32_t chunkSize);
  /// The next piece: the text up to the first delimiter (case-blind), or to a NUL, or to the end
  /// of the file, within one chunk; the delimiter is consumed. A chunk with neither is returned
  /// whole. False, with text empty and the file closed, once everything has been read.
  bool Next(std::u16string& text);
  std::int64_t Position() const { return position_; }
  std::int64_t Length() const { return length_; }
  bool Unicode() const { return unicode_; }

 private:
  // chunkSize bytes from position_ (fewer at the end of the file).
  std::string Chunk();
  std::ifstream file_;
  std::u16string delimiter_;
  std::int64_t chunkSize_ = 1024;
  bool unicode_ = false;
  std::int64_t position_ = 1;
  std::int64_t length_ = 0;
  std::string buffer_;            // bytes of the file from bufferStart_
  std::int64_t bufferStart_ = 1;  // 1-based
};

namespace mdlPublic {

/// Gives the toolbar the main window's image list and adds the eight main buttons.
void CreateToolbar(Toolbar& toolbar);
/// Adds one button; its 1-based index.
std::int32_t AddToolbarButton(Toolbar& toolbar, std::u16string_view key, std::u16string_view toolTip,
                              ToolbarStyle style);
/// Shows exactly the buttons whose bit 2^Index is set in Setting.Buttons.
void ApplyToolbarMask(Toolbar& toolbar);
/// Sizes the toolbar to the sum of the widths of its visible buttons.
void GetToolbarWidth(Toolbar& toolbar);

/// Makes gHandCursor the current cursor.
void SetHandCursor();
/// Plays the "Navigating" sound when Setting.ClickSnd is on.
void PlayClickSound();

/// Fades window from fromLevel to toLevel (0..255) in steps of 30 ms, pumping messages between
/// them; once token no longer holds its starting value, the remaining steps do nothing.
void FadeWindow(WindowHandle window, std::int32_t fromLevel, std::int32_t toLevel, std::int32_t steps,
                const std::int32_t& token);
/// The rectangles of a borderless window of width x height pixels with rounded corners.
std::vector<Rect> RoundedRegion(long width, long height);
/// Gives the window rounded corners.
void SetFormRegion(WindowHandle window);

/// With fileName: opens it (result False). Without: the next piece into text (True), or False at
/// the end of the file; position and length tell the progress in bytes.
bool ReadFileLine(std::u16string& text, std::int64_t& position, std::int64_t& length, std::u16string_view fileName = {},
                  bool unicode = false, std::u16string_view delimiter = u"\r\n", std::int32_t chunkSize = 1024);
/// The line of text around the 1-based position (0 counts as 1): lineStart the 0-based offset of
/// its first character, lineEnd the offset just after its last; the result is its length.
std::int32_t GetLineBounds(std::u16string_view text, std::int32_t& position, std::u16string_view delimiter,
                           std::int32_t& lineStart, std::int32_t& lineEnd);
/// Selects the line under the box's caret; with the back-translation pane open, its
/// back-translation follows 300 ms later.
void SelectCurrentLine(RichTextBox& box);
/// Copies gPendingCopy to the clipboard (showing it in the info line) and empties it.
void FlushPendingCopy();

}  // namespace mdlPublic
}  // namespace parlavent
