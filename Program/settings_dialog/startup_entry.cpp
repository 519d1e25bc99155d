#include "settings_dialog/startup_entry.h"

#include "foundation/api_files.h"
#include "platform/system_info.h"

namespace parlavent {

std::u16string StartupCommand() {
  return u"\"" + API::JoinPath(System().ProgramFolder(), System().ExeName() + u".exe") + u"\" /h";
}

bool StartupEntryExists() {
  std::u16string command;
  return SystemRegistry().ReadString(kHkeyCurrentUser, kRunKey, System().ExeName(), command) && !command.empty();
}

bool SetStartupEntry(bool on) {
  if (on) return SystemRegistry().WriteString(kHkeyCurrentUser, kRunKey, System().ExeName(), StartupCommand(), false);
  return SystemRegistry().DeleteValue(kHkeyCurrentUser, kRunKey, System().ExeName());
}

}  // namespace parlavent
