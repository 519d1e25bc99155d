#pragma once
// clsProccess as start-up and the main window use it: a snapshot of the running processes, each
// with its program file.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/process_snapshot.h"

namespace parlavent {

class clsProccess {
 public:
  /// Takes a new snapshot and returns the number of processes in it.
  std::int32_t GetActiveProcess();
  /// The file name of process Index (from 0) of the last snapshot; "" outside it.
  std::u16string szExeFile(std::int32_t Index) const;
  /// The program file of process i; its full path (at most 256 characters) in RetPath.
  std::u16string GetExe(std::int32_t i, std::u16string& RetPath) const;

 private:
  std::vector<RunningProcess> snapshot_;
};

}  // namespace parlavent
