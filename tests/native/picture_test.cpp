#include "platform/picture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_system.h"
#include <fstream>
#include <string>

namespace parlavent {
namespace {

TEST(PictureLoaderTest, DefaultAcceptsPictureHeadersOnly) {
  const testing::TempDir scratch;
  const auto& dir = scratch.path();
  const struct {
    std::string bytes;
    bool loads;
    PictureFormat format;
  } cases[] = {
      {std::string("\0\0\1\0\1\0", 6), true, PictureFormat::Icon},
      {"BM\x36\0\0\0", true, PictureFormat::Bitmap},
      {"GIF89a\1\0", true, PictureFormat::Gif},
      {"GIF87a", true, PictureFormat::Gif},
      {"\xFF\xD8\xFF\xE0", true, PictureFormat::Jpeg},
      {"GIF8", false, {}},
      {"B", false, {}},
      {"hello world", false, {}},
      {"", false, {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    const auto file = dir / ("p" + std::to_string(n++));
    std::ofstream(file, std::ios::binary) << c.bytes;
    const auto picture = Pictures().LoadPicture(file);
    ASSERT_EQ(picture != nullptr, c.loads) << n;
    if (picture) {
      EXPECT_EQ(picture->Format(), c.format) << n;
    }
  }
  EXPECT_EQ(Pictures().LoadPicture(dir / "missing"), nullptr);
}

}  // namespace
}  // namespace parlavent
