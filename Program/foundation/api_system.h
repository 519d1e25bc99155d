#pragma once
// The API module's registry access, operating-system facts, sounds and shell opening, over the
// platform's system, registry and shell services.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_info.h"

namespace parlavent::API {

/// Stores a string value (REG_EXPAND_SZ when expand, else REG_SZ), creating the key as needed.
void RegWriteString(RegistryRoot rootKey, std::u16string_view subKey, std::u16string_view valueName,
                    std::u16string_view value, bool expand = false);
/// A string value, unexpanded; defaultValue for a missing key or value or another type.
std::u16string RegReadString(RegistryRoot rootKey, std::u16string_view subKey, std::u16string_view valueName,
                             std::u16string_view defaultValue = {});

/// Sets gWinVer = major * 100 + minor of the running Windows.
void InitWindowsVersion();
bool IsWinNT();
/// The program's "major.minor.revision".
std::u16string GetAppVersion();
/// The eight strings of a file's version resource: 1 when all were found, else 2.
int GetFileVersionStrings(std::u16string_view path, FileVersionRecord& record);
/// Fills gFontNames with the installed fonts and returns them.
std::vector<std::u16string> GetFontList(std::uintptr_t deviceContext);
/// Plays a sound event of the sound scheme; nothing when it has no sound.
void PlaySoundAlias(std::u16string_view name);

/// Opens a document with its program. "" on success; otherwise the message shown to the user.
std::u16string ShellOpen(std::u16string_view file);

}  // namespace parlavent::API
