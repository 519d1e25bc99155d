#pragma once
// A top-level or child window owned by a C++ object. The one window procedure finds the object
// stored at WM_NCCREATE and routes every message to its OnMessage; no exception reaches Windows.
#include <windows.h>

#include <string>

namespace parlavent {

class WindowBase {
 public:
  struct CreateArgs {
    const wchar_t* className = nullptr;  // registered on first use with this object's procedure
    std::u16string title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HICON icon = nullptr;                // large and small class icon
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  };

  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  bool Create(const CreateArgs& args);
  HWND hwnd() const { return hwnd_; }

 protected:
  /// Handles a message; the default passes it to DefWindowProc.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

}  // namespace parlavent
