#pragma once
// A program folder with a "Dictionaries" folder and a user folder, filled with packages that the
// package builder makes from builder source text (docs of the source: tools/dictool).
#include <filesystem>
#include <string>

#include "support/fake_system.h"

namespace parlavent::testing {

class PackageFolder {
 public:
  PackageFolder();

  /// Builds source into Dictionaries/<file>; ANSI packages use the process's ANSI code page.
  /// Relative "@file" paths are taken from the source folder (see WriteSourceFile).
  void Add(const std::string& file, const std::string& source, bool unicode = true) const;
  /// Writes a file beside the sources, for "@file" members.
  void WriteSourceFile(const std::string& name, std::string_view bytes) const;

  std::filesystem::path Program() const { return dir_.path() / "Program"; }
  std::filesystem::path Dictionaries() const { return Program() / "Dictionaries"; }
  std::filesystem::path User() const { return dir_.path() / "User"; }
  std::filesystem::path Sources() const { return dir_.path() / "src"; }
  std::u16string Text(const std::filesystem::path& path) const;

 private:
  TempDir dir_;
};

/// An "Info" member: the [Main] lines given (one per line, "\n" separated) and further sections.
std::string InfoMember(const std::string& mainLines, const std::string& moreSections = "");

/// The header of an icon file, enough for the pictures loader to accept it.
inline constexpr std::string_view kIconBytes{"\0\0\1\0\1\0\x10\x10\0\0", 10};

}  // namespace parlavent::testing
