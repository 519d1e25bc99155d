#pragma once
// What foundation takes from the application object above it: the process values foundation
// keeps, the settings object, the language names, the voices, and two requests to the main
// window. Foundation declares them here so that it needs nothing from the layers above; the
// application object installs its own when it becomes the process's one (SetAppl).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/keyed_collection.h"

namespace parlavent {

class clsVoice;
class Setting;

// The process values of foundation. They keep their names: the application's process state
// holds them as one of its sections, so G().gWinVer and ProcessValues().gWinVer are one value.
struct FoundationState {
  std::shared_ptr<Setting> gSetting;       // the same object as Appl.Sett
  std::int32_t gWinVer = 0;
  std::u16string gPendingCopy;
  std::int32_t gCurABC = 1;                // the alphabet side shown, 1 or 2
  KeyedCollection<std::u16string> colABC;  // alphabets of preset.ini by language name
  // The per-application list, keyed by WndType, in file order.
  KeyedCollection<std::shared_ptr<class clsWindow>> WhiteCol;
  std::shared_ptr<class HotKeyCapture> gHotKeyCapture;  // created on the first poll
  std::vector<std::u16string> gFontNames;  // installed fonts, filled by API::GetFontList
  std::vector<std::u16string> gLangTable;  // the interface texts of the current language, by entry
  // The dictionaries as the voice settings see them, installed with Appl.ColDics.
  std::shared_ptr<class DicVoiceSource> gDicVoices;
  std::uintptr_t gHandCursor = 0;          // the hand cursor's handle, loaded at start-up
  std::shared_ptr<class FileLineReader> gLineReader;  // mdlPublic::ReadFileLine's one file
  std::vector<std::u16string> gKeptFiles;  // user files copied to "<name>.bak" (API::KeepBackup)
  std::vector<std::u16string> gLeftFiles;  // user files this session does not replace (API::LeaveUserFile)
};

class FoundationHost {
 public:
  virtual ~FoundationHost() = default;
  virtual FoundationState& State() = 0;
  /// Appl.Sett; nullptr before the settings object is made.
  virtual Setting* Settings() = 0;
  /// Appl.Languages: the names of the interface languages, filled with the language table.
  virtual std::vector<std::u16string>& Languages() = 0;

  // The speech server's voices (Appl.Voices, Appl.DefVoice) and whether it speaks at all.
  virtual KeyedCollection<std::shared_ptr<clsVoice>>& Voices() = 0;
  virtual std::shared_ptr<clsVoice>& DefVoice() = 0;
  virtual bool SpeechEnabled() = 0;
  virtual std::int32_t SpeechVoiceCount() = 0;

  // The main window's services foundation asks for.
  virtual void StartBackTransTimer(std::u16string_view text) = 0;
  virtual void CopyText(std::u16string_view text, bool show) = 0;
};

/// Makes host the one foundation asks; nullptr clears it.
void SetFoundationHost(FoundationHost* host);
/// Whether a host is installed.
bool HasFoundationHost();
/// The installed host; every caller runs after one is installed.
FoundationHost& Host();
/// The host's process values.
inline FoundationState& ProcessValues() { return Host().State(); }

}  // namespace parlavent
