#pragma once
// The API module's helpers for list views with check boxes and for character positions in text
// boxes (common controls version 5, edit and RichEdit controls).
#include <windows.h>

namespace parlavent::API {

/// The list view's small image list becomes its state (check-box) image list.
void SetListViewStateImages(HWND listView);
/// Sets or clears the check box of item index (1-based).
void SetListItemChecked(HWND listView, int index, bool checked);
/// Whether item index (1-based) is checked; false for an item without a state image.
bool IsListItemChecked(HWND listView, int index);
/// The client position of character charIndex in an edit or RichEdit box; (0, 0) when the box
/// cannot tell.
void GetCharPosition(HWND box, long charIndex, POINT& point);

}  // namespace parlavent::API
