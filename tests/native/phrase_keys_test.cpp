// The builder's phrase-beginning records in "WordsHash": which keys an entry announces, under
// which side and ID, and that they come once per beginning and side.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "dictionary/package_file.h"
#include "dictionary_source.h"
#include "package_builder.h"
#include "platform/code_page.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

TEST(PhraseBeginnings, CutAtBlanksAndHyphens) {
  const struct {
    std::u16string_view text;
    std::vector<std::u16string> keys;
  } cases[] = {
      {u"Haus", {}},
      {u"ein bisschen", {u"ein "}},
      {u"well-known fact", {u"well ", u"well known "}},
      {u"a  b--c", {u"a ", u"a b "}},  // empty parts are dropped
      {u"-x-", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(PhraseBeginnings(c.text), c.keys) << ToUtf8(c.text);
}

class PhraseKeyRecords : public ::testing::TestWithParam<bool> {
 protected:
  // Key records of the built package: (absolute key, side) -> word IDs.
  std::multimap<std::pair<double, int>, std::int32_t> Records(const std::string& sourceText) {
    DictionarySource source;
    std::string err;
    EXPECT_TRUE(ParseSource(sourceText, "t.txt", {}, source, err)) << err;
    page_ = MakeBuiltinCodePage(1251);
    BuildReport report;
    EXPECT_TRUE(BuildPackage(source, {GetParam() ? nullptr : page_.get()}, bytes_, report, err)) << err;
    const PackageFile file = PackageFile::FromMemory(bytes_);
    const MemberBounds hash = file.FindMember(u"WordsHash", GetParam(), *page_);
    std::multimap<std::pair<double, int>, std::int32_t> out;
    double previous = 0;
    for (std::int64_t at = hash.Start; at + 12 <= hash.End; at += 12) {
      double key = 0;
      std::int32_t id = 0;
      EXPECT_TRUE(file.ReadF64(at, key));
      EXPECT_TRUE(file.ReadI32(at + 8, id));
      EXPECT_GE(std::abs(key), previous);
      previous = std::abs(key);
      out.emplace(std::make_pair(std::abs(key), key < 0 ? 2 : 1), id);
    }
    return out;
  }
  double Key(std::u16string_view text) const { return PackageKey(text, GetParam(), *page_); }

  std::unique_ptr<CodePage> page_;
  std::vector<std::uint8_t> bytes_;
};

TEST_P(PhraseKeyRecords, OnePerBeginningAndSideUnderTheFirstEntry) {
  const auto recs = Records(
      "L\tein bisschen\tнемного\n"        // words 1, 2
      "L\tein Haus\tдом\n"                // 3, 4
      "L\tWohn-Zimmer Tisch\tстол\n"      // 5, 6
      "L\tAuto\tмашина кар\n");           // 7, 8
  EXPECT_EQ(recs.size(), 8u + 4u);        // eight words; "ein ", "wohn ", "wohn zimmer ", "машина "
  const auto ids = [&](std::u16string_view text, int side) {
    std::vector<std::int32_t> v;
    const auto range = recs.equal_range({Key(text), side});
    for (auto it = range.first; it != range.second; ++it) v.push_back(it->second);
    return v;
  };
  EXPECT_EQ(ids(u"ein ", 1), std::vector<std::int32_t>{1});
  EXPECT_EQ(ids(u"Wohn ", 1), std::vector<std::int32_t>{5});
  EXPECT_EQ(ids(u"wohn zimmer ", 1), std::vector<std::int32_t>{5});
  EXPECT_EQ(ids(u"машина ", 2), std::vector<std::int32_t>{8});
  EXPECT_TRUE(ids(u"машина ", 1).empty());
  EXPECT_TRUE(ids(u"ein haus ", 1).empty());  // a whole entry is no beginning of itself
}

INSTANTIATE_TEST_SUITE_P(BothTextModes, PhraseKeyRecords, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unicode" : "Ansi"; });

}  // namespace
}  // namespace parlavent::dictool
