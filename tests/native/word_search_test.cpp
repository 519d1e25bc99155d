// FindWord through the hash index, ReadWordRec and the public wrappers, on packages the builder
// makes for each case.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/application.h"
#include "platform/code_page.h"
#include "support/fake_system.h"
#include "native/search_fixture.h"

namespace parlavent {
namespace {

using testing::SearchTest;

// Two words with one key, found by a birthday search over five-letter strings.
constexpr const char* kCollisionA = "uxzn";
constexpr const char* kCollisionB = "ajfob";

class WordSearch : public SearchTest {};

TEST_F(WordSearch, TheCollisionPairSharesOneKey) {
  EXPECT_EQ(testing::UnicodeKey(FromUtf8(kCollisionA)), testing::UnicodeKey(FromUtf8(kCollisionB)));
}

TEST_F(WordSearch, SameTextOnBothSidesGivesSideThreeAndBothRecords) {
  const auto dic = Build("W\t1\tHaus\nW\t1\tBaum\nW\t2\tHaus\nL\tBaum\tдерево\n");
  std::vector<WordRec> ret(5);
  EXPECT_EQ(app.FindWord(u"haus", ret, *dic), 3);
  ASSERT_EQ(ret.size(), 2u);  // earlier contents dropped
  EXPECT_EQ(ret[0].ID, 1);
  EXPECT_EQ(ret[0].Dir, 1);
  EXPECT_EQ(ret[1].ID, 3);
  EXPECT_EQ(ret[1].Dir, 2);
  EXPECT_EQ(ret[1].Text, u"Haus");
  EXPECT_EQ(ret[1].Index, 1);
}

TEST_F(WordSearch, CollidingWordsAreTellApartByText) {
  const auto dic = Build(std::string("W\t1\t") + kCollisionA + "\nW\t2\t" + kCollisionB + "\nW\t1\tzzz\n");
  std::vector<WordRec> ret;
  EXPECT_EQ(app.FindWord(FromUtf8(kCollisionB), ret, *dic), 2);
  ASSERT_EQ(ret.size(), 1u);
  EXPECT_EQ(ret[0].ID, 2);
  EXPECT_EQ(app.FindWord(FromUtf8(kCollisionA), ret, *dic), 1);
  ASSERT_EQ(ret.size(), 1u);
  EXPECT_EQ(ret[0].ID, 1);
  // Without reading texts, a colliding record counts: both exist, and so would any third word
  // of the same key.
  EXPECT_TRUE(app.WordExist(FromUtf8(kCollisionA), *dic));
  EXPECT_TRUE(app.WordExist(FromUtf8(kCollisionB), *dic));
  EXPECT_FALSE(app.WordExist(u"nothere", *dic));
}

TEST_F(WordSearch, ModesAnswerWithoutFillingRet) {
  const auto dic = Build("W\t2\tHaus\nW\t1\tBaum\n");
  std::vector<WordRec> ret(1);
  ret[0].ID = 77;
  EXPECT_EQ(app.FindWord(u"Haus", ret, *dic, true), 2);
  EXPECT_EQ(app.FindWord(u"HAUS", ret, *dic, false, true), -1);
  EXPECT_EQ(app.FindWord(u"Hau", ret, *dic), 0);
  ASSERT_EQ(ret.size(), 1u);
  EXPECT_EQ(ret[0].ID, 77);
}

// Every word of a dictionary is found, whatever the sides put at the ends of the hash index: a
// negative first or last key, and runs of equal keys that reach either end.
struct Layout {
  const char* name;
  int (*side)(int i, double key, double minKey);
  bool bothSides;
};

class EveryWordFound : public SearchTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(EveryWordFound, WithItsSideAndID) {
  std::vector<std::u16string> words;
  for (int i = 0; i < 300; ++i) words.push_back(u"w" + NumberText(i * 7919 % 1000));
  double minKey = 1e300;
  for (const auto& w : words) minKey = std::min(minKey, testing::UnicodeKey(w));
  std::string source;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const int side = GetParam().side(static_cast<int>(i), testing::UnicodeKey(words[i]), minKey);
    source += "W\t" + std::to_string(side) + "\t" + ToUtf8(words[i]) + "\n";
  }
  if (GetParam().bothSides) {
    for (const auto& w : words) source += "W\t2\t" + ToUtf8(w) + "\n";
  }
  const auto dic = Build(source);
  ASSERT_EQ(dic->WordsHashUB + 1, dic->Words);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::vector<WordRec> ret;
    const int side = GetParam().side(static_cast<int>(i), testing::UnicodeKey(words[i]), minKey);
    const std::int32_t got = app.FindWord(UCase(words[i]), ret, *dic);
    ASSERT_EQ(got, GetParam().bothSides ? 3 : side) << ToUtf8(words[i]);
    EXPECT_EQ(ret[0].ID, static_cast<std::int32_t>(i) + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EveryWordFound,
    ::testing::Values(Layout{"AllSideOne", [](int, double, double) { return 1; }, false},
                      Layout{"AllSideTwo", [](int, double, double) { return 2; }, false},
                      Layout{"Alternating", [](int i, double, double) { return 1 + i % 2; }, false},
                      Layout{"NegativeFirstKey", [](int, double k, double m) { return k == m ? 2 : 1; }, false},
                      Layout{"EveryWordOnBothSides", [](int, double, double) { return 1; }, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WordSearch, ReadWordRecOutsideTheWordsIsEmpty) {
  const auto dic = Build("W\t1\tHaus\nW\t2\tдом\n");
  EXPECT_EQ(app.ReadWordRec(0, *dic).ID, 0);
  EXPECT_EQ(app.ReadWordRec(3, *dic).ID, 0);
  EXPECT_EQ(app.ReadWordRec(-1, *dic).ID, 0);
  const WordRec r = app.ReadWordRec(2, *dic);
  EXPECT_EQ(r.Text, u"дом");
  EXPECT_EQ(r.Dir, 2);
  std::int32_t dir = 0;
  EXPECT_EQ(app.GetWordStrByID(1, nullptr, &dir), u"Haus");  // the current dictionary
  EXPECT_EQ(dir, 1);
  EXPECT_EQ(app.GetWordStrByID(9, dic, &dir), u"");
}

TEST_F(WordSearch, AnsiPackageReadsThroughTheCodePage) {
  const auto dic = Build("W\t2\tдом\nW\t1\tHaus\n", "test_full.dic", false);
  ASSERT_FALSE(dic->Unicode);
  std::vector<WordRec> ret;
  EXPECT_EQ(app.FindWord(u"ДОМ", ret, *dic), 2);
  ASSERT_EQ(ret.size(), 1u);
  EXPECT_EQ(ret[0].Text, u"дом");  // bytes E4 EE EC of windows-1251, not Latin-1
  EXPECT_FALSE(app.State.gUnicode);
  EXPECT_EQ(Appl::GetByteStr({0xE4, 0x41}), u"дA");
  // Bytes that the code page maps one to one come back unchanged.
  EXPECT_EQ(Appl::GetCurCharSetString(u"ab\u0441"), u"ab\u0441");
  EXPECT_EQ(Appl::GetCurCharSetString(u""), u"");
}

// A double-byte system code page: a byte from 0x81 joins the byte after it into one character.
class PairingCodePage final : public CodePage {
 public:
  unsigned Id() const override { return 932; }
  std::u16string Decode(std::string_view bytes) const override {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<std::uint8_t>(bytes[i]);
      if (b >= 0x81 && i + 1 < bytes.size()) {
        out.push_back(static_cast<char16_t>(0x4E00 + static_cast<std::uint8_t>(bytes[++i])));
      } else {
        out.push_back(b < 0x80 ? b : static_cast<char16_t>(0xFF00 + b - 0x80));
      }
    }
    return out;
  }
  std::string Encode(std::u16string_view text, bool* lossless) const override {
    if (lossless) *lossless = true;
    return std::string(text.size(), '?');
  }
};

TEST(SectionTextTest, EightBitTextIsOneCharacterPerByteUnderADoubleByteCodePage) {
  SetAnsiCodePage(std::make_shared<PairingCodePage>());
  const std::u16string text = Appl::GetByteStr({0x41, 0x82, 0x42, 0x43});
  SetAnsiCodePage(nullptr);
  EXPECT_EQ(text, u"A\uFF02BC");
}

TEST_F(WordSearch, DoEventPumpsBeforeProbes) {
  const auto dic = Build("W\t1\ta\nW\t1\tb\nW\t1\tc\n");
  auto pump = std::make_shared<testing::FakePump>();
  testing::ScopedPump scoped(pump);
  std::vector<WordRec> ret;
  EXPECT_EQ(app.FindWord(u"b", ret, *dic), 1);
  EXPECT_EQ(pump->doEvents, 0);
  EXPECT_EQ(app.FindWord(u"b", ret, *dic, false, false, true), 1);
  EXPECT_GT(pump->doEvents, 0);
}

// Offsets of a damaged package that lead outside their sections, or keys out of order, are found
// by the first search that reads them: it answers nothing, and so does every later search of the
// package, however whole the records it would read.
TEST_F(WordSearch, WildOffsetsAndKeysFindThePackageDamaged) {
  auto dic = Build("W\t1\tHaus\nW\t2\tдом\nW\t1\tBaum\n");
  const std::int32_t words = dic->bsWords, hash = dic->bsWordsHash;
  const std::int32_t hashUB = dic->WordsHashUB;
  PatchI32(words, 8, -2);  // word 2 ends before it begins, word 3 begins in the offset table
  dic = Reopen();
  std::vector<WordRec> ret;
  EXPECT_EQ(app.FindWord(u"Haus", ret, *dic), 1);
  EXPECT_FALSE(dic->Damaged());
  EXPECT_EQ(app.FindWord(u"дом", ret, *dic), 0);
  EXPECT_TRUE(dic->Damaged());
  ret.clear();
  EXPECT_EQ(app.FindWord(u"Haus", ret, *dic), 0);
  EXPECT_TRUE(ret.empty());
  EXPECT_EQ(app.ReadWordRec(1, *dic).ID, 0);

  PatchI32(words, 0, 1 << 30);  // word 1 begins far beyond the section
  dic = Reopen();
  EXPECT_EQ(app.FindWord(u"Haus", ret, *dic, true), 1);  // the hash alone still matches
  EXPECT_EQ(app.FindWord(u"Haus", ret, *dic), 0);
  EXPECT_TRUE(dic->Damaged());

  dic = Build("W\t1\tHaus\nW\t2\tдом\nW\t1\tBaum\n");
  for (std::int32_t r = 0; r <= hashUB; ++r) PatchI32(hash, 12 * r + 8, 0x7FFFFFFF);  // IDs beyond Words
  dic = Reopen();
  EXPECT_TRUE(app.WordExist(u"Baum", *dic));
  EXPECT_EQ(app.FindWord(u"Baum", ret, *dic), 0);
  EXPECT_FALSE(app.WordExist(u"Baum", *dic));

  // Keys zeroed behind the first: no probe finds a key.
  dic = Build("W\t1\tHaus\nW\t2\tдом\nW\t1\tBaum\nW\t1\tAal\n");
  for (std::int32_t r = 1; r <= dic->WordsHashUB; ++r) {
    PatchI32(hash, 12 * r, 0);
    PatchI32(hash, 12 * r + 4, 0);
  }
  dic = Reopen();
  EXPECT_EQ(app.FindWord(u"Baum", ret, *dic) + app.FindWord(u"Haus", ret, *dic) + app.FindWord(u"Aal", ret, *dic), 0);
  EXPECT_TRUE(dic->Damaged());
}

}  // namespace
}  // namespace parlavent
