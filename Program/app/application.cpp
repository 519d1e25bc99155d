#include "app/application.h"

#include <cstdlib>

#include "app/main_form.h"
#include "dictionary/lookup.h"
#include "dictionary/package_files.h"
#include "dictionary/searches.h"

namespace parlavent {
namespace {
Appl* current = nullptr;
}  // namespace

Appl::Appl()
    : files_(std::make_unique<PackageFiles>(State, ByteFileN, ByteFileLen)),
      searches_(std::make_unique<Searches>(State, *files_, State.gSetting)),
      lookup_(std::make_unique<Lookup>(
          State, *searches_, State.gSetting, Lookup::Slots{Dic, WordSet, TransAbort, frmBusy},
          [this](std::int32_t n) { return LZ(n); },
          [this](std::int32_t ID, std::u16string_view Text) { ShowNotify(ID, Text, true, true, false, false); })) {}
Appl::~Appl() {
  if (current == this) current = nullptr;
}

Appl& gAppl() {
  // Every caller runs after Main or a test has installed the object; without one there is nothing
  // sensible to return, and a silent fresh object would hide the fault.
  if (!current) std::abort();
  return *current;
}

void SetAppl(Appl* app) { current = app; }
bool HasAppl() { return current != nullptr; }

}  // namespace parlavent
