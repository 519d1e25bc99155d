#include "platform/system_info.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/service_slot.h"
#include "text/text.h"

namespace parlavent {
namespace {

std::u16string FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

class QuietSystem final : public SystemInfo {
 public:
  std::u16string ProgramFolder() override {
    std::error_code ec;
    return FromPath(std::filesystem::current_path(ec));
  }
  std::u16string ExeName() override { return u"Parlavent"; }
  std::u16string Title() override { return u"Parlavent"; }
  std::u16string EnvironmentVariable(std::u16string_view name) override {
    const char* value = std::getenv(ToUtf8(name).c_str());
    return value ? FromUtf8(value) : std::u16string();
  }
  std::u16string TempFolder() override {
    std::error_code ec;
    const auto folder = std::filesystem::temp_directory_path(ec);
    if (ec) return {};
    std::u16string text = FromPath(folder);
    while (text.size() > 1 && text.back() == u'/') text.pop_back();
    return text;
  }
  std::u16string SystemFolder() override { return {}; }
  WindowsVersionInfo WindowsVersion() override { return {}; }
  VersionNumbers AppVersion() override { return {}; }
  int FileVersionStrings(std::u16string_view, FileVersionRecord& record) override {
    record = {};
    return 2;
  }
  std::vector<std::u16string> FontNames(std::uintptr_t) override { return {}; }
  double FileDateCreated(std::u16string_view) override { return 0; }
};

class QuietRegistry final : public Registry {
 public:
  bool WriteString(RegistryRoot, std::u16string_view, std::u16string_view, std::u16string_view, bool) override {
    return false;
  }
  bool ReadString(RegistryRoot, std::u16string_view, std::u16string_view, std::u16string&) override { return false; }
  bool DeleteValue(RegistryRoot, std::u16string_view, std::u16string_view) override { return false; }
};

}  // namespace

SystemInfo& System() { return *ServiceSlot<SystemInfo, QuietSystem>(); }
Registry& SystemRegistry() { return *ServiceSlot<Registry, QuietRegistry>(); }
void SetSystem(std::shared_ptr<SystemInfo> info) { InstallService<SystemInfo, QuietSystem>(std::move(info)); }
void SetSystemRegistry(std::shared_ptr<Registry> registry) {
  InstallService<Registry, QuietRegistry>(std::move(registry));
}

}  // namespace parlavent
