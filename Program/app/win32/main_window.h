#pragma once
// frmMain: the program's main window.
#include "platform/win32/window_base.h"

namespace parlavent {

class frmMain : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventMainWindow";

  /// Creates the window with the program's caption and icon; false when Windows refuses.
  bool Load(HINSTANCE instance);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

/// "Parlavent " & major & "." & minor, from the program's version.
std::u16string MainCaption();

}  // namespace parlavent
