#include "support/fake_desktop.h"

#include "app/main_tray_icon.h"

namespace parlavent::testing {

void FakeMainForm::RefreshMode(bool) { RefreshIcon(ModeTrayTip()); }
void FakeMainForm::RefreshIcon(const std::optional<std::u16string>& tip) { RefreshTrayIcon(*this, kCallback, 7, tip); }
void FakeMainForm::DeleteIcon() {
  log_.push_back("DeleteIcon");
  DeleteMainTrayIcon(*this);
}

}  // namespace parlavent::testing
