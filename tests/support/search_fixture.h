#pragma once
// Dictionaries for the search tests: builder source text made into a package in the test's
// scratch folder and opened as a dictionary, and bytes of its sections patched afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "dictionary_source.h"
#include "foundation/text.h"
#include "package_builder.h"
#include "support/package_fixture.h"

namespace parlavent::testing {

/// The texts of word records, in UTF-8.
inline std::vector<std::string> Texts(const std::vector<WordRec>& recs) {
  std::vector<std::string> texts;
  for (const auto& r : recs) texts.push_back(ToUtf8(r.Text));
  return texts;
}

class SearchTest : public PackageTest {
 protected:
  /// Builds source into file (an ANSI package in page when given) and opens it. Without an
  /// "Info" member of its own the package gets an empty one, which tells its text mode.
  std::shared_ptr<clsDic> Build(const std::string& source, const std::string& file = "test_full.dic",
                                const CodePage* page = nullptr) {
    const std::string full = source.find("@member Info") == std::string::npos ? Info("ShortName=Test\n") + source : source;
    dictool::DictionarySource parsed;
    std::string err;
    EXPECT_TRUE(dictool::ParseSource(full, file, Dir(), parsed, err)) << err;
    ByteVector bytes;
    dictool::BuildReport report;
    EXPECT_TRUE(dictool::BuildPackage(parsed, {page}, bytes, report, err)) << err;
    path_ = Write(file, bytes);
    return Reopen();
  }

  /// Opens the last package built again (after a patch) as the current dictionary.
  std::shared_ptr<clsDic> Reopen() {
    auto dic = OpenPackageDic(app, path_);
    EXPECT_TRUE(dic);
    if (dic) dic->SetEnabled(false);
    return dic;
  }

  /// Overwrites the i32 at offset of the section that starts at sectionStart in the last package.
  void PatchI32(std::int32_t sectionStart, std::int64_t offset, std::int32_t value) {
    app.CloseByteFile();
    std::fstream f(path_, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(sectionStart + offset);
    ByteVector b;
    AppendI32(b, value);
    f.write(reinterpret_cast<const char*>(b.data()), 4);
  }

  /// An "Info" member with these [Main] lines.
  static std::string Info(const std::string& mainLines) { return "@member Info\n[Main]\n" + mainLines + "@end\n"; }

 private:
  std::filesystem::path path_;
};

}  // namespace parlavent::testing
