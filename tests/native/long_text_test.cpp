// Texts far longer than anything the dictionary holds, as a paste or a selection gives them: the
// look-up and the word list finish (at the sizes that used to keep the program busy for minutes)
// and answer what they answer for the part of the text that can match.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/engine_operations.h"
#include "dictionary/lookup.h"
#include "dictionary/result_tree.h"
#include "dictionary/sections.h"
#include "support/list_fixture.h"
#include "support/lookup_fixture.h"
#include "text/text.h"

namespace parlavent {
namespace {

const char* const kSource =
    "@member Info\n[Main]\nShortName=T\nLang1=de\nLang2=ru\n@end\n"
    "@member Replace\nen\t,e\ner\t,e\n@end\n"
    "L\tHaus\tдом\n"
    "L\tTür\tдверь\n"
    "L\tein bisschen\tнемного\n"
    "L\tbisschen\tчуть-чуть\n"
    "L\tgut\tхорошо\n";

std::u16string Repeat(std::u16string_view unit, std::size_t times) {
  std::u16string text;
  text.reserve(unit.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += unit;
  return text;
}

class LongText : public testing::LookupTest {
 protected:
  void SetUp() override { ASSERT_TRUE(UseDic(kSource)); }
  std::u16string Phrase(std::u16string_view text) { return app.GetWordsTree(text, 1, app.Dic); }
};

TEST_F(LongText, LongestTextIsTheLongestEntry) {
  // Asked up to a length, the bound reads on from where the last question stopped: every answer,
  // and the whole bound after them, as one read of all the words gives it ("ein bisschen").
  for (const std::int64_t upTo : {0, 1, 4, 5, 12, 3, 13, 100}) {
    EXPECT_EQ(LongestText(app, *app.Dic, upTo), std::min<std::int64_t>(upTo, 12)) << upTo;
  }
  EXPECT_EQ(LongestText(app, *app.Dic), 12);
}

TEST_F(LongText, OneLongWordIsNotSplitAndFindsNothing) {
  // 100,000 letters without a break, in one case and in mixed case (a base64 block).
  for (const std::u16string& word : {Repeat(u"hausx", 20000), Repeat(u"QUJD", 25000), Repeat(u"a", 100000) + u"haus"}) {
    EXPECT_EQ(Look(word), 0);
    EXPECT_EQ(Heads().size(), word.size());  // the word itself, untranslated
  }
}

TEST_F(LongText, CompoundsWithinReachAreStillSplit) {
  EXPECT_GT(Look(u"Haustür"), 0);
  EXPECT_EQ(inText, u"Haus tür");
  // Parts up to the longest entry plus a ten-letter ending are tried; past that no cut can match.
  EXPECT_GT(Look(u"Hausbisschener"), 0);
  EXPECT_EQ(inText, u"Haus bisschener");
  EXPECT_EQ(Look(u"Haus" + Repeat(u"q", 40)), 0);
}

TEST_F(LongText, ManyWordsAreCutToEight) {
  EXPECT_GT(Look(Repeat(u"Haus ", 20000)), 0);
  EXPECT_EQ(Heads(), u"Haus");
  EXPECT_EQ(inText, Repeat(u"Haus ", 8));
}

TEST_F(LongText, HyphensDashesControlsAndDigits) {
  // Every word of a hyphenated chain is a pass of its own.
  EXPECT_GT(Look(Repeat(u"Haus-", 20000)), 0);
  EXPECT_EQ(Heads(), u"Haus");
  EXPECT_EQ(Look(Repeat(u"-", 100000)), 0);
  EXPECT_GT(Look(Repeat(u"Haus\x01", 20000)), 0);  // control characters part words
  EXPECT_EQ(inText, Repeat(u"Haus ", 8));
  EXPECT_EQ(Look(Repeat(u"a1", 50000)), 0);
  EXPECT_EQ(Look(Repeat(u"\r\n", 50000)), 0);
  TranslateArgs full;
  full.FullText = true;
  TranslateArgs common;
  common.Tochno = true;
  EXPECT_EQ(Look(Repeat(u"Haus, ", 15999) + u"Haus", common), 0);  // 16,000 items, each gathered
  EXPECT_EQ((*app.WordSet->Words.ItemAt(1))->RechSet.Count(), 1u) << "\"Haus\" has its translation";
  const std::u16string page = Repeat(u"guten Tag ", 10000);
  Look(page, full);  // the whole text is the one phrase; no entry has it
  EXPECT_EQ(Heads(), Trim(page));
  EXPECT_EQ((*app.WordSet->Words.ItemAt(1))->RechSet.Count(), 0u);
}

TEST_F(LongText, PhraseSearchLooksOnlyAsFarAsAPhraseCanReach) {
  const std::u16string tail = Repeat(u"x", 100000);
  EXPECT_EQ(Phrase(u"ein bisschen gut " + tail), u"ein bisschen");
  EXPECT_EQ(Phrase(u"ein bisschen-" + tail), u"ein bisschen");
  EXPECT_EQ(Phrase(u"Hausen " + tail), u"Haus");  // an ending rule, with a long text behind
  EXPECT_EQ(Phrase(tail + u" Haus"), u"");
  EXPECT_EQ(Phrase(Repeat(u"ein-", 30000)), u"");
}

class LongList : public testing::ListTest {};

TEST_F(LongList, PhraseSearchOfAPastedPage) {
  Load(Words({"big dog", "big red dog", "dog big", "big big cat", "zz"}));
  // Twenty thousand words: one word typed again and again needs a later word of the entry.
  EXPECT_EQ(app.GetListExt(Repeat(u"big ", 20000)), (std::vector<std::u16string>{u"big big cat"}));
  app.ListCache = {};
  // More different words than the longest entry has characters: nothing is searched.
  std::u16string many;
  for (int i = 0; i < 20000; ++i) many += u"w" + NumberText(i) + u" ";
  EXPECT_TRUE(app.GetListExt(many).empty());
  EXPECT_TRUE(app.GetListExt(u"bi " + Repeat(u"d", 100000)).empty());
  // Repeats within what an entry can hold still count as before.
  EXPECT_EQ(app.GetListExt(u"big big ca"), (std::vector<std::u16string>{u"big big cat"}));
  const std::vector<std::u16string> both = {u"dog big", u"big dog", u"big red dog"};
  EXPECT_EQ(app.GetListExt(u"do bi"), both);
  EXPECT_EQ(app.GetListExt(u"DO BI"), both);
  // "dog big" begins with the first "do", but has no later word for the second.
  EXPECT_EQ(app.GetListExt(u"do bi do"), (std::vector<std::u16string>{u"big dog", u"big red dog"}));
}

TEST_F(LongList, TypingListOfALongWord) {
  Load(Numbered("ha", 60));
  app.State.gUserTyped = true;
  app.FillWordList(Repeat(u"ha", 50000), 50, true, false, 2);
  EXPECT_EQ(host->output->text, u"");
}

}  // namespace
}  // namespace parlavent
