#pragma once
// Read-only views of whole files, so that large packages are read in place rather than loaded.
// Natively a POSIX memory mapping; on Windows the shell installs a CreateFileMapping one.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace parlavent {

/// The bytes of one file, valid while the view lives. An empty file gives Size() 0.
class FileView {
 public:
  virtual ~FileView() = default;
  virtual const std::uint8_t* Data() const = 0;
  virtual std::size_t Size() const = 0;
};

class FileMapper {
 public:
  virtual ~FileMapper() = default;
  /// A read-only view of the file; nullptr when it cannot be opened or mapped.
  virtual std::unique_ptr<FileView> MapReadOnly(const std::filesystem::path& path) = 0;
};

FileMapper& Mapper();
/// Installs a mapper (nullptr restores the native default).
void SetMapper(std::shared_ptr<FileMapper> mapper);

}  // namespace parlavent
