// The automation server's switches and its per-user registration entries.
#include "app/automation.h"

#include <gtest/gtest.h>

namespace parlavent {
namespace {

TEST(AutomationSwitchTest, RecognisesTheSwitchesInAnyCaseAfterTheProgramPath) {
  EXPECT_EQ(ParseAutomationSwitch(u"\"C:\\Program Files\\Parlavent\\Parlavent.exe\" /regserver"),
            AutomationSwitch::RegServer);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe -UnRegServer"), AutomationSwitch::UnregServer);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe\t-Embedding"), AutomationSwitch::Embedding);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe /h /REGSERVER"), AutomationSwitch::RegServer);
}

TEST(AutomationSwitchTest, OrdinaryStartsAndLookalikesAreNoSwitch) {
  EXPECT_EQ(ParseAutomationSwitch(u""), AutomationSwitch::None);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe"), AutomationSwitch::None);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe /h /t"), AutomationSwitch::None);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe /regserverx"), AutomationSwitch::None);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe regserver"), AutomationSwitch::None);
  EXPECT_EQ(ParseAutomationSwitch(u"Parlavent.exe / -"), AutomationSwitch::None);
  // A folder named like a switch is part of the quoted program path, not an argument.
  EXPECT_EQ(ParseAutomationSwitch(u"\"C:\\x /regserver\\Parlavent.exe\""), AutomationSwitch::None);
  // An unclosed quote swallows the rest of the line.
  EXPECT_EQ(ParseAutomationSwitch(u"\"C:\\x\\Parlavent.exe /unregserver"), AutomationSwitch::None);
}

TEST(AutomationRegistryTest, EntriesLiePerUserAndTieProgIdClassAndProgram) {
  const auto entries = AutomationRegistryEntries(u"C:\\P\\Parlavent.exe", u"{C}", u"{L}");
  auto value = [&](std::u16string_view key) -> std::u16string {
    for (const auto& e : entries)
      if (e.key == key && e.valueName.empty()) return e.value;
    return u"<missing>";
  };
  for (const auto& e : entries) EXPECT_EQ(e.key.rfind(u"Software\\Classes\\", 0), 0u) << std::string(e.key.begin(), e.key.end());
  EXPECT_EQ(value(u"Software\\Classes\\Parlavent.Appl\\CLSID"), u"{C}");
  // Quoted, so that COM starts the program from a path with blanks.
  EXPECT_EQ(value(u"Software\\Classes\\CLSID\\{C}\\LocalServer32"), u"\"C:\\P\\Parlavent.exe\"");
  EXPECT_EQ(value(u"Software\\Classes\\CLSID\\{C}\\ProgID"), u"Parlavent.Appl");
  EXPECT_EQ(value(u"Software\\Classes\\CLSID\\{C}\\TypeLib"), u"{L}");

  // Removal deletes exactly the two keys registration made.
  const auto keys = AutomationRegistryKeys(u"{C}");
  ASSERT_EQ(keys.size(), 2u);
  for (const auto& e : entries)
    EXPECT_TRUE(e.key.rfind(keys[0], 0) == 0 || e.key.rfind(keys[1], 0) == 0);
}

}  // namespace
}  // namespace parlavent
