#include "dictionary/record_codes.h"

#include <iterator>

#include "text/text.h"

namespace parlavent {
namespace {

constexpr std::u16string_view kRech[] = {u"",     u"N",    u"ABBR", u"ADV",  u"NPR", u"PREP", u"V",
                                         u"A",    u"INTRJ", u"ID",  u"PHR",  u"CONJ", u"PREF", u"PRON",
                                         u"ART",  u"AUX",  u"PART", u"NUM",  u"SUFF"};
constexpr std::u16string_view kRod[] = {u"", u"M", u"F", u"N"};

template <std::size_t N>
std::u16string_view Tag(const std::u16string_view (&table)[N], std::int64_t code) {
  return code >= 0 && code < static_cast<std::int64_t>(N) ? table[code] : std::u16string_view{};
}

template <std::size_t N>
int Code(const std::u16string_view (&table)[N], std::u16string_view tag) {
  if (tag.empty()) return 0;
  for (std::size_t i = 1; i < N; ++i) {
    if (EqualsNoCase(table[i], tag)) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace

std::u16string_view RechTag(std::int64_t code) { return Tag(kRech, code); }
std::u16string_view RodTag(std::int64_t code) { return Tag(kRod, code); }
int RechCode(std::u16string_view tag) { return Code(kRech, tag); }
int RodCode(std::u16string_view tag) { return Code(kRod, tag); }

}  // namespace parlavent
