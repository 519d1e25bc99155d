// The result tree: duplicate dropping, comment filtering, theme keys, and the three renderings
// byte for byte.
#include "dictionary/result_tree.h"

#include <gtest/gtest.h>

#include "app/link_layer.h"
#include "foundation/settings_object.h"
#include "support/app_fixture.h"
#include "text/text.h"

namespace parlavent {
namespace {

class ResultTreeTest : public testing::AppTest {
 protected:
  ResultTreeTest() {
    sett = std::make_shared<Setting>();
    sett->Gray = 8421504;
    sett->TextLink = u"||Crsr 1||U 1||Snd 1||C 8421504||S 8";
    sett->ShowComment = true;
    sett->ShowTranscript = true;
    sett->ExtTransString = u"»»»";
    app.State.gSetting = sett;
    app.Sett = sett;
    auto& table = app.State.gLangTable;
    table.resize(400);
    table[50] = u"no translation";
    table[193] = u"more";
    table[194] = u"back";
    table[307] = u"more (popup)";
  }

  // Files a translation as the look-up does: word side 1, translation side 2.
  static void Add(TranslationSet& t, std::u16string_view trans, std::u16string_view comment = {},
                  std::int32_t rech = 1, std::u16string_view theme1 = {}, std::u16string_view theme2 = {},
                  std::u16string_view theme3 = {}) {
    t.AddTranslation(t.Word, trans, comment, theme1, theme2, theme3, rech, 1, 2);
  }

  std::shared_ptr<Setting> sett;
  WordSet words;
};

TEST_F(ResultTreeTest, DuplicatesAreDroppedCaseBlind) {
  auto t = words.AddWord(u"Haus");
  EXPECT_EQ(words.AddWord(u"haus"), t);
  Add(*t, u"дом");
  Add(*t, u"ДОМ");
  Add(*t, u"дом", u" ");  // a blank comment is the empty comment group
  Add(*t, u"   ");         // blank: nothing filed
  ASSERT_EQ(t->RechSet.Count(), 1u);
  const auto& theme = *(*t->RechSet.ItemAt(1))->ThemeSet.ItemAt(1);
  ASSERT_EQ(theme->CommSet.Count(), 1u);
  EXPECT_EQ((*theme->CommSet.ItemAt(1))->TransSet.Count(), 1u);
  EXPECT_EQ(t->GetString(false, true), u"дом");
}

TEST_F(ResultTreeTest, BlankTranslationChangesNothing) {
  auto t = words.AddWord(u"Haus");
  EXPECT_EQ(t->AddTranslation(u"Haus", u"  ", u"c", u"", u"", u"", 1, 1, 2), nullptr);
  EXPECT_FALSE(t->IsTranslated);
  EXPECT_EQ(t->WordDir + t->TransDir, 0);
  EXPECT_EQ(t->GetString(false, false), u"no translation");
  EXPECT_EQ(t->GetString(false, true), u"");
}

TEST_F(ResultTreeTest, CommentsFilteredAndMarkerTakesExtendedTranslation) {
  auto t = words.AddWord(u"w");
  Add(*t, u"a", u"автор: Иванов");
  Add(*t, u"b", u"see http://x");
  Add(*t, u"c", u"www.x.org");
  Add(*t, u"d", u"»»»");
  EXPECT_TRUE(t->UseExtTrans);
  const auto& theme = *(*t->RechSet.ItemAt(1))->ThemeSet.ItemAt(1);
  ASSERT_EQ(theme->CommSet.Count(), 1u);  // all four in the empty comment group
  EXPECT_EQ(t->GetString(false, true), u"a; b; c; d");

  sett->ShowComment = false;
  auto u = words.AddWord(u"v");
  Add(*u, u"x", u"one");
  Add(*u, u"y", u"two");
  EXPECT_EQ((*(*u->RechSet.ItemAt(1))->ThemeSet.ItemAt(1))->CommSet.Count(), 1u);
  EXPECT_FALSE(u->UseExtTrans);
}

TEST_F(ResultTreeTest, ThemeKeysAndNames) {
  EXPECT_EQ(clsRechSet::ThemeKey(u"", u"", u""), u"k0");
  // A hash near 5,000,000,000 alone: the mean stays above 1,600,000,000 without overflow.
  const double h = app.GetHash(u"zz");
  const std::u16string key = clsRechSet::ThemeKey(u"zz", u"", u"");
  EXPECT_EQ(key, u"k" + NumberText(static_cast<std::int64_t>(h) / 3));

  auto t = words.AddWord(u"w");
  Add(*t, u"x", u"", 1, u"a", u"", u"c");
  Add(*t, u"y", u"", 1, u"", u"", u"");
  const auto& themes = (*t->RechSet.ItemAt(1))->ThemeSet;
  ASSERT_EQ(themes.Count(), 2u);
  EXPECT_EQ((*themes.ItemAt(1))->StrThemes, u"a, , c");
  EXPECT_EQ((*themes.ItemAt(2))->StrThemes, u"");
}

TEST_F(ResultTreeTest, RendersThreeFormsByteForByte) {
  auto t = words.AddWord(u"Haus");
  t->Transcription = u"haʊs";
  Add(*t, u"дом", u"здание", 1, u"Bau");
  Add(*t, u"здание", u"здание", 1, u"Bau");
  Add(*t, u"кров", u"", 1, u"Bau");
  Add(*t, u"дом2", u"", 1);
  Add(*t, u"жить", u"", 6);
  auto unknown = words.AddWord(u"xyz");
  words.AddWord(u"--");  // dashes only: skipped

  EXPECT_EQ(words.GetString(false, true, true),
            u"Haus [haʊs] \r\nдом; здание; кров; дом2; жить\r\n\r\nxyz\r\n");
  const std::u16string popup =
      u"<Haus=TransWord-Haus||B ||dir 1> <[haʊs]=ShowTranscription-haʊs||F Vovedorirada> \r\n"
      u"<(Bau)=||C 8421504> <дом=BackTTTrans-дом||Blt 8421504||dir 2>; "
      u"<здание=BackTTTrans-здание||Blt 8421504||dir 2> <(здание)=||C 8421504>\r\n"
      u"<кров=BackTTTrans-кров||Blt 8421504||dir 2>\r\n"
      u"<дом2=BackTTTrans-дом2||Blt 8421504||dir 2>\r\n"
      u"<жить=BackTTTrans-жить||Blt 8421504||dir 2>\r\n\r\n"
      u"<xyz=TransWord-xyz||B ||dir 1>\r\nno translation";
  EXPECT_EQ(words.GetString(false, false, true), popup);
  EXPECT_EQ(t->SpeakString, u"дом. здание. кров. . дом2. . жить. . ");

  const std::u16string onForm = ReplaceAll(words.GetString(true, false, false), u"\r\n", u"|");
  EXPECT_EQ(onForm,
            u"<Haus=TransWord-Haus||B ||dir 1>|"
            u"<(Bau)=||C 8421504> <дом=BackTrans-дом||Blt 8421504||dir 2>; "
            u"<здание=BackTrans-здание||Blt 8421504||dir 2> <(здание)=||C 8421504>|"
            u"<кров=BackTrans-кров||Blt 8421504||dir 2>|"
            u"<дом2=BackTrans-дом2||Blt 8421504||dir 2>|"
            u"<жить=BackTrans-жить||Blt 8421504||dir 2>|"
            u"<back=GoBack||Crsr 1||U 1||Snd 1||C 8421504||S 8> ||"
            u"<xyz=TransWord-xyz||B ||dir 1>|no translation|<back=GoBack||Crsr 1||U 1||Snd 1||C 8421504||S 8> ");
  EXPECT_EQ(unknown->TransString, u"no translation\r\n<back=GoBack||Crsr 1||U 1||Snd 1||C 8421504||S 8> ");
}

TEST_F(ResultTreeTest, RenderingParsesBackIntoCaptionsAndLinks) {
  auto t = words.AddWord(u"Haus");
  Add(*t, u"дом", u"здание", 1, u"Bau");
  Add(*t, u"кров", u"", 1, u"Bau");
  clsLink link;
  std::u16string plain;
  std::vector<LinkItemPtr> items;
  link.GetLinks(words.GetString(false, false, false), plain, items);
  EXPECT_EQ(plain, u"Haus\r\n(Bau) дом (здание)\r\nкров");
  const struct {
    std::int32_t p1, p2;
    std::u16string_view prefix, target;
    std::int32_t dir;
  } want[] = {
      {1, 5, u"TransWord", u"Haus", 1},
      {7, 12, u"", u"", 0},
      {13, 16, u"BackTTTrans", u"дом", 2},
      {17, 25, u"", u"", 0},
      {27, 31, u"BackTTTrans", u"кров", 2},
  };
  ASSERT_EQ(items.size(), std::size(want));
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i]->p1, want[i].p1);
    EXPECT_EQ(items[i]->p2, want[i].p2);
    EXPECT_EQ(items[i]->Prefix, want[i].prefix);
    EXPECT_EQ(items[i]->Link, want[i].target);
    EXPECT_EQ(items[i]->Dir, want[i].dir);
    EXPECT_EQ(plain.substr(static_cast<std::size_t>(items[i]->p1 - 1),
                           static_cast<std::size_t>(items[i]->p2 - items[i]->p1)),
              items[i]->Caption);
  }
  EXPECT_TRUE(items[0]->Bold);
  EXPECT_EQ(items[1]->Color, 8421504);
}

TEST_F(ResultTreeTest, ExtendedTranslationLinks) {
  auto t = words.AddWord(u"go");
  Add(*t, u"идти", u"»»»");
  EXPECT_EQ(t->GetString(false, false),
            u"<идти=BackTTTrans-идти||Blt 8421504||dir 2>\r\n  <more (popup)=ExtTransTT-go||Std >");
  EXPECT_EQ(t->GetString(true, false),
            u"<идти=BackTrans-идти||Blt 8421504||dir 2>\r\n<back=GoBack||Crsr 1||U 1||Snd 1||C 8421504||S 8>"
            u"   <more=ExtTransOnForm-go||Crsr 1||U 1||Snd 1||C 8421504||S 8>  ");
}

TEST_F(ResultTreeTest, EmptyTreeAndTranslationRecord) {
  EXPECT_EQ(words.GetString(true, false, true), u"");
  Translation t;
  t.Translation = u"дом";
  EXPECT_EQ(t.GetString(), u"дом");
  t.Dictionary = u"De-Ru";
  t.Themes = {u"Bau", u"Arch"};
  t.Comment = u"c";
  EXPECT_EQ(t.GetString(), u"(De-Ru: Bau, Arch) дом (c)");
  t.Dictionary.clear();
  EXPECT_EQ(t.GetString(), u"(Bau, Arch) дом (c)");
}

}  // namespace
}  // namespace parlavent
