#pragma once
// The API module's keyboard, mouse, colour and pixel functions, over the platform's input,
// screen and colour services.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/geometry.h"

namespace parlavent::API {

// Virtual-key codes the program names.
constexpr int kVkLButton = 1;
constexpr int kVkRButton = 2;
constexpr int kVkMButton = 4;
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;

bool IsCtrlDown();
bool IsShiftDown();
bool IsAltDown();
/// Button 1 left, 2 right, 3 middle; any other number gives false.
bool IsMouseButtonDown(int button);
bool IsMouseSwapped();
void SendMouseLeftUp();

/// With vk: whether that key is down now. With vk 0: the highest key code from 1 (fromOne) or 5
/// up to 127 that is down and is none of the skips; 0 when none.
long GetPressedKey(int vk, bool fromOne = false, int skip1 = 0, int skip2 = 0, int skip3 = 0, int skip4 = 0);

/// Reads keys and mouse buttons for a timer that polls them. A key counts as down when it is down
/// now or went down since this reader's previous reading of that key, so a tap shorter than the
/// timer's period is still seen (as down for one reading). Readings use up presses: every poll
/// keeps a reader of its own.
class KeyPoll {
 public:
  /// Key vk (1 to 255) as this poll sees it.
  bool Down(int vk);
  /// The highest key code from 5 to 127 that counts as down and is none of the skips; 0 when none.
  long AnyDown(int skip1 = 0, int skip2 = 0, int skip3 = 0);
  /// Key vk's changes since this reader's previous reading of it, oldest first, each at its own
  /// time (seconds, now less its age), and last the state at now: two taps between two readings
  /// are two taps, each as long as it was. A first reading has the state alone. Where the
  /// device records no changes, the state alone.
  struct Step {
    bool down = false;
    double at = 0;
  };
  std::vector<Step> Steps(int vk, double now);
  /// Forgets the presses made before now: for a poll that starts again after a pause.
  void Reset() {
    counted_.fill(false);
    changesRead_.fill(false);
  }

 private:
  static constexpr int kKeys = 256;
  std::array<std::uint32_t, kKeys> seen_{};
  std::array<bool, kKeys> counted_{};  // seen_ holds a count read earlier
  std::array<std::uint32_t, kKeys> lastChange_{};
  std::array<bool, kKeys> changesRead_{};  // lastChange_ holds a number read earlier
};

std::int32_t GetWindowKeyboardLayout(WindowHandle window);
void GetCursorPosTwips(long& x, long& y);
/// The point is strictly inside the rectangle.
bool IsPointInRect(Point p, const Rect& rect);
/// The cursor is strictly inside the rectangle.
bool IsCursorInRect(const Rect& rect);
/// The cursor is strictly inside the window; false for window 0.
bool IsCursorOverWindow(WindowHandle window);
/// Distance rounded to the nearest whole number (halves to even).
long GetPointDistance(Point p1, Point p2);

/// Translates a system colour and splits it; on failure returns colour and leaves r, g, b as they were.
Colour SplitColor(Colour colour, int& r, int& g, int& b);
/// The low three bytes, without translation.
void ColorToRGB(Colour colour, int& r, int& g, int& b);
/// Channel-wise (a + b) \ 2 of the two split colours.
Colour MixColors(Colour c1, Colour c2);
/// The colour chooser; the initial colour when the user cancels.
Colour ShowColorDialog(WindowHandle owner, Colour colour);

/// Whether something is drawn around the screen point (a channel varies by 11 or more within
/// 5 pixels), rather than a plain background.
bool HasColourVariationAt(Point screen);

}  // namespace parlavent::API
