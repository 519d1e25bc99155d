#include "platform/settings_store.h"

#include "platform/service_slot.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {

MemorySettingsStore::Key MemorySettingsStore::MakeStoreKey(std::u16string_view app, std::u16string_view section,
                                                           std::u16string_view name) {
  return {LCase(app), LCase(section), LCase(name)};
}

bool MemorySettingsStore::Read(std::u16string_view app, std::u16string_view section, std::u16string_view name,
                               std::u16string& value) {
  const auto it = values_.find(MakeStoreKey(app, section, name));
  if (it == values_.end()) return false;
  value = it->second;
  return true;
}

bool MemorySettingsStore::Write(std::u16string_view app, std::u16string_view section, std::u16string_view name,
                                std::u16string_view value) {
  // The registry refuses a value without a key to put it in.
  if (app.empty() || section.empty()) return false;
  values_[MakeStoreKey(app, section, name)] = std::u16string(value);
  return true;
}

SettingsStore& UserSettings() { return *ServiceSlot<SettingsStore, MemorySettingsStore>(); }

void SetUserSettings(std::shared_ptr<SettingsStore> store) {
  InstallService<SettingsStore, MemorySettingsStore>(std::move(store));
}

std::u16string GetSetting(std::u16string_view section, std::u16string_view name, std::u16string_view defaultValue) {
  std::u16string value;
  if (UserSettings().Read(System().ExeName(), section, name, value)) return value;
  return std::u16string(defaultValue);
}

bool SaveSetting(std::u16string_view section, std::u16string_view name, std::u16string_view value) {
  return UserSettings().Write(System().ExeName(), section, name, value);
}

}  // namespace parlavent
