#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/application.h"
#include "app/companion_state.h"
#include "companions/layout_switch.h"
#include "dictionary/keyboard_layers.h"
#include "foundation/api_files.h"
#include "foundation/settings_object.h"
#include "text/text.h"

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

// Whether the line was taken: a prefix with at least one layout pair.
bool MergeLine(const std::vector<std::u16string>& fields, KeyedCollection<std::shared_ptr<clsPrefix>>& prefixes,
               std::unordered_map<clsPrefix*, PairList>& merged) {
  if (fields.size() < 2 || fields[0].empty()) return false;
  std::vector<std::u16string> pairs = SplitText(fields[1], u",");
  const bool anyPair =
      std::any_of(pairs.begin(), pairs.end(), [](const std::u16string& p) { return clsPrefix::PairLayout(p) >= 0; });
  const std::int64_t mass = fields.size() > 2 ? LeadingNumber(fields[2]) : 0;
  auto* known = prefixes.Find(fields[0]);
  if (!known) {
    auto entry = std::make_shared<clsPrefix>();
    entry->Prefix = fields[0];
    prefixes.Add(fields[0], entry);
    known = prefixes.Find(fields[0]);
    if (!known) return false;
  }
  clsPrefix& entry = **known;
  auto [it, first] = merged.try_emplace(&entry);
  PairList& list = it->second;
  if (first) {
    for (auto& pair : SplitText(entry.Layouts, u",")) list.Put(std::move(pair), false);
  }
  // The table was written from the whole entry, the packages' pairs counted on by the user: its
  // count of a layout the packages list is the one that lasts.
  for (auto& pair : pairs) list.Put(std::move(pair), true);
  entry.Mass = ClampMass(mass);
  entry.ByUser = true;
  return anyPair;
}

}  // namespace

bool MergeUserSwitch(std::u16string_view text) {
  if (text.empty()) return true;
  // A line ends at CR LF, LF or a lone CR, however the file was saved.
  auto lines = SplitText(ReplaceAll(ReplaceAll(text, u"\r\n", u"\n"), u"\r", u"\n"), u"\n");
  bool whole = true;
  if (lines.size() > kMaxUserSwitchLines) {
    whole = std::all_of(lines.begin() + kMaxUserSwitchLines, lines.end(),
                        [](const std::u16string& l) { return Trim(l).empty(); });
    lines.resize(kMaxUserSwitchLines);
  }
  std::unordered_map<clsPrefix*, PairList> merged;
  for (const auto& line : lines) {
    if (!MergeLine(SplitText(line, u"\t"), G().gPrefixes, merged) && !Trim(line).empty()) whole = false;
  }
  for (auto& [entry, list] : merged) entry->Layouts = JoinText(list.pairs, u",");
  return whole;
}

void Appl::LoadUserSwitch() {
  if (!State.gSetting) return;
  const std::u16string file = API::JoinPath(State.gSetting->AppFolder, u"trl.dat");
  std::string bytes;
  // A table another program holds unshared is whole but unknown: no save puts this session's
  // prefixes in place of it.
  CompanionState& s = CompanionData();
  s.switchUnread = false;
  if (!API::ReadFileBytes(file, bytes)) {
    s.switchUnread = API::FileExists(file);
    if (s.switchUnread) API::LeaveUserFile(file);
    return;
  }
  // Written as ANSI or as UTF-16LE with its mark, but an editor may have saved it otherwise.
  // Lines the next save would not write back, or a guessed encoding it would not keep, are first
  // copied beside it, the file as it is; without a copy the file stays as it is.
  const API::UserText read = API::ReadUserText(bytes);
  const bool whole = MergeUserSwitch(read.text);
  s.switchUnread = !API::MayReplaceUserFile(file, bytes, read, whole, API::TextFileBytes(UserSwitchText()));
}

}  // namespace parlavent
