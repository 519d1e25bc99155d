// frmStat: the words of the statistics with their counts; a double-click (or Enter) translates
// the word in the main window.
#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "app/win32/owned_window.h"
#include "companions/win32/companion_forms.h"
#include "dictionary/stat_item.h"
#include "foundation/lang_entries.h"
#include "platform/win32/win32_services.h"
#include "resource_ids.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr int kListId = 101;
constexpr int kWidth = 320;
constexpr int kHeight = 420;

void AddColumn(HWND list, int index, const std::u16string& caption, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(Wide(caption));
  column.cx = width;
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

frmStat::~frmStat() {
  if (hwnd()) DestroyWindow(hwnd());
}

bool frmStat::Load() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  Appl& app = gAppl();
  CreateArgs args;
  args.className = kClassName;
  args.title = app.LZ(lang::kMenuStat);
  args.icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_PARLAVENT));
  // Owned by the main window it has no taskbar button: minimised, nothing would bring it back.
  args.style = WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX;
  // An explicit place: with CW_USEDEFAULT the first showing would take the start-up show state.
  args.x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  args.y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  args.width = kWidth;
  args.height = kHeight;
  if (!Create(args)) return false;
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
                          10, 10, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance_, nullptr);
  if (!list_) return false;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddColumn(list_, 0, app.LZ(lang::kStatWord), 200);
  AddColumn(list_, 1, app.LZ(lang::kStatCount), 80);
  Layout();
  return true;
}

void frmStat::ShowList(const std::vector<std::shared_ptr<clsStatItem>>& items) {
  if (!list_) return;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  words_.clear();
  for (const auto& item : items) {
    if (!item) continue;
    words_.push_back(item->Word);
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(words_.size() - 1);
    row.pszText = const_cast<wchar_t*>(Wide(words_.back()));
    const int at = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    const std::u16string count = NumberText(item->Mass);
    LVITEMW cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<wchar_t*>(Wide(count));
    SendMessageW(list_, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&cell));
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  ShowOwned(hwnd(), true);
  SetFocus(list_);
}

void frmStat::Layout() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (list_) MoveWindow(list_, 0, 0, client.right, client.bottom, TRUE);
}

void frmStat::ChooseSelected() {
  const int selected = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (selected < 0 || static_cast<std::size_t>(selected) >= words_.size() || !OnChoose) return;
  const std::u16string word = words_[static_cast<std::size_t>(selected)];
  OnChoose(word);
}

LRESULT frmStat::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_CLOSE: ShowWindow(hwnd(), SW_HIDE); return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      const bool enter = header->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(lp)->wVKey == VK_RETURN;
      if (header->idFrom == kListId && (header->code == NM_DBLCLK || enter)) ChooseSelected();
      return 0;
    }
    default: return WindowBase::OnMessage(msg, wp, lp);
  }
}

}  // namespace parlavent
