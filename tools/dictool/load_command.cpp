// dictool load FOLDER: one line per dictionary in ColDics order, TAB-separated:
//   Index, file name, FileTitle, Name, Lang1, Lang2, Unicode, Visible, Demo, Enabled, direction,
//   Words, number of Srcs, of SfxCol items, of Themes, FileTitle of Dicx, FileTitle of FullDic
// then one line per language of DicLanguages: the code, then Index:side of each of its
// dictionaries.
#include "load_command.h"

#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "foundation/settings_object.h"
#include "platform/settings_store.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent::dictool {
namespace {

std::u16string Bool(bool b) { return b ? u"True" : u"False"; }

std::u16string TitleOf(const std::shared_ptr<clsDic>& dic) { return dic ? dic->FileTitle : std::u16string(); }

std::u16string DictionaryLine(const clsDic& dic) {
  const std::vector<std::u16string> fields = {
      NumberText(dic.Index),
      std::filesystem::path(dic.path).filename().u16string(),
      dic.FileTitle,
      dic.Name,
      dic.Lang1,
      dic.Lang2,
      Bool(dic.Unicode),
      Bool(dic.Visible),
      Bool(dic.Demo),
      Bool(dic.Enabled),
      NumberText(dic.Direction()),
      NumberText(dic.Words),
      NumberText(static_cast<std::int64_t>(dic.Srcs ? dic.Srcs->Count() : 0)),
      NumberText(static_cast<std::int64_t>(dic.SfxCol ? dic.SfxCol->Count() : 0)),
      NumberText(static_cast<std::int64_t>(dic.Themes ? dic.Themes->Count() : 0)),
      TitleOf(dic.Dicx),
      TitleOf(dic.FullDic.lock()),
  };
  return JoinText(fields, u"\t");
}

std::u16string LanguageLine(const clsDicLang& lang) {
  std::vector<std::u16string> fields = {lang.Lang};
  for (const auto& item : lang.Dics) {
    fields.push_back(NumberText(item->Dic ? item->Dic->Index : 0) + u":" + NumberText(item->Dir));
  }
  return JoinText(fields, u"\t");
}

// Loading creates and migrates files in the program folder: here the folder above the dictionary
// folder. Nothing else of the system is asked.
class FolderSystem final : public SystemInfo {
 public:
  explicit FolderSystem(std::u16string programFolder) : programFolder_(std::move(programFolder)) {}
  std::u16string ProgramFolder() override { return programFolder_; }
  std::u16string ExeName() override { return u"Parlavent"; }
  std::u16string Title() override { return u"Parlavent"; }
  std::u16string EnvironmentVariable(std::u16string_view) override { return {}; }
  std::u16string TempFolder() override { return {}; }
  std::u16string SystemFolder() override { return {}; }
  WindowsVersionInfo WindowsVersion() override { return {}; }
  VersionNumbers AppVersion() override { return {}; }
  int FileVersionStrings(std::u16string_view, FileVersionRecord&) override { return 2; }
  std::vector<std::u16string> FontNames(std::uintptr_t) override { return {}; }
  double FileDateCreated(std::u16string_view) override { return 0; }

 private:
  std::u16string programFolder_;
};

// The user's folder: loading passes the flag and layer pictures through temporary files there
// and reads the user's layout statistics ("trl.dat") from it. dictool shows no pictures and
// reads no user's statistics, so it names a folder that nobody has made and makes none itself:
// the pictures stay unset and nothing is written. Making and removing a folder cost a
// look-up in a process of its own more than the look-up.
std::filesystem::path UnmadeFolder() {
  std::random_device random;
  return std::filesystem::temp_directory_path() / ("dictool-load-" + std::to_string(random()));
}

}  // namespace

int WithLoadedFolder(const std::filesystem::path& folder, const std::function<int(Appl&)>& use) {
  // Loading writes the chosen dictionary into the settings store: keep the user's untouched.
  SetUserSettings(std::make_shared<MemorySettingsStore>());
  std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
  if (!absolute.has_filename()) absolute = absolute.parent_path();
  SetSystem(std::make_shared<FolderSystem>(absolute.parent_path().u16string()));
  int result = 0;
  {
    Appl app;
    SetAppl(&app);
    app.Sett = std::make_shared<Setting>();
    app.Sett->DicPath = absolute.u16string();
    app.Sett->AppFolder = UnmadeFolder().u16string();
    app.State.gSetting = app.Sett;
    app.InitDics();
    result = use(app);
    app.CloseByteFile();
    SetAppl(nullptr);
  }
  return result;
}

int LoadFolder(const std::filesystem::path& folder, std::ostream& out) {
  return WithLoadedFolder(folder, [&out](Appl& app) {
    for (const auto& dic : app.ColDics) out << ToUtf8(DictionaryLine(*dic)) << '\n';
    for (const auto& lang : app.DicLanguages) out << ToUtf8(LanguageLine(*lang)) << '\n';
    return out ? 0 : 1;
  });
}

}  // namespace parlavent::dictool
