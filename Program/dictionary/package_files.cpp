// The package-file operations: member keys and look-up, members as bytes and text, the folder
// listing that finds packages, and the byte-file operations.
#include "dictionary/package_files.h"

#include <algorithm>
#include <fstream>
#include <limits>

#include "dictionary/byte_files.h"
#include "dictionary/engine_state.h"
#include "dictionary/package_file.h"
#include "foundation/wildcard.h"
#include "platform/code_page.h"

namespace parlavent {
namespace {

std::vector<std::uint8_t> ToVector(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

bool FitsLong(const MemberBounds& m) {
  return m.Start <= std::numeric_limits<std::int32_t>::max() && m.End <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

PackageFiles::PackageFiles(EngineState& state, std::int32_t& byteFileN, std::int32_t& byteFileLen)
    : state_(state), byteFileN_(byteFileN), byteFileLen_(byteFileLen) {}

PackageFiles::~PackageFiles() = default;

double PackageFiles::GetHash(std::u16string_view StrIn) const { return PackageKey(StrIn, state_.gUnicode, AnsiCodePage()); }

ByteFileTable& PackageFiles::OpenFiles() {
  if (!table_) table_ = std::make_unique<ByteFileTable>();
  return *table_;
}

std::vector<std::uint8_t> PackageFiles::ExtractBytes(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle) {
  const PackageFile package = PackageFile::Open(File);
  return ToVector(package.Member(ExtractedFileTitle, state_.gUnicode, AnsiCodePage()));
}

void PackageFiles::GetFileBounds(std::int32_t FileN, std::u16string_view ExtractedFileTitle, std::int32_t& RetSB,
                         std::int32_t& RetEB) {
  const MemberBounds m = OpenFiles().Reader(FileN).FindMember(ExtractedFileTitle, state_.gUnicode, AnsiCodePage());
  const bool fits = FitsLong(m);
  RetSB = fits ? static_cast<std::int32_t>(m.Start) : 0;
  RetEB = fits ? static_cast<std::int32_t>(m.End) : 0;
}

std::u16string PackageFiles::ExtractFile(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle,
                                 const std::filesystem::path& OutPath) {
  const std::vector<std::uint8_t> bytes = ExtractBytes(File, ExtractedFileTitle);
  if (OutPath.empty()) return DecodePackageText(bytes, state_.gUnicode, AnsiCodePage());
  std::error_code ec;
  std::filesystem::remove(OutPath, ec);
  std::ofstream out(OutPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return {};
}

std::vector<std::filesystem::path> PackageFiles::GetFiles(const std::filesystem::path& Folder, std::u16string_view Filter) {
  std::vector<std::filesystem::path> found;
  if (Filter.empty()) return found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(Folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::filesystem::path name = it->path().filename();
    if (Like(name.u16string(), Filter, MatchCase::Blind)) found.push_back(Folder / name);
  }
  return found;
}

std::vector<std::uint8_t> PackageFiles::GetBinaryFile(const std::filesystem::path& File) {
  const PackageFile file = PackageFile::Open(File);
  return ToVector(file.Bytes(0, file.Size()));
}

bool PackageFiles::OpenByteFileRead(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  const std::int32_t n = ec ? 0 : OpenFiles().OpenRead(path);
  if (n == 0) return false;
  byteFileLen_ = static_cast<std::int32_t>(std::min<std::uintmax_t>(size, std::numeric_limits<std::int32_t>::max()));
  byteFileN_ = n;
  return true;
}

bool PackageFiles::OpenByteFileWrite(const std::filesystem::path& path) {
  byteFileLen_ = 0;
  const std::int32_t n = OpenFiles().OpenWrite(path);
  if (n == 0) return false;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) byteFileLen_ = static_cast<std::int32_t>(std::min<std::uintmax_t>(size, std::numeric_limits<std::int32_t>::max()));
  byteFileN_ = n;
  return true;
}

void PackageFiles::CloseByteFile() { OpenFiles().CloseAll(); }

std::u16string PackageFiles::GetByteTrans(std::int32_t Offset, std::int32_t l) {
  const auto bytes = OpenFiles().Reader(byteFileN_).Bytes(2 * static_cast<std::int64_t>(Offset), 2 * static_cast<std::int64_t>(l));
  return DecodeUtf16Le(bytes);
}

bool PackageFiles::SetByteTrans(std::int32_t Offset, std::u16string_view strng) {
  std::fstream* out = OpenFiles().Writer(byteFileN_);
  if (!out || Offset < 0) return false;
  std::string bytes;
  for (char16_t c : strng) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  out->seekp(2 * static_cast<std::streamoff>(Offset));
  out->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out->flush();
  return static_cast<bool>(*out);
}

std::int32_t PackageFiles::FromByte(const std::vector<std::uint8_t>& b) {
  std::int32_t value = 0;
  PackageFile::FromMemory(b).ReadI32(0, value);
  return value;
}

std::vector<std::uint8_t> PackageFiles::ToByte(std::int32_t l) {
  const auto u = static_cast<std::uint32_t>(l);
  return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u >> 16),
          static_cast<std::uint8_t>(u >> 24)};
}

}  // namespace parlavent
