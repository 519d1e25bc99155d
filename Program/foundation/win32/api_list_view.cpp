#include "foundation/win32/api_list_view.h"

#include <commctrl.h>
#include <richedit.h>

#include <cwchar>

namespace parlavent::API {
namespace {

constexpr UINT kChecked = 0x2000;    // state image 2
constexpr UINT kUnchecked = 0x1000;  // state image 1

bool IsRichEdit(HWND box) {
  wchar_t name[64] = {};
  GetClassNameW(box, name, 64);
  return _wcsnicmp(name, L"RichEdit", 8) == 0;
}

}  // namespace

void SetListViewStateImages(HWND listView) {
  const LRESULT small = SendMessageW(listView, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
  SendMessageW(listView, LVM_SETIMAGELIST, LVSIL_STATE, small);
}

void SetListItemChecked(HWND listView, int index, bool checked) {
  if (index < 1) return;
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = checked ? kChecked : kUnchecked;
  SendMessageW(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
}

bool IsListItemChecked(HWND listView, int index) {
  if (index < 1) return false;
  const auto state = static_cast<UINT>(
      SendMessageW(listView, LVM_GETITEMSTATE, static_cast<WPARAM>(index - 1), LVIS_STATEIMAGEMASK));
  return state == kChecked;
}

void GetCharPosition(HWND box, long charIndex, POINT& point) {
  point = {0, 0};
  if (IsRichEdit(box)) {
    // RichEdit 2.0 and later answer through a point structure; the packed result of an edit
    // control would lose negative and large coordinates.
    POINTL at{};
    SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), charIndex);
    point = {at.x, at.y};
    return;
  }
  const LRESULT packed = SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(charIndex), 0);
  if (packed == -1) return;  // beyond the text
  point.x = static_cast<short>(LOWORD(packed));
  point.y = static_cast<short>(HIWORD(packed));
}

}  // namespace parlavent::API
