#pragma once
// Resource identifiers shared by the .rc script and the Windows shell.
#define IDI_PARLAVENT 1
