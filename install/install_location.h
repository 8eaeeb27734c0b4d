#pragma once
// Where an installation goes when nobody says, and whether the viewer is
// running: what start-up and the wizard ask before an installation.

#include <windows.h>

// The folder of a registered earlier installation, ending in a backslash.
// folder has 260 units; false (and an empty folder) when none is registered.
bool FindPreviousInstallFolder(wchar_t* folder);

// The program-files folder followed by "Photarium", else "C:\Photarium\".
void DefaultInstallFolder(wchar_t* folder);

// True when a window of the viewer (class "Photarium") exists.
bool IsViewerRunning();
