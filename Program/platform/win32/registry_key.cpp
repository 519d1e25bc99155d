#include "platform/win32/registry_key.h"

#include <algorithm>
#include <vector>

#include "platform/win32/win32_services.h"

namespace parlavent {

bool RegistryKey::Open(HKEY root, const std::u16string& subKey) {
  Close();
  return RegOpenKeyExW(root, Wide(subKey), 0, KEY_READ, &key_) == ERROR_SUCCESS;
}

bool RegistryKey::Create(HKEY root, const std::u16string& subKey) {
  Close();
  return RegCreateKeyExW(root, Wide(subKey), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) ==
         ERROR_SUCCESS;
}

void RegistryKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool RegistryKey::ReadString(const std::u16string& name, std::u16string& value) const {
  if (!key_) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // Room for the data and one more character, so that an odd byte count stays inside the buffer.
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = size;
  if (RegQueryValueExW(key_, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
      ERROR_SUCCESS) {
    return false;
  }
  // Data stored without its NUL still reads as its text, as the wide registry functions give it.
  const std::size_t chars = std::min<std::size_t>(got, size) / sizeof(wchar_t);
  const std::wstring_view data(buffer.data(), chars);
  value = FromWide(data.substr(0, data.find(L'\0')));
  return true;
}

bool RegistryKey::WriteString(const std::u16string& name, std::u16string_view value, bool expand) const {
  if (!key_) return false;
  const std::u16string data(value);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(char16_t));
  return RegSetValueExW(key_, Wide(name), 0, expand ? REG_EXPAND_SZ : REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace parlavent
