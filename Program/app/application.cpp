#include "app/application.h"

#include <cstdlib>

#include "app/main_form.h"
#include "app/view_host.h"
#include "dictionary/lookup.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"
#include "foundation/host.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"

namespace parlavent {
namespace {
Appl* current = nullptr;

class ApplFoundationHost final : public FoundationHost {
 public:
  explicit ApplFoundationHost(Appl& app) : app_(app) {}
  FoundationState& State() override { return app_.State; }
  Setting* Settings() override { return app_.Sett.get(); }
  std::vector<std::u16string>& Languages() override { return app_.Languages; }
  KeyedCollection<std::shared_ptr<clsVoice>>& Voices() override { return app_.Voices; }
  std::shared_ptr<clsVoice>& DefVoice() override { return app_.DefVoice; }
  bool SpeechEnabled() override { return app_.SAPIEnabled; }
  std::int32_t SpeechVoiceCount() override { return app_.SAPIVoices; }
  void StartBackTransTimer(std::u16string_view text) override { app_.ViewServices().StartBackTransTimer(text); }
  void CopyText(std::u16string_view text, bool show) override { app_.ViewServices().CopyText(text, show); }

 private:
  Appl& app_;
};

}  // namespace

Appl::Appl()
    : files_(std::make_unique<PackageFiles>(State, ByteFileN, ByteFileLen)),
      searches_(std::make_unique<Searches>(State, *files_, State.gSetting)),
      lookup_(std::make_unique<Lookup>(
          State, *searches_, State.gSetting, Lookup::Slots{Dic, WordSet, TransAbort, frmBusy},
          [this](std::int32_t n) { return LZ(n); },
          [this](std::int32_t ID, std::u16string_view Text) { ShowNotify(ID, Text, true, true, false, false); })),
      foundationHost_(std::make_unique<ApplFoundationHost>(*this)) {}

Appl::~Appl() {
  if (current == this) SetAppl(nullptr);
}

Appl& gAppl() {
  // Every caller runs after Main or a test has installed the object; without one there is nothing
  // sensible to return, and a silent fresh object would hide the fault.
  if (!current) std::abort();
  return *current;
}

void SetAppl(Appl* app) {
  current = app;
  SetFoundationHost(app ? app->foundationHost_.get() : nullptr);
}
bool HasAppl() { return current != nullptr; }

std::u16string Appl::LZ(std::int32_t n) { return mdlPublic::GetLangStr(n); }

std::shared_ptr<Setting> CreateSettings(Appl& app) {
  app.Sett = std::make_shared<Setting>();
  app.State.gSetting = app.Sett;
  return app.Sett;
}

}  // namespace parlavent
