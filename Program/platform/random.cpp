#include "platform/random.h"

#include <cmath>
#include <random>

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class DefaultRandom final : public RandomSource {
 public:
  double Next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
  void Seed(double seed) override {
    // The fraction of the timer matters: two starts within one second seed differently.
    engine_.seed(static_cast<std::uint32_t>(std::fmod(std::fabs(seed) * 1000.0, 4294967296.0)));
  }

 private:
  std::mt19937 engine_{std::random_device{}()};
};

}  // namespace

RandomSource& Random() { return *ServiceSlot<RandomSource, DefaultRandom>(); }
void Randomize(double seed) { Random().Seed(seed); }
double Rnd() { return Random().Next(); }
void SetRandom(std::shared_ptr<RandomSource> source) { InstallService<RandomSource, DefaultRandom>(std::move(source)); }

}  // namespace parlavent
