#pragma once
// The small indicator windows: frmCopy beside the pointer when text goes to the clipboard,
// frmBusy following the pointer while a look-up runs, and frmProgress for long scans. The copy
// and busy indicators are borderless pictures whose red pixels are transparent; neither takes
// the focus.
#include <windows.h>

#include "app/indicator_windows.h"
#include "app/main_form.h"
#include "platform/win32/window_base.h"

namespace parlavent {

/// A borderless topmost picture with a 20 ms timer; red (255) is its transparent colour.
class IndicatorPicture : public WindowBase {
 public:
  static constexpr COLORREF kTransparentKey = RGB(255, 0, 0);
  static constexpr UINT_PTR kTimer1 = 1;

 protected:
  bool LoadPicture(const wchar_t* className, int width, int height);
  void StartTimer1() { SetTimer(hwnd(), kTimer1, 20, nullptr); }
  void StopTimer1() { KillTimer(hwnd(), kTimer1); }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void Paint(HDC dc, const RECT& r) = 0;
  virtual void OnTimer1() = 0;
};

class frmCopy final : public IndicatorPicture, public CopyIndicator {
 public:
  bool Form_Load() { return LoadPicture(L"ParlaventCopyIndicator", 16, 16); }
  void ShowCursor() override;
  void Unload() override { StopTimer1(); DestroyWindow(hwnd()); }

 private:
  void Paint(HDC dc, const RECT& r) override;
  void OnTimer1() override;
  CopyIndicatorLogic logic_;
};

class frmBusy final : public IndicatorPicture, public BusyIndicator {
 public:
  bool Form_Load() { return LoadPicture(L"ParlaventBusyIndicator", 8, 10); }
  void Start() override;
  void stopme() override;
  void Unload() override { StopTimer1(); DestroyWindow(hwnd()); }

 private:
  void makeshow();
  void Paint(HDC dc, const RECT& r) override;
  void OnTimer1() override;
  BusyIndicatorLogic logic_;
};

class frmProgress final : public WindowBase, public ProgressForm {
 public:
  static constexpr int kCancelId = 1;
  bool Form_Load();
  void SetCaption(std::u16string_view text) override;
  void SetText(std::u16string_view text) override;
  void SetVal(double a, double b, double c) override;
  void Show() override;
  void Refresh() override { UpdateWindow(hwnd()); }
  void Unload() override { DestroyWindow(hwnd()); }
  HWND lblText() const { return label_; }
  HWND PB() const { return bar_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ProgressLogic logic_;
  HWND label_ = nullptr;
  HWND bar_ = nullptr;
  HWND cancel_ = nullptr;
};

}  // namespace parlavent
