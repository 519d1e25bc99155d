#include "platform/process_list.h"

namespace parlavent {

std::int32_t clsProccess::GetActiveProcess() {
  snapshot_ = Processes().Take();
  return static_cast<std::int32_t>(snapshot_.size());
}

std::u16string clsProccess::szExeFile(std::int32_t Index) const {
  if (Index < 0 || static_cast<std::size_t>(Index) >= snapshot_.size()) return {};
  return snapshot_[static_cast<std::size_t>(Index)].exeFile;
}

std::u16string clsProccess::GetExe(std::int32_t i, std::u16string& RetPath) const {
  RetPath.clear();
  if (i < 0 || static_cast<std::size_t>(i) >= snapshot_.size()) return {};
  RetPath = snapshot_[static_cast<std::size_t>(i)].fullPath.substr(0, 256);
  return RetPath;
}

}  // namespace parlavent
