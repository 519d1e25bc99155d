#pragma once
// The state of the main popup menu mnuMain for one opening: the window applies it and pops the
// menu up (ViewHost::PopupMainMenu).
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace parlavent {

/// Items of the main window's popup menus that the behaviour names.
enum class MenuItem {
  Show, Hide, About, Help, Setting, Exit, Copy, BackTrans, Keyb, Stat, TL, Speak, TransClip, SpeakClip,
  Pam, Learn, ScanSFX, Test
};

/// A line of mnuMain: one of its items, a separator between groups, or the place of the
/// dictionary items (mnuDics, with the separator mnusep4 above them).
struct MainMenuLine {
  enum class Kind { Item, Separator, Dictionaries };
  Kind kind = Kind::Item;
  MenuItem item = MenuItem::Show;  // of an Item line
  bool operator==(const MainMenuLine&) const = default;
};

/// mnuMain's lines, top to bottom.
const std::vector<MainMenuLine>& MainMenuLines();

/// The lines a menu shows of `lines`: the items `shown` keeps, each Dictionaries line as a
/// separator and `dics` item lines (tagged as Dictionaries) when `dics` > 0, and a separator only
/// between two shown groups, never at an end or twice in a row.
std::vector<MainMenuLine> ShownMenuLines(const std::vector<MainMenuLine>& lines,
                                         const std::function<bool(MenuItem)>& shown, std::size_t dics);

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
