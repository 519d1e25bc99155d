#include "foundation/wildcard.h"

#include <gtest/gtest.h>

#include "text/text.h"

namespace parlavent {
namespace {

struct LikeCase {
  const char* text;
  const char* pattern;
  bool blind;      // expected with MatchCase::Blind
  bool sensitive;  // expected with MatchCase::Sensitive
};

TEST(Like, MatchesThePatternLanguage) {
  const LikeCase cases[] = {
      {"Parlavent.exe /h", "*/h*", true, true},
      {"Parlavent.exe /H", "*/h*", true, false},
      {"", "*", true, true},
      {"", "", true, true},
      {"a", "", false, false},
      {"abc", "a?c", true, true},
      {"ac", "a?c", false, false},
      {"a7c", "a#c", true, true},
      {"abc", "a#c", false, false},
      {"b", "[a-c]", true, true},
      {"B", "[a-c]", true, false},
      {"d", "[!a-c]", true, true},
      {"b", "[!a-c]", false, false},
      {"-", "[a-]", true, true},
      {"*", "[*]", true, true},
      {"x", "[*]", false, false},
      {"ab", "a[]b", true, true},
      {"a[b", "a[b", false, false},  // an unclosed list matches nothing
      {"aXbXc", "a*b*c", true, true},
      {"abcabd", "*abd", true, true},
      {"mississippi", "m*iss*ppi", true, true},
      {"mississippi", "m*iss*ppx", false, false},
      {"Привет", "пр*т", true, false},
      {"ΣΟΦΊΑ", "σοφ?α", true, false},
      {"ё", "[а-я]", false, false},  // ё lies outside а..я
      {"Ж", "[а-я]", true, false},
  };
  for (const LikeCase& c : cases) {
    const std::u16string text = FromUtf8(c.text), pattern = FromUtf8(c.pattern);
    EXPECT_EQ(Like(text, pattern, MatchCase::Blind), c.blind) << c.text << " ~ " << c.pattern;
    EXPECT_EQ(Like(text, pattern, MatchCase::Sensitive), c.sensitive) << c.text << " ~ " << c.pattern;
  }
}

TEST(Like, ManyStarsStayFast) {
  const std::u16string text(2000, u'a');
  EXPECT_FALSE(Like(text, u"*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
}  // namespace parlavent
