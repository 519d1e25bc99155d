#pragma once
// The per-user settings store: text values addressed by application name, section and value name
// (the runtime's GetSetting / SaveSetting). On Windows it is the registry under the current user;
// natively, and in tests, an in-memory store stands in.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

namespace parlavent {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  /// The value stored under app/section/name; false (value untouched) when there is none.
  virtual bool Read(std::u16string_view app, std::u16string_view section, std::u16string_view name,
                    std::u16string& value) = 0;
  /// Stores the value, creating the application and section as needed; false when refused.
  virtual bool Write(std::u16string_view app, std::u16string_view section, std::u16string_view name,
                     std::u16string_view value) = 0;
};

/// Values in memory; names are matched case-blind, as the registry matches them.
class MemorySettingsStore : public SettingsStore {
 public:
  bool Read(std::u16string_view app, std::u16string_view section, std::u16string_view name,
            std::u16string& value) override;
  bool Write(std::u16string_view app, std::u16string_view section, std::u16string_view name,
             std::u16string_view value) override;
  /// Number of values held (for tests).
  std::size_t Size() const { return values_.size(); }

 private:
  using Key = std::tuple<std::u16string, std::u16string, std::u16string>;
  static Key MakeStoreKey(std::u16string_view app, std::u16string_view section, std::u16string_view name);
  std::map<Key, std::u16string> values_;
};

SettingsStore& UserSettings();
/// Installs a store (nullptr restores a fresh in-memory one).
void SetUserSettings(std::shared_ptr<SettingsStore> store);

/// The program's own values: the application name is the program file's base name.
std::u16string GetSetting(std::u16string_view section, std::u16string_view name, std::u16string_view defaultValue = {});
bool SaveSetting(std::u16string_view section, std::u16string_view name, std::u16string_view value);

}  // namespace parlavent
