#pragma once

#include "platform/fixed_text.h"

#include <windows.h>

// The folder browser with the path preselected. On TRUE path holds the chosen
// folder ending in a backslash, on FALSE (cancelled, not a file-system folder)
// it is unchanged.
BOOL BrowseForFolder(HWND owner, PathText& path);
int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM lParam, LPARAM data);
