#pragma once
// One open registry key with one owner, and the string-value reads and writes the program makes.
#include <windows.h>

#include <string>
#include <string_view>

namespace parlavent {

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { Close(); }

  /// Opens an existing key for reading.
  bool Open(HKEY root, const std::u16string& subKey);
  /// Opens the key for writing, creating it and its parents as needed.
  bool Create(HKEY root, const std::u16string& subKey);
  void Close();

  /// A REG_SZ or REG_EXPAND_SZ value cut at its first NUL; false for a missing value or another type.
  bool ReadString(const std::u16string& name, std::u16string& value) const;
  /// Stores the text with its terminating NUL.
  bool WriteString(const std::u16string& name, std::u16string_view value, bool expand) const;

 private:
  HKEY key_ = nullptr;
};

}  // namespace parlavent
