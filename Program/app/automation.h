#pragma once
// What the automation server decides without the system: the command-line switches that register
// and remove it, and the registry entries (for the machine or for the user) that let clients find
// the running program by its ProgID. The COM glue that acts on them lives in app/win32/automation_server.*.
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

inline constexpr std::u16string_view kApplProgId = u"Parlavent.Appl";
/// Where classes live, below HKEY_LOCAL_MACHINE for every user or below HKEY_CURRENT_USER for one.
inline constexpr std::u16string_view kClassesKey = u"Software\\Classes";

enum class AutomationSwitch {
  None,        // an ordinary start
  RegServer,   // "/regserver": write the registration and end
  UnregServer, // "/unregserver": remove it and end
  Embedding,   // started by COM for a client: an ordinary start, the client then attaches
};

/// The first automation switch among the arguments of commandLine ("/" or "-", any case); None
/// when there is none. A switch inside a quoted argument (the program's own path) does not count.
AutomationSwitch ParseAutomationSwitch(std::u16string_view commandLine);

/// One string value to write below the registration's root; valueName "" is the key's default value.
struct RegistryEntry {
  std::u16string key;
  std::u16string valueName;
  std::u16string value;
};

/// The values that register the application object: the ProgID with its
/// class id, and the class id with the program to start ("LocalServer32"), its ProgID and its type
/// library. Ids are in registry form ("{...}"); exePath is the program's full path.
std::vector<RegistryEntry> AutomationRegistryEntries(std::u16string_view exePath, std::u16string_view clsid,
                                                     std::u16string_view libid);
/// The keys below the registration's root that removal deletes with everything under them.
std::vector<std::u16string> AutomationRegistryKeys(std::u16string_view clsid);

}  // namespace parlavent
