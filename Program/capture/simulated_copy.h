#pragma once
// The selection of a control that answers no messages is taken by sending it Ctrl+C. That copy
// goes through the user's clipboard, which must be exactly as the user left it afterwards, and
// the keys must reach no window but the one captured. SimulatedCopy decides; CopyPort does.
#include <cstdint>
#include <string>
#include <vector>

namespace parlavent {

/// What a simulated copy needs of the system.
class CopyPort {
 public:
  virtual ~CopyPort() = default;
  /// Whether keys sent now reach the captured window: its top-level window is in front.
  virtual bool TargetInFront() = 0;
  /// Keeps the whole clipboard aside; false when it cannot be kept whole (held open by another
  /// program, a format that cannot be copied, an owner that does not render its data in time).
  virtual bool SaveClipboard() = 0;
  /// The clipboard's change counter.
  virtual std::uint32_t ClipboardSequence() = 0;
  virtual void SendCopyKeys() = 0;
  /// Waits a short while for the counter to move on from since; true when it did.
  virtual bool WaitForClipboardChange(std::uint32_t since) = 0;
  virtual std::u16string ReadClipboardText() = 0;
  /// Puts the kept clipboard back (and forgets it); false when the clipboard could not be opened.
  virtual bool RestoreClipboard() = 0;
  virtual void DiscardSavedClipboard() = 0;
  /// Whether the clipboard's last change is owned by a program other than the captured one. A
  /// change without an owner (a program that opens the clipboard with no window) is not.
  virtual bool ChangedByAnotherProgram() = 0;
};

/// A key of the copy's keystrokes: the virtual key and whether it goes down.
struct CopyKey {
  int vk = 0;
  bool down = false;
  friend bool operator==(const CopyKey&, const CopyKey&) = default;
};

/// Ctrl+C while the user may still hold Shift or Alt (the gesture key): those go up inside the
/// Ctrl press, so that Ctrl+C is not another command and a lone Alt release opens no menu.
std::vector<CopyKey> CopyKeystrokes(bool shiftDown, bool altDown);

class SimulatedCopy {
 public:
  /// A copy that comes later than the wait is still undone for this long.
  static constexpr double kLateCopySeconds = 3.0;
  /// A clipboard that could not be put back is tried again for this long.
  static constexpr double kRestoreSeconds = 5.0;

  /// The text the captured window copies; "" when it copies nothing or the copy is not made.
  /// now is in seconds.
  std::u16string Take(CopyPort& port, double now);
  /// After every change of the clipboard and now and then: a restore that failed is tried again,
  /// a late copy is undone unless another program owns it (the user copied elsewhere).
  void Poll(CopyPort& port, double now);
  /// The user's clipboard is still to be put back.
  bool Pending() const { return pending_ != Wait::None; }
  /// Whether the clipboard's change numbered sequence was the copy's or its restore: the
  /// clipboard was the user's before and after it, so it is no news (nothing to read aloud).
  bool Quiet(std::uint32_t sequence) const;

 private:
  enum class Wait { None, Restore, LateCopy };
  void Forget(CopyPort& port);
  bool Restore(CopyPort& port);
  Wait pending_ = Wait::None;
  double since_ = 0;
  std::uint32_t sequence_ = 0;
  std::uint32_t quietAfter_ = 0, quietUpTo_ = 0;
};

}  // namespace parlavent
