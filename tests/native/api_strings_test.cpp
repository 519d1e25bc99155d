#include "foundation/api_strings.h"

#include <gtest/gtest.h>

#include "text/text.h"

namespace parlavent {
namespace {

TEST(ApiStrings, MakeKeyAndFirstCharacter) {
  EXPECT_EQ(API::MakeKey(12), u"k12");
  EXPECT_EQ(API::MakeKey(u""), u"k");
  EXPECT_EQ(API::DropFirstChar(u"Ёлка"), u"лка");
  EXPECT_EQ(API::DropFirstChar(u""), u"");
  EXPECT_TRUE(API::IsFirstCharUpper(u""));
  EXPECT_TRUE(API::IsFirstCharUpper(u"Ωmega"));
  EXPECT_TRUE(API::IsFirstCharUpper(u"1abc"));  // a digit is its own upper case
  EXPECT_FALSE(API::IsFirstCharUpper(u"ωmega"));
}

TEST(ApiStrings, TextAroundADelimiter) {
  EXPECT_EQ(API::GetTextBefore(u"a=b", u"="), u"a");
  EXPECT_EQ(API::GetTextBefore(u"ab", u"="), u"");
  EXPECT_EQ(API::GetTextBefore(u"  key  = v", u"="), u"key");
  EXPECT_EQ(API::GetTextAfter(u"a=b", u"="), u"b");
  EXPECT_EQ(API::GetTextAfter(u"ab", u"="), u"ab");
  EXPECT_EQ(API::GetTextAfter(u"oneXTWOxthree", u"x"), u"TWOxthree");  // case-blind, first one
  // Only one character is skipped for the delimiter, whatever its length.
  EXPECT_EQ(API::GetTextAfter(u"a||b", u"||"), u"|b");

  std::u16string left = u"kept", right;
  API::SplitAt(u"no delimiter", left, right, u"=");
  EXPECT_EQ(left, u"kept");
  EXPECT_EQ(right, u"no delimiter");
  API::SplitAt(u"Ключ=Значение", left, right, u"=");
  EXPECT_EQ(left, u"Ключ");
  EXPECT_EQ(right, u"Значение");
}

TEST(ApiStrings, TrimStringRepeatsUntilNothingChanges) {
  EXPECT_EQ(API::TrimString(u"--x--", u"-"), u"x");
  EXPECT_EQ(API::TrimString(u" -x- ", u" ", u"-"), u"x");
  EXPECT_EQ(API::TrimString(u"ABxab", u"ab"), u"x");
  EXPECT_EQ(API::TrimString(u"xyz", u""), u"xyz");
  EXPECT_EQ(API::TrimString(u"----", u"-"), u"");
}

TEST(ApiStrings, XorHashHexFoldsAnsiCodes) {
  EXPECT_EQ(API::XorHashHex(u"abc", 10), u"6162630000000");
  EXPECT_EQ(API::XorHashHex(u"", 10), u"0000000000");
  EXPECT_EQ(API::XorHashHex(u"aa", 1), u"0");                // a ^ a
  EXPECT_EQ(API::XorHashHex(u"\x0A", 2), u"A0");             // no leading zero per byte
  EXPECT_EQ(API::XorHashHex(u"я", 1), u"FF");                // windows-1251 code of я
  EXPECT_EQ(API::XorHashHex(u"\x4E2D" u"a", 2), u"061");     // a character without an ANSI code changes nothing
  EXPECT_EQ(API::XorHashHex(u"abc", 0), u"");
}

TEST(ApiArrays, SafeUBoundAndArrayAppend) {
  std::vector<std::u16string> words;
  EXPECT_EQ(API::SafeUBound(words), -1);
  EXPECT_EQ(API::ArrayAppend(words, u"one"), 0);
  EXPECT_EQ(API::SafeUBound(words), 0);
  EXPECT_EQ(API::ArrayAppend(words, u"two"), 1);
  EXPECT_EQ(words[0], u"one");
}

}  // namespace
}  // namespace parlavent
