#pragma once
// What the application core's services ask of the subsystems beside it: the capture side and the
// popup window (capture/capture_services.h), speech, and the settings dialog. Each neighbour
// installs its own on Appl; until then a quiet stand-in answers (nothing shown, nothing spoken).
#include <cstdint>
#include <string>
#include <string_view>

#include "app/view_host.h"
#include "capture/capture_services.h"
#include "platform/geometry.h"

namespace parlavent {

/// Speech and statistics as the link dispatcher, the menu and the clipboard watch use them.
class SpeechServices {
 public:
  virtual ~SpeechServices() = default;
  /// Appl.SpeakText(t, Appl.Dic, Delay False, 0, 0, 0).
  virtual void SpeakText(std::u16string_view text) {}
  virtual bool IsSpeaking() { return false; }
  virtual void ArmAutoSpeak(std::int32_t side) {}
};

/// The settings dialog frmSetting.
class SettingsDialog {
 public:
  virtual ~SettingsDialog() = default;
  /// frmSetting.ReadSetting: the controls take the settings object's values.
  virtual void ReadSetting() {}
  /// Shows the dialog modally (topmost or not); returns when it is closed.
  virtual void ShowModal(bool topMost) {}
};

/// The About window frmAbout (filled from AboutText on load).
class AboutWindow {
 public:
  virtual ~AboutWindow() = default;
  /// Shows the window modeless; topMost without activating it.
  virtual void Show(bool topMost) {}
  /// Closes the window.
  virtual void Unload() {}
};

}  // namespace parlavent
