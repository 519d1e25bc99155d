#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/application.h"
#include "companions/layout_switch.h"
#include "dictionary/keyboard_layers.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "foundation/text.h"

namespace parlavent {
namespace {

constexpr std::size_t kMaxUserSwitchLines = 10000;

std::int32_t ClampMass(std::int64_t mass) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(mass, 0, INT32_MAX));
}

// The pairs of one prefix while the table is read, each layout once and found without searching,
// so that a prefix listing many pairs costs no more than its text.
struct PairList {
  std::vector<std::u16string> pairs;
  std::unordered_map<std::int64_t, std::size_t> at;  // layout -> its place in pairs

  void Put(std::u16string pair, bool replace) {
    const std::int64_t layout = clsPrefix::PairLayout(pair);
    if (layout < 0) return;
    const auto [it, added] = at.emplace(layout, pairs.size());
    if (added) {
      pairs.push_back(std::move(pair));
    } else if (replace) {
      pairs[it->second] = std::move(pair);
    }
  }
};

void MergeLine(const std::vector<std::u16string>& fields, KeyedCollection<std::shared_ptr<clsPrefix>>& prefixes,
               std::unordered_map<clsPrefix*, PairList>& merged) {
  if (fields.size() < 2 || fields[0].empty()) return;
  const std::int64_t mass = fields.size() > 2 ? LeadingNumber(fields[2]) : 0;
  auto* known = prefixes.Find(fields[0]);
  if (!known) {
    auto entry = std::make_shared<clsPrefix>();
    entry->Prefix = fields[0];
    prefixes.Add(fields[0], entry);
    known = prefixes.Find(fields[0]);
    if (!known) return;
  }
  clsPrefix& entry = **known;
  auto [it, first] = merged.try_emplace(&entry);
  PairList& list = it->second;
  if (first) {
    for (auto& pair : SplitText(entry.Layouts, u",")) list.Put(std::move(pair), false);
  }
  // The table was written from the whole entry, the packages' pairs counted on by the user: its
  // count of a layout the packages list is the one that lasts.
  for (auto& pair : SplitText(fields[1], u",")) list.Put(std::move(pair), true);
  entry.Mass = ClampMass(mass);
  entry.ByUser = true;
}

}  // namespace

void MergeUserSwitch(std::u16string_view text) {
  if (text.empty()) return;
  auto lines = SplitText(text, u"\r\n");
  if (lines.size() > kMaxUserSwitchLines) lines.resize(kMaxUserSwitchLines);
  std::unordered_map<clsPrefix*, PairList> merged;
  for (const auto& line : lines) MergeLine(SplitText(line, u"\t"), G().gPrefixes, merged);
  for (auto& [entry, list] : merged) entry->Layouts = JoinText(list.pairs, u",");
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
