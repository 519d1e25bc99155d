// Feeds arbitrary bytes to the INI parser, as ANSI text and as UTF-16, and reads the result back
// every way the program does: no input may crash it or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/ini_file.h"
#include "platform/code_page.h"

namespace {

std::u16string AsUtf16(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return text;
}

void Exercise(const std::u16string& text) {
  parlavent::clsINI ini;
  ini.SetSettingText(text);
  for (long i = 0; i <= ini.SectionsCount() + 1; ++i) {
    const std::u16string section = ini.SectionName(i);
    ini.GetSectionText(section);
    for (long k = 0; k <= ini.ValuesCount(section) + 1; ++k) {
      const std::u16string key = ini.ValueName(section, k);
      ini.GetValue(key, section, 17).ToText();
    }
    ini.GetSection(section);
    ini.GetSectionValues(section);
  }
  ini.SetValue(u"Key", u"Main", parlavent::IniValue::List({u"a", u"b"}));
  ini.Value(u"Text", u"line\rbreak");
  parlavent::clsINI again;
  again.SetSettingText(ini.GetSettingText());
  again.GetValue(u"Key", u"Main");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Exercise(parlavent::AnsiCodePage().Decode(bytes));
  Exercise(AsUtf16(data, size));
  return 0;
}
