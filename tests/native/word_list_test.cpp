// Word lists in the output box: the typing list and its link to the all list, the all list, the
// phrase search, the typed-text guard and the info line.
#include <gtest/gtest.h>

#include "app/view_history.h"
#include "app/word_list.h"
#include "dictionary/dictionary.h"
#include "support/list_fixture.h"

namespace parlavent {
namespace {

class WordList : public testing::ListTest {
 protected:
  void Type(std::u16string_view text) {
    app.State.gUserTyped = true;
    app.FillWordList(text, 50, true, false, 2);
  }
};

TEST_F(WordList, TypingListEndsInALinkToTheAllListWhenMoreExist) {
  Load(Numbered("w", 51));
  Type(u"w");  // one character: nothing
  EXPECT_TRUE(host->output->text.empty());
  app.ShowList(u"w0");
  EXPECT_EQ(host->input->text, u"w0");
  auto lines = OutputLines();
  ASSERT_EQ(lines.size(), 52u);  // 50 words, the link, and the empty rest after the last break
  EXPECT_EQ(lines[0], "w0000 ");
  EXPECT_EQ(lines[49], "w0049 ");
  EXPECT_EQ(lines[50], "t202 ");  // the link's caption
  ASSERT_FALSE(host->links.Links.empty());
  EXPECT_EQ(ToUtf8(host->links.Links.back()->Prefix + u"-" + host->links.Links.back()->Link), "ALLLIST-w0");
  EXPECT_EQ(host->links.Links.back()->Color, 808080);
  EXPECT_EQ(host->info.back(), "t129 50 t130");
  EXPECT_EQ(ToUtf8(app.State.gListKind + u":" + app.State.gListArg), "List:w0");
  EXPECT_EQ(app.History().UndoCol.front()->Mode, u"List");
  EXPECT_EQ(host->output->selStart, 0);
  EXPECT_EQ(host->output->selLength, 6);  // the first line selected
  EXPECT_TRUE(host->output->focused);
  EXPECT_TRUE(app.State.gUserTyped);
  EXPECT_EQ(app.OutPutMode, 0);
}

TEST_F(WordList, ExactlyTheLimitShowsNoLink) {
  Load(Numbered("w", 50));
  Type(u"w0");
  const auto lines = OutputLines();
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_EQ(lines[49], "w0049");
  EXPECT_EQ(host->info.back(), "50 t130");
  // Every line is a "List" link of its own word.
  EXPECT_EQ(host->links.DefLink->Prefix, u"List");
  EXPECT_TRUE(host->links.AutoLink);
  EXPECT_EQ(host->output->Text().substr(0, 5), u"w0000");
}

TEST_F(WordList, TheCountTakesTheWordFormItsNumberNeeds) {
  const auto info = [this](std::size_t n) {
    return ToUtf8(MakeWordListPage(app, u"w", std::vector<std::u16string>(n, u"w"), 3000, false).Info);
  };
  EXPECT_EQ(info(1), "1 t340");
  EXPECT_EQ(info(21), "21 t341");
  EXPECT_EQ(info(23), "23 t342");
  for (std::size_t n : {5u, 11u, 12u, 14u, 111u}) EXPECT_EQ(info(n), std::to_string(n) + " t130");
  app.State.gLangTable[340].clear();  // a table without the entry
  EXPECT_EQ(info(1), "1 t130");
}

TEST_F(WordList, AllListShowsEverythingAndOpensAtLine51) {
  Load(Numbered("a", 3001));
  app.State.gUserTyped = true;
  app.ShowAllList(u"a");
  const auto lines = OutputLines();
  ASSERT_EQ(lines.size(), 3002u);
  EXPECT_EQ(lines[3000], "a3000");
  EXPECT_EQ(host->info.back(), "t129 3000 t130");
  const std::int32_t line51 = 50 * 8;  // "a0000 \r\n" per line
  EXPECT_EQ(host->output->selStart, line51);
  EXPECT_EQ(host->output->selLength, 6);
  EXPECT_EQ(app.History().UndoCol.front()->Mode, u"AllList");
  EXPECT_EQ(app.State.gListKind, u"AllList");
}

TEST_F(WordList, AllListWaitsForTyping) {
  Load(Numbered("a", 3));
  app.State.gUserTyped = false;
  app.ShowAllList(u"a");
  EXPECT_TRUE(host->output->text.empty());
}

TEST_F(WordList, TextsOfSeveralWordsFallThroughToThePhraseSearch) {
  Load(Words({"big dog", "big red dog", "bigger doggy house", "dog big", "red big", "big big cat", "zz"}));
  const std::vector<std::string> expected = {"big dog", "big red dog", "bigger doggy house", "dog big"};
  Type(u"bi x do");  // "x" is too short to count
  auto lines = OutputLines();
  lines.pop_back();
  for (auto& l : lines) l = l.substr(0, l.find_last_not_of(' ') + 1);
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(host->info.back(), "4 t342");
  // A repeated word needs a second word of the entry.
  EXPECT_EQ(app.GetListExt(u"big big ca"), (std::vector<std::u16string>{u"big big cat"}));
  std::u16string searched;
  EXPECT_EQ(app.GetListExt(u"big cat", &searched).size(), 1u);
  EXPECT_EQ(searched, u"big cat");
  // One word is no phrase: no earlier result comes back for it.
  EXPECT_TRUE(app.GetListExt(u"big").empty());
}

TEST_F(WordList, InfoLineTellsTheDirectionOrThatNothingWasFound) {
  auto dic = Load(Words({"haus", "hund", "zz"}) + Words({"привет"}, 2));
  dic->Layout1 = 1033;
  dic->Layout2 = 1049;
  app.Sett->TrlMode = 1;
  // The wrong-layout notice only for a word the other layout finds: not for a word found in
  // neither, nor for a pasted text the list did not find.
  for (const std::u16string_view text : {u"xq", u"ghbdtn vbh, ghbdtn", u"ghbdtn,ghbdtn"}) {
    host->info.clear();
    host->input->SetText(text);
    Type(text);
    EXPECT_TRUE(host->output->text.empty());
    EXPECT_TRUE(host->info.empty() || host->info.back() != "t127") << ToUtf8(text);
  }
  host->input->SetText(u"ghbdtn");
  Type(u"ghbdtn");
  EXPECT_TRUE(host->output->text.empty());
  EXPECT_EQ(host->info.back(), "t127");

  auto src = std::make_shared<clsDicSrc>();
  src->Language1 = u"Deutsch";
  dic->Srcs->Add(u"k0", src);
  dic->SupportDirection = true;
  dic->Direction(1);
  Type(u"ha");
  EXPECT_EQ(host->info.back(), "t133 Deutsch. t135");
}

}  // namespace
}  // namespace parlavent

namespace parlavent {
namespace {

TEST_F(WordList, APhraseSearchKeepsTheHourglassAndTheEscGuardUntilTheListIsShown) {
  Load(Words({"big dog", "big red dog", "zz"}));
  Type(u"bi do");
  ASSERT_FALSE(OutputLines().empty());
  // One hourglass for the fill, one for the search; only the fill's end takes it away.
  EXPECT_EQ(host->Calls("Wait"), (std::vector<std::string>{"Wait 1", "Wait 1", "Wait 0"}));
  // The Esc that stopped the search must not hide the window: the flag stays for the timer.
  EXPECT_TRUE(app.State.gEscUsed);
  EXPECT_EQ(host->Calls("EscUsedTimer").size(), 1u);
}

TEST_F(WordList, AFillAbandonedForATranslationLeavesTheTypedFlagToIt) {
  Load(Words({"big dog", "big red dog", "zz"}));
  // A translation starts while the phrase search pumps messages.
  auto events = std::make_shared<testing::FakePump>();
  events->onDoEvents = [this] { app.State.gFillAbort = true; };
  testing::ScopedPump scoped{events};
  Type(u"bi do");
  EXPECT_FALSE(app.State.gUserTyped);
  EXPECT_EQ(host->Calls("Wait").back(), "Wait 0");
}

}  // namespace
}  // namespace parlavent
