#include "platform/random.h"

#include <random>

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class DefaultRandom final : public RandomSource {
 public:
  double Next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
  void Seed(double seed) override { engine_.seed(static_cast<std::uint32_t>(static_cast<long long>(seed * 1000))); }

 private:
  std::mt19937 engine_{std::random_device{}()};
};

}  // namespace

RandomSource& Random() { return *ServiceSlot<RandomSource, DefaultRandom>(); }
void SetRandom(std::shared_ptr<RandomSource> source) { InstallService<RandomSource, DefaultRandom>(std::move(source)); }

}  // namespace parlavent
