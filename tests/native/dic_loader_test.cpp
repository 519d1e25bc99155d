#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/application.h"
#include "dictionary/byte_files.h"
#include "dictionary/dictionary.h"
#include "dictionary/keyboard_layers.h"
#include "dictionary/lookup.h"
#include "dictionary/package_file.h"
#include "dictionary/sections.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "native/package_folder.h"
#include "platform/code_page.h"
#include "platform/settings_store.h"
#include "support/app_fixture.h"
#include "support/fake_dic_services.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

namespace fs = std::filesystem;
using testing::InfoMember;

const std::string kEnRu = InfoMember("ShortName=En-Ru\nLang1=en\nLang2=ru\nLayout1=1033\nLayout2=1049\nSupportDirection=1",
                                     "[Src1]\nLangID=0\nLanguage1=English\nLanguage2=Russian\nFullName=English-Russian\n");
const std::string kWords = "L\tapple\tяблоко\nL\tpear\tгруша\n";

class LoaderTest : public testing::AppTest {
 protected:
  LoaderTest() {
    system->programFolder = folder.Text(folder.Program());
    app.Sett = std::make_shared<Setting>();
    app.Sett->DicPath = folder.Text(folder.Dictionaries());
    app.Sett->AppFolder = folder.Text(folder.User());
    app.State.gSetting = app.Sett;
    app.MainServices = services;
    app.Keyb = keyboard;
  }
  ~LoaderTest() override { app.CloseByteFile(); }

  std::shared_ptr<clsDic> Dic(std::u16string_view title) {
    for (const auto& dic : app.ColDics) {
      if (dic->FileTitle == title) return dic;
    }
    ADD_FAILURE() << "no dictionary " << ToUtf8(title);
    return std::make_shared<clsDic>();
  }
  static std::u16string Stored(std::u16string_view name) { return GetSetting(u"Main", name); }

  testing::PackageFolder folder;
  std::shared_ptr<testing::FakeSystem> system = std::make_shared<testing::FakeSystem>();
  testing::ScopedSystem scopedSystem{system};
  testing::ScopedUserSettings store{std::make_shared<MemorySettingsStore>()};
  std::shared_ptr<testing::FakeMainServices> services = std::make_shared<testing::FakeMainServices>();
  std::shared_ptr<testing::FakeKeyboardForm> keyboard = std::make_shared<testing::FakeKeyboardForm>();
};

TEST_F(LoaderTest, EmptyFolderLeavesNoDictionary) {
  app.InitDics();
  EXPECT_TRUE(app.ColDics.Empty());
  EXPECT_EQ(app.Dic, nullptr);
  EXPECT_EQ(app.State.gCurDic, nullptr);
  EXPECT_EQ(services->calls, std::vector<std::string>{"LoadDicButtons"});
  EXPECT_TRUE(keyboard->calls.empty());
}

TEST_F(LoaderTest, OnlyCommonPackagesAreVisibleDemos) {
  folder.Add("en-ru_common.dic", kEnRu + kWords);
  folder.Add("de-ru_common.dic", InfoMember("ShortName=De-Ru\nLang1=de\nLang2=ru"));
  app.InitDics();
  ASSERT_EQ(app.ColDics.Count(), 2u);
  for (const auto& dic : app.ColDics) {
    EXPECT_TRUE(dic->Demo);
    EXPECT_TRUE(dic->Visible);
    EXPECT_EQ(dic->Dicx, nullptr);
  }
  // "Dic" defaults to 1: the first package is chosen with a refresh.
  EXPECT_TRUE((*app.ColDics.ItemAt(1))->Enabled);
  EXPECT_EQ(services->calls.front().rfind("Info(", 0), 0u);
  EXPECT_EQ(services->calls.back(), "LoadDicButtons");
}

TEST_F(LoaderTest, CommonPackageHidesBehindItsFullPackage) {
  folder.WriteSourceFile("flag.ico", testing::kIconBytes);
  folder.Add("en-ru_full.dic",
             InfoMember("ShortName=En-Ru full\nLang1=en\nLang2=ru\nLanguage1=English\nLanguage2=Russian\nSupportDirection=1") +
                 kWords);
  folder.Add("en-ru_common.dic", kEnRu + "@file Icon flag.ico\n@file Icon2 flag.ico\n@member Replace\n???ing\t,e\n@end\n" +
                                     "@member TranscrHelp0\nhelp line\n@end\n");
  SaveSetting(u"Main", u"DicDir1", u"2");
  app.InitDics();
  const auto full = Dic(u"en-ru_full");
  const auto common = Dic(u"en-ru_common");
  EXPECT_EQ(full->Index, 1) << "full packages load first";
  EXPECT_EQ(common->Index, 2);
  EXPECT_FALSE(common->Visible);
  EXPECT_EQ(full->Dicx, common);
  EXPECT_EQ(common->FullDic.lock(), full);
  EXPECT_EQ(common->Direction(), 2) << "the common package follows the full package's direction";
  ASSERT_NE(full->Icon, nullptr);
  EXPECT_EQ(full->Icon, common->Icon);
  EXPECT_EQ(full->Icon1, nullptr);
  EXPECT_EQ(full->Icon2, common->Icon2);
  EXPECT_EQ(full->SfxCol, common->SfxCol) << "the same collection";
  EXPECT_TRUE(full->SfxCol->Exists(u"king"));
  EXPECT_TRUE(full->HaveTranscrHelp);
  EXPECT_EQ(full->GetTranscrHelp(), std::vector<std::u16string>{u"help line"});
  EXPECT_EQ(full->Layout1, 1033) << "the common package has both layouts";
  EXPECT_NE(full->Srcs, common->Srcs) << "the full package has as many sources and keeps its own";
  EXPECT_TRUE(full->Enabled);
  EXPECT_EQ(services->calls.front(), "Info(Russian --> English,auto)")
      << "the info line tells the stored direction, as the caption does";
  // Only the visible full package serves its languages.
  ASSERT_TRUE(app.DicLanguages.Exists(u"en"));
  EXPECT_EQ((*app.DicLanguages.Find(u"en"))->Dics.Count(), 1u);
  EXPECT_EQ((*app.DicLanguages.Find(u"en"))->GetDic(1), full);
  EXPECT_EQ(app.State.gCurDic, common) << "the last package loaded";
}

TEST_F(LoaderTest, LayoutsComeFromTheCommonPackageOnlyWhenItHasBoth) {
  folder.Add("en-ru_full.dic", InfoMember("Lang1=xx\nLang2=yy"));
  folder.Add("en-ru_common.dic", InfoMember("Lang1=en\nLang2=ru\nLayout1=1033"));
  folder.Add("de-ru_full.dic", InfoMember("Lang1=xx\nLang2=yy"));
  folder.Add("de-ru_common.dic", InfoMember("Lang1=de\nLang2=ru\nLayout1=1031\nLayout2=1049"));
  app.InitDics();
  const auto en = Dic(u"en-ru_full");
  EXPECT_EQ(en->Layout1, 0);
  EXPECT_EQ(en->Lang1, u"xx");
  const auto de = Dic(u"de-ru_full");
  EXPECT_EQ(de->Layout1, 1031);
  EXPECT_EQ(de->Layout2, 1049);
  EXPECT_EQ(de->Lang1, u"de");
  EXPECT_EQ(de->Lang2, u"ru");
}

TEST_F(LoaderTest, StoredChoiceOfAPairedCommonPackageSelectsTheFullPackage) {
  folder.Add("en-ru_full.dic", kEnRu);
  folder.Add("en-ru_common.dic", kEnRu);
  SaveSetting(u"Main", u"Dic", u"2");
  app.InitDics();
  const auto full = Dic(u"en-ru_full");
  EXPECT_EQ(app.Dic, full);
  EXPECT_TRUE(full->Enabled);
  EXPECT_FALSE(Dic(u"en-ru_common")->Enabled);
  EXPECT_EQ(Stored(u"Dic"), u"1");
}

TEST_F(LoaderTest, StoredChoiceNamingNothingSelectsTheFirstVisibleWithoutRefresh) {
  folder.Add("en-ru_full.dic", kEnRu);
  folder.Add("en-ru_common.dic", kEnRu);
  folder.Add("de-ru_common.dic", InfoMember("Lang1=de\nLang2=ru"));
  SaveSetting(u"Main", u"Dic", u"9");
  app.InitDics();
  EXPECT_EQ(app.Dic, Dic(u"en-ru_full"));
  EXPECT_EQ(services->calls, std::vector<std::string>{"LoadDicButtons"}) << "no info line, no refresh";
  EXPECT_EQ(Stored(u"Dic"), u"1");
}

TEST_F(LoaderTest, TwoDictionariesOfOneLanguageShareItsEntryAndItsLayer) {
  folder.WriteSourceFile("layer.gif", "GIF89a....");
  const std::string layers = "@file en1 layer.gif\n@file en3 layer.gif\n@file ru1 layer.gif\n";
  folder.Add("en-ru_full.dic", kEnRu + layers);
  // A common package without its full package: loaded after the full ones, and visible.
  folder.Add("en-de_common.dic", InfoMember("Lang1=en\nLang2=de\nLayout1=2057\nLayout2=1031"));
  app.InitDics();
  const auto& en = *app.DicLanguages.Find(u"en");
  ASSERT_EQ(en->Dics.Count(), 2u);
  EXPECT_EQ(en->GetDic(1)->Index, 1);
  EXPECT_EQ(en->GetDic(2)->Index, 2);
  EXPECT_EQ(en->GetDir(2), 1);
  EXPECT_EQ((*app.DicLanguages.Find(u"de"))->GetDir(1), 2);

  ASSERT_EQ(app.State.gLayers.Count(), 3u) << "en, ru, de";
  const auto& layer = *app.State.gLayers.Find(u"en");
  EXPECT_EQ(layer->Layout, 1033) << "the first dictionary's layer stays";
  EXPECT_EQ(layer->Layers.Count(), 2u);
  EXPECT_TRUE(layer->Layers.Exists(u"en3"));
  EXPECT_EQ(keyboard->calls, (std::vector<std::string>{"Label1=en", "Label2=ru", "Label3=de", "HideTemplate", "SetLang1"}));
  // The temporary picture files are gone again.
  EXPECT_TRUE(fs::is_empty(folder.User()));
}

TEST_F(LoaderTest, SourceSectionsStopAtTheFirstGap) {
  folder.Add("a_full.dic", InfoMember("Language1=MainL1\nFullName=Main name",
                                      "[Src1]\nLangID=1\nLanguage1=One\nFullName=First\n"
                                      "[Src3]\nLangID=3\nLanguage1=Three\n"));
  folder.Add("b_full.dic", InfoMember("Language1=MainL1\nLanguage2=MainL2\nFullName=Main name"));
  app.InitDics();
  const auto a = Dic(u"a_full");
  ASSERT_EQ(a->Srcs->Count(), 2u);
  EXPECT_TRUE(a->Srcs->Exists(u"k1"));
  EXPECT_EQ((*a->Srcs->Find(u"k0"))->Language1, u"One") << "the fallback takes the last Src section read";
  EXPECT_EQ((*a->Srcs->Find(u"k0"))->Name, u"First");
  const auto b = Dic(u"b_full");
  ASSERT_EQ(b->Srcs->Count(), 1u);
  EXPECT_EQ((*b->Srcs->Find(u"k0"))->Language2, u"MainL2");
  EXPECT_EQ(b->GetDirStr(), u"Main name");
}

TEST_F(LoaderTest, MembersOfUnicodeAndAnsiPackages) {
  const std::string members = "@member Replace\n??ies\ty,ie\nы\t,а\nies\tlost\n@end\n"
                              "@member Themes\n12\tMedicine\tmed.\n@end\n"
                              "@member Prefix\nghb\t1\t5\nntcn\t2\t3\n@end\n";
  folder.Add("u_full.dic", InfoMember("ShortName=Юникод\nLayout1=1033\nSupportRech=1") + members);
  folder.Add("a_full.dic", InfoMember("ShortName=Анси\nLayout1=1033\nLayout2=1049") + members, false);
  app.InitDics();
  for (const auto* title : {u"u_full", u"a_full"}) {
    const auto dic = Dic(title);
    ASSERT_EQ(dic->SfxCol->Count(), 2u) << ToUtf8(title);
    const auto ies = *dic->SfxCol->ItemAt(1);
    EXPECT_EQ(ies->sfx, u"ies") << "no byte-order mark in the first ending";
    EXPECT_EQ(ies->MinWordLen, 4);
    EXPECT_EQ(ies->Replaces, (std::vector<std::u16string>{u"y", u"ie"}));
    EXPECT_EQ((*dic->SfxCol->Find(u"kы"))->MinWordLen, 4);
    EXPECT_EQ(dic->GetTheme(12)->Short, u"med.");
  }
  EXPECT_TRUE(Dic(u"u_full")->Unicode);
  EXPECT_TRUE(Dic(u"u_full")->SupportRech);
  EXPECT_EQ(Dic(u"u_full")->Name, u"Юникод");
  EXPECT_FALSE(Dic(u"a_full")->Unicode);
  EXPECT_EQ(Dic(u"a_full")->Name, u"Анси");
  EXPECT_EQ((*app.State.gPrefixes.Find(u"ghb"))->Layouts, u"1033:5");
  EXPECT_EQ((*app.State.gPrefixes.Find(u"ntcn"))->Layouts, u"1049:3") << "from the package with Layout2 only";
}

TEST_F(LoaderTest, PackagesStayOpenWithTheirSectionValues) {
  folder.Add("en-ru_full.dic", kEnRu + kWords + "W\t1\tlonely\n");
  folder.Add("xx_full.dic", InfoMember("ShortName=No words"));
  app.InitDics();
  const auto dic = Dic(u"en-ru_full");
  EXPECT_GT(dic->FileN, 0);
  EXPECT_EQ(dic->FileLen, static_cast<std::int32_t>(fs::file_size(folder.Dictionaries() / "en-ru_full.dic")));
  EXPECT_EQ(dic->Words, 5);
  EXPECT_EQ(dic->WordsHashUB, 4);
  EXPECT_NE(dic->MinWordsHash, 0);
  EXPECT_NE(dic->MaxWordsHash, 0);
  EXPECT_GT(dic->beWords, dic->bsWords);
  EXPECT_EQ(dic->bsTranscr, 0) << "no transcriptions";
  // Word IDs in order of first mention: apple 1, яблоко 2, pear 3, груша 4.
  EXPECT_EQ(dic->UBTW1, 1);
  EXPECT_EQ(dic->MinTW1, 1);
  EXPECT_EQ(dic->MaxTW1, 3);
  EXPECT_EQ(dic->UBTW2, 1);
  EXPECT_EQ(dic->MinTW2, 2);
  EXPECT_EQ(dic->MaxTW2, 4);

  const auto empty = Dic(u"xx_full");
  EXPECT_NE(empty->FileN, dic->FileN);
  EXPECT_EQ(empty->Words, 0);
  EXPECT_EQ(empty->WordsHashUB, -1);
  EXPECT_EQ(empty->UBTW2, -1);
  EXPECT_EQ(empty->MinTW1, 0);
  EXPECT_TRUE(app.OpenFiles().Reader(dic->FileN).IsOpen());
  app.CloseByteFile();
  EXPECT_FALSE(app.OpenFiles().Reader(dic->FileN).IsOpen());
}

TEST_F(LoaderTest, CorruptedPackagesLoadEmptyBesideGoodOnes) {
  folder.Add("en-ru_full.dic", kEnRu + kWords);
  std::string huge(1 + 12 * 3, '\0');
  huge[0] = 3;  // three directory records that point far past the end
  for (int i = 0; i < 3; ++i) huge[1 + 12 * i + 3] = '\x7F';
  testing::WriteBytes(folder.Dictionaries() / "bad_full.dic", huge);
  testing::WriteBytes(folder.Dictionaries() / "junk_common.dic", "\xFF garbage that is no package at all");
  testing::WriteBytes(folder.Dictionaries() / "zero_full.dic", "");
  // A package whose sections lie: "TransW1" claims a table far larger than itself.
  folder.Add("liar_full.dic", kEnRu + kWords);
  {
    std::string bytes = testing::ReadBytes(folder.Dictionaries() / "liar_full.dic");
    app.InitDics();
    const auto liar = Dic(u"liar_full");
    ASSERT_GT(liar->beTransW1, liar->bsTransW1);
    bytes[static_cast<std::size_t>(liar->bsTransW1) + 3] = '\x40';
    app.CloseByteFile();
    testing::WriteBytes(folder.Dictionaries() / "liar_full.dic", bytes);
  }
  app.InitDics();
  ASSERT_EQ(app.ColDics.Count(), 5u);
  EXPECT_EQ(Dic(u"en-ru_full")->Words, 4);
  for (const auto* title : {u"bad_full", u"junk_common", u"zero_full"}) {
    const auto dic = Dic(title);
    EXPECT_EQ(dic->Name, u"") << ToUtf8(title);
    EXPECT_FALSE(dic->Unicode);
    EXPECT_EQ(dic->beWords, 0);
    EXPECT_EQ(dic->Words, 0);
    EXPECT_EQ(dic->Srcs->Count(), 1u) << "the fallback source only";
  }
  const auto liar = Dic(u"liar_full");
  EXPECT_EQ(liar->MinTW1, 0);
  EXPECT_EQ(liar->Words, 4);
}

TEST_F(LoaderTest, OldFilesMoveToTheirNewNames) {
  const auto program = folder.Program();
  testing::WriteBytes(program / "Demo" / "English.dic", "old common");
  testing::WriteBytes(program / "Dictionaries" / "EnglishBig.dic", "big");
  testing::WriteBytes(program / "Dictionaries" / "English.dic", "older");
  testing::WriteBytes(program / "Demo" / "Spanish.dic", "spanish");
  testing::WriteBytes(program / "Dictionaries" / "sp-en_common.dic", "already there");
  app.InitDics();
  EXPECT_EQ(testing::ReadBytes(program / "Dictionaries" / "en-ru_common.dic"), "old common");
  EXPECT_EQ(testing::ReadBytes(program / "Dictionaries" / "en-ru_full.dic"), "big");
  EXPECT_EQ(testing::ReadBytes(program / "Dictionaries" / "sp-en_common.dic"), "already there");
  EXPECT_FALSE(fs::exists(program / "Dictionaries" / "English.dic"));
  EXPECT_FALSE(fs::exists(program / "Dictionaries" / "EnglishBig.dic"));
  EXPECT_FALSE(fs::exists(program / "Demo")) << "emptied, so removed";
  EXPECT_EQ(app.ColDics.Count(), 3u) << "the moved files are loaded";
}

TEST_F(LoaderTest, ANonEmptyDemoFolderStays) {
  testing::WriteBytes(folder.Program() / "Demo" / "readme.txt", "keep");
  fs::remove_all(folder.Dictionaries());
  app.InitDics();
  EXPECT_TRUE(fs::exists(folder.Program() / "Demo" / "readme.txt"));
  EXPECT_TRUE(fs::is_directory(folder.Dictionaries())) << "created again";
}

TEST_F(LoaderTest, UserSwitchTableJoinsThePackagePrefixes) {
  folder.Add("en-ru_full.dic", kEnRu + "@member Prefix\nghb\t1\t5\n@end\n");
  testing::WriteBytes(folder.User() / "trl.dat", "ghb\t1049:2\t7\r\nyjdst\t1033:1\t1\r\n");
  app.InitDics();
  EXPECT_EQ((*app.State.gPrefixes.Find(u"ghb"))->Layouts, u"1033:5,1049:2");
  EXPECT_TRUE((*app.State.gPrefixes.Find(u"yjdst"))->ByUser);
}

TEST_F(LoaderTest, SecondLoadReplacesEverything) {
  folder.Add("en-ru_full.dic", kEnRu + "@member Prefix\nghb\t1\t5\n@end\n");
  app.InitDics();
  const auto first = Dic(u"en-ru_full");
  app.InitDics();
  ASSERT_EQ(app.ColDics.Count(), 1u);
  EXPECT_NE(Dic(u"en-ru_full"), first);
  EXPECT_EQ(app.State.gPrefixes.Count(), 1u);
  EXPECT_EQ(app.State.gLayers.Count(), 2u);
  EXPECT_EQ((*app.DicLanguages.Find(u"en"))->Dics.Count(), 1u);
}

// Broken files that sort before sound ones: a 0-byte package, one of random bytes, a full package
// that cannot be read (only where permissions hold for this user) beside its sound common twin.
TEST_F(LoaderTest, BadPackagesBesideGoodOnesAreSkipped) {
  const auto write = [&](const char* name, std::string_view bytes) {
    std::ofstream(folder.Dictionaries() / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  };
  write("aa-ru_full.dic", "");
  std::string noise(4096, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  write("ab-ru_full.dic", noise);
  folder.Add("de-ru_full.dic", kEnRu + kWords);
  folder.Add("ac-ru_common.dic", kEnRu + "L\tplum\tслива\n");
  write("ac-ru_full.dic", noise.substr(0, 100));
  SaveSetting(u"Main", u"Dic", u"1");  // names the 0-byte package, first in name order
  app.InitDics();
  ASSERT_EQ(app.ColDics.Count(), 5u);
  // Full packages first, each group in name order.
  std::vector<std::u16string> titles;
  for (const auto& dic : app.ColDics) titles.push_back(dic->FileTitle);
  EXPECT_EQ(titles, (std::vector<std::u16string>{u"aa-ru_full", u"ab-ru_full", u"ac-ru_full", u"de-ru_full",
                                                  u"ac-ru_common"}));
  for (const char16_t* bad : {u"aa-ru_full", u"ab-ru_full", u"ac-ru_full"}) {
    EXPECT_FALSE(Dic(bad)->Visible) << ToUtf8(bad);
    EXPECT_FALSE(Dic(bad)->Enabled) << ToUtf8(bad);
  }
  const auto good = Dic(u"de-ru_full");
  EXPECT_EQ(app.Dic, good);
  EXPECT_TRUE(app.WordExist(u"apple", *app.Dic));
  // The common package serves alone: not hidden behind the broken full package.
  const auto common = Dic(u"ac-ru_common");
  EXPECT_TRUE(common->Visible);
  EXPECT_EQ(Dic(u"ac-ru_full")->Dicx, nullptr);
  EXPECT_EQ(common->FullDic.lock(), nullptr);
  EXPECT_TRUE(app.WordExist(u"plum", *common));
  EXPECT_EQ((*app.DicLanguages.Find(u"en"))->Dics.Count(), 2u);
  // Said once, after the buttons are made.
  EXPECT_EQ(services->calls.back(),
            "Info(" + ToUtf8(app.LZ(lang::kInfoDicsSkipped)) + " aa-ru_full.dic, ab-ru_full.dic, ac-ru_full.dic)");
}

// A start that cannot use the stored choice serves another but keeps the choice: with the package
// whole again, the next start is back on it.
TEST_F(LoaderTest, AStoredChoiceOfADamagedPackageSurvivesTheStart) {
  folder.Add("de-ru_full.dic", kEnRu + "L\tHaus\tдом\n");
  folder.Add("en-ru_full.dic", kEnRu + kWords);
  const fs::path de = folder.Dictionaries() / "de-ru_full.dic";
  const std::string whole = testing::ReadBytes(de);
  testing::WriteBytes(de, whole.substr(0, whole.size() / 3));
  SaveSetting(u"Main", u"Dic", u"1");
  app.InitDics();
  EXPECT_FALSE(Dic(u"de-ru_full")->Visible);
  EXPECT_EQ(app.Dic, Dic(u"en-ru_full"));
  EXPECT_TRUE(app.WordExist(u"apple", *app.Dic));
  EXPECT_EQ(Stored(u"Dic"), u"1");
  app.CloseByteFile();
  testing::WriteBytes(de, whole);
  app.InitDics();
  EXPECT_EQ(app.Dic, Dic(u"de-ru_full"));
  // Chosen by the user, the other package is the stored choice from then on.
  Dic(u"en-ru_full")->SetEnabled(true);
  EXPECT_EQ(Stored(u"Dic"), u"2");
}

// Packages of builders before the record of the file's length: one that lost its last section's
// final entry cannot be told from a whole one, but one whose "TransW2" holds more entries than
// there are links (the next member's bytes read as entries) is skipped.
TEST_F(LoaderTest, LinkIndexLongerThanTheLinksIsSkipped) {
  folder.Add("en-ru_full.dic", kEnRu + kWords);
  folder.Add("en-ru_common.dic", kEnRu + kWords);
  const fs::path full = folder.Dictionaries() / "en-ru_full.dic";
  std::string bytes = testing::ReadBytes(full);
  --bytes[0];  // the record leaves the directory
  std::string without = bytes;
  without.erase(without.size() - 5, 4);
  testing::WriteBytes(full, without);
  app.InitDics();
  EXPECT_TRUE(Dic(u"en-ru_full")->Visible);
  app.CloseByteFile();
  bytes.replace(bytes.size() - 5, 4, 4, '\0');  // one more entry, naming the first link
  testing::WriteBytes(full, bytes);
  app.InitDics();
  EXPECT_FALSE(Dic(u"en-ru_full")->Visible);
  EXPECT_EQ(app.Dic, Dic(u"en-ru_common"));
}

// The directory offset of the key of member name in the Unicode package at path; 0 when none.
std::int64_t KeyOffset(const fs::path& path, std::u16string_view name) {
  const PackageFile package = PackageFile::Open(path);
  const double key = PackageKey(name, true, AnsiCodePage());
  for (int i = 0; i < package.MemberCount(); ++i) {
    double k = 0;
    if (package.ReadF64(1 + 12 * i + 4, k) && k == key) return 1 + 12 * i + 4;
  }
  return 0;
}

void OverwriteInPlace(const fs::path& path, std::int64_t offset, std::string_view bytes) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(offset);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One byte of a section's name in the directory hides that section: the sections that need it
// tell, and the package is not used (its twin serves), whichever byte of the key it is.
TEST_F(LoaderTest, ADamagedSectionNameInTheDirectoryIsRefused) {
  folder.Add("en-ru_full.dic", kEnRu + kWords + "L\tplum\tслива\n");
  folder.Add("en-ru_common.dic", kEnRu + kWords);
  const fs::path full = folder.Dictionaries() / "en-ru_full.dic";
  const fs::path common = folder.Dictionaries() / "en-ru_common.dic";
  const std::string fullBytes = testing::ReadBytes(full), commonBytes = testing::ReadBytes(common);
  for (const auto& [path, name] : {std::pair{full, u"TransW2"}, std::pair{common, u"WordsHash"}, std::pair{full, u"Words"},
                                   std::pair{full, u"TransW1"}, std::pair{common, u"WordsSort"}}) {
    const std::int64_t key = KeyOffset(path, name);
    ASSERT_NE(key, 0) << ToUtf8(name);
    for (int byte = 0; byte < 8; ++byte) {
      app.CloseByteFile();
      testing::WriteBytes(full, fullBytes);
      testing::WriteBytes(common, commonBytes);
      std::string damaged = testing::ReadBytes(path);
      damaged[static_cast<std::size_t>(key + byte)] ^= 0x10;
      testing::WriteBytes(path, damaged);
      app.InitDics();
      const auto hit = Dic(path.stem().u16string());
      const auto twin = Dic(path == full ? u"en-ru_common" : u"en-ru_full");
      EXPECT_FALSE(hit->Visible) << ToUtf8(name) << " byte " << byte;
      EXPECT_EQ(app.Dic, twin) << ToUtf8(name) << " byte " << byte;
      EXPECT_TRUE(twin->Visible);
      EXPECT_EQ(twin->Dicx, nullptr);
    }
  }
}

// A package of a builder before the record of the file's length, zeroed from some point to its
// end (a copy that took its full size first), is refused at opening wherever the zeros begin.
TEST_F(LoaderTest, AZeroTailWithoutTheLengthRecordIsRefused) {
  std::string words;
  for (const char* w : {"apple", "pear", "plum", "cherry", "grape", "lemon", "melon", "peach"}) {
    words += std::string("L\t") + w + "\t" + w + "_ru\nL\t" + w + "\tдругое " + w + "\n";
  }
  folder.Add("en-ru_full.dic", kEnRu + words);
  folder.Add("en-ru_common.dic", kEnRu + kWords);
  const fs::path full = folder.Dictionaries() / "en-ru_full.dic";
  std::string bytes = testing::ReadBytes(full);
  --bytes[0];  // the length record leaves the directory, and its four bytes the file
  bytes.erase(bytes.size() - 5, 4);
  // From the first section on; the members before it ("Info") are read whole anyway.
  std::int32_t firstSection = 0;
  ASSERT_TRUE(PackageFile::Open(full).ReadI32(KeyOffset(full, u"Words") - 4, firstSection));
  for (std::size_t from = static_cast<std::size_t>(firstSection); from + 1 < bytes.size(); from += 5) {
    app.CloseByteFile();
    std::string zeroed = bytes;
    std::fill(zeroed.begin() + static_cast<std::ptrdiff_t>(from), zeroed.end(), '\0');
    if (zeroed == bytes) break;  // the last entry's high bytes were zeros already
    testing::WriteBytes(full, zeroed);
    app.InitDics();
    EXPECT_FALSE(Dic(u"en-ru_full")->Visible) << "zeros from " << from << " of " << bytes.size();
    EXPECT_EQ(app.Dic, Dic(u"en-ru_common"));
  }
}

// Bytes overwritten in place inside a package that opened whole: the first look-up that reads
// them finds the package damaged and answers from its twin; the package is then set aside as
// one found damaged at opening, and the info line says so once.
TEST_F(LoaderTest, ADamagedRecordFoundByALookUpLetsTheTwinAnswer) {
  folder.Add("en-ru_full.dic", kEnRu + "L\taal\tугорь\nL\tapple\tплод\nL\tpear\tгруша\n");
  folder.Add("en-ru_common.dic", kEnRu + kWords);
  app.InitDics();
  const auto full = Dic(u"en-ru_full"), common = Dic(u"en-ru_common");
  ASSERT_EQ(app.Dic, full);
  ASSERT_EQ(full->Dicx, common);
  std::u16string rendered;
  EXPECT_NE(app.GetTranslate(u"pear", rendered), 0);
  // apple's link record now begins far beyond its section.
  std::string far(4, '\0');
  far[3] = 0x40;
  OverwriteInPlace(folder.Dictionaries() / "en-ru_full.dic", full->bsTransW1 + 4, far);
  services->calls.clear();
  TranslateArgs args;
  args.ClrBuffer = true;
  EXPECT_NE(app.GetTranslate(u"apple", rendered, args, {}), 0);
  EXPECT_NE(rendered.find(u"яблоко"), std::u16string::npos) << ToUtf8(rendered);
  EXPECT_EQ(rendered.find(u"плод"), std::u16string::npos) << ToUtf8(rendered);
  EXPECT_TRUE(full->Damaged());
  EXPECT_FALSE(full->Visible);
  EXPECT_EQ(full->Dicx, nullptr);
  EXPECT_EQ(app.Dic, common);
  EXPECT_TRUE(common->Visible);
  EXPECT_EQ(common->FullDic.lock(), nullptr);
  EXPECT_EQ((*app.DicLanguages.Find(u"en"))->GetDic(1), common);
  EXPECT_EQ(Stored(u"Dic"), u"1") << "the user's choice stays";
  const std::string said = "Info(" + ToUtf8(app.LZ(lang::kInfoDicsSkipped)) + " en-ru_full.dic)";
  EXPECT_EQ(std::count(services->calls.begin(), services->calls.end(), said), 1);
  // The full package's whole records answer nothing any more either.
  EXPECT_NE(app.GetTranslate(u"pear", rendered, args, {}), 0);
  EXPECT_NE(rendered.find(u"груша"), std::u16string::npos);
  EXPECT_EQ(std::count(services->calls.begin(), services->calls.end(), said), 1);
}

// The builder reads "SupportRech" as the loader does, so the link headers are the size the loader
// expects.
TEST_F(LoaderTest, SupportRechWithACommentOrAFractionBuildsAPackageThatLoads) {
  for (const char* value : {"1 // comment", "1.0", "0 // off"}) {
    app.CloseByteFile();
    folder.Add("en-ru_full.dic", InfoMember(std::string("ShortName=En-Ru\nLang1=en\nLang2=ru\nSupportRech=") + value) +
                                     "L\tapple\tяблоко\tN\tN\nL\tpear\tгруша\n");
    app.InitDics();
    const auto dic = Dic(u"en-ru_full");
    EXPECT_TRUE(dic->Visible) << value;
    EXPECT_EQ(app.Dic, dic) << value;
    std::vector<TransRec> recs;
    app.GetTransRecs(u"pear", recs, *dic);
    ASSERT_EQ(recs.size(), 1u) << value;
    EXPECT_EQ(recs[0].Trans.Text, u"груша");
    EXPECT_FALSE(dic->Damaged()) << value;
  }
}

TEST_F(LoaderTest, UnreadablePackageIsSkipped) {
  folder.Add("aa-ru_full.dic", kEnRu + kWords);
  folder.Add("de-ru_full.dic", kEnRu + kWords);
  testing::PutUnreadableFile(folder.Dictionaries() / "aa-ru_full.dic");
  app.InitDics();
  EXPECT_FALSE(Dic(u"aa-ru_full")->Visible);
  EXPECT_EQ(app.Dic, Dic(u"de-ru_full"));
}

}  // namespace
}  // namespace parlavent
