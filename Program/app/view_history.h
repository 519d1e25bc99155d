#pragma once
// clsUndo: the view history of the main window's output box, newest first, at most 100 views.
// Stepping back or forth replays a view by calling the operation that made it, with recording
// switched off meanwhile (gUndoReplay).
//
//   Mode        Data                                          replayed by
//   "ABC"       letter of the alphabet view, may be empty     Appl.ShowABC(Data)
//   "ShowLit"   the letter                                    Appl.ShowLit(Data)
//   "List"      word-list argument                            Appl.ShowList(Data)
//   "AllList"   word-list argument                            Appl.ShowAllList(Data)
//   "ListClick" argument TAB kind TAB SelStart TAB SelLength  the list of that kind, then the selection
//   "Trans"     text TAB RepeatTrans TAB FullText TAB OneWord TAB Tochno    Appl.ShowTrans
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

class clsUndoItem {
 public:
  std::u16string Mode;
  std::u16string Data;
};

class clsUndo {
 public:
  static constexpr std::int32_t kMaxViews = 100;

  std::vector<std::shared_ptr<clsUndoItem>> UndoCol;  // newest first
  std::int32_t UndoPos = 0;  // 1-based position of the view shown now; 0 while empty

  /// Records a view, unless a replay runs or it is the view shown now (case-blind).
  void AddUndo(std::u16string_view Mode, std::u16string_view Data);
  void Back();
  void Redo();
  /// Clamps UndoPos and sets the toolbar's "Back" and "Redo" buttons.
  void RefreshUndo();
  /// Replays the view at UndoPos.
  void MakeUndo();
};

}  // namespace parlavent
