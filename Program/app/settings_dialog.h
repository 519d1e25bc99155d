#pragma once
// The settings dialog frmSetting as the application object reaches it. The shell installs the
// Win32 dialog (settings_dialog/win32/settings_form.h) on Appl.frmSetting in wWinMain; tests use
// tests/support/fake_settings_dialog.h. What the dialog shows and saves is SettingsModel
// (settings_dialog/settings_model.h).

namespace parlavent {

class SettingsDialog {
 public:
  virtual ~SettingsDialog() = default;
  /// frmSetting.ReadSetting: the controls take the settings object's values.
  virtual void ReadSetting() = 0;
  /// Shows the dialog modally (topmost or not); returns when it is closed.
  virtual void ShowModal(bool topMost) = 0;
};

}  // namespace parlavent
