#pragma once
// The character keys of the keyboard layouts the dictionaries' languages use, row by row, so that
// the on-screen keyboard can draw and type them and a text typed in the wrong layout can be
// retyped in the right one. docs/companions.md lists the layouts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

/// One layout: four rows of keys, each key's character without and with Shift.
struct KeyLayout {
  std::int32_t Id = 0;                 // language identifier of the layout (1033, 1049, 1031)
  std::u16string_view Rows[4];         // without Shift
  std::u16string_view ShiftRows[4];    // with Shift, key for key
};

/// The layout of a language identifier (the low word of a keyboard-layout handle); nullptr when
/// the program does not know it.
const KeyLayout* FindKeyLayout(std::int64_t layout);
/// The layout for a language code ("en", "ru", "de"); nullptr when unknown.
const KeyLayout* KeyLayoutForLang(std::u16string_view lang);

/// text as typed on the keys of from, read in to: each character found on a key of from becomes
/// that key's character in to (Shift kept); others stay. Empty when either layout is unknown.
std::u16string Retype(std::u16string_view text, std::int64_t from, std::int64_t to);

}  // namespace parlavent
