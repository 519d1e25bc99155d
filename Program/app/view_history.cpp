#include "app/view_history.h"

#include <algorithm>

#include "app/application.h"
#include "app/view_host.h"
#include "platform/rich_text_box.h"
#include "text/text.h"

namespace parlavent {
namespace {

bool PartTrue(const std::vector<std::u16string>& parts, std::size_t i, bool otherwise) {
  return i < parts.size() ? EqualsNoCase(parts[i], u"True") : otherwise;
}

// The list of a "ListClick" record, then the selection the user had made in it.
void ReplayListClick(Appl& app, const std::vector<std::u16string>& parts) {
  if (parts.size() < 2) return;
  const std::u16string& kind = parts[1];
  if (EqualsNoCase(kind, u"List")) {
    app.ShowList(parts[0]);
  } else if (EqualsNoCase(kind, u"AllList")) {
    app.ShowAllList(parts[0]);
  } else if (EqualsNoCase(kind, u"abc")) {
    app.ShowABC(parts[0]);
  } else {
    return;
  }
  const auto box = app.ViewServices().OutputBox();
  if (!box) return;
  std::int64_t n = 0;
  if (parts.size() > 2 && ParseInt64(parts[2], n)) box->SetSelStart(static_cast<std::int32_t>(n));
  if (parts.size() > 3 && ParseInt64(parts[3], n)) box->SetSelLength(static_cast<std::int32_t>(n));
  if (EqualsNoCase(kind, u"List")) box->SetFocus();
}

void ReplayTrans(Appl& app, const std::vector<std::u16string>& parts) {
  ProcessState& g = app.State;
  g.gUserTyped = false;
  if (const auto input = app.ViewServices().InputBox()) input->SetText(parts[0]);
  ShowTransArgs args;
  args.OnForm = true;
  args.RepeatTrans = PartTrue(parts, 1, false);
  args.FullText = PartTrue(parts, 2, false);
  args.OneWord = PartTrue(parts, 3, false);
  args.Tochno = PartTrue(parts, 4, false);
  args.ClrBuffer = true;
  args.AddStat = true;
  app.ViewServices().ShowTrans(parts[0], args);
  g.gUserTyped = true;
}

}  // namespace

void clsUndo::AddUndo(std::u16string_view Mode, std::u16string_view Data) {
  if (gAppl().State.gUndoReplay) return;
  if (UndoPos >= 1 && UndoPos <= static_cast<std::int32_t>(UndoCol.size())) {
    const clsUndoItem& shown = *UndoCol[static_cast<std::size_t>(UndoPos - 1)];
    if (EqualsNoCase(shown.Mode, Mode) && EqualsNoCase(shown.Data, Data)) return;
  }
  auto item = std::make_shared<clsUndoItem>();
  item->Mode = std::u16string(Mode);
  item->Data = std::u16string(Data);
  // The views newer than the one shown can no longer be redone.
  const auto newer = std::min<std::size_t>(UndoCol.size(), static_cast<std::size_t>(std::max(0, UndoPos - 1)));
  UndoCol.erase(UndoCol.begin(), UndoCol.begin() + static_cast<std::ptrdiff_t>(newer));
  UndoPos = 1;
  UndoCol.insert(UndoCol.begin(), std::move(item));
  if (UndoCol.size() > kMaxViews) UndoCol.pop_back();
  RefreshUndo();
}

void clsUndo::RefreshUndo() {
  const auto count = static_cast<std::int32_t>(UndoCol.size());
  if (UndoPos < 1) UndoPos = 1;
  if (UndoPos > count) UndoPos = count;
  ViewHost& views = gAppl().ViewServices();
  views.EnableToolbarButton(u"Redo", UndoPos >= 2);
  views.EnableToolbarButton(u"Back", UndoPos < count);
}

void clsUndo::Back() {
  ++UndoPos;
  RefreshUndo();
  MakeUndo();
}

void clsUndo::Redo() {
  --UndoPos;
  RefreshUndo();
  MakeUndo();
}

void clsUndo::MakeUndo() {
  Appl& app = gAppl();
  app.ViewServices().StopSpeak();
  app.State.gUndoReplay = true;
  if (UndoPos >= 1 && UndoPos <= static_cast<std::int32_t>(UndoCol.size())) {
    // A copy: the replay may record into (and so reshape) the history.
    const clsUndoItem item = *UndoCol[static_cast<std::size_t>(UndoPos - 1)];
    const std::u16string& mode = item.Mode;
    if (EqualsNoCase(mode, u"ABC")) {
      app.ShowABC(item.Data);
    } else if (EqualsNoCase(mode, u"ShowLit")) {
      app.ShowLit(item.Data);
    } else if (EqualsNoCase(mode, u"List")) {
      app.ShowList(item.Data);
    } else if (EqualsNoCase(mode, u"AllList")) {
      app.ShowAllList(item.Data);
    } else if (EqualsNoCase(mode, u"ListClick")) {
      ReplayListClick(app, SplitText(item.Data, u"\t"));
    } else if (EqualsNoCase(mode, u"Trans")) {
      ReplayTrans(app, SplitText(item.Data, u"\t"));
    }
  }
  app.State.gUndoReplay = false;
}

}  // namespace parlavent
