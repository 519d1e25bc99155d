#include "settings_dialog/settings_model.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <utility>

#include "app/application.h"
#include "app/companion_state.h"
#include "app/main_form.h"
#include "app/main_tray_icon.h"
#include "app/main_window_core.h"
#include "foundation/api_files.h"
#include "foundation/hot_keys.h"
#include "foundation/lang_entries.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "foundation/settings_voices.h"
#include "foundation/voice.h"
#include "foundation/white_list.h"
#include "platform/window_manager.h"
#include "settings_dialog/file_info.h"
#include "settings_dialog/settings_texts.h"
#include "settings_dialog/startup_entry.h"
#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::int32_t kFontSizeMin = 6;
constexpr std::int32_t kFontSizeMax = 72;

// The main toolbar's buttons in their order (bit i of Buttons is button i), with their tool tips.
constexpr std::int32_t kButtonTips[kToolbarButtonCount] = {lang::kTipTrans, lang::kSpeak,   lang::kTipBack,
                                                           lang::kTipRedo,  lang::kTipPaste, lang::kTipCopy,
                                                           lang::kTipMode,  lang::kTipMenu};

ControlValue Flag(bool on) {
  ControlValue v;
  v.number = on ? 1 : 0;
  return v;
}

ControlValue Whole(std::int32_t n) {
  ControlValue v;
  v.number = n;
  return v;
}

// A size as a font control can hold it: a size a file could not give (not a number, endless,
// below 0 or absurdly large) becomes 0, which OK then refuses.
double FontSize(double size) { return std::isfinite(size) && size >= 0 && size <= 10000 ? size : 0; }

ControlValue FontValue(std::u16string name, double size, bool bold = false, bool italic = false) {
  ControlValue v;
  v.text = std::move(name);
  v.size = FontSize(size);
  v.bold = bold;
  v.italic = italic;
  return v;
}

std::u16string Caption(std::u16string text) {
  // A caption ending in ":" reads as a field name in messages without it.
  while (!text.empty() && (text.back() == u':' || text.back() == u' ')) text.pop_back();
  return text;
}

std::u16string Fill(std::u16string text, std::u16string_view a, std::u16string_view b = {},
                    std::u16string_view c = {}) {
  text = ReplaceAll(text, u"%1", a);
  text = ReplaceAll(text, u"%2", b);
  return ReplaceAll(text, u"%3", c);
}

/// A file as it was before OK wrote it, to be put back when the save fails half-way.
class FileCopy {
 public:
  explicit FileCopy(std::u16string path)
      : path_(std::move(path)), existed_(API::IsPathExists(path_)), read_(API::ReadFileBytes(path_, bytes_)) {}
  // What was there but could not be read (held by another program) is left as it is.
  void PutBack() const {
    if (read_) {
      API::ReplaceFileContents(path_, bytes_);
    } else if (!existed_) {
      std::error_code ignored;
      std::filesystem::remove(API::ToFsPath(path_), ignored);
    }
  }

 private:
  std::u16string path_;
  std::string bytes_;
  bool existed_;
  bool read_;
};

}  // namespace

// ---- Building the controls ---------------------------------------------------------------------

void SettingsModel::Add(SettingControl control, ControlValue value) {
  controls_.push_back(std::move(control));
  values_.push_back(std::move(value));
}

void SettingsModel::ReadSetting() {
  controls_.clear();
  values_.clear();
  languageColumns_.clear();
  if (!app_.Sett) return;
  const Setting& s = *app_.Sett;
  AddGeneralControls(s);
  AddTranslationControls(s);
  AddAppearanceControls(s);
  AddSpeechControls();
  AddLearningControls(s);
  Add({u"lstWhiteList", SettingPage::Programs, ControlKind::Note, app_.LZ(lang::kSetWhiteList)}, {});
  RefreshWhiteList();
}

void SettingsModel::AddCheck(std::u16string name, SettingPage page, std::int32_t entry, bool on) {
  Add({std::move(name), page, ControlKind::Check, app_.LZ(entry)}, Flag(on));
}

void SettingsModel::AddNumber(std::u16string name, SettingPage page, std::int32_t entry, std::int32_t min,
                              std::int32_t max, std::int32_t value) {
  Add({std::move(name), page, ControlKind::Number, app_.LZ(entry), min, max}, Whole(value));
}

void SettingsModel::AddChoice(std::u16string name, SettingPage page, std::int32_t entry,
                              std::vector<std::u16string> options, std::int32_t index) {
  SettingControl c{std::move(name), page, ControlKind::Choice, app_.LZ(entry)};
  c.options = std::move(options);
  Add(std::move(c), Whole(index));
}

void SettingsModel::AddColour(std::u16string name, SettingPage page, std::int32_t entry, std::int32_t value) {
  Add({std::move(name), page, ControlKind::Colour, app_.LZ(entry)}, Whole(value));
}

std::vector<std::u16string> SettingsModel::Entries(std::int32_t first, std::int32_t count) const {
  std::vector<std::u16string> options;
  for (std::int32_t i = 0; i < count; ++i) options.push_back(app_.LZ(first + i));
  return options;
}

void SettingsModel::AddGeneralControls(const Setting& s) {
  constexpr SettingPage general = SettingPage::General;
  std::vector<std::u16string> languages;
  std::int32_t current = 0;
  for (std::size_t i = 0; i < app_.Languages.size(); ++i) {
    if (app_.Languages[i].empty()) continue;
    if (static_cast<std::int32_t>(i) == s.CurLang) current = static_cast<std::int32_t>(languages.size());
    languages.push_back(app_.Languages[i]);
    languageColumns_.push_back(static_cast<std::int32_t>(i));
  }
  AddChoice(u"cmbLanguage", general, lang::kSetLanguage, std::move(languages), current);
  // Ticked only when Windows will start the program: the setting alone starts nothing.
  AddCheck(u"chkAutoStart", general, lang::kSetAutoStart, s.AutoStart && StartupEntryExists());
  AddCheck(u"chkRestore", general, lang::kSetRestore, s.Restore);
  AddCheck(u"chkTopMost", general, lang::kSetTopMost, s.TopMost);
  AddCheck(u"chkSysTray", general, lang::kSetSysTray, s.SysTray);
  AddCheck(u"chkSysTrayKeyb", general, lang::kSetSysTrayKeyb, s.SysTrayKeyb);
  AddCheck(u"chkShowTooltips", general, lang::kSetShowTooltips, s.ShowTooltips);
  AddCheck(u"chkClickSnd", general, lang::kSetClickSnd, s.ClickSnd);
  AddChoice(u"cmbTrlMode", general, lang::kSetTrlMode, Entries(lang::kSetTrlMode + 1, 3),
            std::clamp<std::int32_t>(s.TrlMode, 0, 2));
  AddCheck(u"chkTrlSound", general, lang::kSetTrlSound, s.TrlSound);
}

void SettingsModel::AddTranslationControls(const Setting& s) {
  constexpr SettingPage trans = SettingPage::Translation;
  ControlValue hot;
  hot.hotKey = {s.HotKeyCode, s.HotKeyShift, s.HotKeyDouble};
  Add({u"txtHotKey", trans, ControlKind::HotKey, app_.LZ(lang::kSetHotKey)}, hot);
  AddChoice(u"cmbKeyAction", trans, lang::kSetKeyAction, Entries(lang::kSetKeyAction + 1, 3),
            std::clamp<std::int32_t>(s.TransKeyAction, 1, 3) - 1);
  AddChoice(u"cmbGestureKey", trans, lang::kSetGestureKey, {u"Ctrl", u"Shift", u"Alt"},
            s.TransByCtrl ? 0 : s.TransByShift ? 1 : s.TransByAlt ? 2 : 0);
  AddCheck(u"chkByPoint", trans, lang::kSetByPoint, s.TransByPoint);
  AddCheck(u"chkByClick", trans, lang::kSetByClick, s.TransByClick);
  AddCheck(u"chkByDblClick", trans, lang::kSetByDblClick, s.TransByDblClick);
  AddCheck(u"chkBySelect", trans, lang::kSetBySelect, s.TransBySelect);
  Add({u"lblHotKeysHelp", trans, ControlKind::Note}, {});
  AddCheck(u"chkTTHide", trans, lang::kSetTTHide, s.TTHide);
  AddCheck(u"chkShowNoTrans", trans, lang::kSetShowNoTrans, s.ShowNoTrans);
  AddCheck(u"chkAero", trans, lang::kSetAero, s.Aero);
  AddCheck(u"chkAllowShort", trans, lang::kSetAllowShort, s.GlbAllowShort);
  AddCheck(u"chkShowTranscript", trans, lang::kSetShowTranscript, s.ShowTranscript);
  AddCheck(u"chkNoDirForType", trans, lang::kSetNoDirForType, s.NoDirForType);
  RefreshHotKeysHelp();
}

void SettingsModel::AddAppearanceControls(const Setting& s) {
  constexpr SettingPage look = SettingPage::Appearance;
  Add({u"cmdFont", look, ControlKind::Font, app_.LZ(lang::kSetFont), kFontSizeMin, kFontSizeMax},
      FontValue(s.GFont.Name, s.GFont.Size));
  AddColour(u"cmdHintBG", look, lang::kSetHintBG, s.HintBG);
  AddColour(u"cmdHintBrd", look, lang::kSetHintBrd, s.HintBrd);
  Add({u"lblButtons", look, ControlKind::Note, app_.LZ(lang::kSetButtons)}, {});
  const auto mask = static_cast<std::uint32_t>(s.Buttons);
  for (std::int32_t i = 1; i <= kToolbarButtonCount; ++i) {
    AddCheck(u"chkButton" + NumberText(i), look, kButtonTips[i - 1], (mask & (1u << i)) != 0);
  }
}

void SettingsModel::AddLearningControls(const Setting& s) {
  constexpr SettingPage learn = SettingPage::Learning;
  AddChoice(u"cmbLrnSource", learn, lang::kSetLrnSource, Entries(lang::kSetLrnSource + 1, 4),
            std::clamp<std::int32_t>(s.LrnSource, 0, 3));
  AddNumber(u"numLrnNL", learn, lang::kSetLrnNL, 1, 1000, s.LrnNL);
  AddNumber(u"numLrnNM", learn, lang::kSetLrnNM, 1, 1000, s.LrnNM);
  AddNumber(u"numLrnInt", learn, lang::kSetLrnInt, 1, 30, 31 - s.LrnInt);
  AddNumber(u"numLrnTransp", learn, lang::kSetLrnTransp, 0, 90, s.LrnTransp);
  SettingControl cardFont{u"cmdLrnFont", learn, ControlKind::Font, app_.LZ(lang::kSetLrnFont), kFontSizeMin,
                          kFontSizeMax};
  cardFont.fontStyle = true;
  Add(std::move(cardFont), FontValue(s.LrnFont, s.LrnFontSize, s.LrnBold, s.LrnItalic));
  AddColour(u"cmdLrnBC", learn, lang::kSetLrnBC, s.LrnBC);
  AddColour(u"cmdLrnFC", learn, lang::kSetLrnFC, s.LrnFC);
  AddCheck(u"chkLrnRandom", learn, lang::kSetLrnRandom, s.LrnRandom);
  AddCheck(u"chkLrnDir1", learn, lang::kSetLrnDir1, s.LrnDir1);
  AddCheck(u"chkLrnDir2", learn, lang::kSetLrnDir2, s.LrnDir2);
  AddCheck(u"chkLrnFirst", learn, lang::kSetLrnFirst, s.LrnFirst);
  AddCheck(u"chkLrnTop", learn, lang::kSetLrnTop, s.LrnTop);
  AddCheck(u"chkLrnTR", learn, lang::kSetLrnTR, s.LrnTR);
  AddCheck(u"chkLrnSimpleWord", learn, lang::kSetLrnSimpleWord, s.LrnSimpleWord);
}

void SettingsModel::AddSpeechControls() {
  constexpr SettingPage speech = SettingPage::Speech;
  const Setting& s = *app_.Sett;
  voices_.clear();
  voiceLanguages_.clear();
  shownVoice_ = -1;
  std::vector<std::u16string> names;
  std::int32_t defIndex = 0;
  for (const auto& voice : app_.Voices) {
    if (!voice) continue;
    if (voice == app_.DefVoice) defIndex = static_cast<std::int32_t>(voices_.size());
    voices_.push_back({voice, Whole(voice->Spd), Whole(voice->Vol)});
    names.push_back(voice->Name);
  }
  if (voices_.empty()) {
    ControlValue note;
    note.text = app_.LZ(lang::kSetNoVoices);
    Add({u"lblNoVoices", speech, ControlKind::Note}, note);
  } else {
    SettingControl def{u"cmbDefVoice", speech, ControlKind::Choice, app_.LZ(lang::kSetDefVoice)};
    def.options = names;
    Add(std::move(def), Whole(defIndex));
    // One voice per language of the shown dictionaries: the voice its first side of that
    // language has now.
    const auto source = G().gDicVoices;
    for (const DicVoiceSlots& slot : source ? source->Slots() : std::vector<DicVoiceSlots>()) {
      if (!slot.Visible) continue;
      const std::pair<const std::u16string*, std::shared_ptr<clsVoice>*> sides[] = {{&slot.Lang1, slot.Voice1},
                                                                                      {&slot.Lang2, slot.Voice2}};
      for (const auto& [code, held] : sides) {
        if (code->empty() || std::any_of(voiceLanguages_.begin(), voiceLanguages_.end(),
                                         [code = code](const std::u16string& l) { return EqualsNoCase(l, *code); })) {
          continue;
        }
        std::int32_t index = 0;
        for (std::size_t i = 0; i < voices_.size(); ++i) {
          if (held && *held == voices_[i].voice) index = static_cast<std::int32_t>(i);
        }
        voiceLanguages_.push_back(*code);
        SettingControl c{u"cmbVoiceLang" + NumberText(static_cast<std::int64_t>(voiceLanguages_.size())), speech,
                         ControlKind::Choice, Fill(app_.LZ(lang::kSetLangVoice), *code)};
        c.options = names;
        Add(std::move(c), Whole(index));
      }
    }
    SettingControl pick{u"cmbVoice", speech, ControlKind::Choice, app_.LZ(lang::kSetVoice)};
    pick.options = names;
    Add(std::move(pick), Whole(defIndex));
    Add({u"numVoiceSpeed", speech, ControlKind::Number, app_.LZ(lang::kSetVoiceSpeed), -1, 20}, {});
    Add({u"numVoiceVolume", speech, ControlKind::Number, app_.LZ(lang::kSetVoiceVolume), -1, 10}, {});
    ShowVoice(defIndex);
  }
  AddCheck(u"chkSpkClip", speech, lang::kSetSpkClip, s.SpkClip);
  AddCheck(u"chkSpkSel", speech, lang::kSetSpkSel, s.SpkSel);
  AddCheck(u"chkSpkTrans", speech, lang::kSetSpkTrans, s.SpkTrans);
  AddCheck(u"chkSpkTransWord", speech, lang::kSetSpkTransWord, s.SpkTransWord);
  AddCheck(u"chkSpkLearner", speech, lang::kSetSpkLearner, s.SpkLearner);
}

void SettingsModel::RefreshWhiteList() {
  rows_.clear();
  rows_.reserve(G().WhiteCol.Count());
  details_.clear();  // the files may have changed since the dialog was open last
  for (const auto& entry : G().WhiteCol) {
    if (!entry) continue;
    // A window class is no name the user knows a program by: the program's file is.
    if (entry->AppName.empty()) {
      const std::u16string file = aviDictFile(entry->ExePath).DisplayName();
      entry->AppName = file.empty() ? entry->WndType() : file;
    }
    rows_.push_back({entry->WndType(), entry->AppName, entry->ExePath, entry->State != 0});
  }
}

const std::u16string& SettingsModel::Details(std::size_t row) {
  static const std::u16string none;
  if (row >= rows_.size()) return none;
  const std::u16string& path = rows_[row].exePath;
  auto found = details_.find(path);
  if (found == details_.end()) found = details_.emplace(path, aviDictFile(path).Details()).first;
  return found->second;
}

// ---- Values ------------------------------------------------------------------------------------

std::int32_t SettingsModel::Find(std::u16string_view name) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].name == name) return static_cast<std::int32_t>(i);
  }
  return -1;
}

const ControlValue& SettingsModel::Get(std::u16string_view name) const {
  static const ControlValue none;
  const std::int32_t i = Find(name);
  return i < 0 ? none : values_[static_cast<std::size_t>(i)];
}

void SettingsModel::Set(std::u16string_view name, const ControlValue& value) {
  if (const std::int32_t i = Find(name); i >= 0) SetValue(i, value);
}

void SettingsModel::SetValue(std::int32_t index, const ControlValue& value) {
  if (index < 0 || static_cast<std::size_t>(index) >= values_.size()) return;
  const auto i = static_cast<std::size_t>(index);
  if (controls_[i].kind == ControlKind::Note) return;
  values_[i] = value;
  const std::u16string& name = controls_[i].name;
  if (name == u"cmbVoice") {
    ShowVoice(value.number);
  } else if (shownVoice_ >= 0 && name == u"numVoiceSpeed") {
    voices_[static_cast<std::size_t>(shownVoice_)].spd = value;
  } else if (shownVoice_ >= 0 && name == u"numVoiceVolume") {
    voices_[static_cast<std::size_t>(shownVoice_)].vol = value;
  } else if (name == u"cmbGestureKey" || name == u"cmbKeyAction" || name.rfind(u"chkBy", 0) == 0) {
    RefreshHotKeysHelp();
  }
}

void SettingsModel::ShowVoice(std::int32_t voice) {
  if (voice < 0 || static_cast<std::size_t>(voice) >= voices_.size()) return;
  // The values typed for the voice shown so far were kept as they were typed (SetValue).
  shownVoice_ = voice;
  const VoiceEdit& v = voices_[static_cast<std::size_t>(voice)];
  values_[static_cast<std::size_t>(Find(u"numVoiceSpeed"))] = v.spd;
  values_[static_cast<std::size_t>(Find(u"numVoiceVolume"))] = v.vol;
}

void SettingsModel::RefreshHotKeysHelp() {
  const std::int32_t note = Find(u"lblHotKeysHelp");
  if (note < 0) return;
  const std::int32_t key = Number(u"cmbGestureKey");
  values_[static_cast<std::size_t>(note)].text =
      mdlPublic::GetHotKeysHelp(key == 0, key == 1, key == 2, false, Number(u"cmbKeyAction") + 1,
                                Checked(u"chkByPoint"), Checked(u"chkByClick"), Checked(u"chkByDblClick"),
                                Checked(u"chkBySelect"));
}

std::u16string SettingsModel::HotKeyText(const HotKeyValue& key) {
  return mdlPublic::GetHotKeyText(key.keyCode, key.modifier, key.isDouble);
}

std::u16string SettingsModel::FontText(const ControlValue& font) {
  const double points = FontSize(font.size);
  std::u16string size = NumberText(static_cast<std::int64_t>(points));
  const auto tenths = static_cast<std::int64_t>(points * 10 + 0.5) % 10;
  if (tenths != 0) size += u"." + NumberText(tenths);
  return font.text + u", " + size;
}

std::u16string SettingsModel::HelpTopic(SettingPage page) {
  static constexpr const char16_t* kTopics[kSettingPageCount] = {
      u"settings_general.htm", u"settings_translation.htm", u"settings_appearance.htm",
      u"settings_speech.htm",  u"settings_learning.htm",    u"settings_programs.htm"};
  const auto i = static_cast<std::int32_t>(page);
  return i >= 0 && i < kSettingPageCount ? kTopics[i] : u"";
}

// ---- OK ----------------------------------------------------------------------------------------

std::u16string SettingsModel::Validate(std::int32_t* control) const {
  if (control) *control = -1;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (control) *control = static_cast<std::int32_t>(i);
    const SettingControl& c = controls_[i];
    const ControlValue& v = values_[i];
    const std::u16string name = Caption(c.caption);
    switch (c.kind) {
      case ControlKind::Number:
        if (!v.isNumber || v.number < c.min || v.number > c.max) {
          return Fill(app_.LZ(lang::kSetBadNumber), name, NumberText(c.min), NumberText(c.max));
        }
        break;
      case ControlKind::Font:
        if (Trim(v.text).empty() || !(v.size >= c.min && v.size <= c.max)) {
          return Fill(app_.LZ(lang::kSetBadFontSize), name, NumberText(c.min), NumberText(c.max));
        }
        break;
      case ControlKind::HotKey:
        // What the capture box accepts: a named key with a modifier, or a key pressed twice.
        if (mdlPublic::KeyName(v.hotKey.keyCode).empty() || (v.hotKey.modifier == 0 && !v.hotKey.isDouble) ||
            !(v.hotKey.modifier == 0 || v.hotKey.modifier == 16 || v.hotKey.modifier == 17 ||
              v.hotKey.modifier == 18)) {
          return Fill(app_.LZ(lang::kSetBadHotKey), name);
        }
        break;
      case ControlKind::Choice:
        if (v.number < 0 || static_cast<std::size_t>(v.number) >= c.options.size()) {
          if (!c.options.empty()) return Fill(app_.LZ(lang::kSetBadNumber), name, u"1", NumberText(static_cast<std::int64_t>(c.options.size())));
        }
        break;
      default: break;
    }
  }
  std::int32_t box = -1;
  if (const std::int32_t voice = BadVoice(box); voice >= 0) {
    if (control) *control = box;
    const SettingControl& c = controls_[static_cast<std::size_t>(box)];
    const std::u16string& name = voices_[static_cast<std::size_t>(voice)].voice->Name;
    return Fill(app_.LZ(lang::kSetBadNumber), Caption(c.caption) + u" (" + name + u")", NumberText(c.min),
                NumberText(c.max));
  }
  if (control) *control = -1;
  return {};
}

std::int32_t SettingsModel::BadVoice(std::int32_t& box) const {
  const std::int32_t boxes[] = {Find(u"numVoiceSpeed"), Find(u"numVoiceVolume")};
  if (boxes[0] < 0 || boxes[1] < 0) return -1;
  for (std::size_t i = 0; i < voices_.size(); ++i) {
    const ControlValue* typed[] = {&voices_[i].spd, &voices_[i].vol};
    for (int k = 0; k < 2; ++k) {
      const SettingControl& c = controls_[static_cast<std::size_t>(boxes[k])];
      if (!typed[k]->isNumber || typed[k]->number < c.min || typed[k]->number > c.max) {
        box = boxes[k];
        return static_cast<std::int32_t>(i);
      }
    }
  }
  return -1;
}

void SettingsModel::WriteFields(Setting& s) const {
  WriteGeneralFields(s);
  WriteTranslationFields(s);
  WriteAppearanceFields(s);
  WriteSpeechFields(s);
  WriteLearningFields(s);
}

void SettingsModel::WriteGeneralFields(Setting& s) const {
  if (const std::int32_t lang = Number(u"cmbLanguage");
      lang >= 0 && static_cast<std::size_t>(lang) < languageColumns_.size()) {
    s.CurLang = languageColumns_[static_cast<std::size_t>(lang)];
  }
  s.AutoStart = Checked(u"chkAutoStart");
  s.Restore = Checked(u"chkRestore");
  s.TopMost = Checked(u"chkTopMost");
  s.SysTray = Checked(u"chkSysTray");
  s.SysTrayKeyb = Checked(u"chkSysTrayKeyb");
  s.ShowTooltips = Checked(u"chkShowTooltips");
  s.ClickSnd = Checked(u"chkClickSnd");
  s.TrlMode = static_cast<std::int16_t>(Number(u"cmbTrlMode"));
  s.TrlSound = Checked(u"chkTrlSound");
}

void SettingsModel::WriteTranslationFields(Setting& s) const {
  const HotKeyValue& hot = Get(u"txtHotKey").hotKey;
  s.HotKeyCode = static_cast<std::int32_t>(hot.keyCode);
  s.HotKeyShift = static_cast<std::int32_t>(hot.modifier);
  s.HotKeyDouble = hot.isDouble;
  s.TransKeyAction = Number(u"cmbKeyAction") + 1;
  const std::int32_t key = Number(u"cmbGestureKey");
  s.TransByCtrl = key == 0;
  s.TransByShift = key == 1;
  s.TransByAlt = key == 2;
  s.TransByPoint = Checked(u"chkByPoint");
  s.TransByClick = Checked(u"chkByClick");
  s.TransByDblClick = Checked(u"chkByDblClick");
  s.TransBySelect = Checked(u"chkBySelect");
  s.TTHide = Checked(u"chkTTHide");
  s.ShowNoTrans = Checked(u"chkShowNoTrans");
  s.Aero = Checked(u"chkAero");
  s.GlbAllowShort = Checked(u"chkAllowShort");
  s.ShowTranscript = Checked(u"chkShowTranscript");
  s.NoDirForType = Checked(u"chkNoDirForType");
}

void SettingsModel::WriteAppearanceFields(Setting& s) const {
  const ControlValue& font = Get(u"cmdFont");
  s.GFont.Name = font.text;
  s.GFont.Size = font.size;
  s.HintBG = Number(u"cmdHintBG");
  s.HintBrd = Number(u"cmdHintBrd");
  auto mask = static_cast<std::uint32_t>(s.Buttons);
  for (std::int32_t i = 1; i <= kToolbarButtonCount; ++i) {
    if (Checked(u"chkButton" + NumberText(i))) {
      mask |= 1u << i;
    } else {
      mask &= ~(1u << i);
    }
  }
  s.Buttons = static_cast<std::int32_t>(mask);
}

void SettingsModel::WriteSpeechFields(Setting& s) const {
  s.SpkClip = Checked(u"chkSpkClip");
  s.SpkSel = Checked(u"chkSpkSel");
  s.SpkTrans = Checked(u"chkSpkTrans");
  s.SpkTransWord = Checked(u"chkSpkTransWord");
  s.SpkLearner = Checked(u"chkSpkLearner");
}

void SettingsModel::WriteLearningFields(Setting& s) const {
  s.LrnSource = Number(u"cmbLrnSource");
  s.LrnNL = Number(u"numLrnNL");
  s.LrnNM = Number(u"numLrnNM");
  s.LrnInt = 31 - Number(u"numLrnInt");
  s.LrnTransp = Number(u"numLrnTransp");
  const ControlValue& cardFont = Get(u"cmdLrnFont");
  s.LrnFont = cardFont.text;
  s.LrnFontSize = static_cast<std::int32_t>(cardFont.size + 0.5);
  s.LrnBold = cardFont.bold;
  s.LrnItalic = cardFont.italic;
  s.LrnBC = Number(u"cmdLrnBC");
  s.LrnFC = Number(u"cmdLrnFC");
  s.LrnRandom = Checked(u"chkLrnRandom");
  s.LrnDir1 = Checked(u"chkLrnDir1");
  s.LrnDir2 = Checked(u"chkLrnDir2");
  s.LrnFirst = Checked(u"chkLrnFirst");
  s.LrnTop = Checked(u"chkLrnTop");
  s.LrnTR = Checked(u"chkLrnTR");
  s.LrnSimpleWord = Checked(u"chkLrnSimpleWord");
}

void SettingsModel::WriteVoices() {
  if (voices_.empty()) return;
  for (const VoiceEdit& v : voices_) {
    v.voice->Spd = v.spd.number;
    v.voice->Vol = v.vol.number;
  }
  const auto voiceAt = [this](std::u16string_view name) -> std::shared_ptr<clsVoice> {
    const std::int32_t i = Number(name);
    return i >= 0 && static_cast<std::size_t>(i) < voices_.size() ? voices_[static_cast<std::size_t>(i)].voice
                                                                   : nullptr;
  };
  if (auto def = voiceAt(u"cmbDefVoice")) app_.DefVoice = def;
  const auto source = G().gDicVoices;
  if (!source) return;
  for (std::size_t l = 0; l < voiceLanguages_.size(); ++l) {
    const auto voice = voiceAt(u"cmbVoiceLang" + NumberText(static_cast<std::int64_t>(l + 1)));
    if (!voice) continue;
    for (const DicVoiceSlots& slot : source->Slots()) {
      if (!slot.Visible) continue;
      // A side and its paired dictionary's same side take the voice of their language.
      if (EqualsNoCase(slot.Lang1, voiceLanguages_[l])) {
        if (slot.Voice1) *slot.Voice1 = voice;
        if (slot.PairVoice1) *slot.PairVoice1 = voice;
      }
      if (EqualsNoCase(slot.Lang2, voiceLanguages_[l])) {
        if (slot.Voice2) *slot.Voice2 = voice;
        if (slot.PairVoice2) *slot.PairVoice2 = voice;
      }
    }
  }
}

bool SettingsModel::Save(std::u16string& error) {
  // A folder that takes no file would fail both writes: find out before either is tried.
  const std::u16string folder = API::GetAppDataFolder();
  const std::u16string probe = API::JoinPath(folder, u"Parlavent.ini.~probe");
  if (!API::ReplaceFileContents(probe, {}, &error)) return false;
  std::error_code ignored;
  std::filesystem::remove(API::ToFsPath(probe), ignored);
  // Each file is replaced whole, so a failed write leaves it as it was; what one write changed
  // before another failed (a full disk) is put back.
  const FileCopy list(API::JoinPath(folder, u"WhiteList.inf"));
  const FileCopy ini(API::JoinPath(folder, u"Parlavent.ini"));
  Setting& s = *app_.Sett;
  // A list that could not be read at start, or not kept before a save, stays as the file holds
  // it: the save fails rather than lose the user's checks without a word.
  const bool listSaved = s.SaveWhiteCol();
  if (listSaved && s.SaveSett()) return true;
  list.PutBack();
  ini.PutBack();
  error = listSaved ? u"Parlavent.ini" : u"WhiteList.inf";
  return false;
}

SettingsModel::OkResult SettingsModel::cmdOK_Click(std::u16string& message) {
  message = Validate(&refused_);
  if (!message.empty()) {
    // A voice not on screen holds the refused value: it comes up in the boxes.
    std::int32_t box = -1;
    if (const std::int32_t voice = BadVoice(box); voice >= 0 && voice != shownVoice_) {
      values_[static_cast<std::size_t>(Find(u"cmbVoice"))] = Whole(voice);
      ShowVoice(voice);
    }
    return OkResult::Refused;
  }
  if (!app_.Sett) return OkResult::Refused;
  Setting& s = *app_.Sett;

  // What OK changes, kept so that a failed save can give it back.
  const Setting before = s;
  std::vector<std::pair<std::shared_ptr<clsWindow>, std::int32_t>> states;
  for (const WhiteListRow& row : rows_) {
    if (auto* entry = G().WhiteCol.Find(row.key); entry && *entry) states.emplace_back(*entry, (*entry)->State);
  }
  std::vector<VoiceEdit> voicesBefore;
  for (const VoiceEdit& v : voices_) voicesBefore.push_back({v.voice, Whole(v.voice->Spd), Whole(v.voice->Vol)});
  const std::shared_ptr<clsVoice> defBefore = app_.DefVoice;
  std::vector<std::pair<std::shared_ptr<clsVoice>*, std::shared_ptr<clsVoice>>> sidesBefore;
  if (const auto source = G().gDicVoices) {
    for (const DicVoiceSlots& slot : source->Slots()) {
      for (auto* side : {slot.Voice1, slot.Voice2, slot.PairVoice1, slot.PairVoice2}) {
        if (side) sidesBefore.emplace_back(side, *side);
      }
    }
  }

  WriteFields(s);
  for (const WhiteListRow& row : rows_) {
    if (auto* entry = G().WhiteCol.Find(row.key); entry && *entry) (*entry)->State = row.checked ? 1 : 0;
  }
  WriteVoices();

  std::u16string error;
  if (!Save(error)) {
    s = before;
    for (const auto& [entry, state] : states) entry->State = state;
    for (const VoiceEdit& v : voicesBefore) {
      v.voice->Spd = v.spd.number;
      v.voice->Vol = v.vol.number;
    }
    app_.DefVoice = defBefore;
    for (const auto& [side, voice] : sidesBefore) *side = voice;
    message = Fill(app_.LZ(lang::kSetSaveFailed), API::GetAppDataFolder(), error);
    return OkResult::SaveFailed;
  }
  ApplyToRunningProgram(before);
  return OkResult::Saved;
}

void SettingsModel::ApplyLearning(const Setting& before) {
  const auto learning = [](const Setting& x) {
    return std::tie(x.LrnSource, x.LrnNL, x.LrnNM, x.LrnInt, x.LrnTransp, x.LrnFont, x.LrnFontSize, x.LrnBold,
                    x.LrnItalic, x.LrnBC, x.LrnFC, x.LrnRandom, x.LrnDir1, x.LrnDir2, x.LrnFirst, x.LrnTop, x.LrnTR,
                    x.LrnSimpleWord);
  };
  // Cards on screen start again from the new source, at the new pace, in the new look.
  if (app_.CompanionData().learning && learning(*app_.Sett) != learning(before)) app_.StartLearn();
}

void SettingsModel::ApplyToRunningProgram(const Setting& before) {
  Setting& s = *app_.Sett;
  SetStartupEntry(s.AutoStart);
  ApplyLearning(before);
  if (s.SysTrayKeyb != before.SysTrayKeyb) app_.ShowKeybIco(s.SysTrayKeyb);
  if (s.CurLang != before.CurLang) {
    mdlPublic::LoadLang(s.CurLang, s.site, s.Email);
    if (app_.MainCore) app_.MainCore->LocalizeMe();
  }
  if (!app_.frmMain) return;
  if (s.TopMost != before.TopMost) {
    Windows().SetPos(app_.frmMain->hWnd(), s.TopMost ? kHwndTopMost : kHwndNoTopMost, 0, 0, 0, 0,
                     kSwpNoSize | kSwpNoMove | kSwpNoActivate);
  }
  if (s.SysTray && !before.SysTray) app_.frmMain->RefreshIcon(ModeTrayTip());
  if (!s.SysTray && before.SysTray) {
    app_.frmMain->DeleteIcon();
    app_.frmMain->ApplIconLoaded = false;
  }
}

}  // namespace parlavent
