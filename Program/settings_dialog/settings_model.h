#pragma once
// What the settings dialog shows and saves, without a window: one value per control, read from
// the settings object (ReadSetting), checked and written back and saved (cmdOK_Click). The Win32
// dialog only puts these values into its controls and reads them back. docs/settings-dialog.md
// lists the pages and the fields that have no control.
//
// Conversions between a field and its control:
//   LrnInt             the card-speed box shows 31 - LrnInt
//   TransByCtrl/Shift/Alt  one choice of three (exactly one of them is set on OK)
//   Buttons            one check box per main-toolbar button (bits 1 .. 8); other bits are kept
//   CurLang            the choice lists only the languages lang.dat can show, in column order
//   LrnFont..Italic    one font control (name, size, bold, italic)
//   voices             a voice choice with its speed and volume, the default voice, and one
//                      voice per language of the shown dictionaries
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace parlavent {

class Appl;
class Setting;
class clsVoice;

enum class SettingPage : std::int32_t { General, Translation, Appearance, Speech, Learning, Programs };
constexpr std::int32_t kSettingPageCount = 6;

enum class ControlKind : std::int32_t {
  Check,   // a check box: number 0 or 1
  Number,  // a number box: number (isNumber false when the text is not a number)
  Choice,  // a drop-down list: number = the option's index
  Colour,  // a colour button: number = the colour (blue-green-red)
  Font,    // a font button: text = name, size, bold, italic
  HotKey,  // the hot-key capture box: hotKey
  Note,    // a text with no value (the hot-key help, the note of a page without voices)
};

struct HotKeyValue {
  long keyCode = 0;
  long modifier = 0;  // 0, 16 Shift, 17 Ctrl, 18 Alt
  bool isDouble = false;
  bool operator==(const HotKeyValue&) const = default;
};

struct ControlValue {
  std::int32_t number = 0;
  bool isNumber = true;  // Number: false when the box holds no number
  std::u16string text;   // Font: the name; Note: the text
  double size = 0;       // Font: the size in points
  bool bold = false;
  bool italic = false;
  HotKeyValue hotKey;
  bool operator==(const ControlValue&) const = default;
};

/// One control of the dialog.
struct SettingControl {
  SettingControl(std::u16string n, SettingPage p, ControlKind k, std::u16string text = {}, std::int32_t low = 0,
                 std::int32_t high = 0)
      : name(std::move(n)), page(p), kind(k), caption(std::move(text)), min(low), max(high) {}
  std::u16string name;      // the control's name (chkTopMost, numLrnNL, ...)
  SettingPage page = SettingPage::General;
  ControlKind kind = ControlKind::Check;
  std::u16string caption;   // the interface text shown beside or on it
  std::int32_t min = 0;     // Number and Font (size): the allowed range
  std::int32_t max = 0;
  std::vector<std::u16string> options;  // Choice: the texts of the options
  bool fontStyle = false;   // Font: the chooser offers bold and italic too
};

/// One row of the per-application list.
struct WhiteListRow {
  std::u16string key;      // WndType
  std::u16string text;     // AppName, or WndType when it has none
  std::u16string exePath;  // whose icon stands for the row
  bool checked = false;    // State not 0
};

/// The number of main-toolbar buttons the dialog offers (bits 1 .. kToolbarButtonCount of Buttons).
constexpr std::int32_t kToolbarButtonCount = 8;

class SettingsModel {
 public:
  explicit SettingsModel(Appl& app) : app_(app) {}

  /// frmSetting.ReadSetting: builds the controls (their texts in the current interface language,
  /// the languages, the voices and the dictionaries' languages as they are now) and gives each
  /// the value of its field; RefreshWhiteList.
  void ReadSetting();
  /// frmSetting.RefreshWhiteList: the rows of WhiteCol, in list order.
  void RefreshWhiteList();

  const std::vector<SettingControl>& Controls() const { return controls_; }
  /// The index of the control with that name, -1 when there is none.
  std::int32_t Find(std::u16string_view name) const;
  const ControlValue& Value(std::int32_t index) const { return values_.at(static_cast<std::size_t>(index)); }
  /// A control's new value. Choosing another voice shows that voice's speed and volume; the
  /// gesture controls renew the hot-key help.
  void SetValue(std::int32_t index, const ControlValue& value);
  /// Shortcuts by name for callers and tests; an unknown name is ignored (its value is empty).
  void Set(std::u16string_view name, const ControlValue& value);
  const ControlValue& Get(std::u16string_view name) const;

  std::vector<WhiteListRow>& WhiteList() { return rows_; }
  /// The file details of row's program (aviDictFile::Details), read when first asked for and
  /// kept per program: a list of thousands opens without touching their files.
  const std::u16string& Details(std::size_t row);

  /// The text shown for a hot key or a font in their controls.
  static std::u16string HotKeyText(const HotKeyValue& key);
  static std::u16string FontText(const ControlValue& font);

  /// The first value the settings object cannot take, as a message that names its control; ""
  /// when every value is acceptable. control receives that control's index (-1 for none).
  std::u16string Validate(std::int32_t* control = nullptr) const;

  enum class OkResult { Saved, Refused, SaveFailed };
  /// frmSetting.cmdOK_Click: refuses invalid values (message = why, nothing changed); else writes
  /// every field, each list entry's State and the voices, saves WhiteList.inf and Parlavent.ini
  /// and applies what the running program shows at once (interface language, topmost window,
  /// tray icon). When saving fails, message says so, the objects get their old values back and
  /// the files are left as they were.
  OkResult cmdOK_Click(std::u16string& message);
  /// The control whose value the last cmdOK_Click refused, -1 when none was.
  std::int32_t RefusedControl() const { return refused_; }

  /// The help topic of a page.
  static std::u16string HelpTopic(SettingPage page);

 private:
  struct VoiceEdit {
    std::shared_ptr<clsVoice> voice;
    ControlValue spd;  // as typed: OK checks every voice's, not only the one on screen
    ControlValue vol;
  };

  void Add(SettingControl control, ControlValue value);
  void AddCheck(std::u16string name, SettingPage page, std::int32_t entry, bool on);
  void AddNumber(std::u16string name, SettingPage page, std::int32_t entry, std::int32_t min, std::int32_t max,
                 std::int32_t value);
  void AddChoice(std::u16string name, SettingPage page, std::int32_t entry, std::vector<std::u16string> options,
                 std::int32_t index);
  void AddColour(std::u16string name, SettingPage page, std::int32_t entry, std::int32_t value);
  /// The interface texts first .. first + count - 1, as the options of a choice.
  std::vector<std::u16string> Entries(std::int32_t first, std::int32_t count) const;
  // One page of the dialog each, in page order.
  void AddGeneralControls(const Setting& s);
  void AddTranslationControls(const Setting& s);
  void AddAppearanceControls(const Setting& s);
  void AddSpeechControls();
  void AddLearningControls(const Setting& s);
  void RefreshHotKeysHelp();
  void ShowVoice(std::int32_t voice);
  void WriteFields(Setting& s) const;
  void WriteGeneralFields(Setting& s) const;
  void WriteTranslationFields(Setting& s) const;
  void WriteAppearanceFields(Setting& s) const;
  void WriteSpeechFields(Setting& s) const;
  void WriteLearningFields(Setting& s) const;
  void WriteVoices();
  /// The first voice whose typed speed or volume OK cannot take, -1 when there is none; box
  /// receives the index of the control that holds it.
  std::int32_t BadVoice(std::int32_t& box) const;
  void ApplyLearning(const Setting& before);
  bool Save(std::u16string& error);
  void ApplyToRunningProgram(const Setting& before);
  std::int32_t Number(std::u16string_view name) const { return Get(name).number; }
  bool Checked(std::u16string_view name) const { return Get(name).number != 0; }

  Appl& app_;
  std::vector<SettingControl> controls_;
  std::vector<ControlValue> values_;
  std::vector<WhiteListRow> rows_;
  std::unordered_map<std::u16string, std::u16string> details_;  // by program path
  std::vector<std::int32_t> languageColumns_;  // the interface-language column of each option
  std::vector<VoiceEdit> voices_;              // Appl.Voices in order, with the edited values
  std::vector<std::u16string> voiceLanguages_; // the languages that get a voice choice
  std::int32_t shownVoice_ = -1;               // whose speed and volume the boxes show
  std::int32_t refused_ = -1;
};

}  // namespace parlavent
