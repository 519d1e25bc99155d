#include "companions/win32/win32_companions.h"

#include <vector>

#include "app/application.h"
#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "companions/win32/companion_forms.h"
#include "companions/win32/sapi_engine.h"
#include "platform/tray.h"
#include "platform/win32/win32_services.h"
#include "resource_ids.h"

namespace parlavent {
namespace {

class Win32Companions final : public CompanionServices {
 public:
  explicit Win32Companions(HINSTANCE instance) : instance_(instance) {}

  std::shared_ptr<SpeechEngine> StartSpeech() override { return StartSapi5(); }

  StatWindow* Stat() override { return Loaded(stat_); }
  KeyboardWindow* Keyb() override { return Loaded(keyb_); }
  LearnWindow* Learn() override { return Loaded(learn_); }
  std::shared_ptr<frmKeyb> KeybForm() {
    Loaded(keyb_);
    return keyb_;
  }

  bool TrayIcon(std::uint32_t id, bool show, std::u16string_view tip) override {
    const WindowHandle owner = MainWindow();
    if (!owner) return false;
    if (!show) return Tray().Delete(owner, id);
    const auto icon = reinterpret_cast<std::uintptr_t>(LoadIconW(instance_, MAKEINTRESOURCEW(IDI_PARLAVENT)));
    Tray().Add(owner, id, frmMain::kTrayMessage, icon);
    return Tray().Modify(owner, id, icon, std::u16string(tip));
  }

  std::intptr_t ForegroundLayout() override {
    HWND foreground = GetForegroundWindow();
    const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    return reinterpret_cast<std::intptr_t>(GetKeyboardLayout(thread)) & 0xFFFF;
  }

  void ActivateLayout(std::intptr_t layout) override {
    const int n = GetKeyboardLayoutList(0, nullptr);
    std::vector<HKL> loaded(static_cast<std::size_t>(std::max(n, 0)));
    if (n > 0) GetKeyboardLayoutList(n, loaded.data());
    for (HKL hkl : loaded) {
      if ((reinterpret_cast<std::intptr_t>(hkl) & 0xFFFF) == (layout & 0xFFFF)) {
        ActivateKeyboardLayout(hkl, 0);
        return;
      }
    }
    wchar_t name[KL_NAMELENGTH];
    wsprintfW(name, L"%08X", static_cast<unsigned>(layout & 0xFFFF));
    LoadKeyboardLayoutW(name, KLF_ACTIVATE);
  }

  void PlaySwitchSound() override { MessageBeep(MB_ICONASTERISK); }

 private:
  // The main window carries the icons; while it is still loading, Appl does not hold it yet.
  static WindowHandle MainWindow() {
    Appl& app = gAppl();
    if (app.frmMain) return app.frmMain->TrayOwner();
    for (HWND w = FindWindowW(frmMain::kClassName, nullptr); w; w = FindWindowExW(nullptr, w, frmMain::kClassName, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(w, &process);
      if (process == GetCurrentProcessId()) return FromHwnd(w);
    }
    return 0;
  }

  template <typename Form>
  Form* Loaded(std::shared_ptr<Form>& form) {
    if (!form) {
      auto made = std::make_shared<Form>(instance_);
      if (!made->Load()) return nullptr;
      form = std::move(made);
    }
    return form.get();
  }

  HINSTANCE instance_;
  std::shared_ptr<frmStat> stat_;
  std::shared_ptr<frmKeyb> keyb_;
  std::shared_ptr<frmLearn> learn_;
};

}  // namespace

void InstallWin32Companions(Appl& app, HINSTANCE instance) {
  auto companions = std::make_shared<Win32Companions>(instance);
  app.Keyb = companions->KeybForm();
  app.Companion = std::move(companions);
}

}  // namespace parlavent
