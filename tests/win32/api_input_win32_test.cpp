// The API module's pixel, colour and code-page functions over the real Win32 services.
#include <gtest/gtest.h>
#include <windows.h>

#include "foundation/api_input.h"
#include "platform/code_page.h"
#include "test_window.h"

namespace parlavent {
namespace {

TEST(Win32Pixels, PlainWindowHasNoVariationAndDrawnTextHas) {
  testing::TestWindow plain;
  plain.paint = [](HDC dc, const RECT& rc) {
    HBRUSH brush = CreateSolidBrush(RGB(40, 120, 200));
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
  };
  ASSERT_TRUE(plain.Open(100, 100, 200, 120));
  EXPECT_FALSE(API::HasColourVariationAt({200, 160}));

  testing::TestWindow text;
  text.paint = [](HDC dc, const RECT& rc) {
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    HFONT font = CreateFontW(40, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    RECT r = rc;
    DrawTextW(dc, L"WMWMWM", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
  };
  ASSERT_TRUE(text.Open(400, 100, 240, 120));
  // Under load the text may reach the screen a little after the window: give it a few seconds.
  bool varies = false;
  for (int i = 0; i < 50 && !varies; ++i) {
    varies = API::HasColourVariationAt({520, 160});
    if (!varies) testing::TestWindow::Pump(100);
  }
  EXPECT_TRUE(varies);
}

TEST(Win32Colours, SplitColorTranslatesSystemColours) {
  int r = -1, g = -1, b = -1;
  const Colour window = API::SplitColor(0x80000005, r, g, b);  // COLOR_WINDOW
  EXPECT_EQ(window, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(r, GetRValue(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(b, GetBValue(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(API::SplitColor(0x00123456, r, g, b), 0x00123456u);
  EXPECT_EQ(r, 0x56);
}

TEST(Win32CodePage, AnsiPageIsTheSystemsAndConvertsBothWays) {
  EXPECT_EQ(AnsiCodePage().Id(), GetACP());
  const auto cp1251 = MakeCodePage(1251);
  ASSERT_NE(cp1251, nullptr);
  EXPECT_EQ(cp1251->Decode("\xCF\xF0\xE8"), u"При");
  bool lossless = true;
  EXPECT_EQ(cp1251->Encode(u"При\x4E2D", &lossless), "\xCF\xF0\xE8?");
  EXPECT_FALSE(lossless);
  // The system's table agrees with the built-in one on every byte.
  const auto builtin = MakeBuiltinCodePage(1251);
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1251->Decode(all), builtin->Decode(all));
}

}  // namespace
}  // namespace parlavent
