#pragma once
// The per-user settings files of the Wine user (%APPDATA%\Parlavent): read by tests, and put back
// as they were when a test that writes them ends, so that later tests start from the same files.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace parlavent::testing {

inline std::wstring UserFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  return std::wstring(appData ? appData : L"") + L"\\Parlavent";
}

/// The bytes of a file of the per-user folder ("" when there is none).
inline std::string UserFileBytes(const std::wstring& name) {
  std::ifstream in(std::filesystem::path(UserFolder() + L"\\" + name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Keeps Parlavent.ini and WhiteList.inf as they are now and puts them back when it ends.
class KeptUserFiles {
 public:
  KeptUserFiles() {
    for (const wchar_t* name : kNames) {
      const std::filesystem::path path(UserFolder() + L"\\" + name);
      std::error_code ec;
      kept_.push_back({path, std::filesystem::exists(path, ec), UserFileBytes(name)});
    }
  }
  ~KeptUserFiles() {
    for (const Kept& k : kept_) {
      std::error_code ec;
      if (k.existed) {
        std::ofstream(k.path, std::ios::binary | std::ios::trunc) << k.bytes;
      } else {
        std::filesystem::remove(k.path, ec);
      }
    }
  }
  KeptUserFiles(const KeptUserFiles&) = delete;
  KeptUserFiles& operator=(const KeptUserFiles&) = delete;

 private:
  static constexpr const wchar_t* kNames[] = {L"Parlavent.ini", L"WhiteList.inf"};
  struct Kept {
    std::filesystem::path path;
    bool existed;
    std::string bytes;
  };
  std::vector<Kept> kept_;
};

}  // namespace parlavent::testing
