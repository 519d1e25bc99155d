// The on-screen keyboard and the learning cards against fake windows: showing, docking, typing
// with the keys, the tray icon; each source of learning cards and what a card shows.
#include <gtest/gtest.h>

#include "app/companion_state.h"
#include "app/main_window_core.h"
#include "app/neighbour_services.h"
#include "app/statistics.h"
#include "companions/layout_switch.h"
#include "companions/learner.h"
#include "dictionary/keyboard_layers.h"
#include "foundation/voice.h"
#include "platform/random.h"
#include "platform/settings_store.h"
#include "support/fake_companions.h"
#include "support/fake_desktop.h"
#include "support/list_fixture.h"

namespace parlavent::testing {
namespace {

class CompanionWindowsTest : public ListTest {
 protected:
  CompanionWindowsTest() {
    app.Companion = companions;
    app.Sett->AppFolder = user.Text();
    MainControls controls;
    controls.timers.tmrLearner = &learner;
    app.MainCore = std::make_shared<MainWindowCore>(controls);
  }
  FakeKeyboardWindow& Keyb() { return companions->keyb; }
  FakeLearnWindow& Learn() { return companions->learn; }

  TempDir user;
  std::shared_ptr<FakeCompanions> companions = std::make_shared<FakeCompanions>();
  FakeTimer learner{0, false};
  ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
};

TEST_F(CompanionWindowsTest, TheKeyboardShowsDockedOrFreeWithItsFirstLayer) {
  G().gLayers.Add(u"en", std::make_shared<clsLayer>());
  app.ShowKeyb(true);
  EXPECT_TRUE(Keyb().visible);
  EXPECT_EQ(G().gDockMode, 1);
  EXPECT_EQ(Keyb().layer, 1);
  app.HideDockedKeyb();
  EXPECT_FALSE(Keyb().visible) << "a docked keyboard goes with the main window";

  Keyb().layer = 0;
  app.ShowKeyb(false);
  EXPECT_EQ(G().gDockMode, 0);
  app.HideDockedKeyb();
  EXPECT_TRUE(Keyb().visible) << "a free one stays";
  app.HideKeyb();
  EXPECT_FALSE(Keyb().visible);
}

TEST_F(CompanionWindowsTest, KeysTypeIntoTheInputBoxAtTheCaret) {
  app.ShowKeyb(true);
  host->input->SetText(u"hlo");
  host->input->SetSelStart(1);
  Keyb().Click(u'e');
  Keyb().Click(u'l');
  EXPECT_EQ(host->input->text, u"hello");
  EXPECT_EQ(host->input->SelStart(), 3);
  EXPECT_TRUE(G().gUserTyped);
  host->input->SetSelStart(1);
  host->input->SetSelLength(3);
  Keyb().Click(u'\u044f');
  EXPECT_EQ(host->input->text, u"h\u044fo") << "a key replaces the selection";
  Keyb().Click(u'\b');
  Keyb().Click(u'\b');
  Keyb().Click(u'\b');
  EXPECT_EQ(host->input->text, u"o") << "backspace stops at the start";
  EXPECT_EQ(host->input->SelStart(), 0);

  app.Sett->TrlMode = 2;
  host->input->SetText(u"");
  Keyb().Click(u'g');
  mdlPublic::CheckLayoutSwitch();
  EXPECT_TRUE(G().gPrefixes.Empty()) << "keys of the on-screen keyboard teach the layout recorder nothing";
}

TEST_F(CompanionWindowsTest, TheKeyboardTrayIconFollowsItsSetting) {
  app.ShowKeybIco(true);
  EXPECT_TRUE(companions->trayIcons.empty());
  app.Sett->SysTrayKeyb = true;
  app.ShowKeybIco(true);
  EXPECT_EQ(companions->trayIcons.count(kKeybTrayIcon), 1u);
  app.ShowKeybIco(false);
  EXPECT_TRUE(companions->trayIcons.empty());
}

TEST_F(CompanionWindowsTest, ListSourcesComeFromTheUserFileAndTheStatistics) {
  WriteBytes(user.path() / "learner.txt", "cat\t\xEA\xEE\xF8\xEA\xE0\r\n\r\ndog\r\n  \r\nbird");
  EXPECT_EQ(LearnSourceWords(app, 1), (std::vector<std::u16string>{u"cat\tкошка", u"dog", u"bird"}));
  WriteBytes(user.path() / "learner.txt", "cat\t\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0\r\n");  // UTF-8 without a mark
  EXPECT_EQ(LearnSourceWords(app, 1), (std::vector<std::u16string>{u"cat\tкошка"}));
  for (auto w : {u"a", u"b", u"b", u"c", u"b", u"c"}) app.Stat().AddItem(w);
  app.Sett->LrnNL = 2;
  app.Sett->LrnNM = 2;
  EXPECT_EQ(LearnSourceWords(app, 2), (std::vector<std::u16string>{u"c", u"b"}));
  EXPECT_EQ(LearnSourceWords(app, 3), (std::vector<std::u16string>{u"b", u"c"}));
  EXPECT_TRUE(LearnSourceWords(app, 0).empty());
}

TEST_F(CompanionWindowsTest, CardsFollowTheUserListInOrderWithTheirTranslations) {
  Load(Words({"dog", "bird"}) + "L\tdog\tсобака\nL\tdog\tпёс\n");
  WriteBytes(user.path() / "learner.txt", "cat\t\xEA\xEE\xF8\xEA\xE0\r\ndog\r\n");
  Setting& s = *app.Sett;
  s.LrnSource = 1;
  s.LrnRandom = false;
  s.LrnFirst = false;
  s.LrnInt = 15;
  s.LrnFont = u"Tahoma";
  s.LrnFontSize = 12;
  s.LrnBC = 0x123456;
  s.LrnTransp = 20;
  app.StartLearn();
  ASSERT_EQ(Learn().cards.size(), 1u);
  EXPECT_EQ(Learn().cards[0].Word, u"cat");
  EXPECT_EQ(Learn().cards[0].Translation, u"кошка") << "the list's own translation";
  EXPECT_EQ(Learn().cards[0].FontName, u"Tahoma");
  EXPECT_EQ(Learn().cards[0].BackColor, 0x123456);
  EXPECT_EQ(Learn().cards[0].Transparency, 20);
  EXPECT_TRUE(learner.Enabled());
  EXPECT_EQ(learner.Interval(), 15000);
  EXPECT_EQ(GetSetting(u"Main", u"ShowLearner", u""), u"1");

  app.MainCore->tmrLearner_Timer();
  ASSERT_EQ(Learn().cards.size(), 2u);
  EXPECT_EQ(Learn().cards[1].Word, u"dog");
  EXPECT_EQ(Learn().cards[1].Translation, u"собака; пёс") << "looked up";
  s.LrnFirst = true;
  app.MainCore->tmrLearner_Timer();
  G().gLrnPaused = true;
  app.MainCore->tmrLearner_Timer();
  G().gLrnPaused = false;
  app.MainCore->tmrLearner_Timer();
  ASSERT_EQ(Learn().cards.size(), 4u) << "no card while paused";
  EXPECT_EQ(Learn().cards[3].Translation, u"собака") << "the first translation only";

  companions->learn.OnHover(true);
  Learn().Close();
  EXPECT_FALSE(G().gLrnPaused) << "a closed card pauses nothing";
  EXPECT_FALSE(learner.Enabled());
  EXPECT_EQ(GetSetting(u"Main", u"ShowLearner", u""), u"0");
  app.RefreshLrnSrc(false);
  EXPECT_EQ(Learn().cards.size(), 4u);
}

TEST_F(CompanionWindowsTest, CardsKeepTheirTranslationsWhenTheLearningDictionaryIsTheCommonTwin) {
  const auto full = Load(Words({"dog"}) + Words({"собака"}, 2) + "L\tdog\tсобака\n");
  const auto common = Build(Words({"dog"}), "test_common.dic");
  full->Dicx = common;
  common->Demo = true;
  common->FullDic = full;
  full->SetEnabled(false);
  ASSERT_EQ(app.Sett->LrnDic, common);
  // One line of damage as long as a file can hold: cut to what a card shows.
  WriteBytes(user.path() / "learner.txt", "dog\r\n" + std::string(1 << 20, 'x') + "\t" + std::string(1 << 20, 'y'));
  app.Sett->LrnSource = 1;
  app.Sett->LrnRandom = false;
  app.StartLearn();
  app.RefreshLrnSrc(false);
  ASSERT_EQ(Learn().cards.size(), 2u);
  EXPECT_EQ(Learn().cards[0].Translation, u"собака");
  EXPECT_LE(Learn().cards[1].Word.size(), 100u);
  EXPECT_LE(Learn().cards[1].Translation.size(), 500u);

  // Random words of the second side: the common twin has none, its full package has.
  app.Sett->LrnSource = 0;
  app.Sett->LrnDir1 = false;
  app.Sett->LrnDir2 = true;
  app.RefreshLrnSrc(true);
  ASSERT_EQ(Learn().cards.size(), 3u);
  EXPECT_EQ(Learn().cards[2].Word, u"собака");
}

TEST_F(CompanionWindowsTest, RandomCardsTakeWordsOfTheWantedSidesAndAreSpoken) {
  Load(Words({"apple", "ice cream"}) + Words({"яблоко"}, 2) + "L\tapple\tяблоко\n");
  SetRandom(nullptr);
  Randomize(7);
  Setting& s = *app.Sett;
  s.LrnSource = 0;
  s.LrnDir1 = true;
  s.LrnDir2 = false;
  s.LrnSimpleWord = true;
  s.SpkLearner = true;
  app.SAPIWork = true;
  app.CompanionData().engine = companions->engine;
  auto voice = std::make_shared<clsVoice>();
  voice->Name = u"V";
  app.Voices.Add(u"V", voice);
  app.StartLearn();
  for (int i = 0; i < 20; ++i) app.RefreshLrnSrc(false);
  ASSERT_EQ(Learn().cards.size(), 21u);
  for (const LearnCard& card : Learn().cards) EXPECT_EQ(card.Word, u"apple");
  EXPECT_EQ(Learn().cards[0].Translation, u"яблоко");
  EXPECT_EQ(companions->engine->spoken.size(), 1u) << "read aloud, but no card cuts into a reading";

  s.LrnDir1 = false;
  s.LrnDir2 = true;
  s.LrnSimpleWord = false;
  for (int i = 0; i < 5; ++i) app.RefreshLrnSrc(false);
  EXPECT_EQ(Learn().cards.back().Word, u"яблоко") << "only the wanted side";

  const std::size_t spoken = companions->engine->spoken.size();
  companions->engine->speaking = false;
  G().gNoLrnSpeak = true;
  app.RefreshLrnSrc(false);
  EXPECT_EQ(companions->engine->spoken.size(), spoken) << "quiet while the settings dialog is open";
}

}  // namespace
}  // namespace parlavent::testing
