#pragma once
// In-memory stand-ins for the input, screen and colour services.
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/input.h"

namespace parlavent::testing {

class FakeInput : public InputDevice {
 public:
  std::set<int> down;            // keys down (both the async and the message-time state)
  std::map<int, std::uint32_t> presses;  // presses counted per key (taps between two readings)
  Point cursor;
  Point twips{15, 15};
  bool swapped = false;
  int leftUps = 0;
  std::map<WindowHandle, Rect> windows;
  std::map<WindowHandle, std::int32_t> layouts;

  bool IsAsyncKeyDown(int vk) override { return down.count(vk) != 0; }
  bool IsKeyDown(int vk) override { return down.count(vk) != 0; }
  std::uint32_t PressCount(int vk) override { return presses.count(vk) ? presses[vk] : 0; }
  std::vector<KeyChange> ChangesSince(int vk, std::uint32_t after) override {
    std::vector<KeyChange> fresh;
    for (const KeyChange& c : changes[vk]) {
      if (c.number > after) fresh.push_back(c);
    }
    return fresh;
  }
  /// A press and release of vk that ends before the next reading.
  void Tap(int vk) {
    ++presses[vk];
    Change(vk, true, 0);
    Change(vk, false, 0);
  }
  /// Records that vk went down or up ageMs before the next reading (the state stays in down).
  void Change(int vk, bool isDown, std::uint32_t ageMs) {
    auto& log = changes[vk];
    log.push_back({static_cast<std::uint32_t>(log.size() + 1), isDown, ageMs});
  }
  std::map<int, std::vector<KeyChange>> changes;
  Point CursorPos() override { return cursor; }
  Point TwipsPerPixel() override { return twips; }
  bool IsMouseSwapped() override { return swapped; }
  void SendMouseLeftUp() override { ++leftUps; }
  std::int32_t KeyboardLayoutOf(WindowHandle w) override { return layouts.count(w) ? layouts[w] : 0; }
  bool WindowRect(WindowHandle w, Rect& r) override {
    if (!windows.count(w)) return false;
    r = windows[w];
    return true;
  }
};

/// A screen painted by a function of the screen point; counts the pixels read.
class FakeScreen : public ScreenSampler {
 public:
  std::function<Colour(Point)> paint = [](Point) { return Colour{0xFFFFFF}; };
  bool hasWindow = true;
  int reads = 0;
  int opens = 0;
  int closes = 0;

  bool Open(Point) override { ++opens; return hasWindow; }
  Colour PixelAt(Point p) override { ++reads; return paint(p); }
  void Close() override { ++closes; }
};

/// Installs a service for one test and restores the default afterwards.
template <typename Service, void (*Setter)(std::shared_ptr<Service>)>
class ScopedService {
 public:
  explicit ScopedService(std::shared_ptr<Service> s) { Setter(std::move(s)); }
  ~ScopedService() { Setter(nullptr); }
};

using ScopedInput = ScopedService<InputDevice, &SetInput>;
using ScopedSampler = ScopedService<ScreenSampler, &SetSampler>;
using ScopedColours = ScopedService<ColourService, &SetColours>;

}  // namespace parlavent::testing
