#pragma once
// The program's pseudo-random numbers: uniform in [0, 1), seeded once at start-up.
namespace parlavent {

/// Seeds the generator (the runtime's Randomize with the timer as seed).
void Randomize(double seed);
/// The next number in [0, 1).
double Rnd();

}  // namespace parlavent
