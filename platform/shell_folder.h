#pragma once
// Special folders of the shell.

// The file-system path of a special folder (CSIDL_*) into path (260 units),
// ending in a backslash. When the shell cannot find the folder, the Windows
// folder is used instead.
void GetShellFolderPath(int csidl, wchar_t* path);
