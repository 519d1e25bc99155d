#include "dictionary/dictionary.h"

#include "dictionary/lookup_deps.h"
#include "foundation/api_strings.h"
#include "foundation/settings_object.h"
#include "platform/picture.h"
#include "text/text.h"

namespace parlavent {
namespace {

// The interface-language number the sources are chosen by.
std::int32_t InterfaceLanguage() {
  const Setting* settings = lookup::Settings();
  return settings ? settings->CurLang : 0;
}

std::shared_ptr<clsDicSrc> FindSrc(const SrcCollection& srcs, std::int32_t langId) {
  const auto* src = srcs.Find(API::MakeKey(langId));
  return src ? *src : nullptr;
}

}  // namespace

std::shared_ptr<Picture> clsDic::Flag() const {
  if (!SupportDirection) return Icon;
  switch (direction_) {
    case 0: return Icon;
    case 1: return Icon1;
    case 2: return Icon2;
    default: return nullptr;
  }
}

std::vector<std::u16string> clsDic::GetTranscrHelp() const {
  if (!HaveTranscrHelp) return {};
  const auto src = GetSrc();
  if (src && !src->TranscrHelp.empty()) return src->TranscrHelp;
  if (Dicx && Dicx->HaveTranscrHelp) {
    if (const auto other = Dicx->GetSrc()) return other->TranscrHelp;
  }
  return {};
}

std::shared_ptr<clsDic> clsDic::GetDemoDic() {
  if (Dicx) return Dicx;
  return shared_from_this();
}

void clsDic::Direction(std::int32_t value) {
  direction_ = value;
  if (Dicx) Dicx->Direction(value);
}

std::shared_ptr<clsDicSrc> clsDic::GetSrc() const {
  if (!Srcs) return nullptr;
  if (auto src = FindSrc(*Srcs, InterfaceLanguage())) return src;
  return FindSrc(*Srcs, 0);
}

std::shared_ptr<clsTheme> clsDic::GetTheme(std::int32_t ID) const {
  if (!Themes) return nullptr;
  const auto* theme = Themes->Find(API::MakeKey(ID));
  return theme ? *theme : nullptr;
}

std::u16string clsDic::GetDirStr() const {
  const auto src = GetSrc();
  if (!src) return {};
  if (!SupportDirection) return src->Name;
  switch (direction_) {
    case 0: return src->Language1 + u" <-> " + src->Language2;
    case 1: return src->Language1 + u" --> " + src->Language2;
    case 2: return src->Language2 + u" --> " + src->Language1;
    default: return {};
  }
}

std::u16string clsDicLang::Name() const {
  const auto* first = Dics.ItemAt(1);
  if (!first || !*first || !(*first)->Dic) return {};
  const auto src = (*first)->Dic->GetSrc();
  if (!src) return {};
  return (*first)->Dir == 1 ? src->Language1 : src->Language2;
}

std::shared_ptr<clsDic> clsDicLang::GetDic(std::int32_t Index) const {
  const auto* item = Index > 0 ? Dics.ItemAt(static_cast<std::size_t>(Index)) : nullptr;
  return item && *item ? (*item)->Dic : nullptr;
}

std::int32_t clsDicLang::GetDir(std::int32_t Index) const {
  const auto* item = Index > 0 ? Dics.ItemAt(static_cast<std::size_t>(Index)) : nullptr;
  return item && *item ? (*item)->Dir : 0;
}


}  // namespace parlavent
