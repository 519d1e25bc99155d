#pragma once
// Text language detection (text_lang.cpp): Appl::GetTextLang hands over to it.
#include <memory>
#include <string>
#include <string_view>

#include "foundation/keyed_collection.h"

namespace parlavent {

class Lookup;
class clsDic;
class clsVoice;

/// The language the words of Text belong to in the visible dictionaries of dics, and in RetVoice
/// the voice to read it with (one of voices by its index, else defVoice).
std::u16string GetTextLang(Lookup& lookup, const KeyedCollection<std::shared_ptr<clsDic>>& dics,
                           const KeyedCollection<std::shared_ptr<clsVoice>>& voices,
                           const std::shared_ptr<clsVoice>& defVoice, std::u16string_view Text,
                           std::shared_ptr<clsVoice>* RetVoice);

}  // namespace parlavent
