#pragma once
// Test packages: a scratch folder per test, packages written byte by byte (to say exactly what
// a malformed one holds) or built by dictool from source text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/package_file.h"
#include "platform/code_page.h"
#include "support/app_fixture.h"

namespace parlavent::testing {

using ByteVector = std::vector<std::uint8_t>;

/// One directory record: a start offset and the key of a name (or a raw key).
struct RawRecord {
  std::int32_t start;
  double key;
};

inline void AppendI32(ByteVector& b, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

inline void AppendF64(ByteVector& b, double v) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof v);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

/// A package from a count byte, directory records and the data behind them, exactly as given.
inline ByteVector RawPackage(std::uint8_t count, const std::vector<RawRecord>& records, const ByteVector& data) {
  ByteVector b{count};
  for (const RawRecord& r : records) {
    AppendI32(b, r.start);
    AppendF64(b, r.key);
  }
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

inline double UnicodeKey(std::u16string_view name) { return PackageKey(name, true, AnsiCodePage()); }

/// A scratch folder removed after the test, with an application object.
class PackageTest : public AppTest {
 protected:
  PackageTest() {
    // A folder no other process has: test runs of other build trees run the same tests at once,
    // and the object's address alone repeats between them.
    std::string name = "parlavent_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                       "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
    // A parameterised test's name has a "/": one folder, not a folder in a folder that may not be there.
    std::replace(name.begin(), name.end(), '/', '_');
    std::error_code ec;
    for (unsigned n = 0;; ++n) {
      dir_ = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(n));
      // Stops too on an error other than an existing folder (the tests then fail on their files).
      if (std::filesystem::create_directory(dir_, ec) || ec) break;
    }
  }
  ~PackageTest() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::filesystem::path Write(const std::string& name, const ByteVector& bytes) const {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::filesystem::path WriteText(const std::string& name, const std::string& text) const {
    return Write(name, ByteVector(text.begin(), text.end()));
  }
  const std::filesystem::path& Dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

}  // namespace parlavent::testing
