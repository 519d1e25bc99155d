#pragma once
// frmSetting: the settings dialog as a modal Win32 window with one tab per page. Its controls are
// made from the model's list (settings_dialog/settings_model.h): control i of the model has the
// id kFirstControlId + i and its caption, when apart, kFirstLabelId + i; the per-application list
// is the list view kIdWhiteList.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/settings_dialog.h"
#include "platform/win32/window_base.h"
#include "settings_dialog/settings_model.h"

namespace parlavent {

class Appl;

class frmSetting final : public WindowBase, public SettingsDialog {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventSettings";
  enum : int {
    kIdTabs = 100,
    kIdHelp = 101,
    kIdWhiteList = 102,
    kIdDetails = 103,
    kFirstControlId = 1000,
    kFirstLabelId = 5000
  };

  frmSetting(HINSTANCE instance, Appl& app);
  ~frmSetting() override;

  /// Makes the window afresh (its texts in the current language) and gives every control the
  /// settings object's value.
  void ReadSetting() override;
  /// Shows the window modally above the main window and returns when it is closed.
  void ShowModal(bool topMost) override;

  /// The page shown.
  SettingPage Page() const { return page_; }
  void ShowPage(SettingPage page);
  SettingsModel& Model() { return model_; }
  /// The program icons of the per-application list; the dialog owns them across its openings.
  HIMAGELIST Icons() const { return icons_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Slot {
    HWND control = nullptr;
    HWND label = nullptr;
    HWND upDown = nullptr;
  };

  void CreateControls();
  int CreateControl(std::size_t i, int x, int y, int width);
  void FillWhiteList(int x, int y, int width, int height);
  /// The image of a program's icon in icons_, read on first use and kept; -1 for none.
  int ProgramIcon(const std::u16string& exePath);
  int GenericProgramIcon();
  void ShowValue(std::size_t i);
  void ReadControl(std::size_t i);
  void RefreshShownValues(std::size_t except);
  void OnCommand(int id, int code, HWND control);
  void ChooseColour(std::size_t i);
  void ChooseFontFor(std::size_t i);
  void cmdOK_Click();
  void Close();

  HINSTANCE instance_;
  Appl& app_;
  SettingsModel model_;
  HWND tabs_ = nullptr;
  HWND list_ = nullptr;
  HWND details_ = nullptr;  // the chosen program's file details
  HIMAGELIST icons_ = nullptr;
  std::unordered_map<std::u16string, int> iconOf_;  // image in icons_ by program path
  int genericIcon_ = -2;                            // a program's that is gone; -2 before it is read
  HFONT font_ = nullptr;
  std::vector<Slot> slots_;
  std::vector<ControlValue> shown_;  // what each control shows, so that only changes are written
  SettingPage page_ = SettingPage::General;
  bool open_ = false;
  bool updating_ = false;   // the dialog itself is writing a control
  bool capturing_ = false;  // the hot-key box has the focus
};

/// The dialog that wWinMain installs on Appl.frmSetting.
std::shared_ptr<SettingsDialog> MakeWin32SettingsDialog(HINSTANCE instance, Appl& app);

}  // namespace parlavent
