#pragma once
// The text members of a dictionary package that describe it: ending rules ("Replace"), theme
// names ("Themes") and the layout-switch prefix table ("Prefix"). Lines end in CR LF, fields are
// separated by TAB. Layouts: docs/dictionary-loading.md.
#include <cstdint>
#include <memory>
#include <string_view>

#include "dictionary/dictionary.h"

namespace parlavent {

class clsPrefix;

/// Adds the ending rules of a "Replace" text to col; the first rule of an ending wins.
void ReadReplaceRules(std::u16string_view text, SfxCollection& col);
/// One ending rule made from its pattern ("??ing") and replacement list ("e,y").
std::shared_ptr<clsSfx> MakeSfx(std::u16string_view pattern, const std::u16string* replaces);
/// Adds the themes of a "Themes" text to col; the first line of a number wins.
void ReadThemes(std::u16string_view text, ThemeCollection& col);
/// Adds the lines of a "Prefix" text to prefixes, each under the layout of its side.
void ReadPrefixes(std::u16string_view text, std::int32_t layout1, std::int32_t layout2,
                  KeyedCollection<std::shared_ptr<clsPrefix>>& prefixes);

}  // namespace parlavent
