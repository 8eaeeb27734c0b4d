#pragma once
// The Windows version the program runs on.

#include <windows.h>

// True when Windows is at least major.minor (service pack 0 or later).
// Windows 8.1 and later answer as 6.2 to a program whose manifest does not
// name them, which is enough for every test of 6.2 and below.
bool IsOsVersionAtLeast(WORD major, WORD minor);

// True on Windows 10 and later, whatever the manifest names: from the
// system's own version (RtlGetVersion), which is not adjusted for programs.
bool IsWindows10OrLater();
