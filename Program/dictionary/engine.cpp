#include "dictionary/engine.h"

#include "dictionary/dictionary.h"
#include "dictionary/sections.h"

namespace parlavent {

std::shared_ptr<clsDic> DictionaryEngine::OpenCurrent(const std::filesystem::path& path) {
  auto dic = OpenPackageDic(Files, path);
  if (!dic) return nullptr;
  dic->Enabled = true;
  State.gCurDic = dic;
  return dic;
}

}  // namespace parlavent
