#pragma once
// A settings dialog that records what the application asks of it.
#include <functional>

#include "app/settings_dialog.h"

namespace parlavent::testing {

class FakeSettingsDialog : public SettingsDialog {
 public:
  void ReadSetting() override { ++reads; }
  void ShowModal(bool topMost) override {
    ++shows;
    shownTopMost = topMost;
    if (onShow) onShow();
  }
  int reads = 0;
  int shows = 0;
  bool shownTopMost = false;
  std::function<void()> onShow;  // what the user does while the dialog is open
};

}  // namespace parlavent::testing
