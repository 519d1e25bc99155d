// The clipboard as the program uses it: copying words and results, the pending copy at the
// pointer, pasting, link hints and dropped text.
#include "app/application.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/view_host.h"
#include "capture/capture.h"
#include "dictionary/result_tree.h"
#include "foundation/interface_helpers.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::size_t kLongCopy = 20;  // from this length the info line shows the start only
constexpr std::size_t kShownStart = 17;
constexpr std::size_t kLookupSpan = 1024;

// Without blanks, tabs and line breaks at either end.
std::u16string StripBlanks(std::u16string_view text) {
  constexpr std::u16string_view kBlanks = u" \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::u16string_view::npos) return {};
  return std::u16string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

enum class HintKind { None, Word, Address };

HintKind HintKindOf(std::u16string_view prefix) {
  for (std::u16string_view word : {u"TransWord", u"BackTrans", u"BackTTTrans", u"List", u"AllList",
                                   u"ExtTransOnForm", u"ExtTransTT"}) {
    if (EqualsNoCase(prefix, word)) return HintKind::Word;
  }
  return EqualsNoCase(prefix, u"Link") ? HintKind::Address : HintKind::None;
}

}  // namespace

CaptureMemory& TheCaptureMemory() {
  auto& memory = G().gCaptureMemory;
  if (!memory) memory = std::make_shared<CaptureMemory>();
  return *memory;
}

std::u16string CopyInfoText(std::u16string_view text, std::u16string_view copied) {
  std::u16string shown(text);
  if (shown.size() >= kLongCopy) shown = shown.substr(0, kShownStart) + u"...";
  return u"\"" + shown + u"\" " + std::u16string(copied);
}

std::u16string LookupSpan(std::u16string_view text) {
  if (text.size() <= kLookupSpan) return std::u16string(text);
  std::u16string_view span = text.substr(0, kLookupSpan);
  // A word cut in two would be looked up as another word.
  if (const auto blank = span.find_last_of(u" \t\r\n"); blank != std::u16string_view::npos && blank > 0) {
    span = span.substr(0, blank);
  }
  return std::u16string(span);
}

std::u16string LinkHintText(Appl& app, const clsLinkItem& link) {
  switch (HintKindOf(link.Prefix)) {
    case HintKind::Word: return Trim(link.Link).empty() ? std::u16string() : app.GetSimpleTrans(link.Link);
    case HintKind::Address: return link.Link;
    case HintKind::None: break;
  }
  return {};
}

std::u16string Appl::GetClipboard() {
  try {
    return CaptureSide().ClipboardText();
  } catch (...) {
    return {};
  }
}

void Appl::CopyText(std::u16string_view Text, bool Show) {
  if (Text.empty()) return;
  try {
    // A clipboard held by another program takes nothing, and the info line claims no copy.
    if (CaptureSide().SetClipboardText(Text) && Show) Info(CopyInfoText(Text, LZ(lang::kInfoCopied)), true);
  } catch (...) {
  }
}

void Appl::CopyTrans() {
  if (!WordSet || WordSet->Translation.empty()) return;
  // The result is kept as link markup: only its shown text goes to the clipboard.
  clsLink parser;
  std::u16string plain;
  std::vector<LinkItemPtr> links;
  parser.GetLinks(WordSet->Translation, plain, links);
  CopyText(StripBlanks(plain), true);
}

void Appl::ShowCopyCursor(std::u16string_view CopyText) {
  if (EqualsNoCase(CopyText, State.gPendingCopy)) {
    mdlPublic::FlushPendingCopy();
    return;
  }
  State.gPendingCopy = std::u16string(CopyText);
  if (frmCopy) frmCopy->ShowCursor();
  Info(LZ(lang::kInfoClickToCopy) + u" \"" + std::u16string(CopyText) + u"\"", true);
}

void Appl::ToolTipHandler(const std::shared_ptr<clsLinkItem>& Link) {
  if (!Link || (Sett && !Sett->ShowTooltips)) return;
  try {
    const std::u16string hint = LinkHintText(*this, *Link);
    if (!hint.empty()) CaptureSide().ShowToolTip(hint);
  } catch (...) {
  }
}

void Appl::TransDrop(std::u16string_view Data) {
  const std::u16string text = StripBlanks(LookupSpan(StripBlanks(Data)));
  if (text.empty()) return;
  ShowTransArgs args;
  args.OnForm = true;
  args.Typed = true;
  args.AddStat = true;
  args.Tochno = text.find(u',') != std::u16string::npos;
  ShowTrans(text, args);
}

double Appl::getWordX(std::u16string_view w) { return GetHash(LCase(w)); }

}  // namespace parlavent
