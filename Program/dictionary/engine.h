#pragma once
// The dictionary engine on its own: its state, the open package files, the searches and the
// look-up, for the tools, benchmarks, fuzz targets and tests that read packages without an
// application object. The program's application object holds the same parts (Appl::Files,
// Appl::Search, Appl::LookupEngine). The result trees of the engine's look-ups read the engine's
// settings and transcriptions, and have no interface texts; once the engine is gone they read
// none.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "dictionary/engine_state.h"
#include "dictionary/lookup.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"

namespace parlavent {

class BusyIndicator;
class Setting;
class WordSet;
class clsDic;

/// Opens one package as a dictionary (OpenPackageDic) with its ending rules ("Replace"), as the
/// look-up needs it; nullptr when the file cannot be opened.
std::shared_ptr<clsDic> OpenLookupDic(PackageFiles& files, const std::filesystem::path& path);

/// The settings the look-up reads, as start-up leaves them with the default settings file:
/// comments and transcriptions shown, short translations allowed, the extended-translation marker.
void SetLookupDefaults(Setting& settings);

class DictionaryEngine {
 public:
  DictionaryEngine();
  ~DictionaryEngine();
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

  // What the look-up keeps between calls: the current dictionary, the last result, the abort
  // flag and a busy indicator (none unless a caller gives one).
  std::shared_ptr<clsDic> Dic;
  std::shared_ptr<WordSet> Result;
  bool Abort = false;
  std::shared_ptr<BusyIndicator> Busy;
  Lookup Look{State, Search, Settings, Lookup::Slots{Dic, Result, Abort, Busy}};

  /// Opens the package at path with its ending rules as the current dictionary (Dic, gCurDic,
  /// Enabled); nullptr when it cannot be opened. It stays open until the engine goes.
  std::shared_ptr<clsDic> OpenCurrent(const std::filesystem::path& path);

 private:
  class Trees;
  std::shared_ptr<Trees> trees_;  // what the result trees read; they may outlive the engine
};

}  // namespace parlavent
