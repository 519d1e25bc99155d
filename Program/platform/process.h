#pragma once
// What the core needs of its own process: the command line, ending at once, and the user's number
// format. The shell installs the Win32 implementation; natively a quiet default stands in (empty
// command line, ending does nothing, "." as decimal separator) and tests install fakes.
#include <memory>
#include <string>

namespace parlavent {

class ProcessServices {
 public:
  virtual ~ProcessServices() = default;
  /// The program's command line as the system passed it (without the program path).
  virtual std::u16string CommandLine() = 0;
  /// Ends the process at once: nothing is saved, no window is closed.
  virtual void EndNow() = 0;
  /// The user's decimal separator.
  virtual std::u16string DecimalSeparator() = 0;
};

ProcessServices& Process();
/// Installs the service (nullptr restores the quiet default).
void SetProcess(std::shared_ptr<ProcessServices> process);

}  // namespace parlavent
