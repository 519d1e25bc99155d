#include "platform/input.h"

#include <iterator>

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class QuietInput final : public InputDevice {
 public:
  bool IsAsyncKeyDown(int) override { return false; }
  bool IsKeyDown(int) override { return false; }
  Point CursorPos() override { return {}; }
  Point TwipsPerPixel() override { return {15, 15}; }
  bool IsMouseSwapped() override { return false; }
  void SendMouseLeftUp() override {}
  std::int32_t KeyboardLayoutOf(WindowHandle) override { return 0; }
  bool WindowRect(WindowHandle, Rect&) override { return false; }
};

class NoScreen final : public ScreenSampler {
 public:
  bool Open(Point) override { return false; }
  Colour PixelAt(Point) override { return 0xFFFFFFFFu; }
  void Close() override {}
};

// Without a system to ask, system colours translate to the classic Windows defaults.
class DefaultColours final : public ColourService {
 public:
  bool TranslateColour(Colour colour, Colour& translated) override {
    if ((colour & kSystemColourFlag) == 0) {
      translated = colour;
      return true;
    }
    static constexpr Colour kClassic[] = {
        0xC8D0D4, 0x6E3A0A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF};
    const Colour index = colour & 0xFFFFu;
    if ((colour & 0x7FFF0000u) != 0 || index >= std::size(kClassic)) return false;
    translated = kClassic[index];
    return true;
  }
  bool ChooseColour(WindowHandle, Colour, Colour&) override { return false; }
};

}  // namespace

InputDevice& Input() { return *ServiceSlot<InputDevice, QuietInput>(); }
ScreenSampler& Sampler() { return *ServiceSlot<ScreenSampler, NoScreen>(); }
ColourService& Colours() { return *ServiceSlot<ColourService, DefaultColours>(); }
void SetInput(std::shared_ptr<InputDevice> device) { InstallService<InputDevice, QuietInput>(std::move(device)); }
void SetSampler(std::shared_ptr<ScreenSampler> sampler) { InstallService<ScreenSampler, NoScreen>(std::move(sampler)); }
void SetColours(std::shared_ptr<ColourService> colours) { InstallService<ColourService, DefaultColours>(std::move(colours)); }

}  // namespace parlavent
