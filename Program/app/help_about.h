#pragma once
// The About text: a template in link markup with the program version and the visible
// dictionaries filled in.
#include <string>
#include <string_view>

namespace parlavent {

class Appl;

/// "#Ver#" becomes version; "#Dictionaries#" one line per visible dictionary of ColDics: source
/// name, ": ", the word count in whole thousands, a blank and wordsLabel (lines joined by CR LF).
std::u16string FillAboutTemplate(const Appl& app, std::u16string_view templateText, std::u16string_view version,
                                 std::u16string_view wordsLabel);

}  // namespace parlavent
