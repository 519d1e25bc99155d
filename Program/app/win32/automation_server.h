#pragma once
// The out-of-process automation server: the one running application object offered to every
// client as "Parlavent.Appl", its registration, and the plug-in host's late-bound
// plug-ins created by ProgID.
#include <windows.h>

#include <memory>
#include <string_view>

namespace parlavent {

class Appl;
class PlugInObject;

/// Handles "/regserver" and "/unregserver" on commandLine: writes or removes the per-user
/// registration and the type library's, and returns true with the exit code in exitCode (0 on
/// success). False for any other start.
bool HandleAutomationSwitch(std::u16string_view commandLine, int& exitCode);

/// Offers app to clients from before its start-up on, in the copy that runs on (not in a second
/// copy, which ends in start-up, nor in a copy from another folder while one serves); calls wait
/// until the main loop first asks for a message, and one that waited 8 s by then is turned away.
/// The caller's thread becomes a single-threaded apartment. Nothing happens when the type library
/// cannot be read.
void StartAutomationServer(Appl& app);
/// Withdraws the class object and cuts off remaining clients; the application object given to
/// StartAutomationServer is no longer reached after it.
void StopAutomationServer();
/// GetMessage for the program's main loop; the calls held while the program was inside its own
/// work run first.
/// False for WM_QUIT or an error.
bool NextTopLevelMessage(MSG& msg);

/// The plug-in object registered under progId, called late-bound by member name; null when none
/// is registered or it cannot be created.
std::shared_ptr<PlugInObject> CreateDispatchPlugIn(std::u16string_view progId);

}  // namespace parlavent
