#pragma once
// The CreateFileMapping implementation of the file mapper.
#include <windows.h>

namespace parlavent {

void InstallWin32FileMapper();

}  // namespace parlavent
