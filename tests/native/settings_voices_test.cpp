#include "foundation/settings_voices.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "support/settings_fixture.h"
#include "support/voice_test_dic.h"
#include "text/text.h"

namespace parlavent {
namespace {

using testing::TestDic;

class VoiceSettingsTest : public testing::SettingsTest {
 protected:
  VoiceSettingsTest() {
    for (const char16_t* name : {u"Anna", u"Boris"}) {
      auto voice = std::make_shared<clsVoice>();
      voice->Name = name;
      voice->Index = static_cast<std::int32_t>(app.Voices.Count() + 1);
      app.Voices.Add(name, voice);
    }
    enRu->Dicx = enRuCommon;
    dics.Add(u"k1", enRu);
    dics.Add(u"k2", hidden);
    G().gDicVoices = MakeDicVoiceSource(dics);
  }
  std::shared_ptr<clsVoice> Voice(std::u16string_view name) { return *app.Voices.Find(name); }

  std::shared_ptr<TestDic> enRu = std::make_shared<TestDic>(TestDic{true, u"en", u"ru"});
  std::shared_ptr<TestDic> enRuCommon = std::make_shared<TestDic>(TestDic{false, u"en", u"ru"});
  std::shared_ptr<TestDic> hidden = std::make_shared<TestDic>(TestDic{false, u"de", u"ru"});
  KeyedCollection<std::shared_ptr<TestDic>> dics;
};

TEST_F(VoiceSettingsTest, WithoutKeysEveryVoiceAndShownDictionaryTakesTheDefaults) {
  hidden->Voice1 = Voice(u"Boris");
  Sett().LoadVoices();
  for (const auto& voice : app.Voices) {
    EXPECT_EQ(voice->Spd, -1);
    EXPECT_EQ(voice->Vol, 10);
  }
  EXPECT_EQ(app.DefVoice, Voice(u"Anna"));
  EXPECT_EQ(enRu->Voice1, Voice(u"Anna"));
  EXPECT_EQ(enRu->Voice2, Voice(u"Anna"));
  EXPECT_EQ(enRuCommon->Voice1, Voice(u"Anna"));  // the paired dictionary follows
  EXPECT_EQ(hidden->Voice1, Voice(u"Boris"));      // not shown: kept
  EXPECT_EQ(hidden->Voice2, nullptr);
}

TEST_F(VoiceSettingsTest, StoredNamesAreMatchedCaseBlindAndUnknownNamesChangeNothing) {
  WriteUserFile(
      "[Main]\r\nDefaultVoice=Nobody\r\n[Voices]\r\nEN=boris\r\nru=Gone\r\n"
      "[VoicesSpeed]\r\nanna=3\r\nBoris=x\r\n[VoicesVolume]\r\nBORIS=7\r\n");
  app.DefVoice = Voice(u"Boris");
  Voice(u"Boris")->Spd = 4;
  Sett().LoadVoices();
  EXPECT_EQ(Voice(u"Anna")->Spd, 3);
  EXPECT_EQ(Voice(u"Boris")->Spd, 4);  // not a number: left alone
  EXPECT_EQ(Voice(u"Boris")->Vol, 7);
  EXPECT_EQ(app.DefVoice, Voice(u"Boris"));
  EXPECT_EQ(enRu->Voice1, Voice(u"Boris"));
  EXPECT_EQ(enRu->Voice2, nullptr);
  EXPECT_EQ(enRuCommon->Voice1, Voice(u"Boris"));
  EXPECT_EQ(enRuCommon->Voice2, nullptr);
}

TEST_F(VoiceSettingsTest, NamesInALaterSectionOfTheSameNameAreFound) {
  WriteUserFile("[Voices]\r\nde=Anna\r\n[Main]\r\n[Voices]\r\nen=Boris\r\n[Main]\r\nDefaultVoice=Boris\r\n");
  Sett().LoadVoices();
  EXPECT_EQ(enRu->Voice1, Voice(u"Boris"));
  EXPECT_EQ(enRu->Voice2, Voice(u"Anna"));  // absent everywhere: the first voice
  EXPECT_EQ(app.DefVoice, Voice(u"Boris"));
}

TEST_F(VoiceSettingsTest, SaveWritesShownDictionariesOnlyAndReadsBack) {
  Sett().LoadSett();
  Sett().LoadVoices();
  enRu->Voice1 = Voice(u"Boris");
  enRu->Voice2 = Voice(u"Anna");
  hidden->Voice1 = Voice(u"Anna");
  app.DefVoice = Voice(u"Boris");
  Voice(u"Anna")->Spd = 2;
  Voice(u"Boris")->Vol = 5;
  Sett().SaveSett();
  const std::string text = UserText();
  EXPECT_NE(text.find("DefaultVoice=Boris\r\n\r\n[Learner]"), std::string::npos) << text;
  EXPECT_NE(text.find("[Voices]\r\nen=Boris\r\nru=Anna\r\n\r\n[VoicesSpeed]\r\nAnna=2\r\nBoris=-1\r\n"
                      "\r\n[VoicesVolume]\r\nAnna=10\r\nBoris=5\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("\r\nde="), std::string::npos);

  enRu->Voice1 = enRu->Voice2 = nullptr;
  app.DefVoice = nullptr;
  Voice(u"Anna")->Spd = 0;
  Sett().LoadVoices();
  EXPECT_EQ(enRu->Voice1, Voice(u"Boris"));
  EXPECT_EQ(enRu->Voice2, Voice(u"Anna"));
  EXPECT_EQ(app.DefVoice, Voice(u"Boris"));
  EXPECT_EQ(Voice(u"Anna")->Spd, 2);
}

}  // namespace
}  // namespace parlavent
