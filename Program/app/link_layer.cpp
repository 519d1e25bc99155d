#include "app/link_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/application.h"
#include "foundation/interface_helpers.h"
#include "foundation/settings_object.h"
#include "foundation/wildcard.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int32_t kStandardLinkColour = 0xFF0000;  // blue, in the box's BGR order
// SetLink gives the program font to at least this many characters, and to all of a longer text.
constexpr std::int32_t kFontSpan = 1000;

// The markup as the parser sees it: every read goes through Peek, which gives 0 past the end.
class MarkupReader {
 public:
  static constexpr std::size_t npos = std::u16string_view::npos;
  explicit MarkupReader(std::u16string_view text) : text_(text) {}

  char16_t Peek(std::size_t i) const { return i < text_.size() ? text_[i] : 0; }
  std::size_t Size() const { return text_.size(); }

  /// The first c at or after from and before limit.
  std::size_t Find(char16_t c, std::size_t from, std::size_t limit = npos) const {
    for (std::size_t i = from; i < std::min(limit, text_.size()); ++i) {
      if (Peek(i) == c) return i;
    }
    return npos;
  }
  /// The first "||" at or after from.
  std::size_t FindBars(std::size_t from, std::size_t limit = npos) const {
    for (std::size_t i = Find(u'|', from, limit); i != npos; i = Find(u'|', i + 1, limit)) {
      if (Peek(i + 1) == u'|' && i + 1 < limit) return i;
    }
    return npos;
  }
  std::u16string_view Slice(std::size_t begin, std::size_t end) const {
    begin = std::min(begin, text_.size());
    end = std::clamp(end, begin, text_.size());
    return text_.substr(begin, end - begin);
  }

 private:
  std::u16string_view text_;
};

// Numbers in options convert as the program converts text to numbers everywhere: blanks around,
// an optional sign, digits with an optional fraction and exponent, or "&H" hexadecimal.
std::optional<double> ParseNumber(std::u16string_view raw) {
  std::u16string text = Trim(raw);
  while (!text.empty() && text.back() == u'\t') text.pop_back();
  if (text.size() > 2 && text[0] == u'&' && (text[1] == u'H' || text[1] == u'h')) {
    if (text.size() > 10) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
      const char16_t c = LowerChar(text[i]);
      const int digit = IsDigit(c) ? c - u'0' : (c >= u'a' && c <= u'f') ? c - u'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<double>(static_cast<std::int32_t>(value));
  }
  std::string ascii;
  bool digits = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool sign = (c == u'+' || c == u'-') && (i == 0 || LowerChar(text[i - 1]) == u'e');
    if (!IsDigit(c) && c != u'.' && LowerChar(c) != u'e' && !sign) return std::nullopt;
    digits = digits || IsDigit(c);
    ascii += static_cast<char>(c);
  }
  if (!digits) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(ascii.c_str(), &end);
  if (end != ascii.c_str() + ascii.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A whole number; True is -1. Fractions round half to even; values beyond 32 bits do not convert.
std::optional<std::int32_t> ToLong(const OptionValue& value) {
  if (value.isTrue) return -1;
  const std::optional<double> number = ParseNumber(value.text);
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);
  if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

// Any number but 0 is True; the words True and False count in any case.
std::optional<bool> ToBool(const OptionValue& value) {
  if (value.isTrue) return true;
  const std::u16string word = Trim(value.text);
  if (EqualsNoCase(word, u"true")) return true;
  if (EqualsNoCase(word, u"false")) return false;
  const std::optional<double> number = ParseNumber(word);
  if (!number) return std::nullopt;
  return *number != 0;
}

// An empty text option ("||F ") keeps the box's font rather than naming a font "True".
std::optional<std::u16string> ToText(const OptionValue& value) { return value.isTrue ? std::u16string() : value.text; }

// Sets field from the option when it is present and converts; an absent option takes the
// fallback (DefLink's field) when there is one, else leaves the field as it is.
template <typename T, typename Convert>
void ReadOption(std::u16string_view options, std::u16string_view key, T& field, const T* fallback, Convert convert) {
  const std::optional<OptionValue> found = GetKey(options, key);
  if (!found) {
    if (fallback) field = *fallback;
    return;
  }
  if (const auto converted = convert(*found)) field = *converted;
}

void SplitAction(std::u16string_view action, clsLinkItem& item) {
  if (Like(action, u"http*://*") || Like(action, u"mailto:*")) {
    item.Prefix = u"Link";
    item.Link = std::u16string(action);
    return;
  }
  const std::size_t dash = action.find(u'-');
  item.Prefix = std::u16string(action.substr(0, dash));
  item.Link = dash == std::u16string_view::npos ? std::u16string() : std::u16string(action.substr(dash + 1));
}

// Links in the running program: the hand cursor, the click sound and the font the user chose.
class ProgramLinkEnvironment : public LinkEnvironment {
 public:
  void SetHandCursor() override {
    if (HasAppl()) mdlPublic::SetHandCursor();
  }
  void PlayClickSound() override {
    if (HasAppl()) mdlPublic::PlayClickSound();
  }
  std::u16string FontName() override {
    const Setting* sett = Settings();
    return sett && !sett->GFont.Name.empty() ? sett->GFont.Name : LinkEnvironment::FontName();
  }
  double FontSize() override {
    const Setting* sett = Settings();
    return sett && sett->GFont.Size > 0 ? sett->GFont.Size : LinkEnvironment::FontSize();
  }

 private:
  static const Setting* Settings() { return HasAppl() ? gAppl().Sett.get() : nullptr; }
};

std::shared_ptr<LinkEnvironment>& EnvironmentSlot() {
  static std::shared_ptr<LinkEnvironment> environment = std::make_shared<ProgramLinkEnvironment>();
  return environment;
}

}  // namespace

LinkEnvironment& LinkEnv() { return *EnvironmentSlot(); }
void SetLinkEnvironment(std::shared_ptr<LinkEnvironment> environment) {
  EnvironmentSlot() = environment ? std::move(environment) : std::make_shared<ProgramLinkEnvironment>();
}

void clsLinkItem::SelectMe() {
  if (Parent && *Parent) (*Parent)->SelectLink(*this);
}

std::optional<OptionValue> GetKey(std::u16string_view options, std::u16string_view key) {
  const std::u16string needle = u"||" + std::u16string(key) + u" ";
  const std::size_t found = FindNoCase(options, needle);
  if (found == std::u16string_view::npos) return std::nullopt;
  const MarkupReader reader(options);
  const std::size_t begin = found + needle.size();
  const std::size_t end = std::min(reader.FindBars(begin), reader.Size());
  if (end <= begin) return OptionValue{true, {}};
  return OptionValue{false, std::u16string(reader.Slice(begin, end))};
}

clsLink::clsLink() : DefLink(std::make_shared<clsLinkItem>()), self_(std::make_shared<clsLink*>(this)) {
  InitDefLink(*DefLink);
}

clsLink::~clsLink() {
  Unbind();
  *self_ = nullptr;
}

void clsLink::InitDefLink(clsLinkItem& item) {
  item.ClickSound = true;
  item.Color = kStandardLinkColour;
  item.LinkCursor = true;
  item.Underline = true;
  item.Bold = false;
  item.Italic = false;
  item.Caption.clear();
  item.Font.clear();
  item.Size = 0;
  item.Bullet = 0;
  item.Parent = self_;
}

void clsLink::GetLinks(std::u16string_view markup, std::u16string& plainText, std::vector<LinkItemPtr>& links) {
  const MarkupReader reader(markup);
  plainText.clear();
  std::size_t last = 0;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = reader.Find(u'<', pos);
    if (open == MarkupReader::npos) break;
    const std::size_t close = reader.Find(u'>', open + 1);
    if (close == MarkupReader::npos) break;
    pos = close;
    const std::size_t equals = reader.Find(u'=', open + 1, close);
    if (equals == MarkupReader::npos) continue;  // no "=": shown as written

    const std::u16string_view caption = reader.Slice(open + 1, equals);
    const std::u16string_view value = reader.Slice(equals + 1, close);
    plainText.append(reader.Slice(last, open));
    auto item = std::make_shared<clsLinkItem>();
    item->Parent = self_;
    item->Caption = std::u16string(caption);
    item->p1 = static_cast<std::int32_t>(plainText.size() + 1);
    item->p2 = static_cast<std::int32_t>(item->p1 + caption.size());
    plainText.append(caption);
    last = close + 1;

    SplitAction(reader.Slice(equals + 1, std::min(reader.FindBars(equals + 1, close), close)), *item);
    bool standard = false;
    ReadOption(value, u"Std", standard, static_cast<const bool*>(nullptr), ToBool);
    if (standard) {
      InitDefLink(*item);
    } else {
      // A plain run (no prefix, no link) keeps what it does not set at nothing; an action link
      // takes it from DefLink.
      const clsLinkItem* def = item->Prefix.empty() && item->Link.empty() ? nullptr : DefLink.get();
      ReadOption(value, u"B", item->Bold, def ? &def->Bold : nullptr, ToBool);
      ReadOption(value, u"U", item->Underline, def ? &def->Underline : nullptr, ToBool);
      ReadOption(value, u"I", item->Italic, def ? &def->Italic : nullptr, ToBool);
      ReadOption(value, u"S", item->Size, def ? &def->Size : nullptr, ToLong);
      ReadOption(value, u"F", item->Font, def ? &def->Font : nullptr, ToText);
      ReadOption(value, u"C", item->Color, def ? &def->Color : nullptr, ToLong);
      ReadOption(value, u"Blt", item->Bullet, def ? &def->Bullet : nullptr, ToLong);
      ReadOption(value, u"Snd", item->ClickSound, def ? &def->ClickSound : nullptr, ToBool);
      ReadOption(value, u"Crsr", item->LinkCursor, def ? &def->LinkCursor : nullptr, ToBool);
    }
    if (item->Color == -1) item->Color = kButtonTextColour;
    const std::int32_t noSide = 0;
    ReadOption(value, u"Dir", item->Dir, &noSide, ToLong);
    links.push_back(std::move(item));
  }
  plainText.append(reader.Slice(last, reader.Size()));
}

std::u16string clsLink::SetLink(const std::shared_ptr<RichTextBox>& box, std::u16string_view markup, bool autoLink,
                                std::u16string_view delimiters, bool hide) {
  Delimiters = std::u16string(delimiters);
  AutoLink = autoLink;
  Unbind();  // the box's own events must not reach us while it is rewritten
  Links.clear();
  std::u16string plain;
  if (!markup.empty()) {
    GetLinks(markup, plain, Links);
    if (box) {
      const bool wasVisible = hide ? box->Visible() : true;
      if (hide) {
        box->SetVisible(false);
        box->SetEnabled(false);
      }
      box->SetText(plain);
      box->SetSelStart(0);
      box->SetSelLength(std::max<std::int32_t>(kFontSpan, static_cast<std::int32_t>(plain.size())));
      box->SetSelFontName(LinkEnv().FontName());
      box->SetSelFontSize(LinkEnv().FontSize());
      MarkText(*box);
      if (hide) {
        box->SetVisible(wasVisible);
        box->SetEnabled(true);
      }
    }
  }
  Bind(box);
  return plain;
}

void clsLink::MarkText(RichTextBox& box) {
  const std::vector<LinkItemPtr> items = Links;
  for (const LinkItemPtr& item : items) {
    if (!item || item->p1 < 1 || item->p2 < item->p1) continue;
    box.SetSelStart(item->p1 - 1);
    box.SetSelLength(item->p2 - item->p1);
    if (!item->Font.empty()) box.SetSelFontName(item->Font);
    box.SetSelItalic(item->Italic);
    box.SetSelColor(static_cast<Colour>(item->Color));
    box.SetSelUnderline(item->Underline);
    box.SetSelBold(item->Bold);
    if (item->Size > 0) box.SetSelFontSize(item->Size);
    if (item->Bullet == 0) {
      box.SetSelBullet(false);
      continue;
    }
    // Bullets: the line break after the run gets a smaller size and the bullet's colour.
    box.SetSelBullet(true);
    const std::u16string text = box.Text();
    const std::size_t lineBreak = text.find(u"\r\n", static_cast<std::size_t>(item->p2 - 1));
    box.SetSelStart(static_cast<std::int32_t>(lineBreak == std::u16string::npos ? text.size() : lineBreak));
    box.SetSelLength(2);
    box.SetSelFontSize(0.7 * LinkEnv().FontSize());
    if (item->Bullet != -1) box.SetSelColor(static_cast<Colour>(item->Bullet));
  }
  box.SetSelStart(0);
  box.SetSelLength(0);
}

void clsLink::Reset() {
  Links.clear();
  if (DefLink) InitDefLink(*DefLink);
  Unbind();
}

LinkItemPtr clsLink::GetLinkByPos(std::int32_t pos) {
  if (!LinkRichText) return nullptr;
  for (const LinkItemPtr& item : Links) {
    if (item && item->p1 - 1 <= pos && pos < item->p2 - 1) return item;
  }
  if (!AutoLink || pos < 0) return nullptr;
  return AutoLinkAt(pos);
}

bool clsLink::PointerOn(const clsLinkItem& item) {
  const std::shared_ptr<RichTextBox> box = LinkRichText;
  if (!box) return false;
  // By place and value: writing the box anew makes new items for the same links.
  const LinkItemPtr now = GetLinkByPos(box->CharIndexAtCursor());
  return now && now->p1 == item.p1 && now->p2 == item.p2 && now->Link == item.Link;
}

// The word around pos, between the nearest delimiters on either side, one blank trimmed off each
// end. S and E are 1-based positions of the delimiters (0 and length + 1 when there are none).
LinkItemPtr clsLink::AutoLinkAt(std::int32_t pos) {
  if (!DefLink) return nullptr;
  const std::u16string text = LinkRichText->Text();
  const auto at = static_cast<std::size_t>(pos);
  std::int64_t end = static_cast<std::int64_t>(text.size()) + 1;
  std::int64_t start = 0;
  for (const char16_t d : Delimiters) {
    const std::size_t after = text.find(d, at);
    if (after != std::u16string::npos && static_cast<std::int64_t>(after) + 1 < end) end = static_cast<std::int64_t>(after) + 1;
    const std::size_t before = at > 0 ? text.rfind(d, at - 1) : std::u16string::npos;
    if (before != std::u16string::npos && static_cast<std::int64_t>(before) + 1 > start) start = static_cast<std::int64_t>(before) + 1;
  }
  if (end > start) {
    if (end >= 2 && text[static_cast<std::size_t>(end - 2)] == u' ') --end;
    if (start < static_cast<std::int64_t>(text.size()) && text[static_cast<std::size_t>(start)] == u' ') ++start;
  }
  if (pos >= end || end <= start) return nullptr;
  // An empty word (two delimiters side by side) is no link.
  const std::u16string word =
      Trim(std::u16string_view(text).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start - 1)));
  if (word.empty()) return nullptr;
  DefLink->Caption = word;
  DefLink->Link = word;
  DefLink->p1 = static_cast<std::int32_t>(start + 1);
  DefLink->p2 = static_cast<std::int32_t>(end);
  return DefLink;
}

LinkItemPtr clsLink::GetSelLink() {
  if (!LinkRichText) return nullptr;
  const std::int32_t length = LinkRichText->SelLength();
  if (length <= 0) return nullptr;
  return GetLinkByPos(LinkRichText->SelStart() + length / 2);
}

void clsLink::SelectLink(const clsLinkItem& item) {
  if (!LinkRichText) return;
  LinkRichText->SetSelStart(item.p1 - 1);
  LinkRichText->SetSelLength(item.p2 - item.p1);
}

void clsLink::LinkAction(std::int16_t action, long x, long y) {
  const std::shared_ptr<RichTextBox> box = LinkRichText;  // the handler may rebind us
  if (!box) return;
  const std::int32_t pos = action == kCaretMoved || action == kEnter ? box->SelStart() + box->SelLength() / 2
                                                                    : box->CharIndexAtCursor();
  const LinkItemPtr item = GetLinkByPos(pos);
  if (!item) return;
  if (item->LinkCursor && action >= kPointer && action <= kRightUp) {
    LinkEnv().SetHandCursor();
    if (action > kPointer) LinkEnv().PlayClickSound();
  }
  if (HasAppl()) gAppl().LinkHandler(item, action, box.get(), x, y);
}

void clsLink::Bind(const std::shared_ptr<RichTextBox>& box) {
  LinkRichText = box;
  if (box) box->AddListener(this);
}

void clsLink::Unbind() {
  if (LinkRichText) LinkRichText->RemoveListener(this);
  LinkRichText.reset();
}

void clsLink::OnKeyUp(RichTextBox& box, int keyCode, int shift) {
  constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kReturn = 13;
  switch (keyCode) {
    case kLeft:
      // Left of the box's start there is nowhere to go; the caret stays.
      if (box.SelStart() >= 3) box.SetSelStart(box.SelStart() - 3);
      LinkAction(kCaretMoved, 0, 0);
      break;
    case kRight:
      box.SetSelStart(box.SelStart() + 2);
      LinkAction(kCaretMoved, 0, 0);
      break;
    case kUp:
    case kDown:
      LinkAction(kCaretMoved, 0, 0);
      break;
    case kReturn:
      LinkAction(kEnter, 0, 0);
      break;
    default:
      break;
  }
}

void clsLink::OnMouseDown(RichTextBox&, int, int, long x, long y) { LinkAction(kPointer, x, y); }
void clsLink::OnMouseMove(RichTextBox&, int, int, long x, long y) { LinkAction(kPointer, x, y); }
void clsLink::OnMouseUp(RichTextBox&, int button, int, long x, long y) {
  LinkAction(static_cast<std::int16_t>(button), x, y);
}

}  // namespace parlavent
