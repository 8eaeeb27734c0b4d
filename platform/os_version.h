#pragma once
// The Windows version the program runs on.

#include <windows.h>

// True when Windows is at least major.minor (service pack 0 or later).
bool IsOsVersionAtLeast(WORD major, WORD minor);
