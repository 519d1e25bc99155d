// The Win32 system facts, registry, shell, message boxes and message pump.
#include <windows.h>
#include <mmsystem.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "platform/shell.h"
#include "platform/system_info.h"
#include "platform/win32/registry_key.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_services.h"

namespace parlavent {
namespace {

std::u16string ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return FromWide(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::u16string WithoutTrailingBackslash(std::u16string text) {
  while (text.size() > 3 && (text.back() == u'\\' || text.back() == u'/')) text.pop_back();
  return text;
}

/// A file's version resource, read whole.
class VersionBlock {
 public:
  explicit VersionBlock(const std::u16string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(Wide(path), &handle);
    if (size < 1) return;
    data_.resize(size);
    if (!GetFileVersionInfoW(Wide(path), 0, size, data_.data())) data_.clear();
  }
  bool Valid() const { return !data_.empty(); }
  bool Query(const std::u16string& name, void*& value, UINT& length) {
    return Valid() && VerQueryValueW(data_.data(), Wide(name), &value, &length) && value != nullptr;
  }

 private:
  std::vector<BYTE> data_;
};

class Win32System final : public SystemInfo {
 public:
  std::u16string ProgramFolder() override {
    const std::u16string path = ModulePath();
    return path.substr(0, path.find_last_of(u"\\/"));
  }
  std::u16string ExeName() override {
    std::u16string name = ModulePath();
    name.erase(0, name.find_last_of(u"\\/") + 1);
    const std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos) name.resize(dot);
    return name;
  }
  std::u16string Title() override { return ExeName(); }
  std::u16string EnvironmentVariable(std::u16string_view name) override {
    const std::u16string key(name);
    const DWORD size = GetEnvironmentVariableW(Wide(key), nullptr, 0);
    if (size == 0) return {};
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD n = GetEnvironmentVariableW(Wide(key), buffer.data(), size);
    return n < size ? FromWide(std::wstring_view(buffer.data(), n)) : std::u16string();
  }
  std::u16string TempFolder() override {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    return n > 0 && n <= MAX_PATH ? WithoutTrailingBackslash(FromWide(std::wstring_view(buffer, n))) : u"";
  }
  std::u16string SystemFolder() override {
    wchar_t buffer[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? FromWide(std::wstring_view(buffer, n)) : u"";
  }
  WindowsVersionInfo WindowsVersion() override {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
  }
  VersionNumbers AppVersion() override {
    VersionBlock block(ModulePath());
    void* value = nullptr;
    UINT length = 0;
    if (!block.Query(u"\\", value, length) || length < sizeof(VS_FIXEDFILEINFO)) return {};
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS)};
  }
  int FileVersionStrings(std::u16string_view path, FileVersionRecord& record) override {
    VersionBlock block{std::u16string(path)};
    void* value = nullptr;
    UINT length = 0;
    if (!block.Query(u"\\VarFileInfo\\Translation", value, length) || length < 4) return 2;
    const auto* words = static_cast<const WORD*>(value);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X%04X", words[0], words[1]);
    const std::u16string prefix = u"\\StringFileInfo\\" + std::u16string(hex, hex + 8) + u"\\";
    static constexpr std::pair<const char16_t*, std::u16string FileVersionRecord::*> kFields[] = {
        {u"CompanyName", &FileVersionRecord::CompanyName},
        {u"FileDescription", &FileVersionRecord::FileDescription},
        {u"FileVersion", &FileVersionRecord::FileVersion},
        {u"InternalName", &FileVersionRecord::InternalName},
        {u"LegalCopyright", &FileVersionRecord::LegalCopyright},
        {u"OriginalFileName", &FileVersionRecord::OriginalFileName},
        {u"ProductName", &FileVersionRecord::ProductName},
        {u"ProductVersion", &FileVersionRecord::ProductVersion},
    };
    for (const auto& [name, field] : kFields) {
      if (!block.Query(prefix + name, value, length)) return 2;
      const auto* text = static_cast<const wchar_t*>(value);
      std::size_t n = 0;
      while (n < length && n < 255 && text[n] != L'\0') ++n;
      record.*field = FromWide(std::wstring_view(text, n));
    }
    return 1;
  }
  std::vector<std::u16string> FontNames(std::uintptr_t deviceContext) override {
    std::vector<std::u16string> names;
    HDC dc = reinterpret_cast<HDC>(deviceContext);
    const bool own = dc == nullptr;
    if (own) dc = GetDC(nullptr);
    if (!dc) return names;
    LOGFONTW all{};
    all.lfCharSet = ANSI_CHARSET;
    EnumFontFamiliesExW(dc, &all, &AddFontName, reinterpret_cast<LPARAM>(&names), 0);
    if (own) ReleaseDC(nullptr, dc);
    return names;
  }
  double FileDateCreated(std::u16string_view path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(std::u16string(path)), GetFileExInfoStandard, &data)) return 0;
    FILETIME local{};
    SYSTEMTIME time{};
    double date = 0;
    if (!FileTimeToLocalFileTime(&data.ftCreationTime, &local) || !FileTimeToSystemTime(&local, &time) ||
        !SystemTimeToVariantTime(&time, &date)) {
      return 0;
    }
    return date;
  }

 private:
  static int CALLBACK AddFontName(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM names) {
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
    const std::size_t n = wcsnlen(full->elfFullName, LF_FULLFACESIZE);
    reinterpret_cast<std::vector<std::u16string>*>(names)->push_back(FromWide(std::wstring_view(full->elfFullName, n)));
    return 1;
  }
};

class Win32Registry final : public Registry {
 public:
  bool WriteString(RegistryRoot root, std::u16string_view subKey, std::u16string_view valueName,
                   std::u16string_view value, bool expand) override {
    RegistryKey key;
    return key.Create(RootKey(root), std::u16string(subKey)) && key.WriteString(std::u16string(valueName), value, expand);
  }
  bool ReadString(RegistryRoot root, std::u16string_view subKey, std::u16string_view valueName,
                  std::u16string& value) override {
    RegistryKey key;
    return key.Open(RootKey(root), std::u16string(subKey)) && key.ReadString(std::u16string(valueName), value);
  }
  bool DeleteValue(RegistryRoot root, std::u16string_view subKey, std::u16string_view valueName) override {
    HKEY key = nullptr;
    const std::u16string path(subKey);
    const LSTATUS opened = RegOpenKeyExW(RootKey(root), Wide(path), 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const std::u16string name(valueName);
    const LSTATUS rc = RegDeleteValueW(key, Wide(name));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }

 private:
  static HKEY RootKey(RegistryRoot root) {
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
  }
};

class Win32Shell final : public Shell {
 public:
  int Open(std::u16string_view file) override {
    const std::u16string path(file);
    const auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, nullptr, Wide(path), nullptr, nullptr, SW_SHOWNORMAL));
    return r > 32 ? 33 : static_cast<int>(r);
  }
  void OpenWith(std::u16string_view file) override {
    std::u16string command = u"rundll32.exe shell32.dll,OpenAs_RunDLL " + std::u16string(file);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &si, &pi)) {
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  void PlaySoundAlias(std::u16string_view name) override {
    sndPlaySoundW(nullptr, SND_ASYNC);
    PlaySoundW(Wide(std::u16string(name)), nullptr, SND_ALIAS | SND_APPLICATION | SND_NODEFAULT | SND_ASYNC);
  }
};

class Win32Boxes final : public MessageBoxes {
 public:
  int Show(std::u16string_view text, std::u16string_view title, int style) override {
    return MessageBoxW(GetActiveWindow(), Wide(std::u16string(text)), Wide(std::u16string(title)),
                       static_cast<UINT>(style));
  }
};

int gOwnWorkDepth = 0;  // the program's thread is the only one that pumps

}  // namespace

void RunWaitingMessages() {
  struct Depth {
    Depth() { ++gOwnWorkDepth; }
    ~Depth() { --gOwnWorkDepth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
  } inside;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit belongs to the main loop; leave it for that loop to see.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool InsideOwnWork() { return gOwnWorkDepth > 0; }

namespace {

class Win32Pump final : public MessagePump {
 public:
  void DoEvents() override { RunWaitingMessages(); }
  void Sleep(int milliseconds) override { ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }
};

}  // namespace

void InstallWin32SystemServices() {
  SetSystem(std::make_shared<Win32System>());
  SetSystemRegistry(std::make_shared<Win32Registry>());
  SetSystemShell(std::make_shared<Win32Shell>());
  SetBoxes(std::make_shared<Win32Boxes>());
  SetPump(std::make_shared<Win32Pump>());
  SetUserSettings(std::make_shared<RegistrySettingsStore>());
}

}  // namespace parlavent
