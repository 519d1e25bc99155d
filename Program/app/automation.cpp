// The automation server's switches and registration entries.
#include "app/automation.h"

namespace parlavent {

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsBlind(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Join(std::u16string_view a, std::u16string_view b) {
  std::u16string s(a);
  s += u'\\';
  s += b;
  return s;
}

}  // namespace

AutomationSwitch ParseAutomationSwitch(std::u16string_view commandLine) {
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  while (i < n) {
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i >= n) break;
    const std::size_t start = i;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(commandLine[i]))) {
      if (commandLine[i] == u'"') quoted = !quoted;
      ++i;
    }
    std::u16string_view arg = commandLine.substr(start, i - start);
    if (arg.size() < 2 || (arg[0] != u'/' && arg[0] != u'-')) continue;
    arg.remove_prefix(1);
    if (EqualsBlind(arg, u"regserver")) return AutomationSwitch::RegServer;
    if (EqualsBlind(arg, u"unregserver")) return AutomationSwitch::UnregServer;
    if (EqualsBlind(arg, u"embedding")) return AutomationSwitch::Embedding;
  }
  return AutomationSwitch::None;
}

std::vector<RegistryEntry> AutomationRegistryEntries(std::u16string_view exePath, std::u16string_view clsid,
                                                     std::u16string_view libid) {
  const std::u16string progKey = Join(kClassesKey, kApplProgId);
  const std::u16string classKey = Join(Join(kClassesKey, u"CLSID"), clsid);
  std::u16string server = u"\"";
  server += exePath;
  server += u"\"";
  return {
      {progKey, u"", u"Parlavent application object"},
      {Join(progKey, u"CLSID"), u"", std::u16string(clsid)},
      {classKey, u"", u"Parlavent application object"},
      {Join(classKey, u"LocalServer32"), u"", server},
      {Join(classKey, u"ProgID"), u"", std::u16string(kApplProgId)},
      {Join(classKey, u"TypeLib"), u"", std::u16string(libid)},
  };
}

std::vector<std::u16string> AutomationRegistryKeys(std::u16string_view clsid) {
  return {Join(kClassesKey, kApplProgId), Join(Join(kClassesKey, u"CLSID"), clsid)};
}

}  // namespace parlavent
