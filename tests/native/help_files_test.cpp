// The installed help: one compiled file per interface language and a folder of its plain pages,
// each holding every topic that docs/help.md names and every topic the settings dialog opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "foundation/api_files.h"
#include "foundation/lang_table.h"
#include "settings_dialog/settings_model.h"
#include "text/text.h"

namespace parlavent {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> DocumentedTopics() {
  const std::string doc = ReadAll(std::filesystem::path(PARLAVENT_SOURCE_DIR) / "docs" / "help.md");
  std::set<std::string> topics;
  const std::regex row(R"(\| `([a-z_]+\.htm)` \|)");
  for (auto it = std::sregex_iterator(doc.begin(), doc.end(), row); it != std::sregex_iterator(); ++it) {
    topics.insert((*it)[1]);
  }
  return topics;
}

TEST(HelpFiles, EveryInterfaceLanguageHasItsCompiledHelpWithEveryTopic) {
  const std::filesystem::path program = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent";
  std::int32_t lang = 0;
  const LangTableLoad table = BuildLangTable(API::ReadUnicodeFile(FromUtf8((program / "lang.dat").string())), lang);
  ASSERT_GE(table.languages.size(), 2u);
  std::set<std::string> topics = DocumentedTopics();
  ASSERT_GE(topics.size(), 16u);
  for (std::int32_t page = 0; page < kSettingPageCount; ++page) {
    const std::string topic = ToUtf8(SettingsModel::HelpTopic(static_cast<SettingPage>(page)));
    ASSERT_FALSE(topic.empty()) << page;
    topics.insert(topic);
  }
  for (const auto& name : table.languages) {
    const auto chm = program / "Help" / std::filesystem::u8path(ToUtf8(name) + ".chm");
    const std::string bytes = ReadAll(chm);
    ASSERT_GE(bytes.size(), 4u) << chm;
    EXPECT_EQ(bytes.substr(0, 4), "ITSF") << chm;
    // The directory of a compiled help file lists its files by name, uncompressed.
    // The plain pages beside it, for readers whose help viewer shows nothing.
    const auto plain = program / "Help" / std::filesystem::u8path(ToUtf8(name));
    for (const auto& topic : topics) {
      EXPECT_NE(bytes.find("/" + topic), std::string::npos) << chm << " " << topic;
      EXPECT_NE(ReadAll(plain / topic).find("<h1>"), std::string::npos) << plain << " " << topic;
    }
    EXPECT_TRUE(std::filesystem::exists(plain / "style.css")) << plain;
  }
  EXPECT_TRUE(std::filesystem::exists(program / "Help" / "todo.html"));
}

}  // namespace
}  // namespace parlavent
