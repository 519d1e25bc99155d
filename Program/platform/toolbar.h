#pragma once
// A toolbar as the core drives it: buttons added by key with a tool tip and a style, each
// visible or hidden, with its width; the toolbar's own width. The shell wraps a common-controls
// toolbar (platform/win32/toolbar_control.h); tests use a fake.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parlavent {

enum class ToolbarStyle : std::int32_t { Normal = 0, Check = 1 };

class Picture;

/// A button as its owner keeps it (clsDic.Button): the key it was added under.
class ToolbarButton {
 public:
  explicit ToolbarButton(std::u16string key) : Key(std::move(key)) {}
  std::u16string Key;
};

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

  // What the main window's toolbars need beyond building and trimming; a toolbar that does not
  // need them ignores them.
  /// The 1-based index of the button with that key (case-blind), 0 when there is none.
  virtual std::int32_t IndexOf(std::u16string_view key) { return 0; }
  virtual std::u16string ButtonKey(std::int32_t index) { return {}; }
  virtual void Clear() {}
  virtual bool ButtonPressed(std::int32_t index) { return false; }
  virtual void SetButtonPressed(std::int32_t index, bool pressed) {}
  virtual void SetButtonEnabled(std::int32_t index, bool enabled) {}
  virtual void SetButtonToolTip(std::int32_t index, std::u16string_view toolTip) {}
  /// Shows the image of that key; a key the images lack leaves the button without a picture.
  virtual void SetButtonImage(std::int32_t index, std::u16string_view imageKey) {}
  /// Replaces the toolbar's own images (keyed pictures; a null picture is skipped).
  virtual void SetImages(const std::vector<std::pair<std::u16string, std::shared_ptr<Picture>>>& images) {}
};

}  // namespace parlavent
