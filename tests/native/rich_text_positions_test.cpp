// Positions between the plain text as written and a rich-edit control's own text.
#include <gtest/gtest.h>

#include "platform/rich_text_positions.h"

namespace parlavent {
namespace {

struct MapCase {
  const char16_t* plain;
  const char16_t* control;
  std::vector<std::int32_t> toControl;  // for plain positions 0..n
  std::vector<std::int32_t> toPlain;    // for control positions 0..m
};

TEST(RichTextPositions, MapsEveryBoundaryBothWays) {
  const MapCase cases[] = {
      // CR LF kept as one CR: a position between CR and LF lies after the break.
      {u"ab\r\ncd", u"ab\rcd", {0, 1, 2, 3, 3, 4, 5}, {0, 1, 2, 4, 5, 6}},
      // Two breaks in a row shift by two.
      {u"a\r\n\r\nb", u"a\r\rb", {0, 1, 2, 2, 3, 3, 4}, {0, 1, 3, 5, 6}},
      // A lone LF becomes CR, a lone CR stays: one for one.
      {u"a\nb\rc", u"a\rb\rc", {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
      // A control that keeps CR LF: identity.
      {u"a\r\nb", u"a\r\nb", {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
      // A character the control dropped: the rest still lines up.
      {u"a\x01" u"bc", u"abc", {0, 1, 1, 2, 3}, {0, 1, 3, 4}},
      {u"", u"", {0}, {0}},
  };
  for (const MapCase& c : cases) {
    const RichTextPositions map(c.plain, c.control);
    for (std::size_t p = 0; p < c.toControl.size(); ++p) {
      EXPECT_EQ(map.ToControl(static_cast<std::int32_t>(p)), c.toControl[p]) << "plain " << p;
    }
    for (std::size_t q = 0; q < c.toPlain.size(); ++q) {
      EXPECT_EQ(map.ToPlain(static_cast<std::int32_t>(q)), c.toPlain[q]) << "control " << q;
    }
  }
}

TEST(RichTextPositions, ClampsOutsideTheText) {
  const RichTextPositions map(u"ab\r\ncd", u"ab\rcd");
  EXPECT_EQ(map.ToControl(-5), 0);
  EXPECT_EQ(map.ToControl(1000), 5);
  EXPECT_EQ(map.ToPlain(-1), 0);
  EXPECT_EQ(map.ToPlain(1000), 6);
  EXPECT_EQ(RichTextPositions().ToControl(3), 0);
}

TEST(RichTextPositions, ExpandBreaksWritesLoneCrAsCrLf) {
  EXPECT_EQ(ExpandBreaks(u"a\rb\r\nc\r"), u"a\r\nb\r\nc\r\n");
  EXPECT_EQ(ExpandBreaks(u"plain"), u"plain");
}

}  // namespace
}  // namespace parlavent
