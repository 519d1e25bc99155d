// FindSorted over "WordsSort": the existence check, the run and its upper bound, limits, the
// alphabet-index sample, the direction filter and abandonment; and the record quicksorts.
#include <gtest/gtest.h>

#include "app/application.h"
#include "support/fake_system.h"
#include "support/search_fixture.h"

namespace parlavent {
namespace {

class SortedSearch : public testing::SearchTest {
 protected:
  std::vector<std::string> List(const std::shared_ptr<clsDic>& dic, std::u16string_view text, std::int32_t limit,
                                bool asIndex = false, std::int32_t dl = 0, std::int32_t* countOut = nullptr) {
    std::vector<WordRec> ret;
    std::int32_t count = -5;
    EXPECT_FALSE(app.FindSorted(text, ret, limit, true, dic, asIndex, dl, false, count));
    EXPECT_EQ(count, static_cast<std::int32_t>(ret.size()));
    if (countOut) *countOut = count;
    return testing::Texts(ret);
  }
  static std::string Words(std::initializer_list<const char*> texts, int side = 1) {
    std::string source;
    for (const char* t : texts) source += "W\t" + std::to_string(side) + "\t" + t + "\n";
    return source;
  }
};

TEST_F(SortedSearch, ExistenceCheck) {
  const auto dic = Build(Words({"abc", "Abd", "about", "b", "zoo"}));
  std::vector<WordRec> ret(1);
  std::int32_t count = 0;
  EXPECT_TRUE(app.FindSorted(u"AB", ret, 0, false, dic, false, 0, false, count));
  EXPECT_TRUE(app.FindSorted(u"zoo", ret, 0, false, dic, false, 0, false, count));
  EXPECT_FALSE(app.FindSorted(u"abe", ret, 0, false, dic, false, 0, false, count));  // between abd and about
  EXPECT_FALSE(app.FindSorted(u"zz", ret, 0, false, dic, false, 0, false, count));
  EXPECT_EQ(ret.size(), 1u);
}

TEST_F(SortedSearch, RunInDictionaryOrderLowerCased) {
  const auto dic = Build(Words({"about", "b", "Abd", "abc", "aa", "zoo"}));
  EXPECT_EQ(List(dic, u"ab", 50), (std::vector<std::string>{"abc", "abd", "about"}));
  EXPECT_EQ(List(dic, u"", 3), (std::vector<std::string>{"aa", "abc", "abd"}));
  EXPECT_TRUE(List(dic, u"c", 50).empty());
}

TEST_F(SortedSearch, AppendsBehindEarlierElementsUnlessCleared) {
  const auto dic = Build(Words({"abc", "abd", "zoo"}));
  std::vector<WordRec> ret(2);
  std::int32_t count = 7;
  app.FindSorted(u"ab", ret, 5, false, dic, false, 0, false, count);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(ret.size(), 4u);
  EXPECT_EQ(ret[2].Text, u"abc");
  EXPECT_EQ(ret[3].Index, 1);
}

TEST_F(SortedSearch, UpperBoundIsTextAndTheLastWordsFirstLetter) {
  // The last word begins with "z": "abz" closes the run, so "abzz" lies beyond it.
  const auto dic = Build(Words({"ab", "abc", "abz", "abzz", "zoo"}));
  EXPECT_EQ(List(dic, u"ab", 50), (std::vector<std::string>{"ab", "abc", "abz"}));
}

TEST_F(SortedSearch, LimitCutsTheList) {
  std::string source;
  for (int i = 100; i < 180; ++i) source += "W\t1\tw" + std::to_string(i) + "\n";
  source += "W\t1\tzoo\n";
  const auto dic = Build(source);
  std::int32_t count = 0;
  EXPECT_EQ(List(dic, u"w", 50, false, 0, &count).size(), 50u);
  EXPECT_EQ(count, 50);
  EXPECT_EQ(List(dic, u"w1", 51).front(), "w100");
}

TEST_F(SortedSearch, IndexGivesDistinctWholeStems) {
  const auto dic = Build(Words({"ab", "abc", "abcd", "Abd", "ab-x", "ab.y", "ab z", "abe", "abee", "abf", "zoo"}));
  // L + DL = 3: stems of three characters, none of the short or punctuated ones.
  EXPECT_EQ(List(dic, u"a", 20, true, 2), (std::vector<std::string>{"abc", "abd", "abe", "abf"}));
  // Sampled with a step: about Limit stems spread over the run.
  std::string many;
  for (char c = 'a'; c <= 'z'; ++c) {
    for (char d = 'a'; d <= 'z'; ++d) many += std::string("W\t1\tk") + c + d + "x\n";
  }
  const auto big = Build(many + "W\t1\tzoo\n", "big_full.dic");
  const auto stems = List(big, u"k", 26, true, 1);
  EXPECT_GE(stems.size(), 20u);
  EXPECT_LE(stems.size(), 26u);
  EXPECT_EQ(stems.front(), "ka");
  EXPECT_EQ(stems.back(), "ky");  // "kz..." lies beyond the run's bound "kz"
}

TEST_F(SortedSearch, DirectionFilterLeavesOutTheOtherSide) {
  auto dic = Build(Info("SupportDirection=1\n") + Words({"haus", "hand", "zoo"}) + Words({"hafen", "hals"}, 2));
  ASSERT_TRUE(dic->SupportDirection);
  EXPECT_EQ(List(dic, u"ha", 50).size(), 4u);
  dic->Direction(2);
  EXPECT_EQ(List(dic, u"ha", 50), (std::vector<std::string>{"hafen", "hals"}));
  dic->Direction(1);
  EXPECT_EQ(List(dic, u"ha", 50), (std::vector<std::string>{"hand", "haus"}));
  dic->SupportDirection = false;
  EXPECT_EQ(List(dic, u"ha", 50).size(), 4u);
}

TEST_F(SortedSearch, ListAbortFromAPumpedMessageStopsAtTheNextHundred) {
  std::string source;
  for (int i = 1000; i < 1500; ++i) source += "W\t1\tw" + std::to_string(i) + "\n";
  source += "W\t1\tzoo\n";
  const auto dic = Build(source);
  auto pump = std::make_shared<testing::FakePump>();
  testing::ScopedPump scoped(pump);
  std::vector<WordRec> ret;
  std::int32_t count = 0;
  EXPECT_FALSE(app.FindSorted(u"w", ret, 1000, true, dic, false, 0, true, count));
  EXPECT_EQ(count, 500);
  EXPECT_GT(pump->doEvents, 0);
  // A key typed while the walk pumps at word 0 is seen at word 100.
  pump->doEvents = 0;
  pump->onDoEvents = [this, counter = &pump->doEvents] { app.State.gListAbort = *counter >= 2; };
  EXPECT_FALSE(app.FindSorted(u"w", ret, 1000, true, dic, false, 0, true, count));
  EXPECT_EQ(count, 100);
  EXPECT_EQ(static_cast<std::size_t>(count), ret.size());  // the words appended so far stay
}

TEST(RecordSorts, QuicksortsOrderByTheirKeys) {
  std::vector<TransLink> links(5);
  const std::int32_t recNos[] = {kTransW2RecNo + 2, 7, 3, kTransW2RecNo, 3};
  for (int i = 0; i < 5; ++i) links[static_cast<std::size_t>(i)].RecNo = recNos[i];
  Appl::SortRecs(links, 0, -1);  // an empty range does nothing
  EXPECT_EQ(links[0].RecNo, kTransW2RecNo + 2);
  Appl::SortRecs(links, 1, 4);
  EXPECT_EQ(links[0].RecNo, kTransW2RecNo + 2);
  EXPECT_EQ(links[1].RecNo, 3);
  EXPECT_EQ(links[4].RecNo, kTransW2RecNo);

  std::vector<WordRec> words(4);
  const char16_t* texts[] = {u"Banane", u"apfel", u"Zitrone", u"Äpfel"};
  for (int i = 0; i < 4; ++i) {
    words[static_cast<std::size_t>(i)].Text = texts[i];
    words[static_cast<std::size_t>(i)].Key = 4 - i;
  }
  Appl::SortRecsByText(words, 0, 3);
  EXPECT_EQ(testing::Texts(words), (std::vector<std::string>{"apfel", "Banane", "Zitrone", "Äpfel"}));
  Appl::SortByKey(words, 0, 3);
  EXPECT_EQ(words[0].Key, 1);
  EXPECT_EQ(words[3].Key, 4);
}

}  // namespace
}  // namespace parlavent
