#include "dictionary/package_file.h"

#include <array>
#include <cstring>
#include <limits>

#include "platform/code_page.h"
#include "platform/file_mapping.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int64_t kDirectoryRecord = 12;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr auto kCrcTable = MakeCrcTable();

// The text whose checksum is a name's key. A Unicode package hashes decimal digits: the high byte
// of the first character, then the low byte of every character; that is how its keys were made.
// Every word look-up hashes its word, so the digits are appended in place.
void AppendDecimal(std::u16string& t, unsigned v) {
  if (v >= 100) t += static_cast<char16_t>(u'0' + v / 100);
  if (v >= 10) t += static_cast<char16_t>(u'0' + v / 10 % 10);
  t += static_cast<char16_t>(u'0' + v % 10);
}

std::u16string HashedText(std::u16string_view lowered, bool unicode) {
  if (!unicode) return std::u16string(lowered);
  std::u16string t;
  t.reserve(3 * lowered.size() + 3);
  AppendDecimal(t, lowered[0] >> 8);
  for (char16_t c : lowered) AppendDecimal(t, c & 0xFF);
  return t;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

double PackageKey(std::u16string_view name, bool unicode, const CodePage& ansi) {
  if (name.empty()) return 0;
  const std::u16string t = HashedText(LCase(name), unicode);
  const std::string bytes = ansi.Encode(t);
  // The checksum covers as many bytes as the text has characters, as the original checksum call
  // was given; for single-byte code pages that is all of them.
  const std::size_t n = std::min(bytes.size(), t.size());
  const std::uint32_t c = Crc32({reinterpret_cast<const std::uint8_t*>(bytes.data()), n});
  return static_cast<double>(static_cast<std::int32_t>(c)) + 3'000'000'000.0;
}

std::u16string DecodeUtf16Le(std::span<const std::uint8_t> bytes) {
  // Sized once and filled in place: every word and link comment read passes through here.
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text;
}

std::u16string DecodePackageText(std::span<const std::uint8_t> bytes, bool unicode, const CodePage& ansi) {
  if (!unicode) return ansi.Decode({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  const bool marked = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
  return DecodeUtf16Le(marked ? bytes.subspan(2) : bytes);
}

PackageFile PackageFile::Open(const std::filesystem::path& path) {
  PackageFile file;
  std::shared_ptr<const FileView> view = Mapper().MapReadOnly(path);
  if (!view) return file;
  file.bytes_ = {view->Data(), view->Size()};
  file.view_ = std::move(view);
  file.open_ = true;
  return file;
}

PackageFile PackageFile::FromMemory(std::span<const std::uint8_t> bytes) {
  PackageFile file;
  file.bytes_ = bytes;
  file.open_ = true;
  return file;
}

std::span<const std::uint8_t> PackageFile::Bytes(std::int64_t offset, std::int64_t length) const {
  if (offset < 0 || length <= 0 || offset > Size() || length > Size() - offset) return {};
  return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
}

bool PackageFile::ReadI32(std::int64_t offset, std::int32_t& out) const {
  const auto b = Bytes(offset, 4);
  if (b.empty()) return false;
  out = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                  (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
  return true;
}

bool PackageFile::ReadU16(std::int64_t offset, std::uint16_t& out) const {
  const auto b = Bytes(offset, 2);
  if (b.empty()) return false;
  out = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool PackageFile::ReadU8(std::int64_t offset, std::uint8_t& out) const {
  const auto b = Bytes(offset, 1);
  if (b.empty()) return false;
  out = b[0];
  return true;
}

bool PackageFile::ReadF64(std::int64_t offset, double& out) const {
  const auto b = Bytes(offset, 8);
  if (b.empty()) return false;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[static_cast<std::size_t>(i)];
  std::memcpy(&out, &bits, sizeof out);
  return true;
}

int PackageFile::MemberCount() const {
  std::uint8_t n = 0;
  if (!ReadU8(0, n)) return 0;
  // A count byte that promises more records than the file holds makes the whole directory
  // untrustworthy: no member is found rather than some read from beyond its end.
  if (1 + kDirectoryRecord * n > Size()) return 0;
  return n;
}

bool PackageFile::Whole() const {
  std::uint8_t n = 0;
  if (!ReadU8(0, n) || MemberCount() != n) return false;
  for (int i = 0; i < n; ++i) {
    std::int32_t start = 0;
    if (!ReadI32(1 + kDirectoryRecord * i, start) || start < 0 || start >= Size() - 1) return false;
  }
  return true;
}

MemberBounds PackageFile::FindMember(double key) const {
  const int n = MemberCount();
  for (int i = 0; i < n; ++i) {
    const std::int64_t record = 1 + kDirectoryRecord * i;
    double k = 0;
    ReadF64(record + 4, k);
    if (k != key) continue;
    std::int32_t start = 0;
    ReadI32(record, start);
    std::int64_t end = Size() - 1;  // the final byte of the file belongs to no member
    if (i + 1 < n) {
      std::int32_t next = 0;
      ReadI32(record + kDirectoryRecord, next);
      end = next;
    }
    if (end < start) end = Size();  // a successor pointing lower: the member runs to the very end
    if (start < 0 || start > Size() || end > Size()) return {};
    return {start, end};
  }
  return {};
}

MemberBounds PackageFile::FindMember(std::u16string_view name, bool unicode, const CodePage& ansi) const {
  return FindMember(PackageKey(name, unicode, ansi));
}

std::span<const std::uint8_t> PackageFile::Member(std::u16string_view name, bool unicode,
                                                   const CodePage& ansi) const {
  const MemberBounds m = FindMember(name, unicode, ansi);
  return Bytes(m.Start, m.Length());
}

}  // namespace parlavent
