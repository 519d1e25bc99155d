#pragma once
// What the look-up asks of its neighbours: the word index (exact and key tests, the side of a
// text) and the translation records, in the look-up's words (lookup_deps.cpp); and what the
// result tree and the dictionary objects read of the application when they file and render: the
// settings, the interface texts and the transcriptions. Those are the application object's while
// one is installed and none without (app/engine_operations.cpp answers them).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/sections.h"

namespace parlavent {

class Searches;
class clsDic;
class Setting;

namespace lookup {

/// An entry with exactly this text exists (case-blind); stops at the first hit.
bool HasEntry(Searches& search, std::u16string_view text, const clsDic& dic, bool doEvent);
/// The word index holds the key of text (no text comparison): phrase beginnings end in a blank.
bool HasKey(Searches& search, std::u16string_view text, const clsDic& dic, bool doEvent);
/// The sides of every entry with this text: 0 none, 1, 2, 3 both.
std::int32_t SideOf(Searches& search, std::u16string_view text, const clsDic& dic);
/// The translation records of phrase, appended to recs (after emptying it with clear).
void GatherRecords(Searches& search, std::u16string_view phrase, std::vector<TransRec>& recs, const clsDic& dic,
                   bool useDir, bool clear);

/// The transcription of word in the current dictionary's common package, or "".
std::u16string Transcript(std::u16string_view word);
/// The settings object, or nullptr before one exists.
const Setting* Settings();
/// Interface text n of the current language.
std::u16string LangStr(std::int32_t n);

}  // namespace lookup
}  // namespace parlavent
