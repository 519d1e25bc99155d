#pragma once
// frmAbout: the program's About window, with the filled About text, the help and web-site
// links and an OK button.
#include <windows.h>

#include <functional>
#include <memory>

#include "app/link_layer.h"
#include "app/neighbour_services.h"
#include "platform/win32/rich_edit_box.h"
#include "platform/win32/window_base.h"

namespace parlavent {

class frmAbout final : public WindowBase, public AboutWindow {
 public:
  explicit frmAbout(HINSTANCE instance) : instance_(instance) {}
  ~frmAbout() override;
  /// Makes the window and fills it (the form's load); false when the window cannot be made.
  bool Load();
  void Show() override;
  void Unload() override;
  /// Takes the keys the window handles itself (Esc closes it) before they are dispatched.
  bool PreTranslate(MSG& msg);
  /// The logo shown: 1 for interface language 1, else 0.
  int Logo() const { return logo_; }
  RichEditBox* txtDic() const { return txtDic_.get(); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HINSTANCE instance_;
  std::shared_ptr<RichEditBox> txtDic_;
  clsLink links_;
  HWND picture1_ = nullptr;
  HWND lblHelp_ = nullptr;
  HWND lblSite_ = nullptr;
  HWND cmdOK_ = nullptr;
  HICON logos_[2] = {};
  int logo_ = 0;
};

/// Appl.LoadAbout for the shell: one About window, made again after it was closed.
std::function<std::shared_ptr<AboutWindow>()> MakeWin32AboutLoader(HINSTANCE instance);
/// For the message loop: true when the About window loaded last took msg.
bool AboutPreTranslate(MSG& msg);

}  // namespace parlavent
