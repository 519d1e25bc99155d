#pragma once
// The dictionary package container: a count byte, a directory of (offset, key) records and the
// members' bytes. The reader is the one component that reads untrusted binary files, so every
// offset and length it takes from a file is checked against the file's size before use; a package
// that lies gives empty members, never a read out of bounds. Layout: docs/package-format.md.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace parlavent {

class CodePage;
class FileView;

/// CRC-32 as zlib computes it (reflected polynomial 0xEDB88320, initial value and final XOR
/// 0xFFFFFFFF).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

/// Member (and word) key of a name in a package's text mode: 0 for the empty name, otherwise the
/// CRC-32 of the lower-cased name, taken as a signed number, plus 3,000,000,000. ansi is the code
/// page of an ANSI package (and turns the Unicode form's digits into bytes).
double PackageKey(std::u16string_view name, bool unicode, const CodePage& ansi);

/// The member in which dictool records the length of the whole package (a little-endian i32), so that
/// the loader can tell a copy cut short from a whole one. Readers that do not know it never ask.
inline constexpr std::u16string_view kFileLengthMember = u"FileLength";

/// Bytes [Start, End) of one member. A member with End <= Start is empty.
struct MemberBounds {
  std::int64_t Start = 0;
  std::int64_t End = 0;
  bool Empty() const { return End <= Start; }
  std::int64_t Length() const { return Empty() ? 0 : End - Start; }
};

/// UTF-16LE bytes as text, unchanged; a trailing odd byte is dropped.
std::u16string DecodeUtf16Le(std::span<const std::uint8_t> bytes);

/// Text of a member's bytes: UTF-16LE with a leading FF FE mark dropped (Unicode package), or
/// the code page's text (ANSI package). A trailing odd byte of UTF-16 text is dropped.
std::u16string DecodePackageText(std::span<const std::uint8_t> bytes, bool unicode, const CodePage& ansi);

/// One package opened read-only and read in place. Copies share the open file.
class PackageFile {
 public:
  /// A closed package: every read fails, every look-up gives an empty member.
  PackageFile() = default;
  /// Maps the file; closed when it cannot be opened.
  static PackageFile Open(const std::filesystem::path& path);
  /// Reads bytes the caller keeps alive (tests and the fuzz target).
  static PackageFile FromMemory(std::span<const std::uint8_t> bytes);

  bool IsOpen() const { return open_; }
  std::int64_t Size() const { return static_cast<std::int64_t>(bytes_.size()); }

  /// [offset, offset + length) when it lies inside the file, else an empty span.
  std::span<const std::uint8_t> Bytes(std::int64_t offset, std::int64_t length) const;
  /// Little-endian reads; false (out untouched) when the value does not lie inside the file.
  bool ReadI32(std::int64_t offset, std::int32_t& out) const;
  bool ReadU16(std::int64_t offset, std::uint16_t& out) const;
  bool ReadU8(std::int64_t offset, std::uint8_t& out) const;
  bool ReadF64(std::int64_t offset, double& out) const;

  /// Number of directory records; 0 when the directory does not fit in the file.
  int MemberCount() const;
  /// The directory fits and every member starts inside the file, in front of its final byte: false
  /// for an empty file and for one cut short (a copy that was interrupted). A member that starts at
  /// the final byte has nothing left of it, and a writer's last member is never empty.
  bool Whole() const;
  /// Bounds of the first member whose key equals key exactly; {0, 0} when there is none or
  /// when its bounds do not lie inside the file.
  MemberBounds FindMember(double key) const;
  MemberBounds FindMember(std::u16string_view name, bool unicode, const CodePage& ansi) const;
  /// The member's bytes (empty when missing, empty or out of bounds).
  std::span<const std::uint8_t> Member(std::u16string_view name, bool unicode, const CodePage& ansi) const;

 private:
  std::shared_ptr<const FileView> view_;
  std::span<const std::uint8_t> bytes_;
  bool open_ = false;
};

}  // namespace parlavent
