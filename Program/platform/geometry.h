#pragma once
// Screen geometry and window handles as the core sees them (pixels unless a name says twips).
#include <cstdint>
#include <vector>

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

/// The rectangles, one pixel high, of the runs of pixels that differ from colorKey: the region of
/// a picture of width x height pixels read through pixelAt(x, y).
template <typename PixelAt>
std::vector<Rect> PictureRegionRuns(long width, long height, Colour colorKey, PixelAt pixelAt) {
  std::vector<Rect> runs;
  for (long y = 0; y < height; ++y) {
    long x = 0;
    while (x < width) {
      while (x < width && pixelAt(x, y) == colorKey) ++x;
      if (x >= width) break;
      const long x0 = x;
      while (x < width && pixelAt(x, y) != colorKey) ++x;
      runs.push_back({x0, y, x, y + 1});
    }
  }
  return runs;
}

}  // namespace parlavent
