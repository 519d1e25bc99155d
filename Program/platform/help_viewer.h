#pragma once
// The compiled HTML help viewer. On Windows it is HtmlHelpW of the system's hhctrl.ocx, loaded
// when first needed; natively nothing opens, and tests install a recording fake.
#include <memory>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace parlavent {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  /// HH_DISPLAY_TOPIC with owner: file is the .chm path, optionally followed by ">" and a window
  /// name; an empty topic opens the file's default page.
  virtual void DisplayTopic(WindowHandle owner, std::u16string_view file, std::u16string_view topic) = 0;
};

HelpViewer& Help();
/// Installs a viewer (nullptr restores the quiet default).
void SetHelpViewer(std::shared_ptr<HelpViewer> viewer);
/// The Win32 viewer (Windows builds only).
std::shared_ptr<HelpViewer> MakeWin32HelpViewer();

}  // namespace parlavent
