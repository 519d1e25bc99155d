#pragma once
// Link markup and the link layer over a rich-text box.
//
// Link markup is plain text with tags:
//
//   see <this=TransWord-this||B ||Dir 1> now        ->  "see this now", one link on "this"
//   <Back=GoBack>  <x=List-a-b>  <site=http://a-b.org||Std >  <red=||C 255>
//
// A tag runs from a "<" to the first ">" after it and holds Caption "=" Value; only the caption is
// shown. Value is an action, then options "||" KEY " " VALUE (the blank belongs to the key; an empty
// value means True). The action is "http*://*" or "mailto:*" (prefix "Link", the whole action as
// link), or prefix "-" link, or a bare prefix. A "<" with no ">" after it, and the rest of the text,
// stay as they are; so does a "<...>" without "=".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rich_text_box.h"

namespace parlavent {

class clsLink;

/// The button-text system colour, which markup writes as -1.
constexpr std::int32_t kButtonTextColour = static_cast<std::int32_t>(0x80000012u);

/// One link in a rich-text box.
class clsLinkItem {
 public:
  /// The clsLink that made the item; null once that clsLink is gone.
  std::shared_ptr<clsLink*> Parent;
  std::u16string Caption;
  std::u16string Link;
  std::u16string Prefix;
  std::int32_t p1 = 0;  // 1-based start of the caption in the plain text
  std::int32_t p2 = 0;  // p1 + caption length: just after it
  bool LinkCursor = false;
  bool ClickSound = false;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::int32_t Bullet = 0;
  std::int32_t Color = 0;
  std::u16string Font;
  std::int32_t Size = 0;
  std::int32_t Dir = 0;

  /// Selects the item's caption in its parent's box.
  void SelectMe();
};

using LinkItemPtr = std::shared_ptr<clsLinkItem>;

/// What the link layer needs from the rest of the program: the hand cursor, the click sound (which
/// the program plays only when its click-sound setting is on) and the program font. The base class
/// is quiet: it shows nothing, plays nothing and serves Arial 10, the settings' default font.
class LinkEnvironment {
 public:
  virtual ~LinkEnvironment() = default;
  virtual void SetHandCursor() {}
  virtual void PlayClickSound() {}
  virtual std::u16string FontName() { return u"Arial"; }
  virtual double FontSize() { return 10; }
};

LinkEnvironment& LinkEnv();
/// Installs the environment; nullptr restores the default, the program's own: mdlPublic's hand
/// cursor and click sound and the settings' font (Arial 10 while there is no settings object).
void SetLinkEnvironment(std::shared_ptr<LinkEnvironment> environment);

/// The link layer over one rich-text box at a time.
class clsLink : private RichTextBoxEvents {
 public:
  /// Action codes passed to Appl.LinkHandler.
  enum Action : std::int16_t {
    kPointer = 0,     // pointer moved over or pressed on the box
    kLeftUp = 1,
    kRightUp = 2,
    kMiddleUp = 4,
    kCaretMoved = 10,  // an arrow key moved the caret
    kEnter = 13,
  };

  clsLink();
  ~clsLink() override;
  clsLink(const clsLink&) = delete;
  clsLink& operator=(const clsLink&) = delete;

  std::vector<LinkItemPtr> Links;
  /// Supplies the options an action link leaves out; returned itself for auto-linked words.
  LinkItemPtr DefLink;
  std::shared_ptr<RichTextBox> LinkRichText;
  std::u16string Delimiters;
  bool AutoLink = false;

  /// Shows markup in box and binds to its events; returns the plain text ("" for empty markup,
  /// which leaves the box's content as it was).
  std::u16string SetLink(const std::shared_ptr<RichTextBox>& box, std::u16string_view markup, bool autoLink = false,
                         std::u16string_view delimiters = {}, bool hide = false);
  /// Forgets the links and the box; DefLink's style goes back to standard.
  void Reset();
  /// The link at the middle of the box's selection; null without a selection.
  LinkItemPtr GetSelLink();
  /// The link at a 0-based position, or the word there when auto-linking; null for none.
  LinkItemPtr GetLinkByPos(std::int32_t pos);
  /// Whether the mouse pointer is on item in the bound box now.
  bool PointerOn(const clsLinkItem& item);
  void SelectLink(const clsLinkItem& item);
  /// Hands the link under the pointer (or, for the keyboard actions, the caret) to Appl.LinkHandler.
  void LinkAction(std::int16_t action, long x, long y);

  /// Parses markup into plain text and one item per tag.
  void GetLinks(std::u16string_view markup, std::u16string& plainText, std::vector<LinkItemPtr>& links);
  /// Styles each link's caption in box.
  void MarkText(RichTextBox& box);
  /// Gives item the standard link style (blue, underlined, hand cursor, click sound).
  void InitDefLink(clsLinkItem& item);

 private:
  void Bind(const std::shared_ptr<RichTextBox>& box);
  void Unbind();
  LinkItemPtr AutoLinkAt(std::int32_t pos);

  void OnKeyUp(RichTextBox&, int keyCode, int shift) override;
  void OnMouseDown(RichTextBox&, int button, int shift, long x, long y) override;
  void OnMouseMove(RichTextBox&, int button, int shift, long x, long y) override;
  void OnMouseUp(RichTextBox&, int button, int shift, long x, long y) override;

  std::shared_ptr<clsLink*> self_;
};

/// An option's value as found in a tag: True for an empty value, else the text.
struct OptionValue {
  bool isTrue = false;
  std::u16string text;
};

/// The value of "||" key " " in options (case-blind, the first occurrence); nullopt when absent.
std::optional<OptionValue> GetKey(std::u16string_view options, std::u16string_view key);

}  // namespace parlavent
