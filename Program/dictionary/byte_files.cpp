#include "dictionary/byte_files.h"

namespace parlavent {

std::int32_t ByteFileTable::Take(Entry entry) {
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    if (!entries_[k].InUse()) {
      entries_[k] = std::move(entry);
      return static_cast<std::int32_t>(k + 1);
    }
  }
  entries_.push_back(std::move(entry));
  return static_cast<std::int32_t>(entries_.size());
}

std::int32_t ByteFileTable::OpenRead(const std::filesystem::path& path) {
  Entry entry;
  entry.reader = PackageFile::Open(path);
  return entry.reader.IsOpen() ? Take(std::move(entry)) : 0;
}

std::int32_t ByteFileTable::OpenWrite(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) std::ofstream(path, std::ios::binary);
  auto stream = std::make_unique<std::fstream>(path, std::ios::binary | std::ios::in | std::ios::out);
  if (!stream->is_open()) return 0;
  Entry entry;
  entry.writer = std::move(stream);
  return Take(std::move(entry));
}

const PackageFile& ByteFileTable::Reader(std::int32_t n) const {
  static const PackageFile closed;
  if (n < 1 || static_cast<std::size_t>(n) > entries_.size()) return closed;
  return entries_[static_cast<std::size_t>(n - 1)].reader;
}

std::fstream* ByteFileTable::Writer(std::int32_t n) {
  if (n < 1 || static_cast<std::size_t>(n) > entries_.size()) return nullptr;
  return entries_[static_cast<std::size_t>(n - 1)].writer.get();
}

void ByteFileTable::CloseAll() { entries_.clear(); }

}  // namespace parlavent
