#pragma once
// The per-user settings store in the registry, where the runtime's GetSetting and SaveSetting
// keep it, so that values written by earlier installations and by outside programs are found:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, string values.
#include "platform/settings_store.h"

namespace parlavent {

class RegistrySettingsStore final : public SettingsStore {
 public:
  static constexpr std::u16string_view kRoot = u"Software\\VB and VBA Program Settings";

  bool Read(std::u16string_view app, std::u16string_view section, std::u16string_view name,
            std::u16string& value) override;
  bool Write(std::u16string_view app, std::u16string_view section, std::u16string_view name,
             std::u16string_view value) override;
};

}  // namespace parlavent
