// The searches on dictionaries as InitDics loads them: section values from the loader, the
// current dictionary, and a full package reading its common partner's transcriptions.
#include <gtest/gtest.h>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "foundation/settings_object.h"
#include "native/package_folder.h"
#include "platform/settings_store.h"
#include "support/app_fixture.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

class LoadedSearch : public testing::AppTest {
 protected:
  LoadedSearch() {
    system->programFolder = folder.Text(folder.Program());
    app.Sett = std::make_shared<Setting>();
    app.Sett->DicPath = folder.Text(folder.Dictionaries());
    app.Sett->AppFolder = folder.Text(folder.User());
    app.State.gSetting = app.Sett;
  }
  ~LoadedSearch() override { app.CloseByteFile(); }

  testing::PackageFolder folder;
  std::shared_ptr<testing::FakeSystem> system = std::make_shared<testing::FakeSystem>();
  testing::ScopedSystem scopedSystem{system};
  testing::ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
};

TEST_F(LoadedSearch, FullPackageSearchesWithItsCommonPartner) {
  folder.Add("de-ru_full.dic", testing::InfoMember("ShortName=Full") +
                                   "W\t1\tHaus\nL\tHaus\tдом\nL\tHaus\tздание\nL\tBaum\tдерево\nL\tzu\tк\n");
  folder.Add("de-ru_common.dic", testing::InfoMember("ShortName=Common") + "W\t1\tHaus\thaʊs\nL\tHaus\tдом\n");
  app.InitDics();
  ASSERT_TRUE(app.Dic);
  ASSERT_EQ(app.Dic->FileTitle, u"de-ru_full");
  ASSERT_TRUE(app.Dic->Dicx);

  std::vector<WordRec> words;
  EXPECT_EQ(app.FindWord(u"baum", words, *app.Dic), 1);
  EXPECT_EQ(app.GetTranscript(u"Haus"), u"haʊs");
  EXPECT_EQ(app.GetSimpleTrans(u"Haus"), u"дом");             // the common package answers first
  EXPECT_EQ(app.GetSimpleTrans(u"Baum"), u"дерево");          // then the full one
  std::int32_t count = 0;
  std::vector<WordRec> list;
  app.FindSorted(u"з", list, 10, true, nullptr, false, 0, false, count);  // the current dictionary
  EXPECT_EQ(count, 1);
  EXPECT_EQ(list[0].Text, u"здание");
}

}  // namespace
}  // namespace parlavent
