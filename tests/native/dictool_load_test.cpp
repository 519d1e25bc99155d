#include "load_command.h"
#include "list_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "foundation/text.h"
#include "native/package_folder.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

using testing::InfoMember;

// Runs dictool load with the default services restored afterwards.
std::vector<std::string> LoadLines(const std::filesystem::path& folder) {
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  std::ostringstream out;
  EXPECT_EQ(dictool::LoadFolder(folder, out), 0);
  std::vector<std::string> lines;
  for (const auto& line : SplitText(FromUtf8(out.str()), u"\n")) {
    if (!line.empty()) lines.push_back(ToUtf8(line));
  }
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const std::filesystem::path kSamples = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries";

TEST(DictoolLoadTest, ListsBothSamples) {
  const auto lines = LoadLines(kSamples);
  ASSERT_EQ(lines.size(), 7u) << "two full and two common packages, three languages";
  std::vector<std::u16string> files;
  for (int i = 0; i < 2; ++i) {
    const auto fields = SplitText(FromUtf8(lines[i]), u"\t");
    ASSERT_EQ(fields.size(), 17u) << lines[i];
    files.push_back(fields[1]);
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::u16string>{u"de-ru_full.dic", u"en-ru_full.dic"}));
  EXPECT_TRUE(Has(lines, "ru\t1:2\t2:2"));
}

// Transcriptions reach the program only through a full package's common package, and theme
// names only through the "Themes" of the package whose links carry their numbers.
TEST(DictoolLoadTest, SamplesPairTheirCommonPackagesAndThemeTheirLinks) {
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  const int result = dictool::WithLoadedFolder(kSamples, [](Appl& app) {
    const auto find = [&](std::u16string_view title) {
      for (const auto& dic : app.ColDics) {
        if (dic->FileTitle == title) return dic;
      }
      return std::shared_ptr<clsDic>();
    };
    for (const auto& [pair, word, transcription] : {std::tuple{u"de-ru", u"haus", u"haʊ̯s"}, {u"en-ru", u"Zoo", u"zˈuː"}}) {
      SCOPED_TRACE(ToUtf8(pair));
      const auto full = find(std::u16string(pair) + u"_full");
      const auto common = find(std::u16string(pair) + u"_common");
      if (!full || !common) return ADD_FAILURE() << "not loaded", 1;
      EXPECT_EQ(full->Dicx, common);
      EXPECT_FALSE(common->Visible);
      EXPECT_TRUE(full->HaveTranscrHelp);
      full->SetEnabled(false);
      EXPECT_EQ(app.GetTranscript(word), transcription);
      EXPECT_EQ(app.GetTranscript(u"Zzyzx"), u"");
    }
    const auto de = find(u"de-ru_full");
    std::vector<TransRec> recs;
    app.GetTransRecs(u"Abrüstung", recs, *de);
    const auto link = std::find_if(recs.begin(), recs.end(), [](const TransRec& r) { return r.Trans.Text == u"разоружение"; });
    if (link == recs.end()) return ADD_FAILURE() << "no link", 1;
    EXPECT_EQ(link->Theme1.Name, u"Politik");
    EXPECT_EQ(link->Theme1.Short, u"Pol.");
    EXPECT_EQ(link->Theme2.Name, u"Militär");
    EXPECT_EQ(link->Theme3.ID, 0);
    EXPECT_EQ(link->Comment.find(u"Politik"), std::u16string::npos) << ToUtf8(link->Comment);
    return 0;
  });
  EXPECT_EQ(result, 0);
}

TEST(DictoolLoadTest, PairedPackagesNameEachOther) {
  testing::PackageFolder folder;
  folder.Add("en-ru_full.dic", InfoMember("ShortName=Big\nLang1=en\nLang2=ru") + "L\tcat\tкот\n");
  folder.Add("en-ru_common.dic", InfoMember("ShortName=Small\nLang1=en\nLang2=ru") + "@member Replace\ns\t\n@end\n");
  const auto lines = LoadLines(folder.Dictionaries());
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "1\ten-ru_full.dic\ten-ru_full\tBig\ten\tru\tTrue\tTrue\tFalse\tTrue\t0\t2\t1\t1\t0\ten-ru_common\t",
                       "2\ten-ru_common.dic\ten-ru_common\tSmall\ten\tru\tTrue\tFalse\tTrue\tFalse\t0\t0\t1\t1\t0\t\ten-ru_full",
                       "en\t1:1",
                       "ru\t1:2",
                   }));
  EXPECT_TRUE(std::filesystem::is_empty(folder.User()));
}

// Interrupted copies: every package is cut short past its "Info", so its sections lie beyond its end.
TEST(DictoolLoadTest, CutShortPackagesAreNeverCurrent) {
  testing::TempDir dir;
  const std::string de = testing::ReadBytes(kSamples / "de-ru_full.dic");
  const std::string en = testing::ReadBytes(kSamples / "en-ru_full.dic");
  testing::WriteBytes(dir.path() / "aa-ru_full.dic", "");
  testing::WriteBytes(dir.path() / "ab-ru_full.dic", de.substr(0, 5000));
  testing::WriteBytes(dir.path() / "de-ru_full.dic", de);
  testing::WriteBytes(dir.path() / "en-ru_full.dic", en.substr(0, en.size() - 3));
  std::filesystem::copy_file(kSamples / "en-ru_common.dic", dir.path() / "en-ru_common.dic");
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  const int result = dictool::WithLoadedFolder(dir.path(), [](Appl& app) {
    std::vector<std::u16string> visible;
    for (const auto& dic : app.ColDics) {
      if (dic->Visible) visible.push_back(dic->FileTitle);
    }
    EXPECT_EQ(visible, (std::vector<std::u16string>{u"de-ru_full", u"en-ru_common"}));
    if (!app.Dic) return ADD_FAILURE() << "nothing current", 1;
    EXPECT_EQ(app.Dic->FileTitle, u"de-ru_full");
    EXPECT_NE(app.GetSimpleTrans(u"Haus"), u"");
    const auto common = *app.ColDics.ItemAt(5);
    EXPECT_EQ(common->FullDic.lock(), nullptr);
    EXPECT_TRUE(app.WordExist(u"zoo", *common));
    return 0;
  });
  EXPECT_EQ(result, 0);
}

// Looking at a folder changes nothing in it or around it: no preset.ini, no "Dictionaries" beside it.
TEST(DictoolLoadTest, ReadOnlyCommandsWriteNothing) {
  testing::TempDir dir;
  const std::filesystem::path dics = dir.path() / "install" / "dics";
  std::filesystem::create_directories(dics);
  for (const char* name : {"en-ru_full.dic", "en-ru_common.dic"}) std::filesystem::copy_file(kSamples / name, dics / name);
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  std::ostringstream out;
  const std::string folder = dics.string();
  EXPECT_EQ(dictool::RunListCommand("abc", {folder}, out), 0);
  EXPECT_EQ(dictool::RunListCommand("wordlist", {folder, "ho"}, out), 0);
  EXPECT_EQ(dictool::LoadFolder(dics, out), 0);
  EXPECT_NE(out.str(), "");
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
    files.push_back(std::filesystem::relative(entry.path(), dir.path()).generic_string());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"install", "install/dics", "install/dics/en-ru_common.dic",
                                             "install/dics/en-ru_full.dic"}));
}

}  // namespace
}  // namespace parlavent
