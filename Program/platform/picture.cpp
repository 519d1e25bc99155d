#include "platform/picture.h"

#include <cstring>
#include <fstream>
#include <utility>

#include "platform/service_slot.h"

namespace parlavent {
namespace {

class SniffedPicture final : public Picture {
 public:
  explicit SniffedPicture(PictureFormat format) : format_(format) {}
  PictureFormat Format() const override { return format_; }

 private:
  PictureFormat format_;
};

// Accepts what the system's picture loader accepts, judged by the header alone.
class HeaderPictureLoader final : public PictureLoader {
 public:
  std::shared_ptr<Picture> LoadPicture(const std::filesystem::path& file) override {
    std::ifstream in(file, std::ios::binary);
    unsigned char head[8] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    PictureFormat format{};
    if (!SniffPictureFormat(head, static_cast<std::size_t>(in.gcount()), format)) return nullptr;
    return std::make_shared<SniffedPicture>(format);
  }
};

bool Starts(const unsigned char* bytes, std::size_t size, const char* magic, std::size_t n) {
  return size >= n && std::memcmp(bytes, magic, n) == 0;
}

}  // namespace

bool SniffPictureFormat(const unsigned char* bytes, std::size_t size, PictureFormat& format) {
  static const struct {
    const char* magic;
    std::size_t size;
    PictureFormat format;
  } kMagic[] = {
      {"BM", 2, PictureFormat::Bitmap},
      {"\0\0\1\0", 4, PictureFormat::Icon},
      {"\0\0\2\0", 4, PictureFormat::Cursor},
      {"GIF87a", 6, PictureFormat::Gif},
      {"GIF89a", 6, PictureFormat::Gif},
      {"\xFF\xD8\xFF", 3, PictureFormat::Jpeg},
      {"\xD7\xCD\xC6\x9A", 4, PictureFormat::Metafile},  // placeable metafile
  };
  for (const auto& m : kMagic) {
    if (Starts(bytes, size, m.magic, m.size)) {
      format = m.format;
      return true;
    }
  }
  return false;
}

PictureLoader& Pictures() { return *ServiceSlot<PictureLoader, HeaderPictureLoader>(); }

void SetPictureLoader(std::shared_ptr<PictureLoader> loader) {
  InstallService<PictureLoader, HeaderPictureLoader>(std::move(loader));
}

}  // namespace parlavent
