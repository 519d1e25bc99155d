#include "platform/file_mapping.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define PARLAVENT_HAVE_MMAP 1
#endif

namespace parlavent {
namespace {

#if PARLAVENT_HAVE_MMAP
class PosixView final : public FileView {
 public:
  PosixView(void* data, std::size_t size) : data_(data), size_(size) {}
  ~PosixView() override {
    if (data_) munmap(data_, size_);
  }
  const std::uint8_t* Data() const override { return static_cast<const std::uint8_t*>(data_); }
  std::size_t Size() const override { return size_; }

 private:
  void* data_;
  std::size_t size_;
};

class PosixMapper final : public FileMapper {
 public:
  std::unique_ptr<FileView> MapReadOnly(const std::filesystem::path& path) override {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::unique_ptr<FileView> view;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
      const auto size = static_cast<std::size_t>(st.st_size);
      if (size == 0) {
        view = std::make_unique<PosixView>(nullptr, 0);  // mmap refuses a length of 0
      } else {
        void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (data != MAP_FAILED) view = std::make_unique<PosixView>(data, size);
      }
    }
    close(fd);  // the mapping keeps the file's pages reachable
    return view;
  }
};
using DefaultMapper = PosixMapper;
#else
// Without a platform mapping (a Windows build before the shell installs its own) nothing opens.
class NoMapper final : public FileMapper {
 public:
  std::unique_ptr<FileView> MapReadOnly(const std::filesystem::path&) override { return nullptr; }
};
using DefaultMapper = NoMapper;
#endif

std::shared_ptr<FileMapper>& Slot() {
  static std::shared_ptr<FileMapper> mapper = std::make_shared<DefaultMapper>();
  return mapper;
}

}  // namespace

FileMapper& Mapper() { return *Slot(); }
void SetMapper(std::shared_ptr<FileMapper> mapper) {
  Slot() = mapper ? std::move(mapper) : std::make_shared<DefaultMapper>();
}

}  // namespace parlavent
