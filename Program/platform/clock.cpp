#include "platform/clock.h"

#include <chrono>

#include "platform/service_slot.h"

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

}  // namespace

Clock& SystemClock() { return *ServiceSlot<Clock, UtcClock>(); }
void SetClock(std::shared_ptr<Clock> clock) { InstallService<Clock, UtcClock>(std::move(clock)); }

}  // namespace parlavent
