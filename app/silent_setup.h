#pragma once
// The silent path: an installation from the command line, reported in the
// install log and the exit code.

// Exit codes of silent mode; numbers are never reused.
enum SilentExitCode {
    kExitInstalled = 0,
    kExitInstallFailed = 1,
    kExitViewerRunning = 2,
};

// The silent path: builds the request from the command line and installs.
SilentExitCode RunSilentSetup(const wchar_t* commandLine);
