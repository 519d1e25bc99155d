// The alphabet index: the alphabet view's rows and side switch, the letter view with its words
// and the link to the all list, and the single letter.
#include <gtest/gtest.h>

#include "app/view_history.h"
#include "dictionary/dictionary.h"
#include "support/list_fixture.h"

namespace parlavent {
namespace {

class Alphabet : public testing::ListTest {
 protected:
  void SetUp() override {
    dic = Load(Numbered("ab", 60));
    dic->Lang1 = u"EN";
    dic->Lang2 = u"RU";
    auto src = std::make_shared<clsDicSrc>();
    src->Language1 = u"English";
    src->Language2 = u"Russian";
    dic->Srcs->Add(u"k0", src);
    app.State.colABC.Add(u"EN", u"a b c d e f g h i j k l m n o p q r s t u v w x y z");
    app.State.colABC.Add(u"RU", u"а б в");
    app.Sett->TextLink = u"||U 1";
  }
  std::vector<std::string> Captions(std::u16string_view prefix) {
    std::vector<std::string> found;
    for (const auto& l : host->links.Links) {
      if (l->Prefix == prefix) found.push_back(ToUtf8(l->Caption + u"=" + l->Link));
    }
    return found;
  }
  std::shared_ptr<clsDic> dic;
};

TEST_F(Alphabet, AlphabetViewRowsOfSevenAndTheSwitchLink) {
  app.ShowABC();
  const auto letters = Captions(u"abc");
  ASSERT_EQ(letters.size(), 26u);
  EXPECT_EQ(letters[0], "-A-=A");
  const std::u16string text = host->output->text;
  EXPECT_EQ(text.substr(0, 24), u"\r\n\r\nENGLISH T200\r\n\r\n -A-");
  // Four rows: 7, 7, 7 and 5 letters, each row after a blank line.
  const auto rows = SplitText(text, u"\r\n\r\n");
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(SplitText(Trim(rows[2]), u"  ").size(), 7u);
  EXPECT_EQ(SplitText(Trim(rows[5]), u"  ").size(), 5u);
  EXPECT_EQ(Trim(rows[6]), u"russian t200");
  ASSERT_EQ(host->links.Links.back()->Prefix, u"abcredir");
  EXPECT_EQ(app.State.gSpeakTarget, 3);
  EXPECT_EQ(app.OutPutMode, 1);
  EXPECT_TRUE(host->output->visible && host->output->focused);
  EXPECT_EQ(host->Calls("HideCaret").size(), 1u);
  EXPECT_EQ(host->input->text, u"");
  EXPECT_EQ(app.History().UndoCol.front()->Mode, u"ABC");
  EXPECT_TRUE(host->output->formats[5].bold);
  EXPECT_EQ(host->output->formats[5].font, u"Times New Roman");

  app.State.gCurABC = 2;
  app.ShowABC();
  EXPECT_EQ(Captions(u"abc"), (std::vector<std::string>{"-А-=А", "-Б-=Б", "-В-=В"}));
  EXPECT_EQ(Trim(SplitText(host->output->text, u"\r\n\r\n").back()), u"english t200");
  EXPECT_EQ(host->links.Links[0]->Dir, 2);
}

TEST_F(Alphabet, LetterViewListsTheWordsAndLinksToTheAllList) {
  app.ShowABC(u"ab");
  const auto row = Captions(u"abc");
  ASSERT_EQ(row.size(), 26u);
  EXPECT_EQ(row[0], "A =abA");
  const auto words = Captions(u"LIST");
  ASSERT_EQ(words.size(), 51u);
  EXPECT_EQ(words[0], "ab0000=ab0000");
  EXPECT_EQ(Captions(u"ALLLIST"), (std::vector<std::string>{"t202=ab"}));
  EXPECT_TRUE(host->links.Links.back()->Underline);  // the TextLink options
  const auto lines = SplitText(host->output->text, u"\r\n");
  EXPECT_EQ(lines[0], u"AB");
  EXPECT_EQ(lines[3], u"W X Y Z ");  // two full rows of 11 letters and a last of 4
  EXPECT_EQ(lines[4], u"");
  EXPECT_EQ(lines[5], u"ab0000 ");
  // Heading 12 bold, row bold, words plain in the window-text colour, the link left alone.
  const auto& f = host->output->formats;
  EXPECT_EQ(f[0].size, 12);
  EXPECT_TRUE(f[4].bold);
  const std::size_t firstWord = host->output->text.find(u"ab0000");
  EXPECT_FALSE(f[firstWord].bold);
  EXPECT_EQ(f[firstWord].color, 0x80000008u);
  EXPECT_NE(f[host->output->text.find(u"t202")].color, 0x80000008u);
  EXPECT_EQ(host->Calls("BackTrans ab0000"), (std::vector<std::string>{"BackTrans ab0000 1"}));
  EXPECT_EQ(ToUtf8(app.State.gListKind + u":" + app.State.gListArg), "abc:ab");
}

TEST_F(Alphabet, NoDictionaryOnlyClearsTheBackTranslation) {
  app.ColDics.Clear();
  app.ShowABC();
  EXPECT_EQ(host->calls, (std::vector<std::string>{"BackTrans  0"}));
  EXPECT_TRUE(app.History().UndoCol.empty());
}

TEST_F(Alphabet, SingleLetter) {
  host->boxWidth = 300;
  app.ShowLit(u"ab");
  EXPECT_TRUE(host->output->text.empty());
  app.ShowLit(u"q");
  EXPECT_EQ(host->output->text, u"\r\n\r\nQ q");
  EXPECT_EQ(Captions(u"lit"), (std::vector<std::string>{"Q q=q"}));
  EXPECT_EQ(host->output->formats[4].size, 40);  // the smaller side, 100 pixels, / 2.5
  EXPECT_EQ(app.History().UndoCol.front()->Mode, u"ShowLit");
}

}  // namespace
}  // namespace parlavent
