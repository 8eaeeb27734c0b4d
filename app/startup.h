#pragma once
// Start-up operations shared by the silent path and the wizard.

#include <windows.h>

// Makes later library loads search only the system folder, when the system
// offers SetDefaultDllDirectories.
void HardenDllSearchPath();

// True when Windows is at least major.minor (service pack 0 or later).
bool IsOsVersionAtLeast(WORD major, WORD minor);

// The folder of a registered earlier installation, ending in a backslash.
// folder has 260 units; false (and an empty folder) when none is registered.
bool FindPreviousInstallFolder(wchar_t* folder);

// The program-files folder followed by "Photarium", else "C:\Photarium\".
void DefaultInstallFolder(wchar_t* folder);

// True when a window of the viewer (class "Photarium") exists.
bool IsViewerRunning();

// Exit codes of silent mode; numbers are never reused.
enum SilentExitCode {
    kExitInstalled = 0,
    kExitInstallFailed = 1,
    kExitViewerRunning = 2,
};

// The silent path: builds the request from the command line and installs.
SilentExitCode RunSilentSetup(const wchar_t* commandLine);
