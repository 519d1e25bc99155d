#include "platform/win32/input_hooks.h"

#include <algorithm>
#include <array>
#include <atomic>

namespace parlavent {
namespace {

constexpr int kKeys = 256;
// The mouse hook goes again when nobody has read a button for this long.
constexpr DWORD kMouseIdleMs = 1000;
constexpr UINT kWantMouse = WM_APP + 1;
// How long the end of the process waits for the hook thread to let go of its hooks.
constexpr DWORD kStopWaitMs = 1000;

// Written by the hook thread, read by the program's poll timers.
std::array<std::atomic<std::uint32_t>, kKeys> gPresses{};
// Only the hook thread touches this: a held key repeats its key-down, which is no new press.
std::array<bool, kKeys> gDown{};

// The latest changes of each key with their times, for a poll that must tell two taps from one
// press however long it was held up (a capture waits for other programs).
constexpr std::uint32_t kKeptChanges = 16;
struct ChangeLog {
  std::uint32_t count = 0;  // changes so far; change n lies at entries[(n - 1) % kKeptChanges]
  struct Entry {
    bool down;
    DWORD time;
  };
  std::array<Entry, kKeptChanges> entries{};
};
std::array<ChangeLog, kKeys> gChanges;
SRWLOCK gChangesLock = SRWLOCK_INIT;

std::atomic<DWORD> gHookThread{0};
HANDLE gHookThreadHandle = nullptr;
std::atomic<bool> gMouseHooked{false};
std::atomic<DWORD> gLastButtonRead{0};

void Change(int vk, bool down, DWORD time) {
  if (vk <= 0 || vk >= kKeys) return;
  if (down && !gDown[vk]) gPresses[vk].fetch_add(1, std::memory_order_relaxed);
  if (down != gDown[vk]) {
    AcquireSRWLockExclusive(&gChangesLock);
    ChangeLog& log = gChanges[vk];
    log.entries[log.count % kKeptChanges] = {down, time};
    ++log.count;
    ReleaseSRWLockExclusive(&gChangesLock);
  }
  gDown[vk] = down;
}

// The event's own time, when it is a reading of the tick count that is not far off: the hook
// thread may run late, the event's time says when the key moved.
DWORD EventTime(DWORD time) {
  const DWORD now = GetTickCount();
  return now - time < 2000 ? time : now;
}

// Shift, Ctrl and Alt also count under their common codes, as GetAsyncKeyState reads them.
int GenericKey(DWORD vk) {
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return 0;
  }
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && lp) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (key->dwExtraInfo != kOwnInputMark) {
      const bool down = wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN;
      const DWORD time = EventTime(key->time);
      Change(static_cast<int>(key->vkCode), down, time);
      if (const int generic = GenericKey(key->vkCode)) Change(generic, down, time);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && lp) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    if (mouse->dwExtraInfo != kOwnInputMark) {
      const DWORD time = EventTime(mouse->time);
      switch (wp) {
        case WM_LBUTTONDOWN: Change(VK_LBUTTON, true, time); break;
        case WM_LBUTTONUP: Change(VK_LBUTTON, false, time); break;
        case WM_RBUTTONDOWN: Change(VK_RBUTTON, true, time); break;
        case WM_RBUTTONUP: Change(VK_RBUTTON, false, time); break;
        case WM_MBUTTONDOWN: Change(VK_MBUTTON, true, time); break;
        case WM_MBUTTONUP: Change(VK_MBUTTON, false, time); break;
        default: break;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

struct HookStart {
  HANDLE ready = nullptr;
  bool installed = false;
};

// The hooks live on a thread of their own that does nothing else, so a long look-up on the
// window thread never holds up the keyboard and mouse of the whole desktop. The keyboard hook
// stays; the mouse hook is held only while somebody reads the buttons (the popup while it shows,
// the automatic mode's gestures), as every mouse move of the desktop passes through it.
DWORD WINAPI HookThread(void* param) {
  auto* start = static_cast<HookStart*>(param);
  HINSTANCE module = GetModuleHandleW(nullptr);
  HHOOK keyboard = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardProc, module, 0);
  HHOOK mouse = nullptr;
  MSG msg;
  // The thread's queue exists before anybody posts to it.
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  const UINT_PTR idleTimer = SetTimer(nullptr, 0, kMouseIdleMs / 2, nullptr);
  start->installed = keyboard != nullptr;
  SetEvent(start->ready);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kWantMouse && !mouse) {
      mouse = SetWindowsHookExW(WH_MOUSE_LL, &MouseProc, module, 0);
      // Buttons held when the hook came count as they are.
      for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) gDown[vk] = GetAsyncKeyState(vk) < 0;
      gMouseHooked = mouse != nullptr;
    } else if (msg.message == WM_TIMER && mouse && GetTickCount() - gLastButtonRead.load() > kMouseIdleMs) {
      UnhookWindowsHookEx(mouse);
      mouse = nullptr;
      gMouseHooked = false;
    }
    DispatchMessageW(&msg);
  }
  if (idleTimer) KillTimer(nullptr, idleTimer);
  if (keyboard) UnhookWindowsHookEx(keyboard);
  if (mouse) UnhookWindowsHookEx(mouse);
  return 0;
}

bool Start() {
  // Outlives a hook thread that is slow to start.
  static HookStart start;
  start.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!start.ready) return false;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, &HookThread, &start, 0, &id);
  if (thread) {
    WaitForSingleObject(start.ready, 5000);
    gHookThread = id;
    gHookThreadHandle = thread;
  }
  CloseHandle(start.ready);
  return thread && start.installed;
}

// A program that returns from its entry point holds the hooks to the end too.
struct StopAtExit {
  ~StopAtExit() { StopInputHooks(); }
} gStopAtExit;

bool IsButton(int vk) { return vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON; }

// A reading of a button keeps the mouse hook, or brings it back.
void WantButtons(int vk) {
  if (!IsButton(vk)) return;
  gLastButtonRead = GetTickCount();
  if (!gMouseHooked && gHookThread) PostThreadMessageW(gHookThread, kWantMouse, 0, 0);
}

}  // namespace

bool StartInputHooks() {
  static const bool started = Start();
  return started;
}

void StopInputHooks() {
  const DWORD id = gHookThread.exchange(0);
  if (!id || !gHookThreadHandle) return;
  PostThreadMessageW(id, WM_QUIT, 0, 0);
  WaitForSingleObject(gHookThreadHandle, kStopWaitMs);
  CloseHandle(gHookThreadHandle);
  gHookThreadHandle = nullptr;
}

std::uint32_t HookedPressCount(int vk) {
  if (vk <= 0 || vk >= kKeys) return 0;
  WantButtons(vk);
  return gPresses[vk].load(std::memory_order_relaxed);
}

std::vector<KeyChange> HookedChanges(int vk, std::uint32_t after) {
  std::vector<KeyChange> changes;
  if (vk <= 0 || vk >= kKeys) return changes;
  WantButtons(vk);
  AcquireSRWLockShared(&gChangesLock);
  const ChangeLog& log = gChanges[vk];
  const std::uint32_t kept = std::min(log.count, kKeptChanges);
  // Counted from the end, as the numbers may wrap.
  const std::uint32_t fresh = std::min(kept, log.count - after);
  const DWORD now = GetTickCount();
  for (std::uint32_t n = log.count - fresh; n != log.count; ++n) {
    const ChangeLog::Entry& e = log.entries[n % kKeptChanges];
    changes.push_back({n + 1, e.down, now - e.time < 0x80000000u ? now - e.time : 0});
  }
  ReleaseSRWLockShared(&gChangesLock);
  return changes;
}

}  // namespace parlavent
