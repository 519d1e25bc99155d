#pragma once
// Resource identifiers shared by the .rc script and the Windows shell.
#define IDI_PARLAVENT 1
#define IDI_PARLAVENT_AUTO 2   // the tray icon while automatic mode is on
#define IDC_PARLAVENT_HAND 101  // the hand over links; start-up loads it by this number
