#include "dictionary/dic_members.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "companions/layout_switch.h"
#include "dictionary/keyboard_layers.h"
#include "support/app_fixture.h"
#include "text/text.h"

namespace parlavent {
namespace {

TEST(ReplaceRulesTest, MinWordLenByQuestionMarks) {
  const struct {
    const char16_t* pattern;
    const char16_t* ending;
    int minWordLen;
  } cases[] = {
      {u"ing", u"ing", 6}, {u"?ing", u"ing", 4}, {u"??ing", u"ing", 4}, {u"???ing", u"ing", 5},
      {u"????s", u"s", 4}, {u"", u"", 3},         {u"??", u"", 1},
  };
  for (const auto& c : cases) {
    const auto sfx = MakeSfx(c.pattern, nullptr);
    EXPECT_EQ(sfx->sfx, c.ending) << ToUtf8(c.pattern);
    EXPECT_EQ(sfx->MinWordLen, c.minWordLen) << ToUtf8(c.pattern);
  }
}

TEST(ReplaceRulesTest, LinesFieldsAndFirstRuleWins) {
  SfxCollection col;
  ReadReplaceRules(u"??ies\ty,ie\textra\r\n   \r\n\r\n?ing\r\nies\tx\r\n??ed\t", col);
  ASSERT_EQ(col.Count(), 3u);
  const auto ies = *col.Find(u"kies");
  EXPECT_EQ(ies->Replaces, (std::vector<std::u16string>{u"y", u"ie"}));
  EXPECT_EQ(ies->ubReplaces, 1);
  EXPECT_EQ(ies->MinWordLen, 4) << "the first rule for an ending wins";
  EXPECT_TRUE((*col.Find(u"king"))->Replaces.empty()) << "a rule without a replacement list";
  EXPECT_TRUE((*col.Find(u"ked"))->Replaces.empty());
  EXPECT_EQ((*col.Find(u"ked"))->ubReplaces, 0);
}

TEST(ReplaceRulesTest, AnEndingTooLongForAByteStaysAtTheTop) {
  const auto sfx = MakeSfx(std::u16string(300, u'a'), nullptr);
  EXPECT_EQ(sfx->MinWordLen, 255);
}

TEST(ThemesTest, TrimmedLinesFirstNumberWins) {
  ThemeCollection col;
  ReadThemes(u"  12\tMedicine\tmed.  \r\n\r\n   \r\n12\tOther\to\r\n7\tLaw\r\nx\tBad\tb", col);
  ASSERT_EQ(col.Count(), 3u);
  const auto med = *col.Find(u"k12");
  EXPECT_EQ(med->Name, u"Medicine");
  EXPECT_EQ(med->Short, u"med.");
  EXPECT_EQ((*col.Find(u"k7"))->Short, u"");
  EXPECT_EQ((*col.Find(u"k0"))->Name, u"Bad") << "an unreadable number leaves ID 0";
}

class PrefixesTest : public testing::AppTest {};

TEST_F(PrefixesTest, OneEntryPerLayoutAcrossDictionaries) {
  auto& prefixes = app.State.gPrefixes;
  ReadPrefixes(u"ghb\t1\t5\r\n\r\nntcn\t2\t3\r\nqq\t3\t1\r\nzz\t1\tmany", 1033, 0, prefixes);
  ASSERT_EQ(prefixes.Count(), 2u) << "side 2 without a layout and side 3 are skipped";
  EXPECT_EQ((*prefixes.Find(u"ghb"))->Layouts, u"1033:5");
  EXPECT_EQ((*prefixes.Find(u"zz"))->Layouts, u"1033:1") << "an unusable count counts 1";

  ReadPrefixes(u"ghb\t2\t4\r\nntcn\t2\r\nGHB\t1\t9", 1033, 1049, prefixes);
  EXPECT_EQ((*prefixes.Find(u"ghb"))->Layouts, u"1033:5,1049:4");
  EXPECT_EQ((*prefixes.Find(u"ntcn"))->Layouts, u"1049:1");

  // A count that reads like a layout number does not hide that layout.
  ReadPrefixes(u"cnt\t1\t1049", 1033, 1049, prefixes);
  ReadPrefixes(u"cnt\t2\t2", 1033, 1049, prefixes);
  EXPECT_EQ((*prefixes.Find(u"cnt"))->Layouts, u"1033:1049,1049:2");
}

TEST_F(PrefixesTest, UserSwitchAddsAndMergesEntries) {
  auto& prefixes = app.State.gPrefixes;
  ReadPrefixes(u"ghb\t1\t5", 1033, 1049, prefixes);
  MergeUserSwitch(u"ghb\t1049:2,1033:7\t12\r\nnew\t1033:1\t3\r\n\tlost\t1\r\nshort\r\n");
  ASSERT_EQ(prefixes.Count(), 2u);
  const auto ghb = *prefixes.Find(u"ghb");
  EXPECT_EQ(ghb->Layouts, u"1033:7,1049:2") << "the user's count of a layout the package lists lasts";
  EXPECT_EQ(ghb->Mass, 12);
  EXPECT_TRUE(ghb->ByUser);
  const auto added = *prefixes.Find(u"new");
  EXPECT_EQ(added->Layouts, u"1033:1");
  EXPECT_EQ(added->Mass, 3);
  EXPECT_TRUE(added->ByUser);
}

TEST_F(PrefixesTest, UserSwitchCountsSurviveARestart) {
  auto& prefixes = app.State.gPrefixes;
  ReadPrefixes(u"ghb\t1\t5", 1033, 1049, prefixes);
  MergeUserSwitch(u"ghb\t1033:40\t40\r\n");
  RecordPrefix(u"ghb", 1033);
  const auto ghb = *prefixes.Find(u"ghb");
  EXPECT_EQ(ghb->Layouts, u"1033:41");
  EXPECT_EQ(ghb->Mass, 41);
}

TEST_F(PrefixesTest, UserSwitchReadsAtMostTenThousandLines) {
  std::u16string text;
  for (int i = 0; i < 10005; ++i) text += u"p" + NumberText(i) + u"\t1033:1\t1\r\n";
  MergeUserSwitch(text);
  EXPECT_EQ(app.State.gPrefixes.Count(), 10000u);
  EXPECT_FALSE(app.State.gPrefixes.Exists(u"p10000"));
}

}  // namespace
}  // namespace parlavent
