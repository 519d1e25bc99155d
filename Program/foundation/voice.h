#pragma once
// A speech voice as the rest of the program sees it. The speech start-up enumerates the voices of
// the speech server into Appl.Voices (keyed by Name, in enumeration order); the voice settings
// restore and store each voice's speed and volume.
#include <cstdint>
#include <string>

namespace parlavent {

class clsVoice {
 public:
  std::u16string Name;      // the key of the voice in Appl.Voices
  std::int32_t Spd = 0;     // speed: -1 the server's own, 0 .. 20 slowest to fastest
  std::int32_t Vol = 0;     // volume: 0 .. 10, tenths of the server's full volume
  std::int32_t Index = 0;   // position in Appl.Voices, counted from 1
  std::u16string Lang;      // the language the server states for it
  std::u16string ID;        // the server's identifier of the voice
  std::int32_t Ver = 5;     // the speech interface generation it belongs to
  bool Default = false;     // the server's own default voice
  std::int32_t EngineIndex = 0;  // its position in the server's list, counted from 0
};

}  // namespace parlavent
