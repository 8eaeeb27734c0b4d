#pragma once
// The few shell32 and ole32 functions the registration needs, taken from the
// system folder at their first use instead of being imported. An import would
// load these libraries, and what they load in turn, before start-up can
// restrict the library search path, so a library planted beside the
// downloaded setup program could be picked up with them.

#include <windows.h>
#include <shlobj.h>

// Each returns the failure its Windows function would give (E_FAIL, FALSE)
// when the library or the function cannot be found.
HRESULT ShellGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list);
BOOL ShellGetPathFromIDList(PCIDLIST_ABSOLUTE list, wchar_t* path);
void ShellChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2);

HRESULT ComInitialize();
void ComUninitialize();
HRESULT ComCreateInstance(REFCLSID classId, DWORD context, REFIID interfaceId, void** object);
void ComTaskMemFree(void* memory);
