#pragma once
// Where the build assembles the installation folder: "Parlavent" beside this test program's folder.
#include <windows.h>

#include <string>

namespace parlavent::testing {

inline std::wstring InstallFolderW() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L"\\/"));
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"Parlavent";
}

}  // namespace parlavent::testing
