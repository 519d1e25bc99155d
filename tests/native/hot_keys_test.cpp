#include "foundation/hot_keys.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "support/app_fixture.h"
#include "support/fake_clock.h"

namespace parlavent {
namespace {

using HotKey = std::tuple<long, long, bool>;

// A key script: from time `at` (seconds from the start) on, exactly these keys are down.
struct Step {
  double at;
  std::set<int> down;
  std::set<int> tapped = {};  // keys pressed and released again just before this poll
};

class HotKeyCaptureTest : public testing::AppTest {
 protected:
  /// Polls every 10 ms, as the settings dialog does, until `until`; returns each recognised key.
  std::vector<HotKey> Run(const std::vector<Step>& script, double until) {
    std::vector<HotKey> found;
    std::size_t next = 0;
    for (int tick = 0; tick * 0.01 <= until + 1e-9; ++tick) {
      const double t = tick * 0.01;
      while (next < script.size() && script[next].at <= t + 1e-9) {
        for (int key : script[next].tapped) input->Tap(key);
        input->down = script[next++].down;
      }
      clock->now = start + t;
      long code = -1, mod = -1;
      bool dbl = false;
      mdlPublic::GetPressedHotKey(code, mod, dbl);
      if (code != -1) found.emplace_back(code, mod, dbl);
    }
    return found;
  }

  double start = 36000.0;
  std::shared_ptr<testing::FakeInput> input = std::make_shared<testing::FakeInput>();
  std::shared_ptr<testing::FakeClock> clock = std::make_shared<testing::FakeClock>();
  testing::ScopedInput inputScope{input};
  testing::ScopedClock clockScope{clock};
};

constexpr int kCtrl = 17, kAlt = 18, kShift = 16, kF5 = 116;

TEST_F(HotKeyCaptureTest, TwoQuickCtrlTapsAreTheDefaultHotKey) {
  const auto found = Run({{0.1, {kCtrl}}, {0.2, {}}, {0.3, {kCtrl}}, {0.4, {}}}, 1.0);
  EXPECT_EQ(found, (std::vector<HotKey>{{17, 0, true}}));
}

TEST_F(HotKeyCaptureTest, TapsShorterThanAPollAreNotLost) {
  // Neither tap is down at any poll: each begins and ends between two of them.
  EXPECT_EQ(Run({{0.105, {}, {kCtrl}}, {0.165, {}, {kCtrl}}}, 1.0), (std::vector<HotKey>{{17, 0, true}}));
  start += 100;
  // Ctrl held while F5 is tapped quickly.
  EXPECT_EQ(Run({{0.0, {kCtrl}}, {0.105, {kCtrl}, {kF5}}, {0.5, {}}}, 1.0), (std::vector<HotKey>{{116, 17, false}}));
  start += 100;
  // A tap counts once: the same count read again later is no new tap.
  EXPECT_TRUE(Run({{0.105, {}, {kCtrl}}, {0.5, {}}}, 1.0).empty());
}

TEST_F(HotKeyCaptureTest, TheTapAfterADoubleStartsAGestureOfItsOwn) {
  // Releases at 0.10, 0.24 and 0.50 s: the third is 0.26 s after the second, but that one
  // already ended a double.
  const auto found =
      Run({{0.05, {kCtrl}}, {0.10, {}}, {0.20, {kCtrl}}, {0.24, {}}, {0.45, {kCtrl}}, {0.50, {}}}, 1.0);
  EXPECT_EQ(found, (std::vector<HotKey>{{17, 0, true}}));
  start += 100;
  EXPECT_EQ(Run({{0.1, {kF5}}, {0.15, {}}, {0.25, {kF5}}, {0.3, {}}, {0.4, {kF5}}, {0.45, {}}}, 1.0),
            (std::vector<HotKey>{{116, 0, true}}));
}

// A poll held up (a capture waits for other programs half a second) still sees each tap at the
// time it was made.
TEST_F(HotKeyCaptureTest, TapsBetweenTwoPollsCountAtTheirOwnTimes) {
  const auto poll = [this](double t) {
    clock->now = start + t;
    long code = 0, mod = 0;
    bool dbl = false;
    mdlPublic::GetPressedHotKey(code, mod, dbl);
    return HotKey{code, mod, dbl};
  };
  poll(0.0);
  // Two taps of 50 ms, 100 ms apart, both within the 550 ms before the next poll.
  for (auto [down, ageMs] : {std::pair{true, 400}, {false, 350}, {true, 250}, {false, 200}}) {
    input->Change(kCtrl, down, ageMs);
  }
  EXPECT_EQ(poll(0.55), (HotKey{17, 0, true}));
  // Two taps 400 ms apart are no double, even when one poll sees both.
  for (auto [down, ageMs] : {std::pair{true, 500}, {false, 450}, {true, 100}, {false, 50}}) {
    input->Change(kCtrl, down, ageMs);
  }
  EXPECT_EQ(poll(1.1), (HotKey{0, 0, false}));
}

TEST_F(HotKeyCaptureTest, SlowCtrlTapsAreNothing) {
  EXPECT_TRUE(Run({{0.1, {kCtrl}}, {0.2, {}}, {0.6, {kCtrl}}, {0.7, {}}}, 1.0).empty());
  // A single tap is never a hot key.
  EXPECT_TRUE(Run({{2.0, {kCtrl}}, {2.1, {}}}, 3.0).empty());
}

TEST_F(HotKeyCaptureTest, LongPressThenOneTapIsDoubleForCtrlOnly) {
  // Ctrl remembers the release of a long press; Alt and Shift remember only taps.
  const std::vector<std::pair<int, std::vector<HotKey>>> cases = {
      {kCtrl, {{17, 0, true}}}, {kAlt, {}}, {kShift, {}}};
  for (const auto& [key, expected] : cases) {
    start += 100;  // a fresh stretch of time for each key
    EXPECT_EQ(Run({{0.0, {key}}, {1.0, {}}, {1.1, {key}}, {1.2, {}}}, 2.0), expected) << key;
  }
}

TEST_F(HotKeyCaptureTest, DoubleAltAndShiftTaps) {
  EXPECT_EQ(Run({{0.1, {kAlt}}, {0.2, {}}, {0.3, {kAlt}}, {0.4, {}}}, 1.0), (std::vector<HotKey>{{18, 0, true}}));
  start += 100;
  EXPECT_EQ(Run({{0.1, {kShift}}, {0.2, {}}, {0.3, {kShift}}, {0.4, {}}}, 1.0),
            (std::vector<HotKey>{{16, 0, true}}));
}

TEST_F(HotKeyCaptureTest, KeyWithModifierAndDoubleTappedKey) {
  // Ctrl held, F5 pressed and released.
  EXPECT_EQ(Run({{0.0, {kCtrl}}, {0.1, {kCtrl, kF5}}, {0.5, {kCtrl}}, {0.8, {}}}, 1.0),
            (std::vector<HotKey>{{116, 17, false}}));
  start += 100;
  // F5 alone: a single tap is nothing; two taps within the limit are a double F5.
  EXPECT_TRUE(Run({{0.1, {kF5}}, {0.2, {}}}, 1.0).empty());
  start += 100;
  EXPECT_EQ(Run({{0.1, {kF5}}, {0.2, {}}, {0.3, {kF5}}, {0.4, {}}}, 1.0), (std::vector<HotKey>{{116, 0, true}}));
  start += 100;
  // Shift is named before Ctrl when both are held.
  EXPECT_EQ(Run({{0.0, {kCtrl, kShift}}, {0.1, {kCtrl, kShift, 65}}, {0.2, {kCtrl, kShift}}, {0.5, {}}}, 1.0),
            (std::vector<HotKey>{{65, 16, false}}));
}

TEST_F(HotKeyCaptureTest, KeysWithoutANameAreNeverCaptured) {
  // 7 has no name; 128 and above are never scanned.
  EXPECT_TRUE(Run({{0.0, {kCtrl}}, {0.1, {kCtrl, 7}}, {0.2, {kCtrl}}, {0.5, {}}}, 1.0).empty());
  start += 100;
  EXPECT_TRUE(Run({{0.1, {7}}, {0.2, {}}, {0.3, {7}}, {0.4, {}}}, 1.0).empty());
}

TEST(KeyName, NamedAndUnnamedKeys) {
  const std::vector<std::pair<long, std::u16string>> cases = {
      {0, u""},       {7, u""},        {8, u"BackSpace"}, {17, u"Ctrl"}, {20, u"Caps Lock"},
      {44, u"PrntScrn"}, {48, u"0"},   {57, u"9"},        {58, u""},     {65, u"A"},
      {90, u"Z"},     {96, u"0"},      {105, u"9"},       {106, u"*"},   {108, u"Enter"},
      {111, u"/"},    {112, u"F1"},    {116, u"F5"},      {127, u"F16"}, {128, u""},
      {-1, u""}};
  for (const auto& [vk, name] : cases) EXPECT_EQ(mdlPublic::KeyName(vk), name) << vk;
}

}  // namespace
}  // namespace parlavent

namespace parlavent {
namespace {

// Every entry reads as its own number in braces, so the tests see how texts are put together.
class HotKeyTextTest : public testing::AppTest {
 protected:
  HotKeyTextTest() {
    for (int n = 0; n < 260; ++n) G().gLangTable.push_back(u"{" + NumberText(n) + u"}");
  }
  static std::u16string Help(bool exampleShown, long keyAction, bool byPoint, bool byClick, bool byDblClick,
                             bool bySelect) {
    return mdlPublic::GetHotKeysHelp(true, false, false, exampleShown, keyAction, byPoint, byClick, byDblClick,
                                     bySelect);
  }
};

TEST_F(HotKeyTextTest, HotKeyText) {
  EXPECT_EQ(mdlPublic::GetHotKeyText(65, 18, false), u"Alt + A");
  EXPECT_EQ(mdlPublic::GetHotKeyText(17, 0, true), u"{254} Ctrl");
  EXPECT_EQ(mdlPublic::GetHotKeyText(116, 17, true), u"Ctrl + {254} F5");
  EXPECT_EQ(mdlPublic::GetHotKeyText(0, 17, true), u"");
}

TEST_F(HotKeyTextTest, HelpJoinsTheBlocksOfEachCase) {
  const std::u16string start = u"{240}\r\n", gap = u"\r\n\r\n{241}\r\n";
  const std::u16string block1 = u"{248} Ctrl{246}", block2 = u"{247} Ctrl{246}", block3 = u"{246}{248} Ctrl";
  EXPECT_EQ(Help(true, 1, true, true, false, false), start + u"{242}");
  EXPECT_EQ(Help(true, 1, false, true, true, true), start + u"{243}" + gap + u"{245}{252}{244}");
  EXPECT_EQ(Help(false, 1, false, false, false, true), start + block1 + gap + block1 + u"{244}");
  EXPECT_EQ(Help(false, 2, true, false, true, false), start + block2 + u"{242}" + gap);
  EXPECT_EQ(Help(false, 3, false, true, true, false), start + u"{243}" + block3 + gap + u"{245}" + block3);
  EXPECT_EQ(Help(false, 3, false, false, false, false), start + block3);
  EXPECT_EQ(Help(false, 7, true, false, false, true), start + gap);
  EXPECT_EQ(mdlPublic::GetHotKeysHelp(false, true, true, false, 2, false, false, false, false),
            start + u"{247} Alt{246}");  // Alt is named before Shift
}

}  // namespace
}  // namespace parlavent
