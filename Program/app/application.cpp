#include "app/application.h"

#include <cstdlib>

#include "dictionary/package_files.h"
#include "dictionary/searches.h"

namespace parlavent {
namespace {
Appl* current = nullptr;
}  // namespace

Appl::Appl()
    : files_(std::make_unique<PackageFiles>(State, ByteFileN, ByteFileLen)),
      searches_(std::make_unique<Searches>(State, *files_, State.gSetting)) {}
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
