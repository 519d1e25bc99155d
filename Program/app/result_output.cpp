// A translation shown on the main window: the looked-up text in the input box, the rendered
// markup in the output box, then window, focus and hint.
#include "app/application.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/view_host.h"
#include "dictionary/result_tree.h"
#include "foundation/api_windows.h"
#include "foundation/lang_entries.h"
#include "platform/rich_text_box.h"
#include "platform/shell.h"
#include "platform/window_manager.h"
#include "text/text.h"

namespace parlavent {

void Appl::FormatTransLink(clsLinkItem& Link) {
  Link.LinkCursor = false;
  Link.ClickSound = false;
  Link.Underline = false;
  Link.Color = -1;
}

void Appl::TransOnForm(std::u16string_view RetInText, std::u16string_view rettext, bool IsTrans, bool) {
  ViewHost& host = ViewServices();
  const auto input = host.InputBox();
  const auto output = host.OutputBox();
  ClearBackTrans();
  OutPutMode = 1;
  State.gUserTyped = false;
  if (!RetInText.empty()) {
    if (input) API::SetRichTextW(*input, Trim(RetInText));
    if (clsLink* links = host.OutputLinks(); links && output) {
      FormatTransLink(*links->DefLink);
      links->SetLink(output, rettext, false, u"\r\n", true);
    }
  }
  const bool visible = frmMain && Windows().IsVisible(frmMain->hWnd());
  if (frmMain && (!visible || State.gReturnWindow != 0)) ShowMe(true);

  const bool nothingLookedUp = Trim(RetInText).empty();
  if (nothingLookedUp) {
    if (input) {
      API::SelectAllText(*input);
      input->SetFocus();
    }
  } else if (!IsTrans) {
    if (input) {
      input->SetSelStart(static_cast<std::int32_t>(input->Text().size()));
      input->SetFocus();
    }
  } else if (output) {
    output->SetFocus();
  }

  if (IsTrans && WordSet && WordSet->UseExtTrans) {
    Info(LZ(lang::kInfoExtTransExists), true);
  } else if (!IsTrans && !RetInText.empty()) {
    Info(LZ(lang::kInfoNothingTranslated), true);
    if (input) input->SetFocus();
  } else if (IsTrans) {
    // The word list's notices (nothing found for the text typed so far, how many words it shows)
    // would stand beside the translation as if they told of it.
    if (const auto line = host.InfoLine()) {
      const std::u16string shown = line->Text();
      if (shown == LZ(lang::kInfoNothingFound) || (!ListInfo.empty() && shown == ListInfo)) InfoClear();
    }
  }
  State.gUserTyped = true;
  if (output) output->SetVisible(true);
  Pump().DoEvents();
  host.HideOutputCaret();
}

}  // namespace parlavent
