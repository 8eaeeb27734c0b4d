#pragma once
// Where the program's later library loads may look.

#include <windows.h>

// Makes later library loads search only the system folder, when the system
// offers SetDefaultDllDirectories.
void HardenDllSearchPath();
