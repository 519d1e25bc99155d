#pragma once
// A fresh application with its settings object, a program folder and a per-user folder of its
// own, an in-memory settings store and a scripted command line.
#include <filesystem>
#include <string>

#include "foundation/settings_object.h"
#include "support/app_fixture.h"
#include "support/fake_process.h"
#include "support/fake_system.h"

namespace parlavent::testing {

class SettingsTest : public AppTest {
 protected:
  SettingsTest() {
    system->programFolder = program.Text();
    system->environment[u"AppData"] = appData.Text();
    CreateSettings(app);
  }

  Setting& Sett() { return *app.Sett; }
  std::filesystem::path UserFolder() const { return appData.path() / "Parlavent"; }
  std::filesystem::path UserFile() const { return UserFolder() / "Parlavent.ini"; }
  void WriteUserFile(std::string_view text) { WriteBytes(UserFile(), text); }
  std::string UserText() const { return ReadBytes(UserFile()); }
  void Store(std::u16string_view section, std::u16string_view name, std::u16string_view value) {
    SaveSetting(section, name, value);
  }

  TempDir program;
  TempDir appData;
  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
  std::shared_ptr<FakeProcess> process = std::make_shared<FakeProcess>();
  std::shared_ptr<MemorySettingsStore> store = std::make_shared<MemorySettingsStore>();
  ScopedSystem systemScope{system};
  ScopedProcess processScope{process};
  ScopedUserSettings storeScope{store};
};

}  // namespace parlavent::testing
