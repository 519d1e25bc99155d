// The look-up on a small built dictionary: phrase cutting, endings, hyphens, the driver's
// cleaning, reuse, abandoning, the direction check, compounds and the common-translation list.
#include "dictionary/lookup.h"

#include <gtest/gtest.h>

#include "dictionary/phrases.h"
#include "foundation/voice.h"
#include "platform/random.h"
#include "support/lookup_fixture.h"
#include "text/text.h"

namespace parlavent {
namespace {

const char* const kSource =
    "@member Info\n[Main]\nShortName=T\nLang1=de\nLang2=ru\nSupportDirection=1\n@end\n"
    "@member Replace\nen\t,e\ner\t,e\n@end\n"
    "@member Themes\n1\tBauwesen\tBau\n@end\n"
    "L\tHaus\tдом\t\t\t1\tGebäude\n"
    "L\tHaus\tздание\n"
    "L\tGebäude\tздание\n"
    "L\tGebäude\tстроение\n"
    "L\tein bisschen\tнемного\n"
    "L\tbisschen\tчуть-чуть\n"
    "L\tgut\tхорошо\n"
    "L\tTür\tдверь\n"
    "L\tHaus-Tür\tдверь дома\n"
    "L\twell known fact\tизвестный факт\n"
    "L\tKind\tребёнок\n"
    "L\tget\tполучать\n"
    "L\tvalue\tзначение\n"
    "L\tOK\tOK\n"
    "L\tja!\tда!\n"
    "L\tja\tда\n"
    "L\t12\tдвенадцать\n"
    "L\tvon - bis\tот - до\n"
    "L\tNord-Ost Wind\tсеверо-восточный ветер\n";

class LookupDriver : public testing::LookupTest {
 protected:
  void SetUp() override { ASSERT_TRUE(UseDic(kSource)); }
};

TEST(SplitWordsTest, PunctuationDigitsAndKeptMarks) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"abc123def", u"abc 123 def"},
      {u"a1b2", u"a 1 b 2"},
      {u"and/or", u"and or"},
      {u"it's well-known!?", u"it's well-known!?"},
      {u"(x)=\"y\"\t_z", u" x   y   z"},
      {u"a\x1F" u"b\x7F", u"a b\x7F"},  // control characters are those below 32
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitWords(c.in), c.out) << ToUtf8(c.in);
}

TEST_F(LookupDriver, PhrasesEndingsAndHyphens) {
  const struct {
    std::u16string_view text, phrase;
  } cases[] = {
      {u"ein bisschen gut", u"ein bisschen"},          // growth through a phrase beginning
      {u"von - bis", u"von - bis"},                    // the whole text first: no growth reaches it
      {u"ein gut", u""},                               // "ein " begins an entry, "ein" is none
      {u"well-known fact", u"well known fact"},        // the hyphen read as a blank
      {u"Haus Tür", u"Haus-Tür"},                      // a blank read as a hyphen
      {u"Nord-Ost Wind heute", u"Nord-Ost Wind"},      // the hyphens of the text kept (B form)
      {u"Kinder", u"Kind"},                            // ending rule er -> ""
      {u"Kinder!", u"Kind"},                           // the mark tried first, then without it
      {u"ja!", u"ja!"},
      {u"gut!", u"gut"},                               // no rule: the word without its mark
      {u"ein !", u""},                                 // a lone mark is no final mark
      {u"Kinder gut", u"Kind"},                        // an ending replaced before a word that follows
      {u"Häuser", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(app.GetWordsTree(c.text, 1, app.Dic), c.phrase) << ToUtf8(c.text);
}

TEST_F(LookupDriver, EndingLengthsFollowTheWordLength) {
  const auto rule = [&](std::u16string ending, std::u16string replacement, std::uint8_t minLen = 3) {
    app.Dic->SfxCol->Add(u"k" + ending, std::make_shared<clsSfx>(clsSfx{ending, {replacement}, minLen, 0}));
  };
  rule(u"inde", u"ind");
  rule(u"xinde", u"Kind");
  rule(u"Kinderlein", u"ind");
  rule(u"XKinderlein", u"Kind");
  const struct {
    std::u16string_view word, phrase;
  } cases[] = {
      {u"Kinde", u"Kind"},          // five letters: endings of 1 to 4
      {u"xinde", u""},              // not of 5
      {u"KKinderlein", u"Kind"},    // eleven letters: endings of 1 to 10
      {u"XKinderlein", u""},        // not of 11
      {u"Kindx", u"Kind"},          // a word exactly as long as the rule's minimum
      {u"Kindy", u""},              // one shorter
      {u"jb!", u"ja!"},             // the replacement with the final mark before the one without
  };
  rule(u"ndx", u"nd", 5);
  rule(u"ndy", u"nd", 6);
  rule(u"b", u"a");
  for (const auto& c : cases) EXPECT_EQ(app.GetWordsTree(c.word, 1, app.Dic), c.phrase) << ToUtf8(c.word);
}

TEST_F(LookupDriver, ScoresCoverAndUnknownWords) {
  EXPECT_EQ(Look(u"xyzzy Haus"), 4 * 1000 + 1000000 + 2 * 100);
  EXPECT_EQ(inText, u"xyzzy Haus ");
  EXPECT_EQ(Heads(), u"xyzzy|Haus");
  EXPECT_EQ(Look(u"ein bisschen gut"), 12 * 1000 + 2 * 1000000 + 100 + 3 * 1000 + 1000000 + 100);
  EXPECT_EQ(inText, u"ein bisschen gut ");
  EXPECT_EQ(Heads(), u"ein bisschen|gut");
  EXPECT_EQ(Look(u"Kinder!"), 4 * 1000 + 1000000 + 100);
  EXPECT_EQ(Heads(), u"Kind");
}

TEST_F(LookupDriver, CleaningFullStopWordLimitAndOneWord) {
  Look(u"\r\n• Haus. gut");
  EXPECT_EQ(inText, u"Haus ");
  TranslateArgs full;
  full.FullText = true;
  EXPECT_EQ(Look(u"ein bisschen", full), 12 * 1000 + 1000000 + 100);  // the whole text counts as one word
  EXPECT_EQ(inText, u"ein bisschen");
  EXPECT_EQ(Look(u"- Haus", full), 4 * 1000 + 1000000 + 200);  // trimmed again once the hyphen is gone
  EXPECT_EQ(Heads(), u"Haus");
  Look(u"gut gut gut gut gut gut gut gut gut gut");
  EXPECT_EQ(inText, u"gut gut gut gut gut gut gut gut ");
  TranslateArgs one;
  one.OneWord = true;
  Look(u"Haus gut", one);
  EXPECT_EQ(inText, u"Haus ");
  EXPECT_EQ(Heads(), u"Haus");
}

TEST_F(LookupDriver, TheBusyIndicatorStartsOnlyWhenTheFirstPassFinds) {
  TranslateArgs busy;
  busy.BusyShowed = true;
  EXPECT_GT(Look(u"xyzzy Haus", busy), 0);
  EXPECT_EQ(busy_->starts, 0);
  EXPECT_EQ(busy_->stops, 1);
  EXPECT_GT(Look(u"Haus xyzzy", busy), 0);
  EXPECT_EQ(busy_->starts, 1);
}

TEST_F(LookupDriver, NumberAfterAWordEntersUntranslated) {
  // Cut into "Haus 12": a number is not searched (though "12" is an entry) and adds nothing.
  EXPECT_EQ(Look(u"Haus12"), 4 * 1000 + 1000000 + 200);
  EXPECT_EQ(inText, u"Haus 12 ");
  EXPECT_EQ(Heads(), u"Haus|12");
}

TEST_F(LookupDriver, EmptyTextSetsTheRepeatFlagAndWritesNothing) {
  app.State.gNotRepeatTrans = false;
  rettext = u"kept";
  TranslateArgs repeat;
  repeat.RepeatTrans = true;
  EXPECT_EQ(app.GetTranslate(u" \r\n• \r\n", rettext, repeat, {}), 0);
  EXPECT_EQ(rettext, u"kept");
  EXPECT_TRUE(app.State.gNotRepeatTrans);
}

TEST_F(LookupDriver, ReusesTheLastResultCaseBlind) {
  const std::int32_t score = Look(u"Haus");
  ASSERT_GT(score, 0);
  const std::u16string first = rettext;
  const int pumped = pump_->doEvents;
  EXPECT_EQ(Look(u"HAUS"), -1);
  EXPECT_EQ(rettext, first);
  EXPECT_EQ(inText, u"Haus ");
  EXPECT_EQ(pump_->doEvents, pumped);  // no pass ran
  TranslateArgs form;  // a popup's result carries no "Back" for the main window
  form.OnForm = true;
  EXPECT_EQ(Look(u"Haus", form), score);
  EXPECT_NE(rettext.find(u"=GoBack"), std::u16string::npos);
  EXPECT_EQ(Look(u"Haus"), score);
  EXPECT_EQ(rettext, first);
  TranslateArgs clear;
  clear.ClrBuffer = true;
  EXPECT_EQ(Look(u"HAUS", clear), score);
  TranslateArgs repeat;
  repeat.RepeatTrans = true;
  EXPECT_EQ(Look(u"Haus", repeat), score);
  EXPECT_EQ(Look(u"haus", repeat), -1);
}

TEST_F(LookupDriver, PointerMovesAbandonFromFourPixels) {
  for (const int move : {3, 4}) {
    input_->cursor = {100, 100};
    pump_->onDoEvents = [&] { input_->cursor = {100 + move, 100 - move}; };
    if (move == 4) {  // either axis on its own
      TranslateArgs vertical;
      vertical.CheckCursorShift = true;
      vertical.ClrBuffer = true;
      pump_->onDoEvents = [&] { input_->cursor = {100, 96}; };
      EXPECT_EQ(Look(u"Haus gut", vertical), 0);
      input_->cursor = {100, 100};
      pump_->onDoEvents = [&] { input_->cursor = {104, 100}; };
      EXPECT_EQ(Look(u"Haus gut", vertical), 0);
      input_->cursor = {100, 100};
      pump_->onDoEvents = [&] { input_->cursor = {100 + move, 100 - move}; };
    }
    TranslateArgs mouse;
    mouse.CheckCursorShift = true;
    mouse.ClrBuffer = true;
    mouse.BusyShowed = true;
    const int stops = busy_->stops;
    const std::int32_t score = Look(u"Haus gut", mouse);
    EXPECT_EQ(busy_->stops, stops + 1);
    if (move == 3) {
      EXPECT_GT(score, 0);
      EXPECT_EQ(Heads(), u"Haus|gut");
    } else {
      EXPECT_EQ(score, 0);
      EXPECT_EQ(Heads(), u"");  // the empty result stands
      EXPECT_TRUE(app.State.gNotRepeatTrans);
      const int pumped = pump_->doEvents;
      pump_->onDoEvents = nullptr;
      EXPECT_GT(Look(u"Haus gut"), 0);  // an abandoned look-up is never reused
      EXPECT_GT(pump_->doEvents, pumped);
    }
  }
}

TEST_F(LookupDriver, EscapeAndButtonsAbandon) {
  input_->down = {27};
  EXPECT_EQ(Look(u"Haus"), 0);
  input_->down = {1};
  TranslateArgs mouse;
  mouse.CheckCursorShift = true;
  EXPECT_EQ(Look(u"Haus", mouse), 0);
  EXPECT_GT(Look(u"Haus"), 0);  // without CheckCursorShift the button does not count
  // A repeat request starts with the flag cleared; abandoning it sets the flag again.
  input_->down = {27};
  TranslateArgs repeat;
  repeat.RepeatTrans = true;
  EXPECT_EQ(Look(u"Haus", repeat), 0);
  EXPECT_TRUE(app.State.gNotRepeatTrans);
}

TEST_F(LookupDriver, RefusesTheWrongDirectionOnce) {
  app.Dic->Direction(2);
  TranslateArgs dir;
  dir.CheckDir = true;
  dir.DirSilent = true;
  EXPECT_EQ(Look(u"Haus", dir), 0);
  EXPECT_FALSE(checkDir);
  EXPECT_EQ(app.State.gTextDir, 1);
  // Notification 1, once per run, clickable.
  EXPECT_EQ(app.State.gLastNotifyID, 1);
  EXPECT_TRUE(app.State.gShownNotifications.Exists(u"k1"));
  EXPECT_TRUE(app.State.gLastNotifyClickable);
  EXPECT_EQ(Heads(), u"");

  EXPECT_GT(Look(u"дом", dir), 0);
  EXPECT_TRUE(checkDir);
  EXPECT_EQ(app.State.gTextDir, 0);
  dir.DirSilent = false;
  EXPECT_GT(Look(u"Haus", dir), 0);  // checked but not acted on; the records are filtered
  EXPECT_EQ(words->GetString(false, true, false), u"Haus\r\n");
}

TEST_F(LookupDriver, DirectionOfTexts) {
  EXPECT_EQ(app.GetDir(u"Haus", app.Dic), 1);
  EXPECT_EQ(app.GetDir(u"дом", app.Dic), 2);
  EXPECT_EQ(app.GetDir(u"OK", app.Dic), 3);
  EXPECT_EQ(app.GetDir(u"Haus, xyz!", app.Dic), 1);  // the cleaned first word after the whole text
  EXPECT_EQ(app.GetDir(u"xyz", app.Dic), 0);
  EXPECT_TRUE(app.CheckDirection(u"xyz"));  // both directions: no search
  app.Dic->Direction(1);
  EXPECT_TRUE(app.CheckDirection(u"Haus"));
  EXPECT_TRUE(app.CheckDirection(u"OK"));
  EXPECT_FALSE(app.CheckDirection(u"дом"));
  EXPECT_FALSE(app.CheckDirection(u"xyz"));
}

TEST_F(LookupDriver, DirectionAsksTheCompanionOrElseTheFullDictionaryOnly) {
  const auto companion = testing::BuildDic(app, Dir(), "companion",
                                           "@member Info\n[Main]\nLang1=de\nLang2=ru\n@end\nL\tWald\tлес\n");
  const auto full = testing::BuildDic(app, Dir(), "full",
                                      "@member Info\n[Main]\nLang1=ru\nLang2=de\n@end\nL\tлес\tWald\nL\tдуб\tEiche\n");
  app.Dic->FullDic = full;
  EXPECT_EQ(app.GetDir(u"Wald", app.Dic), 2);  // no companion: the full dictionary
  app.Dic->Dicx = companion;
  EXPECT_EQ(app.GetDir(u"Wald", app.Dic), 1);  // the companion first
  EXPECT_EQ(app.GetDir(u"Eiche", app.Dic), 0);  // and then no other
  EXPECT_EQ(app.GetDir(u"Haus", app.Dic), 1);  // the dictionary itself before either
}

TEST_F(LookupDriver, CompoundsAreCutWhereTheyScoreBest) {
  EXPECT_EQ(Look(u"Gutkind"), 3 * 1000 + 1000000 + 10000 + 100 + 4 * 1000 + 1000000 + 100);
  EXPECT_EQ(inText, u"Gut kind");
  EXPECT_EQ(Heads(), u"Gut|kind");
  EXPECT_EQ(Look(u"Haustür"), 8 * 1000 + 2 * 1000000 + 10000 + 100);  // one phrase beats two words
  EXPECT_EQ(inText, u"Haus tür");
  EXPECT_EQ(Heads(), u"Haus-tür");
  Look(u"getValue");  // cut only at the lower/upper-case boundary
  EXPECT_EQ(inText, u"get Value");
  EXPECT_EQ(Look(u"HauSgut"), 0);  // though "HauS gut" would be found
  EXPECT_EQ(Heads(), u"HauSgut");
  EXPECT_EQ(Look(u"Hausgem"), 0);  // "Haus gem" would show a fragment: every part must be found
  EXPECT_EQ(Heads(), u"Hausgem");
  EXPECT_EQ(Look(u"Hau"), 0);  // four characters or fewer: never cut
  EXPECT_EQ(Look(u"qwertz"), 0);
  EXPECT_EQ(Heads(), u"qwertz");
}

TEST_F(LookupDriver, EqualCutsGoToTheLongerLeftPart) {
  app.Dic = testing::BuildDic(app, Dir(), "ties",
                              "@member Info\n[Main]\nLang1=de\nLang2=ru\n@end\n"
                              "L\tabcd\tа\nL\tef\tб\nL\tabc\tв\nL\tdef\tг\n");
  EXPECT_EQ(Look(u"abcdef"), 4 * 1000 + 1000000 + 10000 + 100 + 2 * 1000 + 1000000 + 100);
  EXPECT_EQ(inText, u"abcd ef");  // "abc def" scores the same
}

TEST_F(LookupDriver, ASearchKeepsItsDictionaryWhileHandlersRun) {
  const auto other = testing::BuildDic(app, Dir(), "other",
                                       "@member Info\n[Main]\nLang1=de\nLang2=ru\n@end\nL\tgut\tхорошо\n");
  std::weak_ptr<clsDic> first = app.Dic;
  pump_->onDoEvents = [&] { app.Dic = other; };
  EXPECT_EQ(app.GetWordsTree(u"ein bisschen gut", 1, app.Dic, false, true), u"ein bisschen");
  EXPECT_TRUE(first.expired());  // the handler's change stands once the search is over
  EXPECT_EQ(app.Dic, other);

  app.Dic = testing::BuildDic(app, Dir(), "again", kSource);
  pump_->onDoEvents = [&] { app.Dic = nullptr; };
  EXPECT_EQ(Look(u"ein bisschen gut"), 12 * 1000 + 2 * 1000000 + 100 + 3 * 1000 + 1000000 + 100);
  EXPECT_EQ(Heads(), u"ein bisschen|gut");
}

TEST_F(LookupDriver, RefusedCompoundEndsTheLookUp) {
  app.Dic->Direction(2);
  TranslateArgs dir;
  dir.CheckDir = true;
  EXPECT_EQ(Look(u"Haustür", dir), 0);
  EXPECT_FALSE(checkDir);
  EXPECT_EQ(Heads(), u"");
}

TEST_F(LookupDriver, CommonListKeepsSharedTranslations) {
  TranslateArgs tochno;
  tochno.Tochno = true;
  EXPECT_EQ(Look(u"Haus, Gebäude", tochno), 0);
  EXPECT_EQ(Heads(), u"Haus, Gebäude");
  EXPECT_EQ(app.WordSet->GetString(false, true, false), u"Haus, Gebäude\r\nздание");
  Look(u"Haus Tür", tochno);
  EXPECT_EQ(app.WordSet->GetString(false, true, false), u"Haus Tür\r\n");
  Look(u"Gebäude", tochno);
  EXPECT_EQ(app.WordSet->GetString(false, true, false), u"Gebäude\r\nздание; строение");
}

TEST_F(LookupDriver, TranslateGivesPlainText) {
  EXPECT_EQ(app.Translate(u"Haus gut"), u"Haus\r\nдом; здание");
  EXPECT_EQ(app.Translate(u"xyzzy"), u"");
  EXPECT_EQ(busy_->stops, 2);
}

}  // namespace
}  // namespace parlavent

namespace parlavent {
namespace {

class CompanionLookup : public testing::LookupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseDic(kSource));
    app.Dic->Dicx = testing::BuildDic(app, Dir(), "test_common",
                                      "@member Info\n[Main]\nLang1=de\nLang2=ru\n@end\nL\tHaus\tдом\nL\tgut\tхорошо\n"
                                      "L\tWald\tлес\n");
    sett->GlbAllowShort = true;
  }
};

TEST_F(CompanionLookup, CommonDictionaryFirstThenTheExtendedTranslation) {
  Look(u"Haus");
  EXPECT_EQ(words->GetString(false, true, false), u"Haus\r\nдом");
  EXPECT_TRUE(words->Words.ItemAt(1)->get()->UseExtTrans);
  EXPECT_TRUE(words->UseExtTrans);
  EXPECT_NE(rettext.find(u"=ExtTransTT-Haus||Std >"), std::u16string::npos);

  TranslateArgs repeat;
  repeat.RepeatTrans = true;
  Look(u"Haus", repeat);  // asked again: the full dictionary
  EXPECT_EQ(words->GetString(false, true, false), u"Haus\r\nдом; здание");
  EXPECT_FALSE(words->UseExtTrans);

  Look(u"Haus gut");  // equally long in both: the companion's, with the extended translation
  EXPECT_EQ(words->GetString(false, true, false), u"Haus\r\nдом\r\n\r\ngut\r\nхорошо");
  EXPECT_TRUE(words->UseExtTrans);

  Look(u"ein bisschen");  // the full dictionary's longer phrase wins over the companion's nothing
  EXPECT_EQ(Heads(), u"ein bisschen");
  EXPECT_FALSE(words->UseExtTrans);

  // Asked again for a word only the companion knows: found and gathered there after all.
  Look(u"Wald", repeat);
  EXPECT_EQ(words->GetString(false, true, false), u"Wald\r\nлес");
  EXPECT_FALSE(words->UseExtTrans);
}

TEST_F(CompanionLookup, TextLanguageCountsTheWordsOfEachSide) {
  app.Dic->Visible = true;
  app.ColDics.Add(u"de", app.Dic);
  auto voice = std::make_shared<clsVoice>();
  voice->Name = u"Anna";
  voice->Index = 1;
  app.Voices.Add(u"Anna", voice);
  app.Dic->Voice1 = voice;
  app.DefVoice = std::make_shared<clsVoice>();
  std::shared_ptr<clsVoice> chosen;
  EXPECT_EQ(app.GetTextLang(u"дом Haus gut", &chosen), u"de");
  EXPECT_EQ(chosen, voice);
  EXPECT_EQ(app.GetTextLang(u"дом здание Haus", &chosen), u"ru");
  EXPECT_EQ(chosen, app.DefVoice);  // no voice for side 2
  EXPECT_EQ(app.GetTextLang(u"xyz qq Haus", &chosen), u"");  // two words under no language
  EXPECT_EQ(app.GetTextLang(u"Haus xyz дом здание", &chosen), u"de");  // xyz counts for de: first wins ties
  EXPECT_EQ(app.GetTextLang(u"", &chosen), u"");
  EXPECT_EQ(app.GetTextLang(u"Haus OK OK дом", &chosen), u"de");  // both sides: the previous language
  // Only the first 16 words of a short text: 8 and 8, and the first counted wins.
  std::u16string twenty;
  for (int i = 0; i < 8; ++i) twenty += u"Haus ";
  for (int i = 0; i < 12; ++i) twenty += u"дом ";
  EXPECT_EQ(app.GetTextLang(twenty, &chosen), u"de");
}

class ZeroRandom : public RandomSource {
 public:
  double Next() override { return 0; }
  void Seed(double) override {}
};

TEST_F(CompanionLookup, TextLanguageSamplesOnlyTextsLongerThan256) {
  app.Dic->Visible = true;
  app.ColDics.Add(u"de", app.Dic);
  SetRandom(std::make_shared<ZeroRandom>());  // every sample at position 0: none is taken
  std::u16string text;
  while (text.size() < 256) text += u"Haus ";
  text.resize(256);
  EXPECT_EQ(app.GetTextLang(text), u"de");  // read whole
  EXPECT_EQ(app.GetTextLang(text + u"H"), u"");
  SetRandom(nullptr);
}

}  // namespace
}  // namespace parlavent
