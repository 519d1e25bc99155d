#pragma once
// The whole clipboard kept aside and put back: memory formats of any size, bitmaps, metafiles and
// palettes. It is read on a thread of its own with a time limit, as reading a format another
// program renders only when asked for it waits for that program.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace parlavent {

/// The Unicode text of a clipboard handle, bounded by the memory block's size.
std::u16string ClipboardTextOf(HANDLE data);

/// Opens the clipboard, trying again for a moment while another program holds it open.
bool OpenClipboardPatiently(HWND owner);

/// The clipboard's Unicode text, read within timeoutMs; nothing when it could not be read in time.
bool ReadClipboardTextWithin(DWORD timeoutMs, std::u16string& text);

class ClipboardKeeper {
 public:
  ClipboardKeeper();
  ~ClipboardKeeper();
  ClipboardKeeper(const ClipboardKeeper&) = delete;
  ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

  /// Keeps every format of the clipboard; false (and nothing kept) when the clipboard stays held
  /// open, holds a format that cannot be copied (owner-drawn, a private handle), is larger than
  /// the program may hold, or is not read within timeoutMs.
  bool Keep(DWORD timeoutMs);
  /// Puts what was kept back, owner owning it, and forgets it; false when the clipboard could not
  /// be opened (it stays kept for another try).
  bool PutBack(HWND owner);
  void Forget();
  bool Holding() const;

  struct Item;

 private:
  std::vector<Item> items_;
  bool holding_ = false;
};

}  // namespace parlavent
