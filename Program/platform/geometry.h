#pragma once
// Screen geometry and window handles as the core sees them (pixels unless a name says twips).
#include <cstdint>

namespace parlavent {

/// A window handle as an opaque number (an HWND on Windows); 0 is "no window".
using WindowHandle = std::uintptr_t;

struct Point {
  long x = 0;
  long y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
};

/// Colours are 0x00BBGGRR; a value with the high bit set names system colour (value & 0xFF).
using Colour = std::uint32_t;
constexpr Colour kSystemColourFlag = 0x80000000u;

}  // namespace parlavent
