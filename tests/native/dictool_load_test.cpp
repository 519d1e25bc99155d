#include "load_command.h"
#include "list_commands.h"
#include "package_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/package_file.h"
#include "dictionary/sections.h"
#include "native/package_folder.h"
#include "support/fake_system.h"
#include "text/text.h"

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
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    EXPECT_EQ(dictool::CheckPackage(entry.path()), "") << entry.path();
  }
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

// The start of the member that starts last.
std::int64_t LastMemberStart(const std::string& package) {
  const auto file = PackageFile::FromMemory({reinterpret_cast<const std::uint8_t*>(package.data()), package.size()});
  std::int64_t last = 0;
  for (int i = 0; i < file.MemberCount(); ++i) {
    std::int32_t start = 0;
    file.ReadI32(1 + 12 * i, start);
    last = std::max<std::int64_t>(last, start);
  }
  return last;
}

// A package as builders wrote it before the record of its length: the record (the last member)
// leaves the directory and the file.
std::string WithoutLengthRecord(std::string package) {
  --package[0];
  package.erase(package.size() - 5, 4);
  return package;
}

struct Cut {
  std::string bytes;
  std::string what;
};

// Interrupted copies: each sample package cut short beside its sound twin is offered nowhere,
// neither current nor paired, and the twin serves in its place.
TEST(DictoolLoadTest, CutShortPackagesAreSkippedAndTheirTwinsServe) {
  testing::TempDir dir;
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  for (const auto& [pair, word] : {std::pair{"de-ru", u"Haus"}, {"en-ru", u"zoo"}}) {
    for (const std::string kind : {"_full", "_common"}) {
      const std::string twin = kind == "_full" ? "_common" : "_full";
      const std::string whole = testing::ReadBytes(kSamples / (pair + kind + ".dic"));
      const std::int64_t size = static_cast<std::int64_t>(whole.size());
      std::vector<Cut> cuts;
      const auto cut = [&](const std::string& bytes, std::int64_t length, const std::string& what) {
        cuts.push_back({bytes.substr(0, static_cast<std::size_t>(length)), what});
      };
      for (std::int64_t by : {1, 4, 64, 2000}) cut(whole, size - by, "cut by " + std::to_string(by));
      cut(whole, size / 3, "a third");
      cut(whole, size / 2, "a half");
      cut(whole, LastMemberStart(whole) + 1, "to the last member's start + 1");
      // A copy that took its full size first and was interrupted: the length is right, the tail zeros.
      cuts.push_back({whole.substr(0, whole.size() - 2000) + std::string(2000, '\0'), "its last 2,000 bytes zeros"});
      // Without the record only the sections tell: a cut "TransW2" (the last section of a full
      // package) shows by a broken entry, a cut "WordsSort" (a common package's) by the offsets
      // of "Words", which count more words.
      const std::string old = WithoutLengthRecord(whole);
      const std::int64_t oldSize = static_cast<std::int64_t>(old.size());
      for (std::int64_t by : kind == "_full" ? std::vector<std::int64_t>{1, 2, 3} : std::vector<std::int64_t>{1, 4, 64, 2000}) {
        cut(old, oldSize - by, "old, cut by " + std::to_string(by));
      }
      cut(old, LastMemberStart(old) + 1, "old, to the last member's start + 1");
      cut(old, oldSize / 2, "old, a half");
      cuts.push_back({old.substr(0, static_cast<std::size_t>(oldSize * 34 / 100)) +
                          std::string(static_cast<std::size_t>(oldSize - oldSize * 34 / 100), '\0'),
                      "old, zeros from 34% on"});
      std::filesystem::copy_file(kSamples / (pair + twin + ".dic"), dir.path() / (pair + twin + ".dic"),
                                 std::filesystem::copy_options::overwrite_existing);
      for (const Cut& c : cuts) {
        SCOPED_TRACE(pair + kind + ", " + c.what);
        testing::WriteBytes(dir.path() / (pair + kind + ".dic"), c.bytes);
        EXPECT_NE(dictool::CheckPackage(dir.path() / (pair + kind + ".dic")), "");
        dictool::WithLoadedFolder(dir.path(), [&](Appl& app) {
          const auto find = [&](const std::string& k) {
            for (const auto& dic : app.ColDics) {
              if (ToUtf8(dic->FileTitle) == pair + k) return dic;
            }
            return std::shared_ptr<clsDic>();
          };
          const auto broken = find(kind), served = find(twin);
          if (!broken || !served) return ADD_FAILURE() << "not loaded", 1;
          EXPECT_FALSE(broken->Visible);
          EXPECT_FALSE(broken->Enabled);
          EXPECT_EQ(broken->Dicx, nullptr);
          EXPECT_EQ(broken->FullDic.lock(), nullptr);
          EXPECT_TRUE(served->Visible);
          EXPECT_EQ(app.Dic, served);
          EXPECT_EQ(served->Dicx, nullptr);
          EXPECT_TRUE(app.WordExist(word, *served));
          return 0;
        });
      }
      // Each pair's cases see its own two packages only: no cut copy of the pair before.
      std::filesystem::remove(dir.path() / (pair + twin + ".dic"));
      std::filesystem::remove(dir.path() / (pair + kind + ".dic"));
    }
  }
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
