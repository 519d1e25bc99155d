#pragma once
// A timer of a window as the core switches it: enabled state and interval in milliseconds. A
// timer with interval 0 never ticks. The shell's timers are SetTimer timers of their window;
// tests use an in-memory one.
namespace parlavent {

class TimerControl {
 public:
  virtual ~TimerControl() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual int Interval() const = 0;
  virtual void SetInterval(int milliseconds) = 0;
};

}  // namespace parlavent
