#include "settings_dialog/file_info.h"

#include "foundation/api_files.h"
#include "foundation/api_system.h"
#include "text/text.h"

namespace parlavent {

aviDictFile::aviDictFile(std::u16string_view path) : Path(Trim(path)) {
  Exists = !Path.empty() && API::FileExists(Path);
  if (Exists) API::GetFileVersionStrings(Path, Version);
}

std::u16string aviDictFile::DisplayName() const {
  if (!Trim(Version.FileDescription).empty()) return Trim(Version.FileDescription);
  if (!Trim(Version.ProductName).empty()) return Trim(Version.ProductName);
  return API::GetFileName(Path);
}

std::u16string aviDictFile::Details() const {
  std::u16string text = Path;
  if (!Exists) return text;
  bool first = true;
  for (const std::u16string* part : {&Version.FileDescription, &Version.FileVersion, &Version.CompanyName}) {
    const std::u16string item = Trim(*part);
    if (item.empty()) continue;
    text += first ? u" \u2014 " : u", ";
    text += item;
    first = false;
  }
  return text;
}

}  // namespace parlavent
