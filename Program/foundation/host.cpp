#include "foundation/host.h"

#include <cstdlib>

namespace parlavent {
namespace {
FoundationHost* current = nullptr;
}  // namespace

void SetFoundationHost(FoundationHost* host) { current = host; }
bool HasFoundationHost() { return current != nullptr; }

FoundationHost& Host() {
  // Without a host there is nothing sensible to return, and a silent stand-in would hide the fault.
  if (!current) std::abort();
  return *current;
}

}  // namespace parlavent
