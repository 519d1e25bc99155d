#include "native/package_folder.h"

#include <gtest/gtest.h>

#include <vector>

#include "dictionary_source.h"
#include "package_builder.h"
#include "platform/code_page.h"

namespace parlavent::testing {

PackageFolder::PackageFolder() {
  std::filesystem::create_directories(Dictionaries());
  std::filesystem::create_directories(User());
  std::filesystem::create_directories(Sources());
}

void PackageFolder::Add(const std::string& file, const std::string& source, bool unicode) const {
  dictool::DictionarySource parsed;
  std::string err;
  ASSERT_TRUE(dictool::ParseSource(source, file, Sources(), parsed, err)) << err;
  std::vector<std::uint8_t> bytes;
  dictool::BuildReport report;
  ASSERT_TRUE(dictool::BuildPackage(parsed, {unicode ? nullptr : &AnsiCodePage()}, bytes, report, err)) << err;
  WriteBytes(Dictionaries() / file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void PackageFolder::WriteSourceFile(const std::string& name, std::string_view bytes) const {
  WriteBytes(Sources() / name, bytes);
}

std::u16string PackageFolder::Text(const std::filesystem::path& path) const {
  const std::u8string u8 = path.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

std::string InfoMember(const std::string& mainLines, const std::string& moreSections) {
  return "@member Info\n[Main]\n" + mainLines + "\n" + moreSections + "@end\n";
}

}  // namespace parlavent::testing
