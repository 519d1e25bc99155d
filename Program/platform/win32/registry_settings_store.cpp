#include "platform/win32/registry_settings_store.h"

#include "platform/win32/registry_key.h"

namespace parlavent {
namespace {

std::u16string SectionKey(std::u16string_view app, std::u16string_view section) {
  return std::u16string(RegistrySettingsStore::kRoot) + u"\\" + std::u16string(app) + u"\\" + std::u16string(section);
}

}  // namespace

bool RegistrySettingsStore::Read(std::u16string_view app, std::u16string_view section, std::u16string_view name,
                                 std::u16string& value) {
  RegistryKey key;
  return key.Open(HKEY_CURRENT_USER, SectionKey(app, section)) && key.ReadString(std::u16string(name), value);
}

bool RegistrySettingsStore::Write(std::u16string_view app, std::u16string_view section, std::u16string_view name,
                                  std::u16string_view value) {
  if (app.empty() || section.empty()) return false;
  RegistryKey key;
  return key.Create(HKEY_CURRENT_USER, SectionKey(app, section)) &&
         key.WriteString(std::u16string(name), value, false);
}

}  // namespace parlavent
