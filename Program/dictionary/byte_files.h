#pragma once
// The pool of numbered open files that the byte-file operations and the open packages share:
// "next free number" hands out the lowest number not in use, and closing closes them all.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "dictionary/package_file.h"

namespace parlavent {

class ByteFileTable {
 public:
  /// Opens for reading (read in place); the file's number, or 0 when it cannot be opened.
  std::int32_t OpenRead(const std::filesystem::path& path);
  /// Opens for writing without truncating (created when missing); its number, or 0.
  std::int32_t OpenWrite(const std::filesystem::path& path);
  /// The package open for reading under n; a closed one for any other number.
  const PackageFile& Reader(std::int32_t n) const;
  /// The stream open for writing under n; nullptr for any other number.
  std::fstream* Writer(std::int32_t n);
  void CloseAll();

 private:
  struct Entry {
    PackageFile reader;
    std::unique_ptr<std::fstream> writer;
    bool InUse() const { return reader.IsOpen() || writer; }
  };
  std::int32_t Take(Entry entry);
  std::vector<Entry> entries_;  // entry k holds number k + 1
};

}  // namespace parlavent
