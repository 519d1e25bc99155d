#pragma once
// The open package files and the package reader's operations as the engine uses them: member
// keys in the mode of the Unicode flag, members as bytes and text, the folder listing that finds
// packages, and the one byte file. Appl's operations of the same names hand over to these.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

class ByteFileTable;
struct EngineState;

class PackageFiles {
 public:
  /// state gives the Unicode flag; byteFileN and byteFileLen are where the byte file's number and
  /// length are kept (Appl.ByteFileN and Appl.ByteFileLen in the program).
  PackageFiles(EngineState& state, std::int32_t& byteFileN, std::int32_t& byteFileLen);
  ~PackageFiles();
  PackageFiles(const PackageFiles&) = delete;
  PackageFiles& operator=(const PackageFiles&) = delete;

  /// The numbered open files (byte files and open packages, `FileN` of each dictionary).
  ByteFileTable& OpenFiles();
  /// Closes every open file: the byte file and the packages.
  void CloseByteFile();
  // One byte file at a time in ByteFileN/ByteFileLen; false where the system raises an error.
  bool OpenByteFileRead(const std::filesystem::path& path);
  bool OpenByteFileWrite(const std::filesystem::path& path);
  /// l characters of UTF-16 text at character Offset of the byte file.
  std::u16string GetByteTrans(std::int32_t Offset, std::int32_t l);
  bool SetByteTrans(std::int32_t Offset, std::u16string_view strng);
  static std::int32_t FromByte(const std::vector<std::uint8_t>& b);
  static std::vector<std::uint8_t> ToByte(std::int32_t l);

  // Member names are hashed and text decoded in the mode of the Unicode flag; a missing or
  // malformed package gives the empty result.
  double GetHash(std::u16string_view StrIn) const;
  /// The bounds of a member of the package open under FileN; 0 and 0 when there is none.
  void GetFileBounds(std::int32_t FileN, std::u16string_view ExtractedFileTitle, std::int32_t& RetSB,
                     std::int32_t& RetEB);
  std::vector<std::uint8_t> ExtractBytes(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle);
  /// Without OutPath the member as text; with it, the member's bytes written there and "".
  std::u16string ExtractFile(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle,
                             const std::filesystem::path& OutPath = {});
  /// The whole file's bytes.
  std::vector<std::uint8_t> GetBinaryFile(const std::filesystem::path& File);
  /// The files of Folder whose names match Filter (case-blind); none for an empty Filter.
  std::vector<std::filesystem::path> GetFiles(const std::filesystem::path& Folder, std::u16string_view Filter = {});
  /// The state whose Unicode flag the operations read (and the loaders set).
  EngineState& State() { return state_; }

 private:
  EngineState& state_;
  std::int32_t& byteFileN_;
  std::int32_t& byteFileLen_;
  std::unique_ptr<ByteFileTable> table_;  // created on first use
};

}  // namespace parlavent
