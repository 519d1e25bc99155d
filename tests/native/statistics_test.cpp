// The look-up statistics: counting, order, the cap, the file "statistics.dat" and damaged files,
// and the statistics window as the application object fills it.
#include <gtest/gtest.h>

#include "app/statistics.h"
#include "app/view_host.h"
#include "dictionary/result_tree.h"
#include "support/fake_companions.h"
#include "support/fake_view_host.h"
#include "support/settings_fixture.h"

namespace parlavent::testing {
namespace {

std::string Utf16(std::u16string_view text, bool mark = true) {
  std::string bytes = mark ? "\xFF\xFE" : "";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::vector<std::pair<std::u16string, std::int32_t>> Pairs(const std::vector<std::shared_ptr<clsStatItem>>& items) {
  std::vector<std::pair<std::u16string, std::int32_t>> pairs;
  for (const auto& i : items) pairs.emplace_back(i->Word, i->Mass);
  return pairs;
}

class StatisticsTest : public SettingsTest {
 protected:
  StatisticsTest() {
    stat.Folder = folder.Text();
    app.Companion = companions;
  }
  std::filesystem::path File() const { return folder.path() / "statistics.dat"; }

  TempDir folder;
  clsStat stat;
  std::shared_ptr<FakeCompanions> companions = std::make_shared<FakeCompanions>();
};

TEST_F(StatisticsTest, EachLookUpCountsAndMovesItsWordToTheFront) {
  for (auto w : {u"house", u"water", u"House ", u"cat", u"  ", u"tab\tword"}) stat.AddItem(w);
  using P = std::vector<std::pair<std::u16string, std::int32_t>>;
  EXPECT_EQ(Pairs(stat.Items()), (P{{u"cat", 1}, {u"house", 2}, {u"water", 1}})) << "blank and control words are no words";
  EXPECT_EQ(Pairs(stat.MostFrequent()), (P{{u"house", 2}, {u"cat", 1}, {u"water", 1}})) << "ties: the more recent first";
  EXPECT_EQ(Pairs(stat.MostFrequent(1)), (P{{u"house", 2}}));
  EXPECT_EQ(Pairs(stat.Last(2)), (P{{u"cat", 1}, {u"house", 2}}));
}

TEST_F(StatisticsTest, AtMostAThousandWordsTheOldestGoFirst) {
  for (int i = 0; i < 1005; ++i) stat.AddItem(u"w" + NumberText(i));
  ASSERT_EQ(stat.Items().size(), clsStat::kMaxWords);
  EXPECT_EQ(stat.Items().front()->Word, u"w1004");
  EXPECT_EQ(stat.Items().back()->Word, u"w5");
}

TEST_F(StatisticsTest, TheFileRoundTripsAndIsWrittenOnlyAfterAChange) {
  stat.AddItem(u"дом");
  stat.AddItem(u"water");
  stat.AddItem(u"дом");
  stat.SaveStat();
  EXPECT_EQ(ReadBytes(File()), Utf16(u"дом\t2\r\nwater\t1\r\n"));

  clsStat again;
  again.Folder = folder.Text();
  again.LoadStat();
  EXPECT_EQ(Pairs(again.Items()), Pairs(stat.Items()));
  // Read but not changed: the file stays as it is, even where it held lines that were not read.
  WriteBytes(File(), Utf16(u"a\t1\r\n\x01junk\r\n"));
  again.LoadStat();
  again.SaveStat();
  EXPECT_EQ(ReadBytes(File()), Utf16(u"a\t1\r\n\x01junk\r\n"));

  // Held by another program at start: this session's look-ups do not replace it.
  PutUnreadableFile(File());
  again.LoadStat();
  again.AddItem(u"water");
  again.SaveStat();
  EXPECT_TRUE(std::filesystem::is_symlink(File())) << "replaced by this session's words";
}

TEST_F(StatisticsTest, DamagedFilesLoadWhatIsSound) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::pair<std::u16string, std::int32_t>> expected;
  } cases[] = {
      {"missing", "", {}},
      {"truncated line", Utf16(u"cat\t3\r\ndog\t"), {{u"cat", 3}, {u"dog", 1}}},
      {"odd length", Utf16(u"cat\t3\r\n") + "\x41", {{u"cat", 3}}},
      {"no mark, LF only", Utf16(u"cat\t2\nDog\t-5\n\ncat\t9", false), {{u"cat", 2}, {u"Dog", 1}}},
      {"count too large", Utf16(u"cat\t99999999999999\r\n"), {{u"cat", 0x7FFFFFFF}}},
      {"binary", std::string("\x01\x00\x02\x00\x00\x00\x0A\x00\x1B\x00\x09\x00", 12), {}},
      {"binary lines", Utf16(u"cat\t3\r\n") + std::string("\x00\xD8\x41\x00\x0A\x00\x85\x00\x0A\x00", 10) +
                           Utf16(std::u16string(300, u'\x4E2D') + u"\r\n\xDC00x\r\n\xFFFFy", false),
       {{u"cat", 3}}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(File());
    if (!c.bytes.empty()) WriteBytes(File(), c.bytes);
    stat.LoadStat();
    EXPECT_EQ(Pairs(stat.Items()), c.expected) << c.name;
  }
}

// Saved again by an editor: read in its encoding and written back whole. A file read by guessing
// its encoding, or one that cannot be read whole, is kept beside it before a save replaces it.
TEST_F(StatisticsTest, AnEditorsEncodingIsReadAndAnUnreadableFileIsKeptBeforeTheNextSave) {
  const auto bigEndian = [](std::u16string_view text) {
    std::string bytes = "\xFE\xFF";
    for (char16_t c : text) bytes += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    return bytes;
  };
  const std::filesystem::path backup = folder.path() / "statistics.dat.bak";
  using P = std::vector<std::pair<std::u16string, std::int32_t>>;
  const P houseDom{{u"Hund", 3}, {u"дом", 2}};
  struct Case {
    const char* name;
    std::string bytes;
    P expected;
    bool guessed;  // no mark: the bytes are kept before the save writes UTF-16
  } cases[] = {
      {"UTF-16BE", bigEndian(u"Hund\t3\r\nдом\t2\r\n"), houseDom, false},
      {"UTF-8", "\xEF\xBB\xBFHund\t3\r\n\xD0\xB4\xD0\xBE\xD0\xBC\t2\r\n", houseDom, false},
      {"UTF-8 without a mark", "Stra\xC3\x9F" "e\t4\r\n\xC3\xBC" "ber\t3\r\nna\xC3\xAFve\t1\r\n",
       P{{u"Straße", 4}, {u"über", 3}, {u"naïve", 1}}, true},
      {"cp1251", "Hund\t3\r\n\xE4\xEE\xEC\t2\r\n", houseDom, true},
      {"cp1251 with a stray zero", std::string("Hund\t3\r\n\xE4\xEE\xEC\t2\r\n\0", 15), houseDom, true},
      {"UTF-16LE without a mark", Utf16(u"Hund\t3\r\nдом\t2\r\n", false), houseDom, true},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(backup);
    WriteBytes(File(), c.bytes);
    stat.LoadStat();
    EXPECT_EQ(Pairs(stat.Items()), c.expected) << c.name;
    stat.AddItem(u"Katze");
    EXPECT_TRUE(stat.SaveStat()) << c.name;
    std::u16string written = u"Katze\t1\r\n";
    for (const auto& [word, count] : c.expected) written += word + u"\t" + NumberText(count) + u"\r\n";
    EXPECT_EQ(ReadBytes(File()), Utf16(written)) << c.name;
    if (c.guessed) {
      EXPECT_EQ(ReadBytes(backup), c.bytes) << c.name << ": the file as it was";
    } else {
      EXPECT_FALSE(std::filesystem::exists(backup)) << c.name << ": read whole, nothing to keep";
    }
  }

  std::filesystem::remove(backup);
  const std::string damaged = bigEndian(u"Hund\t3\r\n\x01\x02\r\n");
  WriteBytes(File(), damaged);
  G().gKeptFiles.clear();
  stat.LoadStat();
  EXPECT_EQ(ReadBytes(backup), damaged);
  EXPECT_EQ(G().gKeptFiles, std::vector<std::u16string>{u"statistics.dat"});
  stat.LoadStat();
  EXPECT_EQ(G().gKeptFiles.size(), 1u) << "kept once";
  stat.AddItem(u"Katze");
  EXPECT_TRUE(stat.SaveStat());
  EXPECT_EQ(ReadBytes(backup), damaged) << "the save replaced the file, not its copy";

  // Damaged again, otherwise: the first copy stays, the second goes beside it.
  const std::string again = bigEndian(u"Maus\t1\r\n\x03\r\n");
  WriteBytes(File(), again);
  stat.LoadStat();
  EXPECT_EQ(ReadBytes(backup), damaged);
  EXPECT_EQ(ReadBytes(folder.path() / "statistics.dat.bak2"), again);
}

// Where no copy can be written (a folder holds the copy's name), the file stays as it is and the
// session's look-ups stay in memory; start-up names the file once.
TEST_F(StatisticsTest, AFileWithoutACopyIsNotReplaced) {
  std::filesystem::create_directory(folder.path() / "statistics.dat.bak");
  const std::string damaged = Utf16(u"Hund\t3\r\n\x01\x02\r\n");
  WriteBytes(File(), damaged);
  G().gLeftFiles.clear();
  stat.LoadStat();
  EXPECT_EQ(G().gLeftFiles, std::vector<std::u16string>{u"statistics.dat"});
  stat.AddItem(u"Katze");
  EXPECT_FALSE(stat.SaveStat());
  EXPECT_EQ(ReadBytes(File()), damaged);
  EXPECT_EQ(stat.Items().front()->Word, u"Katze");
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "statistics.dat.bak"));

  // A file read by guessing is not written in another encoding without its copy either.
  const std::string ansi = "Hund\t3\r\n";
  WriteBytes(File(), ansi);
  stat.LoadStat();
  stat.AddItem(u"Katze");
  EXPECT_FALSE(stat.SaveStat());
  EXPECT_EQ(ReadBytes(File()), ansi);
}

TEST_F(StatisticsTest, AMillionLinesGiveTheFirstThousandWords) {
  std::u16string text;
  for (int i = 0; i < 1000000; ++i) text += u"w" + NumberText(i % 2000) + u"\t1\r\n";
  WriteBytes(File(), Utf16(text));
  stat.LoadStat();
  ASSERT_EQ(stat.Items().size(), clsStat::kMaxWords);
  EXPECT_EQ(stat.Items().back()->Word, u"w999");
}

TEST_F(StatisticsTest, LookUpsShownWithAddStatCountTheirTranslatedWords) {
  app.WordSet = std::make_shared<WordSet>();
  app.WordSet->InString = u"house";
  app.WordSet->IsTrans = true;
  app.WordSet->AddWord(u"house")->IsTranslated = true;
  app.WordSet->AddWord(u"of")->IsTranslated = false;
  ShowTransArgs args;
  app.LookupShown(u"house", args);
  EXPECT_TRUE(app.Stat().Items().empty()) << "without AddStat";
  args.AddStat = true;
  app.LookupShown(u"house", args);
  app.LookupShown(u"houses", args);  // a look-up that found nothing leaves the last result
  ASSERT_EQ(app.Stat().Items().size(), 1u);
  EXPECT_EQ(app.Stat().Items()[0]->Word, u"house");
}

TEST_F(StatisticsTest, TheWindowListsMostFrequentOrMostRecentAndADoubleClickTranslates) {
  auto host = std::make_shared<FakeViewHost>();
  app.Views = host;
  for (auto w : {u"a", u"b", u"b"}) app.Stat().AddItem(w);
  app.ShowStat(true);
  using P = std::vector<std::pair<std::u16string, std::int32_t>>;
  EXPECT_EQ(companions->stat.shown, (P{{u"b", 2}, {u"a", 1}}));
  app.ShowStat(false);
  EXPECT_EQ(companions->stat.shown, (P{{u"b", 2}, {u"a", 1}}));
  app.Stat().AddItem(u"a");
  app.ShowStat(false);
  EXPECT_EQ(companions->stat.shown, (P{{u"a", 2}, {u"b", 2}}));

  companions->stat.DoubleClick(u"b");
  EXPECT_EQ(host->input->text, u"b") << "the word is looked up from the input box";
}

}  // namespace
}  // namespace parlavent::testing
