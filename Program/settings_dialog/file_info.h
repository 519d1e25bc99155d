#pragma once
// aviDictFile: what the per-application list of the settings dialog shows of a program file:
// whether it is there, and the details of its version resource. The dialog takes the program's
// icon from the same file.
#include <string>
#include <string_view>

#include "platform/system_info.h"

namespace parlavent {

class aviDictFile {
 public:
  /// Reads the file's facts; a missing or unreadable file leaves them empty.
  explicit aviDictFile(std::u16string_view path);

  std::u16string Path;
  bool Exists = false;
  FileVersionRecord Version;

  /// The program's name as its file describes it: the description, else the product name,
  /// else the file name.
  std::u16string DisplayName() const;
  /// One line of details for the list: path, then description, version and company where the
  /// file has them.
  std::u16string Details() const;
};

}  // namespace parlavent
