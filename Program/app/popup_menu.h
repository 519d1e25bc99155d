#pragma once
// The state of the main popup menu mnuMain for one opening: the window applies it and pops the
// menu up (ViewHost::PopupMainMenu).
#include <optional>
#include <string>

namespace parlavent {

struct MainMenuState {
  bool OnForm = false;              // from the toolbar's "Menu" button; else from the tray
  std::u16string ShowCaption;       // mnuShow
  bool ShowVisible = false;         // mnuShow (the default item when opened from the tray)
  bool HideVisible = false;         // mnuHide
  // mnuDics from index 1 on and mnusep4; nullopt leaves them as they are.
  std::optional<bool> DicItemsVisible;
  bool TLChecked = false;           // mnuTL
  bool TLEnabled = false;
  bool TransClipEnabled = false;    // mnuTransClip
  bool LearnEnabled = false;        // mnuLearn
  bool KeybEnabled = false;         // mnuKeyb
  bool SpeakClipEnabled = false;    // mnuSpeakClip
  std::u16string SpeakClipCaption;
};

}  // namespace parlavent
