#pragma once

#include <windows.h>

// The folder browser with the path preselected. path holds 260 units; on
// TRUE it holds the chosen folder ending in a backslash, on FALSE (cancelled,
// not a file-system folder) it is unchanged.
BOOL BrowseForFolder(HWND owner, wchar_t* path);
int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM lParam, LPARAM data);
