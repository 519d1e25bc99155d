#pragma once
// 8-bit text through a code page: the system ANSI code page on Windows; natively built-in
// windows-1251 (the default) and windows-1252 tables.
#include <memory>
#include <string>
#include <string_view>

namespace parlavent {

class CodePage {
 public:
  virtual ~CodePage() = default;
  /// The code page number (1251, 1252, ...).
  virtual unsigned Id() const = 0;
  virtual std::u16string Decode(std::string_view bytes) const = 0;
  /// Characters the code page cannot hold become "?"; lossless (when given) tells whether any did.
  virtual std::string Encode(std::u16string_view text, bool* lossless = nullptr) const = 0;
};

/// The built-in single-byte code pages (1251, 1252); nullptr for any other number.
std::unique_ptr<CodePage> MakeBuiltinCodePage(unsigned id);

/// A code page by number: the platform's own where it has one, else a built-in one; nullptr when
/// neither knows the number.
std::unique_ptr<CodePage> MakeCodePage(unsigned id);

/// The process's ANSI code page. SetAnsiCodePage(nullptr) restores the default (windows-1251
/// natively, the system's on Windows once the shell has installed it).
const CodePage& AnsiCodePage();
void SetAnsiCodePage(std::shared_ptr<const CodePage> page);

}  // namespace parlavent
