#pragma once
// The speech server of Windows' speech interface 5 (SAPI 5): the voice object SpVoice and the voice
// tokens of the system, behind the program's SpeechEngine.
#include <memory>

#include "app/companion_services.h"

namespace parlavent {

/// Starts SAPI 5; nullptr when the system has no such server.
std::shared_ptr<SpeechEngine> StartSapi5();

}  // namespace parlavent
