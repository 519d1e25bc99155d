// Appl.ShowMenu: the main popup menu prepared for where it is opened and for the current state.
#include "app/popup_menu.h"

#include "app/application.h"
#include "app/neighbour_services.h"
#include "foundation/hot_keys.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"

namespace parlavent {

void Appl::ShowMenu(bool OnForm) {
  MainMenuState m;
  m.OnForm = OnForm;
  const Setting* sett = Sett.get();
  m.ShowCaption = LZ(lang::kMenuShow) + u" (" +
                  (sett ? mdlPublic::GetHotKeyText(sett->HotKeyCode, sett->HotKeyShift, sett->HotKeyDouble)
                        : std::u16string()) +
                  u")";
  // With several dictionaries the toolbar shows their buttons; the tray menu lists them instead.
  if (State.gDicButtonCount > 1) m.DicItemsVisible = !OnForm;
  m.ShowVisible = !OnForm;
  m.HideVisible = OnForm;
  m.TLChecked = sett && sett->TrlMode == 2;
  const auto dictionaries = ColDics.Count();
  m.TLEnabled = dictionaries >= 1;
  m.TransClipEnabled = dictionaries > 0 && IsTextInClip;
  m.LearnEnabled = dictionaries >= 1;
  m.KeybEnabled = dictionaries >= 1;
  if (SpeechSide().IsSpeaking()) {
    m.SpeakClipEnabled = true;
    m.SpeakClipCaption = LZ(lang::kMenuStopSpeaking);
  } else {
    m.SpeakClipEnabled = IsTextInClip && SAPIWork;
    m.SpeakClipCaption = LZ(lang::kMenuSpeakClip);
  }
  ViewServices().PopupMainMenu(m);
}

}  // namespace parlavent
