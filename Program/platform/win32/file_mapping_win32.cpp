#include "platform/win32/file_mapping_win32.h"

#include "platform/file_mapping.h"

namespace parlavent {
namespace {

class Win32View final : public FileView {
 public:
  Win32View(const void* data, std::size_t size) : data_(data), size_(size) {}
  ~Win32View() override {
    if (data_) UnmapViewOfFile(data_);
  }
  const std::uint8_t* Data() const override { return static_cast<const std::uint8_t*>(data_); }
  std::size_t Size() const override { return size_; }

 private:
  const void* data_;
  std::size_t size_;
};

// Owns one kernel handle; the view stays valid after both handles are closed.
struct ScopedHandle {
  HANDLE h;
  ~ScopedHandle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

class Win32Mapper final : public FileMapper {
 public:
  std::unique_ptr<FileView> MapReadOnly(const std::filesystem::path& path) override {
    // FILE_SHARE_DELETE too, so that an open package does not block the installer replacing it.
    ScopedHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.h, &size) || size.QuadPart < 0) return nullptr;
    if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) return nullptr;
    if (size.QuadPart == 0) return std::make_unique<Win32View>(nullptr, 0);  // cannot map 0 bytes
    ScopedHandle mapping{CreateFileMappingW(file.h, nullptr, PAGE_READONLY, 0, 0, nullptr)};
    if (!mapping.h) return nullptr;
    const void* data = MapViewOfFile(mapping.h, FILE_MAP_READ, 0, 0, 0);
    if (!data) return nullptr;
    return std::make_unique<Win32View>(data, static_cast<std::size_t>(size.QuadPart));
  }
};

}  // namespace

void InstallWin32FileMapper() { SetMapper(std::make_shared<Win32Mapper>()); }

}  // namespace parlavent
