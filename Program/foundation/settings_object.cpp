#include "foundation/settings_object.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <variant>
#include <vector>

#include "foundation/api_files.h"
#include "foundation/api_input.h"
#include "foundation/api_strings.h"
#include "foundation/host.h"
#include "foundation/ini_file.h"
#include "foundation/settings_voices.h"
#include "foundation/wildcard.h"
#include "platform/process.h"
#include "platform/settings_store.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr Colour kWindowText = 0x80000008u;
constexpr Colour kWindowBackground = 0x80000005u;
constexpr Colour kToolTipBackground = 0x80000018u;
constexpr std::int32_t kNoLanguage = -12345;
constexpr double kDefaultFontSize = 10;

using FieldRef = std::variant<bool*, std::int16_t*, std::int32_t*, double*, std::u16string*>;

// One key of the user file: where it lives, which field it fills and its default.
struct FileKey {
  std::u16string_view section;
  std::u16string_view name;
  FieldRef field;
  IniValue fallback;
};

std::u16string UserFile() { return API::JoinPath(API::GetAppDataFolder(), u"Parlavent.ini"); }

// Whether a file can be replaced in the folder of path: the user's files are saved as a new file
// beside the old one that then takes its name (API::ReplaceFileContents).
bool CanWriteBeside(const std::u16string& path) {
  const std::u16string probe = path + u".~probe";
  if (!API::ReplaceFileContents(probe, {})) return false;
  std::error_code ignored;
  std::filesystem::remove(API::ToFsPath(probe), ignored);
  return true;
}

// Every file key of [Main] and [Learner] but "Language" and "AutoStart", which load on their own.
std::vector<FileKey> FileKeys(Setting& s) {
  const auto hintBG = [] {
    int r = 0, g = 0, b = 0;
    // A colour that cannot be translated stays the system colour's own (negative) Long.
    return static_cast<std::int32_t>(API::SplitColor(kToolTipBackground, r, g, b));
  };
  return {
      {u"Main", u"HotKeyCode", &s.HotKeyCode, 17},
      {u"Main", u"HotKeyDouble", &s.HotKeyDouble, true},
      {u"Main", u"HotKeyShift", &s.HotKeyShift, 0},
      {u"Main", u"Restore", &s.Restore, false},
      {u"Main", u"TopMost", &s.TopMost, true},
      {u"Main", u"SysTray", &s.SysTray, true},
      {u"Main", u"SmartClick", &s.SmartClick, true},
      {u"Main", u"TrlSound", &s.TrlSound, true},
      {u"Main", u"TrlMode", &s.TrlMode, 1},
      {u"Main", u"TTHide", &s.TTHide, false},
      {u"Main", u"allowshort", &s.GlbAllowShort, true},
      {u"Main", u"ShowNoTrans", &s.ShowNoTrans, true},
      {u"Main", u"NoDirForType", &s.NoDirForType, true},
      {u"Main", u"FontSize", &s.GFont.Size, kDefaultFontSize},
      {u"Main", u"FontName", &s.GFont.Name, u"Arial"},
      {u"Main", u"ShowTranscript", &s.ShowTranscript, true},
      {u"Main", u"CurABC", &ProcessValues().gCurABC, 1},
      {u"Main", u"ClickSnd", &s.ClickSnd, true},
      {u"Main", u"SysTrayKeyb", &s.SysTrayKeyb, false},
      {u"Main", u"ShowTooltips", &s.ShowTooltips, true},
      {u"Main", u"TraceControls", &s.TraceControls, true},
      {u"Main", u"TransKeyAction", &s.TransKeyAction, 3},
      {u"Main", u"TransByShift", &s.TransByShift, false},
      {u"Main", u"TransByCtrl", &s.TransByCtrl, true},
      {u"Main", u"TransByAlt", &s.TransByAlt, false},
      {u"Main", u"TransByPoint", &s.TransByPoint, true},
      {u"Main", u"TransByClick", &s.TransByClick, false},
      {u"Main", u"TransBySelect", &s.TransBySelect, true},
      {u"Main", u"TransByDblClick", &s.TransByDblClick, true},
      {u"Main", u"SpkLearner", &s.SpkLearner, true},
      {u"Main", u"SpkTrans", &s.SpkTrans, false},
      {u"Main", u"SpkTransWord", &s.SpkTransWord, false},
      {u"Main", u"SpkHideTrans", &s.SpkHideTrans, false},
      {u"Main", u"SpkClip", &s.SpkClip, false},
      {u"Main", u"SpkPage", &s.SpkPage, false},
      {u"Main", u"SpkSel", &s.SpkSel, true},
      // Read after the per-application list (LoadSett step 10).
      {u"Main", u"Aero", &s.Aero, true},
      {u"Main", u"HintBrd", &s.HintBrd, 11579568},
      {u"Main", u"HintBG", &s.HintBG, hintBG()},
      {u"Main", u"Buttons", &s.Buttons, -1},
      // [Learner] (step 12).
      {u"Learner", u"Interval", &s.LrnInt, 15},
      {u"Learner", u"Transp", &s.LrnTransp, 20},
      {u"Learner", u"Source", &s.LrnSource, 0},
      {u"Learner", u"FontName", &s.LrnFont, u"Arial"},
      {u"Learner", u"FontSize", &s.LrnFontSize, 10},
      {u"Learner", u"BC", &s.LrnBC, 9849630},
      {u"Learner", u"FC", &s.LrnFC, 16777215},
      {u"Learner", u"Bold", &s.LrnBold, true},
      {u"Learner", u"Italic", &s.LrnItalic, false},
      {u"Learner", u"Random", &s.LrnRandom, true},
      {u"Learner", u"NLast", &s.LrnNL, 100},
      {u"Learner", u"NMost", &s.LrnNM, 100},
      {u"Learner", u"Dir1", &s.LrnDir1, true},
      {u"Learner", u"Dir2", &s.LrnDir2, true},
      {u"Learner", u"First", &s.LrnFirst, true},
      {u"Learner", u"Top", &s.LrnTop, true},
      {u"Learner", u"Transcription", &s.LrnTR, true},
      {u"Learner", u"SimpleWords", &s.LrnSimpleWord, true},
  };
}

// A value that cannot be converted to the field's type leaves the field as it was.
bool Assign(const IniValue& value, FieldRef field) {
  return std::visit(
      [&value](auto* target) {
        using T = std::remove_pointer_t<decltype(target)>;
        if constexpr (std::is_same_v<T, bool>) {
          return value.ToBool(*target);
        } else if constexpr (std::is_same_v<T, std::int16_t>) {
          std::int32_t n = 0;
          if (!value.ToLong(n) || n < INT16_MIN || n > INT16_MAX) return false;
          *target = static_cast<std::int16_t>(n);
          return true;
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          return value.ToLong(*target);
        } else if constexpr (std::is_same_v<T, double>) {
          return value.ToDouble(*target);
        } else {
          if (value.IsList() || value.IsCollection()) return false;
          *target = value.ToText();
          return true;
        }
      },
      field);
}

// Fixed point with up to four decimals and "." as separator: 10 -> "10", 8.25 -> "8.25".
std::u16string FixedPoint(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4f", std::isfinite(value) ? value : 0.0);
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return FromUtf8(text);
}

IniValue FileForm(FieldRef field) {
  return std::visit(
      [](auto* target) -> IniValue {
        using T = std::remove_pointer_t<decltype(target)>;
        if constexpr (std::is_same_v<T, double>) {
          return FixedPoint(*target);
        } else if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>) {
          return static_cast<long>(*target);
        } else {
          return *target;
        }
      },
      field);
}

const FileKey* FindKey(const std::vector<FileKey>& keys, std::u16string_view section, std::u16string_view name) {
  for (const FileKey& key : keys) {
    if (EqualsNoCase(key.section, section) && EqualsNoCase(key.name, name)) return &key;
  }
  return nullptr;
}

void LoadKeys(clsINI& ini, const std::vector<FileKey>& keys, std::u16string_view section,
              std::u16string_view from, std::u16string_view to) {
  bool on = false;
  for (const FileKey& key : keys) {
    if (key.section != section) continue;
    if (key.name == from) on = true;
    if (on) Assign(ini.GetValue(key.name, key.section, key.fallback), key.field);
    if (key.name == to) break;
  }
}

// The store's text converted as the field's type; absent gives fallback.
void LoadStored(std::u16string_view section, std::u16string_view name, std::u16string_view fallback,
                FieldRef field) {
  Assign(IniValue(GetSetting(section, name, fallback)), field);
}

bool StartedHidden() { return Like(Process().CommandLine(), u"*/h*", MatchCase::Sensitive); }

// The shortest decimal form, with the user's decimal separator: 8.5 -> "8,5" in Germany.
std::u16string LocalNumber(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", std::isfinite(value) ? value : 0.0);
  return ReplaceAll(FromUtf8(buffer), u".", Process().DecimalSeparator());
}

constexpr std::u16string_view kMainSaveOrder[] = {
    u"AutoStart",    u"HotKeyCode",     u"HotKeyDouble",   u"HotKeyShift",  u"Restore",
    u"TopMost",      u"SmartClick",     u"SysTray",        u"TrlMode",      u"TTHide",
    u"AllowShort",   u"Language",       u"ShowNoTrans",    u"NoDirForType", u"TrlSound",
    u"FontSize",     u"FontName",       u"ShowTranscript", u"CurABC",       u"ClickSnd",
    u"SysTrayKeyb",  u"ShowTooltips",   u"TransKeyAction", u"TransByCtrl",  u"TransByShift",
    u"TransByAlt",   u"TransByPoint",   u"TransByClick",   u"TransBySelect", u"TransByDblClick",
    u"SpkLearner",   u"SpkTrans",       u"SpkTransWord",   u"SpkHideTrans", u"SpkClip",
    u"SpkPage",      u"SpkSel",         u"HintBrd",        u"HintBG",       u"Aero",
    u"Buttons"};

constexpr std::u16string_view kLearnerSaveOrder[] = {
    u"Transp", u"FontSize", u"Source", u"FontName", u"Interval", u"BC",  u"FC",
    u"Bold",   u"Italic",   u"Random", u"NLast",    u"NMost",    u"Dir1", u"Dir2",
    u"First",  u"Top",      u"Transcription", u"SimpleWords"};

}  // namespace

void Setting::LoadSett() {
  // 1-2. The program folder's presets: the alphabets and the capture's excluded window classes.
  clsINI ini;
  ini.Unicode = true;
  ini.OpenForReading(API::JoinPath(System().ProgramFolder(), u"preset.ini"));
  ProcessValues().colABC.Clear();
  for (const std::u16string& line : ini.GetSectionValues(u"ABC")) {
    ProcessValues().colABC.Add(API::GetTextBefore(line, u"="), API::GetTextAfter(line, u"="));
  }
  InjExclude = ini.GetValue(u"InjExclude", u"Main", u"").ToText();

  // 3-4. The user's file; a start from the autostart entry ends here when the user said so.
  ini.Unicode = false;
  const std::u16string userFile = UserFile();
  ini.FileName(userFile);
  CannotSave = !CanWriteBeside(userFile);
  Assign(ini.GetValue(u"AutoStart", u"Main", true), &AutoStart);
  if (StartedHidden() && !AutoStart) {
    Process().EndNow();
    return;
  }

  // 5-6. The interface language: the file's, else the one the installer was run in.
  ShowComment = true;
  Assign(ini.GetValue(u"Language", u"Main", kNoLanguage), &CurLang);
  if (CurLang == kNoLanguage) {
    CurLang = LeadingNumber(GetSetting(u"Main", u"Installer Language", u"0")) == 1049 ? 1 : 0;
  }

  // 7-8.
  const std::vector<FileKey> keys = FileKeys(*this);
  LoadKeys(ini, keys, u"Main", u"HotKeyCode", u"SpkSel");
  // A size the file could not give (a fresh font's 0) would show every text, and the text links'
  // "||S", at no size at all.
  if (!(GFont.Size > 0) || !std::isfinite(GFont.Size)) GFont.Size = kDefaultFontSize;
  LoadStored(u"Main", u"Auto", u"0", &AutoOn);
  LoadStored(u"Interface", u"BackTransOpen", u"0", &BackTransOpen);
  LoadStored(u"Main", u"spsh", u"1", &ShowPctShow);

  // 9.
  LoadWhiteCol();

  // 10-11. Colours and the style of text links.
  LoadKeys(ini, keys, u"Main", u"Aero", u"Aero");
  Gray = static_cast<std::int32_t>(API::MixColors(kWindowText, kWindowBackground));
  LoadKeys(ini, keys, u"Main", u"HintBrd", u"Buttons");
  TextLink = u"||Crsr 1||U 1||Snd 1||C " + NumberText(Gray) + u"||S " + LocalNumber(GFont.Size * 0.85);

  // 12-14.
  LoadKeys(ini, keys, u"Learner", u"Interval", u"SimpleWords");
  LoadStored(u"Main", u"ShowLearner", u"0", &LrnShow);
  if (Restore) {
    bool shown = true;
    if (Assign(IniValue(GetSetting(u"Main", u"IsShowed", u"1")), &shown)) SilentStart = !shown;
  } else {
    SilentStart = StartedHidden();
  }
}

bool Setting::SaveSett() {
  clsINI ini;
  ini.FileName(UserFile());
  const std::vector<FileKey> keys = FileKeys(*this);
  const auto save = [&](std::u16string_view section, std::u16string_view name) {
    if (EqualsNoCase(name, u"AutoStart")) {
      ini.SetValue(name, section, AutoStart);
    } else if (EqualsNoCase(name, u"Language")) {
      ini.SetValue(name, section, static_cast<long>(CurLang));
    } else if (const FileKey* key = FindKey(keys, section, name)) {
      ini.SetValue(name, section, FileForm(key->field));
    }
  };
  for (const auto name : kMainSaveOrder) save(u"Main", name);
  for (const auto name : kLearnerSaveOrder) save(u"Learner", name);

  FoundationHost& host = Host();
  const auto& source = host.State().gDicVoices;
  SaveVoiceSettings(ini, host.Voices(), host.DefVoice(), source ? source->Slots() : std::vector<DicVoiceSlots>());
  const bool saved = ini.UpdateFile();
  return SaveWhiteCol() && saved;
}

}  // namespace parlavent
