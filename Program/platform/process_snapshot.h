#pragma once
// The running processes as a snapshot: each one's program file name and full path. The shell
// installs the Win32 implementation (a Toolhelp snapshot); natively the list is empty and tests
// install fakes.
#include <memory>
#include <string>
#include <vector>

namespace parlavent {

struct RunningProcess {
  std::u16string exeFile;   // the file name, as the snapshot gives it
  std::u16string fullPath;  // "" when the process cannot be queried
};

class ProcessSnapshots {
 public:
  virtual ~ProcessSnapshots() = default;
  virtual std::vector<RunningProcess> Take() = 0;
};

ProcessSnapshots& Processes();
/// Installs the service (nullptr restores the quiet default).
void SetProcesses(std::shared_ptr<ProcessSnapshots> processes);

}  // namespace parlavent
