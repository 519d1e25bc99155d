// The CreateFileMapping reader under Windows: packages are read in place and stay readable while
// open, and the sample dictionaries of the installation folder open through it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "support/fake_system.h"
#include <fstream>

#include "app/application.h"
#include "dictionary/package_file.h"
#include "platform/code_page.h"
#include "platform/file_mapping.h"

namespace parlavent {
namespace {

TEST(Win32FileMapping, MapsWholeFilesAndEmptyOnes) {
  const testing::TempDir scratch;
  const auto& dir = scratch.path();
  std::ofstream(dir / "data.bin", std::ios::binary) << "package";
  std::ofstream(dir / "empty.bin", std::ios::binary);
  {
    const auto view = Mapper().MapReadOnly(dir / "data.bin");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Size(), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->Data()), view->Size()), "package");
    const auto empty = Mapper().MapReadOnly(dir / "empty.bin");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Size(), 0u);
    EXPECT_EQ(Mapper().MapReadOnly(dir / "absent.bin"), nullptr);
  }
}

TEST(Win32FileMapping, SampleDictionariesOpenInPlace) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const auto build = std::filesystem::path(exe).parent_path().parent_path();
  Appl app;
  SetAppl(&app);
  app.State.gUnicode = true;
  const std::u16string info = app.ExtractFile(build / "Parlavent" / "Dictionaries" / "de-ru_full.dic", u"Info");
  EXPECT_NE(info.find(u"ShortName=De-Ru"), std::u16string::npos);
  SetAppl(nullptr);
}

}  // namespace
}  // namespace parlavent
