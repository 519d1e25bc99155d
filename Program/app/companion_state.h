#pragma once
// The running state of speech, the on-screen keyboard, layout switching and the learning cards,
// held by the application object (Appl.Companions), so that each test starts from a fresh one.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace parlavent {

class SpeechEngine;

class CompanionState {
 public:
  // Speech.
  std::shared_ptr<SpeechEngine> engine;   // the speech server; null: speech off
  std::int32_t highlightOffset = -1;      // where the text being read starts in the output box; -1 none
  std::int32_t readFrom = 0;              // where reading the output box starts (the caret's click)
  std::uint32_t stream = 0;               // the reading under way; events of others are late
  bool spkIcon = false;                   // the speech tray icon is shown
  bool keybIcon = false;
  std::shared_ptr<class OutputBoxWatch> outputWatch;  // the output box's clicks choose where reading starts

  // Layout switching.
  std::u16string lastInput;               // the input box as the recorder saw it last
  bool switchChanged = false;             // the recorder changed the user's prefix statistics
  bool switchUnread = false;              // "trl.dat" stays as it is: unreadable, or no copy of it kept
  bool retyping = false;                  // the recorder is writing the input box itself

  // Learning cards.
  bool learning = false;
  std::vector<std::u16string> learnWords; // the current source's words, for sequential cards
  std::size_t learnNext = 0;
  std::u16string learnWord;               // the word of the card shown
};

}  // namespace parlavent
