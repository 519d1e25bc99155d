// The quiet native defaults of the window, desktop, tray and process services.
#include <cstdint>

#include "platform/desktop.h"
#include "platform/process_snapshot.h"
#include "platform/service_slot.h"
#include "platform/tray.h"
#include "platform/window_manager.h"

namespace parlavent {
namespace {

class NoWindows final : public WindowManager {
 public:
  bool GetRect(WindowHandle, Rect&) override { return false; }
  bool IsVisible(WindowHandle) override { return false; }
  int State(WindowHandle) override { return kStateNormal; }
  bool SetPos(WindowHandle, WindowHandle, long, long, long, long, unsigned) override { return false; }
  void Show(WindowHandle, bool) override {}
  long ExStyle(WindowHandle) override { return 0; }
  void SetExStyle(WindowHandle, long) override {}
  bool SetLayeredAttributes(WindowHandle, Colour, int, unsigned) override { return false; }
  void SetRegionFromPicture(WindowHandle, Colour, std::uintptr_t) override {}
  WindowHandle Parent(WindowHandle) override { return 0; }
  WindowHandle Desktop() override { return 0; }
  void StartDrag(WindowHandle) override {}
  std::u16string ClassName(WindowHandle) override { return {}; }
  std::u16string Text(WindowHandle) override { return {}; }
  std::u16string ControlText(WindowHandle) override { return {}; }
};

class QuietDesktop final : public Desktop {
 public:
  bool OtherInstanceRunning() override { return false; }
  std::vector<std::intptr_t> KeyboardLayouts() override { return {0x04090409}; }
  int DoubleClickTime() override { return 500; }
  std::uintptr_t LoadCursorResource(int) override { return 0; }
  void LockWindowUpdate(WindowHandle) override {}
  std::u16string WindowsFolder() override { return {}; }
  bool AddFontFile(std::u16string_view) override { return false; }
  void BroadcastFontChange() override {}
  void EndMessageLoop(int) override {}
};

class NoTray final : public TrayService {
 public:
  bool Add(WindowHandle, std::uint32_t, std::uint32_t, std::uintptr_t) override { return false; }
  bool Modify(WindowHandle, std::uint32_t, std::uintptr_t, const std::optional<std::u16string>&) override {
    return false;
  }
  bool Delete(WindowHandle, std::uint32_t) override { return false; }
  bool ShowBalloon(WindowHandle, std::uint32_t, std::u16string_view, std::u16string_view, BalloonIcon) override {
    return false;
  }
};

class NoProcesses final : public ProcessSnapshots {
 public:
  std::vector<RunningProcess> Take() override { return {}; }
};


}  // namespace

WindowManager& Windows() { return *ServiceSlot<WindowManager, NoWindows>(); }
void SetWindows(std::shared_ptr<WindowManager> windows) { InstallService<WindowManager, NoWindows>(std::move(windows)); }
Desktop& TheDesktop() { return *ServiceSlot<Desktop, QuietDesktop>(); }
void SetDesktop(std::shared_ptr<Desktop> desktop) { InstallService<Desktop, QuietDesktop>(std::move(desktop)); }
TrayService& Tray() { return *ServiceSlot<TrayService, NoTray>(); }
void SetTray(std::shared_ptr<TrayService> tray) { InstallService<TrayService, NoTray>(std::move(tray)); }
ProcessSnapshots& Processes() { return *ServiceSlot<ProcessSnapshots, NoProcesses>(); }
void SetProcesses(std::shared_ptr<ProcessSnapshots> processes) {
  InstallService<ProcessSnapshots, NoProcesses>(std::move(processes));
}

}  // namespace parlavent
