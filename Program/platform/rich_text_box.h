#pragma once
// A rich-text box as the core drives it: text, selection, the selection's character and paragraph
// format, visibility, focus, and its mouse and key events. The shell wraps a RichEdit control;
// tests use an in-memory fake.
//
// Positions count characters of the plain text as written, a line break counting as the CR LF it
// is written with (two characters), whatever the control keeps internally.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace parlavent {

class RichTextBox;

/// Receives a box's events. Mouse coordinates are client pixels; Button is 1 left, 2 right,
/// 4 middle (for MouseMove, the buttons held); Shift is 1 Shift, 2 Ctrl, 4 Alt, added together.
class RichTextBoxEvents {
 public:
  virtual ~RichTextBoxEvents() = default;
  virtual void OnChange(RichTextBox&) {}
  virtual void OnKeyUp(RichTextBox&, int keyCode, int shift) {}
  virtual void OnMouseDown(RichTextBox&, int button, int shift, long x, long y) {}
  virtual void OnMouseMove(RichTextBox&, int button, int shift, long x, long y) {}
  virtual void OnMouseUp(RichTextBox&, int button, int shift, long x, long y) {}
};

class RichTextBox {
 public:
  virtual ~RichTextBox() = default;

  /// The whole text, line breaks as CR LF.
  virtual std::u16string Text() = 0;
  /// Replaces the whole content with unformatted text in the box's own font; the caret goes to
  /// the end.
  virtual void SetText(std::u16string_view text) = 0;

  virtual std::int32_t SelStart() = 0;
  /// Places the caret (the selection becomes empty); a negative position is refused, one past
  /// the end is clamped to the end.
  virtual void SetSelStart(std::int32_t position) = 0;
  virtual std::int32_t SelLength() = 0;
  /// Selects length characters from SelStart (clamped to the end); negative lengths are refused.
  virtual void SetSelLength(std::int32_t length) = 0;

  // Format of the selection. A colour with kSystemColourFlag names a system colour.
  virtual void SetSelColor(Colour colour) = 0;
  virtual void SetSelBold(bool on) = 0;
  virtual void SetSelItalic(bool on) = 0;
  virtual void SetSelUnderline(bool on) = 0;
  virtual void SetSelFontName(std::u16string_view name) = 0;
  /// Points; sizes of 0 or less are refused.
  virtual void SetSelFontSize(double points) = 0;
  /// Bullets on or off for the paragraphs the selection touches.
  virtual void SetSelBullet(bool on) = 0;
  enum class Alignment { Left = 0, Right = 1, Center = 2 };
  /// Alignment of the paragraphs the selection touches.
  virtual void SetSelAlignment(Alignment alignment) {}

  virtual bool Visible() = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Enabled() = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool HasFocus() = 0;
  virtual void SetFocus() = 0;

  /// The position of the character under the mouse pointer (the nearest one on the line the
  /// pointer is on); -1 when the pointer is below the last line or over another window.
  virtual std::int32_t CharIndexAtCursor() = 0;

  /// Events go to every listener added, in the order added; a listener removes itself before it
  /// goes away.
  void AddListener(RichTextBoxEvents* listener);
  void RemoveListener(RichTextBoxEvents* listener);

 protected:
  void RaiseChange();
  void RaiseKeyUp(int keyCode, int shift);
  void RaiseMouseDown(int button, int shift, long x, long y);
  void RaiseMouseMove(int button, int shift, long x, long y);
  void RaiseMouseUp(int button, int shift, long x, long y);

 private:
  template <typename Call>
  void Raise(Call call);
  std::vector<RichTextBoxEvents*> listeners_;
};

}  // namespace parlavent
