#include "app/win32/win32_forms.h"

#include "app/win32/indicator_forms.h"
#include "app/win32/main_window.h"

namespace parlavent {
namespace {

class Win32FormLoader final : public FormLoader {
 public:
  explicit Win32FormLoader(HINSTANCE instance) : instance_(instance) {}
  std::shared_ptr<MainForm> LoadMain() override { return Loaded<frmMain>([this](frmMain& f) { return f.Load(instance_); }); }
  std::shared_ptr<CopyIndicator> LoadCopy() override { return Loaded<frmCopy>([](frmCopy& f) { return f.Form_Load(); }); }
  std::shared_ptr<BusyIndicator> LoadBusy() override { return Loaded<frmBusy>([](frmBusy& f) { return f.Form_Load(); }); }
  std::shared_ptr<ProgressForm> LoadProgress() override {
    return Loaded<frmProgress>([](frmProgress& f) { return f.Form_Load(); });
  }

 private:
  template <typename Form, typename Load>
  static std::shared_ptr<Form> Loaded(Load load) {
    auto form = std::make_shared<Form>();
    return load(*form) ? form : nullptr;
  }
  HINSTANCE instance_;
};

}  // namespace

std::shared_ptr<FormLoader> MakeWin32FormLoader(HINSTANCE instance) {
  return std::make_shared<Win32FormLoader>(instance);
}

}  // namespace parlavent
