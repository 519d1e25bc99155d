#include "platform/win32/window_timer.h"

namespace parlavent {

void WindowTimer::Attach(HWND window) {
  window_ = window;
  Apply();
}

void WindowTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void WindowTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void WindowTimer::Apply() {
  if (!window_ || !IsWindow(window_)) return;
  if (enabled_ && interval_ > 0) {
    SetTimer(window_, id_, static_cast<UINT>(interval_), nullptr);
  } else {
    KillTimer(window_, id_);
  }
}

void WindowTimer::Stop() {
  if (window_ && IsWindow(window_)) KillTimer(window_, id_);
}

}  // namespace parlavent
