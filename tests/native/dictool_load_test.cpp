#include "load_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

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

TEST(DictoolLoadTest, ListsBothSamples) {
  const auto lines = LoadLines(std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries");
  ASSERT_EQ(lines.size(), 5u) << "two dictionaries, three languages";
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

}  // namespace
}  // namespace parlavent
