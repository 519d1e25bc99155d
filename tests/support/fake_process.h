#pragma once
// A process whose command line and number format the test sets, and which only counts the
// requests to end it.
#include <string>

#include "platform/process.h"
#include "support/fake_input.h"

namespace parlavent::testing {

class FakeProcess : public ProcessServices {
 public:
  std::u16string commandLine;
  std::u16string decimalSeparator = u".";
  int ends = 0;
  std::u16string CommandLine() override { return commandLine; }
  void EndNow() override { ++ends; }
  std::u16string DecimalSeparator() override { return decimalSeparator; }
};

using ScopedProcess = ScopedService<ProcessServices, &SetProcess>;

}  // namespace parlavent::testing
