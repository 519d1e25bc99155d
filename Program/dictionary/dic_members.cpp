#include "dictionary/dic_members.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "dictionary/keyboard_layers.h"
#include "foundation/api_strings.h"
#include "text/text.h"

namespace parlavent {
namespace {

std::vector<std::u16string> Lines(std::u16string_view text) {
  if (text.empty()) return {};
  return SplitText(text, u"\r\n");
}

std::vector<std::u16string> Fields(std::u16string_view line) { return SplitText(line, u"\t"); }

// A byte field takes what fits; a longer ending only makes the rule stricter.
std::uint8_t ToByte(std::int64_t value) {
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

std::int32_t NumberOr(std::u16string_view text, std::int32_t fallback) {
  std::int64_t n = 0;
  if (!ParseInt64(text, n) || n < std::numeric_limits<std::int32_t>::min() ||
      n > std::numeric_limits<std::int32_t>::max()) {
    return fallback;
  }
  return static_cast<std::int32_t>(n);
}

}  // namespace

std::shared_ptr<clsSfx> MakeSfx(std::u16string_view pattern, const std::u16string* replaces) {
  const std::size_t last = pattern.rfind(u'?');
  const std::int64_t p = last == std::u16string_view::npos ? 0 : static_cast<std::int64_t>(last) + 1;
  // Question marks stand for letters the word must have before the ending.
  const std::int64_t m = p == 0 ? 3 : (p <= 2 ? 1 : p - 1);
  auto sfx = std::make_shared<clsSfx>();
  sfx->sfx = std::u16string(pattern.substr(static_cast<std::size_t>(p)));
  sfx->MinWordLen = ToByte(m + static_cast<std::int64_t>(sfx->sfx.size()));
  if (replaces && !replaces->empty()) {
    sfx->Replaces = SplitText(*replaces, u",");
    sfx->ubReplaces = ToByte(static_cast<std::int64_t>(sfx->Replaces.size()) - 1);
  }
  return sfx;
}

void ReadReplaceRules(std::u16string_view text, SfxCollection& col) {
  for (const auto& line : Lines(text)) {
    if (Trim(line).empty()) continue;
    const auto fields = Fields(line);
    auto sfx = MakeSfx(fields[0], fields.size() > 1 ? &fields[1] : nullptr);
    const std::u16string key = API::MakeKey(sfx->sfx);
    col.Add(key, std::move(sfx));
  }
}

void ReadThemes(std::u16string_view text, ThemeCollection& col) {
  for (const auto& raw : Lines(text)) {
    const std::u16string line = Trim(raw);
    if (line.empty()) continue;
    const auto fields = Fields(line);
    auto theme = std::make_shared<clsTheme>();
    theme->ID = NumberOr(fields[0], 0);
    if (fields.size() > 1) theme->Name = fields[1];
    if (fields.size() > 2) theme->Short = fields[2];
    const std::u16string key = API::MakeKey(theme->ID);
    col.Add(key, std::move(theme));
  }
}

void ReadPrefixes(std::u16string_view text, std::int32_t layout1, std::int32_t layout2,
                  KeyedCollection<std::shared_ptr<clsPrefix>>& prefixes) {
  for (const auto& line : Lines(text)) {
    if (line.empty()) continue;
    const auto fields = Fields(line);
    const std::int32_t side = fields.size() > 1 ? NumberOr(fields[1], 0) : 0;
    const std::int32_t layout = side == 1 ? layout1 : (side == 2 ? layout2 : 0);
    if (layout <= 0) continue;
    const std::int32_t count = fields.size() > 2 ? NumberOr(fields[2], 1) : 1;
    const std::u16string pair = NumberText(layout) + u":" + NumberText(count);
    const std::u16string& prefix = fields[0];
    if (auto* known = prefixes.Find(prefix)) {
      // The same prefix in several dictionaries collects one entry per keyboard layout. The
      // layout is matched as a whole number: a text search would take a count of 1049, or
      // layout 10490, for layout 1049 and drop the new pair.
      if (!(*known)->HasLayout(layout)) {
        (*known)->Layouts += u"," + pair;
      }
      continue;
    }
    auto entry = std::make_shared<clsPrefix>();
    entry->Prefix = prefix;
    entry->Layouts = pair;
    prefixes.Add(prefix, std::move(entry));
  }
}

}  // namespace parlavent
