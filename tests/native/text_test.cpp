#include "text/text.h"

#include <gtest/gtest.h>


namespace parlavent {
namespace {

TEST(Utf8, RoundTripsLatinCyrillicGreekAndAstral) {
  const char* samples[] = {"plain", "Привет, мир", "Καλημέρα", "a\xF0\x9F\x98\x80z", ""};
  for (const char* s : samples) EXPECT_EQ(ToUtf8(FromUtf8(s)), s) << s;
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80").size(), 2u);  // a surrogate pair
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xC3"), u"a\xFFFD");            // truncated sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\xFFFD\xFFFD");    // overlong form
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\xFFFD\xFFFD\xFFFD");  // encoded surrogate
  EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");      // lone surrogate
}

TEST(CaseMapping, CoversLatinCyrillicAndGreek) {
  EXPECT_EQ(LCase(u"ÄBC Straße"), u"äbc straße");
  EXPECT_EQ(LCase(u"ПРИВЕТ Ёж"), u"привет ёж");
  EXPECT_EQ(UCase(u"καλημέρα"), u"ΚΑΛΗΜΈΡΑ");
  EXPECT_EQ(UCase(u"ёж"), u"ЁЖ");
  EXPECT_TRUE(EqualsNoCase(u"ΣΟΦΊΑ", u"σοφία"));
  EXPECT_FALSE(EqualsNoCase(u"abc", u"abd"));
  EXPECT_FALSE(EqualsNoCase(u"abc", u"ab"));
}

TEST(DictionaryOrder, LowerCasesThenComparesCodeUnitsWithPrefixFirst) {
  EXPECT_EQ(CompareDictOrder(u"Apple", u"apple"), 0);
  EXPECT_LT(CompareDictOrder(u"app", u"Apple"), 0);
  EXPECT_GT(CompareDictOrder(u"b", u"Apple"), 0);
  EXPECT_LT(CompareDictOrder(u"Яблоко", u"яблоня"), 0);
  EXPECT_LT(CompareDictOrder(u"z", u"ä"), 0);  // code units, not a locale's collation
  EXPECT_LT(CompareDictOrder(u"", u"a"), 0);
}

TEST(Search, FindsCaseBlind) {
  EXPECT_EQ(FindNoCase(u"Hello WORLD", u"world"), 6u);
  EXPECT_EQ(FindNoCase(u"Мама мыла", u"МЫЛ"), 5u);
  EXPECT_EQ(FindNoCase(u"abc", u""), std::u16string_view::npos);
  EXPECT_EQ(FindNoCase(u"ab", u"abc"), std::u16string_view::npos);
  EXPECT_TRUE(StartsWithNoCase(u"Über", u"üB"));
  EXPECT_FALSE(EndsWithNoCase(u"Straße", u"SSE"));  // simple mappings only: ß stays ß
  EXPECT_TRUE(EndsWithNoCase(u"ΛΌΓΟΣ", u"όγοσ"));
  EXPECT_FALSE(EndsWithNoCase(u"ΛΌΓΟΣ", u"όγος"));  // final sigma is a letter of its own
}

TEST(Pieces, TrimSplitJoinReplace) {
  EXPECT_EQ(Trim(u"  a b \t"), u"a b \t");  // blanks only
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(SplitText(u"a\tb\t", u"\t"), (std::vector<std::u16string>{u"a", u"b", u""}));
  EXPECT_EQ(JoinText({u"x", u"y"}, u", "), u"x, y");
  EXPECT_EQ(ReplaceAll(u"aXbXc", u"X", u"--"), u"a--b--c");
  EXPECT_EQ(ReplaceAll(u"abc", u"", u"-"), u"abc");
}

TEST(Numbers, ParseAndLeadingNumber) {
  std::int64_t v = 7;
  EXPECT_TRUE(ParseInt64(u" -42 ", v));
  EXPECT_EQ(v, -42);
  EXPECT_FALSE(ParseInt64(u"12a", v));
  EXPECT_FALSE(ParseInt64(u"", v));
  EXPECT_FALSE(ParseInt64(u"99999999999999999999", v));
  EXPECT_TRUE(ParseInt64(u"-9223372036854775808", v));
  EXPECT_EQ(v, INT64_MIN);
  EXPECT_EQ(LeadingNumber(u"  12abc"), 12);
  EXPECT_EQ(LeadingNumber(u"x12"), 0);
  EXPECT_EQ(LeadingNumber(u"99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(NumberText(-5), u"-5");
}

}  // namespace
}  // namespace parlavent
