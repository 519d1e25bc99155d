#pragma once
// The per-application list: for each program the capture has met, how to recognise its windows
// and whether capture is on for it. Held in G().WhiteCol, keyed by WndType, in file order.
//
// File format of "WhiteList.inf" (per-user folder) and "DefaultWhiteList.inf" (program folder):
// ANSI text (UTF-16LE behind FF FE when a field holds a character the code page lacks, see
// API::TextFileBytes; read in further encodings too, docs/settings.md), lines separated by CR LF
// (none after the last), blank lines ignored on reading;
// each line holds five TAB-separated fields:
//   ExePath TAB AppName TAB TitleMask TAB WndType TAB State
//   C:\Windows\notepad.exe<TAB>Notepad<TAB><TAB>Notepad<TAB>1
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/keyed_collection.h"

namespace parlavent {

/// One entry of the per-application list.
class clsWindow {
 public:
  std::u16string ExePath;    // the program's executable; its icon stands for the entry
  std::u16string AppName;    // shown in the settings dialog; empty: the dialog shows WndType
  std::u16string TitleMask;  // window-title pattern; empty: match by the program's file name
  std::int32_t State = 0;    // 1 = capture on for this program, 0 = off

  /// Keeps the text before the second ":" (all of it with fewer than two).
  void SetWndType(std::u16string_view type);
  const std::u16string& WndType() const { return wndType_; }
  /// The last "\" component of ExePath.
  std::u16string FileName() const;
  /// FileName & "|" & TitleMask.
  std::u16string Key() const;

 private:
  std::u16string wndType_;
};

using WindowList = KeyedCollection<std::shared_ptr<clsWindow>>;

/// Adds entry under its WndType; false (and nothing added) when that type is already listed.
bool AddWindow(WindowList& list, std::shared_ptr<clsWindow> entry);

/// Parses the file text (CR LF lines). A missing field leaves its member empty (State 0); of two
/// lines with one window type the first wins.
WindowList ParseWhiteList(std::u16string_view text);

/// The file text of the list: one line per entry, CR LF between lines; "" for an empty list.
std::u16string FormatWhiteList(const WindowList& list);

/// The entry that the first start adds (or switches on): the Opera browser's window class.
/// Returns the entry, listed and with State 1.
std::shared_ptr<clsWindow> EnsureOperaEntry(WindowList& list);

}  // namespace parlavent
