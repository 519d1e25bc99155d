#pragma once
// "Start Parlavent with Windows": the per-user start-up entry, a value named after the program
// under HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run that starts it hidden
// ("/h"), as Windows programs register themselves.
#include <string>

namespace parlavent {

inline constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

/// The command the entry holds: the program file, quoted, and "/h".
std::u16string StartupCommand();
/// Whether the entry is there (whatever program file it names).
bool StartupEntryExists();
/// Writes the entry (on) or removes it; false when the registry refused.
bool SetStartupEntry(bool on);

}  // namespace parlavent
