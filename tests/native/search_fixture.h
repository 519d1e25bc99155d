#pragma once
// Dictionaries for the search tests: builder source text made into a package in a package
// folder and opened as a dictionary, and bytes of its sections patched afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/engine_operations.h"
#include "dictionary/dictionary.h"
#include "dictionary/sections.h"
#include "native/package_folder.h"
#include "support/package_fixture.h"
#include "text/text.h"

namespace parlavent::testing {

/// The texts of word records, in UTF-8.
inline std::vector<std::string> Texts(const std::vector<WordRec>& recs) {
  std::vector<std::string> texts;
  for (const auto& r : recs) texts.push_back(ToUtf8(r.Text));
  return texts;
}

class SearchTest : public AppTest {
 protected:
  /// Builds source into file of the folder's "Dictionaries" (an ANSI package in the process's
  /// code page unless unicode) and opens it. Without an "Info" member of its own the package gets
  /// a plain one, which tells its text mode.
  std::shared_ptr<clsDic> Build(const std::string& source, const std::string& file = "test_full.dic",
                                bool unicode = true) {
    const bool hasInfo = source.find("@member Info") != std::string::npos;
    folder_.Add(file, hasInfo ? source : Info("ShortName=Test\n") + source, unicode);
    path_ = folder_.Dictionaries() / file;
    return Reopen();
  }

  const std::filesystem::path& PackagePath() const { return path_; }

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
  testing::PackageFolder folder_;
  std::filesystem::path path_;
};

}  // namespace parlavent::testing
