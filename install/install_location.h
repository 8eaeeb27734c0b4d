#pragma once
// Where an installation goes when nobody says, and whether the viewer is
// running: what start-up and the wizard ask before an installation.

#include "platform/fixed_text.h"

#include <windows.h>

// The folder of a registered earlier installation, ending in a backslash;
// false (and an empty folder) when none is registered.
bool FindPreviousInstallFolder(PathText& folder);

// The program-files folder followed by "Photarium", else "C:\Photarium\".
void DefaultInstallFolder(PathText& folder);

// True when a window of the viewer (class "Photarium") exists.
bool IsViewerRunning();
