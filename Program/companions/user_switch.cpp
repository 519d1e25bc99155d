#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "companions/keyboard_layers.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "foundation/text.h"

namespace parlavent {
namespace {

constexpr std::size_t kMaxUserSwitchLines = 10000;

std::int32_t ClampMass(std::int64_t mass) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(mass, 0, INT32_MAX));
}

void MergeLine(const std::vector<std::u16string>& fields, KeyedCollection<std::shared_ptr<clsPrefix>>& prefixes) {
  if (fields.size() < 2 || fields[0].empty()) return;
  const std::int64_t mass = fields.size() > 2 ? LeadingNumber(fields[2]) : 0;
  auto* known = prefixes.Find(fields[0]);
  if (!known) {
    auto entry = std::make_shared<clsPrefix>();
    entry->Prefix = fields[0];
    entry->Layouts = fields[1];
    entry->Mass = ClampMass(mass);
    entry->ByUser = true;
    prefixes.Add(fields[0], std::move(entry));
    return;
  }
  clsPrefix& entry = **known;
  for (const auto& pair : SplitText(fields[1], u",")) {
    const std::int64_t layout = clsPrefix::PairLayout(pair);
    if (layout < 0 || entry.HasLayout(layout)) continue;
    entry.Layouts += (entry.Layouts.empty() ? u"" : u",") + pair;
  }
  entry.Mass = ClampMass(mass);
  entry.ByUser = true;
}

}  // namespace

std::int64_t clsPrefix::PairLayout(std::u16string_view pair) {
  const std::size_t colon = pair.find(u':');
  std::int64_t layout = 0;
  if (!ParseInt64(pair.substr(0, colon), layout)) return -1;
  return layout;
}

bool clsPrefix::HasLayout(std::int64_t layout) const {
  for (const auto& pair : SplitText(Layouts, u",")) {
    if (PairLayout(pair) == layout) return true;
  }
  return false;
}

void MergeUserSwitch(std::u16string_view text) {
  if (text.empty()) return;
  auto lines = SplitText(text, u"\r\n");
  if (lines.size() > kMaxUserSwitchLines) lines.resize(kMaxUserSwitchLines);
  for (const auto& line : lines) MergeLine(SplitText(line, u"\t"), G().gPrefixes);
}

void Appl::LoadUserSwitch() {
  if (!State.gSetting) return;
  const std::u16string file = API::JoinPath(State.gSetting->AppFolder, u"trl.dat");
  // A table with prefixes the ANSI code page cannot hold is written as UTF-16 with its mark.
  char mark[2] = {};
  std::ifstream in(API::ToFsPath(file), std::ios::binary);
  const bool unicode = in.read(mark, 2) && mark[0] == '\xFF' && mark[1] == '\xFE';
  in.close();
  MergeUserSwitch(unicode ? API::ReadUnicodeFile(file)
                          : API::ReadTextFile(file, static_cast<long>(kMaxUserSwitchLines)));
}

}  // namespace parlavent
