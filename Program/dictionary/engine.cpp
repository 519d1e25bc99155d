#include "dictionary/engine.h"

#include "dictionary/dic_members.h"
#include "dictionary/dictionary.h"
#include "dictionary/package_file.h"
#include "dictionary/result_tree.h"
#include "dictionary/sections.h"
#include "foundation/settings_object.h"
#include "platform/code_page.h"

namespace parlavent {

std::shared_ptr<clsDic> OpenLookupDic(PackageFiles& files, const std::filesystem::path& path) {
  auto dic = OpenPackageDic(files, path);
  if (!dic) return nullptr;
  const PackageFile package = PackageFile::Open(path);
  const bool unicode = dic->Unicode;
  ReadReplaceRules(DecodePackageText(package.Member(u"Replace", unicode, AnsiCodePage()), unicode, AnsiCodePage()),
                   *dic->SfxCol);
  return dic;
}

void SetLookupDefaults(Setting& settings) {
  settings.ShowComment = true;
  settings.ShowTranscript = true;
  settings.GlbAllowShort = true;
  settings.ExtTransString = u"»»»";
}

// The engine's settings and transcriptions while the engine lives; nothing afterwards.
class DictionaryEngine::Trees final : public TreeEnvironment {
 public:
  explicit Trees(DictionaryEngine& engine) : engine_(&engine) {}
  void Detach() { engine_ = nullptr; }
  const Setting* Settings() override { return engine_ ? engine_->Settings.get() : nullptr; }
  std::u16string Text(std::int32_t) override { return {}; }
  std::u16string Transcript(std::u16string_view word) override {
    return engine_ ? engine_->Search.GetTranscript(word, engine_->Dic) : std::u16string();
  }

 private:
  DictionaryEngine* engine_;
};

DictionaryEngine::DictionaryEngine() : trees_(std::make_shared<Trees>(*this)) { Look.SetTrees(trees_); }

DictionaryEngine::~DictionaryEngine() { trees_->Detach(); }

std::shared_ptr<clsDic> DictionaryEngine::OpenCurrent(const std::filesystem::path& path) {
  auto dic = OpenLookupDic(Files, path);
  if (!dic) return nullptr;
  dic->Enabled = true;
  Dic = dic;
  State.gCurDic = dic;
  return dic;
}

}  // namespace parlavent
