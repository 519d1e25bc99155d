#include "foundation/lang_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "foundation/api_files.h"
#include "foundation/lang_entries.h"
#include "platform/code_page.h"
#include "support/app_fixture.h"
#include "support/fake_system.h"

namespace parlavent {
namespace {

std::string Utf16File(std::u16string_view text, bool mark = true) {
  std::string bytes = mark ? "\xFF\xFE" : "";
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

constexpr char16_t kSample[] =
    u"English\tРусский\r\n"
    u"test\tЖжЁё\r\n"
    u"One\tОдин\r\n"
    u"\r\n"
    u"only one column\r\n"
    u"a[CRLF]b[crlf]c\tа[CRLF]б";

class LangTableTest : public testing::AppTest {
 protected:
  LangTableTest() : system_(std::make_shared<testing::FakeSystem>()) { system_->programFolder = dir.Text(); }
  void WriteLangDat(std::u16string_view text, bool mark = true) {
    testing::WriteBytes(dir.path() / "lang.dat", Utf16File(text, mark));
  }

  testing::TempDir dir;
  std::shared_ptr<testing::FakeSystem> system_;
  testing::ScopedSystem scoped_{system_};
  std::int32_t curLang = 1;
  std::u16string site, email;
};

TEST_F(LangTableTest, LooksEntriesUpInTheCurrentColumn) {
  for (const bool mark : {true, false}) {
    WriteLangDat(kSample, mark);
    curLang = 1;
    mdlPublic::LoadLang(curLang, site, email);
    EXPECT_EQ(curLang, 1);
    EXPECT_EQ(app.Languages, (std::vector<std::u16string>{u"English", u"Русский"}));
    EXPECT_EQ(mdlPublic::GetLangStr(0), u"English\tРусский");
    EXPECT_EQ(mdlPublic::GetLangStr(2), u"Один");
    EXPECT_EQ(mdlPublic::GetLangStr(3), u"");
    EXPECT_EQ(mdlPublic::GetLangStr(4), u"only one column");
    EXPECT_EQ(app.LZ(5), u"а\r\nб");
    EXPECT_EQ(mdlPublic::GetLangStr(6), u"");
    EXPECT_EQ(mdlPublic::GetLangStr(-1), u"");
  }
  curLang = 0;
  mdlPublic::LoadLang(curLang, site, email);
  EXPECT_EQ(app.LZ(5), u"a\r\nb\r\nc");
}

TEST_F(LangTableTest, ALanguageTheCodePageCannotHoldIsNotOffered) {
  WriteLangDat(kSample);
  SetAnsiCodePage(MakeBuiltinCodePage(1252));
  mdlPublic::LoadLang(curLang, site, email);
  SetAnsiCodePage(nullptr);
  EXPECT_EQ(curLang, 0);
  EXPECT_EQ(app.Languages, (std::vector<std::u16string>{u"English", u""}));
  EXPECT_EQ(mdlPublic::GetLangStr(2), u"One");
}

TEST_F(LangTableTest, AMissingOrBrokenFileGivesEmptyTexts) {
  site = u"old";
  mdlPublic::LoadLang(curLang, site, email);
  EXPECT_TRUE(app.Languages.empty());
  EXPECT_EQ(site, u"");
  EXPECT_EQ(app.LZ(0), u"");

  testing::WriteBytes(dir.path() / "lang.dat", std::string("\xFF\xFE\x00\xD8\x0A", 5));
  curLang = 7;
  mdlPublic::LoadLang(curLang, site, email);
  EXPECT_EQ(app.LZ(1), u"");
}

TEST_F(LangTableTest, TheShippedTableHasEveryEntryInBothLanguages) {
  const std::filesystem::path shipped = std::filesystem::path(PARLAVENT_BINARY_DIR) / "Parlavent" / "lang.dat";
  ASSERT_TRUE(std::filesystem::exists(shipped));
  std::filesystem::copy_file(shipped, dir.path() / "lang.dat");

  // Every entry the program names, and every number it passes to the look-up directly.
  std::set<std::int32_t> used(std::begin(lang::kAllEntries), std::end(lang::kAllEntries));
  const std::regex literalCall(R"((?:LZ|GetLangStr)\(\s*(\d+)\s*\))");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(PARLAVENT_SOURCE_DIR "/Program")) {
    const auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    std::stringstream source;
    source << std::ifstream(entry.path()).rdbuf();
    const std::string text = source.str();
    for (std::sregex_iterator it(text.begin(), text.end(), literalCall), end; it != end; ++it) {
      used.insert(std::stoi((*it)[1]));
    }
  }

  for (const std::int32_t language : {0, 1}) {
    curLang = language;
    mdlPublic::LoadLang(curLang, site, email);
    ASSERT_EQ(curLang, language);
    for (const std::int32_t n : used) EXPECT_FALSE(app.LZ(n).empty()) << "entry " << n << ", language " << language;
    // A notification is its title, a line break and its body.
    for (const std::int32_t n : {lang::kNotifyLayoutCorrected, lang::kNotifyWrongDirection, lang::kNotifyManualMode,
                                 lang::kNotifyAutoMode, lang::kNotifyLayoutSwitched, lang::kNotifyCannotRead,
                                 lang::kNotifyAntivirus}) {
      const std::u16string text = app.LZ(n);
      const std::size_t br = text.find(u"\r\n");
      EXPECT_TRUE(br != std::u16string::npos && br > 0 && br + 2 < text.size()) << "entry " << n;
    }
    // Link markup must not meet a stray angle bracket.
    EXPECT_EQ(app.LZ(lang::kNoDictionary).find_first_of(u"<>"), std::u16string::npos);
  }
  EXPECT_EQ(app.Languages, (std::vector<std::u16string>{u"English", u"Русский"}));
  EXPECT_EQ(site, u"https://www.example.org/parlavent/");
  EXPECT_EQ(email, u"parlavent@example.org");
}

}  // namespace
}  // namespace parlavent
