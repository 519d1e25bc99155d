#include "foundation/api_input.h"

#include <gtest/gtest.h>

#include "support/fake_input.h"

namespace parlavent {
namespace {

using testing::FakeInput;
using testing::FakeScreen;

class ApiInputTest : public ::testing::Test {
 protected:
  std::shared_ptr<FakeInput> input = std::make_shared<FakeInput>();
  testing::ScopedInput scope{input};
};

TEST_F(ApiInputTest, ModifiersAndMouseButtons) {
  input->down = {API::kVkControl, API::kVkMButton};
  EXPECT_TRUE(API::IsCtrlDown());
  EXPECT_FALSE(API::IsShiftDown());
  EXPECT_FALSE(API::IsAltDown());
  EXPECT_TRUE(API::IsMouseButtonDown(3));
  EXPECT_FALSE(API::IsMouseButtonDown(1));
  EXPECT_FALSE(API::IsMouseButtonDown(4));  // not a button number
  API::SendMouseLeftUp();
  EXPECT_EQ(input->leftUps, 1);
}

TEST_F(ApiInputTest, GetPressedKeySkipsButtonsModifiersAndSkips) {
  input->down = {API::kVkLButton, API::kVkShift, API::kVkControl, API::kVkMenu, 65, 90};
  EXPECT_EQ(API::GetPressedKey(0, false, 16, 17, 18), 90);
  EXPECT_EQ(API::GetPressedKey(0, false, 16, 17, 18, 90), 65);
  input->down = {API::kVkLButton, API::kVkShift};
  EXPECT_EQ(API::GetPressedKey(0, false, 16, 17, 18), 0);
  EXPECT_EQ(API::GetPressedKey(0, true, 16, 17, 18), 1);   // fromOne sees the left button
  EXPECT_NE(API::GetPressedKey(API::kVkShift), 0);          // a named key: is it down now
  EXPECT_EQ(API::GetPressedKey(API::kVkMenu), 0);
  input->down = {128, 200};
  EXPECT_EQ(API::GetPressedKey(0, true), 0);                // codes above 127 are not scanned
}

TEST_F(ApiInputTest, CursorRectanglesAreStrict) {
  const Rect r{10, 10, 20, 20};
  input->cursor = {15, 15};
  EXPECT_TRUE(API::IsCursorInRect(r));
  input->cursor = {10, 15};
  EXPECT_FALSE(API::IsCursorInRect(r));
  input->cursor = {15, 20};
  EXPECT_FALSE(API::IsCursorInRect(r));
  input->windows[7] = r;
  input->cursor = {11, 19};
  EXPECT_TRUE(API::IsCursorOverWindow(7));
  EXPECT_FALSE(API::IsCursorOverWindow(0));
  EXPECT_FALSE(API::IsCursorOverWindow(8));
  long x = 0, y = 0;
  input->twips = {15, 12};
  API::GetCursorPosTwips(x, y);
  EXPECT_EQ(x, 165);
  EXPECT_EQ(y, 228);
}

TEST(ApiGeometry, PointDistanceRoundsHalvesToEven) {
  EXPECT_EQ(API::GetPointDistance({0, 0}, {3, 4}), 5);
  EXPECT_EQ(API::GetPointDistance({0, 0}, {1, 1}), 1);   // 1.414
  EXPECT_EQ(API::GetPointDistance({0, 0}, {2, 2}), 3);   // 2.828
  EXPECT_EQ(API::GetPointDistance({5, 5}, {5, 5}), 0);
  EXPECT_EQ(API::GetPointDistance({-3, 0}, {0, 4}), 5);
}

TEST(ApiColours, SplitTranslateAndMix) {
  int r = -1, g = -1, b = -1;
  API::ColorToRGB(0x00336699, r, g, b);
  EXPECT_EQ(r, 0x99);
  EXPECT_EQ(g, 0x66);
  EXPECT_EQ(b, 0x33);
  EXPECT_EQ(API::SplitColor(0x80000005, r, g, b), 0xFFFFFFu);  // window background, classic white
  EXPECT_EQ(r, 255);
  r = g = b = -1;
  EXPECT_EQ(API::SplitColor(0x800000FF, r, g, b), 0x800000FFu);  // no such system colour
  EXPECT_EQ(r, -1);
  EXPECT_EQ(API::MixColors(0x000000, 0xFFFFFF), 0x7F7F7Fu);
  EXPECT_EQ(API::MixColors(0x0000FF, 0x000001), 0x000080u);
}

TEST(ApiPixels, PlainBackgroundHasNoVariation) {
  auto screen = std::make_shared<FakeScreen>();
  testing::ScopedSampler scope(screen);
  EXPECT_FALSE(API::HasColourVariationAt({100, 100}));
  EXPECT_EQ(screen->reads, 66);  // both passes, every pixel
  EXPECT_EQ(screen->closes, 1);
}

TEST(ApiPixels, TextStopsSamplingAtTheFirstVariation) {
  auto screen = std::make_shared<FakeScreen>();
  testing::ScopedSampler scope(screen);
  screen->paint = [](Point p) { return p.x == 98 && p.y == 95 ? Colour{0x000000} : Colour{0xFFFFFF}; };
  EXPECT_TRUE(API::HasColourVariationAt({100, 100}));
  EXPECT_EQ(screen->reads, 4);  // (95,95) .. (98,95)
}

TEST(ApiPixels, SmallDriftIsStillBackground) {
  auto screen = std::make_shared<FakeScreen>();
  testing::ScopedSampler scope(screen);
  // A gradient of 10 steps across the area: spread 10 stays plain, 11 counts.
  screen->paint = [](Point p) { return Colour(static_cast<Colour>(100 + (p.x - 95))); };
  EXPECT_FALSE(API::HasColourVariationAt({100, 100}));
  screen->paint = [](Point p) { return Colour(static_cast<Colour>(100 + (p.y - 95) * 11 / 10)); };
  EXPECT_TRUE(API::HasColourVariationAt({100, 100}));
  screen->hasWindow = false;
  EXPECT_FALSE(API::HasColourVariationAt({100, 100}));
}

}  // namespace
}  // namespace parlavent
