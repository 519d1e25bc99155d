#pragma once
// The runtime timer the core reads: seconds since local midnight, as the system's Timer gives them.
// The shell installs the system's local clock; natively a clock over UTC stands in and tests
// install a scripted one.
#include <memory>

namespace parlavent {

class Clock {
 public:
  virtual ~Clock() = default;
  /// Seconds since midnight (0 <= t < 86400), with a fraction.
  virtual double Timer() = 0;
};

Clock& SystemClock();
/// Installs a clock (nullptr restores the default).
void SetClock(std::shared_ptr<Clock> clock);

}  // namespace parlavent
