#pragma once
// The program's global hot key: a key with a modifier (Ctrl + F5), a double tap of a modifier
// alone (Ctrl twice, the default) or a double tap of a key. Stored as the triple
// (keyCode, modifier 0 / 16 Shift / 17 Ctrl / 18 Alt, isDouble); a modifier tapped twice is
// (its own code, 0, true).
#include <string>

#include "foundation/api_input.h"

namespace parlavent {

/// Turns successive polls of the key states into a hot key. Times are seconds since midnight.
class HotKeyCapture {
 public:
  /// A press shorter than this is a tap; two tap releases closer than this are a double tap.
  static constexpr double kTapLimit = 0.3;

  /// One poll at time now, reading the keys through its own API::KeyPoll. When a complete hot key
  /// was recognised in this poll, fills the three outputs and returns true; else leaves them.
  bool Poll(double now, long& keyCode, long& modifier, bool& isDouble);

 private:
  // Far from any clock reading, so the first polls see neither a tap nor a double.
  static constexpr double kLongAgo = -1e6;

  struct Modifier {
    int code;
    bool releaseOnTapOnly;  // Alt and Shift remember only tap releases; Ctrl every release
    bool down = false;
    double lastChange = kLongAgo;
    double lastRelease = kLongAgo;
  };

  /// Returns 0 (nothing), 1 (tap), 2 (double tap) or 3 (pressed) for this poll.
  static int Track(Modifier& m, bool down, double now);
  /// Tracks each change of the modifier since the last poll; the count as Track gives it, 2 when
  /// any change made a double.
  int Replay(Modifier& m, double now);
  int TrackOtherKey(long key, double now);

  API::KeyPoll keys_;
  long lastKey_ = 0;
  bool otherDown_ = false;
  double otherLastChange_ = kLongAgo;
  double otherLastTapRelease_ = kLongAgo;
  Modifier ctrl_{17, false};
  Modifier alt_{18, true};
  Modifier shift_{16, true};
};

namespace mdlPublic {

/// One poll of the process's hot-key capture at the clock's time (the settings dialog's hot-key
/// box calls it every 10 ms). Sets the outputs only when a hot key was recognised in this poll.
void GetPressedHotKey(long& keyCode, long& modifier, bool& isDouble);

/// Display text of a hot key: "" for key 0; else [modifier name " + "][entry 254 " "]key name.
std::u16string GetHotKeyText(long keyCode, long modifier, bool isDouble);

/// Display name of one virtual key; "" for keys without a name.
std::u16string KeyName(long vk);

/// The explanatory text of the settings dialog's translation-trigger page, built from its
/// states: the chosen modifier, whether the mode example is shown, the key action (1, 2, 3) and
/// the four mouse triggers.
std::u16string GetHotKeysHelp(bool ctrl, bool shift, bool alt, bool exampleShown, long keyAction,
                              bool byPoint, bool byClick, bool byDblClick, bool bySelect);

}  // namespace mdlPublic
}  // namespace parlavent
