// Translation links through "TransW1" and "TransW2", with both record header sizes and both text
// modes, and the TransRecs made of them.
#include <gtest/gtest.h>

#include "app/application.h"
#include "dictionary/sections.h"
#include "platform/code_page.h"
#include "native/search_fixture.h"

namespace parlavent {
namespace {

struct Mode {
  bool unicode;
  bool rech;
};

// Word IDs follow first mention: Aal 1, угорь 2, угорь2 3, рыба 4, Baum 5, дерево 6, Haus 7,
// дом 8, Heim 9, Maison 10, Haus (side 2) 11, Zebra 12, зебра 13.
std::string LinkSource(bool rech) {
  return "@member Info\n[Main]\nSupportRech=" + std::string(rech ? "1" : "0") +
         "\n@end\n"
         "@member Themes\n1\tGeneral\tgen\n40000\tBig\tbig\n@end\n"
         "L\tAal\tугорь\tN\tM\t1\terste\n"
         "L\tAal\tугорь2\n"
         "L\tAal\tрыба\t\t\t0,0,40000\n"
         "L\tBaum\tдерево\tN\tN\t1,0,7\n"
         "L\tHaus\tдом\n"
         "L\tHeim\tдом\t\t\t\tHeim\n"
         "L\tMaison\tHaus\n"
         "L\tZebra\tзебра\t\t\t40000\tпоследний\n";
}

class LinkSearch : public testing::SearchTest, public ::testing::WithParamInterface<Mode> {
 protected:
  void SetUp() override {
    dic_ = Build(LinkSource(GetParam().rech), "test_full.dic", GetParam().unicode);
    ASSERT_EQ(dic_->Unicode, GetParam().unicode);
    ASSERT_EQ(dic_->SupportRech, GetParam().rech);
  }
  std::vector<TransRec> Trans(std::u16string_view word, bool useDir = false, std::int32_t wordID = 0) {
    std::vector<TransRec> recs;
    app.GetTransRecs(word, recs, *dic_, false, useDir, true, wordID);
    return recs;
  }
  static std::vector<std::string> TransTexts(const std::vector<TransRec>& recs) {
    std::vector<std::string> texts;
    for (const auto& r : recs) texts.push_back(ToUtf8(r.Trans.Text));
    return texts;
  }
  std::shared_ptr<clsDic> dic_;
};

TEST_P(LinkSearch, SideOneWordAtTheFirstRecordsKeepsRecordOrderAndThemes) {
  const auto recs = Trans(u"aal");
  EXPECT_EQ(TransTexts(recs), (std::vector<std::string>{"угорь", "угорь2", "рыба"}));
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[0].Word.ID, 1);
  EXPECT_EQ(recs[0].Index, 1);
  EXPECT_EQ(recs[0].Comment, u"erste");
  EXPECT_EQ(recs[0].Theme1.Name, u"General");
  EXPECT_EQ(recs[0].Rech, GetParam().rech ? 1 : 0);
  EXPECT_EQ(recs[0].Rod, GetParam().rech ? 1 : 0);
  EXPECT_EQ(recs[1].Comment, u"");
  EXPECT_EQ(recs[1].Theme1.ID, 0);
  // Theme2 0, Theme3 set: an empty Theme2 and a filled Theme3, its ID above 32,767.
  EXPECT_EQ(recs[2].Theme2.ID, 0);
  EXPECT_EQ(recs[2].Theme3.ID, 40000);
  EXPECT_EQ(recs[2].Theme3.Short, u"big");
}

TEST_P(LinkSearch, LastRecordsCommentEndsAtTheSectionEnd) {
  const auto recs = Trans(u"Zebra");
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].Trans.Text, u"зебра");
  EXPECT_EQ(recs[0].Comment, u"последний");
  EXPECT_EQ(recs[0].Theme1.Name, u"Big");
}

TEST_P(LinkSearch, MissingThemeGivesAnEmptyThemeRec) {
  const auto recs = Trans(u"Baum");
  ASSERT_EQ(recs.size(), 1u);
  EXPECT_EQ(recs[0].Theme1.ID, 1);
  EXPECT_EQ(recs[0].Theme3.ID, 0);
  EXPECT_EQ(recs[0].Theme3.Name, u"");
}

TEST_P(LinkSearch, SideTwoWordGoesThroughTransW2) {
  std::vector<WordRec> words;
  ASSERT_EQ(app.FindWord(u"дом", words, *dic_), 2);
  std::vector<TransLink> links;
  app.GetTransLinks(words[0], *dic_, links);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_GE(links[0].RecNo, kTransW2RecNo);
  EXPECT_EQ(links[1].RecNo, links[0].RecNo + 1);
  EXPECT_EQ(links[0].WordID1, 7);
  EXPECT_EQ(links[1].Comment, u"Heim");
  EXPECT_EQ(TransTexts(Trans(u"дом")), (std::vector<std::string>{"Haus", "Heim"}));
}

TEST_P(LinkSearch, DirectionFilterAndWordIDs) {
  EXPECT_EQ(TransTexts(Trans(u"Haus")), (std::vector<std::string>{"дом", "Maison"}));
  dic_->Direction(2);
  EXPECT_EQ(TransTexts(Trans(u"Haus", true)), (std::vector<std::string>{"Maison"}));
  dic_->Direction(1);
  EXPECT_EQ(TransTexts(Trans(u"Haus", true)), (std::vector<std::string>{"дом"}));
  // A word given by ID has no side, so any direction filter passes it by.
  EXPECT_TRUE(Trans(u"", true, 1).empty());
  const auto byID = Trans(u"", false, 1);
  ASSERT_EQ(byID.size(), 3u);
  EXPECT_EQ(byID[0].Word.Dir, 0);
}

TEST_P(LinkSearch, WordWithoutLinksLeavesRetAsItWas) {
  std::vector<TransRec> recs(2);
  app.GetTransRecs(u"nothing", recs, *dic_, false, false, false, 0);
  EXPECT_EQ(recs.size(), 2u);
  std::vector<TransLink> links(1);
  links[0].RecNo = 5;
  app.GetTransLinks(WordRec{}, *dic_, links);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].RecNo, 5);
}

TEST_P(LinkSearch, ReadLinkRecModes) {
  const std::int32_t header = GetParam().rech ? 16 : 14;
  const auto whole = app.ReadLinkRec(0, dic_->FileN, dic_->bsTransW1, dic_->beTransW1, 0, header);
  EXPECT_EQ(whole.WordID1, 1);
  EXPECT_EQ(whole.WordID2, 2);
  EXPECT_EQ(whole.Comment, u"erste");
  const auto first = app.ReadLinkRec(3, dic_->FileN, dic_->bsTransW1, dic_->beTransW1, 1, header);
  EXPECT_EQ(first.WordID1, 5);
  EXPECT_EQ(first.WordID2, 0);
  const auto second = app.ReadLinkRec(3, dic_->FileN, dic_->bsTransW1, dic_->beTransW1, 2, header);
  EXPECT_EQ(second.WordID2, 6);
  EXPECT_EQ(app.ReadLinkRec(99, dic_->FileN, dic_->bsTransW1, dic_->beTransW1, 0, header).WordID1, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, LinkSearch,
                         ::testing::Values(Mode{true, true}, Mode{true, false}, Mode{false, true}, Mode{false, false}),
                         [](const auto& info) {
                           return std::string(info.param.unicode ? "Unicode" : "Ansi") +
                                  (info.param.rech ? "16ByteHeaders" : "14ByteHeaders");
                         });

class LinkSections : public testing::SearchTest {};

TEST_F(LinkSections, SingleRecordIsFound) {
  const auto dic = Build("L\tHaus\tдом\n");
  EXPECT_EQ(dic->UBTW1, 0);
  std::vector<TransRec> recs;
  app.GetTransRecs(u"Haus", recs, *dic);
  ASSERT_EQ(recs.size(), 1u);
  app.GetTransRecs(u"дом", recs, *dic);
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].Trans.Text, u"Haus");
}

TEST_F(LinkSections, EveryLinkOfAWordWhereverTheSearchLandsInItsRun) {
  std::string source;
  // Word IDs: the five words before 1, 3, .. 9 (their translations between), Mitte 11, its
  // translations 12 to 23, the five after 24, 26, .. 32: the search's first probe lands inside
  // Mitte's run of records, not at its start.
  for (const char* w : {"Aa", "Ab", "Ac", "Ad", "Ae"}) source += std::string("L\t") + w + "\tперед" + w + "\n";
  std::vector<std::string> expected;
  for (int i = 1; i <= 12; ++i) {
    expected.push_back("значение" + std::to_string(i));
    source += "L\tMitte\t" + expected.back() + "\n";
  }
  for (const char* w : {"Za", "Zb", "Zc", "Zd", "Ze"}) source += std::string("L\t") + w + "\tпосле" + w + "\n";
  const auto dic = Build(source);
  std::vector<TransRec> recs;
  app.GetTransRecs(u"Mitte", recs, *dic);
  std::vector<std::string> texts;
  for (const auto& r : recs) texts.push_back(ToUtf8(r.Trans.Text));
  EXPECT_EQ(texts, expected);
}

// A link record outside its section, or "TransW2" entries out of order, are found by the first
// search that reads them; from then on the package answers nothing. One at a section's end is
// found on opening.
TEST_F(LinkSections, WildOffsetsAndEntriesFindThePackageDamaged) {
  // Word IDs: Aal 1, угорь 2, Baum 3, дерево 4, Haus 5, дом 6, Heim 7, Zebra 8, зебра 9, Zoo 10,
  // зоопарк 11. Opening reads the first and last records and the first and last two entries.
  const std::string source =
      "L\tAal\tугорь\nL\tBaum\tдерево\nL\tHaus\tдом\nL\tHeim\tдом\nL\tZebra\tзебра\nL\tZoo\tзоопарк\n";
  auto dic = Build(source);
  const std::int32_t w1 = dic->bsTransW1, w2 = dic->bsTransW2;
  PatchI32(w1, 4 * 2, 1 << 30);  // Haus's record (and so the end of Baum's) lies beyond the section
  dic = Reopen();
  EXPECT_TRUE(PackageWhole(app, *dic));
  std::vector<TransRec> recs;
  app.GetTransRecs(u"Baum", recs, *dic);
  EXPECT_TRUE(recs.empty());
  EXPECT_TRUE(dic->Damaged());
  app.GetTransRecs(u"Aal", recs, *dic);
  EXPECT_TRUE(recs.empty());

  // дом's two entries name their records the wrong way round.
  dic = Build(source);
  PatchI32(w2, 4 * 2, 3);
  PatchI32(w2, 4 * 3, 2);
  dic = Reopen();
  app.GetTransRecs(u"угорь", recs, *dic);
  EXPECT_EQ(recs.size(), 1u);
  app.GetTransRecs(u"дом", recs, *dic, false, false, true);
  EXPECT_TRUE(recs.empty());
  EXPECT_TRUE(dic->Damaged());

  dic = Build(source);
  PatchI32(w2, 4 * 5, 9999);  // the last "TransW2" entry names no record
  dic = Reopen();
  EXPECT_FALSE(PackageWhole(app, *dic));
}

// The bounds checks of the link sections, at their bounds: an entry of "TransW2" names one of
// the "TransW1" records, and every record is at least as long as its header. Opening reads neither
// table, so the bounds are asked of the sections' own check.
TEST_F(LinkSections, LinkSectionsAreSoundUpToTheirBounds) {
  const std::string source = "L\tAal\tугорь\nL\tBaum\tдерево\nL\tHaus\tдом\n";
  auto dic = Build(source);
  const auto sound = [&] {
    const auto reopened = Reopen();
    return reopened && SectionsSound(PackageFile::Open(PackagePath()), *reopened);
  };
  ASSERT_TRUE(sound());
  const std::int32_t w1 = dic->bsTransW1, w2 = dic->bsTransW2;
  const std::string bytes = testing::ReadBytes(PackagePath());
  const auto i32At = [&](std::int64_t at) {
    std::int32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v * 256 + static_cast<unsigned char>(bytes[static_cast<std::size_t>(at + i)]);
    return v;
  };
  const std::int32_t table = i32At(w1);
  const std::int32_t header = dic->SupportRech ? 16 : 14;
  ASSERT_EQ(i32At(w1 + 4) - table, header) << "a record of its header alone is sound";

  PatchI32(w2, 0, table / 4 - 1);  // the last record
  EXPECT_TRUE(sound());
  PatchI32(w2, 0, table / 4);  // one past it
  EXPECT_FALSE(sound());

  dic = Build(source);
  PatchI32(w1, 4, table + header - 1);  // the first record shorter than its header
  EXPECT_FALSE(sound());
}

}  // namespace
}  // namespace parlavent
