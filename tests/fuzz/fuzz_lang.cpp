// Feeds arbitrary bytes to the language table as the text of lang.dat and looks entries up: no
// input may crash it or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/application.h"
#include "foundation/lang_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static parlavent::Appl app;
  parlavent::SetAppl(&app);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);

  // The first byte picks the interface language, as a settings file could give any number.
  std::int32_t curLang = size > 0 ? static_cast<std::int8_t>(data[0]) : 0;
  parlavent::LangTableLoad load = parlavent::BuildLangTable(text, curLang);
  app.State.gLangTable = std::move(load.table);
  app.Languages = std::move(load.languages);
  for (std::int32_t n = -1; n <= static_cast<std::int32_t>(app.State.gLangTable.size()) + 1; ++n) app.LZ(n);
  return 0;
}
