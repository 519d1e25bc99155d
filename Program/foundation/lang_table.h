#pragma once
// The interface-language table: every text of the user interface, looked up by entry number in
// the column of the current interface language. The table comes from "lang.dat" beside the
// program: UTF-16LE, one line per entry (CR LF), one column per language (TAB); entry 0 names the
// languages, entry 1 holds each language's test text. Inside a text "[CRLF]" stands for a line
// break. Entry numbers in use are in foundation/lang_entries.h.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parlavent {

/// What loading a table text yields.
struct LangTableLoad {
  std::vector<std::u16string> table;      // entry 0 whole; every other entry the chosen column
  std::vector<std::u16string> languages;  // the language names; "" for a language not offered
};

/// Builds the table from the text of a language file for the language column curLang. A column
/// whose test text the ANSI code page cannot hold loses its name, and when it is curLang, curLang
/// becomes 0. A line with too few columns keeps its whole text.
LangTableLoad BuildLangTable(std::u16string_view fileText, std::int32_t& curLang);

namespace mdlPublic {

/// (Re)loads the table from the program folder's lang.dat for the interface language CurLang (the
/// settings' field, reset to 0 when that language cannot be shown) into gLangTable and
/// Appl.Languages, and sets site and Email from entries 113 and 145. A missing file gives an
/// empty table.
void LoadLang(std::int32_t& CurLang, std::u16string& site, std::u16string& Email);

/// Entry n of the current language with every "[CRLF]" (any case) turned into CR LF; "" for a
/// number outside the table.
std::u16string GetLangStr(std::int32_t n);

}  // namespace mdlPublic
}  // namespace parlavent
