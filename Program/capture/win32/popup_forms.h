#pragma once
// The capture side's two small windows: frmTT, the popup translation beside the pointer (a
// borderless topmost window with its own rich-text box and link layer), and frmToolTip, the hint
// of a link the pointer rests on. Neither takes the focus from the program the user works in.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "capture/popup_place.h"
#include "foundation/api_input.h"
#include "platform/win32/window_base.h"

namespace parlavent {

class RichEditBox;
class clsLink;

/// The shadow a popup casts to its right and below: the screen there, darkened towards the
/// popup's edge and faded out at its ends, in a window of its own under the popup that takes no
/// click. It follows the settings' ShowPctShow ("Main"/"spsh"); where the screen cannot be read
/// the popup switches it off and stores that.
class DropShadow final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventShadow";
  static constexpr int kDepth = 6;  // pixels the shadow reaches past the popup
  ~DropShadow() override;
  /// Casts the shadow of popup standing at r (screen pixels); call before the popup shows there.
  void Cast(HWND popup, const RECT& r);
  /// Puts the shadow right under the popup once the popup shows.
  void Under(HWND popup);
  void Hide();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HBITMAP bits_ = nullptr;
  SIZE size_{};
};

class frmTT final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventPopup";
  frmTT();
  ~frmTT() override;

  /// Shows the rendered markup beside the pointer (or beside at), or at the last place with samePos.
  void ShowMarkup(std::u16string_view markup, bool samePos, std::optional<POINT> at = std::nullopt);
  void Hide();
  bool Visible() const { return hwnd() && IsWindowVisible(hwnd()); }
  /// frmTT.rText's pointer: 11 hourglass, anything else the arrow.
  void SetPointer(int pointer) { waitPointer_ = pointer == 11; }
  RichEditBox* rText() { return rText_.get(); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Load();
  SIZE Measure(const std::u16string& plain);
  void OnCloseTimer();
  /// Fades the window in (from transparent) or out (then hides it) with the settings' Aero;
  /// without it the window shows and hides at once.
  void StartFade(bool in);
  void OnFadeTimer();
  void PaintBorder();

  std::shared_ptr<RichEditBox> rText_;
  std::shared_ptr<clsLink> links_;
  HFONT font_ = nullptr;
  long requestedHeight_ = 0;
  std::optional<POINT> lastTopLeft_;
  PopupCloseRule closeRule_;
  API::KeyPoll keys_;  // Esc and the buttons, as the close timer reads them
  bool waitPointer_ = false;
  bool pluginWindow_ = false;  // the skin plug-in made the window
  DropShadow shadow_;
  int alpha_ = 255;
  bool fadingIn_ = true;
};

class frmToolTip final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"ParlaventLinkHint";
  ~frmToolTip() override;
  void ShowHint(std::u16string_view text);
  /// Stops the hint's timer and hides the window.
  void CloseMe();
  bool Visible() const { return hwnd() && IsWindowVisible(hwnd()); }
  std::u16string Text() const { return text_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  /// Whether a window now lies over the place the hint tells of, or a window of the program
  /// over the one the hint was shown for lies under the hint's rectangle.
  bool Covered(const RECT& hint) const;

  std::u16string text_;
  POINT shownAt_{};
  HWND shownOver_ = nullptr;  // the window under the pointer when the hint came
  DWORD shownTick_ = 0;
  HFONT font_ = nullptr;
  DropShadow shadow_;
};

}  // namespace parlavent
