#include "foundation/api_system.h"

#include "foundation/host.h"
#include "platform/shell.h"
#include "text/text.h"

namespace parlavent::API {

void RegWriteString(RegistryRoot rootKey, std::u16string_view subKey, std::u16string_view valueName,
                    std::u16string_view value, bool expand) {
  SystemRegistry().WriteString(rootKey, subKey, valueName, value, expand);
}

std::u16string RegReadString(RegistryRoot rootKey, std::u16string_view subKey, std::u16string_view valueName,
                             std::u16string_view defaultValue) {
  std::u16string value;
  if (SystemRegistry().ReadString(rootKey, subKey, valueName, value)) return value;
  return std::u16string(defaultValue);
}

void InitWindowsVersion() {
  const WindowsVersionInfo version = System().WindowsVersion();
  ProcessValues().gWinVer = static_cast<std::int32_t>(version.major * 100 + version.minor);
}

bool IsWinNT() { return System().WindowsVersion().platformId == 2; }

std::u16string GetAppVersion() {
  const VersionNumbers v = System().AppVersion();
  return NumberText(v.major) + u"." + NumberText(v.minor) + u"." + NumberText(v.revision);
}

int GetFileVersionStrings(std::u16string_view path, FileVersionRecord& record) {
  record = {};
  return System().FileVersionStrings(path, record);
}

std::vector<std::u16string> GetFontList(std::uintptr_t deviceContext) {
  ProcessValues().gFontNames = System().FontNames(deviceContext);
  return ProcessValues().gFontNames;
}

void PlaySoundAlias(std::u16string_view name) { SystemShell().PlaySoundAlias(name); }

std::u16string ShellOpen(std::u16string_view file) {
  const int r = SystemShell().Open(file);
  if (r > 32) return {};
  std::u16string message;
  switch (r) {
    case 31:
      SystemShell().OpenWith(file);
      message = u"Windows не знает, что это за файл и чем его открывать. Выберите программу из списка или "
                u"нажмите Отмена.";
      break;
    case 0: message = u"Ошибка: Недостаточно памяти. Выполнение прервано!"; break;
    case 2: message = u"Ошибка: Файл не найден. Путь или имя файла указаны неправильно! "; break;
    case 3: message = u"Ошибка: Путь не найден. Указанная папка не существует! \""; break;
    case 11: message = u"Ошибка:  Неизвестный формат файла!"; break;
    default: break;
  }
  Boxes().Show(message, u"Ошибка", kMbIconExclamation);
  return message;
}

}  // namespace parlavent::API
