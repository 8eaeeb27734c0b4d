#include "platform/shell_folder.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

// SHGetPathFromIDListW writes up to MAX_PATH units
static_assert(PathText::kUnits >= MAX_PATH, "a shell path must fit");

bool FindSpecialFolder(int csidl, PathText& path)
{
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetActiveWindow(), csidl, &list)) || list == nullptr)
        return false;
    bool found = SHGetPathFromIDListW(list, path.Buffer()) != FALSE;
    CoTaskMemFree(list);
    return found && !path.Empty();
}

}  // namespace

void GetShellFolderPath(int csidl, PathText& path)
{
    path.Clear();
    if (!FindSpecialFolder(csidl, path)) {
        UINT len = GetWindowsDirectoryW(path.Buffer(), MAX_PATH);
        if (len == 0 || len >= MAX_PATH)
            path.Clear();
    }
    // room for the backslash: a path of 259 characters stays as it is
    if (!path.Empty())
        path.AppendBackslash();
}
