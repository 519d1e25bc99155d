// Window placement, z-order, transparency and rich-text helpers of the API module.
#include <gtest/gtest.h>

#include "foundation/api_windows.h"
#include "support/app_fixture.h"
#include "support/fake_desktop.h"
#include "support/fake_system.h"

namespace parlavent::testing {
namespace {

constexpr WindowHandle kForm = 0x10;

class ApiWindowsTest : public AppTest {
 protected:
  ApiWindowsTest() { windows->windows[kForm] = {{0, 0, 100, 50}}; }
  FakeWindows::Window& Form() { return windows->windows[kForm]; }
  std::shared_ptr<FakeWindows> windows = std::make_shared<FakeWindows>();
  ScopedWindows windowsScope{windows};
  ScopedUserSettings storeScope{std::make_shared<MemorySettingsStore>()};
};

TEST_F(ApiWindowsTest, PlacementComesBackWhereItWasSaved) {
  EXPECT_FALSE(API::LoadFormPosition(u"frmMain", kForm, true)) << "nothing saved yet";
  Form() = {{30, 40, 330, 460}, false};
  API::SaveFormPosition(u"frmMain", kForm);
  EXPECT_EQ(GetSetting(u"Windows", u"frmMain.Right"), u"330");
  EXPECT_EQ(GetSetting(u"Windows", u"frmMain.Visible"), u"False");
  Form().rect = {0, 0, 10, 10};
  ASSERT_TRUE(API::LoadFormPosition(u"frmMain", kForm, true));
  EXPECT_EQ(Form().rect.left, 30);
  EXPECT_EQ(Form().rect.bottom, 460);
  EXPECT_FALSE(Form().visible) << "saved hidden: moved, not shown";

  SaveSetting(u"Windows", u"frmMain.Visible", u"True");
  API::LoadFormPosition(u"frmMain", kForm, true);
  EXPECT_TRUE(Form().visible);
}

TEST_F(ApiWindowsTest, TransparencySwitchesTheLayeredStyle) {
  G().gWinVer = 501;
  API::SetWindowTransparency(kForm, 255, Colour{255});
  EXPECT_EQ(Form().exStyle & kWsExLayered, kWsExLayered);
  EXPECT_EQ(Form().layeredFlags, kLwaColorKey);
  EXPECT_EQ(Form().key, 255u);
  API::SetWindowTransparency(kForm, 55);
  EXPECT_EQ(Form().layeredFlags, kLwaAlpha);
  EXPECT_EQ(Form().alpha, 200);
  API::SetWindowTransparency(kForm, 0);
  EXPECT_EQ(Form().exStyle & kWsExLayered, 0);

  G().gWinVer = 410;  // older Windows: a region, and only with a colour key
  API::SetWindowTransparency(kForm, 100);
  API::SetWindowTransparency(kForm, 255, Colour{255});
  EXPECT_EQ(windows->regions, 1);
}

TEST_F(ApiWindowsTest, TopMostAndTopLevel) {
  API::EnsureTopMost(kForm);
  EXPECT_EQ(Form().insertAfter, kHwndTopMost);
  EXPECT_TRUE(Form().visible);
  windows->windows[0x11].parent = kForm;
  windows->windows[0x12].parent = 0x11;
  Form().parent = windows->desktop;
  EXPECT_EQ(API::GetTopLevelWindow(0x12), kForm);
  EXPECT_EQ(API::GetTopLevelWindow(kForm), kForm);
  EXPECT_EQ(API::GetTopLevelWindow(windows->desktop), 0u);
  EXPECT_EQ(API::GetTopLevelWindow(0), 0u);
}

TEST(ApiWindows, PictureRegionIsTheRunsOfNonKeyPixels) {
  const char* rows[] = {"..##.#", "......", "######"};
  const auto runs = PictureRegionRuns(6, 3, Colour{0}, [&](long x, long y) {
    return rows[y][x] == '#' ? Colour{1} : Colour{0};
  });
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].left, 2);
  EXPECT_EQ(runs[0].right, 4);
  EXPECT_EQ(runs[1].left, 5);
  EXPECT_EQ(runs[1].right, 6);
  EXPECT_EQ(runs[2].top, 2);
  EXPECT_EQ(runs[2].right - runs[2].left, 6);
}

TEST(ApiWindows, RichTextReplacesTheSelectionAndPlacesTheCaret) {
  FakeRichTextBox box;
  box.SetText(u"one two three");
  box.SetSelStart(4);
  box.SetSelLength(3);
  EXPECT_EQ(API::GetRichTextW(box, true), u"two");
  API::SetRichTextW(box, u"2", true);
  EXPECT_EQ(box.Text(), u"one 2 three");
  EXPECT_EQ(box.SelStart(), 1) << "the caret goes to Len(text) from the start of the box";
  API::SelectAllText(box);
  EXPECT_EQ(box.SelLength(), 11);
}

}  // namespace
}  // namespace parlavent::testing
