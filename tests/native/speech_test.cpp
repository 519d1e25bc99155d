// Speech against a fake speech server: the voices at start-up, the voice chosen for a text, the
// word being read highlighted in the output box, automatic reading, and a server that refuses.
#include <gtest/gtest.h>

#include "app/companion_state.h"
#include "app/main_form.h"
#include "app/main_window_core.h"
#include "app/neighbour_services.h"
#include "dictionary/dictionary.h"
#include "dictionary/result_tree.h"
#include "foundation/voice.h"
#include "support/fake_capture.h"
#include "support/fake_companions.h"
#include "support/fake_desktop.h"
#include "support/fake_view_host.h"
#include "support/lookup_fixture.h"
#include "support/settings_fixture.h"

namespace parlavent::testing {
namespace {

class SpeechTest : public SettingsTest {
 protected:
  SpeechTest() {
    app.Companion = companions;
    app.Views = host;
    companions->engine->voices = {{u"Anna", u"419", u"T1"}, {u"David", u"409", u"T2"}, {u"Anna", u"419", u"T3"}};
    MainControls controls;
    controls.timers.tmrPasteSpkSrc = &pasteSpk;
    controls.timers.tmrSpkHide = &spkHide;
    app.MainCore = std::make_shared<MainWindowCore>(controls);
    for (int n = 0; n < 400; ++n) app.State.gLangTable.push_back(u"t" + NumberText(n));
  }
  FakeSpeechEngine& Engine() { return *companions->engine; }

  std::shared_ptr<FakeCompanions> companions = std::make_shared<FakeCompanions>();
  std::shared_ptr<FakeViewHost> host = std::make_shared<FakeViewHost>();
  FakeTimer pasteSpk{100, false}, spkHide{3000, false};
};

TEST_F(SpeechTest, StartUpListsTheVoicesAndRestoresTheirSettings) {
  WriteUserFile("[VoicesSpeed]\r\nDavid=15\r\n[VoicesVolume]\r\nDavid=5\r\n[Main]\r\nDefaultVoice=David\r\n");
  app.InitSpk();
  EXPECT_TRUE(app.SAPIEnabled);
  EXPECT_TRUE(app.SAPIWork);
  ASSERT_EQ(app.SAPIVoices, 2) << "a second voice of one name cannot be told apart";
  const auto& david = *app.Voices.Find(u"David");
  EXPECT_EQ(david->Index, 2);
  EXPECT_EQ(david->Lang, u"409");
  EXPECT_EQ(david->Spd, 15);
  EXPECT_EQ(david->Vol, 5);
  EXPECT_EQ(app.DefVoice, david);
  EXPECT_EQ((*app.Voices.Find(u"Anna"))->Spd, -1);

  app.SpeakText(u"hello", nullptr);
  ASSERT_EQ(Engine().spoken.size(), 1u) << "no dictionary knows the text: the default voice";
  EXPECT_EQ(Engine().spoken[0].voice, 1u);
  EXPECT_EQ(Engine().spoken[0].rate, 5);
  EXPECT_EQ(Engine().spoken[0].volume, 50);
}

TEST_F(SpeechTest, NoServerOrNoVoiceLeavesSpeechOffQuietly) {
  companions->engine->voices.clear();
  app.InitSpk();
  EXPECT_TRUE(app.SAPIEnabled);
  EXPECT_EQ(app.SAPIVoices, 0);
  EXPECT_FALSE(app.SAPIWork);
  app.SpeakText(u"hello", nullptr);
  app.SpeakClick(true);
  EXPECT_TRUE(Engine().spoken.empty());

  companions->engine = nullptr;
  app.InitSpk();
  EXPECT_FALSE(app.SAPIEnabled);
  EXPECT_FALSE(app.IsSpeaking());
  app.StopSpeak();
  app.SpeechSide().SpeakText(u"hello");
}

TEST_F(SpeechTest, TheVoiceOfTheDictionarySideReadsTheText) {
  app.InitSpk();
  auto dic = std::make_shared<clsDic>();
  dic->Voice1 = *app.Voices.Find(u"David");
  dic->Voice2 = *app.Voices.Find(u"Anna");
  app.SpeakText(u"дом", dic, false, 0, 0, 2);
  app.SpeakText(u"house", dic, false, 0, 0, 1);
  app.SpeakText(u"   ", dic, false, 0, 0, 1);
  ASSERT_EQ(Engine().spoken.size(), 2u);
  EXPECT_EQ(Engine().spoken[0].voice, 0u);
  EXPECT_EQ(Engine().spoken[1].voice, 1u);
  EXPECT_EQ(Engine().spoken[1].rate, 0) << "speed -1: the server's own rate";
  EXPECT_EQ(Engine().spoken[1].volume, 100);
  EXPECT_GE(Engine().stops, 2) << "a new text stops the one being read";
}

TEST_F(SpeechTest, TheWordBeingReadIsSelectedInTheOutputBoxFromWhereTheClickWas) {
  app.InitSpk();
  host->output->SetText(u"one two three");
  // A click off any link at "two": reading starts there.
  host->output->SetSelStart(4);
  app.State.gSpeakTarget = 1;
  app.SAPI5EventSpeakWord(4, 0);
  app.SpeakSrc();
  ASSERT_EQ(Engine().spoken.size(), 1u);
  EXPECT_EQ(Engine().spoken[0].text, u"two three");
  Engine().Word(4, 5);
  EXPECT_EQ(host->output->SelStart(), 8);
  EXPECT_EQ(host->output->SelLength(), 5);
  app.State.gNoHighlight = true;
  Engine().Word(0, 3);
  EXPECT_EQ(host->output->SelStart(), 8) << "no highlighting while it is off";
  app.State.gNoHighlight = false;
  Engine().End();
  Engine().Word(0, 3);
  EXPECT_EQ(host->output->SelStart(), 8) << "after the end nothing more is selected";

  // The speaker button reads a selection of the output box.
  host->output->SetSelStart(0);
  host->output->SetSelLength(3);
  app.SpeakClick(true);
  EXPECT_EQ(Engine().spoken.back().text, u"one");
  app.SpeakClick(true);
  EXPECT_FALSE(app.IsSpeaking()) << "the speaker button stops what is being read";
}

TEST_F(SpeechTest, LateEventsOfAStoppedReadingAreIgnoredAndSelectionsAreReadWithSpkSel) {
  app.InitSpk();
  host->output->SetText(u"one two three");
  app.SpeakText(u"one two three", nullptr, false, 0, 1);
  const std::uint32_t first = Engine().stream;
  app.SpeakText(u"two three", nullptr, false, 4, 1);
  Engine().Word(0, 3, first);
  Engine().End(first);
  EXPECT_EQ(host->output->SelLength(), 0) << "the stopped reading highlights nothing";
  Engine().Word(4, 5);
  EXPECT_EQ(host->output->SelStart(), 8) << "its late end did not end the reading under way";
  EXPECT_EQ(host->output->SelLength(), 5);

  host->output->SetSelStart(0);
  host->output->SetSelLength(3);
  host->output->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_EQ(Engine().spoken.size(), 2u) << "SpkSel is off";
  app.Sett->SpkSel = true;
  host->output->RaiseMouseUp(1, 0, 0, 0);
  EXPECT_EQ(Engine().spoken.back().text, u"one");
}

TEST_F(SpeechTest, TheServersDefaultVoiceIsKnownAndVolumeMinusOneIsFull) {
  companions->engine->voices[1].Default = true;
  app.InitSpk();
  EXPECT_FALSE((*app.Voices.Find(u"Anna"))->Default);
  EXPECT_TRUE((*app.Voices.Find(u"David"))->Default);
  app.DefVoice = *app.Voices.Find(u"David");
  app.DefVoice->Vol = -1;
  app.SpeakText(u"hello", nullptr);
  ASSERT_EQ(Engine().spoken.size(), 1u);
  EXPECT_EQ(Engine().spoken[0].voice, 1u);
  EXPECT_EQ(Engine().spoken[0].volume, 100) << "volume -1 is full volume";
}

TEST_F(SpeechTest, CopiedTextAndTranslationsAreReadWhenTheirSettingIsOn) {
  app.InitSpk();
  app.IsTextInClip = true;
  auto capture = std::make_shared<FakeCapture>();
  capture->clipboard = u"copied text";
  app.Capture = capture;
  app.ArmAutoSpeak(1);
  EXPECT_FALSE(pasteSpk.Enabled()) << "SpkClip is off";

  app.Sett->SpkClip = true;
  app.SpeechSide().ArmAutoSpeak(1);
  EXPECT_TRUE(pasteSpk.Enabled());
  EXPECT_EQ(companions->trayIcons.count(kSpkTrayIcon), 1u);
  EXPECT_EQ(companions->trayIcons[kSpkTrayIcon], u"t265");
  app.MainCore->tmrPasteSpkSrc_Timer();
  EXPECT_EQ(companions->trayIcons[kSpkTrayIcon], u"t266") << "while reading, its tip offers to stop";
  EXPECT_EQ(host->output->text, u"copied text") << "copied text is read from the output box";
  ASSERT_EQ(Engine().spoken.size(), 1u);
  EXPECT_EQ(Engine().spoken[0].text, u"copied text");

  pasteSpk.SetEnabled(false);
  app.ArmAutoSpeak(1);
  EXPECT_FALSE(pasteSpk.Enabled()) << "nothing is armed while a text is being read";
  Engine().End();
  app.MainCore->tmrSpkHide_Timer();
  EXPECT_EQ(companions->trayIcons.count(kSpkTrayIcon), 0u) << "the icon goes when reading is over";

  app.Sett->SpkTrans = true;
  app.WordSet = std::make_shared<WordSet>();
  app.WordSet->InString = u"house";
  app.WordSet->IsTrans = true;
  auto entry = app.WordSet->AddWord(u"house");
  entry->IsTranslated = true;
  entry->SpeakString = u"house. дом";
  app.LookupShown(u"house", ShowTransArgs{});
  EXPECT_TRUE(pasteSpk.Enabled());
  app.MainCore->tmrPasteSpkSrc_Timer();
  EXPECT_EQ(Engine().spoken.back().text, u"house. дом");
  app.Sett->SpkTransWord = true;
  app.SpeakSrc();
  EXPECT_EQ(Engine().spoken.back().text, u"house") << "the words alone";
}

TEST_F(SpeechTest, AServerThatRefusesLeavesSpeechQuiet) {
  app.InitSpk();
  Engine().accept = false;
  host->output->SetText(u"one two");
  app.SpeakText(u"one two", nullptr, false, 0, 1);
  EXPECT_FALSE(app.IsSpeaking());
  Engine().Word(0, 3);
  EXPECT_EQ(host->output->SelLength(), 0) << "nothing highlighted for a text that is not read";
}

class SpeechLanguageTest : public LookupTest {};

TEST_F(SpeechLanguageTest, WithoutASideTheLanguageOfTheTextChoosesTheVoice) {
  ASSERT_TRUE(UseDic("@member Info\n[Main]\nShortName=T\nLang1=de\nLang2=ru\n@end\nL\tHaus\tдом\nL\tgut\tхорошо\n"));
  auto companions = std::make_shared<FakeCompanions>();
  app.Companion = companions;
  app.Dic->Visible = true;
  app.ColDics.Add(u"de", app.Dic);
  for (auto [name, index] : {std::pair{u"Anna", 1}, std::pair{u"Hans", 2}}) {
    auto voice = std::make_shared<clsVoice>();
    voice->Name = name;
    voice->Index = index;
    voice->EngineIndex = index - 1;
    app.Voices.Add(name, voice);
  }
  app.Dic->Voice1 = *app.Voices.Find(u"Hans");
  app.Dic->Voice2 = *app.Voices.Find(u"Anna");
  app.CompanionData().engine = companions->engine;
  app.SAPIWork = true;
  app.SpeakText(u"дом хорошо", nullptr);
  app.SpeakText(u"gut Haus", nullptr);
  ASSERT_EQ(companions->engine->spoken.size(), 2u);
  EXPECT_EQ(companions->engine->spoken[0].voice, 0u);
  EXPECT_EQ(companions->engine->spoken[1].voice, 1u);
}

}  // namespace
}  // namespace parlavent::testing
