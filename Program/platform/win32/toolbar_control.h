#pragma once
// A common-controls toolbar (ToolbarWindow32) as the core's Toolbar: buttons keyed by text, each
// showing the image of the same key from its image list, with tool tips, check styles, pressed,
// enabled and visible states.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "platform/toolbar.h"

namespace parlavent {

class ToolbarControl final : public Toolbar {
 public:
  static constexpr int kImageSize = 16;

  /// A flat toolbar with tool tips in parent, commands sent as WM_COMMAND with ids from firstId.
  ToolbarControl(HWND parent, int firstId);
  ~ToolbarControl() override;
  ToolbarControl(const ToolbarControl&) = delete;
  ToolbarControl& operator=(const ToolbarControl&) = delete;

  HWND hwnd() const { return hwnd_; }
  /// The key of the button with command id, "" for another id.
  std::u16string KeyOfCommand(int id) const;
  /// Whether the command id is one of this toolbar's.
  bool OwnsCommand(int id) const { return id >= firstId_ && id < firstId_ + static_cast<int>(buttons_.size()); }
  /// The tool tip of a TTN_GETDISPINFOW request for one of the buttons (null for another).
  const wchar_t* ToolTipOf(int id) const;
  std::int32_t Width();
  std::int32_t Height();

  void UseMainImageList() override;
  std::int32_t AddButton(std::u16string_view key, std::u16string_view toolTip, ToolbarStyle style) override;
  std::int32_t ButtonCount() override { return static_cast<std::int32_t>(buttons_.size()); }
  bool ButtonVisible(std::int32_t index) override;
  void SetButtonVisible(std::int32_t index, bool visible) override;
  std::int32_t ButtonWidth(std::int32_t index) override;
  void SetWidth(std::int32_t width) override;
  std::int32_t IndexOf(std::u16string_view key) override;
  std::u16string ButtonKey(std::int32_t index) override;
  void Clear() override;
  bool ButtonPressed(std::int32_t index) override;
  void SetButtonPressed(std::int32_t index, bool pressed) override;
  void SetButtonEnabled(std::int32_t index, bool enabled) override;
  void SetButtonToolTip(std::int32_t index, std::u16string_view toolTip) override;
  void SetButtonImage(std::int32_t index, std::u16string_view imageKey) override;
  void SetImages(const std::vector<std::pair<std::u16string, std::shared_ptr<Picture>>>& images) override;

 private:
  struct Button {
    std::u16string key;
    std::wstring toolTip;
  };
  int CommandOf(std::int32_t index) const { return firstId_ + index - 1; }
  bool Valid(std::int32_t index) const { return index >= 1 && index <= static_cast<std::int32_t>(buttons_.size()); }
  int ImageOf(std::u16string_view key) const;
  void ReplaceImages(HIMAGELIST images, std::map<std::u16string, int> keys);

  HWND hwnd_ = nullptr;
  int firstId_ = 0;
  HIMAGELIST images_ = nullptr;
  std::map<std::u16string, int> imageKeys_;  // lower-case key -> image index
  std::vector<Button> buttons_;
};

/// The main window's image list: a glyph for each command button key, drawn at run time.
HIMAGELIST MakeMainImageList(std::map<std::u16string, int>& keys);

}  // namespace parlavent
