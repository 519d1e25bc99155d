#pragma once
// Generated tables (tools/gen_text_tables.py): simple BMP case mappings and 8-bit code pages.
#include <cstddef>

namespace parlavent::tables {

struct CasePair {
  char16_t from;
  char16_t to;
};

extern const CasePair kToLower[];
extern const std::size_t kToLowerCount;
extern const CasePair kToUpper[];
extern const std::size_t kToUpperCount;

/// Characters of bytes 0x80..0xFF; a byte the code page leaves undefined maps to U+0080..U+00FF,
/// as Windows maps it.
extern const char16_t kCp1251High[128];
extern const char16_t kCp1252High[128];

}  // namespace parlavent::tables
