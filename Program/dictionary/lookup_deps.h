#pragma once
// What the look-up asks of its neighbours: the word index (exact and key tests, the side of a
// text), the translation records and transcriptions, the settings and the interface texts. One
// place, so that the look-up's own files say what they need in the look-up's words.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/sections.h"

namespace parlavent {

class clsDic;
class Setting;

namespace lookup {

/// An entry with exactly this text exists (case-blind); stops at the first hit.
bool HasEntry(std::u16string_view text, const clsDic& dic, bool doEvent);
/// The word index holds the key of text (no text comparison): phrase beginnings end in a blank.
bool HasKey(std::u16string_view text, const clsDic& dic, bool doEvent);
/// The sides of every entry with this text: 0 none, 1, 2, 3 both.
std::int32_t SideOf(std::u16string_view text, const clsDic& dic);
/// The translation records of phrase, appended to recs (after emptying it with clear).
void GatherRecords(std::u16string_view phrase, std::vector<TransRec>& recs, const clsDic& dic, bool useDir, bool clear);
/// The transcription of word in the current dictionary's data, or "".
std::u16string Transcript(std::u16string_view word);
/// The settings object, or nullptr before one exists.
const Setting* Settings();
/// Interface text n of the current language.
std::u16string LangStr(std::int32_t n);

}  // namespace lookup
}  // namespace parlavent
