#pragma once
// What the application core's services ask of the subsystems beside it: the capture side and the
// popup window (app/capture_services.h), speech, and the settings dialog. Each neighbour
// installs its own on Appl; until then a quiet stand-in answers (nothing shown); speech answers
// for itself.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/capture_services.h"
#include "app/settings_dialog.h"
#include "app/view_host.h"
#include "platform/geometry.h"

namespace parlavent {

/// Speech as the link dispatcher, the menu and the clipboard watch use it. These go to the
/// application object's own speech (companions/speech.cpp); a test may install its own.
class SpeechServices {
 public:
  virtual ~SpeechServices() = default;
  /// Appl.SpeakText(t, Appl.Dic, Delay False, 0, 0, 0).
  virtual void SpeakText(std::u16string_view text);
  virtual bool IsSpeaking();
  virtual void ArmAutoSpeak(std::int32_t side);
};

namespace mdlPublic {
/// The layout-switch key recorder (companions/layout_switch.cpp): the main window calls it on each
/// change of the input box and on each tmrPunto tick while Setting.TrlMode > 0.
void CheckLayoutSwitch();
}  // namespace mdlPublic

/// The About window frmAbout (filled from AboutText on load).
class AboutWindow {
 public:
  virtual ~AboutWindow() = default;
  /// Shows the window modeless, with the keyboard focus.
  virtual void Show() {}
  /// Closes the window.
  virtual void Unload() {}
};

}  // namespace parlavent
