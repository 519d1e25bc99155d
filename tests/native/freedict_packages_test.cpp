// The importer and the builder on Debian's FreeDict data (scripts/install-deps.sh installs it): the
// sample packages the build made from deu-rus and eng-rus, and an English-German package built
// here from dict-freedict-eng-deu, the largest of the three.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "app/application.h"
#include "app/engine_operations.h"
#include "dictd_import.h"
#include "dictionary/sections.h"
#include "dictionary_source.h"
#include "package_builder.h"
#include "support/package_fixture.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

const std::filesystem::path kDictd = "/usr/share/dictd";

// A file of this process alone: packages are mapped while they are read, and another test run
// writing the same file would pull the pages away.
std::filesystem::path ScratchFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("parlavent_" + std::to_string(std::random_device{}()) + "_" + name);
}

std::filesystem::path SamplePath(const char* file) {
  return std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries" / file;
}

// Every text of a package: words, transcriptions, link comments.
std::vector<std::u16string> PackageTexts(const PackageFile& p) {
  const CodePage& cp = AnsiCodePage();
  std::vector<std::u16string> texts;
  auto i32 = [&](std::int64_t at) {
    std::int32_t v = 0;
    EXPECT_TRUE(p.ReadI32(at, v)) << at;
    return static_cast<std::int64_t>(v);
  };
  for (std::u16string_view name : {u"Words", u"Transcript"}) {
    const MemberBounds s = p.FindMember(name, true, cp);
    if (s.Empty()) continue;
    const std::int64_t n = i32(s.Start) / 4 - 1;
    for (std::int64_t k = 0; k < n; ++k) {
      const std::int64_t a = std::abs(i32(s.Start + 4 * k)), b = std::abs(i32(s.Start + 4 * (k + 1)));
      texts.push_back(DecodePackageText(p.Bytes(s.Start + a, b - a), true, cp));
    }
  }
  const std::u16string info = DecodePackageText(p.Member(u"Info", true, cp), true, cp);
  const std::int64_t header = IniValue(info, u"Main", u"SupportRech") == u"1" ? 16 : 14;
  const MemberBounds w1 = p.FindMember(u"TransW1", true, cp);
  const std::int64_t r = w1.Empty() ? 0 : i32(w1.Start) / 4;
  for (std::int64_t n = 0; n < r; ++n) {
    const std::int64_t start = w1.Start + i32(w1.Start + 4 * n);
    const std::int64_t end = n + 1 < r ? w1.Start + i32(w1.Start + 4 * (n + 1)) : w1.End;
    texts.push_back(DecodePackageText(p.Bytes(start + header, end - start - header), true, cp));
  }
  return texts;
}

void ExpectNoCharacterReferences(const std::filesystem::path& path) {
  SCOPED_TRACE(path.string());
  const PackageFile package = PackageFile::Open(path);
  ASSERT_TRUE(package.IsOpen());
  const std::vector<std::u16string> texts = PackageTexts(package);
  EXPECT_GT(texts.size(), 1000u);
  for (const std::u16string& t : texts) {
    ASSERT_EQ(t.find(u"&#"), std::u16string::npos) << ToUtf8(t);
    ASSERT_EQ(t.find(u"&amp;"), std::u16string::npos) << ToUtf8(t);
  }
}

std::string Import(const char* database, const ImportOptions& options, const std::string& head) {
  std::ostringstream out;
  out << head;
  ImportReport report;
  std::string err;
  EXPECT_TRUE(ImportDictd(kDictd / (std::string(database) + ".index"), kDictd / (std::string(database) + ".dict.dz"),
                          options, out, report, err))
      << err;
  return out.str();
}

TEST(FreeDictSamples, HoldNoCharacterReferences) {
  for (const char* file : {"de-ru_full.dic", "de-ru_common.dic", "en-ru_full.dic", "en-ru_common.dic"}) {
    ExpectNoCharacterReferences(SamplePath(file));
  }
}

// The same source gives the same bytes, built twice in memory and once straight into a file.
TEST(FreeDictSamples, BuildTwiceGivesTheSameBytes) {
  const std::string text =
      Import("freedict-deu-rus", {.explanations = true, .themes = {}}, "@member Info\n[Main]\nSupportRech=1\n@end\n");
  DictionarySource source;
  std::string err;
  ASSERT_TRUE(ParseSource(text, "de-ru.txt", ".", source, err)) << err;
  std::vector<std::uint8_t> first, second;
  BuildReport report;
  ASSERT_TRUE(BuildPackage(source, {}, first, report, err)) << err;
  ASSERT_TRUE(BuildPackage(source, {}, second, report, err)) << err;
  EXPECT_EQ(first, second);
  EXPECT_EQ(report.packageBytes, static_cast<std::int64_t>(first.size()));
  const auto path = ScratchFile("de-ru_twice.dic");
  ASSERT_TRUE(WritePackage(source, {}, path, report, err)) << err;
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  EXPECT_EQ(written, first);
}

// English-German, built as scripts/bench.sh builds it; one test, as the build takes most of its time.
class EnglishGerman : public testing::AppTest {
 protected:
  ~EnglishGerman() override {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  const std::filesystem::path path_ = ScratchFile("en-de_full.dic");
};

TEST_F(EnglishGerman, HeadwordsAndFormsAreFoundAndNoReferenceIsLeft) {
  std::ifstream head(std::filesystem::path(PARLAVENT_SOURCE_DIR) / "bench" / "en-de.head.txt", std::ios::binary);
  std::ostringstream headText;
  headText << head.rdbuf() << '\n';
  const auto& path = path_;
  {
    DictionarySource source;
    std::string err;
    ASSERT_TRUE(ParseSource(Import("freedict-eng-deu", {}, headText.str()), "en-de.txt", ".", source, err)) << err;
    BuildReport report;
    ASSERT_TRUE(WritePackage(source, {}, path, report, err)) << err;
  }
  const auto dic = OpenPackageDic(app, path);
  ASSERT_TRUE(dic);
  for (const char16_t* word : {u"speak", u"spoke", u"spoken", u"tell", u"told", u"abide", u"adverb", u"sing"}) {
    std::vector<WordRec> recs;
    EXPECT_NE(app.FindWord(word, recs, *dic) & 1, 0) << ToUtf8(word);
  }
  const auto has = [&](std::u16string_view word, std::u16string_view translation) {
    const std::vector<std::u16string> all = app.GetWordTrans(word, dic);
    return std::find(all.begin(), all.end(), translation) != all.end();
  };
  EXPECT_TRUE(has(u"speak", u"sprechen"));
  EXPECT_TRUE(has(u"spoke", u"sprechen"));
  EXPECT_TRUE(has(u"abide", u"aushalten"));
  EXPECT_TRUE(has(u"told", u"berichten"));
  // Nothing of the headline is left in a word: no transcription, no bracket of forms.
  std::vector<WordRec> recs;
  EXPECT_EQ(app.FindWord(u"speak /spˈiːk/ (spoke /spˈəʊk/ <>, spoken /spˈəʊkən/ <>) <v>", recs, *dic), 0);
  ExpectNoCharacterReferences(path);
}

}  // namespace
}  // namespace parlavent::dictool
