#pragma once
// A speech voice as the rest of the program sees it. The speech start-up enumerates the voices of
// both speech servers into Appl.Voices (keyed by Name, in enumeration order); the voice settings
// restore and store each voice's speed and volume.
#include <cstdint>
#include <string>

namespace parlavent {

class clsVoice {
 public:
  std::u16string Name;      // the key of the voice in Appl.Voices
  std::int32_t Spd = 0;     // speed, passed to the speech engine as stored (-1: the engine's own)
  std::int32_t Vol = 0;     // volume, passed to the speech engine as stored
  std::int32_t Index = 0;   // position in Appl.Voices, counted from 1
};

}  // namespace parlavent
