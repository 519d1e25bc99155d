// Transcriptions and simple translations of one word, and the dictool search subcommands that
// print the searches' answers.
#include <gtest/gtest.h>

#include <sstream>

#include "app/application.h"
#include "platform/random.h"
#include "search_commands.h"
#include "native/search_fixture.h"

namespace parlavent {
namespace {

class ScriptedRandom : public RandomSource {
 public:
  double next = 0;
  double Next() override { return next; }
  void Seed(double) override {}
};

constexpr const char* kSource =
    "W\t1\tHaus\thaʊs\n"
    "W\t1\tBaum\n"
    "W\t2\tHaus\tхаус\n"
    "L\tHaus\tдом\n"
    "L\tHaus\tздание\n"
    "L\tHaus\tхата\n"
    "L\tBaum\tдерево\n";

class SimpleLookup : public testing::SearchTest {};

TEST_F(SimpleLookup, TranscriptionComesFromTheCommonPackage) {
  const auto common = Build(kSource, "de-ru_common.dic");
  ASSERT_TRUE(common->Demo);
  EXPECT_EQ(app.GetTranscript(u"HAUS"), u"haʊs");  // the first record of both sides
  EXPECT_EQ(app.GetTranscript(u"Baum"), u"");       // an empty span
  EXPECT_EQ(app.GetTranscript(u"Hau"), u"");
  // A full package reads its partner's transcriptions, and has none without one.
  const auto full = Build(kSource, "de-ru_full.dic");
  EXPECT_EQ(app.GetTranscript(u"Haus"), u"");
  full->Dicx = common;
  EXPECT_EQ(app.GetTranscript(u"Haus"), u"haʊs");
}

TEST_F(SimpleLookup, NoTranscriptSectionGivesEmpty) {
  const auto common = Build("L\tHaus\tдом\n", "x_common.dic");
  EXPECT_EQ(common->bsTranscr, 0);
  EXPECT_EQ(app.GetTranscript(u"Haus"), u"");
}

TEST_F(SimpleLookup, TranslationsAsListLineAndRandomPick) {
  const auto dic = Build(kSource);
  EXPECT_EQ(app.GetWordTrans(u"Haus"), (std::vector<std::u16string>{u"дом", u"здание", u"хата"}));
  EXPECT_EQ(app.GetSimpleTrans(u"  Haus "), u"дом; здание; хата");
  EXPECT_EQ(app.GetSimpleTrans(u"nichts"), u"");
  auto random = std::make_shared<ScriptedRandom>();
  SetRandom(random);
  random->next = 0.74;  // 2 x 0.74 = 1.48 -> 1
  EXPECT_EQ(app.GetWordTrans(u"Haus", dic, true), (std::vector<std::u16string>{u"здание"}));
  random->next = 0.99;
  EXPECT_EQ(app.GetWordTrans(u"Baum", dic, true), (std::vector<std::u16string>{u"дерево"}));
  EXPECT_TRUE(app.GetWordTrans(u"nichts", dic, true).empty());
  SetRandom(nullptr);

  // Two links to the same translation (two senses) name it once in the line.
  Build("L\tHund\tсобака\tN\nL\tHund\tсобака\tN\tM\nL\tRüde\tсобака\n");
  ASSERT_EQ(app.GetWordTrans(u"собака").size(), 3u);
  EXPECT_EQ(app.GetSimpleTrans(u"собака"), u"Hund; Rüde");
}

TEST_F(SimpleLookup, SimpleTranslationFallsBackFromTheCommonPackageToTheFull) {
  const auto common = Build("L\tBaum\tдерево\n", "de-ru_common.dic");
  const auto full = Build(kSource, "de-ru_full.dic");
  full->Dicx = common;
  EXPECT_EQ(app.GetSimpleTrans(u"Baum"), u"дерево");
  EXPECT_EQ(app.GetSimpleTrans(u"Haus"), u"дом; здание; хата");
}

class DictoolSearch : public testing::SearchTest {
 protected:
  std::string Run(const std::string& command, std::vector<std::string> args) {
    args.insert(args.begin(), PackagePath().string());
    std::ostringstream out;
    EXPECT_EQ(dictool::RunSearchCommand(command, args, out), 0);
    return out.str();
  }
};

TEST_F(DictoolSearch, PrintsEachAnswerInItsForm) {
  Build("@member Info\n[Main]\nSupportRech=1\n@end\n@member Themes\n3\tChemie\tchem\n@end\n"
        "W\t1\tHaus\thaʊs\nW\t2\tHaus\nL\tHaus\tдом\tN\tM\t0,3\tGebäude\nL\tHauslehrer\tучитель\nL\tzu\tк\n",
        "de-ru_common.dic");
  app.CloseByteFile();
  EXPECT_EQ(Run("find", {"haus"}), "3\n1\t1\tHaus\n2\t2\tHaus\n");
  EXPECT_EQ(Run("find", {"nichts"}), "0\n");
  EXPECT_EQ(Run("trans", {"Haus"}), "1\t1\t3\tдом\t\tChemie\t\tGebäude\t1\t1\n");
  // Haus of both sides is listed once: a word like the one before it is skipped.
  EXPECT_EQ(Run("list", {"HA", "51"}), "haus\nhauslehrer\n");
  EXPECT_EQ(Run("index", {"h", "10", "3"}), "haus\n");
  EXPECT_EQ(Run("transcript", {"HAUS"}), "haʊs\n");
  EXPECT_EQ(Run("transcript", {"zu"}), "\n");
  std::ostringstream out;
  EXPECT_EQ(dictool::RunSearchCommand("list", {"missing.dic", "a"}, out), 1);
  EXPECT_TRUE(dictool::IsSearchCommand("index"));
  EXPECT_FALSE(dictool::IsSearchCommand("build"));
}

}  // namespace
}  // namespace parlavent
