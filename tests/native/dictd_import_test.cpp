// The dictd importer on small databases written for the test, and on the sample dictionaries
// that the build made from Debian's FreeDict data.
#include "dictd_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "foundation/text.h"
#include "support/package_fixture.h"

namespace parlavent::dictool {
namespace {

std::string Base64(std::size_t v) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string s;
  do {
    s.insert(s.begin(), kDigits[v % 64]);
    v /= 64;
  } while (v);
  return s;
}

class DictdImport : public testing::PackageTest {
 protected:
  // Writes the entries as a .dict and an .index naming each (the first under two headwords).
  std::string Import(const std::vector<std::string>& entries, const ImportOptions& options, ImportReport& report) {
    std::string dict = "00-database-info\nabout this database\n", index = "00databaseinfo\tA\t" + Base64(dict.size()) + "\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const std::string line = "word\t" + Base64(dict.size()) + "\t" + Base64(entries[i].size()) + "\n";
      index += line;
      if (i == 0) index += line;
      dict += entries[i];
    }
    index += "broken\tA\t" + Base64(dict.size() + 1) + "\n";
    WriteText("t.dict", dict);
    const auto indexPath = WriteText("t.index", index);
    std::ostringstream out;
    std::string err;
    EXPECT_TRUE(ImportDictd(indexPath, Dir() / "t.dict", options, out, report, err)) << err;
    return out.str();
  }
};

TEST_F(DictdImport, WikDictEntriesGiveWordsLinksCodesAndExplanations) {
  ImportReport report;
  const std::string source = Import(
      {"Haus /haʊ̯s/ /haʊs/ <n, neut>\nдом 2.\nein Gebäude\n 3.\nzum Wohnen\n",
       "heiter /ˈhaɪ̯tɐ/ <adj>\n1. безо\u0301блачный, я\u0301сный (о пого\u0301де); весёлый\nHimmel: klar\n",
       "Aal <n, masc>\n1. угорь\nein Fisch\n2. угорь\nauch so\n"},
      {.explanations = true}, report);
  EXPECT_EQ(source,
            "W\t1\tHaus\thaʊ̯s\n"
            "L\tHaus\tдом\tN\tN\t\tein Gebäude\n"
            "W\t1\theiter\tˈhaɪ̯tɐ\n"
            "L\theiter\tбезоблачный\tA\t\t\tHimmel: klar\n"
            "L\theiter\tясный\tA\t\t\t(о погоде) Himmel: klar\n"
            "L\theiter\tвесёлый\tA\t\t\tHimmel: klar\n"
            "W\t1\tAal\n"
            "L\tAal\tугорь\tN\tM\t\tein Fisch\n"
            "L\tAal\tугорь\tN\tM\t\tauch so\n");
  EXPECT_EQ(report.entries, 3u);
  EXPECT_EQ(report.headwords, 3u);
  EXPECT_EQ(report.translations, 5u);
  EXPECT_EQ(report.links, 6u);
  EXPECT_EQ(report.metadata, 1u);
  EXPECT_EQ(report.sharedEntries, 1u);
  EXPECT_EQ(report.badEntries, 1u);
  EXPECT_EQ(report.untranslatedSenses, 1u);
  EXPECT_EQ(report.extraTranscriptions, 1u);
  EXPECT_EQ(report.stressMarks, 3u);
}

TEST_F(DictdImport, PlainEntriesAreAllTranslationLines) {
  ImportReport report;
  const std::string source =
      Import({"American /əmerikən/\n1. американский\n2. американец\n", "zoo\nзоопарк\nзоопарк\n", "<n>\ny\n"},
             {}, report);
  EXPECT_EQ(source,
            "W\t1\tAmerican\təmerikən\n"
            "L\tAmerican\tамериканский\t\t\t\t\n"
            "L\tAmerican\tамериканец\t\t\t\t\n"
            "W\t1\tzoo\n"
            "L\tzoo\tзоопарк\t\t\t\t\n");
  EXPECT_EQ(report.duplicateLinks, 1u);
  EXPECT_EQ(report.badEntries, 2u);  // the entry without a headword, the index line past the end
}

// Subject labels named in the head's "Themes" become theme numbers; other labels stay in the
// comment, and so does a fourth subject.
TEST_F(DictdImport, SubjectLabelsBecomeThemes) {
  const auto themes = ThemesOfSource(
      u"@member Info\n1\tnot a theme\n@end\n@member themes\r\n1\tChemie\tChem.\r\n2\tPhysik\tPhys.\r\n"
      u"3\tBotanik\tBot.\r\n4\tMedizin\tMed.\r\nx\tBad\r\n@end\n2\tlater\n");
  ASSERT_EQ(themes.size(), 4u);
  EXPECT_EQ(themes[1], (std::pair<std::u16string, int>{u"Physik", 2}));
  ImportReport report;
  const std::string source =
      Import({"Ion <n>\nион\nchemie, Physik: geladenes Teilchen\n", "Blatt <n>\nлист\nBotanik, im Singular: Organ\n",
              "Zeug <n>\nвещь\nChemie, Physik, Botanik, Medizin: alles\n", "Himmel <n>\nнебо\nWetter: klar\n"},
             {.explanations = true, .themes = themes}, report);
  EXPECT_EQ(source,
            "W\t1\tIon\nL\tIon\tион\tN\t\t1,2\tgeladenes Teilchen\n"
            "W\t1\tBlatt\nL\tBlatt\tлист\tN\t\t3\tim Singular: Organ\n"
            "W\t1\tZeug\nL\tZeug\tвещь\tN\t\t1,2,3\tMedizin: alles\n"
            "W\t1\tHimmel\nL\tHimmel\tнебо\tN\t\t\tWetter: klar\n");
  EXPECT_EQ(report.themedLinks, 3u);
  EXPECT_EQ(report.labelsBeyondThree, 1u);
}

// The common package takes only headwords with a transcription, each once, with its first one.
TEST_F(DictdImport, TranscriptionsOnlyGivesTheWordsOfTheCommonPackage) {
  ImportReport report;
  const std::string source = Import({"Haus /haʊ̯s/ /haʊs/ <n>\nдом\n", "Aal <n>\nугорь\n", "Haus /hoːs/\nхата\n"},
                                    {.transcriptionsOnly = true}, report);
  EXPECT_EQ(source, "W\t1\tHaus\thaʊ̯s\n");
  EXPECT_EQ(report.headwords, 1u);
  EXPECT_EQ(report.links, 0u);
}

// The samples are built from Debian's FreeDict packages by the build itself.
TEST(SampleDictionaries, HoldTheirFreeDictHeadwords) {
  struct Sample {
    const char* file;
    std::int64_t minWords;
    int header;
  };
  for (const Sample s : {Sample{"de-ru_full.dic", 45000, 16}, Sample{"en-ru_full.dic", 2900, 14}}) {
    SCOPED_TRACE(s.file);
    const auto package = PackageFile::Open(std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries" / s.file);
    ASSERT_TRUE(package.IsOpen());
    const auto& cp = AnsiCodePage();
    EXPECT_NE(DecodePackageText(package.Member(u"Info", true, cp), true, cp).find(u"[Src2]"), std::u16string::npos);
    EXPECT_FALSE(package.Member(u"Icon", true, cp).empty());
    EXPECT_FALSE(package.Member(u"Replace", true, cp).empty());
    EXPECT_GE(package.FindMember(u"WordsSort", true, cp).Length() / 4, s.minWords);
    const MemberBounds w1 = package.FindMember(u"TransW1", true, cp);
    std::int32_t first = 0, second = 0;
    ASSERT_TRUE(package.ReadI32(w1.Start, first));
    ASSERT_TRUE(package.ReadI32(w1.Start + 4, second));
    EXPECT_GE(second - first, s.header);  // one record: its header and comment
  }
}

}  // namespace
}  // namespace parlavent::dictool
