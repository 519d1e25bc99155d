#pragma once
// The main window's tray icon: added once when the settings want one, then refreshed with the
// picture and tip of the current mode.
#include <cstdint>
#include <optional>
#include <string>

namespace parlavent {

class MainForm;

/// When Setting.SysTray is on: adds the icon unless form.ApplIconLoaded, then sets its picture
/// and, when given, its tip. Nothing when SysTray is off.
void RefreshTrayIcon(MainForm& form, std::uint32_t callbackMessage, std::uintptr_t icon,
                     const std::optional<std::u16string>& tip);
/// Removes the main tray icon.
void DeleteMainTrayIcon(MainForm& form);
/// The tray tip of the current mode (automatic or manual).
std::u16string ModeTrayTip();

}  // namespace parlavent
