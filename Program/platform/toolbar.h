#pragma once
// A toolbar as the core drives it: buttons added by key with a tool tip and a style, each
// visible or hidden, with its width; the toolbar's own width. The shell wraps a common-controls
// toolbar (platform/win32/toolbar_control.h); tests use a fake.
#include <cstdint>
#include <string_view>

namespace parlavent {

enum class ToolbarStyle : std::int32_t { Normal = 0, Check = 1 };

class Toolbar {
 public:
  virtual ~Toolbar() = default;
  /// Takes the main window's image list, whose entries are keyed like the buttons.
  virtual void UseMainImageList() = 0;
  /// Adds a button showing the image-list entry of the same key; its 1-based index.
  virtual std::int32_t AddButton(std::u16string_view key, std::u16string_view toolTip, ToolbarStyle style) = 0;
  virtual std::int32_t ButtonCount() = 0;
  /// Buttons by 1-based index; an index out of range is ignored (false, 0).
  virtual bool ButtonVisible(std::int32_t index) = 0;
  virtual void SetButtonVisible(std::int32_t index, bool visible) = 0;
  virtual std::int32_t ButtonWidth(std::int32_t index) = 0;
  virtual void SetWidth(std::int32_t width) = 0;
};

}  // namespace parlavent
