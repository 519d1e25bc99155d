#include "foundation/white_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "text/text.h"

namespace parlavent {
namespace {

TEST(WhiteList, WindowTypeIsCutAtTheSecondColon) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"abc:def:ghi", u"abc:def"}, {u"Afx:00400000:8:10003", u"Afx:00400000"},
      {u"abc:def", u"abc:def"},     {u"plain", u"plain"},
      {u"::", u":"},                {u"", u""}};
  for (const auto& [type, cut] : cases) {
    clsWindow w;
    w.SetWndType(type);
    EXPECT_EQ(w.WndType(), cut) << ToUtf8(type);
  }
  const WindowList list = ParseWhiteList(u"C:\\x.exe\tX\t\tabc:def:ghi\t1");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_TRUE(list.Exists(u"ABC:DEF"));
}

TEST(WhiteList, ParsesFieldsAndToleratesShortAndBrokenLines) {
  const WindowList list = ParseWhiteList(
      u"C:\\Apps\\Word.exe\tWord\t*Document*\tOpusApp\t1\r\n"
      u"   \r\n"
      u"\r\n"
      u"C:\\only\\path.exe\r\n"
      u"C:\\a.exe\tA\t\tTypeA\tyes\r\n"
      u"C:\\b.exe\tB\t\tTypeB\t99999999999");
  ASSERT_EQ(list.Count(), 4u);
  const clsWindow& word = **list.Find(u"opusapp");
  EXPECT_EQ(word.ExePath, u"C:\\Apps\\Word.exe");
  EXPECT_EQ(word.AppName, u"Word");
  EXPECT_EQ(word.TitleMask, u"*Document*");
  EXPECT_EQ(word.State, 1);
  EXPECT_EQ(word.FileName(), u"Word.exe");
  EXPECT_EQ(word.Key(), u"Word.exe|*Document*");
  // A line of one field: an entry with an empty window type.
  const clsWindow& pathOnly = **list.Find(u"");
  EXPECT_EQ(pathOnly.ExePath, u"C:\\only\\path.exe");
  EXPECT_EQ(pathOnly.State, 0);
  EXPECT_EQ((*list.Find(u"TypeA"))->State, 0);  // not a number
  EXPECT_EQ((*list.Find(u"TypeB"))->State, 0);  // does not fit 32 bits
}

TEST(WhiteList, StateIsConvertedAsANumber) {
  const WindowList list = ParseWhiteList(
      u"C:\\a.exe\tA\t\tT1\t1.0\r\nC:\\b.exe\tB\t\tT2\t 1 \r\nC:\\c.exe\tC\t\tT3\t0.4\r\n"
      u"C:\\d.exe\tD\t\tT4\t&H1\r\nC:\\e.exe\tE\t\tT5\t1x\r\nC:\\f.exe\tF\t\tT6\t");
  const std::pair<const char16_t*, std::int32_t> states[] = {{u"T1", 1}, {u"T2", 1}, {u"T3", 0},
                                                             {u"T4", 1}, {u"T5", 0}, {u"T6", 0}};
  for (const auto& [type, state] : states) EXPECT_EQ((*list.Find(type))->State, state) << ToUtf8(type);
}

TEST(WhiteList, FirstLineOfATypeWinsAndSavingDropsTheSecond) {
  const WindowList list = ParseWhiteList(u"C:\\one.exe\tOne\t\tSame\t1\r\nC:\\two.exe\tTwo\t\tsame\t0");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(FormatWhiteList(list), u"C:\\one.exe\tOne\t\tSame\t1");
}

TEST(WhiteList, FormatRoundTripsAndAnEmptyListIsEmptyText) {
  const std::u16string text = u"C:\\a.exe\tA\tTitle*\tTypeA\t1\r\nC:\\b.exe\t\t\tTypeB\t0";
  EXPECT_EQ(FormatWhiteList(ParseWhiteList(text)), text);
  EXPECT_EQ(FormatWhiteList(WindowList()), u"");
  EXPECT_EQ(ParseWhiteList(u"").Count(), 0u);
}

TEST(WhiteList, OperaEntryIsAddedOrSwitchedOn) {
  WindowList list = ParseWhiteList(u"C:\\a.exe\tA\t\tTypeA\t0");
  auto added = EnsureOperaEntry(list);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(added->ExePath, u"C:\\Program Files\\Opera\\Opera.exe");
  EXPECT_EQ(added->AppName, u"Opera");  // its name, not its window class
  EXPECT_EQ(added->TitleMask, u"");
  EXPECT_EQ(added->State, 1);

  WindowList existing = ParseWhiteList(u"D:\\Opera\\opera.exe\tMy Opera\t\tOperaWindowClass\t0");
  EnsureOperaEntry(existing);
  ASSERT_EQ(existing.Count(), 1u);
  EXPECT_EQ(FormatWhiteList(existing), u"D:\\Opera\\opera.exe\tMy Opera\t\tOperaWindowClass\t1");
}

TEST(WhiteList, InstalledDefaultListReadsBack) {
  std::ifstream file(PARLAVENT_BINARY_DIR "/Parlavent/DefaultWhiteList.inf", std::ios::binary);
  ASSERT_TRUE(file.good());
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(bytes.empty());
  EXPECT_NE(bytes.substr(bytes.size() - 1), "\n");  // no line break after the last line
  const std::u16string text = FromUtf8(bytes);     // the file is plain ASCII
  const WindowList list = ParseWhiteList(text);
  EXPECT_GE(list.Count(), 10u);
  EXPECT_EQ(FormatWhiteList(list), text);  // no duplicate types, every field in place
  ASSERT_TRUE(list.Exists(u"Notepad"));
  EXPECT_EQ((*list.Find(u"Notepad"))->State, 1);
}

}  // namespace
}  // namespace parlavent
