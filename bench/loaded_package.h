#pragma once
// One application object with one package opened as the current dictionary, its ending rules
// read, and the settings the look-up reads as start-up leaves them: the setting of the look-up
// and word-list benchmarks.
#include <memory>

#include "app/application.h"
#include "dictionary/dictionary.h"
#include "dictionary/engine.h"
#include "foundation/settings_object.h"

namespace parlavent {

class LoadedPackage {
 public:
  explicit LoadedPackage(const char* path) : previous_(HasAppl() ? &gAppl() : nullptr) {
    SetAppl(&app_);
    if (!path) return;
    auto sett = std::make_shared<Setting>();
    SetLookupDefaults(*sett);
    app_.Sett = sett;
    app_.State.gSetting = sett;
    app_.State.gNotRepeatTrans = true;
    app_.Dic = OpenLookupDic(app_.Files(), path);
  }
  ~LoadedPackage() { SetAppl(previous_); }
  Appl& app() { return app_; }
  bool ok() const { return app_.Dic != nullptr; }

 private:
  Appl* previous_;
  Appl app_;
};

}  // namespace parlavent
