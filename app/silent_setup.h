#pragma once
// The silent path: an installation from the command line, reported in the
// install log and the exit code.

#include "platform/fixed_text.h"

// Exit codes of silent mode; numbers are never reused.
enum SilentExitCode {
    kExitInstalled = 0,
    kExitInstallFailed = 1,
    kExitViewerRunning = 2,
    // Windows' own ERROR_INSTALL_ALREADY_RUNNING, which deployment tools retry
    kExitInstallBusy = 1618,
};

// The silent path: builds the request from the command line and installs.
SilentExitCode RunSilentSetup(const wchar_t* commandLine);

// The log a run names with "/log=", ready for entries, or empty
// for the usual place; a value that was cut or a file that cannot take the
// log leaves a note at the usual place.
void OpenRequestedLog(const wchar_t* commandLine, PathText& logFile);

// The closing line of a run that named its log (nothing without "/log="):
// the version and the folder installed, or the exit code of a failure.
void CloseRequestedLog(const wchar_t* logFile, int exitCode, const wchar_t* installedFolder);
