#include "foundation/api_input.h"

#include <algorithm>
#include <cmath>

#include "platform/input.h"

namespace parlavent::API {

bool IsCtrlDown() { return Input().IsAsyncKeyDown(kVkControl); }
bool IsShiftDown() { return Input().IsAsyncKeyDown(kVkShift); }
bool IsAltDown() { return Input().IsAsyncKeyDown(kVkMenu); }

bool IsMouseButtonDown(int button) {
  switch (button) {
    case 1: return Input().IsAsyncKeyDown(kVkLButton);
    case 2: return Input().IsAsyncKeyDown(kVkRButton);
    case 3: return Input().IsAsyncKeyDown(kVkMButton);
    default: return false;
  }
}

bool IsMouseSwapped() { return Input().IsMouseSwapped(); }
void SendMouseLeftUp() { Input().SendMouseLeftUp(); }

long GetPressedKey(int vk, bool fromOne, int skip1, int skip2, int skip3, int skip4) {
  InputDevice& input = Input();
  if (vk != 0) return input.IsAsyncKeyDown(vk) ? 0x8000 : 0;
  long result = 0;
  for (int k = fromOne ? 1 : 5; k <= 127; ++k) {
    if (k == skip1 || k == skip2 || k == skip3 || k == skip4) continue;
    if (input.IsKeyDown(k)) result = k;
  }
  return result;
}

bool KeyPoll::Down(int vk) {
  if (vk <= 0 || vk >= kKeys) return false;
  InputDevice& input = Input();
  const std::uint32_t count = input.PressCount(vk);
  const bool pressedBetween = counted_[vk] && count != seen_[vk];
  seen_[vk] = count;
  counted_[vk] = true;
  return input.IsAsyncKeyDown(vk) || pressedBetween;
}

std::vector<KeyPoll::Step> KeyPoll::Steps(int vk, double now) {
  std::vector<Step> steps;
  if (vk <= 0 || vk >= kKeys) return steps;
  InputDevice& input = Input();
  const std::vector<KeyChange> changes = input.ChangesSince(vk, lastChange_[vk]);
  if (changesRead_[vk]) {
    for (const KeyChange& c : changes) steps.push_back({c.down, now - c.ageMs / 1000.0});
  }
  if (!changes.empty()) lastChange_[vk] = changes.back().number;
  changesRead_[vk] = true;
  // The state now has the last word: a device that records nothing, or is late with a change.
  steps.push_back({input.IsAsyncKeyDown(vk), now});
  return steps;
}

long KeyPoll::AnyDown(int skip1, int skip2, int skip3) {
  long result = 0;
  // Every key is read, not only up to the first one down, so that each reading uses up its presses.
  for (int k = 5; k <= 127; ++k) {
    if (k == skip1 || k == skip2 || k == skip3) continue;
    if (Down(k)) result = k;
  }
  return result;
}

std::int32_t GetWindowKeyboardLayout(WindowHandle window) { return Input().KeyboardLayoutOf(window); }

void GetCursorPosTwips(long& x, long& y) {
  InputDevice& input = Input();
  const Point p = input.CursorPos();
  const Point twips = input.TwipsPerPixel();
  x = p.x * twips.x;
  y = p.y * twips.y;
}

bool IsPointInRect(Point p, const Rect& rect) {
  return rect.left < p.x && p.x < rect.right && rect.top < p.y && p.y < rect.bottom;
}

bool IsCursorInRect(const Rect& rect) { return IsPointInRect(Input().CursorPos(), rect); }

bool IsCursorOverWindow(WindowHandle window) {
  Rect rect;
  if (window == 0 || !Input().WindowRect(window, rect)) return false;
  return IsCursorInRect(rect);
}

long GetPointDistance(Point p1, Point p2) {
  const double dx = static_cast<double>(p2.x) - p1.x;
  const double dy = static_cast<double>(p2.y) - p1.y;
  return static_cast<long>(std::nearbyint(std::sqrt(dx * dx + dy * dy)));
}

Colour SplitColor(Colour colour, int& r, int& g, int& b) {
  Colour translated = 0;
  if (!Colours().TranslateColour(colour, translated)) return colour;
  ColorToRGB(translated, r, g, b);
  return translated;
}

void ColorToRGB(Colour colour, int& r, int& g, int& b) {
  r = static_cast<int>(colour & 0xFF);
  g = static_cast<int>((colour >> 8) & 0xFF);
  b = static_cast<int>((colour >> 16) & 0xFF);
}

Colour MixColors(Colour c1, Colour c2) {
  int r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
  SplitColor(c1, r1, g1, b1);
  SplitColor(c2, r2, g2, b2);
  const auto mix = [](int a, int b) { return static_cast<Colour>((a + b) / 2); };
  return mix(r1, r2) | (mix(g1, g2) << 8) | (mix(b1, b2) << 16);
}

Colour ShowColorDialog(WindowHandle owner, Colour colour) {
  Colour chosen = colour;
  return Colours().ChooseColour(owner, colour, chosen) ? chosen : colour;
}

namespace {

struct Spread {
  int min[3] = {256, 256, 256};
  int max[3] = {0, 0, 0};
  void Add(Colour c) {
    int v[3];
    ColorToRGB(c, v[0], v[1], v[2]);
    for (int i = 0; i < 3; ++i) {
      min[i] = std::min(min[i], v[i]);
      max[i] = std::max(max[i], v[i]);
    }
  }
  bool Varies() const {
    for (int i = 0; i < 3; ++i) {
      if (max[i] - min[i] >= 11) return true;
    }
    return false;
  }
  void ResetMinimums() { std::fill(std::begin(min), std::end(min), 256); }
};

// Samples three lines through the point (horizontal or vertical); true as soon as it varies.
bool SampleLines(ScreenSampler& sampler, Point p, bool horizontal, Spread& spread) {
  constexpr int kHalf = 5;
  for (int k = -1; k <= 1; ++k) {
    for (int d = -kHalf; d <= kHalf; ++d) {
      const Point at = horizontal ? Point{p.x + d, p.y + kHalf * k} : Point{p.x + kHalf * k, p.y + d};
      spread.Add(sampler.PixelAt(at));
      if (spread.Varies()) return true;
    }
  }
  return false;
}

}  // namespace

bool HasColourVariationAt(Point screen) {
  ScreenSampler& sampler = Sampler();
  if (!sampler.Open(screen)) return false;
  Spread spread;
  bool varies = SampleLines(sampler, screen, true, spread);
  if (!varies) {
    spread.ResetMinimums();
    varies = SampleLines(sampler, screen, false, spread);
  }
  sampler.Close();
  return varies;
}

}  // namespace parlavent::API

