#include "platform/shell_folder.h"
#include "platform/text_format.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

bool FindSpecialFolder(int csidl, wchar_t* path)
{
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetActiveWindow(), csidl, &list)) || list == nullptr)
        return false;
    bool found = SHGetPathFromIDListW(list, path) != FALSE;
    CoTaskMemFree(list);
    return found && path[0] != L'\0';
}

}  // namespace

void GetShellFolderPath(int csidl, wchar_t* path)
{
    path[0] = L'\0';
    if (!FindSpecialFolder(csidl, path)) {
        UINT len = GetWindowsDirectoryW(path, MAX_PATH);
        if (len == 0 || len >= MAX_PATH)
            path[0] = L'\0';
    }
    // room for the backslash: a path of 259 characters stays as it is
    if (path[0] != L'\0')
        AppendBackslash(path, MAX_PATH);
}
