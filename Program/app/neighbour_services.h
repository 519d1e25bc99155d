#pragma once
// What the application core's services ask of the subsystems beside it: the capture side and the
// popup window, speech, and the settings dialog. Each neighbour installs its own on Appl; until
// then a quiet stand-in answers (nothing shown, no clipboard text); speech answers for itself.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/view_host.h"
#include "platform/geometry.h"

namespace parlavent {

/// The text-capture subsystem: the popup translation, the link hint window, the pending-copy
/// indicator, the clipboard object and keystrokes into other programs.
class CaptureServices {
 public:
  virtual ~CaptureServices() = default;
  /// ShowTrans with OnForm False: the look-up shown in the popup window frmTT.
  virtual void ShowPopupTrans(std::u16string_view text, const ShowTransArgs& args) {}
  /// frmToolTip.CloseMe.
  virtual void CloseToolTip() {}
  /// Appl.ShowCopyCursor.
  virtual void ShowCopyCursor(std::u16string_view text) {}
  /// gClipBoard.GetCurrentFormats(owner, format) = 1.
  virtual bool ClipboardHasFormat(WindowHandle owner, std::uint32_t format) { return false; }
  /// Brings window to the foreground, lets pending events run and sends it Shift+Insert.
  virtual void PasteInto(WindowHandle window) {}
  /// The pointer of the popup's text box frmTT.rText (11 hourglass, 1 arrow).
  virtual void SetPopupPointer(int pointer) {}
  /// Appl.getWordX.
  virtual double getWordX(std::u16string_view word) { return 0; }
};

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
};

}  // namespace parlavent
