#include "app/main_tray_icon.h"

#include "app/application.h"
#include "app/main_form.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/tray.h"

namespace parlavent {

void RefreshTrayIcon(MainForm& form, std::uint32_t callbackMessage, std::uintptr_t icon,
                     const std::optional<std::u16string>& tip) {
  if (!G().gSetting || !G().gSetting->SysTray) return;
  if (!form.ApplIconLoaded) {
    form.ApplIconLoaded = true;
    Tray().Add(form.TrayOwner(), kMainTrayIcon, callbackMessage, icon);
  }
  Tray().Modify(form.TrayOwner(), kMainTrayIcon, icon, tip);
}

void DeleteMainTrayIcon(MainForm& form) { Tray().Delete(form.TrayOwner(), kMainTrayIcon); }

std::u16string ModeTrayTip() {
  const bool autoOn = G().gSetting && G().gSetting->AutoOn;
  return gAppl().LZ(autoOn ? lang::kTrayTipAuto : lang::kTrayTipManual);
}

}  // namespace parlavent
