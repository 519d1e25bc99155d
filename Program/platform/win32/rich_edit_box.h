#pragma once
// The rich-text box over a RichEdit control (MSFTEDIT's RICHEDIT50W, else RichEdit20W).
// The control keeps a paragraph break as one CR; the box maps every position to and from the
// plain text as written (CR LF), so that styles land on the characters the core means.
#include <windows.h>
#include <richedit.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/rich_text_box.h"
#include "platform/rich_text_positions.h"

namespace parlavent {

class RichEditBox final : public RichTextBox {
 public:
  struct CreateArgs {
    HWND parent = nullptr;       // required: the window the box sits in
    int id = 0;                  // control id in WM_COMMAND and WM_NOTIFY
    int x = 0;
    int y = 0;
    int width = 200;
    int height = 100;
    bool readOnly = true;        // output boxes show text; the user selects but does not type
    bool border = true;
    bool verticalScroll = true;
    bool wrap = true;            // false: one long line that scrolls sideways with the caret
    bool visible = true;
    std::u16string fontName = u"Arial";  // the box's own font: plain text is shown in it
    double fontSize = 10;                // points
  };

  /// Creates the control; null when neither RichEdit class can be loaded or created.
  static std::shared_ptr<RichEditBox> Create(const CreateArgs& args);
  ~RichEditBox() override;
  RichEditBox(const RichEditBox&) = delete;
  RichEditBox& operator=(const RichEditBox&) = delete;

  HWND hwnd() const { return hwnd_; }
  /// Sees each message before the control; true consumes it (the window's own key handling).
  std::function<bool(UINT msg, WPARAM wp, LPARAM lp)> BeforeMessage;

  std::u16string Text() override;
  void SetText(std::u16string_view text) override;
  std::int32_t SelStart() override;
  void SetSelStart(std::int32_t position) override;
  std::int32_t SelLength() override;
  void SetSelLength(std::int32_t length) override;
  void SetSelColor(Colour colour) override;
  void SetSelBold(bool on) override;
  void SetSelItalic(bool on) override;
  void SetSelUnderline(bool on) override;
  void SetSelFontName(std::u16string_view name) override;
  void SetSelFontSize(double points) override;
  void SetSelBullet(bool on) override;
  void SetSelAlignment(Alignment alignment) override;
  bool Visible() override;
  void SetVisible(bool visible) override;
  bool Enabled() override;
  void SetEnabled(bool enabled) override;
  bool HasFocus() override;
  void SetFocus() override;
  std::int32_t CharIndexAtCursor() override;

  /// The control's own text (a break is one CR).
  std::u16string ControlText() const;

 private:
  RichEditBox() = default;
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void RaiseEventOf(UINT msg, WPARAM wp, LPARAM lp);
  const RichTextPositions& Positions();
  void Select(std::int64_t plainStart, std::int64_t plainEnd);
  void SetEffect(DWORD mask, bool on);
  void ApplyToSelection(CHARFORMAT2W& format);
  void CutLongRuns();
  /// The client y just below the display line of the control's character index.
  long LineBottom(LRESULT index);

  HWND hwnd_ = nullptr;
  WNDPROC controlProc_ = nullptr;  // the control's own procedure, which ours passes messages on to
  bool wrap_ = true;               // lines break at the box's width
  std::u16string fontName_;        // the font plain text is shown in
  double fontSize_ = 10;           // and its size
  std::u16string plain_;    // the text in the positions the core uses
  std::u16string control_;  // the control's text when positions_ was made
  RichTextPositions positions_;
};

}  // namespace parlavent
