#include "companions/layout_switch.h"

#include <algorithm>
#include <vector>

#include "app/application.h"
#include "app/companion_services.h"
#include "app/companion_state.h"
#include "app/neighbour_services.h"
#include "app/view_host.h"
#include "companions/key_layouts.h"
#include "dictionary/dictionary.h"
#include "dictionary/keyboard_layers.h"
#include "foundation/api_files.h"
#include "foundation/lang_entries.h"
#include "foundation/settings_object.h"
#include "platform/rich_text_box.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Prefixes up to this length are counted as the user types a word.
constexpr std::size_t kPrefixLength = 3;
constexpr std::int32_t kMaxCount = 0x7FFFFFFF;

std::u16string AddToPair(std::u16string_view layouts, std::int64_t layout) {
  std::vector<std::u16string> pairs = SplitText(layouts, u",");
  bool found = false;
  for (std::u16string& pair : pairs) {
    if (clsPrefix::PairLayout(pair) != layout) continue;
    const std::size_t colon = pair.find(u':');
    const std::int64_t count = colon == std::u16string::npos ? 0 : LeadingNumber(pair.substr(colon + 1));
    pair = NumberText(layout) + u":" + NumberText(std::min<std::int64_t>(count + 1, kMaxCount));
    found = true;
    break;
  }
  if (!found) pairs.push_back(NumberText(layout) + u":1");
  pairs.erase(std::remove_if(pairs.begin(), pairs.end(), [](const std::u16string& p) { return p.empty(); }),
              pairs.end());
  return JoinText(pairs, u",");
}

// text as typed on the keys of layout, read in the current dictionary's other layout, when that
// begins a word of the dictionary (the layout in to); empty otherwise.
std::u16string RetypedWord(Appl& app, std::u16string_view text, std::int64_t layout, std::int32_t& to) {
  const auto& dic = app.Dic;
  if (!dic) return {};
  for (const std::int32_t other : {dic->Layout1, dic->Layout2}) {
    if (other == 0 || (other & 0xFFFF) == (layout & 0xFFFF)) continue;
    std::u16string retyped = Retype(text, layout, other);
    if (retyped.empty() || retyped == text || app.GetList(Trim(retyped), 0).empty()) continue;
    to = other;
    return retyped;
  }
  return {};
}

// The input as typed is no beginning of a word of the current dictionary, but its retyping in the
// dictionary's other layout is: the retyping replaces it.
bool TryRetype(Appl& app, RichTextBox& input, const std::u16string& text, std::int64_t layout) {
  if (!app.Dic || !app.Companion) return false;
  const std::u16string typed = Trim(text);
  if (!app.GetList(typed, 0).empty()) return false;
  std::int32_t other = 0;
  const std::u16string retyped = RetypedWord(app, text, layout, other);
  if (!retyped.empty()) {
    CompanionState& s = app.CompanionData();
    s.retyping = true;
    app.SetInput(retyped);
    input.SetSelStart(static_cast<std::int32_t>(retyped.size()));
    s.retyping = false;
    s.lastInput = retyped;
    app.Companion->ActivateLayout(other);
    if (app.Sett->TrlSound) app.Companion->PlaySwitchSound();
    app.ShowNotify(2, app.LZ(lang::kNotifyLayoutCorrected), true);
    return true;
  }
  return false;
}

}  // namespace

bool Appl::FoundInOtherLayout(std::u16string_view Text) {
  if (!Dic) return false;
  const std::u16string word = Trim(Text);
  if (word.empty() || word.find_first_of(u" \t\r\n") != std::u16string::npos) return false;
  std::int32_t other = 0;
  for (const std::int32_t layout : {Dic->Layout1, Dic->Layout2}) {
    if (layout != 0 && !RetypedWord(*this, word, layout, other).empty()) return true;
  }
  return false;
}

void RecordPrefix(std::u16string_view prefix, std::int64_t layout) {
  if (prefix.empty() || layout <= 0) return;
  auto& prefixes = G().gPrefixes;
  auto* known = prefixes.Find(prefix);
  if (!known) {
    auto entry = std::make_shared<clsPrefix>();
    entry->Prefix = std::u16string(prefix);
    prefixes.Add(prefix, entry);
    known = prefixes.Find(prefix);
    if (!known) return;
  }
  clsPrefix& entry = **known;
  entry.Layouts = AddToPair(entry.Layouts, layout);
  if (entry.Mass < kMaxCount) ++entry.Mass;
  entry.ByUser = true;
  if (HasAppl()) gAppl().CompanionData().switchChanged = true;
}

std::u16string UserSwitchText() {
  std::u16string text;
  for (const auto& entry : G().gPrefixes) {
    if (!entry || !entry->ByUser || entry->Prefix.empty() || entry->Layouts.empty()) continue;
    // A TAB or line break inside a prefix would break the line apart on reading.
    if (entry->Prefix.find_first_of(u"\t\r\n") != std::u16string::npos) continue;
    text += entry->Prefix + u"\t" + entry->Layouts + u"\t" + NumberText(entry->Mass) + u"\r\n";
  }
  return text;
}

bool Appl::SaveUserSwitch() {
  CompanionState& s = CompanionData();
  if (!s.switchChanged) return true;
  if (s.switchUnread || !Sett) return false;
  // ANSI when every prefix survives the code page; otherwise UTF-16 with its mark, so that no
  // prefix comes back as question marks.
  const std::string bytes = API::TextFileBytes(UserSwitchText());
  if (!API::ReplaceFileContents(API::JoinPath(Sett->AppFolder, u"trl.dat"), bytes)) return false;
  s.switchChanged = false;
  return true;
}

namespace mdlPublic {

void CheckLayoutSwitch() {
  if (!HasAppl()) return;
  Appl& app = gAppl();
  if (!app.Sett || app.Sett->TrlMode <= 0) return;
  CompanionState& s = app.CompanionData();
  if (s.retyping) return;
  const auto input = app.ViewServices().InputBox();
  if (!input) return;
  std::u16string text = input->Text();
  if (text == s.lastInput) return;
  const std::u16string before = std::move(s.lastInput);
  s.lastInput = text;
  // Only a character typed at the end (or over the whole text) counts; pastes, deletions and
  // the program's own writes do not.
  const bool appended = text.size() == before.size() + 1 && text.compare(0, before.size(), before) == 0;
  if (!appended && text.size() != 1) return;
  const std::intptr_t layout = app.Companion ? app.Companion->ForegroundLayout() : 0;
  if (layout == 0) return;
  const std::u16string word = LCase(TrimLeft(text));
  if (word.empty() || word.find(u' ') != std::u16string::npos) return;
  if (app.Sett->TrlMode >= 2 && word.size() >= 2 && TryRetype(app, *input, text, layout)) return;
  if (word.size() <= kPrefixLength) RecordPrefix(word, layout & 0xFFFF);
}

}  // namespace mdlPublic
}  // namespace parlavent
