// Feeds arbitrary bytes to the readers of the user's "statistics.dat" and "trl.dat", and writes
// back what they read: no input may crash them, and what is written reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/application.h"
#include "app/statistics.h"
#include "companions/layout_switch.h"
#include "dictionary/keyboard_layers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static parlavent::Appl app;
  parlavent::SetAppl(&app);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  parlavent::clsStat stat;
  stat.Parse(text);
  if (stat.Items().size() > parlavent::clsStat::kMaxWords) __builtin_trap();
  parlavent::clsStat again;
  again.Parse(stat.Serialize());
  if (again.Serialize() != stat.Serialize()) __builtin_trap();

  app.State.gPrefixes.Clear();
  parlavent::MergeUserSwitch(text);
  const std::u16string table = parlavent::UserSwitchText();
  app.State.gPrefixes.Clear();
  parlavent::MergeUserSwitch(table);
  if (parlavent::UserSwitchText() != table) __builtin_trap();
  return 0;
}
