#pragma once
// The Win32 windows of the program, made for the application object on first use.
#include <windows.h>

#include <memory>

#include "app/main_form.h"

namespace parlavent {

std::shared_ptr<FormLoader> MakeWin32FormLoader(HINSTANCE instance);

}  // namespace parlavent
