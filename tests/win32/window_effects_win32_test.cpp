// Rounded corners and fades on a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include "foundation/interface_helpers.h"
#include "platform/win32/win32_services.h"
#include "support/app_fixture.h"

namespace parlavent {
namespace {

class WindowEffectsWin32 : public testing::AppTest {
 protected:
  WindowEffectsWin32() {
    hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 100, 40, nullptr, nullptr, nullptr, nullptr);
  }
  ~WindowEffectsWin32() override { DestroyWindow(hwnd); }
  HWND hwnd;
};

TEST_F(WindowEffectsWin32, RoundedRegionCutsTheCorners) {
  ASSERT_TRUE(hwnd);
  mdlPublic::SetFormRegion(FromHwnd(hwnd));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 1, 0));
  EXPECT_TRUE(PtInRegion(region, 2, 0));
  EXPECT_TRUE(PtInRegion(region, 0, 2));
  EXPECT_FALSE(PtInRegion(region, 99, 39));
  EXPECT_TRUE(PtInRegion(region, 50, 20));
  DeleteObject(region);
}

TEST_F(WindowEffectsWin32, FadeLeavesTheLastLevel) {
  ASSERT_TRUE(hwnd);
  const std::int32_t token = 1;
  mdlPublic::FadeWindow(FromHwnd(hwnd), 0, 200, 4, token);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_TRUE(flags & LWA_ALPHA);
}

}  // namespace
}  // namespace parlavent
