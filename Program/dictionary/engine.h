#pragma once
// The dictionary engine on its own: its state, the open package files and the searches, for the
// tools, benchmarks, fuzz targets and tests that read packages without an application object.
// The program's application object holds the same parts (Appl::Files, Appl::Search).
#include <cstdint>
#include <filesystem>
#include <memory>

#include "dictionary/engine_state.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"

namespace parlavent {

class Setting;
class clsDic;

class DictionaryEngine {
 public:
  DictionaryEngine() = default;
  DictionaryEngine(const DictionaryEngine&) = delete;
  DictionaryEngine& operator=(const DictionaryEngine&) = delete;

 private:
  std::int32_t byteFileN_ = 0;
  std::int32_t byteFileLen_ = 0;

 public:
  EngineState State;
  /// The settings the searches read; empty unless a caller gives some.
  std::shared_ptr<Setting> Settings;
  PackageFiles Files{State, byteFileN_, byteFileLen_};
  Searches Search{State, Files, Settings};

  /// Opens the package at path as the current dictionary (gCurDic, Enabled); nullptr when it
  /// cannot be opened. It stays open until the engine goes.
  std::shared_ptr<clsDic> OpenCurrent(const std::filesystem::path& path);
};

}  // namespace parlavent
