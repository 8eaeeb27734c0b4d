#pragma once
// Special folders of the shell.

#include "platform/fixed_text.h"

// The file-system path of a special folder (CSIDL_*), ending in a backslash. When the shell cannot find the folder, the Windows
// folder is used instead.
void GetShellFolderPath(int csidl, PathText& path);
