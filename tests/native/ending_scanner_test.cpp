// The ending scanner: counting endings against candidates, the thresholds of the rules, and a
// scan of a folder into its "replace.txt".
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/ending_scanner.h"
#include "support/list_fixture.h"

namespace parlavent {
namespace {

std::u16string Rules(const EndingTable& table, std::int64_t words) {
  testing::FakeProgress progress;
  return EndingRules(table, words, progress);
}

// A node for ending with the given replacement counts, in order.
void AddNode(EndingTable& table, const std::u16string& ending, std::int32_t mass,
             const std::vector<std::pair<std::u16string, std::int32_t>>& replacements) {
  auto node = std::make_shared<clsMass>();
  node->Key = ending;
  node->Mass = mass;
  node->Tag = std::make_shared<EndingTable>();
  for (const auto& [key, count] : replacements) {
    auto r = std::make_shared<clsMass>();
    r->Key = key;
    r->Mass = count;
    node->Tag->Add(u"k" + key, r);
    node->TagN += count;
  }
  table.Add(u"k" + ending, node);
}

TEST(EndingScanner, CountsEveryStemLongerThanFourAgainstWholeWordCandidates) {
  EndingTable table;
  CountEndings(u"walking", {u"walk", u"walked", u"walks", u"walk in", u"walkingly"}, table);
  // "ing" at the stem "walk"; "ng", "g" and "" through "walkingly" alone.
  ASSERT_EQ(table.Count(), 4u);
  const clsMass& ing = **table.ItemAt(1);
  EXPECT_EQ(ing.Key, u"ing");
  EXPECT_EQ(ing.Mass, 1);
  EXPECT_EQ(ing.TagN, 4);  // walk, walked, walks, walkingly; the phrase is ignored
  EXPECT_EQ((*ing.Tag->ItemAt(1))->Key, u"");
  EXPECT_EQ((*ing.Tag->ItemAt(4))->Key, u"ingly");
  const clsMass& whole = **table.ItemAt(4);
  EXPECT_EQ(whole.Key, u"");
  EXPECT_EQ((*whole.Tag->ItemAt(1))->Key, u"ly");
}

TEST(EndingScanner, RulesKeepFrequentEndingsAndTheirFrequentReplacements) {
  EndingTable table;
  AddNode(table, u"es", 12, {{u"e", 30}});
  AddNode(table, u"ed", 13, {{u"a", 3}, {u"b", 4}, {u"c", 10}, {u"d", 4}, {u"e", 9}});  // TagN 30
  AddNode(table, u"", 20, {{u"s", 1}, {u"t", 1}});
  AddNode(table, u"ly", 20, {{u"a", 1}, {u"b", 1}, {u"c", 1}, {u"d", 1}, {u"e", 1}, {u"f", 1}, {u"g", 1},
                             {u"h", 1}, {u"i", 1}, {u"j", 1}});
  // 12,400 words: threshold 12, so "es" is left out; in "ed", a tenth (3 of 30) is not enough.
  EXPECT_EQ(Rules(table, 12'400), u"ed\tc,e,b,d\r\n\ts,t\r\nly\t");
  EXPECT_EQ(Rules(table, 12'500), u"ed\tc,e,b,d\r\n\ts,t\r\nly\t");  // 12.5 rounds to 12
  EXPECT_EQ(Rules(table, 20'500), u"");
  EXPECT_EQ(Rules(EndingTable{}, 0), u"");
}

class ScanFolderTest : public testing::ListTest {
 protected:
  std::u16string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string b = s.str();
    std::u16string t;
    for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
      t += static_cast<char16_t>(static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1]) << 8);
    }
    return t;
  }
  testing::TempDir texts;
};

TEST_F(ScanFolderTest, WritesTheRulesOfItsTextsIntoReplaceTxt) {
  Load(Words({"walk", "walked", "walks", "talk", "zz"}));
  std::filesystem::create_directory(texts.path() / "sub");
  testing::WriteBytes(texts.path() / "a.txt", "The walking, (walked) tiny\r\nwalking.\n");
  testing::WriteBytes(texts.path() / "replace.txt", "jogging jogging");
  host->folder = texts.Text();
  app.ScanSFX();
  EXPECT_EQ(host->Calls("Browse"), (std::vector<std::string>{"Browse Выбери папку:"}));
  // Three words of more than 4 characters: threshold 0; "walking" twice.
  EXPECT_EQ(Read(texts.path() / "replace.txt"), u"ing\t,ed,s");
  const auto& log = host->progress.log;
  EXPECT_EQ(log.front(), "Caption ScanSFX");
  EXPECT_EQ(log[1], "Text File 2 from 3");
  EXPECT_EQ(log.back(), "Refresh");
  EXPECT_EQ(log[log.size() - 2], "Text Saved as " + ToUtf8(texts.Text(u"replace.txt")));
}

TEST_F(ScanFolderTest, NothingToReadGivesAnEmptyFileAndAFailedSaveIsShown) {
  Load(Words({"walk", "zz"}));
  testing::WriteBytes(texts.path() / "Replace.TXT", "walking walking");
  EXPECT_TRUE(ScanFolder(app, texts.Text()));
  EXPECT_EQ(Read(texts.path() / "replace.txt"), u"");  // an earlier result, in any case, is no input

  auto boxes = std::make_shared<testing::FakeBoxes>();
  testing::ScopedBoxes scoped(boxes);
  EXPECT_FALSE(ScanFolder(app, texts.Text(u"missing/deeper")));
  ASSERT_EQ(boxes->shown.size(), 1u);
  EXPECT_EQ(boxes->shown[0].text, u"Error in save!");
  EXPECT_EQ(boxes->shown[0].style, kMbIconExclamation);

  host->folder.clear();  // cancelled: nothing is written
  app.ScanSFX();
  EXPECT_EQ(boxes->shown.size(), 1u);
}

TEST_F(ScanFolderTest, CancelWritesWhatWasGathered) {
  Load(Words({"walk", "walked", "zz"}));
  std::string text;
  for (int i = 0; i < 150; ++i) text += "walking ";
  testing::WriteBytes(texts.path() / "a.txt", text);
  auto pump = std::make_shared<testing::FakePump>();
  pump->onDoEvents = [&] { app.State.gProgressCancel = true; };
  testing::ScopedPump scoped(pump);
  EXPECT_TRUE(ScanFolder(app, texts.Text()));
  EXPECT_FALSE(app.State.gProgressCancel);
  // 99 words counted before the cancel at the 100th: "ing" seen 99 times.
  EXPECT_EQ(Read(texts.path() / "replace.txt"), u"ing\t,ed");
}

}  // namespace
}  // namespace parlavent
