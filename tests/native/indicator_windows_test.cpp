// Where the indicator windows stand, when they go, and the progress window's caption.
#include <gtest/gtest.h>

#include "app/indicator_windows.h"
#include "text/text.h"

namespace parlavent {
namespace {

TEST(IndicatorWindows, CopyIndicatorGoesAtTheFirstMoveOrKey) {
  CopyIndicatorLogic copy;
  EXPECT_EQ(copy.ShowAt({100, 200}), (Point{116, 208}));
  EXPECT_FALSE(copy.ShouldHide({104, 203}, false));  // 5 pixels away
  EXPECT_TRUE(copy.ShouldHide({104, 204}, false));
  EXPECT_TRUE(copy.ShouldHide({100, 200}, true)) << "a button still held";
}

TEST(IndicatorWindows, BusyIndicatorFollowsWithin21Pixels) {
  BusyIndicatorLogic busy;
  busy.Start({50, 50});
  EXPECT_TRUE(busy.Follows({60, 60}));
  EXPECT_FALSE(busy.Follows({61, 60}));
  EXPECT_FALSE(busy.Follows({29, 50}));
  EXPECT_EQ(BusyIndicatorLogic::PlaceBeside({50, 50}), (Point{64, 54}));
}

TEST(IndicatorWindows, ProgressCaptionShowsTheWholePercent) {
  struct Case {
    double a, b, c;
    double percent;
    const char* caption;
  } cases[] = {{150, 0, 100, 100, "Scan - 100%"}, {1, 0, 3, 100.0 / 3, "Scan - 33%"}, {5, 3, 4, 50, "Scan - 50%"}};
  for (const Case& c : cases) {
    ProgressLogic progress;
    progress.SetCaption(u"Scan");
    ASSERT_TRUE(progress.SetVal(c.a, c.b, c.c));
    EXPECT_DOUBLE_EQ(progress.Percent(), c.percent);
    EXPECT_EQ(ToUtf8(progress.Caption()), c.caption);
  }
  ProgressLogic progress;
  progress.SetCaption(u"Scan");
  progress.SetVal(1, 0, 2);
  EXPECT_FALSE(progress.SetVal(1, 0, 0)) << "c = 0 leaves bar and caption";
  EXPECT_EQ(ToUtf8(progress.Caption()), "Scan - 50%");
}

}  // namespace
}  // namespace parlavent
