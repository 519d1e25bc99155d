#include "platform/clock.h"

#include <chrono>

namespace parlavent {
namespace {

class UtcClock final : public Clock {
 public:
  double Timer() override {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    constexpr long long kDay = 86'400'000'000LL;
    return static_cast<double>(sinceEpoch % kDay) / 1e6;
  }
};

std::shared_ptr<Clock>& Slot() {
  static std::shared_ptr<Clock> clock = std::make_shared<UtcClock>();
  return clock;
}

}  // namespace

Clock& SystemClock() { return *Slot(); }
void SetClock(std::shared_ptr<Clock> clock) { Slot() = clock ? std::move(clock) : std::make_shared<UtcClock>(); }

}  // namespace parlavent
