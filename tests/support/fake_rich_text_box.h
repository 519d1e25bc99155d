#pragma once
// An in-memory rich-text box: text with one character format per character, a selection that
// clamps as RichEdit's does, and a log of every call that changes something. Tests raise its
// events directly.
#include <algorithm>
#include <type_traits>
#include <string>
#include <vector>

#include "platform/rich_text_box.h"
#include "text/text.h"

namespace parlavent::testing {

struct FakeCharFormat {
  std::u16string font = u"Box Font";
  double size = 9;
  Colour color = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool bullet = false;  // of the character's paragraph
  friend bool operator==(const FakeCharFormat&, const FakeCharFormat&) = default;
};

class FakeRichTextBox : public RichTextBox {
 public:
  std::u16string text;
  std::vector<FakeCharFormat> formats;  // one per character of text
  std::int32_t selStart = 0;
  std::int32_t selLength = 0;
  bool visible = true;
  bool enabled = true;
  bool focused = false;
  std::int32_t charAtCursor = 0;
  std::vector<std::string> log;  // "SetText <text>", "Bold 4+4 1", "Visible 0", ...

  using RichTextBox::RaiseChange;
  using RichTextBox::RaiseKeyUp;
  using RichTextBox::RaiseMouseDown;
  using RichTextBox::RaiseMouseMove;
  using RichTextBox::RaiseMouseUp;

  std::u16string Text() override { return text; }
  void SetText(std::u16string_view t) override {
    text = std::u16string(t);
    formats.assign(text.size(), FakeCharFormat{});
    selStart = Len();
    selLength = 0;
    log.push_back("SetText " + ToUtf8(t));
  }
  std::int32_t SelStart() override { return selStart; }
  void SetSelStart(std::int32_t p) override {
    if (p < 0) return;
    selStart = std::min(p, Len());
    selLength = 0;
  }
  std::int32_t SelLength() override { return selLength; }
  void SetSelLength(std::int32_t n) override {
    if (n >= 0) selLength = std::min(n, Len() - selStart);
  }
  void SetSelColor(Colour c) override { Apply("Color", c, [c](FakeCharFormat& f) { f.color = c; }); }
  void SetSelBold(bool on) override { Apply("Bold", on, [on](FakeCharFormat& f) { f.bold = on; }); }
  void SetSelItalic(bool on) override { Apply("Italic", on, [on](FakeCharFormat& f) { f.italic = on; }); }
  void SetSelUnderline(bool on) override { Apply("Underline", on, [on](FakeCharFormat& f) { f.underline = on; }); }
  void SetSelFontName(std::u16string_view name) override {
    log.push_back(Where("Font") + " " + ToUtf8(name));
    ForSelection([&](FakeCharFormat& f) { f.font = std::u16string(name); });
  }
  void SetSelFontSize(double points) override {
    if (points <= 0) return;
    Apply("Size", points, [points](FakeCharFormat& f) { f.size = points; });
  }
  void SetSelBullet(bool on) override {
    log.push_back(Where("Bullet") + (on ? " 1" : " 0"));
    // Whole paragraphs: from the break before the selection to the break after it.
    const std::size_t from = selStart == 0 ? 0 : text.rfind(u"\r\n", static_cast<std::size_t>(selStart - 1));
    const std::size_t begin = from == std::u16string::npos || selStart == 0 ? 0 : from + 2;
    const std::size_t to = text.find(u"\r\n", static_cast<std::size_t>(selStart + selLength));
    const std::size_t end = to == std::u16string::npos ? text.size() : to + 2;
    for (std::size_t i = begin; i < end && i < formats.size(); ++i) formats[i].bullet = on;
  }
  void SetSelAlignment(Alignment a) override {
    log.push_back(Where("Align") + " " + std::to_string(static_cast<int>(a)));
  }
  bool Visible() override { return visible; }
  void SetVisible(bool v) override {
    visible = v;
    log.push_back(std::string("Visible ") + (v ? "1" : "0"));
  }
  bool Enabled() override { return enabled; }
  void SetEnabled(bool e) override {
    enabled = e;
    log.push_back(std::string("Enabled ") + (e ? "1" : "0"));
  }
  bool HasFocus() override { return focused; }
  void SetFocus() override { focused = true; }
  std::int32_t CharIndexAtCursor() override { return charAtCursor; }

  /// The characters of [begin, end) all have the format test says yes to.
  template <typename Test>
  bool All(std::int32_t begin, std::int32_t end, Test test) const {
    for (std::int32_t i = begin; i < end; ++i) {
      if (i < 0 || i >= static_cast<std::int32_t>(formats.size()) || !test(formats[i])) return false;
    }
    return true;
  }

 private:
  std::int32_t Len() const { return static_cast<std::int32_t>(text.size()); }
  std::string Where(const char* what) const {
    return std::string(what) + " " + std::to_string(selStart) + "+" + std::to_string(selLength);
  }
  template <typename Set>
  void ForSelection(Set set) {
    for (std::int32_t i = selStart; i < selStart + selLength && i < Len(); ++i) set(formats[i]);
  }
  template <typename V, typename Set>
  void Apply(const char* what, V value, Set set) {
    std::string shown = std::to_string(value);
    if constexpr (std::is_floating_point_v<V>) shown = shown.substr(0, shown.find_last_not_of('0') + 1);
    if (!shown.empty() && shown.back() == '.') shown.pop_back();
    log.push_back(Where(what) + " " + shown);
    ForSelection(set);
  }
};

}  // namespace parlavent::testing
