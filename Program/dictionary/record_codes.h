#pragma once
// The part-of-speech and gender codes of translation links, and their tags.
#include <cstdint>
#include <string_view>

namespace parlavent {

/// Tag of a part-of-speech code ("N", "ABBR", ... "SUFF"); "" for 0 and unknown codes.
std::u16string_view RechTag(std::int64_t code);
/// Tag of a gender code ("M", "F", "N"); "" for 0 and unknown codes.
std::u16string_view RodTag(std::int64_t code);
/// Code of a tag (case-blind); 0 when the tag is not in the table.
int RechCode(std::u16string_view tag);
int RodCode(std::u16string_view tag);

}  // namespace parlavent
