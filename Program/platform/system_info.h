#pragma once
// Facts about the program and the system, and direct registry access. The shell installs the
// Win32 implementations; natively quiet defaults stand in (the working folder as program folder,
// "Parlavent" as program name, an empty registry) and tests install fakes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

struct WindowsVersionInfo {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t platformId = 0;  // 2 is the NT family
};

struct VersionNumbers {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

/// The string table of a file's version resource, in the order GetFileVersionStrings fills it.
struct FileVersionRecord {
  std::u16string CompanyName;
  std::u16string FileDescription;
  std::u16string FileVersion;
  std::u16string InternalName;
  std::u16string LegalCopyright;
  std::u16string OriginalFileName;
  std::u16string ProductName;
  std::u16string ProductVersion;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  /// The folder of the program file, without a trailing separator.
  virtual std::u16string ProgramFolder() = 0;
  /// The program file's base name ("Parlavent").
  virtual std::u16string ExeName() = 0;
  /// The program's title, shown on its message boxes.
  virtual std::u16string Title() = 0;
  /// An environment variable; "" when it is not set.
  virtual std::u16string EnvironmentVariable(std::u16string_view name) = 0;
  /// The temporary folder without a trailing separator; "" when unknown.
  virtual std::u16string TempFolder() = 0;
  /// The Windows system folder; "" when unknown.
  virtual std::u16string SystemFolder() = 0;
  virtual WindowsVersionInfo WindowsVersion() = 0;
  /// The version numbers of the running program's own version resource.
  virtual VersionNumbers AppVersion() = 0;
  /// Fills record from the file's version resource: 1 when every string was found, else 2
  /// (strings found before the first missing one stay filled).
  virtual int FileVersionStrings(std::u16string_view path, FileVersionRecord& record) = 0;
  /// Full names of the installed fonts, as enumerated on the device context.
  virtual std::vector<std::u16string> FontNames(std::uintptr_t deviceContext) = 0;
  /// Creation time as an automation date (days since 30 Dec 1899, local time); 0 when unknown.
  virtual double FileDateCreated(std::u16string_view path) = 0;
};

/// Registry root keys, with the values Windows gives them.
using RegistryRoot = std::uint32_t;
constexpr RegistryRoot kHkeyClassesRoot = 0x80000000u;
constexpr RegistryRoot kHkeyCurrentUser = 0x80000001u;
constexpr RegistryRoot kHkeyLocalMachine = 0x80000002u;

class Registry {
 public:
  virtual ~Registry() = default;
  /// Creates the key as needed and stores a string value (REG_EXPAND_SZ when expand, else REG_SZ);
  /// an empty valueName is the key's default value.
  virtual bool WriteString(RegistryRoot root, std::u16string_view subKey, std::u16string_view valueName,
                           std::u16string_view value, bool expand) = 0;
  /// A REG_SZ or REG_EXPAND_SZ value cut at its first NUL, unexpanded; false for a missing key or
  /// value or another type.
  virtual bool ReadString(RegistryRoot root, std::u16string_view subKey, std::u16string_view valueName,
                          std::u16string& value) = 0;
  /// Removes a value; true when it is gone (also when it was never there).
  virtual bool DeleteValue(RegistryRoot root, std::u16string_view subKey, std::u16string_view valueName) = 0;
};

SystemInfo& System();
Registry& SystemRegistry();
/// Installs a service (nullptr restores the quiet default).
void SetSystem(std::shared_ptr<SystemInfo> info);
void SetSystemRegistry(std::shared_ptr<Registry> registry);

}  // namespace parlavent
