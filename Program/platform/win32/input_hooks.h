#pragma once
// Counts key and mouse-button presses system-wide, so that the timers that poll the keys (the
// hot key, the popup's Esc, the automatic mode's gestures) see taps shorter than their period.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/input.h"

namespace parlavent {

/// Marks the input the program sends itself (the simulated copy, the paste into another
/// program): the counts leave it out, or the program's own Ctrl+C would count as a Ctrl tap.
inline constexpr ULONG_PTR kOwnInputMark = 0x50564E54;  // "PVNT"

/// Starts the thread that holds the low-level keyboard and mouse hooks (once per process).
/// False when the hooks could not be installed: the counts then stay 0.
bool StartInputHooks();

/// Takes the hooks off and ends their thread; for a process about to end. Under Wine the hooks
/// of a process that ends while it holds them keep the next hooks of the desktop (another copy's,
/// a copy started next) from seeing some of the keys.
void StopInputHooks();

/// How many times virtual key vk (or a mouse button's code) has gone down since the hooks started.
std::uint32_t HookedPressCount(int vk);

/// The changes of vk numbered above after, with their times (InputDevice::ChangesSince).
std::vector<KeyChange> HookedChanges(int vk, std::uint32_t after);

}  // namespace parlavent
