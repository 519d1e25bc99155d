// The alphabet index of the output box: the letters of the current dictionary's language as
// links (the alphabet view), one letter's words under a row of two-letter links (the letter
// view), and a letter alone as a large heading.
#include "app/application.h"
#include "app/link_layer.h"
#include "app/view_history.h"
#include "app/view_host.h"
#include "dictionary/dictionary.h"
#include "foundation/api_strings.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/rich_text_box.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr std::u16string_view kFont = u"Times New Roman";
constexpr Colour kWindowText = 0x80000008u;
constexpr std::size_t kLettersPerRow = 11;          // letter view: two-letter links
constexpr std::size_t kLettersPerAlphabetRow = 7;   // alphabet view
constexpr std::int32_t kLetterWords = 50;
constexpr double kLitSizeDivisor = 2.5;

struct Side {
  std::u16string key;    // Lang1 or Lang2, the key of the alphabet
  std::u16string shown;  // the language's name
  std::u16string other;  // the other side's name
};

Side ShownSide(const Appl& app) {
  const clsDic& dic = *app.Dic;
  const auto src = dic.GetSrc();
  const std::u16string name1 = src ? src->Language1 : std::u16string();
  const std::u16string name2 = src ? src->Language2 : std::u16string();
  if (app.State.gCurABC == 2) return {dic.Lang2, name2, name1};
  return {dic.Lang1, name1, name2};
}

// The letters of an alphabet of preset.ini, upper case; no entry, no letters.
std::vector<std::u16string> Letters(const Appl& app, std::u16string_view language) {
  std::vector<std::u16string> letters;
  const std::u16string* alphabet = app.State.colABC.Find(language);
  if (!alphabet || alphabet->empty()) return letters;
  for (auto& l : SplitText(UCase(*alphabet), u" ")) {
    if (!l.empty()) letters.push_back(std::move(l));
  }
  return letters;
}

void Format(RichTextBox& box, std::size_t from, std::size_t to, double size, bool bold) {
  if (to <= from) return;
  box.SetSelStart(static_cast<std::int32_t>(from));
  box.SetSelLength(static_cast<std::int32_t>(to - from));
  box.SetSelFontName(kFont);
  box.SetSelFontSize(size);
  box.SetSelBold(bold);
}

std::u16string Show(Appl& app, RichTextBox& out, std::u16string_view markup) {
  clsLink* links = app.ViewServices().OutputLinks();
  const auto box = app.ViewServices().OutputBox();
  if (!links) {
    out.SetText(markup);
    return std::u16string(markup);
  }
  links->Reset();
  const std::int32_t gray = app.Sett ? app.Sett->Gray : 0;
  links->DefLink->Color = gray;
  links->DefLink->Underline = false;
  return links->SetLink(box, markup, true, kCrLf);
}

void LetterView(Appl& app, RichTextBox& out, std::u16string_view lit, const std::vector<std::u16string>& letters) {
  app.State.gListArg = std::u16string(lit);
  app.State.gListKind = u"abc";
  const std::u16string heading = UCase(lit) + std::u16string(kCrLf);
  std::u16string row;
  for (std::size_t k = 0; k < letters.size(); ++k) {
    row += u"<" + letters[k] + u" =abc-" + std::u16string(lit) + letters[k] + u">";
    if ((k + 1) % kLettersPerRow == 0) row += kCrLf;
  }
  row = API::TrimString(row, u" ", kCrLf) + u"\r\n\r\n";
  const std::vector<std::u16string> words = app.GetList(lit, kLetterWords, false, 2);
  std::u16string lines;
  for (const auto& w : words) lines += u"<" + w + u"=LIST-" + w + u"> \r\n";
  const bool more = words.size() > static_cast<std::size_t>(kLetterWords);
  if (more) {
    const std::u16string textLink = app.Sett ? app.Sett->TextLink : std::u16string();
    lines += u"<" + app.LZ(lang::kLinkAllList) + u"=ALLLIST-" + std::u16string(lit) + textLink + u"> \r\n";
  }
  const std::u16string plain = Show(app, out, heading + row + lines);

  const std::size_t headEnd = std::min(plain.find(kCrLf), plain.size());
  Format(out, 0, headEnd, 12, true);
  out.SetSelAlignment(RichTextBox::Alignment::Left);
  const std::size_t rowStart = std::min(headEnd + 2, plain.size());
  const std::size_t blank = std::min(plain.find(u"\r\n\r\n", rowStart), plain.size());
  Format(out, rowStart, blank, 10, true);
  const std::size_t wordsStart = std::min(blank + 4, plain.size());
  std::size_t wordsEnd = plain.size();
  // The link to the all list keeps its own look.
  if (more && plain.size() >= 3) wordsEnd = std::max(wordsStart, plain.rfind(kCrLf, plain.size() - 3) + 2);
  if (wordsEnd > wordsStart) {
    Format(out, wordsStart, wordsEnd, 10, false);
    out.SetSelColor(kWindowText);
  }
  if (!words.empty()) app.ViewServices().ShowBackTrans(words.front(), true);
}

void AlphabetView(Appl& app, RichTextBox& out, const Side& side, const std::vector<std::u16string>& letters) {
  const std::u16string alphabet = app.LZ(lang::kAlphabet);
  const std::u16string heading = UCase(u"\r\n\r\n" + side.shown + u" " + alphabet);
  const std::u16string dir = NumberText(app.State.gCurABC);
  std::u16string row = u"\r\n\r\n";
  for (std::size_t k = 0; k < letters.size(); ++k) {
    row += u" <-" + letters[k] + u"-=abc-" + letters[k] + u"||dir " + dir + u"> ";
    if ((k + 1) % kLettersPerAlphabetRow == 0) row += u"\r\n\r\n";
  }
  app.State.gSpeakTarget = 3;
  const std::u16string switchLink = LCase(u" <" + side.other + u" " + alphabet + u"=abcReDir> ");
  const std::u16string plain = Show(app, out, heading + Trim(row) + u" \r\n\r\n" + switchLink);
  Format(out, 0, plain.size(), 10, true);
  out.SetSelAlignment(RichTextBox::Alignment::Center);
}

}  // namespace

void Appl::ShowABC(std::u16string_view lit) {
  ViewHost& views = ViewServices();
  views.ShowBackTrans(u"", false);
  if (ColDics.Empty() || !Dic) return;
  History().AddUndo(u"ABC", lit);
  if (const auto input = views.InputBox()) input->SetText(u"");
  const auto out = views.OutputBox();
  if (!out) return;
  out->SetVisible(false);
  const Side side = ShownSide(*this);
  const std::vector<std::u16string> letters = Letters(*this, side.key);
  if (!lit.empty()) {
    LetterView(*this, *out, lit, letters);
  } else {
    AlphabetView(*this, *out, side, letters);
  }
  OutPutMode = 1;
  out->SetSelStart(0);
  out->SetVisible(true);
  out->SetFocus();
  views.HideOutputCaret();
}

void Appl::ShowLit(std::u16string_view lit) {
  if (lit.size() >= 2) return;
  ViewHost& views = ViewServices();
  History().AddUndo(u"ShowLit", lit);
  const auto out = views.OutputBox();
  if (!out) return;
  out->SetVisible(false);
  const std::u16string markup = u"\r\n\r\n<" + UCase(lit) + u" " + LCase(lit) + u"=lit-" + std::u16string(lit) +
                                u"||dir " + NumberText(State.gCurABC) + u">";
  if (clsLink* links = views.OutputLinks()) {
    links->Reset();
    links->SetLink(out, markup, false, kCrLf);
  } else {
    out->SetText(markup);
  }
  std::int32_t width = 0, height = 0;
  views.OutputBoxPixels(width, height);
  Format(*out, 4, 7, std::min(width, height) / kLitSizeDivisor, true);
  out->SetSelAlignment(RichTextBox::Alignment::Center);
  out->SetSelStart(0);
  OutPutMode = 1;
  out->SetVisible(true);
}

}  // namespace parlavent
