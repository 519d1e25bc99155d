#pragma once
// Setting: the one settings object of the running program (Appl.Sett, and the same object in
// G().gSetting). Every part reads its public fields; the settings dialog writes them and calls
// SaveSett.
//
// Where the values live:
//   "Parlavent.ini" in the per-user folder  [Main], [Learner], [Voices], [VoicesSpeed],
//                                           [VoicesVolume]; ANSI text through clsINI
//   "preset.ini" in the program folder      [ABC] alphabets, [Main] InjExclude; UTF-16LE,
//                                           never written by the program
//   the settings store, section "Main"      "Installer Language", "Auto", "spsh",
//                                           "ShowLearner", "IsShowed"; "Interface"/"BackTransOpen"
// docs/settings.md lists every key with its default.
#include <cstdint>
#include <memory>
#include <string>

namespace parlavent {

class clsDic;
class clsLinkItem;

/// The program font: only its name and size are stored.
struct SettingFont {
  std::u16string Name;
  double Size = 0;
};

class Setting {
 public:
  // ---- Public fields, in declaration order ---------------------------------------------------
  std::u16string AppFolder;   // per-user data folder, set at start-up
  std::u16string DicPath;     // dictionary folder, set at start-up
  bool AutoOn = false;        // store "Main"/"Auto": automatic translation mode
  std::u16string site;
  std::u16string Email;
  std::int32_t ShowPctShow = 0;  // store "Main"/"spsh"
  std::int32_t Gray = 0;         // mean of the window text and window background colours
  std::int32_t BottomH = 0;
  std::int32_t Border = 0;
  std::int32_t DeltaW = 0;
  std::int32_t DeltaH = 0;
  bool SilentStart = false;      // start without showing the main window
  std::int32_t MinW = 0;
  std::int32_t MinH = 0;
  bool BackTransOpen = false;    // store "Interface"/"BackTransOpen"
  std::u16string TextLink;       // link style options of text links in the output box
  std::shared_ptr<clsLinkItem> DefTransLink;
  std::u16string InjExclude;     // preset.ini: window classes the capture leaves alone
  bool Aero = false;
  bool TraceControls = false;    // read, never written
  bool Restore = false;
  bool AutoRun = false;
  bool SmartClick = false;
  bool ShowComment = false;
  bool AutoStart = false;        // a start from the autostart entry ("/h") goes on
  bool TopMost = false;
  bool SysTray = false;
  std::int32_t OldHotKey = 0;
  bool HotKeyDouble = false;
  std::int32_t HotKeyShift = 0;
  std::int32_t HotKeyCode = 0;
  std::int16_t TrlMode = 0;      // keyboard-layout switching: 0 off, 1 or 2 on
  bool TTHide = false;
  bool ShowNoTrans = false;
  bool NoDirForType = false;
  bool ShowTranscript = false;
  std::u16string ExtTransString;
  std::int32_t CurLang = 0;      // interface language column; file key "Language"
  bool TrlSound = false;
  SettingFont GFont;             // file keys "FontName", "FontSize"
  bool ClickSnd = false;
  bool SysTrayKeyb = false;
  bool ShowTooltips = false;
  bool GlbAllowShort = false;    // file key "allowshort" / "AllowShort"
  bool TransByCtrl = false;
  bool TransByShift = false;
  bool TransByAlt = false;
  bool TransByPoint = false;
  bool TransByClick = false;
  bool TransByDblClick = false;
  bool TransBySelect = false;
  std::int32_t TransKeyAction = 0;
  std::int32_t LrnTransp = 0;
  std::int32_t LrnFontSize = 0;
  std::int32_t LrnSource = 0;    // 0 random word, 1 user list, 2 last N, 3 most frequent N
  std::u16string LrnFont;
  std::int32_t LrnInt = 0;       // card interval (the dialog shows 31 minus it)
  std::int32_t LrnBC = 0;
  std::int32_t LrnFC = 0;
  std::int32_t LrnNL = 0;
  std::int32_t LrnNM = 0;
  bool LrnBold = false;
  bool LrnItalic = false;
  bool LrnRandom = false;
  bool LrnDir1 = false;
  bool LrnDir2 = false;
  bool LrnFirst = false;
  bool LrnTop = false;
  bool LrnTR = false;
  bool LrnShow = false;          // store "Main"/"ShowLearner"
  std::shared_ptr<clsDic> LrnDic;
  bool LrnSimpleWord = false;
  bool SpkLearner = false;
  bool SpkTrans = false;
  bool SpkTransWord = false;
  bool SpkHideTrans = false;
  bool SpkClip = false;
  bool SpkPage = false;
  bool SpkSel = false;
  std::int32_t HintBG = 0;
  std::int32_t HintBrd = 0;
  std::int32_t Buttons = 0;      // bit i set = toolbar button i visible
  bool CannotSave = false;       // LoadSett found no folder where the user's files can be written

  // ---- Operations ----------------------------------------------------------------------------
  /// Fills the object at start-up. Ends the process when started with "/h" and AutoStart is off.
  void LoadSett();
  /// Restores the voices' speed and volume, the default voice and each dictionary's voices.
  void LoadVoices();
  /// Writes the user file back (keys already there keep their place and spelling), then the
  /// per-application list. False when either file could not be written (that file is unchanged).
  bool SaveSett();
  /// Replaces G().WhiteCol from "WhiteList.inf", or "DefaultWhiteList.inf" when the user has none.
  void LoadWhiteCol();
  /// Writes G().WhiteCol to the per-user "WhiteList.inf"; false (with the file unchanged and the
  /// file helper's own message shown) when it cannot be written. A list that was there but could
  /// not be read at start, or not kept before its first save (API::MayReplaceUserFile), stays as
  /// the file holds it for the session: false without a message, the list kept in memory.
  bool SaveWhiteCol();

 private:
  bool userListUnread_ = false;  // "WhiteList.inf" stays as it is: unreadable at start, or no copy kept
};

}  // namespace parlavent
