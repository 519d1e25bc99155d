#pragma once
// The look-up's options and outputs (Appl::GetTranslate), and the two windows it drives while it
// works: the busy indicator beside the pointer and the numbered notification balloons. The main
// window installs their real forms; natively quiet defaults stand in and tests install fakes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace parlavent {

class WordSet;

/// The Boolean parameters of GetTranslate, all False unless set.
struct TranslateArgs {
  bool OneWord = false;           // only the first phrase of the text
  bool FullText = false;          // the whole text as one phrase: no cutting, no word limit
  bool SplitMode = false;         // a nested try of compound splitting
  bool CheckCursorShift = false;  // abandon when a mouse button is down or the pointer moves
  bool BusyShowed = false;        // show the busy indicator while working
  bool CheckDir = false;          // check the text's side against the chosen direction
  bool DirSilent = false;         // refuse the look-up when that check fails
  bool ClrBuffer = false;         // never reuse the last result
  bool OnForm = false;            // the result is meant for the main window
  bool Tochno = false;            // common-translation list mode
  bool RepeatTrans = false;       // the user asks again, for the extended translation
};

/// The optional outputs of GetTranslate; each is written only when given.
struct TranslateOut {
  std::u16string* RetInText = nullptr;             // the part of the text the result covers
  bool* RetCheckDir = nullptr;                     // False when refused for the wrong direction
  std::shared_ptr<WordSet>* RetWordSet = nullptr;  // the result tree
};


}  // namespace parlavent
