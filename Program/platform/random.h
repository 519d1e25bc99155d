#pragma once
// The runtime's uniform pseudo-random numbers, seeded once at start-up. Tests install a scripted
// source.
#include <memory>

namespace parlavent {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  /// A number in [0, 1).
  virtual double Next() = 0;
  /// Starts a new sequence from seed.
  virtual void Seed(double seed) = 0;
};

RandomSource& Random();
/// Installs a source (nullptr restores the default).
void SetRandom(std::shared_ptr<RandomSource> source);

}  // namespace parlavent
