#pragma once
// In-memory stand-ins for the system facts, the registry, the shell, message boxes, the message
// pump and the settings store; and a scratch folder that a test owns.
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "fake_input.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent::testing {

class FakeSystem : public SystemInfo {
 public:
  std::u16string programFolder = u"C:\\Program Files\\Parlavent";
  std::u16string exeName = u"Parlavent";
  std::u16string title = u"Parlavent";
  std::map<std::u16string, std::u16string> environment;
  std::u16string tempFolder;
  std::u16string systemFolder = u"C:\\Windows\\system32";
  WindowsVersionInfo windows{5, 1, 2};
  VersionNumbers appVersion{1, 2, 3};
  std::vector<std::u16string> fonts;

  std::u16string ProgramFolder() override { return programFolder; }
  std::u16string ExeName() override { return exeName; }
  std::u16string Title() override { return title; }
  std::u16string EnvironmentVariable(std::u16string_view name) override {
    for (const auto& [key, value] : environment) {
      if (EqualsNoCase(key, name)) return value;
    }
    return {};
  }
  std::u16string TempFolder() override { return tempFolder; }
  std::u16string SystemFolder() override { return systemFolder; }
  WindowsVersionInfo WindowsVersion() override { return windows; }
  VersionNumbers AppVersion() override { return appVersion; }
  std::map<std::u16string, FileVersionRecord> versions;  // by path
  int FileVersionStrings(std::u16string_view path, FileVersionRecord& record) override {
    const auto it = versions.find(std::u16string(path));
    if (it == versions.end()) return 2;
    record = it->second;
    return 1;
  }
  std::vector<std::u16string> FontNames(std::uintptr_t) override { return fonts; }
  double FileDateCreated(std::u16string_view) override { return 0; }
};

/// Values by root, key and name (case-blind), each remembered with whether it was expandable.
class FakeRegistry : public Registry {
 public:
  struct Entry {
    std::u16string value;
    bool expand = false;
    bool isString = true;  // false stands for a value of another type (a DWORD, ...)
  };
  std::map<std::tuple<RegistryRoot, std::u16string, std::u16string>, Entry> values;

  static std::tuple<RegistryRoot, std::u16string, std::u16string> Key(RegistryRoot root, std::u16string_view subKey,
                                                                      std::u16string_view name) {
    return {root, LCase(subKey), LCase(name)};
  }
  bool WriteString(RegistryRoot root, std::u16string_view subKey, std::u16string_view name, std::u16string_view value,
                   bool expand) override {
    values[Key(root, subKey, name)] = {std::u16string(value), expand, true};
    return true;
  }
  bool ReadString(RegistryRoot root, std::u16string_view subKey, std::u16string_view name,
                  std::u16string& value) override {
    const auto it = values.find(Key(root, subKey, name));
    if (it == values.end() || !it->second.isString) return false;
    value = it->second.value;
    return true;
  }
  bool DeleteValue(RegistryRoot root, std::u16string_view subKey, std::u16string_view name) override {
    values.erase(Key(root, subKey, name));
    return true;
  }
};

class FakeShell : public Shell {
 public:
  int openResult = 42;
  std::vector<std::u16string> opened, openedWith, sounds;
  int Open(std::u16string_view file) override {
    opened.emplace_back(file);
    return openResult;
  }
  void OpenWith(std::u16string_view file) override { openedWith.emplace_back(file); }
  void PlaySoundAlias(std::u16string_view name) override { sounds.emplace_back(name); }
};

class FakeBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::u16string text, title;
    int style = 0;
  };
  std::vector<Shown> shown;
  int answer = kIdOk;
  int Show(std::u16string_view text, std::u16string_view title, int style) override {
    shown.push_back({std::u16string(text), std::u16string(title), style});
    return answer;
  }
};

class FakePump : public MessagePump {
 public:
  int doEvents = 0;
  int sleeps = 0;
  std::function<void()> onDoEvents;
  void DoEvents() override {
    ++doEvents;
    if (onDoEvents) onDoEvents();
  }
  void Sleep(int) override { ++sleeps; }
};

using ScopedSystem = ScopedService<SystemInfo, &SetSystem>;
using ScopedRegistry = ScopedService<Registry, &SetSystemRegistry>;
using ScopedShell = ScopedService<Shell, &SetSystemShell>;
using ScopedBoxes = ScopedService<MessageBoxes, &SetBoxes>;
using ScopedPump = ScopedService<MessagePump, &SetPump>;
using ScopedUserSettings = ScopedService<SettingsStore, &SetUserSettings>;

/// A new folder under the system's temporary folder whose name starts with `stem` (characters
/// that would make a path turned into "_"), unique to this process and this call; empty when no
/// folder can be made there.
inline std::filesystem::path MakeScratchDir(std::string stem) {
  for (char& c : stem) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') c = '_';
  }
  std::error_code ec;
  const auto base = std::filesystem::temp_directory_path(ec);
  if (ec) return {};
  // Test runs of several build trees, and parallel ctest processes, share the temporary folder.
  std::random_device seed;
  std::mt19937_64 random(seed() ^ static_cast<std::uint64_t>(
                                      std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto path = base / ("parlavent_" + stem + "_" + std::to_string(random() % 1000000000000ULL));
    if (std::filesystem::create_directory(path, ec)) return path;
    if (ec) return {};
  }
  return {};
}

/// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir() : path_(MakeScratchDir("test")) {}
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  /// The folder, or a name inside it, as program text.
  std::u16string Text(std::u16string_view name = {}) const {
    const auto p = name.empty() ? path_ : path_ / std::filesystem::path(ToUtf8(name));
    const std::u8string u8 = p.u8string();
    return FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
  }

 private:
  std::filesystem::path path_;
};

/// Writes raw bytes to a file, for tests that build files by hand.
inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

/// Puts at path a file that exists but cannot be read, as one another program holds locked: a
/// link to this process's memory, whose first page is never mapped (a read gives an I/O error,
/// for root too).
inline void PutUnreadableFile(const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/proc/self/mem", path);
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::string bytes;
  FILE* f = std::fopen(path.string().c_str(), "rb");
  if (!f) return bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

}  // namespace parlavent::testing
