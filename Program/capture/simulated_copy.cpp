#include "capture/simulated_copy.h"

#include "foundation/api_input.h"

namespace parlavent {

std::vector<CopyKey> CopyKeystrokes(bool shiftDown, bool altDown) {
  std::vector<CopyKey> keys{{API::kVkControl, true}};
  if (shiftDown) keys.push_back({API::kVkShift, false});
  if (altDown) keys.push_back({API::kVkMenu, false});
  keys.insert(keys.end(), {{'C', true}, {'C', false}, {API::kVkControl, false}});
  return keys;
}

void SimulatedCopy::Forget(CopyPort& port) {
  port.DiscardSavedClipboard();
  pending_ = Wait::None;
}

bool SimulatedCopy::Restore(CopyPort& port) {
  if (!port.RestoreClipboard()) return false;
  quietUpTo_ = port.ClipboardSequence();
  return true;
}

bool SimulatedCopy::Quiet(std::uint32_t sequence) const {
  // Counted from the last change before the copy, as the counter may wrap.
  return sequence != quietAfter_ && sequence - quietAfter_ <= quietUpTo_ - quietAfter_;
}

std::u16string SimulatedCopy::Take(CopyPort& port, double now) {
  // The clipboard of the last copy is not back yet: no copy may change it again. A copy that
  // never came left the user's clipboard as it was, and this copy keeps it anew.
  Poll(port, now);
  if (pending_ == Wait::Restore) return {};
  if (pending_ == Wait::LateCopy) Forget(port);
  if (!port.TargetInFront() || !port.SaveClipboard()) return {};
  const std::uint32_t before = port.ClipboardSequence();
  quietAfter_ = quietUpTo_ = before;
  // Keeping the clipboard takes a moment, in which another window may have come forward.
  if (!port.TargetInFront()) {
    port.DiscardSavedClipboard();
    return {};
  }
  port.SendCopyKeys();
  if (!port.WaitForClipboardChange(before)) {
    pending_ = Wait::LateCopy;
    since_ = now;
    sequence_ = before;
    return {};
  }
  std::u16string text = port.ReadClipboardText();
  sequence_ = port.ClipboardSequence();
  if (!Restore(port)) {
    pending_ = Wait::Restore;
    since_ = now;
  }
  return text;
}

void SimulatedCopy::Poll(CopyPort& port, double now) {
  if (pending_ == Wait::None) return;
  // The clock may start again (at midnight, or when the tick count wraps).
  const bool expired = now < since_ || now - since_ > (pending_ == Wait::Restore ? kRestoreSeconds : kLateCopySeconds);
  if (expired) return Forget(port);
  const std::uint32_t sequence = port.ClipboardSequence();
  // Another program (the user) has put something newer on the clipboard: that stays. A change
  // whose owner is unknown may be the captured program's own late copy: it is undone.
  if (sequence != sequence_ && port.ChangedByAnotherProgram()) {
    return Forget(port);
  }
  if (pending_ == Wait::LateCopy && sequence == sequence_) return;
  if (Restore(port)) {
    pending_ = Wait::None;
    return;
  }
  if (pending_ == Wait::LateCopy) since_ = now;
  pending_ = Wait::Restore;
  sequence_ = sequence;
}

}  // namespace parlavent
