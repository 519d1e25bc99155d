// The one place that decides what a link does: by the action (pointer, click, right click,
// caret moved, Enter), then by the link's prefix.
#include <array>
#include <utility>

#include "app/application.h"
#include "app/link_layer.h"
#include "app/main_form.h"
#include "app/neighbour_services.h"
#include "app/view_history.h"
#include "foundation/api_strings.h"
#include "foundation/api_system.h"
#include "foundation/interface_helpers.h"
#include "foundation/lang_entries.h"
#include "platform/input.h"
#include "platform/rich_text_box.h"
#include "platform/window_manager.h"
#include "text/text.h"

namespace parlavent {
namespace {

// The three ways a link hands its word to ShowTrans.
ShowTransArgs TransArgs(bool onForm, bool repeat, bool samePos) {
  ShowTransArgs a;
  a.OnForm = onForm;
  a.RepeatTrans = repeat;
  a.SamePos = samePos;
  a.NoDirection = true;
  a.AddStat = true;
  a.FullText = true;
  return a;
}
const ShowTransArgs kFormSet = TransArgs(true, true, false);
const ShowTransArgs kPopupSet = TransArgs(false, true, true);
const ShowTransArgs kListSet = TransArgs(true, false, false);

enum class Kind { None, Link, Lit, Upl, GoBack, ExtTransOnForm, TransWord, ExtTransTT, Help, AllList, Abc,
                  AbcRedir, List, BackTrans, BackTTTrans };

Kind KindOf(std::u16string_view prefix) {
  static const std::array<std::pair<std::u16string_view, Kind>, 14> kinds{{
      {u"Link", Kind::Link}, {u"lit", Kind::Lit}, {u"upl", Kind::Upl}, {u"GoBack", Kind::GoBack},
      {u"ExtTransOnForm", Kind::ExtTransOnForm}, {u"TransWord", Kind::TransWord},
      {u"ExtTransTT", Kind::ExtTransTT}, {u"Help", Kind::Help}, {u"AllList", Kind::AllList},
      {u"abc", Kind::Abc}, {u"abcredir", Kind::AbcRedir}, {u"List", Kind::List},
      {u"BackTrans", Kind::BackTrans}, {u"BackTTTrans", Kind::BackTTTrans},
  }};
  for (const auto& [name, kind] : kinds) {
    if (EqualsNoCase(prefix, name)) return kind;
  }
  return Kind::None;
}

bool MainVisible(Appl& app) { return app.frmMain && Windows().IsVisible(app.frmMain->hWnd()); }

bool IsOutputBox(Appl& app, RichTextBox* sender) {
  return sender && sender == app.ViewServices().OutputBox().get();
}

bool OutsideWindowKnown(Appl& app) {
  const auto w = app.State.gLastForeground;
  return w != 0 && !(app.frmMain && w == app.frmMain->hWnd());
}

// The link's word is chosen for copying; in the output box it also fills the back-translation.
void ChooseWord(Appl& app, clsLinkItem& link, RichTextBox* sender, bool onlyWithoutSelection, bool backTrans) {
  if (!onlyWithoutSelection || !sender || sender->SelLength() == 0) link.SelectMe();
  app.ShowCopyCursor(link.Link);
  if (backTrans && IsOutputBox(app, sender)) app.ShowBackTrans(link.Link, false);
}

// The first Enter on a back-translation word copies it, the second pastes it into the program the
// user came from.
void EnterOnBackTrans(Appl& app, clsLinkItem& link) {
  link.SelectMe();
  std::u16string& pending = app.State.gPendingCopy;
  if (EqualsNoCase(pending, link.Link)) {
    pending.clear();
    if (OutsideWindowKnown(app)) app.CaptureSide().PasteInto(app.State.gLastForeground);
    return;
  }
  pending = link.Link;
  app.ViewServices().CopyText(pending, true);
  mdlPublic::PlayClickSound();
  if (OutsideWindowKnown(app)) app.Info(app.LZ(lang::kInfoEnterToPaste), true);
}

void Activate(Appl& app, clsLinkItem& link, bool enter, RichTextBox* sender) {
  switch (KindOf(link.Prefix)) {
    case Kind::Link: API::ShellOpen(link.Link); break;
    case Kind::Lit: app.SpeechSide().SpeakText(link.Link); break;
    case Kind::Upl: app.ShowAbout(); break;
    case Kind::GoBack: app.History().Back(); break;
    case Kind::ExtTransOnForm:
      if (MainVisible(app)) app.ShowTrans(link.Link, kFormSet);
      break;
    case Kind::TransWord:
      if (enter) {
        if (MainVisible(app)) app.ShowTrans(link.Link, kFormSet);
      } else {
        ChooseWord(app, link, sender, false, true);
      }
      break;
    case Kind::ExtTransTT: app.ShowTrans(link.Link, kPopupSet); break;
    case Kind::Help: app.ShowHelp(link.Link, u""); break;
    case Kind::AllList: app.ShowAllList(link.Link); break;
    case Kind::Abc: app.ShowABC(link.Link); break;
    case Kind::AbcRedir:
      app.State.gCurABC = 3 - app.State.gCurABC;
      app.ShowABC(u"");
      break;
    case Kind::List: {
      std::int32_t start = 0, length = 0;
      if (const auto box = app.ViewServices().OutputBox()) {
        start = box->SelStart();
        length = box->SelLength();
      }
      app.History().AddUndo(u"ListClick", app.State.gListArg + u"\t" + app.State.gListKind + u"\t" +
                                              NumberText(start) + u"\t" + NumberText(length));
      app.ShowTrans(link.Link, kListSet);
      break;
    }
    case Kind::BackTrans:
      if (enter) {
        EnterOnBackTrans(app, link);
      } else {
        ChooseWord(app, link, sender, true, true);
      }
      break;
    case Kind::BackTTTrans: ChooseWord(app, link, sender, true, false); break;
    case Kind::None: break;
  }
}

void RightClick(Appl& app, clsLinkItem& link) {
  switch (KindOf(link.Prefix)) {
    case Kind::BackTrans:
    case Kind::BackTTTrans:
    case Kind::TransWord:
      link.SelectMe();
      app.ViewServices().PopupEditMenu();
      break;
    case Kind::Abc: app.ShowLit(link.Link); break;
    default: break;
  }
}

void CaretMoved(Appl& app, clsLinkItem& link, RichTextBox* sender) {
  if (!IsOutputBox(app, sender)) return;
  switch (KindOf(link.Prefix)) {
    case Kind::BackTrans:
      link.SelectMe();
      app.State.gPendingCopy.clear();
      app.ShowBackTrans(link.Link, false);
      app.Info(app.LZ(lang::kInfoClickToCopyWord), true);
      break;
    case Kind::List:
    case Kind::AllList:
      link.SelectMe();
      app.ShowBackTrans(link.Link, false);
      break;
    default: break;
  }
}

}  // namespace

void Appl::LinkHandler(const std::shared_ptr<clsLinkItem>& Link, std::int16_t Button, RichTextBox* Sender, long X,
                       long Y) {
  if (LinkHandlerHook) LinkHandlerHook(Link, Button, Sender, X, Y);
  State.gCurLink = Link;
  if (!Link || Link->Prefix.empty()) return;
  // Handlers below may replace gCurLink or the box's links: keep the item alive meanwhile.
  const std::shared_ptr<clsLinkItem> link = Link;
  try {
    if (Button != clsLink::kPointer) {
      CaptureSide().CloseToolTip();
      // The press that began the click was a hover too: its hint must not come after the click.
      ViewServices().CloseLinkHint();
    }
    if (Button == State.gPrimaryButton || Button == clsLink::kEnter) {
      Activate(*this, *link, Button == clsLink::kEnter, Sender);
    } else if (Button == clsLink::kRightUp) {
      RightClick(*this, *link);
    } else if (Button == clsLink::kPointer) {
      const Point p = Input().CursorPos();
      State.gLinkHoverPointX = static_cast<std::int32_t>(p.x);
      State.gLinkHoverPointY = static_cast<std::int32_t>(p.y);
      ViewServices().RestartToolTipTimer();
    } else if (Button == clsLink::kCaretMoved) {
      CaretMoved(*this, *link, Sender);
    }
  } catch (...) {
    // A failing target leaves the display as it was.
  }
}

}  // namespace parlavent
