#pragma once
// An entry of the look-up statistics: a word and its counts. The look-up also uses fresh ones as
// scratch counters in collections of its own; nothing of those reaches the statistics.
#include <cstdint>
#include <string>

namespace parlavent {

class clsStatItem {
 public:
  std::u16string Word;
  std::int32_t Mass = 0;
  std::int32_t Rmass = 0;
};

}  // namespace parlavent
