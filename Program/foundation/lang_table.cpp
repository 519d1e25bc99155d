#include "foundation/lang_table.h"

#include "foundation/api_files.h"
#include "foundation/host.h"
#include "foundation/lang_entries.h"
#include "platform/code_page.h"
#include "platform/system_info.h"
#include "text/text.h"

namespace parlavent {
namespace {

// Whether the code page holds the text: each character goes to a byte and back unchanged (case
// aside), as the interface must show it in the system's 8-bit controls and files.
bool PassesAnsiTest(std::u16string_view test) {
  const CodePage& ansi = AnsiCodePage();
  const std::string bytes = ansi.Encode(test);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::u16string back = ansi.Decode(bytes.substr(i, 1));
    if (i >= test.size() || back.size() != 1 || LowerChar(back[0]) != LowerChar(test[i])) return false;
  }
  return true;
}

std::vector<std::u16string> SplitOrNone(std::u16string_view text, std::u16string_view delim) {
  return text.empty() ? std::vector<std::u16string>() : SplitText(text, delim);
}

std::u16string ExpandLineBreaks(std::u16string_view text) {
  static constexpr std::u16string_view kMarker = u"[CRLF]";
  std::u16string out;
  std::size_t from = 0;
  for (std::size_t at; (at = FindNoCase(text, kMarker, from)) != std::u16string_view::npos; from = at + kMarker.size()) {
    out.append(text.substr(from, at - from)).append(u"\r\n");
  }
  return out.append(text.substr(from));
}

}  // namespace

LangTableLoad BuildLangTable(std::u16string_view fileText, std::int32_t& curLang) {
  LangTableLoad load;
  load.table = SplitOrNone(fileText, u"\r\n");
  if (load.table.empty()) return load;
  load.languages = SplitText(load.table[0], u"\t");
  const std::vector<std::u16string> tests =
      load.table.size() > 1 ? SplitText(load.table[1], u"\t") : std::vector<std::u16string>();
  for (std::size_t i = 1; i < load.languages.size(); ++i) {
    if (PassesAnsiTest(i < tests.size() ? tests[i] : std::u16string())) continue;
    load.languages[i].clear();
    if (curLang == static_cast<std::int32_t>(i)) curLang = 0;
  }
  for (std::size_t n = 1; n < load.table.size(); ++n) {
    if (load.table[n].empty() || curLang < 0) continue;
    std::vector<std::u16string> columns = SplitText(load.table[n], u"\t");
    if (static_cast<std::size_t>(curLang) < columns.size()) load.table[n] = std::move(columns[curLang]);
  }
  return load;
}

namespace mdlPublic {

void LoadLang(std::int32_t& CurLang, std::u16string& site, std::u16string& Email) {
  const std::u16string path = API::JoinPath(System().ProgramFolder(), u"lang.dat");
  LangTableLoad load = BuildLangTable(API::ReadUnicodeFile(path), CurLang);
  ProcessValues().gLangTable = std::move(load.table);
  Host().Languages() = std::move(load.languages);
  site = GetLangStr(lang::kSite);
  Email = GetLangStr(lang::kEmail);
}

std::u16string GetLangStr(std::int32_t n) {
  const std::vector<std::u16string>& table = ProcessValues().gLangTable;
  if (n < 0 || static_cast<std::size_t>(n) >= table.size()) return {};
  return ExpandLineBreaks(table[static_cast<std::size_t>(n)]);
}

}  // namespace mdlPublic

}  // namespace parlavent
