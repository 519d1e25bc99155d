// dictool translate on the de-ru sample: inflected words reach their entries with their
// transcriptions, and the three output forms agree.
#include "translate_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/fake_system.h"
#include "text/text.h"

namespace parlavent {
namespace {

std::string Translate(std::vector<std::string> args) {
  testing::ScopedSystem system{nullptr};
  testing::ScopedUserSettings store{nullptr};
  args.insert(args.begin(), (std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "Dictionaries").string());
  std::ostringstream out;
  EXPECT_EQ(dictool::RunTranslate(args, out), 0);
  return out.str();
}

TEST(DictoolTranslateTest, InflectedGermanSentence) {
  const std::string plain = Translate({"Die Hunde der Nachbarn bellten", "--plain"});
  EXPECT_EQ(plain.substr(0, plain.find('\n')), "3017600");
  // The transcriptions come from the common package paired with the full one.
  for (const char* expected : {"\nDie Hunde der Nachbarn bellten \n", "Hund [hʊnt] \r\nпёс; собака",
                               "Nachbar [ˈnaxˌbaːɐ̯] \r\nсосед", "bellen [ˈbɛlən] \r\nлаять; гавкать"}) {
    EXPECT_NE(plain.find(expected), std::string::npos) << expected << "\n" << plain;
  }
  const std::string markup = Translate({"Die Hunde der Nachbarn bellten"});
  EXPECT_NE(markup.find("<Hund=TransWord-Hund||B ||dir 0>"), std::string::npos) << markup;
  const std::string links = Translate({"Hunde", "--links", "--on-form"});
  EXPECT_NE(links.find("1\t5\tTransWord\tHund\t1\t"), std::string::npos) << links;
  EXPECT_NE(links.find("\tBackTrans\tпёс\t"), std::string::npos) << links;
}

TEST(DictoolTranslateTest, RefusedForItsDirectionAndBadOptions) {
  const std::string out = Translate({"собака", "--check-dir", "--dir-silent", "--direction", "1"});
  EXPECT_EQ(out.substr(0, out.find('\n')), "0\t(refused for its direction)");
  std::ostringstream ignored;
  EXPECT_EQ(dictool::RunTranslate({"folder", "text", "--plain", "--links"}, ignored), 1);
  EXPECT_EQ(dictool::RunTranslate({"folder"}, ignored), 1);
}

}  // namespace
}  // namespace parlavent
