#pragma once
// A clock that reads what the test sets.
#include "platform/clock.h"
#include "support/fake_input.h"

namespace parlavent::testing {

class FakeClock : public Clock {
 public:
  double now = 36000.0;  // ten in the morning, far from midnight
  double Timer() override { return now; }
};

using ScopedClock = ScopedService<Clock, &SetClock>;

}  // namespace parlavent::testing
