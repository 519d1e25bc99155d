// The API module's list-view check boxes and character positions, on real common controls and
// edit and RichEdit boxes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "foundation/win32/api_list_view.h"
#include "test_window.h"

namespace parlavent {
namespace {

class ListViewHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    LoadLibraryW(L"riched20.dll");
    ASSERT_TRUE(window.Open(100, 100, 400, 300));
  }
  HWND Child(const wchar_t* cls, DWORD style, const wchar_t* text = L"") {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 200, window.hwnd(), nullptr,
                           nullptr, nullptr);
  }
  HWND ListWithItems(int count) {
    HWND list = Child(WC_LISTVIEWW, LVS_REPORT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < count; ++i) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = const_cast<wchar_t*>(L"item");
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    return list;
  }
  testing::TestWindow window;
};

TEST_F(ListViewHelpers, CheckBoxesAreSetAndReadByOneBasedIndex) {
  HWND list = ListWithItems(3);
  EXPECT_FALSE(API::IsListItemChecked(list, 1)) << "an item without a state image is not checked";
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  API::SetListItemChecked(list, 2, true);
  EXPECT_FALSE(API::IsListItemChecked(list, 1));
  EXPECT_TRUE(API::IsListItemChecked(list, 2));
  EXPECT_FALSE(API::IsListItemChecked(list, 3));
  API::SetListItemChecked(list, 2, false);
  EXPECT_FALSE(API::IsListItemChecked(list, 2));
  // Indexes outside the list change and report nothing.
  API::SetListItemChecked(list, 0, true);
  API::SetListItemChecked(list, 9, true);
  EXPECT_FALSE(API::IsListItemChecked(list, 0));
  EXPECT_FALSE(API::IsListItemChecked(list, 9));
}

TEST_F(ListViewHelpers, TheSmallImageListBecomesTheStateList) {
  HWND list = ListWithItems(1);
  HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
  API::SetListViewStateImages(list);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0)), small);
  DestroyWindow(list);
  ImageList_Destroy(small);
}

TEST_F(ListViewHelpers, CharacterPositionsInEditAndRichEditBoxes) {
  for (const wchar_t* cls : {L"EDIT", L"RichEdit20W"}) {
    SCOPED_TRACE(cls);
    HWND box = Child(cls, ES_MULTILINE, L"first\r\nsecond");
    ASSERT_NE(box, nullptr);
    testing::TestWindow::Pump(50);
    POINT start{-1, -1}, along{-1, -1}, below{-1, -1};
    API::GetCharPosition(box, 0, start);
    API::GetCharPosition(box, 3, along);
    API::GetCharPosition(box, 8, below);  // "c" of the second line in either line-break count
    EXPECT_GE(start.x, 0);
    EXPECT_LT(start.x, 10);
    EXPECT_GT(along.x, start.x);
    EXPECT_EQ(along.y, start.y);
    EXPECT_GT(below.y, start.y);
    DestroyWindow(box);
  }
}

}  // namespace
}  // namespace parlavent
