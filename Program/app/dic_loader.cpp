// InitDics: finds the packages of the dictionary folder, reads their describing members, pairs
// every common package with its full package and keeps all of them open for record reading.
// Every step goes on after a failure: a broken package loads with empty fields and zero bounds.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/application.h"
#include "app/engine_operations.h"
#include "dictionary/byte_files.h"
#include "dictionary/dic_members.h"
#include "dictionary/dictionary.h"
#include "dictionary/keyboard_layers.h"
#include "dictionary/sections.h"
#include "foundation/api_files.h"
#include "foundation/api_strings.h"
#include "foundation/ini_file.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "foundation/settings_voices.h"
#include "foundation/wildcard.h"
#include "platform/picture.h"
#include "platform/settings_store.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Files of older installations, relative to the program folder: old name, new name.
constexpr const char16_t* kMigrations[][2] = {
    {u"Demo\\English.dic", u"Dictionaries\\en-ru_common.dic"},
    {u"Demo\\German.dic", u"Dictionaries\\de-ru_common.dic"},
    {u"Demo\\Spanish.dic", u"Dictionaries\\sp-en_common.dic"},
    {u"Dictionaries\\EnglishBig.dic", u"Dictionaries\\en-ru_full.dic"},
    {u"Dictionaries\\GermanBig.dic", u"Dictionaries\\de-ru_full.dic"},
    {u"Dictionaries\\English.dic", u"Dictionaries\\en-ru_full.dic"},
    {u"Dictionaries\\German.dic", u"Dictionaries\\de-ru_full.dic"},
};

constexpr int kMaxSources = 32;

void DeleteFile(const std::u16string& path) {
  std::error_code ec;
  std::filesystem::remove(API::ToFsPath(path), ec);
}

// A number of the settings store's "Main" section; fallback when it is not one.
std::int32_t StoredNumber(std::u16string_view name, std::u16string_view defaultValue, std::int32_t fallback) {
  std::int64_t n = 0;
  if (!ParseInt64(GetSetting(u"Main", name, defaultValue), n) || n < INT32_MIN || n > INT32_MAX) return fallback;
  return static_cast<std::int32_t>(n);
}

class DicLoader {
 public:
  explicit DicLoader(Appl& app) : app_(app) {
    if (G().gSetting) {
      appFolder_ = G().gSetting->AppFolder;
      dicPath_ = G().gSetting->DicPath;
    }
  }

  void Run() {
    G().gPrefixes.Clear();
    app_.ColDics.Clear();
    G().gDicVoices = MakeDicVoiceSource(app_.ColDics);  // the voice settings reach them here
    app_.CloseByteFile();
    MigrateOldFiles();
    std::vector<std::u16string> list;
    for (const auto* filter : {u"*_full.dic", u"*_common.dic"}) {
      std::vector<std::u16string> group;
      for (const auto& file : app_.GetFiles(API::ToFsPath(dicPath_), filter)) group.push_back(file.u16string());
      // Name order whatever order the file system lists them in, so that "Dic" and "DicDir" &
      // Index name the same package on every start and every platform.
      std::stable_sort(group.begin(), group.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareDictOrder(API::GetFileName(a), API::GetFileName(b)) < 0;
      });
      list.insert(list.end(), group.begin(), group.end());
    }
    G().gLayers.Clear();
    std::shared_ptr<clsDic> last;
    for (std::size_t i = 0; i < list.size(); ++i) last = Load(list[i], static_cast<std::int32_t>(i) + 1);
    G().gCurDic = last;
    BuildLanguages();
    if (!chosen_) ChooseFirstVisible();
    ShowKeyboardLabels();
    app_.LoadUserSwitch();
    if (app_.MainServices) app_.MainServices->LoadDicButtons();
    if (!skipped_.empty() && app_.MainServices) {
      app_.MainServices->Info(app_.LZ(lang::kInfoDicsSkipped) + u" " + JoinText(skipped_, u", "), false);
    }
  }

 private:
  void MigrateOldFiles() {
    const std::u16string program = System().ProgramFolder();
    const std::u16string own = API::JoinPath(program, u"Dictionaries");
    // The installation's old files move into its own dictionary folder; a loader pointed at
    // another folder (dictool's) leaves the folders around it as they are.
    if (!EqualsNoCase(dicPath_, own)) return;
    API::CreateFolderPath(own);
    for (const auto& pair : kMigrations) app_.RemoveOldFiles(pair[0], pair[1]);
    std::error_code ec;
    std::filesystem::remove(API::ToFsPath(API::JoinPath(program, u"Demo")), ec);  // only when empty
  }

  std::shared_ptr<clsDic> Load(const std::u16string& path, std::int32_t index) {
    auto dic = std::make_shared<clsDic>();
    dic->path = path;
    dic->FileTitle = API::GetFileBaseName(path);
    const std::u16string info = ReadInfo(*dic);
    LoadFlags(*dic);
    ReadSettings(*dic, info);
    dic->Index = index;
    // Opened first: whether it can be used decides whether it may become current or be paired.
    OpenForRecords(*dic);
    const bool usable = Usable(*dic, info) && PackageWhole(app_, *dic);
    if (!usable) skipped_.push_back(API::GetFileName(path));
    // The direction first: choosing the dictionary tells it in the info line.
    dic->Direction(StoredNumber(u"DicDir" + NumberText(index), u"0", 0));
    if (usable && StoredNumber(u"Dic", u"1", 0) == index) {
      dic->SetEnabled(true);
      chosen_ = true;
    }
    LoadLayers(*dic);
    ReadPrefixes(Member(*dic, u"Prefix"), dic->Layout1, dic->Layout2, G().gPrefixes);
    ReadReplaceRules(Member(*dic, u"Replace"), *dic->SfxCol);
    ReadThemes(Member(*dic, u"Themes"), *dic->Themes);
    // A package that cannot be read stays loaded, so that the stored indexes keep their
    // packages, but is offered nowhere: no button, no language, never current, never paired.
    dic->Visible = usable;
    dic->Demo = Like(dic->FileTitle, u"*_common", MatchCase::Blind);
    if (dic->Demo && usable) PairWithFull(dic);
    app_.ColDics.Add(dic->path, dic);
    DeleteFile(dic->IcoFile);
    return dic;
  }

  // Open, with a readable "Info" or a word index: a 0-byte, damaged or locked file has neither. A
  // cut-short copy may keep its "Info"; PackageWhole tells it by its record of the file's length
  // and by its sections.
  static bool Usable(const clsDic& dic, std::u16string_view info) {
    return dic.FileN != 0 && (!info.empty() || (dic.Words > 0 && dic.WordsHashUB >= 0));
  }

  std::u16string Member(const clsDic& dic, std::u16string_view name) {
    return app_.ExtractFile(API::ToFsPath(dic.path), name);
  }

  // The package kind: a Unicode package has its "Info" under the Unicode key. The flag stays set
  // for every further member of this package.
  std::u16string ReadInfo(clsDic& dic) {
    G().gUnicode = true;
    std::u16string info = Member(dic, u"Info");
    dic.Unicode = !info.empty();
    if (!dic.Unicode) {
      G().gUnicode = false;
      info = Member(dic, u"Info");
    }
    return info;
  }

  std::shared_ptr<Picture> LoadPictureMember(const clsDic& dic, std::u16string_view name, const std::u16string& file) {
    // A missing member loads no picture: no file is written and read back for it.
    if (app_.ExtractBytes(API::ToFsPath(dic.path), name).empty()) return nullptr;
    app_.ExtractFile(API::ToFsPath(dic.path), name, API::ToFsPath(file));
    return Pictures().LoadPicture(API::ToFsPath(file));
  }

  void LoadFlags(clsDic& dic) {
    dic.IcoFile = API::JoinPath(appFolder_, u"~" + dic.FileTitle + u"_ico.tmp");
    std::shared_ptr<Picture>* targets[] = {&dic.Icon, &dic.Icon1, &dic.Icon2};
    const char16_t* names[] = {u"Icon", u"Icon1", u"Icon2"};
    for (int k = 0; k < 3; ++k) {
      *targets[k] = LoadPictureMember(dic, names[k], dic.IcoFile);
      DeleteFile(dic.IcoFile);
    }
  }

  static std::int32_t LongValue(clsINI& ini, std::u16string_view key) {
    std::int32_t n = 0;
    return ini.Value(key).ToLong(n) ? n : 0;
  }
  static bool BoolValue(clsINI& ini, std::u16string_view key) {
    bool b = false;
    return ini.Value(key).ToBool(b) && b;
  }

  void ReadSettings(clsDic& dic, std::u16string_view info) {
    clsINI ini;
    ini.SetSettingText(info);
    ini.Section(u"Main");
    dic.Name = ini.Value(u"ShortName").ToText();
    dic.Lang1 = ini.Value(u"Lang1").ToText();
    dic.Lang2 = ini.Value(u"Lang2").ToText();
    dic.CharSet1 = ini.Value(u"CharSet1").ToText();
    dic.CharSet2 = ini.Value(u"CharSet2").ToText();
    dic.Layout1 = LongValue(ini, u"Layout1");
    dic.Layout2 = LongValue(ini, u"Layout2");
    dic.SupportDirection = BoolValue(ini, u"SupportDirection");
    dic.FullDicFile = ini.Value(u"FullDicFile").ToText();
    dic.SupportRech = BoolValue(ini, u"SupportRech");
    ReadSources(dic, ini);
  }

  static std::shared_ptr<clsDicSrc> SourceOfSection(clsINI& ini) {
    auto src = std::make_shared<clsDicSrc>();
    src->LangID = LongValue(ini, u"LangID");
    src->Language1 = ini.Value(u"Language1").ToText();
    src->Language2 = ini.Value(u"Language2").ToText();
    src->Name = ini.Value(u"FullName").ToText();
    return src;
  }

  // "Src" & 1 ... up to the first gap, then a fallback source 0 named by the section current
  // after them.
  void ReadSources(clsDic& dic, clsINI& ini) {
    dic.Srcs = std::make_shared<SrcCollection>();
    for (int n = 1; n <= kMaxSources; ++n) {
      const std::u16string section = u"Src" + NumberText(n);
      if (!ini.SectionExists(section)) break;
      ini.Section(section);
      auto src = SourceOfSection(ini);
      const std::u16string help = Member(dic, u"TranscrHelp" + NumberText(src->LangID));
      if (!help.empty()) {
        dic.HaveTranscrHelp = true;
        src->TranscrHelp = SplitText(help, u"\r\n");
      }
      const std::u16string key = API::MakeKey(src->LangID);
      dic.Srcs->Add(key, std::move(src));
    }
    auto fallback = SourceOfSection(ini);
    fallback->LangID = 0;
    dic.Srcs->Add(u"k0", std::move(fallback));
  }

  void LoadLayers(const clsDic& dic) {
    const std::u16string temp = API::JoinPath(appFolder_, u"~Layer.gif");
    const struct {
      const std::u16string& lang;
      const std::u16string& charSet;
      std::int32_t layout;
    } sides[] = {{dic.Lang1, dic.CharSet1, dic.Layout1}, {dic.Lang2, dic.CharSet2, dic.Layout2}};
    for (const auto& side : sides) {
      if (side.lang.empty()) continue;
      auto layer = std::make_shared<clsLayer>();
      layer->Lang = side.lang;
      layer->CharSet = side.charSet;
      layer->Layout = side.layout;
      for (int k = 1; k <= 3; ++k) {
        DeleteFile(temp);
        const std::u16string name = side.lang + NumberText(k);
        if (auto picture = LoadPictureMember(dic, name, temp)) layer->Layers.Add(name, std::move(picture));
      }
      G().gLayers.Add(side.lang, std::move(layer));  // an earlier dictionary's layer stays
    }
    DeleteFile(temp);
  }

  void PairWithFull(const std::shared_ptr<clsDic>& common) {
    const std::u16string fileName = API::GetFileName(common->path);
    const std::u16string folder = common->path.substr(0, common->path.size() - fileName.size());
    const std::u16string prefix = API::GetTextBefore(common->FileTitle, u"_");
    auto* found = app_.ColDics.Find(folder + prefix + u"_full.dic");
    // A full package that cannot be read leaves its common twin to serve alone.
    if (!found || !*found || !(*found)->Visible) return;
    const std::shared_ptr<clsDic> full = *found;
    full->Dicx = common;
    common->FullDic = full;
    if (common->Enabled) {
      // The common package is not in ColDics yet, so SetEnabled cannot clear it: one current
      // dictionary only.
      full->SetEnabled(false);
      common->Enabled = false;
    }
    common->Visible = false;
    common->Direction(full->Direction());
    full->HaveTranscrHelp = common->HaveTranscrHelp;
    full->Icon = common->Icon;
    full->Icon1 = common->Icon1;
    full->Icon2 = common->Icon2;
    full->SfxCol = common->SfxCol;
    if (full->Layout1 == 0 && full->Layout2 == 0 && common->Layout1 != 0 && common->Layout2 != 0) {
      full->Layout1 = common->Layout1;
      full->Layout2 = common->Layout2;
      full->Lang1 = common->Lang1;
      full->Lang2 = common->Lang2;
    }
    if (full->Srcs->Count() < common->Srcs->Count()) full->Srcs = common->Srcs;
  }

  void OpenForRecords(clsDic& dic) {
    dic.FileN = app_.OpenFiles().OpenRead(API::ToFsPath(dic.path));
    const PackageFile& file = app_.OpenFiles().Reader(dic.FileN);
    dic.FileLen = static_cast<std::int32_t>(std::min<std::int64_t>(file.Size(), INT32_MAX));
    ReadSectionBounds(app_, dic);
  }

 public:
  bool SetAsideDamaged() {
    for (const auto& dic : app_.ColDics) {
      const auto full = dic ? dic->FullDic.lock() : nullptr;
      if (!dic || !dic->Damaged() || !(dic->Visible || dic->Enabled || dic->Dicx || full)) continue;
      // The twin serves alone: a common package hidden behind this one comes forward, a full
      // package in front of this one keeps its own records only.
      const std::shared_ptr<clsDic> twin = dic->Dicx ? dic->Dicx : full;
      if (dic->Dicx) {
        dic->Dicx->FullDic.reset();
        dic->Dicx->Visible = true;
        dic->Dicx = nullptr;
      }
      if (full) {
        full->Dicx = nullptr;
        dic->FullDic.reset();
      }
      dic->Visible = false;
      if (dic->Enabled || app_.Dic == dic) {
        dic->Enabled = false;
        ServeInsteadOf(twin);
      }
      skipped_.push_back(API::GetFileName(dic->path));
    }
    if (skipped_.empty()) return false;
    BuildLanguages();
    if (app_.MainServices) {
      app_.MainServices->LoadDicButtons();
      app_.MainServices->Info(app_.LZ(lang::kInfoDicsSkipped) + u" " + JoinText(skipped_, u", "), false);
    }
    return true;
  }

 private:
  // A current package set aside: its twin when it can serve, else the first visible one, else none.
  void ServeInsteadOf(const std::shared_ptr<clsDic>& twin) {
    if (twin && twin->Visible) return twin->ServeInstead();
    for (const auto& dic : app_.ColDics) {
      if (dic && dic->Visible) return dic->ServeInstead();
    }
    app_.Dic = nullptr;
    G().gCurDic = nullptr;
  }

  void BuildLanguages() {
    app_.DicLanguages.Clear();
    for (const auto& dic : app_.ColDics) {
      if (!dic->Visible) continue;
      AddLanguage(dic, dic->Lang1, 1);
      AddLanguage(dic, dic->Lang2, 2);
    }
  }

  void AddLanguage(const std::shared_ptr<clsDic>& dic, const std::u16string& code, std::int32_t side) {
    auto* lang = app_.DicLanguages.Find(code);
    if (!lang) {
      auto created = std::make_shared<clsDicLang>();
      created->Lang = code;
      app_.DicLanguages.Add(code, created);
      lang = app_.DicLanguages.Find(code);
    }
    auto item = std::make_shared<clsDicLangItem>();
    item->Dic = dic;
    item->Dir = side;
    (*lang)->Dics.AddUnkeyed(std::move(item));
  }

  void ChooseFirstVisible() {
    // A stored choice of a package that cannot be used now is the user's still: kept for the
    // start that finds the package whole again.
    const std::int32_t stored = StoredNumber(u"Dic", u"1", 0);
    const bool keep = stored >= 1 && static_cast<std::size_t>(stored) <= app_.ColDics.Count();
    for (const auto& dic : app_.ColDics) {
      if (!dic->Visible) continue;
      if (keep) {
        dic->ServeInstead();
      } else {
        dic->SetEnabled(false);
      }
      return;
    }
  }

  void ShowKeyboardLabels() {
    if (!app_.Keyb || G().gLayers.Empty()) return;
    std::int32_t k = 0;
    for (const auto& layer : G().gLayers) app_.Keyb->LoadLangLabel(++k, layer->Lang);
    app_.Keyb->HideTemplateLabel();
    app_.Keyb->SetLang(1);
  }

  Appl& app_;
  std::u16string appFolder_;
  std::u16string dicPath_;
  bool chosen_ = false;
  std::vector<std::u16string> skipped_;  // file names of the packages that cannot be used
};

}  // namespace

void Appl::InitDics() { DicLoader(*this).Run(); }
bool Appl::SetAsideDamaged() { return DicLoader(*this).SetAsideDamaged(); }

void Appl::RemoveOldFiles(std::u16string_view oldName, std::u16string_view newName) {
  const std::u16string program = System().ProgramFolder();
  const auto oldPath = API::ToFsPath(API::JoinPath(program, oldName));
  const auto newPath = API::ToFsPath(API::JoinPath(program, newName));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(oldPath, ec)) return;
  if (std::filesystem::exists(newPath, ec)) {
    std::filesystem::remove(oldPath, ec);
  } else {
    std::filesystem::rename(oldPath, newPath, ec);
  }
}

}  // namespace parlavent
