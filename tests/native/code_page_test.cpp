#include "platform/code_page.h"

#include <gtest/gtest.h>


namespace parlavent {
namespace {

TEST(CodePage, Windows1251RoundTripsCyrillic) {
  const auto cp = MakeBuiltinCodePage(1251);
  ASSERT_NE(cp, nullptr);
  const std::string bytes = "\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8";
  EXPECT_EQ(cp->Decode(bytes), u"Привет Ёё");
  bool lossless = false;
  EXPECT_EQ(cp->Encode(u"Привет Ёё", &lossless), bytes);
  EXPECT_TRUE(lossless);
  EXPECT_EQ(cp->Encode(u"Ωa", &lossless), "?a");
  EXPECT_FALSE(lossless);
}

TEST(CodePage, Windows1252HoldsWesternLettersAndMapsUndefinedBytesThrough) {
  const auto cp = MakeBuiltinCodePage(1252);
  ASSERT_NE(cp, nullptr);
  EXPECT_EQ(cp->Decode("\xC4\xDF\x80\x81"), u"Äß€\x0081");
  EXPECT_EQ(cp->Encode(u"Äß€\x0081"), "\xC4\xDF\x80\x81");
  EXPECT_EQ(MakeBuiltinCodePage(936), nullptr);
}

TEST(CodePage, TheDefaultAnsiPageIsWindows1251AndCanBeReplaced) {
  EXPECT_EQ(AnsiCodePage().Id(), 1251u);
  SetAnsiCodePage(MakeBuiltinCodePage(1252));
  EXPECT_EQ(AnsiCodePage().Decode("\xE4"), u"ä");
  SetAnsiCodePage(nullptr);
  EXPECT_EQ(AnsiCodePage().Decode("\xE4"), u"д");
}

}  // namespace
}  // namespace parlavent
