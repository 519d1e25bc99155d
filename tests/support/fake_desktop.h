#pragma once
// In-memory stand-ins for the window, desktop, tray and process services, a timer, and the
// program's windows; each records what it was asked, in order, in a shared log.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/link_layer.h"
#include "app/main_form.h"
#include "platform/desktop.h"
#include "platform/process_snapshot.h"
#include "platform/tray.h"
#include "platform/window_manager.h"
#include "support/fake_input.h"
#include "support/fake_rich_text_box.h"
#include "text/text.h"

namespace parlavent::testing {

using CallLog = std::vector<std::string>;

class FakeWindows : public WindowManager {
 public:
  struct Window {
    Rect rect;
    bool visible = false;
    int state = kStateNormal;
    long exStyle = 0;
    WindowHandle parent = 0;
    WindowHandle insertAfter = 0;  // of the last SetPos
    unsigned lastFlags = 0;
    Colour key = 0;
    int alpha = -1;
    unsigned layeredFlags = 0;
  };
  std::map<WindowHandle, Window> windows;
  WindowHandle desktop = 0xD0;

  bool GetRect(WindowHandle w, Rect& r) override {
    if (!windows.count(w)) return false;
    r = windows[w].rect;
    return true;
  }
  bool IsVisible(WindowHandle w) override { return windows.count(w) && windows[w].visible; }
  int State(WindowHandle w) override { return windows.count(w) ? windows[w].state : 0; }
  bool SetPos(WindowHandle w, WindowHandle after, long x, long y, long cx, long cy, unsigned flags) override {
    if (!windows.count(w)) return false;
    Window& win = windows[w];
    if (!(flags & kSwpNoMove)) win.rect = {x, y, win.rect.right - win.rect.left + x, win.rect.bottom - win.rect.top + y};
    if (!(flags & kSwpNoSize)) win.rect = {win.rect.left, win.rect.top, win.rect.left + cx, win.rect.top + cy};
    if (flags & kSwpShowWindow) win.visible = true;
    win.insertAfter = after;
    win.lastFlags = flags;
    return true;
  }
  void Show(WindowHandle w, bool show) override { windows[w].visible = show; }
  long ExStyle(WindowHandle w) override { return windows[w].exStyle; }
  void SetExStyle(WindowHandle w, long style) override { windows[w].exStyle = style; }
  bool SetLayeredAttributes(WindowHandle w, Colour key, int alpha, unsigned flags) override {
    windows[w].key = key;
    windows[w].alpha = alpha;
    windows[w].layeredFlags = flags;
    return true;
  }
  void SetRegionFromPicture(WindowHandle, Colour, std::uintptr_t) override { ++regions; }
  WindowHandle Parent(WindowHandle w) override { return windows.count(w) ? windows[w].parent : 0; }
  WindowHandle Desktop() override { return desktop; }
  void StartDrag(WindowHandle) override {}
  std::u16string ClassName(WindowHandle) override { return {}; }
  std::u16string Text(WindowHandle) override { return {}; }
  std::u16string ControlText(WindowHandle) override { return {}; }
  int regions = 0;
};

class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(CallLog* log = nullptr) : log_(log) {}
  bool otherInstance = false;
  std::vector<std::intptr_t> layouts{0x04190419, 0x04090409};
  int doubleClickMs = 400;
  std::u16string windowsFolder;
  std::vector<std::u16string> fontsAdded;
  int fontBroadcasts = 0;
  std::optional<int> loopEnded;

  bool OtherInstanceRunning() override { return otherInstance; }
  std::vector<std::intptr_t> KeyboardLayouts() override { return layouts; }
  int DoubleClickTime() override { return doubleClickMs; }
  std::uintptr_t LoadCursorResource(int id) override { return static_cast<std::uintptr_t>(id); }
  void LockWindowUpdate(WindowHandle) override {}
  std::u16string WindowsFolder() override { return windowsFolder; }
  bool AddFontFile(std::u16string_view path) override {
    if (log_) log_->push_back("InstallFonts");
    fontsAdded.emplace_back(path);
    return true;
  }
  void BroadcastFontChange() override { ++fontBroadcasts; }
  void EndMessageLoop(int code) override { loopEnded = code; }

 private:
  CallLog* log_;
};

class FakeTray : public TrayService {
 public:
  struct Icon {
    std::uint32_t callback = 0;
    std::uintptr_t picture = 0;
    std::u16string tip;
  };
  struct Balloon {
    std::u16string title, body;
    BalloonIcon icon = BalloonIcon::None;
  };
  std::map<std::pair<WindowHandle, std::uint32_t>, Icon> icons;
  std::vector<Balloon> balloons;
  int adds = 0;

  bool Add(WindowHandle owner, std::uint32_t id, std::uint32_t callback, std::uintptr_t icon) override {
    ++adds;
    icons[{owner, id}] = {callback, icon, {}};
    return true;
  }
  bool Modify(WindowHandle owner, std::uint32_t id, std::uintptr_t icon,
              const std::optional<std::u16string>& tip) override {
    auto it = icons.find({owner, id});
    if (it == icons.end()) return false;
    it->second.picture = icon;
    if (tip) it->second.tip = *tip;
    return true;
  }
  bool Delete(WindowHandle owner, std::uint32_t id) override { return icons.erase({owner, id}) != 0; }
  bool ShowBalloon(WindowHandle owner, std::uint32_t id, std::u16string_view title, std::u16string_view body,
                   BalloonIcon icon) override {
    if (!icons.count({owner, id})) return false;
    balloons.push_back({std::u16string(title), std::u16string(body), icon});
    return true;
  }
};

class FakeProcesses : public ProcessSnapshots {
 public:
  std::vector<RunningProcess> list;
  std::vector<RunningProcess> Take() override { return list; }
};

class FakeTimer : public TimerControl {
 public:
  FakeTimer(int interval, bool enabled) : interval_(interval), enabled_(enabled) {}
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  int Interval() const override { return interval_; }
  void SetInterval(int ms) override { interval_ = ms; }

 private:
  int interval_;
  bool enabled_;
};

/// A main window whose tray icon is the real one of app/main_tray_icon.h over the installed tray.
class FakeMainForm : public MainForm {
 public:
  static constexpr WindowHandle kHandle = 0x100;
  static constexpr std::uint32_t kCallback = 0x8001;
  explicit FakeMainForm(CallLog& log) : log_(log) {
    txtInput = std::make_shared<FakeRichTextBox>();
    txtOutPut = std::make_shared<FakeRichTextBox>();
    clsLinkText = std::make_shared<clsLink>();
  }
  FakeTimer userEvents{20, false}, enabled{200, false}, msg{1000, true};
  bool testMenus = false;

  WindowHandle hWnd() override { return kHandle; }
  WindowHandle TrayOwner() override { return kHandle; }
  TimerControl& tmrUserEvents() override { return userEvents; }
  TimerControl& tmrEnabled() override { return enabled; }
  TimerControl& tmrMsg() override { return msg; }
  void Form_Resize() override {}
  void RefreshEnabled() override {}
  void RefreshMode(bool) override;
  void RefreshIcon(const std::optional<std::u16string>& tip) override;
  void DeleteIcon() override;
  void HideMenuBar() override {}
  void ShowTestMenus(bool visible) override { testMenus = visible; }
  void mnuPam_Click() override { log_.push_back("mnuPam_Click"); }
  void mnuExit_Click() override { log_.push_back("mnuExit_Click"); }
  void Unload() override { log_.push_back("Unload frmMain"); }

 private:
  CallLog& log_;
};

class FakeForms : public FormLoader {
 public:
  explicit FakeForms(CallLog& log) : log_(log) {}
  std::shared_ptr<FakeMainForm> main;
  std::shared_ptr<MainForm> LoadMain() override {
    log_.push_back("LoadMain");
    main = std::make_shared<FakeMainForm>(log_);
    return main;
  }
  std::shared_ptr<CopyIndicator> LoadCopy() override { log_.push_back("LoadCopy"); return nullptr; }
  std::shared_ptr<BusyIndicator> LoadBusy() override { log_.push_back("LoadBusy"); return nullptr; }
  std::shared_ptr<ProgressForm> LoadProgress() override { return nullptr; }

 private:
  CallLog& log_;
};

using ScopedWindows = ScopedService<WindowManager, &SetWindows>;
using ScopedDesktop = ScopedService<Desktop, &SetDesktop>;
using ScopedTray = ScopedService<TrayService, &SetTray>;
using ScopedProcesses = ScopedService<ProcessSnapshots, &SetProcesses>;

}  // namespace parlavent::testing
