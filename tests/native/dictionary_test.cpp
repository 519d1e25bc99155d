#include "dictionary/dictionary.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "foundation/settings_object.h"
#include "platform/picture.h"
#include "platform/settings_store.h"
#include "support/app_fixture.h"
#include "support/fake_dic_services.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

class StubPicture : public Picture {
 public:
  PictureFormat Format() const override { return PictureFormat::Icon; }
};

std::shared_ptr<clsDicSrc> Src(std::int32_t langId, const char16_t* l1, const char16_t* l2, const char16_t* name) {
  auto src = std::make_shared<clsDicSrc>();
  src->LangID = langId;
  src->Language1 = l1;
  src->Language2 = l2;
  src->Name = name;
  return src;
}

class DictionaryTest : public testing::AppTest {
 protected:
  DictionaryTest() {
    app.Sett = std::make_shared<Setting>();
    app.State.gSetting = app.Sett;
  }
  std::shared_ptr<clsDic> AddDic(std::int32_t index) {
    auto dic = std::make_shared<clsDic>();
    dic->Index = index;
    dic->path = u"/d/" + NumberText(index) + u".dic";
    dic->Srcs->Add(u"k0", Src(0, u"English", u"Russian", u"English-Russian"));
    app.ColDics.Add(dic->path, dic);
    return dic;
  }
};

TEST_F(DictionaryTest, FlagFollowsDirectionOnlyWithSupportDirection) {
  clsDic dic;
  dic.Icon = std::make_shared<StubPicture>();
  dic.Icon1 = std::make_shared<StubPicture>();
  dic.Icon2 = std::make_shared<StubPicture>();
  const struct {
    bool support;
    std::int32_t dir;
    std::shared_ptr<Picture> expected;
  } cases[] = {
      {false, 0, dic.Icon}, {false, 2, dic.Icon}, {false, 7, dic.Icon}, {true, 0, dic.Icon},
      {true, 1, dic.Icon1}, {true, 2, dic.Icon2}, {true, 3, nullptr},
  };
  for (const auto& c : cases) {
    dic.SupportDirection = c.support;
    dic.Direction(c.dir);
    EXPECT_EQ(dic.Flag(), c.expected) << c.support << " " << c.dir;
  }
}

TEST_F(DictionaryTest, DirectionReachesThePairedCommonPackage) {
  auto full = std::make_shared<clsDic>();
  full->Dicx = std::make_shared<clsDic>();
  full->Direction(2);
  EXPECT_EQ(full->Dicx->Direction(), 2);
  full->Dicx->Direction(1);  // only downwards
  EXPECT_EQ(full->Direction(), 2);
  EXPECT_EQ(full->GetDemoDic(), full->Dicx);
  EXPECT_EQ(full->Dicx->GetDemoDic(), full->Dicx);
}

TEST_F(DictionaryTest, GetSrcFallsBackToSourceZeroThenToNothing) {
  clsDic dic;
  EXPECT_EQ(dic.GetSrc(), nullptr);
  dic.Srcs->Add(u"k5", Src(5, u"a", u"b", u"five"));
  EXPECT_EQ(dic.GetSrc(), nullptr);
  dic.Srcs->Add(u"k0", Src(0, u"a", u"b", u"zero"));
  EXPECT_EQ(dic.GetSrc()->Name, u"zero");
}

TEST_F(DictionaryTest, GetDirStrByDirection) {
  clsDic dic;
  dic.Srcs->Add(u"k0", Src(0, u"English", u"Russian", u"Big English"));
  EXPECT_EQ(dic.GetDirStr(), u"Big English");
  dic.SupportDirection = true;
  const std::pair<std::int32_t, const char16_t*> cases[] = {
      {0, u"English <-> Russian"}, {1, u"English --> Russian"}, {2, u"Russian --> English"}, {9, u""}};
  for (const auto& [dir, text] : cases) {
    dic.Direction(dir);
    EXPECT_EQ(dic.GetDirStr(), text) << dir;
  }
  dic.Srcs->Clear();
  EXPECT_EQ(dic.GetDirStr(), u"");
}

TEST_F(DictionaryTest, TranscrHelpFromOwnSourceThenFromCommonPackage) {
  clsDic dic;
  dic.Srcs->Add(u"k0", Src(0, u"", u"", u""));
  (*dic.Srcs->Find(u"k0"))->TranscrHelp = {u"own"};
  EXPECT_TRUE(dic.GetTranscrHelp().empty()) << "HaveTranscrHelp not set";
  dic.HaveTranscrHelp = true;
  EXPECT_EQ(dic.GetTranscrHelp(), std::vector<std::u16string>{u"own"});

  (*dic.Srcs->Find(u"k0"))->TranscrHelp.clear();
  dic.Dicx = std::make_shared<clsDic>();
  dic.Dicx->Srcs->Add(u"k0", Src(0, u"", u"", u""));
  (*dic.Dicx->Srcs->Find(u"k0"))->TranscrHelp = {u"common", u"lines"};
  EXPECT_TRUE(dic.GetTranscrHelp().empty()) << "common package without HaveTranscrHelp";
  dic.Dicx->HaveTranscrHelp = true;
  EXPECT_EQ(dic.GetTranscrHelp().size(), 2u);
}

TEST_F(DictionaryTest, GetSrcFollowsTheInterfaceLanguage) {
  auto dic = AddDic(1);
  dic->Srcs->Add(u"k1", Src(1, u"Английский", u"Русский", u"Англо-русский"));
  EXPECT_EQ(dic->GetSrc()->Name, u"English-Russian");
  app.Sett->CurLang = 1;
  EXPECT_EQ(dic->GetSrc()->Name, u"Англо-русский");
  app.Sett->CurLang = 2;
  EXPECT_EQ(dic->GetSrc()->Name, u"English-Russian");
}

TEST_F(DictionaryTest, SetEnabledMakesExactlyOneCurrentAndRemembersIt) {
  testing::ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
  auto a = AddDic(1);
  auto b = AddDic(2);
  b->Dicx = std::make_shared<clsDic>();
  a->SetEnabled();
  EXPECT_EQ(GetSetting(u"Main", u"Dic"), u"1");
  EXPECT_EQ(app.Sett->LrnDic, a);
  b->SetEnabled();
  EXPECT_FALSE(a->Enabled);
  EXPECT_TRUE(b->Enabled);
  EXPECT_EQ(app.Dic, b);
  EXPECT_EQ(app.State.gCurDic, b);
  EXPECT_EQ(GetSetting(u"Main", u"Dic"), u"2");
  EXPECT_EQ(GetSetting(u"Main", u"DicDir2"), u"") << "the direction is the toolbar's to store";
  EXPECT_EQ(app.Sett->LrnDic, b->Dicx) << "the learner takes the common package";
}

TEST_F(DictionaryTest, SetEnabledRefreshesInfoLineThenButtonsOnlyWithRefr) {
  auto services = std::make_shared<testing::FakeMainServices>();
  app.MainServices = services;
  auto dic = AddDic(1);
  dic->SetEnabled(false);
  EXPECT_TRUE(services->calls.empty());
  dic->SupportDirection = true;
  dic->Direction(1);
  dic->SetEnabled(true);
  EXPECT_EQ(services->calls, (std::vector<std::string>{"Info(English --> Russian,auto)", "RefreshDicButtons"}));
}

TEST_F(DictionaryTest, DicLangNamesTheLanguageByTheFirstItemsSide) {
  clsDicLang lang;
  EXPECT_EQ(lang.Name(), u"");
  EXPECT_EQ(lang.GetDic(1), nullptr);
  EXPECT_EQ(lang.GetDir(0), 0);
  auto dic = AddDic(1);
  auto item = std::make_shared<clsDicLangItem>();
  item->Dic = dic;
  item->Dir = 2;
  lang.Dics.AddUnkeyed(item);
  EXPECT_EQ(lang.Name(), u"Russian");
  item->Dir = 1;
  EXPECT_EQ(lang.Name(), u"English");
  EXPECT_EQ(lang.GetDic(1), dic);
  EXPECT_EQ(lang.GetDir(1), 1);
  EXPECT_EQ(lang.GetDic(2), nullptr);
}

}  // namespace
}  // namespace parlavent
