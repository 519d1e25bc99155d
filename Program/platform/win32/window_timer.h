#pragma once
// A timer of a window (SetTimer with a fixed id): WM_TIMER with that id arrives at the window
// every Interval milliseconds while Enabled, and the window calls its tick handler.
#include <windows.h>

#include "platform/timer_control.h"

namespace parlavent {

class WindowTimer final : public TimerControl {
 public:
  WindowTimer(UINT_PTR id, int interval, bool enabled) : id_(id), interval_(interval), enabled_(enabled) {}
  ~WindowTimer() override { Stop(); }
  /// Binds the timer to its window; it starts now when enabled with a non-zero interval.
  void Attach(HWND window);
  UINT_PTR Id() const { return id_; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  int Interval() const override { return interval_; }
  void SetInterval(int milliseconds) override;

 private:
  void Apply();
  void Stop();
  HWND window_ = nullptr;
  UINT_PTR id_;
  int interval_;
  bool enabled_;
};

}  // namespace parlavent
