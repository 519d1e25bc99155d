// HtmlHelpW from hhctrl.ocx, found at run time: a system without the HTML Help control simply
// shows no help.
#include <windows.h>

#include "platform/help_viewer.h"
#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

using HtmlHelpWProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr UINT kHhDisplayTopic = 0;

class Win32HelpViewer final : public HelpViewer {
 public:
  void DisplayTopic(WindowHandle owner, std::u16string_view file, std::u16string_view topic) override {
    HtmlHelpWProc proc = Proc();
    if (!proc) return;
    const std::u16string path(file);
    const std::u16string data(topic);
    proc(ToHwnd(owner), Wide(path), kHhDisplayTopic,
         data.empty() ? 0 : reinterpret_cast<DWORD_PTR>(Wide(data)));
  }

 private:
  HtmlHelpWProc Proc() {
    if (!tried_) {
      tried_ = true;
      // The control stays loaded for the rest of the run: its windows may outlive the call.
      if (HMODULE module = LoadLibraryW(L"hhctrl.ocx")) {
        proc_ = reinterpret_cast<HtmlHelpWProc>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpW")));
      }
    }
    return proc_;
  }
  bool tried_ = false;
  HtmlHelpWProc proc_ = nullptr;
};

}  // namespace

std::shared_ptr<HelpViewer> MakeWin32HelpViewer() { return std::make_shared<Win32HelpViewer>(); }

}  // namespace parlavent
