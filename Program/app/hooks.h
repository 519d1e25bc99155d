#pragma once
// Calls into neighbours that may not be there: an empty hook does nothing, and a failing one does
// not stop the caller (start-up and shut-down go on with the next step).
#include <functional>

namespace parlavent {

inline void CallHook(const std::function<void()>& hook) {
  if (!hook) return;
  try {
    hook();
  } catch (...) {
  }
}

}  // namespace parlavent
