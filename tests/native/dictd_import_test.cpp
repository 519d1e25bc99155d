// The dictd importer on small databases written for the test, and on the sample dictionaries
// that the build made from Debian's FreeDict data.
#include "dictd_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/package_fixture.h"
#include "text/text.h"

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
      {.explanations = true, .themes = {}}, report);
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
                                    {.transcriptionsOnly = true, .themes = {}}, report);
  EXPECT_EQ(source, "W\t1\tHaus\thaʊ̯s\n");
  EXPECT_EQ(report.headwords, 1u);
  EXPECT_EQ(report.links, 0u);
}

// The Ding layout of dict-freedict-eng-deu: the headline carries the transcription, the inflected
// forms in brackets and the part of speech; each translation its own tags and labels; notes follow
// their translation line; examples and cross-references are left out.
TEST_F(DictdImport, HeadlineFormsBecomeWordsLinkedToTheSameTranslations) {
  ImportReport report;
  const std::string source = Import(
      {"speak /spˈiːk/ (spoke /spˈəʊk/ <>, spoken /spˈəʊkən/ <>) <v>\n"
       "sprechen <v, intr> [mit jdm.]\n"
       "         Note: über / von etw.\n"
       "      \"he/she speaks\"  - er/sie spricht\n"
       " see: {speaking}, {spoken}\n"
       "   Synonym: {talk}\n\n",
       "smell /smˈɛl/ (smelled /smˈɛld/ <>,  [Br.]  smelt /smˈɛlt/ <>, smelled /smˈɛld/ <>) <v>\nriechen\n"},
      {}, report);
  EXPECT_EQ(source,
            "W\t1\tspeak\tspˈiːk\nW\t1\tspoke\tspˈəʊk\nW\t1\tspoken\tspˈəʊkən\n"
            "L\tspeak\tsprechen\tV\t\t\t[mit jdm.] über / von etw.\n"
            "L\tspoke\tsprechen\tV\t\t\tspeak; [mit jdm.] über / von etw.\n"
            "L\tspoken\tsprechen\tV\t\t\tspeak; [mit jdm.] über / von etw.\n"
            "W\t1\tsmell\tsmˈɛl\nW\t1\tsmelled\tsmˈɛld\nW\t1\tsmelt\tsmˈɛlt\n"
            "L\tsmell\triechen\tV\t\t\t\n"
            "L\tsmelled\triechen\tV\t\t\tsmell\n"
            "L\tsmelt\triechen\tV\t\t\tsmell [Br.]\n");
  EXPECT_EQ(report.forms, 4u);
  EXPECT_EQ(report.headwords, 6u);
  EXPECT_EQ(report.examples, 1u);
  EXPECT_EQ(report.crossReferences, 2u);
  EXPECT_EQ(report.notes, 2u);  // the label and the note
  EXPECT_EQ(report.noTranslation, 0u);
}

TEST_F(DictdImport, EachTranslationKeepsItsTagsAndLabels) {
  ImportReport report;
  const std::string source = Import(
      {"eel /ˈiːl/ <n>\n[zool.] Aal <masc>, Aale <pl>; Seeaal <masc> [Br.] , x <letter>\n",
       "abide /ɐbˈaɪd/\neinhalten <v, trans>, sich halten <v, refl>\n",
       // Brackets are forms only behind a transcription; one of labels alone is a note.
       "Chill (out)\nentspann dich\n", "all of /ˈɔːl ɒv/ ([+ sg])\nganz\n",
       "passenger boarding bridge /pˈasɪndʒə/ (PBB /pˌiːbˌiːbˈiː/)\nFluggastbrücke <fem>\n"},
      {}, report);
  EXPECT_EQ(source,
            "W\t1\teel\tˈiːl\n"
            "L\teel\tAal\tN\tM\t\t[zool.]\n"
            "L\teel\tAale\tN\t\t\t[zool.]\n"
            "L\teel\tSeeaal\tN\tM\t\t[zool.] [Br.]\n"
            "L\teel\tx\tN\t\t\t[zool.]\n"
            "W\t1\tabide\tɐbˈaɪd\n"
            "L\tabide\teinhalten\tV\t\t\t\n"
            "L\tabide\tsich halten\tV\t\t\t\n"
            "W\t1\tChill (out)\n"
            "L\tChill (out)\tentspann dich\t\t\t\t\n"
            "W\t1\tall of\tˈɔːl ɒv\n"
            "L\tall of\tganz\t\t\t\t[+ sg]\n"
            "W\t1\tpassenger boarding bridge\tpˈasɪndʒə\nW\t1\tPBB\tpˌiːbˌiːbˈiː\n"
            "L\tpassenger boarding bridge\tFluggastbrücke\tN\tF\t\t\n"
            "L\tPBB\tFluggastbrücke\tN\tF\t\tpassenger boarding bridge\n");
  EXPECT_EQ(report.unknownTags, 1u);  // "letter"
}

// Character references and entities are decoded in every field; what names no character stays.
TEST_F(DictdImport, CharacterReferencesAndEntitiesAreDecoded) {
  ImportReport report;
  const std::string source = Import(
      {"Hunde &amp; Katzen /ˈhʊndə &#124; ˈkat͡sn̩/ <n>\nсобаки &lt;и&gt; &#x43A;ошки &#0; &bogus; &#xD800;\n"
       "Tiere&#9;hier\n"},
      {.explanations = true, .themes = {}}, report);
  EXPECT_EQ(source,
            "W\t1\tHunde & Katzen\tˈhʊndə | ˈkat͡sn̩\n"
            "L\tHunde & Katzen\tсобаки <и> кошки &#0; &bogus; &#xD800;\tN\t\t\tTiere hier\n");
  EXPECT_EQ(report.entities, 6u);
}

// Forms times translations, and translations times notes, are bounded: 16 forms an entry, 4,000
// bytes a comment (cut between characters).
TEST_F(DictdImport, FormsAndCommentsAreBounded) {
  std::string forms;
  for (int i = 0; i < 20; ++i) forms += (i ? ", f" : "f") + std::to_string(i) + " <>";
  std::string note;
  while (note.size() < 5000) note += "ä";
  ImportReport report;
  const std::string source =
      Import({"w /w/ (" + forms + ") <v>\nx\n         Note: " + note + "\n"}, {}, report);
  EXPECT_EQ(report.forms, 16u);
  EXPECT_EQ(report.extraForms, 4u);
  EXPECT_EQ(report.links, 17u);
  EXPECT_EQ(report.cutComments, 17u);
  EXPECT_EQ(source.find("\tf16\t"), std::string::npos);
  const std::size_t tab = source.find("\tx\tV\t\t\t");
  ASSERT_NE(tab, std::string::npos);
  const std::string comment = source.substr(tab + 7, source.find('\n', tab) - tab - 7);
  EXPECT_EQ(comment, note.substr(0, 4000));
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
