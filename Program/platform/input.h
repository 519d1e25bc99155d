#pragma once
// Keyboard, mouse and screen services the core reads. The shell installs the Win32 implementation;
// natively a quiet default (nothing pressed, pointer at 0,0) stands in and tests install fakes.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/geometry.h"

namespace parlavent {

/// A key or mouse button that went down or up, as an input device recorded it.
struct KeyChange {
  std::uint32_t number = 0;  // the key's changes counted from 1
  bool down = false;
  std::uint32_t ageMs = 0;   // how long before the reading it happened
};

class InputDevice {
 public:
  virtual ~InputDevice() = default;
  /// GetAsyncKeyState(vk) has bit 0x8000.
  virtual bool IsAsyncKeyDown(int vk) = 0;
  /// How many times key vk (a virtual key or mouse button code) has gone down since the device
  /// started counting; 0 where it does not count. Comparing counts, a poll sees taps that begin
  /// and end between two of its readings.
  virtual std::uint32_t PressCount(int vk) {
    (void)vk;
    return 0;
  }
  /// The changes of key vk the device recorded whose number is above after (the device numbers
  /// every change of a key from 1 up), oldest first; only the latest few are kept. Empty where
  /// the device records none. With their times a poll sees each tap made since its last
  /// reading, however long that reading was held up.
  virtual std::vector<KeyChange> ChangesSince(int vk, std::uint32_t after) {
    (void)vk;
    (void)after;
    return {};
  }
  /// GetKeyState(vk) has bit 0x8000 (the state as of the current message).
  virtual bool IsKeyDown(int vk) = 0;
  virtual Point CursorPos() = 0;
  /// Twips per screen pixel, across and down.
  virtual Point TwipsPerPixel() = 0;
  /// GetSystemMetrics(SM_SWAPBUTTON) is not 0.
  virtual bool IsMouseSwapped() = 0;
  /// Releases a held left button (mouse_event LEFTUP).
  virtual void SendMouseLeftUp() = 0;
  /// The keyboard layout of the thread that owns the window; 0 gives the calling thread's.
  virtual std::int32_t KeyboardLayoutOf(WindowHandle window) = 0;
  /// The window's screen rectangle; false when there is no such window.
  virtual bool WindowRect(WindowHandle window, Rect& rect) = 0;
};

/// Samples screen pixels around a point, through the device context of the window under it.
class ScreenSampler {
 public:
  virtual ~ScreenSampler() = default;
  /// Takes the window under the screen point and its device context; false when there is none.
  virtual bool Open(Point screen) = 0;
  /// The pixel (0x00BBGGRR, or 0xFFFFFFFF outside the window) at a screen point.
  virtual Colour PixelAt(Point screen) = 0;
  /// Releases the device context taken by Open.
  virtual void Close() = 0;
};

/// Colour services of the system.
class ColourService {
 public:
  virtual ~ColourService() = default;
  /// OleTranslateColor: a system colour to its current value; false when it cannot be translated.
  virtual bool TranslateColour(Colour colour, Colour& translated) = 0;
  /// Shows the colour chooser; false when the user cancels.
  virtual bool ChooseColour(WindowHandle owner, Colour initial, Colour& chosen) = 0;
};

InputDevice& Input();
ScreenSampler& Sampler();
ColourService& Colours();
/// Installs a service (nullptr restores the quiet default).
void SetInput(std::shared_ptr<InputDevice> device);
void SetSampler(std::shared_ptr<ScreenSampler> sampler);
void SetColours(std::shared_ptr<ColourService> colours);

}  // namespace parlavent
