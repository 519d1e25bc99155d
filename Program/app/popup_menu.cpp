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

namespace parlavent {

const std::vector<MainMenuLine>& MainMenuLines() {
  using K = MainMenuLine::Kind;
  const auto item = [](MenuItem i) { return MainMenuLine{K::Item, i}; };
  const MainMenuLine separator{K::Separator};
  static const std::vector<MainMenuLine> lines{
      item(MenuItem::Show), item(MenuItem::Hide), separator,
      item(MenuItem::TransClip), item(MenuItem::SpeakClip), item(MenuItem::Speak), item(MenuItem::Copy),
      item(MenuItem::BackTrans), separator,
      item(MenuItem::Keyb), item(MenuItem::Stat), item(MenuItem::Learn), item(MenuItem::TL),
      MainMenuLine{K::Dictionaries}, separator,
      item(MenuItem::Setting), item(MenuItem::Help), item(MenuItem::Pam), item(MenuItem::About),
      item(MenuItem::ScanSFX), item(MenuItem::Test), separator,
      item(MenuItem::Exit)};
  return lines;
}

std::vector<MainMenuLine> ShownMenuLines(const std::vector<MainMenuLine>& lines,
                                         const std::function<bool(MenuItem)>& shown, std::size_t dics) {
  using K = MainMenuLine::Kind;
  std::vector<MainMenuLine> out;
  bool separate = false;  // a group ended since the last line shown
  const auto add = [&](const MainMenuLine& line) {
    if (separate && !out.empty()) out.push_back({K::Separator});
    separate = false;
    out.push_back(line);
  };
  for (const MainMenuLine& line : lines) {
    if (line.kind == K::Separator) {
      separate = true;
    } else if (line.kind == K::Dictionaries) {
      // The dictionaries are a group of their own.
      if (dics > 0) separate = true;
      for (std::size_t i = 0; i < dics; ++i) add(line);
      if (dics > 0) separate = true;
    } else if (shown && shown(line.item)) {
      add(line);
    }
  }
  return out;
}

}  // namespace parlavent
