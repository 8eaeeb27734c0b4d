#include "platform/shell_folder.h"
#include "platform/scoped_item_list.h"

#include <shlobj.h>

namespace {

// SHGetPathFromIDListW writes up to MAX_PATH units
static_assert(PathText::kUnits >= MAX_PATH, "a shell path must fit");

bool FindSpecialFolder(int csidl, PathText& path)
{
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetActiveWindow(), csidl, &items)) || items == nullptr)
        return false;
    ScopedItemList list(items);
    return SHGetPathFromIDListW(list.Get(), path.Buffer()) != FALSE && !path.Empty();
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
