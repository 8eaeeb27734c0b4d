#pragma once
// Files that go through their handle, never by a name that another program
// may have given to something else meanwhile.

#include <windows.h>

// Marks a file opened with DELETE access to go when its last handle closes.
bool DeleteOnClose(HANDLE file);
